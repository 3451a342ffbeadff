// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/playback_decoder.h"

#include "listen/playback_sources.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PlaybackDecoder::Source::~Source() = default;

PlaybackDecoder::PlaybackDecoder() = default;
PlaybackDecoder::~PlaybackDecoder() = default;

bool isListenableName(const std::string &name)
{
    const QString ext = QString::fromStdString(extractFileExt(name)).toLower();
    return ext == QLatin1String(".voc") || ext == QLatin1String(".wav") || ext == QLatin1String(".mp3");
}

namespace {

// O_NONBLOCK keeps a named pipe or a device of that name from stalling the
// open (and the listening thread with it); only a plain file is read, and
// its reads block as usual once the flag is cleared.
int openPlainFile(const std::string &path, std::string &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = QCoreApplication::translate("PlaybackDecoder", "the file can not be opened").toStdString();
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = QCoreApplication::translate("PlaybackDecoder", "it is not a file").toStdString();
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        error = QCoreApplication::translate("PlaybackDecoder", "the file can not be opened").toStdString();
        return -1;
    }
    return fd;
}

} // namespace

bool PlaybackDecoder::open(const std::string &path)
{
    m_source.reset();
    m_error.clear();
    if (!isListenableName(path)) {
        m_error = QCoreApplication::translate("PlaybackDecoder",
                                              "only voice recordings, wave files and MP3 files can be played")
                      .toStdString();
        return false;
    }
    const int fd = openPlainFile(path, m_error);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size == 0) {
        ::close(fd);
        m_error = QCoreApplication::translate("PlaybackDecoder", "it holds no sound").toStdString();
        return false;
    }
    const QString ext = QString::fromStdString(extractFileExt(path)).toLower();
    if (ext == QLatin1String(".voc"))
        m_source = openVoiceSource(fd, m_error);
    else if (ext == QLatin1String(".wav"))
        m_source = openWaveSource(fd, m_error);
    else
        m_source = openMpegSource(fd, m_error);
    if (m_source && m_source->length <= 0) {
        m_source.reset();
        m_error = QCoreApplication::translate("PlaybackDecoder", "it holds no sound").toStdString();
    }
    return m_source != nullptr;
}

int PlaybackDecoder::sampleRate() const { return m_source ? m_source->rate : 0; }
int PlaybackDecoder::channels() const { return m_source ? m_source->channels : 1; }
std::int64_t PlaybackDecoder::length() const { return m_source ? m_source->length : 0; }
std::int64_t PlaybackDecoder::position() const { return m_source ? m_source->position : 0; }

std::int64_t PlaybackDecoder::lostFrames() const { return m_source ? m_source->lost : 0; }
bool PlaybackDecoder::cutShort() const { return m_source && m_source->cutShort; }

std::size_t PlaybackDecoder::read(std::int16_t *out, std::size_t maxFrames)
{
    return m_source ? m_source->read(out, maxFrames) : 0;
}

void PlaybackDecoder::seek(std::int64_t frame)
{
    if (m_source)
        m_source->seek(std::clamp<std::int64_t>(frame, 0, m_source->length));
}
