// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice/voice_format.h"

#include <cstring>

std::optional<VoiceMode> voiceModeInfo(int mode)
{
    switch (mode) {
    case 0: return VoiceMode{72, 8000};
    case 1: return VoiceMode{72, 16000};
    case 2: return VoiceMode{144, 16000};
    default: return std::nullopt;
    }
}

std::array<unsigned char, 4> littleEndian32(std::uint32_t value)
{
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

namespace {

class HeaderBuilder {
public:
    explicit HeaderBuilder(WaveHeader &header) : m_header(header) {}
    void text(const char (&four)[5]) { put(four, 4); }
    void u32(std::uint32_t value) { put(littleEndian32(value).data(), 4); }
    void u16(std::uint16_t value)
    {
        const unsigned char bytes[2] = {static_cast<unsigned char>(value),
                                        static_cast<unsigned char>(value >> 8)};
        put(bytes, 2);
    }

private:
    void put(const void *bytes, std::size_t count)
    {
        std::memcpy(m_header.data() + m_pos, bytes, count);
        m_pos += count;
    }
    WaveHeader &m_header;
    std::size_t m_pos = 0;
};

} // namespace

WaveHeader waveHeaderTemplate(std::uint32_t sampleRate)
{
    WaveHeader header{};
    HeaderBuilder out(header);
    out.text("RIFF");
    out.text("size"); // RIFF length, patched when the data is complete
    out.text("WAVE");
    out.text("fmt ");
    out.u32(16);             // format chunk length
    out.u16(1);              // PCM
    out.u16(1);              // mono
    out.u32(sampleRate);
    out.u32(sampleRate * 2); // byte rate
    out.u16(2);              // block align
    out.u16(16);             // bits per sample
    out.text("data");
    out.text("size"); // data length, patched likewise
    return header;
}
