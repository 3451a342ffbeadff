// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Operations handed to the copy thread, questions handed back to the window's
// thread and answered there, and results delivered there in order.
#include "fileops/file_transfers.h"

#include "fileops_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QSignalSpy>
#include <QThread>

namespace {

class FileTransfersThreading : public FileOpsTest {
protected:
    FileTransfersThreading()
    {
        QObject::connect(&transfers, &FileTransfers::finished, [this](const FileOperation &op, const FileOperationResult &r) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            done.emplace_back(op, r);
        });
    }
    bool waitFor(size_t count)
    {
        const QDeadlineTimer deadline(10000);
        while (done.size() < count && !deadline.hasExpired())
            QTest::qWait(5);
        return done.size() >= count;
    }

    FileTransfers transfers;
    std::vector<std::pair<FileOperation, FileOperationResult>> done;
};

TEST_F(FileTransfersThreading, QuestionsAreAnsweredOnTheWindowsThreadAndResultsComeInOrder)
{
    write(src("a.mp3"), "new a");
    write(dst("a.mp3"), "old a");
    write(src("b.mp3"), "b");
    std::vector<QString> asked;
    transfers.askClash = [&](const ClashQuestion &q) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        asked.push_back(q.name);
        return ClashChoice::Replace;
    };
    transfers.start({FileOperation::Copy, {src("a.mp3")}, dst()});
    transfers.start({FileOperation::Move, {src("b.mp3")}, dst()});
    EXPECT_TRUE(transfers.isBusy());
    ASSERT_TRUE(waitFor(2));
    EXPECT_EQ(asked, std::vector<QString>{"a.mp3"});
    EXPECT_EQ(done[0].first.kind, FileOperation::Copy);
    EXPECT_EQ(done[0].second.placed, QStringList{"a.mp3"});
    EXPECT_EQ(done[1].second.placed, QStringList{"b.mp3"});
    EXPECT_EQ(read(dst("a.mp3")), "new a");
    EXPECT_EQ(read(dst("b.mp3")), "b");
    EXPECT_FALSE(transfers.isBusy());
}

TEST_F(FileTransfersThreading, ACancelWhileAQuestionWaitsUndoesAndDropsWhatWaits)
{
    write(src("first.mp3"), "first");
    write(src("a.mp3"), "new a");
    write(dst("a.mp3"), "old a");
    write(src("later.mp3"), "later");
    transfers.askClash = [&](const ClashQuestion &) {
        transfers.cancel(); // as the progress window's Cancel would, while the box is up
        return ClashChoice::Replace;
    };
    transfers.start({FileOperation::Copy, {src("first.mp3"), src("a.mp3")}, dst()});
    transfers.start({FileOperation::Copy, {src("later.mp3")}, dst()});
    ASSERT_TRUE(waitFor(2)) << "the waiting operation ends too";
    EXPECT_EQ(done[0].second.outcome, FileOperationResult::Cancelled);
    EXPECT_FALSE(done[0].second.dropped);
    EXPECT_EQ(done[1].second.outcome, FileOperationResult::Cancelled);
    EXPECT_TRUE(done[1].second.dropped) << "it never began";
    EXPECT_EQ(entries(dst()), QStringList{"a.mp3"});
    EXPECT_EQ(read(dst("a.mp3")), "old a");
}

TEST_F(FileTransfersThreading, GoingAwayMidCopyUndoesIt)
{
    write(dst("keep.txt"), "keep");
    write(src("big.bin"), QByteArray(48 << 20, 'z'));
    {
        FileTransfers leaving;
        leaving.start({FileOperation::Copy, {src("big.bin")}, dst()});
        for (int i = 0; i < 1000 && leaving.progress().done == 0; ++i)
            QThread::usleep(100);
    }
    EXPECT_EQ(entries(dst()), QStringList{"keep.txt"});
}

} // namespace
