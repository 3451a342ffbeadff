// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's own device calls never overlap an operation running on another thread.
#include "player_fixture.h"

#include <QTest>

#include <thread>

namespace {

using PlayerPaneThreading = PlayerPaneTest;

TEST_F(PlayerPaneThreading, NoCallWhileAnOperationRuns)
{
    attach(memoryWith({"a"}), memoryWith({"b"}));
    w->show();
    fake::holdOperations(true);
    // What the queue does around a job: the flag is set before its worker starts.
    w->FDeviceBusy = true;
    std::thread worker([] { dll_fn_delete_file("F0.MP3", mtInternal); });
    ASSERT_TRUE(fake::waitForHeldOperation(5000));

    fake::clearCalls();
    fake::setStatus(psWriteProtected);
    fake::setVersion(0);
    for (int i = 0; i < 3; ++i) {
        poll();
        w->Button_RefreshClick();
    }
    w->Timer_CheckPlayer->setInterval(1);
    QTest::qWait(30); // the real timer fires too
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_TRUE(w->FConnected) << "a departure is noticed only once the operation is over";

    fake::releaseHeldOperation();
    worker.join();
    w->FDeviceBusy = false;
    poll();
    EXPECT_FALSE(w->FConnected);
    EXPECT_EQ(fake::maxConcurrentCalls(), 1);
    for (const fake::Call &c : fake::calls())
        EXPECT_EQ(c.thread, std::this_thread::get_id()) << c.function;
}

} // namespace
