// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Changes the speed of 16-bit PCM without changing its pitch (libsoundtouch).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace soundtouch {
class SoundTouch;
}

class TempoStretcher {
public:
    TempoStretcher();
    ~TempoStretcher();

    void configure(int sampleRate, int channels);
    void setTempo(double tempo); // 1.0 is the recording's own speed
    double tempo() const { return m_tempo; }

    void put(const std::int16_t *samples, std::size_t frames);
    // Up to maxFrames interleaved frames of output.
    std::size_t take(std::int16_t *out, std::size_t maxFrames);
    // Pushes out what is held back at the end of a recording.
    void flush();
    // Drops everything held (a seek).
    void clear();
    // Output frames waiting to be taken.
    std::size_t ready() const;

private:
    std::unique_ptr<soundtouch::SoundTouch> m_touch;
    std::vector<float> m_buffer;
    int m_channels = 1;
    double m_tempo = 1.0;
};
