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

bool PlaybackDecoder::open(const std::string &path, std::int64_t growingTo)
{
    m_source.reset();
    m_error.clear();
    // A copy still being written is named for what it will be.
    const std::string named = growingTo > 0 && path.ends_with(".part") ? path.substr(0, path.size() - 5) : path;
    if (!isListenableName(named)) {
        m_error = QCoreApplication::translate("PlaybackDecoder",
                                              "only voice recordings, wave files and MP3 files can be played")
                      .toStdString();
        return false;
    }
    const int fd = openPlainFile(path, m_error);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size == 0 && growingTo <= 0) {
        ::close(fd);
        m_error = QCoreApplication::translate("PlaybackDecoder", "it holds no sound").toStdString();
        return false;
    }
    const QString ext = QString::fromStdString(extractFileExt(named)).toLower();
    if (ext == QLatin1String(".voc"))
        m_source = openVoiceSource(fd, m_error, std::max<std::int64_t>(growingTo, 0));
    else if (ext == QLatin1String(".wav"))
        m_source = openWaveSource(fd, m_error, std::max<std::int64_t>(growingTo, 0));
    else
        m_source = openMpegSource(fd, m_error, std::max<std::int64_t>(growingTo, 0));
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

bool PlaybackDecoder::growing() const { return m_source && m_source->expected > 0; }
bool PlaybackDecoder::waiting() const { return m_source && m_source->waiting; }
std::int64_t PlaybackDecoder::arrivedFrames() const { return m_source ? m_source->arrivedFrames() : 0; }

void PlaybackDecoder::settle(bool whole)
{
    if (m_source) {
        m_source->settle(whole);
        m_source->waiting = false;
        m_source->position = std::min(m_source->position, m_source->length);
    }
}

void PlaybackDecoder::seek(std::int64_t frame)
{
    if (m_source)
        m_source->seek(std::clamp<std::int64_t>(frame, 0, m_source->length));
}

void PlaybackDecoder::close()
{
    m_source.reset();
}
