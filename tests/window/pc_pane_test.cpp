// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The PC pane's commands and keys as the window gives them, and the Help menu.
#include "about_unit.h"
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "explorer/transfer_progress.h"
#include "fileops/file_clipboard.h"
#include "fileops/file_copier.h"
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class PcPaneTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir trash;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TovixMan> w;

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", trash.path().toUtf8());
        QFile f(dir.filePath(QStringLiteral("song.mp3")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        w = std::make_unique<TForm_TovixMan>(dir.filePath(QStringLiteral("settings.ini")));
        w->FolderView->setCurrentDirectory(dir.path());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    }

    // Opens the tree's context menu on its selected node and chooses command.
    void treeCommand(const QString &command)
    {
        QTimer::singleShot(0, [command] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction *chosen = nullptr;
            for (QAction *action : menu->actions())
                if (action->text() == command)
                    chosen = action;
            menu->close();
            ASSERT_NE(chosen, nullptr);
            chosen->trigger();
        });
        FolderTree *tree = w->FolderTree;
        emit tree->customContextMenuRequested(tree->visualRect(tree->currentIndex()).center());
    }

    int indexOf(const QString &caption)
    {
        for (int i = 0; i < w->FolderView->itemCount(); ++i)
            if (w->FolderView->itemCaption(i) == caption)
                return i;
        return -1;
    }
};

} // namespace

TEST_F(PcPaneTest, ViewCommandsSetTheStyleAndCheckOneMenuItem)
{
    const std::pair<void (TForm_TovixMan::*)(), QAction *> commands[] = {
        {&TForm_TovixMan::Button_BigIconClick, w->MainMenu_BigIcon},
        {&TForm_TovixMan::Button_SmallIconClick, w->MainMenu_SmallIcon},
        {&TForm_TovixMan::Button_ListViewClick, w->MainMenu_ListView},
        {&TForm_TovixMan::Button_ReportViewClick, w->MainMenu_ReportView}};
    for (int style = 0; style < 4; ++style) {
        (w.get()->*commands[style].first)();
        EXPECT_EQ(w->FolderView->viewStyle(), style);
        for (int other = 0; other < 4; ++other)
            EXPECT_EQ(commands[other].second->isChecked(), other == style);
    }
}

TEST_F(PcPaneTest, OnlyTheListStyleListsTheFolderAgain)
{
    QSignalSpy listed(w->FolderView, &FolderView::folderListed);
    w->Button_ListViewClick();
    w->Button_ListViewClick();
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    EXPECT_EQ(listed.count(), 2);
    w->Button_BigIconClick();
    w->Button_SmallIconClick();
    w->Button_ReportViewClick();
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    EXPECT_EQ(listed.count(), 2);
    w->MainMenu_ListView->trigger();
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    EXPECT_EQ(listed.count(), 3);
}

TEST_F(PcPaneTest, RefreshAndF5ReadTheFolderAgain)
{
    QFile f(dir.filePath(QStringLiteral("late.wav")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    w->FolderViewKeyDown(Qt::Key_F5);
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    EXPECT_GE(indexOf(QStringLiteral("late.wav")), 0);
    QFile::remove(dir.filePath(QStringLiteral("late.wav")));
    w->ToolButton4Click();
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    EXPECT_EQ(indexOf(QStringLiteral("late.wav")), -1);
}

TEST_F(PcPaneTest, NewFolderCountsUpPastTakenNames)
{
    QDir(dir.path()).mkdir(QStringLiteral("New Folder"));
    QDir(dir.path()).mkdir(QStringLiteral("New Folder (2)"));
    w->NewFolder1Click();
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("New Folder (3)"))).exists());
}

TEST_F(PcPaneTest, DeleteActsOnlyOnTheFocusedPcWidget)
{
    w->FolderView->refreshFolder();
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    const int song = indexOf(QStringLiteral("song.mp3"));
    ASSERT_GE(song, 0);
    w->FolderView->setItemSelected(song, true);

    w->FileList_All->show();
    w->FileList_All->setFocus();
    QCoreApplication::processEvents();
    w->Delete1Click();
    w->Rename1Click();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("song.mp3"))));

    w->FolderView->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->FolderView->hasFocusWithin());
    w->FolderViewKeyDown(Qt::Key_Delete);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("song.mp3"))));
}

TEST_F(PcPaneTest, DeletingATreeFolderAsksAndNeverGoesOnToItsParent)
{
    const QString parent = dir.filePath(QStringLiteral("parent"));
    const QString child = parent + QStringLiteral("/child");
    ASSERT_TRUE(QDir().mkpath(child));
    ASSERT_TRUE(w->FolderTree->selectPath(child));
    w->FolderTree->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->FolderTree->hasSelectedNode());

    w->FolderTreeKeyDown(Qt::Key_Delete); // answered No
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].owner, w.get());
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("\"%1\"").arg(child)));
    EXPECT_TRUE(QDir(child).exists());

    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    w->FolderTreeKeyDown(Qt::Key_Delete);
    EXPECT_FALSE(QDir(child).exists());
    // A second press, as a held key gives, finds nothing chosen.
    w->FolderTreeKeyDown(Qt::Key_Delete);
    w->FolderTreeKeyDown(Qt::Key_Delete);
    EXPECT_TRUE(QDir(parent).exists());
    EXPECT_EQ(prompts.records.size(), 2u);
}

