// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Files dropped on the file list and on the folder tree.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "explorer/player_files_mime.h"
#include "scripted_prompts.h"

#include "explorer_fixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace {

class PaneDropTest : public ExplorerTest {
protected:
    PaneDropTest()
    {
        touch("a.mp3", "a");
        touch("b.mp3", "b");
        makeDir("Inbox");
        tree.setFolderView(&view);
        view.resize(400, 300);
        view.setCurrentDirectory(scratch.path());
        view.show();
        tree.resize(300, 400);
        tree.show();
        EXPECT_TRUE(view.waitUntilLoaded(5000));
    }
    // Drags files over widget to pos and drops them there with modifiers; the action taken.
    static Qt::DropAction dropFiles(QWidget *widget, const QStringList &files, QPoint pos,
                                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(pos, possible, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(widget, &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(pos, possible, &data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(widget, &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    QPoint itemPoint(const QString &caption) const
    {
        for (int i = 0; i < view.itemCount(); ++i)
            if (view.itemCaption(i) == caption) {
                QAbstractItemView *v = view.currentView();
                return v->viewport()->mapTo(&view, v->visualRect(v->model()->index(i, 0)).center());
            }
        return {};
    }
    bool settle() { return view.fileOperations()->waitUntilIdle(10000); }

    ScriptedPrompts prompts;
    FolderView view;
    FolderTree tree;
};

TEST_F(PaneDropTest, FilesDroppedOnAFolderItemMoveAndWithCtrlCopy)
{
    EXPECT_EQ(dropFiles(&view, {path("a.mp3")}, itemPoint("Inbox")), Qt::MoveAction);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(QFileInfo::exists(path("Inbox/a.mp3")));
    EXPECT_FALSE(QFileInfo::exists(path("a.mp3")));

    EXPECT_EQ(dropFiles(&view, {path("b.mp3")}, itemPoint("Inbox"), Qt::ControlModifier), Qt::CopyAction);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(QFileInfo::exists(path("Inbox/b.mp3")));
    EXPECT_TRUE(QFileInfo::exists(path("b.mp3")));
}

TEST_F(PaneDropTest, TheEmptyAreaIsTheShownFolderWhereAMoveOfItsOwnFilesIsNothing)
{
    QTemporaryDir elsewhere(QDir::homePath() + "/elsewhere-XXXXXX");
    QFile outside(elsewhere.filePath("c.wav"));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.close();
    const QPoint empty(390, 290);
    EXPECT_EQ(dropFiles(&view, {path("a.mp3")}, empty), Qt::IgnoreAction);
    EXPECT_EQ(dropFiles(&view, {path("Inbox")}, itemPoint("Inbox")), Qt::IgnoreAction) << "not into itself";
    EXPECT_EQ(dropFiles(&view, {outside.fileName()}, empty, Qt::ShiftModifier), Qt::MoveAction);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(QFileInfo::exists(path("c.wav")));
    EXPECT_FALSE(outside.exists());
    EXPECT_EQ(dropFiles(&view, {path("a.mp3")}, empty, Qt::ControlModifier), Qt::CopyAction);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(QFileInfo::exists(path("a (2).mp3")));
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(PaneDropTest, FilesDroppedOnATreeNodeGoIntoItsFolder)
{
    ASSERT_TRUE(tree.selectPath(path("Inbox")));
    // Rows above it may still arrive and move it down.
    const auto node = [this] { return tree.visualRect(tree.currentIndex()).center(); };
    EXPECT_EQ(dropFiles(tree.viewport(), {path("a.mp3"), path("b.mp3")}, node()), Qt::MoveAction);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(QFileInfo::exists(path("Inbox/a.mp3")));
    EXPECT_TRUE(QFileInfo::exists(path("Inbox/b.mp3")));
    ASSERT_EQ(tree.selectedNodePath(), path("Inbox"));
    EXPECT_EQ(dropFiles(tree.viewport(), {path("Inbox")}, node()), Qt::IgnoreAction);
    EXPECT_EQ(dropFiles(tree.viewport(), {path("Inbox/a.mp3")}, QPoint(-5, -5)), Qt::IgnoreAction)
        << "off the nodes";
}

TEST_F(PaneDropTest, UrisThatNameNoWholeAbsolutePathAreLeftOutAndNamedOnce)
{
    QMimeData data;
    const QByteArray a = QUrl::fromLocalFile(path("a.mp3")).toEncoded();
    data.setData("text/uri-list", a + "%00.part\r\nfile:a.mp3\r\nfile://elsewhere" + path("a.mp3").toUtf8()
                                      + "\r\n" + QUrl::fromLocalFile(path("b.mp3")).toEncoded() + "\r\n");
    QDragEnterEvent enter(itemPoint("Inbox"), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &enter);
    QDropEvent drop(itemPoint("Inbox"), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &drop);
    EXPECT_TRUE(prompts.records.empty()) << "no box while the drop is under way";
    ASSERT_TRUE(settle());
    QCoreApplication::processEvents();
    EXPECT_TRUE(QFileInfo::exists(path("Inbox/b.mp3")));
    EXPECT_TRUE(QFileInfo::exists(path("a.mp3"))) << "the path cut at the NUL is not moved";
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.endsWith("\n\"" + a + "%00.part\"\n\"file:a.mp3\"\n\"file://elsewhere"
                                                 + path("a.mp3") + "\""));
}

TEST_F(PaneDropTest, PlayerFilesStillAskForAnUpload)
{
    QSignalSpy uploads(&view, &FolderView::playerFilesDropped);
    QMimeData player;
    player.setData(kPlayerFilesMimeType, "A.MP3");
    QDragEnterEvent enter(itemPoint("Inbox"), Qt::CopyAction, &player, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(itemPoint("Inbox"), Qt::CopyAction, &player, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(uploads.count(), 1);
    EXPECT_FALSE(view.fileOperations()->isBusy());
}

} // namespace
