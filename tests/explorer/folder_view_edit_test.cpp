// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/file_item_model.h"
#include "explorer/folder_view.h"
#include "explorer/player_files_mime.h"

#include "explorer_fixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <cstdio>
#include <fstream>

namespace {

class FolderViewEditTest : public ExplorerTest {
protected:
    void SetUp() override
    {
        view.setCurrentDirectory(scratch.path());
        ASSERT_TRUE(view.waitUntilLoaded(5000));
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

TEST_F(FolderViewEditTest, NewFolderTakesTheFirstFreeNumberAndOpensForRenaming)
{
    QSignalSpy keys(&view, &FolderView::keyDown);
    EXPECT_EQ(view.createNewFolder("New Folder"), path("New Folder"));
    EXPECT_TRUE(QFileInfo(path("New Folder")).isDir());
    EXPECT_TRUE(view.isEditing());
    const int made = indexOf("New Folder");
    ASSERT_GE(made, 0);
    EXPECT_TRUE(view.isItemSelected(made));
    ASSERT_NE(editorOf(view.currentView()), nullptr);
    QTest::keyClick(editorOf(view.currentView()), Qt::Key_Escape);
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(keys.count(), 0);

    makeDir("New Folder (2)");
    touch("New Folder (3)");
    EXPECT_EQ(view.createNewFolder("New Folder"), path("New Folder (4)"));
    EXPECT_TRUE(QFileInfo(path("New Folder (4)")).isDir());
    EXPECT_TRUE(view.createNewFolder("Another").isEmpty()) << "a name is being edited";
}

TEST_F(FolderViewEditTest, NewFolderInAFolderThatCannotTakeOneGivesNothing)
{
    QDir(scratch.path()).removeRecursively();
    EXPECT_TRUE(view.createNewFolder("New Folder").isEmpty());
    EXPECT_FALSE(view.isEditing());
}

TEST_F(FolderViewEditTest, RenameOpensTheSelectedItemAndTheModelRenamesIt)
{
    touch("a.txt");
    touch("b.txt");
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_FALSE(view.renameSelected()) << "nothing selected";
    view.setItemSelected(indexOf("b.txt"), true);
    ASSERT_TRUE(view.renameSelected());
    EXPECT_TRUE(view.isEditing());
    QLineEdit *editor = editorOf(view.currentView());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "b.txt");
    EXPECT_FALSE(view.renameSelected()) << "already editing";

    editor->setText("c.txt");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    EXPECT_FALSE(view.isEditing());
    EXPECT_TRUE(QFile::exists(path("c.txt")));
    EXPECT_FALSE(QFile::exists(path("b.txt")));
}

TEST_F(FolderViewEditTest, DeleteMovesTheSelectionToTheTrashButNotWhileEditing)
{
    touch("keep");
    touch("song.mp3");
    makeDir("album/disc");
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    EXPECT_FALSE(view.deleteSelected()) << "nothing selected";

    view.setItemSelected(indexOf("song.mp3"), true);
    view.setItemSelected(indexOf("album"), true);
    ASSERT_TRUE(view.renameSelected());
    EXPECT_FALSE(view.deleteSelected());
    EXPECT_TRUE(QFile::exists(path("song.mp3")));
    QTest::keyClick(editorOf(view.currentView()), Qt::Key_Escape);

    EXPECT_TRUE(view.deleteSelected());
    EXPECT_FALSE(QFile::exists(path("song.mp3")));
    EXPECT_FALSE(QFile::exists(path("album")));
    EXPECT_TRUE(QFile::exists(trashed("song.mp3")));
    EXPECT_TRUE(QFileInfo(trashed("album/disc")).isDir());
    ASSERT_EQ(view.itemCount(), 1);
    EXPECT_EQ(view.itemCaption(0), "keep");
    EXPECT_FALSE(view.hasSelectedItem());
}

// A name that is not UTF-8 shows with a replacement character, just as a UTF-8
// name holding that character does; each row still deletes its own file.
TEST_F(FolderViewEditTest, DeleteTrashesTheRowsOwnFileBesideOneThatShowsAlike)
{
    const std::string folder = QFile::encodeName(scratch.path()).toStdString();
    const std::string latin = "caf\xe9.VOC", twin = "caf\xef\xbf\xbd.VOC";
    std::ofstream(folder + '/' + latin) << "latin-1 name";
    std::ofstream(folder + '/' + twin) << "twin";
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    ASSERT_EQ(view.itemCount(), 2);
    EXPECT_EQ(view.itemCaption(0), view.itemCaption(1));
    const auto *model = qobject_cast<const FileItemModel *>(view.currentView()->model());
    ASSERT_TRUE(model);
    const int latinRow = model->size(model->index(0, 0)) == 12 ? 0 : 1;

    view.setItemSelected(latinRow, true);
    ASSERT_TRUE(view.deleteSelected());
    const auto content = [](const std::string &file) {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(content(folder + '/' + twin), "twin");
    EXPECT_EQ(content(folder + '/' + latin), "");
    const std::string inTrash = QFile::encodeName(trashed("")).toStdString() + latin;
    const std::string info = QFile::encodeName(trashed("../info/")).toStdString() + latin + ".trashinfo";
    EXPECT_EQ(content(inTrash), "latin-1 name");
    EXPECT_NE(content(info).find("/caf%E9.VOC\n"), std::string::npos) << content(info);
    for (const std::string &file : {inTrash, info}) // names Qt's own clean-up cannot spell
        std::remove(file.c_str());
    ASSERT_EQ(view.itemCount(), 1);
    EXPECT_EQ(model->size(model->index(0, 0)), 4);
}

// Without the user's data folder the trash is made there, never in the working folder.
TEST_F(FolderViewEditTest, DeleteWithoutADataFolderStillReachesTheUsersTrash)
{
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    const QString fresh = QDir::homePath() + "/fresh-data";
    qputenv("XDG_DATA_HOME", QFile::encodeName(fresh));
    touch("lost.txt", "keep me");
    view.refreshFolder();
    ASSERT_TRUE(view.waitUntilLoaded(5000));
    view.setItemSelected(indexOf("lost.txt"), true);
    const bool deleted = view.deleteSelected();
    const bool inTrash = QFile::exists(fresh + "/Trash/files/lost.txt");
    const bool inWorkingFolder = QFile::exists(QDir::current().filePath("files/lost.txt"));
    QFile::remove(QDir::current().filePath("files/lost.txt"));
    qputenv("XDG_DATA_HOME", data);
    QDir(fresh).removeRecursively();

    EXPECT_TRUE(deleted);
    EXPECT_TRUE(inTrash);
    EXPECT_FALSE(inWorkingFolder);
    EXPECT_FALSE(QFile::exists(path("lost.txt")));
}

TEST_F(FolderViewEditTest, OnlyPlayerFilesMayBeDroppedOnTheList)
{
    QSignalSpy dropped(&view, &FolderView::playerFilesDropped);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path("x"))});
    QDropEvent fileDrop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &fileDrop);
    EXPECT_FALSE(fileDrop.isAccepted());

    QMimeData player;
    player.setData(kPlayerFilesMimeType, "SONG.MP3");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &player, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &player, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(dropped.count(), 0) << "handed on after the drop has returned";
    QCoreApplication::processEvents();
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_EQ(view.itemCount(), 0) << "nothing copied into the folder";
}

} // namespace
