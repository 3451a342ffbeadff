// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// How long the window's thread goes without handling events while a slow
// device operation runs. A 1 ms heartbeat timer runs on the window's thread;
// the longest gap between its beats is the longest time the window could not
// have answered the user. Measured three ways in one run: idle, while the
// queue runs a download that the stand-in player makes last DELAY_MS, and,
// as the reference, the same call made directly on the window's thread.
#include "explorer/folder_view.h"
#include "window_thread.h"
#include "main_unit.h"
#include "scripted_prompts.h"
#include "target_select_unit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

bool run(const QString &command, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(command, args);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

bool makeFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(QByteArray(64 * 1024, 'x')) == 64 * 1024;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const int delayMs = argc > 1 ? std::atoi(argv[1]) : 2000;

    QTemporaryDir root;
    const QString player = root.filePath(QStringLiteral("player"));
    qputenv("NEROLINK_PLAYER", player.toLocal8Bit());
    const QString tool = QStringLiteral(TOVIX_PLAYER_COMMAND);
    const QString viaQueue = root.filePath(QStringLiteral("queued.bin"));
    const QString direct = root.filePath(QStringLiteral("direct.bin"));
    if (!run(tool, {QStringLiteral("init")})
        || !run(tool, {QStringLiteral("delay"), QString::number(delayMs)}) || !makeFile(viaQueue)
        || !makeFile(direct)) {
        std::fprintf(stderr, "ui_stall_bench: cannot prepare the stand-in player\n");
        return 1;
    }

    ScriptedPrompts prompts;
    Form_TargetSelection = new TForm_TargetSelection;
    auto *w = new TForm_TovixMan(root.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(root.path());
    w->show();
    if (!until([&] { return w->FConnected; }, 10000)) {
        std::fprintf(stderr, "ui_stall_bench: the player was not seen\n");
        return 1;
    }

    Heartbeat heartbeat;
    heartbeat.start();
    QTest::qWait(1000);
    const double idleMs = heartbeat.stopMs();

    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);
    const QPoint onTabs =
        w->TabControl_PlayerFiles->mapTo(w, w->TabControl_PlayerFiles->rect().center());
    QElapsedTimer operation;
    heartbeat.start();
    operation.start();
    w->FileDropDrop({viaQueue}, onTabs);
    const bool done = until([&] { return w->CheckList_CopyProgress->count() == 0 && !w->FJobRunning; },
                            delayMs + 20000);
    const double queuedMs = heartbeat.stopMs();
    const double operationMs = operation.nsecsElapsed() / 1e6;
    if (!done || !prompts.records.empty()) {
        std::fprintf(stderr, "ui_stall_bench: the queued download did not complete cleanly\n");
        return 1;
    }

    heartbeat.start();
    QTimer::singleShot(10, [&] { dll_fn_download_file(direct.toLocal8Bit().constData(), mtInternal); });
    QTest::qWait(delayMs + 200);
    const double directMs = heartbeat.stopMs();

    std::printf("device operation of %d ms, queued download took %.0f ms in all\n", delayMs, operationMs);
    std::printf("longest gap between events on the window's thread:\n");
    std::printf("  idle (1 s)                          %8.1f ms\n", idleMs);
    std::printf("  while the queue runs the download   %8.1f ms\n", queuedMs);
    std::printf("  the same call on the window thread  %8.1f ms (reference)\n", directMs);
    std::printf("reference / queued: %.0fx\n", directMs / std::max(queuedMs, 0.001));

    delete w;
    delete Form_TargetSelection;
    Form_TargetSelection = nullptr;
    return 0;
}
