// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A PulseAudio daemon of the test's own, in a private runtime folder, with
// one null sink whose monitor parec records; the program under test reaches
// it through PULSE_SERVER. Tone measurements of what was recorded.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

class PrivatePulse {
public:
    PrivatePulse() = default;
    ~PrivatePulse() { stop(); }

    // Empty when the daemon runs, else why it could not start.
    QString start();
    void stop();
    // Ends the daemon at once, as a crashed or stopped server would.
    void kill();
    QString socketPath() const { return m_dir.path() + QStringLiteral("/pulse/native"); }

    // Records the sink's monitor at 16 kHz mono until takeRecording().
    bool startRecording();
    std::vector<std::int16_t> takeRecording();

    static constexpr int kRecordRate = 16000;

private:
    QProcessEnvironment environment() const;
    bool run(const QStringList &args, int timeoutMs);

    QTemporaryDir m_dir;
    QProcess m_recorder;
    bool m_running = false;
};

// A tone's measure: how long it sounds (silence and gaps left out) and its
// frequency from the zero crossings while it sounds.
struct ToneMeasure {
    double seconds = 0;
    double hertz = 0;
};
ToneMeasure measureTone(const std::vector<std::int16_t> &samples, int rate);
