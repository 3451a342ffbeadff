// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Big folders: read on the reader thread and shown in batches while the window
// goes on handling its events; changes arrive one by one.
#include "explorer/folder_reader.h"
#include "explorer/folder_tree.h"
#include "explorer/folder_tree_model.h"
#include "explorer/folder_view.h"

#include "explorer_fixture.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

constexpr int kFiles = 6000;

bool until(const std::function<bool()> &condition, int timeoutMs = 20000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

class FolderListingThreading : public ExplorerTest {
protected:
    // "file 00000.txt" ... in an order unlike the sorted one.
    void makeFiles(int count)
    {
        for (int i = count - 1; i >= 0; --i)
            touch(QStringLiteral("file %1.txt").arg(i, 5, 10, QLatin1Char('0')));
    }
    int indexOf(const QString &caption) const
    {
        for (int i = 0; i < view.itemCount(); ++i)
            if (view.itemCaption(i) == caption)
                return i;
        return -1;
    }
    FolderView view;
};

TEST_F(FolderListingThreading, ABigFolderArrivesInBatchesUpToItsLastFileWhileTheWindowAnswers)
{
    makeFiles(kFiles);
    makeDir("zz folder");
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    bool answeredWhileListing = false;
    QTimer::singleShot(0, [&] { answeredWhileListing = !view.isLoaded(); });
    int firstShown = 0;
    const auto shown = [&] {
        if (firstShown == 0 && !view.isLoaded())
            firstShown = view.itemCount();
    };
    QObject::connect(view.currentView()->model(), &QAbstractItemModel::rowsInserted, shown);
    QObject::connect(view.currentView()->model(), &QAbstractItemModel::layoutChanged, shown);
    view.setCurrentDirectory(scratch.path());
    EXPECT_FALSE(view.isLoaded()) << "listing returns at once";
    ASSERT_TRUE(view.waitUntilLoaded(20000));
    EXPECT_TRUE(answeredWhileListing);
    EXPECT_GT(firstShown, 0);
    EXPECT_LT(firstShown, kFiles / 2) << "the first rows came long before the last";
    ASSERT_EQ(view.itemCount(), kFiles + 1);
    EXPECT_EQ(view.itemCaption(0), "zz folder") << "folders first";
    EXPECT_EQ(view.itemCaption(1), "file 00000.txt");
    EXPECT_EQ(view.itemCaption(kFiles), QStringLiteral("file %1.txt").arg(kFiles - 1, 5, 10, QLatin1Char('0')));
}

TEST_F(FolderListingThreading, FilesAppearingAndGoingAreShownWithoutReadingTheFolderAgain)
{
    makeFiles(kFiles);
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(20000));
    QSignalSpy listed(&view, &FolderView::folderListed);
    touch("a new song.mp3", QByteArray(1234, 'x'));
    ASSERT_TRUE(until([&] { return indexOf("a new song.mp3") == 0; }));
    EXPECT_EQ(view.itemCount(), kFiles + 1);
    const QAbstractItemModel *model = view.currentView()->model();
    EXPECT_TRUE(model->data(model->index(0, 0), Qt::ToolTipRole)
                    .toString()
                    .contains(QLocale().formattedDataSize(1234)))
        << "its size once written";

    ASSERT_TRUE(QFile::remove(path("file 00007.txt")));
    ASSERT_TRUE(QFile::rename(path("file 00008.txt"), path("moved.txt")));
    ASSERT_TRUE(until([&] { return indexOf("moved.txt") >= 0 && indexOf("file 00007.txt") < 0; }));
    EXPECT_EQ(indexOf("file 00008.txt"), -1);
    EXPECT_EQ(view.itemCount(), kFiles);
    EXPECT_EQ(listed.count(), 0) << "the folder was not read again";
}

