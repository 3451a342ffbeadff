// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The status poll: timing, arrival, departure, card states and write protection.
#include "player_fixture.h"

#include "target_select_unit.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

using PlayerMonitor = PlayerPaneTest;

std::vector<QWidget *> playerButtons(TForm_TovixMan &w)
{
    return {w.Button_Download, w.Button_Upload, w.Button_Refresh, w.Button_Delete, w.Button_Format};
}

TEST_F(PlayerMonitor, PeriodFollowsTheStateBeforeEachPoll)
{
    EXPECT_EQ(w->Timer_CheckPlayer->interval(), 10);
    EXPECT_FALSE(w->Timer_CheckPlayer->isActive()) << "polling starts only when the window is shown";

    std::vector<int> periods;
    const int version[] = {0, 0, 1, 1, 1, 0, 0};
    for (int v : version) {
        fake::setVersion(v);
        poll();
        periods.push_back(w->Timer_CheckPlayer->interval());
    }
    EXPECT_EQ(periods, (std::vector<int>{5000, 5000, 5000, 2000, 2000, 2000, 5000}));
}

TEST_F(PlayerMonitor, FirstPollRunsAtOnceAfterShowing)
{
    QElapsedTimer clock;
    clock.start();
    w->show();
    while (callCount("dll_fn_get_player_version") == 0 && clock.elapsed() < 3000)
        QTest::qWait(5);
    EXPECT_EQ(callCount("dll_fn_get_player_version"), 1);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(w->Timer_CheckPlayer->isActive());
    EXPECT_EQ(w->Timer_CheckPlayer->interval(), 5000);
    QTest::qWait(100);
    EXPECT_EQ(callCount("dll_fn_get_player_version"), 1) << "the next poll waits a whole period";
}

TEST_F(PlayerMonitor, ArrivalEnablesThePlayerSideAndReadsTwice)
{
    attach(memoryWith({"a.mp3"}), memoryWith({"b.mp3"}), psWriteProtected);

    EXPECT_TRUE(w->FConnected);
    EXPECT_TRUE(w->FCardPresent);
    EXPECT_FALSE(w->FDeviceBusy);
    EXPECT_EQ(w->FLastStatus, uint32_t(psWriteProtected));
    EXPECT_EQ(w->statusText(0), "TOVIX 2.1");
    EXPECT_EQ(w->statusText(1), "memory card exists");
    EXPECT_EQ(w->statusText(2), "write protected");
    EXPECT_EQ(w->statusText(3), "Player is connected.");
    // Once for the status change, once for the arrival.
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 2);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 2);
    const auto calls = fake::calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, "dll_fn_get_player_version");
    EXPECT_EQ(calls[1].function, "dll_fn_get_player_status");

    for (QWidget *b : playerButtons(*w))
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(w->Menu_OperationGroup->menuAction()->isEnabled());
    EXPECT_TRUE(w->TabControl_PlayerFiles->isEnabled());
    EXPECT_TRUE(w->MemoryUsage_Internal->isEnabled());
    EXPECT_TRUE(w->MemoryUsageLabel_External->isEnabled());
    EXPECT_TRUE(w->Tab_ExternalFiles->isEnabled());
    for (QTreeWidget *list : {w->FileList_All, w->FileList_Internal, w->FileList_External})
        EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(w->FileList_All->topLevelItemCount(), 2);
}

TEST_F(PlayerMonitor, ArrivalWithTheSentinelStatusReadsOnceAndLeavesTheCardAlone)
{
    fake::setVersion(1);
    fake::setStatus(0xFFFFFFFF);
    poll();
    EXPECT_TRUE(w->FConnected);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 1);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 0);
    EXPECT_EQ(w->statusText(1), "");
    EXPECT_TRUE(w->FileList_External->isHidden());

    // Gone, and back with the departure sentinel: again no status change.
    fake::setVersion(0);
    poll();
    EXPECT_EQ(w->FLastStatus, 0xFFFFu);
    fake::clearCalls();
    fake::setVersion(1);
    fake::setStatus(0xFFFF);
    poll();
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 1);
}

