// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a screen reader finds in the window: every control has a name or a
// description, the names are stable, and Tab walks the panes in order.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "target_select_unit.h"

#include <QAccessible>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::ProgressBar:
    case QAccessible::ToolBar:
    case QAccessible::PageTabList:
    case QAccessible::StatusBar:
    case QAccessible::StaticText:
    case QAccessible::EditableText:
        return true;
    default:
        return false;
    }
}

// Widgets only: the rows and cells of a list are named by their own texts.
void collectUnnamed(QAccessibleInterface *node, QStringList &unnamed, QStringList &names, int depth = 0)
{
    if (!node || depth > 20 || !qobject_cast<QWidget *>(node->object()))
        return;
    const QString name = node->text(QAccessible::Name);
    if (isControl(node->role()) && name.isEmpty() && node->text(QAccessible::Description).isEmpty())
        unnamed << QString::fromLatin1(node->object()->metaObject()->className());
    names << name;
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed, names, depth + 1);
}

class AccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form_TargetSelection = target.get();
        w->FolderView->setCurrentDirectory(pc.path());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    void TearDown() override { Form_TargetSelection = nullptr; }

    QTemporaryDir pc;
    QTemporaryDir settings;
    std::unique_ptr<TForm_TargetSelection> target = std::make_unique<TForm_TargetSelection>();
    std::unique_ptr<TForm_TovixMan> w =
        std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
};

} // namespace

TEST_F(AccessibilityTest, EveryControlHasANameOrADescription)
{
    for (QTreeWidget *list : {w->FileList_All, w->FileList_Internal, w->FileList_External})
        list->show();
    w->Panel_CopyProgress->show();
    QStringList unnamed, names;
    collectUnnamed(QAccessible::queryAccessibleInterface(w.get()), unnamed, names);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral(", ")).toStdString();
    for (const char *name : {"PC folders", "PC files", "All player files", "Internal memory files",
                             "Memory card files", "Operation queue", "Internal memory usage",
                             "Memory card usage", "Download to Player", "Upload from Player",
                             "Player tool bar", "PC tool bar", "Play or pause", "Stop",
                             "Back 5 seconds", "Forward 5 seconds", "Slower", "Faster", "Speed",
                             "Recording", "Position", "Position and length", "Loudness overview"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
}

TEST_F(AccessibilityTest, TabWalksFromThePcPaneToThePlayerAndTheQueue)
{
    for (QTreeWidget *list : {w->FileList_All, w->FileList_Internal, w->FileList_External})
        list->show();
    w->Panel_CopyProgress->show();
    w->Button_Download->setEnabled(true);
    w->Button_Upload->setEnabled(true);
    w->TabControl_PlayerFiles->setEnabled(true);
    // The order of first appearance in the focus chain, starting at the folder tree.
    QList<QWidget *> chain;
    QWidget *at = w->FolderTree;
    for (int i = 0; i < 500 && (i == 0 || at != w->FolderTree); ++i, at = at->nextInFocusChain())
        chain << at;
    const auto position = [&](QWidget *widget) {
        for (int i = 0; i < chain.size(); ++i)
            if (chain[i] == widget || (widget->focusProxy() && chain[i] == widget->focusProxy()))
                return i;
        return -1;
    };
    const QWidget *previous = nullptr;
    int last = -1;
    const QList<QWidget *> order = {w->FolderTree,     w->FolderView,
                                    w->Button_Download, w->Button_Upload,
                                    w->TabControl_PlayerFiles, w->FileList_All,
                                    w->CheckList_CopyProgress};
    for (QWidget *next : order) {
        const int at = position(next);
        EXPECT_GT(at, last) << next->accessibleName().toStdString() << " after "
                            << (previous ? previous->accessibleName().toStdString() : "");
        last = at;
        previous = next;
    }
}
