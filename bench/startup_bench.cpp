// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// How long the manager takes from the start of its window to the first poll of the
// player, against the same start of a bare main window with a 10 ms timer.
// Each round builds and shows a fresh window in one process; the first round warms caches.
#include "device/nerolink.h"
#include "main_unit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QEventLoop *pollLoop = nullptr;
} // namespace

// A device library that only notices the first poll: no player is attached.
extern "C" {
int32_t dll_fn_get_player_version(TPlayerVersion *)
{
    if (pollLoop)
        pollLoop->quit();
    return 0;
}
int32_t dll_fn_get_player_status(void) { return 0; }
int32_t dll_fn_refresh_device(TMemoryInfo *, int32_t) { return 0; }
int32_t dll_fn_download_file(const char *, int32_t) { return 0; }
int32_t dll_fn_upload_file(const char *, const char *, int32_t) { return 0; }
int32_t dll_fn_delete_file(const char *, int32_t) { return 0; }
int32_t dll_fn_format_device(int32_t) { return 0; }
}

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double managerRound(const QString &settings)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    pollLoop = &loop;
    {
        TForm_TovixMan window(settings);
        window.show();
        loop.exec();
    }
    pollLoop = nullptr;
    return clock.nsecsElapsed() / 1e6;
}

double referenceRound()
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    {
        QMainWindow window;
        window.resize(640, 480);
        window.show();
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 15;

    managerRound(settings);
    referenceRound();
    std::vector<double> manager, reference;
    for (int i = 0; i < rounds; ++i) {
        manager.push_back(managerRound(settings));
        reference.push_back(referenceRound());
    }
    const double m = median(manager), r = median(reference);
    std::printf("start to first poll: manager %.1f ms, bare window + 10 ms timer %.1f ms, ratio %.2fx (%d rounds, medians)\n",
                m, r, m / r, rounds);
    return 0;
}
