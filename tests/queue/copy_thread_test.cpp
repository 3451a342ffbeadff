// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The worker: one device call on its own thread at a lowered priority, its own copy
// of the job, the result posted back, and nothing left behind.
#include "fake_nerolink.h"
#include "queue/copy_thread.h"
#include "queue/thread_done_event.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

// Stands in for the main window: keeps every thread-done message it is sent.
class Receiver : public QObject {
public:
    struct Message {
        uint32_t wParam;
        int32_t lParam;
    };
    std::vector<Message> messages;

    bool event(QEvent *e) override
    {
        if (e->type() != WM_THREADDONE)
            return QObject::event(e);
        const auto *done = static_cast<ThreadDoneEvent *>(e);
        messages.push_back({done->wParam, done->result()});
        return true;
    }
};

// Pumps events until the worker has posted and deleted itself.
bool finishWorker(QPointer<TCopyThread> &worker, Receiver &receiver, size_t messages = 1)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && (worker || receiver.messages.size() < messages)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return !worker && receiver.messages.size() == messages;
}

TCopyJob uploadJob()
{
    TCopyJob job;
    job.Id = 0xDEADBEEF;
    job.Kind = jkUploadCard;
    std::strcpy(job.PcPath, "/home/u/Music/song.mp3");
    std::strcpy(job.PlayerName, "SONG~1.MP3");
    return job;
}

class CopyThreadThreading : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override { fake::reset(); }
    Receiver receiver;
};

TEST_F(CopyThreadThreading, OneCallOffTheCallersThreadThenTheResultIsPosted)
{
    fake::setOperationResult(-17);
    QPointer<TCopyThread> worker = new TCopyThread(&receiver, uploadJob());
    ASSERT_TRUE(finishWorker(worker, receiver));

    EXPECT_EQ(receiver.messages[0].wParam, 0xDEADBEEFu);
    EXPECT_EQ(receiver.messages[0].lParam, -17);
    const auto calls = fake::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].function, "dll_fn_upload_file");
    EXPECT_EQ(calls[0].arg1, "SONG~1.MP3");
    EXPECT_EQ(calls[0].arg2, "/home/u/Music/song.mp3");
    EXPECT_EQ(calls[0].target, mtCard);
    EXPECT_NE(calls[0].thread, std::this_thread::get_id());
}

TEST_F(CopyThreadThreading, TheJobMayBeReleasedAsSoonAsTheWorkerIsMade)
{
    fake::holdOperations(true);
    auto job = std::make_unique<TCopyJob>(uploadJob());
    QPointer<TCopyThread> worker = new TCopyThread(&receiver, *job);
    // The queue cancels or releases its record while the call is running.
    std::memset(static_cast<void *>(job.get()), 'x', sizeof *job);
    job.reset();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    EXPECT_TRUE(worker->isRunning());
    EXPECT_TRUE(receiver.messages.empty()) << "nothing is posted before the call returns";
    fake::releaseHeldOperation();
    ASSERT_TRUE(finishWorker(worker, receiver));

    const auto calls = fake::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arg1, "SONG~1.MP3");
    EXPECT_EQ(calls[0].arg2, "/home/u/Music/song.mp3");
    EXPECT_EQ(receiver.messages[0].wParam, 0xDEADBEEFu);
}

// SCHED_IDLE would starve the transfer while other programs keep the cores
// busy, and a raised nice value slows it far beyond its share; SCHED_BATCH at
// the window's nice value keeps its share and lets the window preempt it.
TEST_F(CopyThreadThreading, TheCallRunsInTheBatchPolicyAtTheWindowsNiceValue)
{
    int policy = -1;
    int nice = 0;
    fake::setOperationHook([&](const fake::Call &) {
        policy = ::sched_getscheduler(0);
        nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
    });
    QPointer<TCopyThread> worker = new TCopyThread(&receiver, uploadJob());
    ASSERT_TRUE(finishWorker(worker, receiver));
    EXPECT_EQ(policy, SCHED_BATCH);
    EXPECT_EQ(nice, ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid))));
    EXPECT_EQ(::sched_getscheduler(0), SCHED_OTHER) << "the window's thread is left as it was";
}

TEST_F(CopyThreadThreading, FieldsWithoutTerminatorAreCutInsideTheirBounds)
{
    TCopyJob job = uploadJob();
    std::memset(job.PcPath, 'p', sizeof job.PcPath);
    std::memset(job.PlayerName, 'n', sizeof job.PlayerName);
    QPointer<TCopyThread> worker = new TCopyThread(&receiver, job);
    ASSERT_TRUE(finishWorker(worker, receiver));
    const auto calls = fake::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arg1, std::string(kPlayerNameSize - 1, 'n'));
    EXPECT_EQ(calls[0].arg2, std::string(kPcPathSize - 1, 'p'));
}

TEST_F(CopyThreadThreading, AnUnknownKindMakesNoCallAndPostsOne)
{
    fake::setOperationResult(0);
    TCopyJob job = uploadJob();
    job.Kind = 9;
    job.Id = 5;
    QPointer<TCopyThread> worker = new TCopyThread(&receiver, job);
    ASSERT_TRUE(finishWorker(worker, receiver));
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_EQ(receiver.messages[0].wParam, 5u);
    EXPECT_EQ(receiver.messages[0].lParam, 1);
}

TEST_F(CopyThreadThreading, WorkersOneAfterAnotherEachPostOnce)
{
    for (int32_t kind = jkDownloadInternal; kind <= jkFormatCard; ++kind) {
        TCopyJob job = uploadJob();
        job.Kind = kind;
        job.Id = uint32_t(kind);
        QPointer<TCopyThread> worker = new TCopyThread(&receiver, job);
        ASSERT_TRUE(finishWorker(worker, receiver, size_t(kind)));
        EXPECT_EQ(receiver.messages.back().wParam, uint32_t(kind));
    }
    EXPECT_EQ(fake::calls().size(), 8u);
    EXPECT_EQ(fake::maxConcurrentCalls(), 1);
}

} // namespace
