// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Voice recordings (bare voice frames, fed one at a time) and MP3 files, each
// on a libmpg123 handle of its own.
#include "listen/playback_sources.h"

#include "voice/voice_format.h"

#include <QCoreApplication>

#include <mpg123.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kVoiceSamples = 576;
// A frame's main data may begin up to 255 bytes before it, and libmpg123
// gives the same samples as an unbroken decode only from the sixth frame
// after a new stream: a seek feeds the frames before its target first.
constexpr std::int64_t kPrimingFrames = 8;

int voiceMode(const unsigned char *h)
{
    const std::uint32_t word = std::uint32_t(h[0]) << 24 | h[1] << 16 | h[2] << 8 | h[3];
    constexpr std::uint32_t modes[] = {0xFFE318C4, 0xFFF328C4, 0xFFF348C4};
    for (int m = 0; m < 3; ++m)
        if (word == modes[m])
            return m;
    return -1;
}

mpg123_handle *newHandle(long flags, long channelSet)
{
    mpg123_handle *h = mpg123_new(nullptr, nullptr);
    if (!h)
        return nullptr;
    bool ok = mpg123_param(h, MPG123_FLAGS, flags, 0) == MPG123_OK && mpg123_format_none(h) == MPG123_OK;
    const long *rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; ok && i < count; ++i)
        ok = mpg123_format(h, rates[i], int(channelSet), MPG123_ENC_SIGNED_16) == MPG123_OK;
    if (!ok) {
        mpg123_delete(h);
        return nullptr;
    }
    return h;
}

// A source that owns its file and its libmpg123 handle.
class Mpg123Source : public PlaybackDecoder::Source {
public:
    Mpg123Source(int fd, mpg123_handle *h) : m_fd(fd), m_h(h) {}
    ~Mpg123Source() override
    {
        mpg123_delete(m_h);
        ::close(m_fd);
    }
    Mpg123Source(const Mpg123Source &) = delete;
    Mpg123Source &operator=(const Mpg123Source &) = delete;

protected:
    int m_fd;
    mpg123_handle *m_h;
};

class VoiceSource : public Mpg123Source {
public:
    using Mpg123Source::Mpg123Source;

    bool start(std::string &error);
    std::size_t read(std::int16_t *out, std::size_t maxFrames) override;
    void seek(std::int64_t frame) override;
    std::int64_t arrivedFrames() const override
    {
        if (expected == 0)
            return length;
        return std::min(length, heldBytes(m_fd) / std::int64_t(m_frameLength) * std::int64_t(kVoiceSamples));
    }
    void settle(bool whole) override
    {
        const bool growing = expected > 0;
        expected = 0;
        if (growing && !whole)
            length = arrivedFrames();
        else if (growing)
            remapWhole();
    }

private:
    enum class Frame { Decoded, Damaged, Missing };
    // Frames that follow each other from offset on (bytes), or a damaged
    // stretch (offset -1) played as that many frames of silence.
    struct Run {
        std::int64_t first; // voice frame index
        std::int64_t offset;
        std::int64_t count;
    };
    void mapFrames(std::int64_t size);
    void remapWhole()
    {
        mapFrames(heldBytes(m_fd));
        m_damaged.resize(std::size_t(length / std::int64_t(kVoiceSamples)), false);
    }
    void addFrames(std::int64_t offset, std::int64_t count);
    Frame decodeFrame(std::int64_t index, std::int16_t *pcm);

    std::vector<Run> m_runs;
    std::size_t m_frameLength = 0;
    std::array<unsigned char, 4> m_header{};
    std::array<std::int16_t, kVoiceSamples> m_pcm{};
    std::size_t m_pcmLeft = 0; // samples of m_pcm not yet read
    std::vector<unsigned char> m_frame;
    std::vector<bool> m_damaged; // per voice frame: found damaged and counted as lost
};

// Reads a file forward for the frame map, a window of it at a time.
class FileWindow {
public:
    FileWindow(int fd, std::int64_t size) : m_fd(fd), m_size(size), m_bytes(kWindowBytes) {}

