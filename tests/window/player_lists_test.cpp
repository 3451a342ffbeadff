// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player's file lists and usage display, filled from the device records.
#include "player_fixture.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cstring>

namespace {

using PlayerLists = PlayerPaneTest;

TEST_F(PlayerLists, AllListsInternalThenCardInLibraryOrder)
{
    TMemoryInfo internal = memoryWith({"zeta.mp3", "alpha.mp3"});
    TMemoryInfo card = memoryWith({"mid.wav"});
    card.Files[0].Size = 3000000000u;
    internal.Files[1].Size = 4294967295u;
    attach(internal, card);

    EXPECT_EQ(column(w->FileList_All, 0), (QStringList{"zeta.mp3", "alpha.mp3", "mid.wav"}));
    EXPECT_EQ(column(w->FileList_All, 1), (QStringList{"Internal", "Internal", "MemCard"}));
    EXPECT_EQ(column(w->FileList_All, 2), (QStringList{"1000", "4294967295", "3000000000"}));
    EXPECT_EQ(column(w->FileList_Internal, 0), (QStringList{"zeta.mp3", "alpha.mp3"}));
    EXPECT_EQ(column(w->FileList_Internal, 1), (QStringList{"1000", "4294967295"}));
    EXPECT_EQ(column(w->FileList_External, 1), QStringList{"3000000000"});

    // Items point into the window's own records.
    EXPECT_EQ(playerEntryOf(w->FileList_All->topLevelItem(1)), &w->FInternalInfo.Files[1]);
    EXPECT_EQ(playerEntryOf(w->FileList_All->topLevelItem(2)), &w->FCardInfo.Files[0]);
    EXPECT_EQ(playerEntryOf(w->FileList_Internal->topLevelItem(0)), &w->FInternalInfo.Files[0]);
    EXPECT_EQ(playerEntryOf(w->FileList_External->topLevelItem(0)), &w->FCardInfo.Files[0]);
    EXPECT_STREQ(playerEntryOf(w->FileList_External->topLevelItem(0))->ShortName, "F0.MP3");

    EXPECT_TRUE(w->FileList_All->topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
    EXPECT_TRUE(w->FileList_Internal->topLevelItem(0)->textAlignment(1) & Qt::AlignRight);
    EXPECT_GE(w->FileList_All->columnWidth(0), 100);
    EXPECT_GE(w->FileList_All->columnWidth(2), 50);
    EXPECT_GE(w->FileList_External->columnWidth(1), 50);
}

TEST_F(PlayerLists, DisplayNameRules)
{
    TMemoryInfo internal = fake::makeMemory(1000, 0);
    fake::addFile(internal, fake::makeEntry("Long Name Ignored.mp3", "SHORT.MP3", 5, false));
    const std::string longest(195, 'n');
    TFileEntry full = fake::makeEntry(longest, "FULL.MP3", 6, true);
    std::memset(full.Reserved1, 'X', sizeof full.Reserved1); // must not leak into the name
    fake::addFile(internal, full);
    fake::addFile(internal, fake::makeEntry("Grüße.mp3", "GRUSSE.MP3", 7, true));
    attach(internal, fake::makeMemory(0, 0));

    const QStringList names = column(w->FileList_Internal, 0);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[0], "SHORT.MP3");
    EXPECT_EQ(names[1], QString::fromStdString(longest));
    EXPECT_EQ(names[2], QString::fromUtf8("Grüße.mp3"));
    const int fitted = w->FileList_Internal->columnWidth(0);
    EXPECT_GT(fitted, 100) << "the name column fits its text";
    w->FileList_Internal->resizeColumnToContents(0);
    EXPECT_EQ(w->FileList_Internal->columnWidth(0), fitted);
}

TEST_F(PlayerLists, UsageEdgeCases)
{
    TMemoryInfo internal = fake::makeMemory(1000, 10); // no files, yet nearly full by bytes
    TMemoryInfo card = memoryWith({"a"}, 0, 0);        // files but no capacity
    attach(internal, card);
    EXPECT_EQ(w->MemoryUsage_Internal->value(), 0);
    EXPECT_EQ(w->MemoryUsageLabel_Internal->text(), "Internal (0 Kb [100%] Free) - 0 File(s)");
    EXPECT_EQ(w->MemoryUsage_External->value(), 100);
    EXPECT_EQ(w->MemoryUsageLabel_External->text(), "External (0 kb [0%] Free) - 1 File(s)");

    fake::setMemory(mtInternal, memoryWith({"a", "b"}, 1000000, 875000));
    fake::setMemory(mtCard, memoryWith({"a"}, 1000000, 999));
    w->Button_RefreshClick();
    EXPECT_EQ(w->MemoryUsage_Internal->value(), 12);
    EXPECT_EQ(w->MemoryUsageLabel_Internal->text(), "Internal (875 Kb [88%] Free) - 2 File(s)");
    EXPECT_EQ(w->MemoryUsage_External->value(), 100);
    EXPECT_EQ(w->MemoryUsageLabel_External->text(), "External (0 kb [0%] Free) - 1 File(s)");
}

TEST_F(PlayerLists, UnusableCardIsNotRead)
{
    attach(memoryWith({"a"}), memoryWith({"c"}), psNoCard);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 0);
    EXPECT_EQ(w->MemoryUsage_External->value(), 0);
    EXPECT_EQ(w->MemoryUsageLabel_External->text(), "Unable to External Memory");
    EXPECT_EQ(column(w->FileList_All, 0), QStringList{"a"});
}

