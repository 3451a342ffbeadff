// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "frame_header.h"

namespace halvex {
namespace {

enum Version : unsigned { Mpeg25 = 0, Reserved = 1, Mpeg2 = 2, Mpeg1 = 3 };

constexpr uint32_t modeWords[] = {0xFFE318C4u, 0xFFF328C4u, 0xFFF348C4u};

constexpr int mpeg1Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
// MPEG-2 Layer III, also used by MPEG-2.5.
constexpr int lowRateKbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr int mpeg1Rates[3] = {44100, 48000, 32000};

unsigned version(uint32_t word) { return (word >> 19) & 3u; }
unsigned layer(uint32_t word) { return (word >> 17) & 3u; }
unsigned bitrateIndex(uint32_t word) { return (word >> 12) & 15u; }
unsigned rateIndex(uint32_t word) { return (word >> 10) & 3u; }
unsigned padding(uint32_t word) { return (word >> 9) & 1u; }

constexpr unsigned layer3 = 1;

} // namespace

uint32_t headerWord(const unsigned char *bytes)
{
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

int frameMode(uint32_t word)
{
    for (int mode = 0; mode < 3; ++mode) {
        if (word == modeWords[mode])
            return mode;
    }
    return -1;
}

bool headerAccepted(uint32_t word, bool firstFrame)
{
    if ((word & 0xFFE00000u) != 0xFFE00000u || layer(word) == 0)
        return false;
    if (bitrateIndex(word) == 0 || bitrateIndex(word) == 15 || rateIndex(word) == 3)
        return false;
    if ((word >> 16) == 0xFFFEu)
        return false;
    return !firstFrame || layer(word) == layer3;
}

int bitrateKbps(uint32_t word)
{
    return version(word) == Mpeg1 ? mpeg1Kbps[bitrateIndex(word)] : lowRateKbps[bitrateIndex(word)];
}

int sampleRateHz(uint32_t word)
{
    const unsigned index = rateIndex(word);
    if (index == 3)
        return 0;
    // MPEG-2 halves the MPEG-1 rates and MPEG-2.5 quarters them; the reserved version counts as 2.5.
    const unsigned shift = version(word) == Mpeg1 ? 0 : version(word) == Mpeg2 ? 1 : 2;
    return mpeg1Rates[index] >> shift;
}

int frameLength(uint32_t word)
{
    const int kbps = bitrateKbps(word);
    const int rate = sampleRateHz(word);
    if (kbps == 0 || rate == 0)
        return 0;
    const int divisor = version(word) == Mpeg1 ? rate : rate * 2;
    return 144000 * kbps / divisor + int(padding(word));
}

} // namespace halvex
