// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window as it stands at start: names, captions, hints, enabled states and geometry.
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

class LayoutTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TForm_TovixMan w{dir.filePath(QStringLiteral("settings.ini"))};
};

} // namespace

TEST_F(LayoutTest, StartsWithItsCaptionStatusBarAndPassivePlayerSide)
{
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonavel v1.3"));
    EXPECT_EQ(w.statusText(0), QStringLiteral("Not Connected"));
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(w.statusText(i).isEmpty());
    EXPECT_EQ(w.StatusPanels[0]->width(), 100);
    EXPECT_EQ(w.StatusPanels[1]->width(), 140);
    EXPECT_EQ(w.StatusPanels[2]->width(), 120);

    for (QToolButton *b : {w.Button_Download, w.Button_Upload, w.Button_Refresh, w.Button_Delete,
                           w.Button_Format})
        EXPECT_FALSE(b->isEnabled()) << b->toolTip().toStdString();
    EXPECT_FALSE(w.Menu_OperationGroup->menuAction()->isEnabled());
    EXPECT_FALSE(w.TabControl_PlayerFiles->isEnabled());
    EXPECT_TRUE(w.Panel_CopyProgress->isHidden());
    for (QTreeWidget *list : {w.FileList_All, w.FileList_Internal, w.FileList_External})
        EXPECT_TRUE(list->isHidden());

    EXPECT_EQ(w.Timer_CheckPlayer->interval(), 10);
    EXPECT_FALSE(w.Timer_CheckPlayer->isActive());
    EXPECT_EQ(w.Timer_Transfer->interval(), 200);
    EXPECT_TRUE(w.Timer_Transfer->isActive());

    EXPECT_FALSE(w.FJobRunning || w.FJobDone || w.FConnected || w.FCardPresent || w.FClosing
                 || w.FDeviceBusy);
    EXPECT_EQ(w.FLastStatus, 0xFFFFFFFFu);
    EXPECT_EQ(w.FReservedInternal, 0);
    EXPECT_EQ(w.FReservedCard, 0);
}

TEST_F(LayoutTest, ToolBarsCarryTheirHints)
{
    const std::pair<QToolButton *, const char *> hints[] = {
        {w.ToolButton4, "Refresh"},        {w.Button_BigIcon, "Big Icons"},
        {w.Button_SmallIcon, "Small Icons"}, {w.Button_ListView, "List"},
        {w.Button_ReportView, "Details"},  {w.Button_Refresh, "Refresh"},
        {w.Button_Delete, "Remove Track"}, {w.Button_Format, "Format"},
        {w.Button_Download, "Download to Player"}, {w.Button_Upload, "Upload from Player"}};
    for (const auto &[button, hint] : hints)
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint));
    EXPECT_EQ(w.Button_Download->size(), QSize(23, 22));
    EXPECT_EQ(w.Button_Download->y(), 56);
    EXPECT_EQ(w.Button_Upload->y(), 92);
    EXPECT_EQ(w.ToolBar1->height(), 26);
}