    // True when the four bytes at `at` are word.
    bool holds(std::int64_t at, const std::array<unsigned char, 4> &word)
    {
        if (at < 0 || at + 4 > m_size)
            return false;
        if (at < m_start || at + 4 > m_start + m_filled) {
            // A little before `at` too: the map looks back by less than a frame.
            m_start = std::max<std::int64_t>(0, at - std::int64_t(maxDecoderFrameBytes));
            const ssize_t got = ::pread(m_fd, m_bytes.data(), m_bytes.size(), m_start);
            m_filled = std::max<std::int64_t>(got, 0);
            if (at + 4 > m_start + m_filled) {
                m_size = m_start + m_filled; // it became shorter: nothing more is looked for
                return false;
            }
        }
        return std::memcmp(m_bytes.data() + (at - m_start), word.data(), 4) == 0;
    }

private:
    static constexpr std::size_t kWindowBytes = 64 << 10;
    int m_fd;
    std::int64_t m_size;
    std::vector<unsigned char> m_bytes;
    std::int64_t m_start = 0;
    std::int64_t m_filled = 0;
};

bool VoiceSource::start(std::string &error)
{
    struct stat st {};
    const std::optional<VoiceMode> mode =
        ::fstat(m_fd, &st) == 0 && ::pread(m_fd, m_header.data(), 4, 0) == 4
            ? voiceModeInfo(voiceMode(m_header.data()))
            : std::nullopt;
    if (!mode || !m_h) {
        error = QCoreApplication::translate("PlaybackDecoder", "it is not a voice recording").toStdString();
        return false;
    }
    m_frameLength = mode->frameLength;
    m_frame.resize(m_frameLength);
    rate = int(mode->sampleRate);
    mapFrames(st.st_size);
    // A copy still arriving is as long as the recording it will be.
    if (expected > 0)
        length = std::max(length, expected / std::int64_t(m_frameLength) * std::int64_t(kVoiceSamples));
    m_damaged.assign(std::size_t(length / std::int64_t(kVoiceSamples)), false);
    seek(0);
    return true;
}

void VoiceSource::addFrames(std::int64_t offset, std::int64_t count)
{
    if (count <= 0)
        return;
    Run &last = m_runs.back();
    if (last.offset < 0 ? offset < 0 : offset == last.offset + last.count * std::int64_t(m_frameLength))
        last.count += count;
    else
        m_runs.push_back({last.first + last.count, offset, count});
}

// Where each frame is. A frame is whole when the recording's header starts
// it and the next (or the end of the file) follows it. Past damage the next
// whole frame is searched for: bytes put in or lost there move every frame
// after it. The damaged stretch sounds as silence as long as its bytes would
// play, a frame at least; overwritten frames keep their places and count one each.
void VoiceSource::mapFrames(std::int64_t size)
{
    const auto L = std::int64_t(m_frameLength);
    FileWindow file(m_fd, size);
    const auto whole = [&](std::int64_t at) {
        return at + L <= size && file.holds(at, m_header) && (at + L + 4 > size || file.holds(at + L, m_header));
    };
    m_runs.assign(1, {0, 0, 0});
    std::int64_t at = 0; // a header of the recording starts here
    while (at + L <= size) {
        if (at + L + 4 > size || file.holds(at + L, m_header)) {
            addFrames(at, 1);
            at += L;
            continue;
        }
        std::int64_t next = at + 1;
        while (next + L <= size && !whole(next))
            ++next;
        if (next + L > size) { // nothing whole follows: this frame, then silence to the end
            addFrames(at, 1);
            addFrames(-1, (size - at - L) / L);
            break;
        }
        if ((next - at) % L == 0) {
            addFrames(at, 1);
            addFrames(-1, (next - at) / L - 1);
        } else {
            addFrames(-1, std::max<std::int64_t>(1, (next - at + L / 2) / L));
        }
        at = next;
    }
    length = (m_runs.back().first + m_runs.back().count) * std::int64_t(kVoiceSamples);
}

// A frame of the map whose header is not the recording's (any more) is
// damaged and sounds as silence, and decoding goes on with the next. One
// that is no longer there means the file became shorter.
VoiceSource::Frame VoiceSource::decodeFrame(std::int64_t index, std::int16_t *pcm)
{
    std::fill_n(pcm, kVoiceSamples, 0);
    const auto run = std::prev(std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                                [](std::int64_t i, const Run &r) { return i < r.first; }));
    if (run->offset < 0)
        return Frame::Damaged;
    const std::int64_t at = run->offset + (index - run->first) * std::int64_t(m_frameLength);
    if (::pread(m_fd, m_frame.data(), m_frameLength, at) != ssize_t(m_frameLength))
        return Frame::Missing;
    if (std::memcmp(m_frame.data(), m_header.data(), 4) != 0)
        return Frame::Damaged;
    std::size_t written = 0;
    if (mpg123_feed(m_h, m_frame.data(), m_frameLength) != MPG123_OK)
        return Frame::Decoded;
    for (;;) {
        off_t number = 0;
        unsigned char *audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(m_h, &number, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            break;
        const std::size_t taken = std::min(bytes, (kVoiceSamples - written) * 2);
        std::memcpy(pcm + written, audio, taken);
        written += taken / 2;
    }
    return Frame::Decoded;
}

