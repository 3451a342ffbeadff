// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The queue at its edges: refused operations are reported, a worker that
// cannot start fails its job instead of stalling the queue, a starting format
// keeps the reservations of what waits behind it, and closing gives up waiting
// for a device call that never returns.
#include "queue_fixture.h"

#include "explorer/pc_file_operations.h"
#include "fileops/file_clipboard.h"
#include "queue/copy_thread.h"

#include <QFileInfo>
#include <QMimeData>
#include <QWindow>

#include <atomic>
#include <memory>

namespace {

class QueueEdgesThreading : public QueueTest {
protected:
    void queueDownloads(const QStringList &names, qint64 bytes = 100)
    {
        for (const QString &name : names)
            makePcFile(name, bytes);
        selectPc(names);
        w->TabControl_PlayerFiles->setCurrentIndex(1);
        w->MainMenu_DownloadToPlayerClick();
    }
    // One tick that completes the running job (if any) and starts the next.
    void step()
    {
        if (w->FJobRunning) {
            ASSERT_TRUE(waitPosted());
        }
        tick();
    }
};

// The device library refuses the operation-th call (1-based) and no other.
void refuseCall(int operation)
{
    auto count = std::make_shared<std::atomic<int>>(0);
    fake::setOperationHook([count, operation](const fake::Call &) {
        fake::setOperationResult(++*count == operation - 1 ? 0 : 1);
    });
}

} // namespace

TEST_F(QueueEdgesThreading, ARefusedOperationIsNamedThenSummarisedOnce)
{
    attachEmpty();
    queueDownloads({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")});
    refuseCall(2);
    const QString refused = QStringLiteral("Download \"b.mp3\" to Internal Memory");

    step(); // starts a
    step(); // completes a, starts b
    step(); // completes b, refused, starts c
    EXPECT_TRUE(w->statusText(3).contains(refused)) << w->statusText(3).toStdString();
    EXPECT_TRUE(prompts.records.empty()) << "no box while the queue still runs";
    step(); // completes c; the queue has run empty
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 operation failed."));
    ASSERT_EQ(prompts.records.size(), 1u);
    const PromptRecord &box = prompts.records[0];
    EXPECT_EQ(box.owner, w.get());
    EXPECT_EQ(box.title, w->windowTitle());
    EXPECT_EQ(box.icon, PromptIcon::Warning);
    EXPECT_TRUE(box.text.contains(refused));
    EXPECT_FALSE(box.text.contains(QStringLiteral("a.mp3")));
    EXPECT_FALSE(box.text.contains(QStringLiteral("c.mp3")));

    // The next run starts with a clean slate.
    fake::setOperationHook(nullptr);
    fake::setOperationResult(1);
    queueDownloads({QStringLiteral("d.mp3")});
    ASSERT_TRUE(runQueue());
    EXPECT_EQ(w->statusText(3), QStringLiteral("Operation completed."));
    EXPECT_EQ(prompts.records.size(), 1u);
}

TEST_F(QueueEdgesThreading, SeveralFailuresAreCountedInOneBox)
{
    attachEmpty();
    fake::setOperationResult(0);
    queueDownloads({QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    ASSERT_TRUE(runQueue());
    EXPECT_EQ(w->statusText(3), QStringLiteral("2 operations failed."));
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("a.mp3")));
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("b.mp3")));
}

TEST_F(QueueEdgesThreading, AWorkerThatCannotStartFailsItsJobAndTheQueueGoesOn)
{
    attachEmpty();
    queueDownloads({QStringLiteral("a.mp3")});
    TCopyThread::setWorkerStackSize(1); // below any system's minimum: the thread is refused
    tick();
    TCopyThread::setWorkerStackSize(0);
    EXPECT_TRUE(w->FJobDone) << "the job ends without a worker";
    EXPECT_EQ(w->FJobResult, 0);
    tick();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(w->FJobRunning);
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 operation failed."));
    EXPECT_TRUE(operations().empty());

    queueDownloads({QStringLiteral("b.mp3")});
    ASSERT_TRUE(runQueue());
    ASSERT_EQ(operations().size(), 1u);
    EXPECT_EQ(operations()[0].arg1, pcPath(QStringLiteral("b.mp3")));
}

TEST_F(QueueEdgesThreading, AStartingFormatKeepsTheDownloadsQueuedBehindIt)
{
    attach(memoryOf({fake::makeEntry("old.mp3", "OLD.MP3", 6000, true)}, 10000, 4000),
           fake::makeMemory(1000, 1000));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    queueDownloads({QStringLiteral("a.mp3")}, 5000);
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(w->FReservedInternal, -6000 + 5000);

    fake::holdOperations(true);
    tick();
    EXPECT_EQ(w->FReservedInternal, 5000) << "the download behind the format still counts";
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    fake::releaseHeldOperation();
    fake::holdOperations(false);
    ASSERT_TRUE(runQueue());
}

TEST_F(QueueEdgesThreading, ClosingOffersToQuitWhenTheCallNeverReturns)
{
    attachEmpty();
    queueDownloads({QStringLiteral("a.mp3")});
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));

    // A copy that asks while the window waits: its box would stop the wait.
    QTemporaryDir from;
    ASSERT_TRUE(QFile(from.filePath("a.mp3")).open(QIODevice::WriteOnly));
    const std::unique_ptr<QMimeData> data(makeFileClipboard({from.filePath("a.mp3")}, false));
    ASSERT_TRUE(w->FolderView->fileOperations()->drop(data.get(), pc.path(), Qt::CopyAction));

    int quits = 0;
    w->FCloseWaitMs = 200;
    w->FQuitWithoutWaiting = [&] { ++quits; };
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    const QString settingsFile = w->settingsPath();
    bool writtenWhileShown = true;
    QObject::connect(w->windowHandle(), &QWindow::visibleChanged, [&](bool visible) {
        if (!visible)
            writtenWhileShown = QFileInfo::exists(settingsFile);
    });
    w->close();

    ASSERT_EQ(prompts.records.size(), 2u) << "asked again after No, and nothing else";
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompts.records[0].owner, w.get());
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("Quit anyway ?")));
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(QFileInfo::exists(settingsFile)) << "the settings are written before quitting";
    EXPECT_FALSE(writtenWhileShown) << "the window is gone before the write waits on the disk";

    fake::releaseHeldOperation();
    fake::holdOperations(false);
}
