// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window started on a big PC folder restored from settings.ini is up and
// answering while the folder is still being listed, and a saved folder that
// does not answer never holds it.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "platform/folder_probe.h"
#include "scripted_prompts.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr int kFiles = 6000;

TEST(PcPaneThreading, TheWindowStartsAndAnswersWhileABigRestoredFolderLists)
{
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big"));
    ASSERT_TRUE(QDir().mkdir(big));
    for (int i = 0; i < kFiles; ++i)
        ASSERT_TRUE(QFile(QStringLiteral("%1/track %2.mp3").arg(big).arg(i)).open(QIODevice::WriteOnly));
    QFile ini(dir.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Explorer]\nDirectory=%1\n").arg(big).toUtf8());
    ini.close();
    ScriptedPrompts prompts;

    TForm_TovixMan w(ini.fileName());
    EXPECT_EQ(w.FolderView->currentDirectory(), big);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    int ticksWhileListing = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ticksWhileListing += !w.FolderView->isLoaded(); });
    tick.start(1);
    EXPECT_FALSE(w.FolderView->isLoaded()) << "the window is up before the list is complete";
    ASSERT_TRUE(w.FolderView->waitUntilLoaded(30000));
    EXPECT_GT(ticksWhileListing, 0);
    EXPECT_EQ(w.FolderView->itemCount(), kFiles);
    EXPECT_EQ(w.FolderTree->selectedNodePath(), big);
    EXPECT_TRUE(prompts.records.empty());
}

// The saved PC folder is a network share gone away: the window starts at once
// in another folder, says so, and keeps the saved one for the next start.
TEST(PcPaneThreading, ASavedFolderThatDoesNotAnswerNeverHoldsTheStart)
{
    QTemporaryDir dir;
    const QString share = dir.filePath("share");
    ASSERT_TRUE(QDir().mkdir(share));
    QFile ini(dir.filePath("settings.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QString("[Explorer]\nDirectory=%1\n").arg(share).toUtf8());
    ini.close();
    setFolderCheck([share](const QString &path) { // answers after ten seconds
        for (int i = 0; i < 2000 && path.startsWith(share); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return true;
    });
    ScriptedPrompts prompts;
    QElapsedTimer started;
    started.start();
    {
        TForm_TovixMan w(ini.fileName());
        EXPECT_LT(started.elapsed(), 3000);
        EXPECT_NE(w.FolderView->currentDirectory(), share);
        EXPECT_TRUE(w.statusText(3).contains(QString("\"%1\" did not answer").arg(share)));
    }
    setFolderCheck(nullptr);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains(QString("Directory=%1\n").arg(share).toUtf8()));
}

} // namespace