TEST_F(PlayerMonitor, DepartureDisablesAndEmptiesEverything)
{
    TForm_TargetSelection dialog;
    Form_TargetSelection = &dialog;
    attach(memoryWith({"a.mp3", "b.mp3"}), memoryWith({"c.mp3"}));
    EXPECT_TRUE(dialog.Radio_Internal->isEnabled());
    EXPECT_TRUE(dialog.Radio_External->isEnabled());
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_ExternalFiles);
    w->FReservedInternal = 123;
    w->FReservedCard = -45;
    const QString internalLabel = w->MemoryUsageLabel_Internal->text();

    fake::clearCalls();
    fake::setVersion(0);
    poll();
    Form_TargetSelection = nullptr;

    EXPECT_EQ(callCount("dll_fn_get_player_version"), 1);
    EXPECT_EQ(fake::calls().size(), 1u) << "a departure reads nothing else";
    EXPECT_FALSE(w->FConnected);
    EXPECT_FALSE(w->FDeviceBusy);
    EXPECT_EQ(w->FLastStatus, 0xFFFFu);
    EXPECT_TRUE(w->FCardPresent) << "the card flag stays as it was";
    EXPECT_EQ(w->FReservedInternal, 0);
    EXPECT_EQ(w->FReservedCard, 0);
    EXPECT_EQ(w->statusText(0), "not connected");
    EXPECT_EQ(w->statusText(1), "");
    EXPECT_EQ(w->statusText(2), "");
    EXPECT_EQ(w->statusText(3), "Player is disconnected.");
    for (QTreeWidget *list : {w->FileList_All, w->FileList_Internal, w->FileList_External}) {
        EXPECT_EQ(list->topLevelItemCount(), 0);
        EXPECT_TRUE(list->isHidden());
    }
    for (QWidget *b : playerButtons(*w))
        EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(w->Menu_OperationGroup->menuAction()->isEnabled());
    EXPECT_FALSE(w->TabControl_PlayerFiles->isEnabled());
    EXPECT_FALSE(dialog.Radio_Internal->isEnabled());
    EXPECT_FALSE(dialog.Radio_External->isEnabled());
    EXPECT_FALSE(w->MemoryUsage_Internal->isEnabled());
    EXPECT_EQ(w->MemoryUsage_Internal->value(), 0);
    EXPECT_FALSE(w->MemoryUsageLabel_Internal->isEnabled());
    EXPECT_EQ(w->MemoryUsageLabel_Internal->text(), internalLabel);
    EXPECT_FALSE(w->MemoryUsage_External->isEnabled());
    EXPECT_EQ(w->MemoryUsage_External->value(), 0);
    EXPECT_EQ(w->MemoryUsageLabel_External->text(), "Unable to External Memory");
    EXPECT_FALSE(w->MemoryUsageLabel_External->isEnabled());
    // The card page stays active and keeps its enabled state.
    EXPECT_EQ(w->TabControl_PlayerFiles->currentWidget(), w->Tab_ExternalFiles);
    EXPECT_TRUE(w->TabControl_PlayerFiles->isTabEnabled(2));

    // The player comes back: arrival again, with a fresh status.
    fake::setVersion(1, "AGAIN");
    poll();
    EXPECT_TRUE(w->FConnected);
    EXPECT_EQ(w->statusText(0), "AGAIN");
    EXPECT_EQ(w->FileList_All->topLevelItemCount(), 3);
}