std::size_t VoiceSource::read(std::int16_t *out, std::size_t maxFrames)
{
    std::size_t done = 0;
    while (done < maxFrames) {
        if (m_pcmLeft == 0) {
            const std::int64_t index = position / std::int64_t(kVoiceSamples);
            if (position >= length)
                break;
            const Frame frame = decodeFrame(index, m_pcm.data());
            // Not written yet: it comes later.
            waiting = frame == Frame::Missing && expected > 0;
            if (waiting)
                break;
            if (frame == Frame::Missing) {
                length = position;
                cutShort = true;
                break;
            }
            if (frame == Frame::Damaged && !m_damaged[std::size_t(index)]) {
                m_damaged[std::size_t(index)] = true;
                lost += std::int64_t(kVoiceSamples);
            }
            m_pcmLeft = kVoiceSamples;
        }
        const std::size_t n = std::min(maxFrames - done, m_pcmLeft);
        std::memcpy(out + done, m_pcm.data() + (kVoiceSamples - m_pcmLeft), n * 2);
        m_pcmLeft -= n;
        done += n;
        position += std::int64_t(n);
    }
    return done;
}

void VoiceSource::seek(std::int64_t frame)
{
    const std::int64_t index = frame / std::int64_t(kVoiceSamples);
    mpg123_open_feed(m_h);
    std::array<std::int16_t, kVoiceSamples> discard{};
    for (std::int64_t i = std::max<std::int64_t>(0, index - kPrimingFrames); i < index; ++i)
        decodeFrame(i, discard.data());
    position = index * std::int64_t(kVoiceSamples);
    m_pcmLeft = 0;
    // Within its frame, so that a seek lands where asked rather than up to a frame before.
    const std::int64_t within = frame - position;
    if (within > 0 && position < length && decodeFrame(index, m_pcm.data()) != Frame::Missing) {
        m_pcmLeft = kVoiceSamples - std::size_t(within);
        position = frame;
    }
}

class MpegSource : public Mpg123Source {
public:
    using Mpg123Source::Mpg123Source;

    bool start(std::string &error)
    {
        long r = 0;
        int ch = 0, enc = 0;
        if (!m_h || mpg123_open_fd(m_h, m_fd) != MPG123_OK || mpg123_scan(m_h) != MPG123_OK
            || mpg123_getformat(m_h, &r, &ch, &enc) != MPG123_OK || r <= 0) {
            error = QCoreApplication::translate("PlaybackDecoder", "it is not an MP3 file").toStdString();
            return false;
        }
        struct stat st {};
        m_size = ::fstat(m_fd, &st) == 0 ? st.st_size : 0;
        rate = int(r);
        channels = ch;
        length = std::max<off_t>(mpg123_length(m_h), 0);
        return true;
    }

    std::size_t read(std::int16_t *out, std::size_t maxFrames) override
    {
        const std::size_t bytesPerFrame = 2 * std::size_t(channels);
        std::size_t done = 0;
        while (done < maxFrames * bytesPerFrame) {
            size_t got = 0;
            const int result = mpg123_read(m_h, reinterpret_cast<unsigned char *>(out) + done,
                                           maxFrames * bytesPerFrame - done, &got);
            done += got;
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
            if (got == 0 && result == MPG123_OK)
                break;
        }
        const std::size_t frames = done / bytesPerFrame;
        position += std::int64_t(frames);
        // The scan's count can fall short of what the frames decode to.
        length = std::max(length, position);
        if (frames == 0 && position < length) {
            // Ended before its length: the file became shorter, or the rest can not be decoded.
            struct stat st {};
            if (::fstat(m_fd, &st) == 0 && st.st_size < m_size)
                cutShort = true;
            else
                lost = std::max(lost, length - position);
            length = position;
        }
        return frames;
    }

    void seek(std::int64_t frame) override
    {
        const off_t at = mpg123_seek(m_h, off_t(frame), SEEK_SET);
        position = at >= 0 ? at : frame;
        length = std::max(length, position); // as in read(): the scan may have counted short
    }

private:
    off_t m_size = 0;
};

