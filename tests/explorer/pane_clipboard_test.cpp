// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Copy, cut and paste in the file list and the folder tree, the boxes a copy
// shows, its progress window, and the two context menus.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "explorer/transfer_progress.h"
#include "fileops/file_clipboard.h"
#include "scripted_prompts.h"

#include "explorer_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The commands of the context menu that open() shows; the one named trigger is chosen.
QStringList menuCommands(const std::function<void()> &open, const QString &trigger = {})
{
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            texts << action->text() + (action->isEnabled() ? "" : " (off)");
            if (action->text() == trigger)
                chosen = action;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    open();
    return texts;
}

class PaneClipboardTest : public ExplorerTest {
protected:
    PaneClipboardTest()
    {
        touch("a.mp3", "a");
        touch("b.mp3", "b");
        makeDir("Inbox");
        makeDir("Out");
        tree.setFolderView(&view);
        view.setCurrentDirectory(scratch.path());
        EXPECT_TRUE(view.waitUntilLoaded(5000));
    }
    int itemOf(const QString &caption) const
    {
        for (int i = 0; i < view.itemCount(); ++i)
            if (view.itemCaption(i) == caption)
                return i;
        return -1;
    }
    void select(const QStringList &captions)
    {
        for (int i = 0; i < view.itemCount(); ++i)
            view.setItemSelected(i, captions.contains(view.itemCaption(i)));
    }
    static const QMimeData *clipboard() { return QGuiApplication::clipboard()->mimeData(); }
    bool settle() { return view.fileOperations()->waitUntilIdle(10000); }

    ScriptedPrompts prompts;
    FolderView view;
    FolderTree tree;
};

TEST_F(PaneClipboardTest, CtrlCAndCtrlXPutTheSelectionOnTheClipboardForFileManagers)
{
    select({"a.mp3", "Inbox"});
    QTest::keyClick(view.currentView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard()->urls(), QList<QUrl>({QUrl::fromLocalFile(path("Inbox")), QUrl::fromLocalFile(path("a.mp3"))}));
    EXPECT_TRUE(clipboard()->data(kGnomeFilesMimeType).startsWith("copy\nfile://"));
    QTest::keyClick(view.currentView(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(clipboard()->data(kGnomeFilesMimeType).startsWith("cut\nfile://"));
    EXPECT_EQ(clipboard()->data(kKdeCutMimeType), "1");

    ASSERT_TRUE(tree.selectPath(path("Out")));
    QTest::keyClick(&tree, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(readFileClipboard(clipboard()).paths, QStringList{path("Out")});
    EXPECT_FALSE(readFileClipboard(clipboard()).cut);
    EXPECT_TRUE(prompts.records.empty());
}

// Clipboard paths are text: a name that is not UTF-8 would come back as its
// look-alike, and a paste would move that one. It stays off, and is named.
TEST_F(PaneClipboardTest, ANameTheEncodingCannotSpellStaysOffTheClipboardAndIsNamed)
{
    const QString shown = QString::fromUtf8("caf\uFFFD.mp3");
    const std::string latin = QFile::encodeName(scratch.path()).toStdString() + "/caf\xe9.mp3";
    std::ofstream(latin) << "latin";
    touch(shown, "twin"); // a UTF-8 name that shows alike
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    select({"a.mp3", shown});

    EXPECT_TRUE(view.cutSelected());
    EXPECT_EQ(readFileClipboard(clipboard()).paths, QStringList({path("a.mp3"), path(shown)}));
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.endsWith(":\n" + shown)) << prompts.records[0].text.toStdString();
    ::unlink(latin.c_str()); // a name Qt's own clean-up cannot spell
}

TEST_F(PaneClipboardTest, APasteCopiesIntoTheShownFolderOrTheTreesAndACutPasteMovesAndIsUsedUp)
{
    // As another program would leave it: a bare list.
    auto *other = new QMimeData;
    other->setData("text/uri-list", QUrl::fromLocalFile(path("a.mp3")).toEncoded() + "\r\n");
    QGuiApplication::clipboard()->setMimeData(other);
    ASSERT_TRUE(tree.selectPath(path("Out")));
    QTest::keyClick(&tree, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(settle());
    EXPECT_EQ(contents(path("Out/a.mp3")), "a");
    EXPECT_EQ(contents(path("a.mp3")), "a");
    EXPECT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(view.currentDirectory(), path("Out")) << "the tree's node is the list's folder";

    auto *cut = new QMimeData;
    cut->setData(kGnomeFilesMimeType, "cut\n" + QUrl::fromLocalFile(path("b.mp3")).toEncoded());
    QGuiApplication::clipboard()->setMimeData(cut);
    QTest::keyClick(view.currentView(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(settle());
    EXPECT_EQ(contents(path("Out/b.mp3")), "b");
    EXPECT_FALSE(QFileInfo::exists(path("b.mp3")));
    EXPECT_TRUE(readFileClipboard(clipboard()).paths.isEmpty()) << "the cut is used up";

    // A copy beside its original is a second one, without a question.
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({path("Out/a.mp3")}, false));
    EXPECT_TRUE(view.paste());
    ASSERT_TRUE(settle());
    EXPECT_EQ(contents(path("Out/a (2).mp3")), "a");
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(PaneClipboardTest, ATakenNameIsAskedAboutAndErrorsAreShownByTheWindow)
{
    touch("Out/a.mp3", "old");
    touch("Out/b.mp3", "old");
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({path("a.mp3"), path("b.mp3")}, false));
    prompts.answers = {PromptAnswer::Replace, PromptAnswer::KeepBoth};
    view.setCurrentDirectory(path("Out"));
    ASSERT_TRUE(view.paste());
    ASSERT_TRUE(settle());
    ASSERT_EQ(prompts.records.size(), 2u);
    EXPECT_EQ(prompts.records[0].buttons, PromptButtons::ReplaceSkipKeepBoth);
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.records[0].owner, view.window());
    EXPECT_EQ(prompts.records[0].text, QString("A file named \"a.mp3\" already exists in \"%1\".\n"
                                               "Replace it, skip this one, or keep both?").arg(path("Out")));
    EXPECT_EQ(contents(path("Out/a.mp3")), "a");
    EXPECT_EQ(contents(path("Out/b.mp3")), "old");
    EXPECT_EQ(contents(path("Out/b (2).mp3")), "b");

    prompts.records.clear();
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({scratch.path()}, true));
    ASSERT_TRUE(view.paste());
    ASSERT_TRUE(settle());
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.records[0].text, QString("Cannot move the folder \"%1\" into itself.").arg(scratch.path()));
    EXPECT_FALSE(readFileClipboard(clipboard()).paths.isEmpty()) << "a failed cut stays on the clipboard";
}

TEST_F(PaneClipboardTest, ALongCopyShowsItsProgressAfterAMomentAndCanBeCancelled)
{
    touch("Out/a.mp3", "old");
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({path("b.mp3"), path("a.mp3")}, false));
    bool shownEarly = true;
    bool shownLater = false;
    // The question holds the copy for as long as the box is up.
    prompts.onPrompt = [&] {
        QElapsedTimer clock;
        clock.start();
        auto *dialog = view.window()->findChild<TransferProgressDialog *>();
        ASSERT_NE(dialog, nullptr);
        QTest::qWait(200);
        shownEarly = dialog->isVisible();
        while (!dialog->isVisible() && clock.elapsed() < 3000)
            QTest::qWait(20);
        shownLater = dialog->isVisible();
        EXPECT_GE(clock.elapsed(), TransferProgressDialog::kShowAfterMs - 100);
        EXPECT_EQ(dialog->windowTitle(), "Copying files");
        EXPECT_EQ(dialog->label()->textFormat(), Qt::PlainText) << "it shows a file's name";
        dialog->cancelButton()->click();
    };
    prompts.answers = {PromptAnswer::Replace};
    view.setCurrentDirectory(path("Out"));
    ASSERT_TRUE(view.paste());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(shownEarly);
    EXPECT_TRUE(shownLater);
    EXPECT_FALSE(view.window()->findChild<TransferProgressDialog *>()->isVisible());
    EXPECT_EQ(contents(path("Out/a.mp3")), "old");
    EXPECT_FALSE(QFileInfo::exists(path("Out/b.mp3"))) << "the first file of the cancelled paste went again";
}

