// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_view.h"

#include "explorer_fixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace {

QStringList captions(const FolderView &view)
{
    QStringList list;
    for (int i = 0; i < view.itemCount(); ++i)
        list << view.itemCaption(i);
    return list;
}

class FolderViewTest : public ExplorerTest {};

TEST_F(FolderViewTest, ListsFoldersThenFilesByNameWithHiddenOnesAndExtensions)
{
    // Made in an order unlike the sorted one, so the listing must sort.
    for (const char *name : {"zeta.wav", "b.txt", ".hidden", "A.MP3", "m"})
        touch(name);
    makeDir("zdir");
    makeDir("Adir");
    makeDir(".config");

    FolderView view;
    view.setCurrentDirectory(scratch.path());
    EXPECT_EQ(view.currentDirectory(), scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(captions(view), QStringList({".config", "Adir", "zdir", ".hidden", "A.MP3",
                                           "b.txt", "m", "zeta.wav"}));
    for (int i = 0; i < view.itemCount(); ++i) {
        EXPECT_EQ(view.isItemFolder(i), i < 3) << i;
        EXPECT_EQ(view.itemPath(i), scratch.path() + "/" + view.itemCaption(i));
    }
    EXPECT_FALSE(view.isItemFolder(99));
    EXPECT_TRUE(view.itemCaption(99).isEmpty());
}

TEST_F(FolderViewTest, NamesOrderWithoutRegardToCaseAndNumbersByValue)
{
    for (const char *name : {"Track 10.mp3", "take 9.mp3", "track 2.mp3", "Take 100.mp3", "a01b"})
        touch(name);
    FolderView view;
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(captions(view), QStringList({"a01b", "take 9.mp3", "Take 100.mp3", "track 2.mp3",
                                           "Track 10.mp3"}));
}

TEST_F(FolderViewTest, TheDetailsHeaderSortsBySizeAndBackByName)
{
    touch("big.bin", QByteArray(3000, 'x'));
    touch("small.bin", "x");
    touch("middle.bin", QByteArray(200, 'x'));
    makeDir("dir");
    FolderView view;
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    view.setItemSelected(1, true); // big.bin
    auto *details = qobject_cast<QTreeView *>(view.currentView());
    ASSERT_NE(details, nullptr);
    details->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(captions(view), QStringList({"big.bin", "middle.bin", "small.bin", "dir"}));
    EXPECT_TRUE(view.isItemSelected(0)) << "the selection follows its item";
    details->sortByColumn(0, Qt::AscendingOrder);
    EXPECT_EQ(captions(view), QStringList({"dir", "big.bin", "middle.bin", "small.bin"}));
    EXPECT_TRUE(view.isItemSelected(1));
}

TEST_F(FolderViewTest, ListingAgainReadsTheDiskAgainUnderTheHourglass)
{
    touch("one");
    FolderView view;
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    ASSERT_EQ(view.itemCount(), 1);

    int waitCursors = 0;
    QSignalSpy listed(&view, &FolderView::folderListed);
    QObject::connect(&view, &FolderView::folderListed, [&] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        waitCursors += cursor && cursor->shape() == Qt::WaitCursor;
    });
    touch("two");
    QFile::remove(path("one"));
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(captions(view), QStringList{"two"});
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(listed.count(), 2);
    EXPECT_EQ(waitCursors, 2);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    view.setCurrentDirectory(scratch.path()); // the folder already shown
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(listed.count(), 2);
}

TEST_F(FolderViewTest, EmptyAndMissingFolders)
{
    makeDir("empty/inner");
    FolderView view;
    QSignalSpy changed(&view, &FolderView::currentDirectoryChanged);
    view.setCurrentDirectory(path("empty/inner"));
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_TRUE(view.isLoaded());
    EXPECT_EQ(view.itemCount(), 0);
    EXPECT_FALSE(view.hasSelectedItem());

    view.setCurrentDirectory(path("empty/gone/deeper"));
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(view.currentDirectory(), path("empty"));
    EXPECT_EQ(captions(view), QStringList{"inner"});
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toString(), path("empty"));
}

