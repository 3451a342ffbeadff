// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Arbitrary bytes as a file handed to the player: the first byte picks a voice
// recording, a wave file or an MP3 file, the second where to seek. The decoder opens
// it, decodes to the end, seeks and decodes to the end again. Reads go to a buffer of
// exactly the asked size; the decoder's account of where it is must stay whole.
#include "fuzz_scratch.h"
#include "listen/playback_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 777; // frames per read: not a multiple of any frame size

// Reads to the end from where the decoder is; aborts when its account breaks or
// it gives more than bound frames, more than any file of its size can hold.
void decodeToEnd(PlaybackDecoder &d, std::int64_t bound)
{
    const std::size_t channels = std::size_t(d.channels());
    std::int64_t reads = 0;
    for (;;) {
        const auto buffer = std::make_unique<std::int16_t[]>(kChunk * channels);
        const std::int64_t before = d.position();
        const std::size_t got = d.read(buffer.get(), kChunk);
        if (got > kChunk || d.position() != before + std::int64_t(got) || d.position() > d.length()
            || d.length() > bound || d.lostFrames() < 0 || d.lostFrames() > bound)
            std::abort();
        if (got == 0)
            return;
        if (++reads > bound / std::int64_t(kChunk) + 2)
            std::abort(); // more than the file can hold: it never ends
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const char *const names[] = {"/rec.voc", "/rec.wav", "/rec.mp3"};
    const std::string path = fuzz::scratch("playback_fuzz") + names[data[0] % 3];
    if (!fuzz::writeFile(path, data + 2, size - 2))
        std::abort();
    PlaybackDecoder d;
    if (d.open(path)) {
        const std::int64_t length = d.length();
        // An MPEG frame of the fewest bytes (about 24) gives 1152 samples.
        const std::int64_t bound = std::max<std::int64_t>(length, std::int64_t(size) * 64);
        if (length <= 0 || d.sampleRate() <= 0 || d.channels() < 1 || d.channels() > 2 || d.position() != 0)
            std::abort();
        decodeToEnd(d, bound);
        d.seek(length * data[1] / 255);
        if (d.position() < 0 || d.position() > d.length())
            std::abort();
        decodeToEnd(d, bound);
        d.seek(-5);
        decodeToEnd(d, bound);
    } else if (d.error().empty()) {
        std::abort(); // a refusal says why
    }
    ::unlink(path.c_str());
    return 0;
}