TEST_F(LayoutTest, MenusHoldTheirItemsInOrder)
{
    QStringList bar;
    for (const QAction *a : w.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Operation", "&Listen", "&View", "&Help"}));
    EXPECT_EQ(captions(w.Menu_Listen),
              QStringList({"&Play / Pause", "&Stop", "-", "&Back 5 seconds", "&Forward 5 seconds",
                           "&Go to time...", "-", "S&lower by 0.1x", "&Faster by 0.1x", "-",
                           "&Rewind 2 seconds on pause", "Rewind le&ngth"}));
    EXPECT_EQ(w.MainMenu_Slower->toolTip(), QStringLiteral("Slower by 0.1x (Ctrl+F7)"));
    EXPECT_EQ(w.MainMenu_PlayPause->shortcut(), QKeySequence(Qt::Key_F9));
    EXPECT_EQ(w.MainMenu_Stop->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(w.MainMenu_Back->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(w.MainMenu_Forward->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(w.MainMenu_Slower->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
    EXPECT_EQ(w.MainMenu_Faster->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));
    EXPECT_EQ(captions(w.Menu_File), QStringList({"&New Folder", "&Delete", "&Rename", "-", "E&xit"}));
    EXPECT_EQ(captions(w.Menu_OperationGroup),
              QStringList({"&Download selected files from PC to Player",
                           "&Upload selected files from Player to PC", "-",
                           "&Import new recordings", "Import new recordings when the player is a&ttached", "-",
                           "&Remove selected file(s) from Player", "Remove &all files from Player", "-",
                           "&Format", "Format all &memories", "-",
                           "&Cancel selected/checked operation(s) in queue", "Cancel all &operations"}));
    EXPECT_EQ(captions(w.Explorer1), QStringList({"&Big icons", "&Small icons", "&List", "&Details"}));
    EXPECT_TRUE(w.MainMenu_ReportView->isChecked());
    EXPECT_EQ(captions(w.Menu_Help), QStringList({"Wendaro Homepage", "&About..."}));
    EXPECT_EQ(captions(w.PopupMenu_Remove),
              QStringList({"&Play", "-", "&Upload selected files in Player to PC", "Upload &all files in Player to PC", "-",
                           "&Remove selected files in Player", "Remove a&ll files", "-", "&Format",
                           "Format all &memories", "-", "&View"}));
    EXPECT_EQ(captions(w.PopupMenu_View), QStringList({"&Name", "S&torage", "&Size", "&Date", "&Attributes"}));
    for (const QAction *a : w.PopupMenu_View->actions())
        EXPECT_FALSE(a->isEnabled());
    EXPECT_EQ(captions(w.PopupMenu_CopyList),
              QStringList({"&Cancel selected/checked operation(s) in queue", "Cancel &all operations"}));
}

TEST_F(LayoutTest, PlayerPagesCarryTagsColumnsAndLabels)
{
    EXPECT_EQ(w.TabControl_PlayerFiles->tabPosition(), QTabWidget::East);
    EXPECT_EQ(w.TabControl_PlayerFiles->toolTip(), QStringLiteral("Show all of internal/external files"));
    const QWidget *pages[] = {w.Tab_All, w.Tab_InternalFiles, w.Tab_ExternalFiles};
    const char *tabs[] = {"All", "Internal Memory", "Memory Card"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.TabControl_PlayerFiles->indexOf(const_cast<QWidget *>(pages[i])), i);
        EXPECT_EQ(w.TabControl_PlayerFiles->tabText(i), QString::fromLatin1(tabs[i]));
        EXPECT_EQ(pages[i]->property("Tag").toInt(), i);
    }
    EXPECT_EQ(w.FileList_All->headerItem()->text(1), QStringLiteral("Storage"));
    EXPECT_EQ(w.FileList_All->columnCount(), 3);
    EXPECT_EQ(w.FileList_Internal->columnCount(), 2);
    EXPECT_EQ(w.FileList_External->headerItem()->text(1), QStringLiteral("Size"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("Offline"));
    EXPECT_EQ(w.Label2->text(), QStringLiteral("Unable to Internal Memory"));
    EXPECT_EQ(w.Label_NotExists->text(), QStringLiteral("Unable to External Memory"));
    EXPECT_TRUE(w.Label3->font().bold());
    EXPECT_EQ(w.MemoryUsageLabel_Internal->text(), QStringLiteral("Internal Memory"));
    EXPECT_EQ(w.MemoryUsageLabel_External->text(), QStringLiteral("External Memory"));
    EXPECT_EQ(w.MemoryUsage_Internal->maximum(), 100);
    EXPECT_EQ(w.Panel_MemoryUsage->height(), 69);
}

TEST_F(LayoutTest, TransferButtonsSitOnTheSplitterBarAndFollowIt)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto barLeft = [&] { return w.Splitter_Panes->x() + w.Splitter_TovixAndExplorer->x(); };
    EXPECT_EQ(w.Splitter_TovixAndExplorer->width(), 34);
    EXPECT_EQ(w.Button_Download->x(), barLeft() + 5);

    // Drag the bar 60 pixels to the left, as a user would.
    QSplitterHandle *handle = w.Splitter_TovixAndExplorer;
    const QPoint start(17, 200);
    auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        QMouseEvent e(type, local, handle->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &e);
    };
    const int before = barLeft();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start - QPoint(60, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start - QPoint(60, 0), Qt::NoButton);
    EXPECT_EQ(barLeft(), before - 60);
    EXPECT_EQ(w.Button_Download->x(), barLeft() + 5);
    EXPECT_EQ(w.Button_Upload->x(), barLeft() + 5);

    w.resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Button_Upload->x(), barLeft() + 5);
}

TEST_F(LayoutTest, PlayerPaneKeepsItsWidthWhenTheWindowIsResized)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int player = w.Panel_FileListInMemory->width();
    const int pc = w.Panel_Explorer->width();
    EXPECT_EQ(player, 212);
    w.resize(w.width() + 200, w.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(w.Panel_FileListInMemory->width(), player);
    EXPECT_EQ(w.Panel_Explorer->width(), pc + 200);
}