TEST_F(FolderViewTest, FourViewStylesStartingInDetailsSortedByName)
{
    FolderView view;
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_EQ(view.viewStyle(), 3);
    auto *details = qobject_cast<QTreeView *>(view.currentView());
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(details->isSortingEnabled());
    EXPECT_EQ(details->header()->sortIndicatorSection(), 0);
    EXPECT_EQ(details->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(details->selectionMode(), QAbstractItemView::ExtendedSelection);

    QSignalSpy listed(&view, &FolderView::folderListed);
    view.setViewStyle(0);
    auto *list = qobject_cast<QListView *>(view.currentView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    const QSize big = list->iconSize();
    view.setViewStyle(1);
    EXPECT_EQ(view.viewStyle(), 1);
    EXPECT_EQ(list->viewMode(), QListView::ListMode);
    EXPECT_EQ(list->flow(), QListView::LeftToRight);
    EXPECT_LT(list->iconSize().width(), big.width());
    view.setViewStyle(2);
    EXPECT_EQ(list->flow(), QListView::TopToBottom);
    EXPECT_TRUE(list->isWrapping());
    EXPECT_EQ(view.currentView(), list);
    for (int other : {4, -1})
        view.setViewStyle(other);
    EXPECT_EQ(view.viewStyle(), 2);
    view.setViewStyle(3);
    EXPECT_EQ(view.currentView(), details);
    EXPECT_EQ(listed.count(), 0);
    EXPECT_FALSE(details->model()->data(details->model()->index(0, 0, details->rootIndex()),
                                        Qt::ToolTipRole)
                     .toString()
                     .isEmpty());
}

TEST_F(FolderViewTest, SelectionIsSharedByTheStylesAndKeptWhenListedAgain)
{
    for (const char *name : {"a", "b", "c"})
        touch(name);
    FolderView view;
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_FALSE(view.hasSelectedItem());
    view.setItemSelected(1, true);
    EXPECT_TRUE(view.hasSelectedItem());
    EXPECT_FALSE(view.isItemSelected(0));
    EXPECT_TRUE(view.isItemSelected(1));

    view.setViewStyle(0);
    EXPECT_TRUE(view.currentView()->selectionModel()->isSelected(
        view.currentView()->model()->index(1, 0, view.currentView()->rootIndex())));
    view.selectAll();
    view.setItemSelected(2, false);
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_TRUE(view.isItemSelected(0));
    EXPECT_TRUE(view.isItemSelected(1));
    EXPECT_FALSE(view.isItemSelected(2));
    view.setItemSelected(0, false);
    view.setItemSelected(1, false);
    EXPECT_FALSE(view.hasSelectedItem());
}

TEST_F(FolderViewTest, OpeningAFolderItemShowsIt)
{
    makeDir("inside/deeper");
    FolderView view;
    view.setCurrentDirectory(path("inside"));
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    QSignalSpy changed(&view, &FolderView::currentDirectoryChanged);
    QAbstractItemView *list = view.currentView();
    list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(view.currentDirectory(), path("inside/deeper"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FolderViewTest, KeysAreReportedAndStillHandledByTheList)
{
    for (const char *name : {"a", "b"})
        touch(name);
    FolderView view;
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    QSignalSpy keys(&view, &FolderView::keyDown);
    QAbstractItemView *list = view.currentView();
    list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_F5);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys.at(0).at(0).toInt(), int(Qt::Key_Down));
    EXPECT_EQ(keys.at(1).at(0).toInt(), int(Qt::Key_F5));
    EXPECT_EQ(list->currentIndex().row(), 1);
}

TEST_F(FolderViewTest, FocusWithinFollowsTheWindowsFocus)
{
    QWidget window;
    auto *view = new FolderView(&window);
    auto *other = new QLineEdit(&window);
    window.show();
    view->setFocus();
    EXPECT_TRUE(view->hasFocusWithin());
    other->setFocus();
    EXPECT_FALSE(view->hasFocusWithin());
    view->setViewStyle(2);
    view->currentView()->setFocus();
    EXPECT_TRUE(view->hasFocusWithin());
}

} // namespace
