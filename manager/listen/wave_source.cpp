// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// PCM wave files: 16-bit samples, one or two channels. A file cut short
// plays what it holds; one still being written is as long as its header
// says, up to the bytes it will hold.
#include "listen/playback_sources.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::uint32_t le32(const unsigned char *p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t le16(const unsigned char *p) { return std::uint16_t(p[0] | p[1] << 8); }

class WaveSource : public PlaybackDecoder::Source {
public:
    explicit WaveSource(int fd) : m_fd(fd) {}
    ~WaveSource() override { ::close(m_fd); }

    bool parse(std::string &error);
    std::size_t read(std::int16_t *out, std::size_t maxFrames) override;
    void seek(std::int64_t frame) override { position = frame; }
    std::int64_t arrivedFrames() const override
    {
        if (expected == 0)
            return length;
        const std::int64_t held = (heldBytes(m_fd) - m_dataOffset) / (2 * channels);
        return std::clamp<std::int64_t>(held, 0, length);
    }
    void settle(bool whole) override
    {
        const bool growing = expected > 0;
        expected = 0;
        if (growing && !whole)
            length = arrivedFrames();
    }

private:
    int m_fd;
    std::int64_t m_dataOffset = 0;
};

bool WaveSource::parse(std::string &error)
{
    error = QCoreApplication::translate("PlaybackDecoder", "it is not a PCM wave file with 16-bit samples").toStdString();
    const std::int64_t fileSize = expected > 0 ? expected : heldBytes(m_fd);
    std::array<unsigned char, 12> riff{};
    if (::pread(m_fd, riff.data(), 12, 0) != 12
        || std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    std::int64_t offset = 12;
    std::array<unsigned char, 24> chunk{};
    while (::pread(m_fd, chunk.data(), 8, offset) == 8) {
        const std::uint32_t size = le32(chunk.data() + 4);
        if (std::memcmp(chunk.data(), "fmt ", 4) == 0) {
            if (size < 16 || ::pread(m_fd, chunk.data() + 8, 16, offset + 8) != 16)
                return false;
            const unsigned char *f = chunk.data() + 8;
            channels = le16(f + 2);
            rate = int(le32(f + 4));
            if (le16(f) != 1 || le16(f + 14) != 16 || channels < 1 || channels > 2 || rate < 1000
                || rate > 192000)
                return false;
            haveFormat = true;
        } else if (std::memcmp(chunk.data(), "data", 4) == 0 && haveFormat) {
            m_dataOffset = offset + 8;
            const std::int64_t held = std::min<std::int64_t>(size, fileSize - m_dataOffset);
            length = std::max<std::int64_t>(held, 0) / (2 * channels);
            error.clear();
            return true;
        }
        offset += 8 + std::int64_t(size) + (size & 1);
    }
    return false;
}

std::size_t WaveSource::read(std::int16_t *out, std::size_t maxFrames)
{
    const std::size_t frames = std::size_t(std::min<std::int64_t>(maxFrames, length - position));
    if (frames == 0)
        return 0;
    const std::size_t bytesPerFrame = 2 * std::size_t(channels);
    const ssize_t got = ::pread(m_fd, out, frames * bytesPerFrame, m_dataOffset + position * std::int64_t(bytesPerFrame));
    const std::size_t whole = got > 0 ? std::size_t(got) / bytesPerFrame : 0;
    waiting = whole == 0 && expected > 0 && got >= 0;
    if (whole == 0 && !waiting) {
        length = position; // the file shrank or failed: it ends here
        cutShort = true;
    }
    position += std::int64_t(whole);
    return whole;
}

} // namespace

std::unique_ptr<PlaybackDecoder::Source> openWaveSource(int fd, std::string &error, std::int64_t expected)
{
    auto source = std::make_unique<WaveSource>(fd);
    source->expected = expected;
    if (!source->parse(error))
        return nullptr;
    return source;
}