TEST_F(PcPaneTest, AboutIsShownThroughThePrompts)
{
    TForm_About about;
    Form_About = &about;
    w->Menu_AboutClick();
    Form_About = nullptr;
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].dialogTitle, QStringLiteral("About..."));
}

TEST_F(PcPaneTest, TheTreesDeleteAsksFirstAndNeverGoesOnToTheParent)
{
    const QString parent = dir.filePath(QStringLiteral("parent"));
    const QString child = parent + QStringLiteral("/child");
    ASSERT_TRUE(QDir().mkpath(child));
    ASSERT_TRUE(w->FolderTree->selectPath(child));

    treeCommand(QStringLiteral("&Delete")); // answered No
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].owner, w.get());
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("\"%1\"").arg(child)));
    EXPECT_TRUE(QDir(child).exists());

    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    treeCommand(QStringLiteral("&Delete"));
    EXPECT_FALSE(QDir(child).exists());
    EXPECT_FALSE(w->FolderTree->hasSelectedNode());
    w->FolderTree->setFocus();
    w->FolderTreeKeyDown(Qt::Key_Delete);
    EXPECT_TRUE(QDir(parent).exists());
    EXPECT_EQ(prompts.records.size(), 2u);
}

TEST_F(PcPaneTest, ACopysErrorIsAWindowsBoxThatNamesTheFile)
{
    const QString gone = dir.filePath(QStringLiteral("gone.mp3"));
    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({gone}, false));
    ASSERT_TRUE(w->FolderTree->selectPath(dir.path()));
    w->FolderTree->setFocus();
    QTest::keyClick(w->FolderTree, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(w->FolderView->fileOperations()->waitUntilIdle(5000));
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].owner, w.get());
    EXPECT_EQ(prompts.records[0].title, w->windowTitle());
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.records[0].text,
              QStringLiteral("Cannot copy \"%1\": No such file or directory.").arg(gone));
}

// A format disables the window: a copy's real question and the progress
// window's Cancel still answer, also when the window is disabled again while
// the box is up. Cancel ends the copy waiting behind too, and says so.
TEST_F(PcPaneTest, ACopysQuestionAndCancelAnswerWhileTheWindowIsDisabled)
{
    QTemporaryDir from;
    for (const char *name : {"song.mp3", "b.mp3", "c.mp3"})
        ASSERT_TRUE(QFile(from.filePath(name)).open(QIODevice::WriteOnly));
    PcFileOperations *ops = w->FolderView->fileOperations();
    const auto copy = [&](const char *name) {
        const std::unique_ptr<QMimeData> data(makeFileClipboard({from.filePath(name)}, false));
        ops->drop(data.get(), dir.path(), Qt::CopyAction);
    };
    setPrompts(nullptr); // the real boxes
    bool answerable = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        w->setEnabled(true);
        w->setEnabled(false);
        auto *progress = w->findChild<TransferProgressDialog *>();
        progress->show(); // as after half a second
        answerable = box->isEnabled() && progress->cancelButton()->isEnabled();
        progress->cancelButton()->click();
        box->reject();
    });
    answer.start(10);
    w->setEnabled(false);
    copy("song.mp3"); // asks
    copy("b.mp3");    // waits behind it
    const bool idle = ops->waitUntilIdle(5000);
    setPrompts(&prompts);
    ASSERT_TRUE(idle) << "the waiting copy never ended";
    EXPECT_TRUE(answerable);
    EXPECT_FALSE(w->findChild<TransferProgressDialog *>()->isVisible());
    EXPECT_EQ(w->statusText(3),
              QString("Cancelled before it began: the copy of \"b.mp3\" into \"%1\".").arg(dir.path()));
    copy("c.mp3");
    ASSERT_TRUE(ops->waitUntilIdle(5000));
    EXPECT_FALSE(QFile::exists(dir.filePath("b.mp3")));
    EXPECT_TRUE(QFile::exists(dir.filePath("c.mp3")));
}

// A copy into the folder, answered Replace for report.txt, killed before its
// second file; report.txt edited since. The next paste there keeps the edit
// and says in the status bar where the replaced report came back.
TEST_F(PcPaneTest, APasteNamesWhatACopyCutShortHadKeptAside)
{
    QTemporaryDir from;
    const auto put = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    put(dir.filePath("report.txt"), "old report");
    put(dir.filePath("notes.txt"), "old notes");
    for (const char *name : {"report.txt", "notes.txt", "other.txt"})
        put(from.filePath(name), "new");
    EXPECT_EXIT(
        {
            FileCopier copier;
            copier.askClash = [](const ClashQuestion &q) {
                if (q.name == "notes.txt")
                    std::_Exit(0);
                return ClashChoice::Replace;
            };
            copier.run({FileOperation::Copy, {from.filePath("report.txt"), from.filePath("notes.txt")}, dir.path()});
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    put(dir.filePath("report.txt"), "new, edited");

    QGuiApplication::clipboard()->setMimeData(makeFileClipboard({from.filePath("other.txt")}, false));
    ASSERT_TRUE(w->FolderTree->selectPath(dir.path()));
    w->FolderTree->setFocus();
    QTest::keyClick(w->FolderTree, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(w->FolderView->fileOperations()->waitUntilIdle(5000));
    EXPECT_EQ(w->statusText(3),
              "After a copy cut short: recovered \"report (recovered).txt\" beside files changed since.");
    QFile edited(dir.filePath("report.txt"));
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    EXPECT_EQ(edited.readAll(), "new, edited");
}
