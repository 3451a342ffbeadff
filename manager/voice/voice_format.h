// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The voice frame modes as the converter sees them, and the wave header it writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

struct VoiceMode {
    std::size_t frameLength;  // bytes, header included
    std::uint32_t sampleRate; // Hz, written into the wave header
};

// The frame length and rate of a mode number from the decoder's header test;
// nothing for -1 or any other value.
std::optional<VoiceMode> voiceModeInfo(int mode);

inline constexpr std::size_t pcmBytesPerFrame = 1152; // 576 samples, 16-bit mono
// The most bytes any header the decoder accepts makes it read: an MPEG-1 Layer III
// frame at 320 kbit/s and 32 kHz with padding.
inline constexpr std::size_t maxDecoderFrameBytes = 1441;
inline constexpr std::size_t waveHeaderSize = 44;
inline constexpr std::size_t riffLengthOffset = 4;
inline constexpr std::size_t dataLengthOffset = 40;
// The largest PCM byte count of whole frames that the 32-bit RIFF length can hold.
inline constexpr std::uint64_t maxWaveDataBytes =
    (0xFFFFFFFFull - 36) / pcmBytesPerFrame * pcmBytesPerFrame;

using WaveHeader = std::array<unsigned char, waveHeaderSize>;

// The 44-byte header for 16-bit mono PCM at sampleRate, with both length fields
// still holding the placeholder "size".
WaveHeader waveHeaderTemplate(std::uint32_t sampleRate);

std::array<unsigned char, 4> littleEndian32(std::uint32_t value);