TEST_F(PlayerLists, FailedReadsKeepTheOwnListAndLeaveTheAllList)
{
    attach(memoryWith({"i1", "i2"}), memoryWith({"c1"}));
    const uint32_t freeBefore = w->FInternalInfo.FreeBytes;

    fake::setMemory(mtInternal, memoryWith({"new"}, 2000, 1000));
    fake::setRefreshResult(mtInternal, 0);
    fake::clearCalls();
    w->Button_RefreshClick();
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtCard), 1) << "the card is still read";
    EXPECT_EQ(column(w->FileList_Internal, 0), (QStringList{"i1", "i2"}));
    EXPECT_EQ(column(w->FileList_All, 0), QStringList{"c1"});
    EXPECT_EQ(w->FInternalInfo.FreeBytes, freeBefore);
    // The kept items still lead to the files they name.
    EXPECT_STREQ(playerEntryOf(w->FileList_Internal->topLevelItem(1))->LongName, "i2");

    fake::setRefreshResult(mtInternal, 1);
    fake::setMemory(mtCard, memoryWith({"c2", "c3"}));
    fake::setRefreshResult(mtCard, 0);
    w->Button_RefreshClick();
    EXPECT_EQ(column(w->FileList_All, 0), QStringList{"new"});
    EXPECT_EQ(column(w->FileList_External, 0), QStringList{"c1"});
    EXPECT_FALSE(w->FDeviceBusy);
}

TEST_F(PlayerLists, RefreshButtonIsWired)
{
    attach(memoryWith({"a"}), memoryWith({}));
    fake::setMemory(mtInternal, memoryWith({"a", "b"}));
    fake::clearCalls();
    QTest::mouseClick(w->Button_Refresh, Qt::LeftButton);
    EXPECT_EQ(callCount("dll_fn_refresh_device", mtInternal), 1);
    EXPECT_EQ(w->FileList_Internal->topLevelItemCount(), 2);
}

class PlayerOrdering : public PlayerPaneTest {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    QHeaderView *header(QTreeWidget *list) { return list->header(); }
};

