// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_tree.h"
#include "explorer/folder_tree_model.h"
#include "explorer/folder_view.h"

#include "explorer_fixture.h"

#include <QSignalSpy>
#include <QTest>

#include <fstream>
#include <string>

namespace {

// The folder watches this process holds, as the kernel counts them.
int inotifyWatches()
{
    int watches = 0;
    for (const QString &fd : QDir("/proc/self/fd").entryList(QDir::System | QDir::Files)) {
        if (QFileInfo("/proc/self/fd/" + fd).symLinkTarget().endsWith("anon_inode:inotify")) {
            std::ifstream info("/proc/self/fdinfo/" + fd.toStdString());
            for (std::string line; std::getline(info, line);)
                watches += line.rfind("inotify wd:", 0) == 0;
        }
    }
    return watches;
}

class FolderTreeTest : public ExplorerTest {
protected:
    FolderTreeModel *model() const { return qobject_cast<FolderTreeModel *>(tree.model()); }
    // The tree's model lists in the background; wait until folder is in.
    QStringList childrenOf(const QString &folder)
    {
        const QModelIndex parent = model()->index(folder);
        if (model()->canFetchMore(parent))
            model()->fetchMore(parent);
        QStringList names;
        for (int tries = 0; tries < 100; ++tries) {
            QTest::qWait(20);
            names.clear();
            for (int row = 0; row < model()->rowCount(parent); ++row)
                names << model()->fileName(model()->index(row, 0, parent));
            if (!names.isEmpty())
                break;
        }
        names.sort();
        return names;
    }
    FolderTree tree;
};

TEST_F(FolderTreeTest, StartsAtTheRootWithHomeOpenAndSelected)
{
    ASSERT_NE(model(), nullptr);
    EXPECT_EQ(tree.selectedNodePath(), QDir::homePath());
    EXPECT_TRUE(tree.hasSelectedNode());
    EXPECT_TRUE(tree.isExpanded(tree.currentIndex()));
    const QModelIndex top = model()->index(0, 0, tree.rootIndex());
    EXPECT_EQ(model()->filePath(top), QDir::rootPath());
    EXPECT_TRUE(tree.isHeaderHidden());
}

// A long session never runs into the user's limit of watches: a closed node
// and a folder moved away let theirs go.
TEST_F(FolderTreeTest, OnlyFoldersOpenInTheTreeStayWatched)
{
    makeDir("a/b/c");
    makeDir("d/e");
    makeDir("elsewhere");
    tree.show();
    const auto open = [&](const QString &name) {
        const QModelIndex node = model()->index(path(name));
        tree.expand(node);
        return QTest::qWaitFor([&] { return model()->rowCount(node) > 0; }, 5000);
    };
    ASSERT_TRUE(open(QString()));
    const auto watchesBecome = [](int count) { return QTest::qWaitFor([&] { return inotifyWatches() == count; }, 5000); };
    const int before = inotifyWatches();
    ASSERT_TRUE(open("a") && open("a/b") && watchesBecome(before + 2));
    tree.collapse(model()->index(path("a")));
    EXPECT_TRUE(watchesBecome(before));
    ASSERT_TRUE(open("a"));
    EXPECT_EQ(childrenOf(path("a/b")), QStringList{"c"}) << "read again when opened";
    ASSERT_TRUE(open("d"));
    const int withD = inotifyWatches();
    ASSERT_TRUE(QDir().rename(path("d"), path("elsewhere/d")));
    EXPECT_TRUE(watchesBecome(withD - 1));
}

TEST_F(FolderTreeTest, ShowsFoldersOnlyHiddenOnesIncluded)
{
    makeDir("sub");
    makeDir(".secret");
    touch("file.txt");
    EXPECT_EQ(childrenOf(scratch.path()), QStringList({".secret", "sub"}));
    EXPECT_FALSE(tree.selectPath(path("file.txt")));
    EXPECT_EQ(tree.selectedNodePath(), QDir::homePath());
}

TEST_F(FolderTreeTest, TreeAndListShowTheSameFolder)
{
    makeDir("one");
    makeDir("two/deep");
    FolderView view;
    tree.setFolderView(&view);
    EXPECT_EQ(tree.selectedNodePath(), view.currentDirectory());

    QSignalSpy listed(&view, &FolderView::folderListed);
    ASSERT_TRUE(tree.selectPath(path("one")));
    EXPECT_EQ(view.currentDirectory(), path("one"));
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    view.setCurrentDirectory(path("two/deep"));
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(tree.selectedNodePath(), path("two/deep"));
    EXPECT_TRUE(tree.isExpanded(model()->index(path("two"))));
    EXPECT_EQ(listed.count(), 2) << "each folder listed once";
}

TEST_F(FolderTreeTest, RenamingTheShownFolderKeepsTheListOnIt)
{
    makeDir("old/inner");
    FolderView view;
    tree.setFolderView(&view);
    ASSERT_TRUE(tree.selectPath(path("old")));
    EXPECT_EQ(view.currentDirectory(), path("old"));
    ASSERT_TRUE(tree.renameSelected());
    EXPECT_TRUE(tree.isEditing());
    QLineEdit *editor = editorOf(&tree);
    ASSERT_NE(editor, nullptr);
    editor->setText("new");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    EXPECT_TRUE(QFileInfo(path("new/inner")).isDir());
    QTest::qWait(300); // the model notices the change on disk and rebuilds the node
    EXPECT_EQ(view.currentDirectory(), path("new"));
    EXPECT_EQ(tree.selectedNodePath(), path("new"));
    EXPECT_EQ(view.itemCaption(0), "inner");
}

TEST_F(FolderTreeTest, DeleteTrashesTheNodesFolderAndShowsItsParent)
{
    makeDir("doomed/child");
    FolderView view;
    tree.setFolderView(&view);
    ASSERT_TRUE(tree.selectPath(path("doomed")));
    ASSERT_TRUE(tree.renameSelected());
    EXPECT_FALSE(tree.deleteSelected()) << "a name is being edited";
    QTest::keyClick(editorOf(&tree), Qt::Key_Escape);

    EXPECT_TRUE(tree.deleteSelected());
    EXPECT_FALSE(QFile::exists(path("doomed")));
    EXPECT_TRUE(QFileInfo(trashed("doomed/child")).isDir());
    // The parent is shown, but not chosen for a further delete.
    EXPECT_FALSE(tree.hasSelectedNode());
    EXPECT_FALSE(tree.deleteSelected());
    EXPECT_EQ(view.currentDirectory(), scratch.path());

    ASSERT_TRUE(tree.selectPath(QDir::rootPath()));
    EXPECT_FALSE(tree.deleteSelected());
}

TEST_F(FolderTreeTest, KeysAreReportedAndStillHandledByTheTree)
{
    makeDir("a");
    ASSERT_TRUE(tree.selectPath(path("a")));
    ASSERT_TRUE(tree.selectPath(scratch.path()));
    ASSERT_TRUE(tree.isExpanded(tree.currentIndex()));
    QSignalSpy keys(&tree, &FolderTree::keyDown);
    QTest::keyClick(&tree, Qt::Key_F2);
    QTest::keyClick(&tree, Qt::Key_Left);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys.at(0).at(0).toInt(), int(Qt::Key_F2));
    EXPECT_EQ(keys.at(1).at(0).toInt(), int(Qt::Key_Left));
    EXPECT_FALSE(tree.isEditing()) << "F2 is the window's to act on";
    EXPECT_FALSE(tree.isExpanded(tree.currentIndex())) << "the tree folded the node itself";
}

} // namespace
