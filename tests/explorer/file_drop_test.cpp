// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/file_drop.h"
#include "explorer/folder_view.h"
#include "explorer/player_files_mime.h"

#include "explorer_fixture.h"

#include <QDropEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A window like the main one: a menu bar, and deep in the client area a list
// that takes drops of its own.
class FileDropTest : public ExplorerTest {
protected:
    FileDropTest()
    {
        window.menuBar()->addMenu("&File");
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        layout->setContentsMargins(7, 11, 0, 0);
        target = new QWidget;
        list = new FolderView;
        list->setCurrentDirectory(scratch.path());
        layout->addWidget(target);
        layout->addWidget(list);
        window.setCentralWidget(central);
        window.resize(400, 300);
        window.show();
        drop = new FileDrop(&window);
    }
    // Drags data over widget and drops it at pos; returns whether the drop was taken.
    static bool dragAndDrop(QWidget *widget, const QMimeData &data, QPoint pos)
    {
        QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(pos, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &dropped);
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
        return dropped.isAccepted();
    }

    QMainWindow window;
    QWidget *target = nullptr;
    FolderView *list = nullptr;
    FileDrop *drop = nullptr;
};

TEST_F(FileDropTest, LocalFilesAnywhereInTheWindowArriveInOrderAtTheWindowsPoint)
{
    EXPECT_TRUE(window.acceptDrops());
    QSignalSpy spy(drop, &FileDrop::dropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("b.mp3")), QUrl("https://example.com/x.mp3"),
                  QUrl::fromLocalFile(path("a dir")), QUrl::fromLocalFile(path("c.wav"))});

    ASSERT_TRUE(dragAndDrop(target, data, QPoint(3, 4)));
    EXPECT_EQ(spy.count(), 0) << "handed on after the drop has returned";
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toStringList(),
              QStringList({path("b.mp3"), path("a dir"), path("c.wav")}));
    const QPoint expected = target->mapTo(&window, QPoint(3, 4));
    EXPECT_EQ(spy.at(0).at(1).toPoint(), expected);
    EXPECT_GT(expected.y(), window.menuBar()->height());

    // The PC list takes files itself, so the window's drop target leaves them to it.
    QDragEnterEvent enter(QPoint(1, 2), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(list->currentView()->viewport(), &enter);
    QDropEvent dropped(QPoint(1, 2), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(list->currentView()->viewport(), &dropped);
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(FileDropTest, PlayerFilesAndRemoteLinksAreNotItsToTake)
{
    QSignalSpy spy(drop, &FileDrop::dropped);
    QSignalSpy playerDrops(list, &FolderView::playerFilesDropped);
    QMimeData remote;
    remote.setUrls({QUrl("https://example.com/x.mp3")});
    EXPECT_FALSE(dragAndDrop(target, remote, QPoint(1, 1)));

    QMimeData relative; // taken, to be refused by name
    relative.setData("text/uri-list", "file:x.mp3\r\n");
    EXPECT_TRUE(dragAndDrop(target, relative, QPoint(1, 1)));
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.takeFirst().value(2).toStringList(), QStringList({"file:x.mp3"}));

    QMimeData player;
    player.setData(kPlayerFilesMimeType, "A.MP3");
    player.setUrls({QUrl::fromLocalFile(path("A.MP3"))});
    EXPECT_FALSE(dragAndDrop(target, player, QPoint(1, 1)));
    EXPECT_TRUE(dragAndDrop(list, player, QPoint(1, 1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(playerDrops.count(), 1);
}

TEST_F(FileDropTest, DropsOnOtherWindowsAreLeftAlone)
{
    QSignalSpy spy(drop, &FileDrop::dropped);
    QWidget other;
    other.setAcceptDrops(true);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("x"))});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(&other, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
}

} // namespace
