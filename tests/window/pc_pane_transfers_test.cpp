// The PC pane's copies inside the window: the tree's Delete asks as the window
// does, and a copy's boxes belong to the window.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "fileops/file_clipboard.h"
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class PcPaneTransfers : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", trash.path().toUtf8());
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

    QTemporaryDir dir;
    QTemporaryDir trash;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TovixMan> w;
};

TEST_F(PcPaneTransfers, TheTreesDeleteAsksFirstAndNeverGoesOnToTheParent)
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

TEST_F(PcPaneTransfers, ACopysErrorIsAWindowsBoxThatNamesTheFile)
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

} // namespace
