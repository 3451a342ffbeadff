// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Arbitrary bytes as a voice stream: init, then frame after frame as a caller would pass
// them. Frames and output live in buffers of exactly their size, so any read past the
// frame or write past 1152 bytes is caught; a rejected header must leave the output as it was.
#include "frame_header.h"
#include "halvex.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr size_t pcmBytes = 1152;
constexpr unsigned char untouched = 0xA5;

bool outputUntouched(const unsigned char *pcm)
{
    for (size_t i = 0; i < pcmBytes; ++i) {
        if (pcm[i] != untouched)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto pcm = std::make_unique<unsigned char[]>(pcmBytes);
    Kestrun_decoder_init();
    size_t at = 0;
    while (at + 4 <= size) {
        // A zero byte where a header would start begins a new stream.
        if (data[at] == 0) {
            Kestrun_decoder_init();
            ++at;
            continue;
        }
        const uint32_t word = halvex::headerWord(data + at);
        const size_t length = size_t(halvex::frameLength(word));
        if (at + length > size)
            break; // the caller never passes a frame that is cut short
        const size_t passed = length ? length : 4;
        const auto frame = std::make_unique<unsigned char[]>(passed);
        std::memcpy(frame.get(), data + at, passed);
        std::memset(pcm.get(), untouched, pcmBytes);

        const int mode = Kestrun_decoder_get_mode(frame.get());
        const int result = Kestrun_Voice_decoder(frame.get(), pcm.get(), mode);
        if (mode < -1 || mode > 2 || (result != 0 && result != 1) || (result == 1 && length == 0))
            std::abort();
        if (result == 0 && !outputUntouched(pcm.get()))
            std::abort();
        at += result == 1 ? length : 1;
    }
    return 0;
}