TEST_F(PlayerMonitor, UnusableCardStatesPickTheirText)
{
    const std::pair<uint32_t, const char *> states[] = {
        {psNoCard | psWrongCard, "no memory card"},
        {psWrongCard | psCorruptedCard, "wrong memory card"},
        {psCorruptedCard, "currupted memory card"}};
    attach(memoryWith({"a.mp3"}), memoryWith({"c.mp3"}));
    for (const auto &[status, text] : states) {
        SCOPED_TRACE(text);
        w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_ExternalFiles);
        fake::clearCalls();
        fake::setStatus(status);
        poll();
        EXPECT_EQ(w->statusText(1), text);
        EXPECT_FALSE(w->FCardPresent);
        EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 0);
        EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 1);
        EXPECT_EQ(w->TabControl_PlayerFiles->currentWidget(), w->Tab_All);
        EXPECT_FALSE(w->Tab_ExternalFiles->isEnabled());
        EXPECT_TRUE(w->FileList_External->isHidden());
        EXPECT_FALSE(w->MemoryUsage_External->isEnabled());
        EXPECT_EQ(w->MemoryUsage_External->value(), 0);
        EXPECT_FALSE(w->MemoryUsageLabel_External->isEnabled());
        EXPECT_EQ(w->MemoryUsageLabel_External->text(), "Unable to External Memory");
        EXPECT_EQ(column(w->FileList_All, 0), QStringList{"a.mp3"});
        EXPECT_EQ(w->statusText(2), "writable");
        // A card that was just refused: switch back to a usable one for the next round.
        fake::setStatus(0);
        poll();
        EXPECT_EQ(w->statusText(1), "memory card exists");
        EXPECT_TRUE(w->FCardPresent);
        EXPECT_TRUE(w->Tab_ExternalFiles->isEnabled());
        EXPECT_FALSE(w->FileList_External->isHidden());
        EXPECT_EQ(w->FileList_All->topLevelItemCount(), 2);
    }
}

TEST_F(PlayerMonitor, OnlyAChangedStatusIsActedOn)
{
    attach(memoryWith({"a.mp3"}), memoryWith({}));
    w->setStatusText(2, QStringLiteral("marker"));
    w->setStatusText(0, QStringLiteral("marker"));

    fake::clearCalls();
    poll();
    ASSERT_EQ(fake::calls().size(), 2u) << "an unchanged status costs two calls and nothing more";
    EXPECT_EQ(w->statusText(2), "marker");

    // A bit that means nothing still counts as a change.
    fake::clearCalls();
    fake::setStatus(1);
    poll();
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 1);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 1);
    EXPECT_EQ(w->statusText(2), "writable");
    EXPECT_EQ(w->FLastStatus, 1u);
    EXPECT_EQ(w->statusText(0), "marker") << "the identity is written only on arrival";

    fake::setStatus(1 | psWriteProtected);
    poll();
    EXPECT_EQ(w->statusText(2), "write protected");
}

TEST_F(PlayerMonitor, VersionTextIsTrimmedAndCutAtANul)
{
    fake::setVersion(1, std::string(" \t V1.02 \r\n  ", 13));
    poll();
    EXPECT_EQ(w->statusText(0), "V1.02");

    fake::setVersion(0);
    poll();
    fake::setVersion(1, std::string("AB C\0DEFGHIJK", 13));
    poll();
    EXPECT_EQ(w->statusText(0), "AB C");

    fake::setVersion(0);
    poll();
    fake::setVersion(1, "ABCDEFGHIJKLMNOP");
    poll();
    EXPECT_EQ(w->statusText(0), "ABCDEFGHIJKLM") << "thirteen characters at most";
}

TEST_F(PlayerMonitor, NoPollWhileBusyOrClosing)
{
    fake::setVersion(1);
    w->FDeviceBusy = true;
    poll();
    w->Button_RefreshClick();
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_EQ(w->Timer_CheckPlayer->interval(), 10) << "a skipped poll leaves the period";
    EXPECT_FALSE(w->FConnected);

    w->FDeviceBusy = false;
    w->FClosing = true;
    poll();
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_EQ(w->Timer_CheckPlayer->interval(), 10);

    w->FClosing = false;
    poll();
    EXPECT_TRUE(w->FConnected);
}

TEST_F(PlayerMonitor, CloseStopsPollingForGood)
{
    fake::setVersion(1);
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->FConnected; }, 5000)) << "the first poll finds the player";
    w->close();
    EXPECT_FALSE(w->Timer_CheckPlayer->isActive());
    fake::clearCalls();
    poll();
    EXPECT_TRUE(fake::calls().empty());
}

} // namespace
