// The window started on a big PC folder restored from settings.ini is up and
// answering while the folder is still being listed; copies cancelled on their
// thread all end.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "explorer/transfer_progress.h"
#include "fileops/file_clipboard.h"
#include "main_unit.h"
#include "platform/folder_probe.h"
#include "scripted_prompts.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
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

// Cancel while a copy asks and another waits: both end, the window says
// which never began, and the copies after them run and end as well.
TEST(PcPaneThreading, CancelEndsTheCopiesThatWaitAndTheProgressWindowGoes)
{
    QTemporaryDir from, to, settings;
    const auto make = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
        make(from.filePath(QLatin1String(name)), "new");
    make(to.filePath(QStringLiteral("a.mp3")), "old");
    ScriptedPrompts prompts;
    TForm_TovixMan w(settings.filePath(QStringLiteral("settings.ini")));
    PcFileOperations *ops = w.FolderView->fileOperations();
    const auto copy = [&](const char *name) {
        std::unique_ptr<QMimeData> data(makeFileClipboard({from.filePath(QLatin1String(name))}, false));
        ASSERT_TRUE(ops->drop(data.get(), to.path(), Qt::CopyAction));
    };
    TransferProgressDialog *progress = nullptr;
    prompts.onPrompt = [&] {
        progress = w.findChild<TransferProgressDialog *>();
        ASSERT_NE(progress, nullptr);
        progress->show(); // as it is after half a second
        progress->cancelButton()->click();
    };

    copy("a.mp3"); // asks about a.mp3
    copy("b.mp3"); // waits behind it
    ASSERT_TRUE(ops->waitUntilIdle(5000)) << "the waiting copy never ended";
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(w.statusText(3), QStringLiteral("Cancelled before it began: the copy of \"b.mp3\" into \"%1\".")
                                   .arg(to.path()));
    EXPECT_FALSE(QFile::exists(to.filePath(QStringLiteral("b.mp3"))));

    prompts.onPrompt = nullptr;
    copy("c.mp3");
    ASSERT_TRUE(ops->waitUntilIdle(5000));
    EXPECT_TRUE(QFile::exists(to.filePath(QStringLiteral("c.mp3"))));
    EXPECT_FALSE(progress->isVisible());
}

// The saved PC folder is a network share gone away: the window starts at once
// in another folder, says so, and keeps the saved one for the next start.
TEST(PcPaneThreading, ASavedFolderThatDoesNotAnswerNeverHoldsTheStart)
{
    QTemporaryDir dir;
    const QString share = dir.filePath(QStringLiteral("share"));
    ASSERT_TRUE(QDir().mkdir(share));
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    QFile ini(settings);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Explorer]\nDirectory=%1\n").arg(share).toUtf8());
    ini.close();
    const auto answered = std::make_shared<std::atomic<bool>>(false);
    setFolderCheck([share, answered](const QString &path) {
        for (int i = 0; i < 2000 && path.startsWith(share) && !*answered; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return true;
    });
    ScriptedPrompts prompts;
    QElapsedTimer started;
    started.start();
    {
        TForm_TovixMan w(settings);
        EXPECT_LT(started.elapsed(), 3000);
        EXPECT_NE(w.FolderView->currentDirectory(), share);
        EXPECT_TRUE(w.statusText(3).contains(QStringLiteral("\"%1\" did not answer").arg(share)))
            << w.statusText(3).toStdString();
    }
    *answered = true;
    setFolderCheck(nullptr);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains(QStringLiteral("Directory=%1\n").arg(share).toUtf8()));
}

} // namespace