TEST_F(PlayerOrdering, HeaderClickOrdersByNameFromThenOn)
{
    attach(memoryWith({"beta", "Alpha", "alpha", "Beta"}), memoryWith({"card"}));
    EXPECT_FALSE(w->FileList_Internal->isSortingEnabled());

    w->FileList_ColumnClick(w->FileList_Internal, 1); // the "Size" column
    // Locale-aware (not byte order) and case-sensitive.
    EXPECT_EQ(column(w->FileList_Internal, 0), (QStringList{"alpha", "Alpha", "beta", "Beta"}));
    EXPECT_EQ(header(w->FileList_Internal)->sortIndicatorSection(), 1);
    EXPECT_EQ(header(w->FileList_Internal)->sortIndicatorOrder(), Qt::AscendingOrder);

    fake::setMemory(mtInternal, memoryWith({"delta", "Charlie", "bravo", "echo", "alpha"}));
    w->Button_RefreshClick();
    EXPECT_EQ(column(w->FileList_Internal, 0),
              (QStringList{"alpha", "bravo", "Charlie", "delta", "echo"}));
    EXPECT_EQ(column(w->FileList_All, 0),
              (QStringList{"delta", "Charlie", "bravo", "echo", "alpha", "card"}))
        << "a list never clicked keeps the library's order";
    // Items still point at their own entries after the reordering.
    for (int i = 0; i < w->FileList_Internal->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = w->FileList_Internal->topLevelItem(i);
        EXPECT_EQ(QString::fromLatin1(playerEntryOf(item)->LongName), item->text(0));
    }
}

TEST_F(PlayerOrdering, IndicatorMovesOrFlipsButTheOrderStaysAscending)
{
    attach(memoryWith({"b", "c", "a"}), memoryWith({"a2", "0"}));
    QTreeWidget *all = w->FileList_All;
    w->FileList_ColumnClick(all, 0);
    EXPECT_EQ(header(all)->sortIndicatorSection(), 0);
    EXPECT_EQ(header(all)->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(column(all, 0), (QStringList{"0", "a", "a2", "b", "c"}));
    w->FileList_ColumnClick(all, 2);
    EXPECT_EQ(header(all)->sortIndicatorSection(), 2);
    EXPECT_EQ(header(all)->sortIndicatorOrder(), Qt::DescendingOrder) << "a move keeps the direction";
    w->FileList_ColumnClick(all, 2);
    EXPECT_EQ(header(all)->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(column(all, 0), (QStringList{"0", "a", "a2", "b", "c"}));
    EXPECT_EQ(column(all, 1), (QStringList{"MemCard", "Internal", "MemCard", "Internal", "Internal"}));
    // Each list has its own state.
    EXPECT_EQ(column(w->FileList_Internal, 0), (QStringList{"b", "c", "a"}));
    EXPECT_EQ(header(w->FileList_Internal)->sortIndicatorOrder(), Qt::AscendingOrder);
}

TEST_F(PlayerOrdering, RealHeaderClicksFollowTheSameRules)
{
    attach(memoryWith({"b", "a"}), memoryWith({}));
    w->show();
    QHeaderView *h = header(w->FileList_Internal);
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);
    QTest::qWait(20);
    const auto clickSection = [h](int section) {
        const QPoint at(h->sectionViewportPosition(section) + h->sectionSize(section) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    };
    ASSERT_TRUE(h->isVisible());
    ASSERT_GT(h->height(), 0);
    ASSERT_TRUE(h->isSortIndicatorShown());
    clickSection(0);
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::DescendingOrder);
    clickSection(1);
    EXPECT_EQ(h->sortIndicatorSection(), 1);
    EXPECT_EQ(h->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(column(w->FileList_Internal, 0), (QStringList{"a", "b"}));
    EXPECT_FALSE(w->FileList_Internal->isSortingEnabled());
}

TEST_F(PlayerOrdering, ReorderingKeepsTheSelection)
{
    attach(memoryWith({"c", "b", "a"}), memoryWith({}));
    w->FileList_Internal->topLevelItem(0)->setSelected(true); // "c"
    w->FileList_ColumnClick(w->FileList_Internal, 0);
    const auto selected = w->FileList_Internal->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0]->text(0), "c");
    EXPECT_EQ(w->FileList_Internal->indexOfTopLevelItem(selected[0]), 2);
}