TEST_F(FolderListingThreading, SelectionAndAnOpenRenameSurviveTheBatchesThatFollow)
{
    makeFiles(kFiles);
    QString chosen;
    int rowsWhenChosen = 0;
    int changesAfter = 0;
    const QAbstractItemModel *model = view.currentView()->model();
    // The first rows in: the user picks one and starts renaming it at once.
    QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
        if (!chosen.isEmpty())
            return;
        rowsWhenChosen = view.itemCount();
        chosen = view.itemCaption(0);
        view.setItemSelected(0, true);
        EXPECT_TRUE(view.renameSelected());
    });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, [&] { changesAfter += !chosen.isEmpty(); });
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(20000));
    ASSERT_FALSE(chosen.isEmpty());
    EXPECT_LT(rowsWhenChosen, kFiles);
    EXPECT_GT(changesAfter, 0) << "batches arrived after the choice";
    ASSERT_EQ(view.itemCount(), kFiles);

    const int at = indexOf(chosen);
    ASSERT_GE(at, 0);
    EXPECT_TRUE(view.isItemSelected(at));
    int selected = 0;
    for (int i = 0; i < view.itemCount(); ++i)
        selected += view.isItemSelected(i);
    EXPECT_EQ(selected, 1);
    ASSERT_TRUE(view.isEditing());
    QLineEdit *editor = editorOf(view.currentView());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), chosen);
    editor->setText("renamed.txt");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFile::exists(path("renamed.txt")));
    EXPECT_FALSE(QFile::exists(path(chosen)));
    EXPECT_GE(indexOf("renamed.txt"), 0);
    EXPECT_EQ(indexOf(chosen), -1);
}

TEST_F(FolderListingThreading, RenamingOntoAnExistingNameIsRefusedAndBothFilesStay)
{
    touch("a.txt", "first");
    touch("b.txt", "second");
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    QAbstractItemModel *model = view.currentView()->model();
    EXPECT_FALSE(model->setData(model->index(indexOf("b.txt"), 0), "a.txt"));
    EXPECT_FALSE(model->setData(model->index(indexOf("b.txt"), 0), "sub/c.txt"));
    EXPECT_FALSE(model->setData(model->index(indexOf("b.txt"), 0), ""));
    QFile a(path("a.txt"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), "first");
    EXPECT_TRUE(QFile::exists(path("b.txt")));
    EXPECT_EQ(view.itemCount(), 2);
}

TEST_F(FolderListingThreading, ListingAnotherFolderMidwayShowsOnlyThatFolder)
{
    makeFiles(kFiles);
    makeDir("small");
    touch("small/only.txt");
    view.setCurrentDirectory(scratch.path());
    ASSERT_TRUE(until([&] { return view.itemCount() > 0; }));
    view.setCurrentDirectory(path("small"));
    ASSERT_TRUE(view.waitUntilLoaded(20000));
    QTest::qWait(100); // any late batch of the first folder would have arrived
    ASSERT_EQ(view.itemCount(), 1);
    EXPECT_EQ(view.itemCaption(0), "only.txt");
}

TEST_F(FolderListingThreading, TheTreeOpensABigFolderWithItsFoldersOnlyAndFollowsNewOnes)
{
    makeFiles(kFiles);
    makeDir("one");
    makeDir("two");
    FolderTree tree;
    auto *model = qobject_cast<FolderTreeModel *>(tree.model());
    ASSERT_TRUE(tree.selectPath(scratch.path()));
    tree.expand(tree.currentIndex());
    const auto children = [&] {
        QStringList names;
        const QModelIndex parent = model->index(scratch.path());
        for (int row = 0; row < model->rowCount(parent); ++row)
            names << model->fileName(model->index(row, 0, parent));
        return names;
    };
    ASSERT_TRUE(until([&] { return children().size() == 2; }));
    makeDir("three");
    ASSERT_TRUE(until([&] { return children().size() == 3; }));
    QDir(path("one")).removeRecursively();
    ASSERT_TRUE(until([&] { return children() == QStringList({"three", "two"}); }));
}

// A reader caught in a call that does not return (a network share gone
// away) never holds the one who lets it go, nor so the exit.
TEST_F(FolderListingThreading, AReaderCaughtInAFolderThatDoesNotAnswerHoldsNoOneWhoLetsItGo)
{
    struct NoSink : FolderResultSink {
        void takeListing(quint64, const QString &, FileEntries, bool) override {}
        void takeChanges(const QString &, FileEntries, const QList<QByteArray> &) override {}
        void takeGone(const QString &) override {}
        void takeLost() override {}
    } sink;
    QObject context;
    auto reader = std::make_unique<ReaderThread>(false, &context, &sink);
    static std::atomic<bool> caught{false}; // nothing handed over through Qt's queue
    QMetaObject::invokeMethod(reader->reader(), [] { // answers after ten seconds
        caught = true;
        std::this_thread::sleep_for(std::chrono::seconds(10));
    });
    ASSERT_TRUE(QTest::qWaitFor([] { return caught.load(); }, 5000));
    QElapsedTimer letGo;
    letGo.start();
    reader.reset();
    EXPECT_LT(letGo.elapsed(), 3000);
}

} // namespace
