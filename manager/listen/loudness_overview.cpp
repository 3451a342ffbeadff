// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/loudness_overview.h"

#include "listen/playback_decoder.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

std::vector<float> scanLoudness(const std::string &path, int buckets, const std::atomic<bool> &cancel,
                                std::int64_t *lostMs)
{
    PlaybackDecoder decoder;
    if (buckets <= 0 || !decoder.open(path))
        return {};
    const std::int64_t length = decoder.length();
    const int channels = decoder.channels();
    std::vector<float> peaks(std::size_t(buckets), 0.0f);
    std::vector<std::int16_t> pcm(4096 * std::size_t(channels));
    std::int64_t at = 0;
    while (!cancel.load(std::memory_order_relaxed)) {
        const std::size_t got = decoder.read(pcm.data(), 4096);
        if (got == 0) {
            if (lostMs)
                *lostMs = decoder.lostFrames() * 1000 / std::max(decoder.sampleRate(), 1);
            return peaks;
        }
        for (std::size_t i = 0; i < got; ++i, ++at) {
            const std::size_t bucket = std::size_t(std::min<std::int64_t>(at * buckets / length, buckets - 1));
            for (int c = 0; c < channels; ++c) {
                const float level = float(std::abs(int(pcm[i * std::size_t(channels) + std::size_t(c)]))) / 32768.0f;
                peaks[bucket] = std::max(peaks[bucket], level);
            }
        }
    }
    return {};
}

LoudnessOverview::LoudnessOverview(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(14);
    setCursor(Qt::PointingHandCursor);
}

void LoudnessOverview::setPeaks(std::vector<float> peaks)
{
    m_peaks = std::move(peaks);
    update();
}

void LoudnessOverview::setFraction(double fraction)
{
    m_fraction = std::clamp(fraction, 0.0, 1.0);
    update();
}

void LoudnessOverview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const int w = width(), h = height();
    if (!m_peaks.empty()) {
        p.setPen(palette().color(QPalette::Highlight));
        for (int x = 0; x < w; ++x) {
            const float peak = m_peaks[std::size_t(x) * m_peaks.size() / std::size_t(w)];
            const int bar = std::max(1, int(peak * float(h)));
            p.drawLine(x, (h - bar) / 2, x, (h + bar) / 2);
        }
    }
    p.setPen(palette().color(QPalette::Text));
    const int x = int(m_fraction * (w - 1));
    p.drawLine(x, 0, x, h);
}

void LoudnessOverview::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && width() > 1)
        emit clickedAt(std::clamp(e->position().x() / (width() - 1), 0.0, 1.0));
}
