// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/tempo_stretcher.h"

#include <SoundTouch.h>

#include <algorithm>
#include <cmath>

TempoStretcher::TempoStretcher() : m_touch(std::make_unique<soundtouch::SoundTouch>()) {}
TempoStretcher::~TempoStretcher() = default;

void TempoStretcher::configure(int sampleRate, int channels)
{
    m_channels = channels;
    m_touch->clear();
    m_touch->setSampleRate(unsigned(sampleRate));
    m_touch->setChannels(unsigned(channels));
    // Shorter sequences than the music defaults suit speech.
    m_touch->setSetting(SETTING_SEQUENCE_MS, 40);
    m_touch->setSetting(SETTING_SEEKWINDOW_MS, 15);
    m_touch->setSetting(SETTING_OVERLAP_MS, 8);
    m_touch->setTempo(m_tempo);
}

void TempoStretcher::setTempo(double tempo)
{
    m_tempo = tempo;
    m_touch->setTempo(tempo);
}

void TempoStretcher::put(const std::int16_t *samples, std::size_t frames)
{
    m_buffer.resize(frames * std::size_t(m_channels));
    std::transform(samples, samples + m_buffer.size(), m_buffer.begin(),
                   [](std::int16_t s) { return float(s) / 32768.0f; });
    m_touch->putSamples(m_buffer.data(), unsigned(frames));
}

std::size_t TempoStretcher::take(std::int16_t *out, std::size_t maxFrames)
{
    m_buffer.resize(maxFrames * std::size_t(m_channels));
    const std::size_t got = m_touch->receiveSamples(m_buffer.data(), unsigned(maxFrames));
    std::transform(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(got * std::size_t(m_channels)), out,
                   [](float s) { return std::int16_t(std::lround(std::clamp(s * 32768.0f, -32768.0f, 32767.0f))); });
    return got;
}

void TempoStretcher::flush() { m_touch->flush(); }
void TempoStretcher::clear() { m_touch->clear(); }
std::size_t TempoStretcher::ready() const { return m_touch->numSamples(); }
