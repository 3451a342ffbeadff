// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The loudness of a recording along its length, drawn as a strip of bars
// with the place being heard; a click asks to go there.
#pragma once

#include <QWidget>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The peak of each of buckets equal stretches of the file, 0 to 1; empty
// when it cannot be decoded or cancel was set. lostMs, when given, gets how
// much of it could not be decoded. Runs off the window's thread.
std::vector<float> scanLoudness(const std::string &path, int buckets, const std::atomic<bool> &cancel,
                                std::int64_t *lostMs = nullptr);

class LoudnessOverview : public QWidget {
    Q_OBJECT

public:
    explicit LoudnessOverview(QWidget *parent = nullptr);

    void setPeaks(std::vector<float> peaks);
    const std::vector<float> &peaks() const { return m_peaks; }
    // Where the heard place is, 0 to 1.
    void setFraction(double fraction);

signals:
    void clickedAt(double fraction);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    std::vector<float> m_peaks;
    double m_fraction = 0;
};
