// The window started on a big PC folder restored from settings.ini is up and
// answering while the folder is still being listed.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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

} // namespace