// An MP3 file still being written: its bytes are fed to libmpg123 as they
// arrive, and its length is reckoned from the bytes it will hold until its
// end is reached.
class GrowingMpegSource : public Mpg123Source {
public:
    using Mpg123Source::Mpg123Source;

    bool start(std::string &error)
    {
        long r = 0;
        int ch = 0, enc = 0;
        int result = MPG123_ERR;
        if (m_h && mpg123_open_feed(m_h) == MPG123_OK && mpg123_set_filesize(m_h, off_t(expected)) == MPG123_OK) {
            // The format is known once a whole frame has been fed.
            while ((result = mpg123_getformat(m_h, &r, &ch, &enc)) == MPG123_NEED_MORE && feedMore()) {
            }
        }
        if (result != MPG123_OK || r <= 0 || mpg123_length(m_h) <= 0) {
            error = QCoreApplication::translate("PlaybackDecoder", "it is not an MP3 file").toStdString();
            return false;
        }
        rate = int(r);
        channels = ch;
        length = mpg123_length(m_h);
        return true;
    }

    std::size_t read(std::int16_t *out, std::size_t maxFrames) override
    {
        const std::size_t bytesPerFrame = 2 * std::size_t(channels);
        std::size_t done = 0;
        waiting = false;
        while (done < maxFrames * bytesPerFrame) {
            size_t got = 0;
            const int result = mpg123_read(m_h, reinterpret_cast<unsigned char *>(out) + done,
                                           maxFrames * bytesPerFrame - done, &got);
            done += got;
            if (result == MPG123_NEED_MORE && feedMore())
                continue;
            waiting = result == MPG123_NEED_MORE && expected > 0;
            if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) || (got == 0 && result == MPG123_OK))
                break;
        }
        const std::size_t frames = done / bytesPerFrame;
        position += std::int64_t(frames);
        length = std::max(length, position);
        // Whole and read to its end: the reckoned length gives way to the real one.
        if (frames == 0 && !waiting)
            length = position;
        return frames;
    }

    void seek(std::int64_t frame) override
    {
        off_t input = 0;
        const off_t at = mpg123_feedseek(m_h, off_t(frame), SEEK_SET, &input);
        if (at >= 0 && input >= 0) {
            position = at;
            m_fed = input;
        }
        length = std::max(length, position);
    }

    std::int64_t arrivedFrames() const override
    {
        if (expected == 0)
            return length;
        return std::min(length, std::int64_t(double(length) * double(heldBytes(m_fd)) / double(expected)));
    }

    void settle(bool whole) override
    {
        if (expected > 0 && !whole)
            length = arrivedFrames();
        expected = 0;
    }

private:
    bool feedMore()
    {
        std::array<unsigned char, 16384> chunk{};
        const ssize_t got = ::pread(m_fd, chunk.data(), chunk.size(), m_fed);
        if (got <= 0)
            return false;
        m_fed += got;
        return mpg123_feed(m_h, chunk.data(), size_t(got)) == MPG123_OK;
    }

    off_t m_fed = 0; // bytes of the file given to libmpg123
};

} // namespace

std::unique_ptr<PlaybackDecoder::Source> openVoiceSource(int fd, std::string &error, std::int64_t expected)
{
    constexpr long flags = MPG123_QUIET | MPG123_NO_READAHEAD | MPG123_NO_FRANKENSTEIN
                         | MPG123_IGNORE_INFOFRAME | MPG123_NO_RESYNC;
    auto source = std::make_unique<VoiceSource>(fd, newHandle(flags, MPG123_MONO));
    source->expected = expected;
    if (!source->start(error))
        return nullptr;
    return source;
}

std::unique_ptr<PlaybackDecoder::Source> openMpegSource(int fd, std::string &error, std::int64_t expected)
{
    mpg123_handle *h = newHandle(MPG123_QUIET, MPG123_MONO | MPG123_STEREO);
    // Damage of any length is skipped to the next good frame, not taken as the end.
    if (h && mpg123_param(h, MPG123_RESYNC_LIMIT, -1, 0) != MPG123_OK) {
        mpg123_delete(h);
        h = nullptr;
    }
    if (expected > 0) {
        auto growing = std::make_unique<GrowingMpegSource>(fd, h);
        growing->expected = expected;
        if (!growing->start(error))
            return nullptr;
        return growing;
    }
    auto source = std::make_unique<MpegSource>(fd, h);
    if (!source->start(error))
        return nullptr;
    return source;
}
