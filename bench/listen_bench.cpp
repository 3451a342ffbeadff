// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening against a private PulseAudio daemon with a null sink:
//  1. Play key to first sound: F9's handler on a selected PC recording, to
//     the first loud sample parec reads from the sink's monitor (parec's own
//     latency included, so an upper bound).
//  2. The window's thread while playing, seeking and changing speed: the
//     longest gap of a 1 ms heartbeat.
//  3. CPU of the whole process while a 60-minute recording plays at 1.0x
//     and 2.0x, in percent of one core.
//  4. Underruns while it plays at 2.0x and one busy loop per core runs.
//   listen_bench [SECONDS_PER_PLAY (default 30)] [LATENCY_ROUNDS (default 7)]
#include "explorer/folder_view.h"
#include "listen/listen_session.h"
#include "main_unit.h"
#include "private_pulse.h"
#include "window_thread.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// An hour of a sample recording's frames, as the player would have recorded it.
bool makeHour(const QString &path)
{
    QFile in(QStringLiteral(TOVIX_TEST_DATA "/voice_mode1.VOC")), out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray frames = in.readAll();
    for (int i = 0; i < 327; ++i) // 11 s each
        out.write(frames);
    return true;
}

// Handles events for ms without spinning, so that the process's CPU time is the sound's.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Milliseconds from now until parec delivers a sample above a tenth of full scale.
double untilLoud(QProcess &parec, const std::function<void()> &press)
{
    parec.readAllStandardOutput();
    QElapsedTimer clock;
    clock.start();
    press();
    while (clock.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        parec.waitForReadyRead(1);
        const QByteArray bytes = parec.readAllStandardOutput();
        const auto *s = reinterpret_cast<const qint16 *>(bytes.constData());
        for (qsizetype i = 0; i < bytes.size() / 2; ++i)
            if (std::abs(s[i]) > 3277)
                return double(clock.nsecsElapsed()) / 1e6;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    PrivatePulse pulse;
    const QString why = pulse.start();
    if (!why.isEmpty()) {
        std::fprintf(stderr, "listen_bench: %s\n", qPrintable(why));
        return 1;
    }
    QTemporaryDir pc, settings;
    const QString hour = pc.filePath(QStringLiteral("hour.VOC"));
    if (!makeHour(hour)
        || !QFile::copy(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"), pc.filePath(QStringLiteral("tone.VOC")))) {
        std::fprintf(stderr, "listen_bench: cannot make the recordings in %s\n", qPrintable(pc.path()));
        return 1;
    }

    auto w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc.path());
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) {
        std::fprintf(stderr, "listen_bench: the window is not shown\n");
        return 1;
    }
    w->FolderView->waitUntilLoaded(5000);
    for (int i = 0; i < w->FolderView->itemCount(); ++i)
        w->FolderView->setItemSelected(i, w->FolderView->itemCaption(i) == QStringLiteral("tone.VOC"));

    QProcess parec;
    parec.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("tovix.monitor"), QStringLiteral("--rate=16000"),
                                          QStringLiteral("--channels=1"), QStringLiteral("--format=s16le"),
                                          QStringLiteral("--latency-msec=5")});
    parec.waitForStarted();
    QTest::qWait(500);
    std::vector<double> latencies;
    for (int r = 0; r <= rounds; ++r) {
        // A different file each time, so every press opens the recording anew.
        w->listenToFile(hour);
        until([&] { return w->FListenState == ListenSession::Playing; }, 5000);
        w->MainMenu_StopClick();
        until([&] { return w->FListenState == ListenSession::Stopped; }, 5000);
        QTest::qWait(300);
        const double ms = untilLoud(parec, [&] { w->MainMenu_PlayPauseClick(); });
        // The first sound after the monitor has been idle since it connected comes late
        // whatever plays it; that round warms the measuring up and is not counted.
        if (r > 0)
            latencies.push_back(ms);
        until([&] { return w->FListenState == ListenSession::Stopped; }, 10000);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("Play key to first sound: median %.1f ms, worst %.1f ms (%d rounds)\n",
                latencies[latencies.size() / 2], latencies.back(), rounds);
    parec.kill();
    parec.waitForFinished();

    // The machine's own noise: the same heartbeat with nothing playing.
    {
        Heartbeat still;
        still.start();
        until([] { return false; }, seconds * 1000);
        std::printf("Window thread with nothing playing (the machine's noise): longest gap %.1f ms over %d s\n",
                    still.stopMs(), seconds);
    }
    // The window's thread while playing, seeking every 300 ms and changing speed.
    w->listenToFile(hour);
    until([&] { return w->FListenState == ListenSession::Playing; }, 5000);
    Heartbeat beat;
    beat.start();
    QElapsedTimer clock;
    clock.start();
    int step = 0;
    while (clock.elapsed() < seconds * 1000) {
        until([] { return false; }, 300);
        switch (step++ % 4) {
        case 0: w->MainMenu_ForwardClick(); break;
        case 1: w->MainMenu_FasterClick(); break;
        case 2: w->MainMenu_BackClick(); break;
        default: w->MainMenu_SlowerClick(); break;
        }
    }
    std::printf("Window thread while playing, seeking and changing speed: longest gap %.1f ms over %d s\n",
                beat.stopMs(), seconds);
    // For the README: the window while it plays (run under Xvfb with QT_QPA_PLATFORM=xcb).
    if (const QString shot = qEnvironmentVariable("TOVIX_SCREENSHOT"); !shot.isEmpty()) {
        w->resize(900, 560);
        w->MainMenu_FasterClick();
        until([] { return false; }, 1500);
        w->grab().save(shot);
    }
    w->MainMenu_StopClick();
    until([&] { return w->FListenState == ListenSession::Stopped; }, 5000);
    w.reset();

    // CPU and underruns of a session alone.
    const auto play = [&](double speed, int busy) {
        std::vector<std::unique_ptr<QProcess>> loads;
        for (int i = 0; i < busy; ++i) {
            loads.push_back(std::make_unique<QProcess>());
            loads.back()->start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        }
        auto *s = new ListenSession;
        int underruns = 0;
        QObject::connect(s, &ListenSession::underrun, [&] { ++underruns; });
        QMetaObject::invokeMethod(s, [s, speed, hour] {
            s->setSpeed(speed);
            s->open(hour, QStringLiteral("hour"), true);
        });
        idle(1000);
        const double cpu0 = cpuSeconds();
        QElapsedTimer t;
        t.start();
        idle(seconds * 1000);
        const double cpu = (cpuSeconds() - cpu0) / (double(t.nsecsElapsed()) / 1e9) * 100;
        QMetaObject::invokeMethod(s, &QObject::deleteLater);
        for (auto &p : loads)
            p->kill(), p->waitForFinished();
        return std::make_pair(cpu, underruns);
    };
    const int cores = QThread::idealThreadCount();
    for (double speed : {1.0, 2.0}) {
        const auto [cpu, underruns] = play(speed, 0);
        std::printf("60-minute recording at %.1fx: CPU %.1f%% of one core, %d underruns in %d s\n", speed, cpu, underruns, seconds);
    }
    const auto [cpu, underruns] = play(2.0, cores);
    std::printf("60-minute recording at 2.0x with %d busy loops: %d underruns in %d s (CPU %.1f%%)\n", cores, underruns, seconds, cpu);
    return 0;
}