TEST_F(PlayerLists, DeleteKeyInTheAllListOnlyActsAsRemove)
{
    attach(memoryWith({"a"}), memoryWith({}));
    QTest::keyClick(w->FileList_Internal, Qt::Key_Delete);
    EXPECT_TRUE(prompts.records.empty()) << "only the All list has a key handler";
    QTest::keyClick(w->FileList_All, Qt::Key_Escape);
    EXPECT_TRUE(prompts.records.empty());
    w->FileList_All->topLevelItem(0)->setSelected(true);
    QTest::keyClick(w->FileList_All, Qt::Key_Delete);
    EXPECT_EQ(prompts.texts(), QStringList{"Do you really want to remove selected files ?"});
}

TEST_F(PlayerLists, ContextMenuAndUsagePanelWidth)
{
    attach(memoryWith({"a"}), memoryWith({}));
    w->show();
    QTest::qWait(20);
    for (QTreeWidget *list : {w->FileList_All, w->FileList_Internal, w->FileList_External}) {
        emit list->customContextMenuRequested(QPoint(5, 5));
        EXPECT_TRUE(w->PopupMenu_Remove->isVisible());
        w->PopupMenu_Remove->hide();
    }
    w->Splitter_Panes->setSizes({300, 400});
    QTest::qWait(20);
    ASSERT_GT(w->Panel_MemoryUsage->width(), 300) << "the player pane has grown";
    EXPECT_EQ(w->MemoryUsage_Internal->width(), w->Panel_MemoryUsage->width() - 10);
    EXPECT_EQ(w->MemoryUsage_External->width(), w->MemoryUsage_Internal->width());
}

// At the window's first size a full memory's usage reads whole: the player pane
// takes the width its texts need from the PC pane, and the buttons follow the bar.
TEST_F(PlayerLists, UsageTextsReadWholeAtTheDefaultSize)
{
    std::vector<std::string> names;
    for (int i = 0; i < 17; ++i)
        names.push_back("take" + std::to_string(i) + ".mp3");
    attach(memoryWith({names.begin(), names.begin() + 7}, 66881000, 66881000),
           memoryWith(names, 1999999000, 1500000000));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::qWait(20);
    ASSERT_EQ(w->MemoryUsageLabel_Internal->text(), "Internal (66881 Kb [100%] Free) - 7 File(s)");
    for (const QLabel *label : {w->MemoryUsageLabel_Internal, w->MemoryUsageLabel_External})
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    EXPECT_EQ(w->width(), 640);
    EXPECT_EQ(w->Panel_Explorer->width() + w->Panel_FileListInMemory->width(), 640 - 34);
    EXPECT_EQ(w->MemoryUsage_Internal->width(), w->Panel_MemoryUsage->width() - 10);
    EXPECT_EQ(w->Button_Download->x(), w->Splitter_Panes->x() + w->Splitter_TovixAndExplorer->x() + 5);
}

// The status fields keep their drawn widths, and widen for a longer text such as
// the widest version name a player can report.
TEST_F(PlayerLists, StatusFieldsWidenForTheirText)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const QString version = QStringLiteral("WMWMWMWMWMWMW");
    fake::setVersion(1, version.toStdString());
    fake::setStatus(psWriteProtected);
    poll();
    QTest::qWait(20);
    ASSERT_EQ(w->statusText(0), version);
    const QLabel *field = w->StatusPanels[0];
    ASSERT_GT(field->fontMetrics().horizontalAdvance(version), 100) << "wider than the field was drawn";
    EXPECT_GE(field->contentsRect().width(), field->fontMetrics().horizontalAdvance(version));
    EXPECT_EQ(w->StatusPanels[2]->width(), 120);
}

} // namespace
