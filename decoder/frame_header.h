// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The pure rules of a voice frame header: the word, the three frame modes,
// the acceptance test and the frame length. No state, no decoding.
#pragma once

#include <cstdint>

namespace halvex {

// The first four bytes of a frame, most significant byte first.
uint32_t headerWord(const unsigned char *bytes);

// 0, 1 or 2 for the three exact voice frame headers, -1 for any other word.
int frameMode(uint32_t word);

// The test every frame header must pass; the first frame of a stream must also be Layer III.
bool headerAccepted(uint32_t word, bool firstFrame);

// Bitrate in kbit/s from the Layer III tables, 0 for the free-format and invalid indexes.
int bitrateKbps(uint32_t word);

// Sample rate in Hz, 0 for the reserved index.
int sampleRateHz(uint32_t word);

// Frame length in bytes, header included; 0 when the header gives no length.
int frameLength(uint32_t word);

} // namespace halvex