TEST_F(PaneClipboardTest, BothContextMenusOfferTheFileCommands)
{
    const QStringList onItem = {"&Open", "Cu&t", "&Copy", "&Paste (off)", "&Rename", "&Delete",
                                "&New Folder", "Re&fresh"};
    QGuiApplication::clipboard()->clear();
    QAbstractItemView *list = view.currentView();
    view.resize(400, 300);
    view.show();
    const QRect first = list->visualRect(view.currentView()->model()->index(itemOf("Inbox"), 0));
    EXPECT_EQ(menuCommands([&] { emit list->customContextMenuRequested(first.center()); }), onItem);
    EXPECT_EQ(menuCommands([&] { emit list->customContextMenuRequested(QPoint(390, 290)); }),
              QStringList({"&Paste (off)", "&New Folder", "Re&fresh"}));

    tree.resize(300, 400);
    tree.show();
    ASSERT_TRUE(tree.selectPath(path("Inbox")));
    QSignalSpy deletes(&tree, &FolderTree::deleteRequested);
    // Rows above it may still arrive and move it down.
    const auto node = [this] { return tree.visualRect(tree.currentIndex()).center(); };
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({path("a.mp3")}, false));
    QStringList treeMenu = menuCommands([&] { emit tree.customContextMenuRequested(node()); }, "&Delete");
    EXPECT_EQ(treeMenu.join(','), QStringList(onItem).replaceInStrings(" (off)", "").join(','));
    EXPECT_EQ(deletes.count(), 1) << "the tree's owner asks before it deletes";
    EXPECT_TRUE(QFileInfo(path("Inbox")).isDir());

    ASSERT_EQ(tree.selectedNodePath(), path("Inbox"));
    menuCommands([&] { emit tree.customContextMenuRequested(node()); }, "&Paste");
    ASSERT_TRUE(settle());
    EXPECT_EQ(contents(path("Inbox/a.mp3")), "a");
}

} // namespace
