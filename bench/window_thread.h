// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Measuring the window's thread: a heartbeat and a wait that keeps it beating.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>

// The application of a benchmark that runs the window: offscreen unless a
// platform is named, and titled as the program is.
class BenchApplication : public QApplication {
public:
    BenchApplication(int &argc, char **argv) : QApplication((offscreenUnlessSet(), argc), argv)
    {
        setApplicationDisplayName(QStringLiteral("Sonavel v1.3"));
    }

private:
    static void offscreenUnlessSet()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

// A 1 ms timer on the window's thread: the longest gap between its beats is the
// longest time that thread could not have answered the user.
class Heartbeat {
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { beat(); });
    }
    void start()
    {
        m_maxGapNs = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stopMs()
    {
        m_timer.stop();
        beat();
        return m_maxGapNs / 1e6;
    }

private:
    void beat()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_maxGapNs = std::max(m_maxGapNs, now - m_last);
        m_last = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_maxGapNs = 0;
};

// Handles events until condition holds or timeoutMs have passed. It sleeps
// between events as the window's own loop does, so it takes no processor
// from threads that work meanwhile; a timer wakes it for the deadline.
inline bool until(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake;
    wake.start(10);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return condition();
}
