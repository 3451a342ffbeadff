// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The real window on the stand-in player, with its own timers running: a
// download, a voice recording uploaded as a wave file, a removal and a format.
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "scripted_prompts.h"
#include "target_select_unit.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class QueueEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        player = root.filePath(QStringLiteral("player"));
        qputenv("NEROLINK_PLAYER", player.toLocal8Bit());
        ASSERT_EQ(QProcess::execute(QStringLiteral(TOVIX_PLAYER_COMMAND), {QStringLiteral("init")}), 0);
        for (const char *folder : {"from", "to"})
            ASSERT_TRUE(QDir(root.path()).mkdir(QString::fromLatin1(folder)));

        target = std::make_unique<TForm_TargetSelection>();
        Form_TargetSelection = target.get();
        w = std::make_unique<TForm_TovixMan>(root.filePath(QStringLiteral("settings.ini")));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        ASSERT_TRUE(until([&] { return w->FConnected && w->FCardPresent; })) << "player attached";
    }

    void TearDown() override
    {
        if (w)
            w->close();
        w.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Form_TargetSelection = nullptr;
        target.reset();
        qunsetenv("NEROLINK_PLAYER");
    }

    // Lets the window's own timers work until the condition holds.
    static bool until(const std::function<bool()> &condition, int timeoutMs = 30000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!condition() && !deadline.hasExpired())
            QTest::qWait(20);
        return condition();
    }

    bool queueDone()
    {
        return until([&] {
            return w->CheckList_CopyProgress->count() == 0 && !w->FJobRunning
                && w->Panel_CopyProgress->isHidden();
        });
    }

    void showPcFolder(const QString &name)
    {
        w->FolderView->setCurrentDirectory(root.filePath(name));
        ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    }

    QStringList internalNames() const
    {
        QStringList out;
        for (int i = 0; i < w->FileList_Internal->topLevelItemCount(); ++i)
            out << w->FileList_Internal->topLevelItem(i)->text(0);
        out.sort();
        return out;
    }

    void selectInternal(const QString &name)
    {
        w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);
        w->FileList_Internal->clearSelection();
        for (int i = 0; i < w->FileList_Internal->topLevelItemCount(); ++i)
            if (w->FileList_Internal->topLevelItem(i)->text(0) == name)
                w->FileList_Internal->topLevelItem(i)->setSelected(true);
        ASSERT_EQ(w->FileList_Internal->selectedItems().size(), 1);
    }

    QString internalFile(const QString &name) const
    {
        return player + QStringLiteral("/internal/") + name;
    }

    QTemporaryDir root;
    QString player;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TargetSelection> target;
    std::unique_ptr<TForm_TovixMan> w;
};

TEST_F(QueueEndToEnd, DownloadUploadRemoveFormat)
{
    QFile song(root.filePath(QStringLiteral("from/song.mp3")));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.write(QByteArray(5000, 's'));
    song.close();
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVIX_TEST_DATA "/voice_mode0.VOC"),
                            root.filePath(QStringLiteral("from/memo.VOC"))));

    // Download both PC files to the internal memory.
    showPcFolder(QStringLiteral("from"));
    for (int i = 0; i < w->FolderView->itemCount(); ++i)
        w->FolderView->setItemSelected(i, true);
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);
    w->MainMenu_DownloadToPlayer->trigger();
    EXPECT_EQ(w->CheckList_CopyProgress->count(), 2);
    ASSERT_TRUE(queueDone());
    EXPECT_EQ(w->statusText(3), QStringLiteral("Operation completed."));
    EXPECT_EQ(internalNames(), QStringList({QStringLiteral("memo.VOC"), QStringLiteral("song.mp3")}));
    EXPECT_EQ(QFileInfo(internalFile(QStringLiteral("song.mp3"))).size(), 5000);
    EXPECT_EQ(w->FReservedInternal, 0);

    // Upload the recording into another folder: it arrives as a wave file.
    showPcFolder(QStringLiteral("to"));
    selectInternal(QStringLiteral("memo.VOC"));
    w->MainMenu_UploadFromPlayer->trigger();
    ASSERT_TRUE(queueDone());
    const QString wave = root.filePath(QStringLiteral("to/memo.wav"));
    EXPECT_TRUE(QFile::exists(wave));
    EXPECT_GT(QFileInfo(wave).size(), 44);
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("to/memo.VOC"))));
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    bool listed = false;
    for (int i = 0; i < w->FolderView->itemCount(); ++i)
        listed |= w->FolderView->itemCaption(i) == QStringLiteral("memo.wav");
    EXPECT_TRUE(listed) << "the PC list is read again when the queue runs empty";

    // Remove the song.
    selectInternal(QStringLiteral("song.mp3"));
    prompts.answers = {PromptAnswer::Yes};
    w->Button_Delete->click();
    ASSERT_TRUE(queueDone());
    EXPECT_FALSE(QFile::exists(internalFile(QStringLiteral("song.mp3"))));
    EXPECT_EQ(internalNames(), QStringList({QStringLiteral("memo.VOC")}));

    // Format the internal memory.
    prompts.answers = {PromptAnswer::Yes};
    w->MainMenu_Format->trigger();
    ASSERT_TRUE(queueDone());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(QFile::exists(internalFile(QStringLiteral("memo.VOC"))));
    EXPECT_TRUE(internalNames().isEmpty());
    EXPECT_TRUE(QFile::exists(wave)) << "the PC keeps what was uploaded";

    QStringList asked;
    for (const PromptRecord &r : prompts.records)
        asked << r.text;
    EXPECT_EQ(asked, QStringList({QStringLiteral("Do you really want to remove selected files ?"),
                                  QStringLiteral("Do you really want to format ?")}));
}

// A slow stand-in player: F9 on a long recording loads it from its copy
// while the copy is still arriving, and ending the program then does not
// wait for the copy and leaves no part file in the cache.
TEST_F(QueueEndToEnd, ASlowPlayersRecordingLoadsWhileCopyingAndClosingThenLeavesNoPartFile)
{
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    qputenv("PULSE_SERVER", "unix:/nonexistent/tovix-test/native");
    QFile voice(QStringLiteral(TOVIX_TEST_DATA "/voice_mode2.VOC"));
    QFile recording(root.filePath(QStringLiteral("from/Long.VOC")));
    ASSERT_TRUE(voice.open(QIODevice::ReadOnly) && recording.open(QIODevice::WriteOnly));
    const QByteArray long_ = voice.readAll().repeated(24); // about 1 MB
    ASSERT_TRUE(recording.write(long_) == long_.size() && recording.flush());
    showPcFolder(QStringLiteral("from"));
    w->FolderView->setItemSelected(0, true);
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);
    w->MainMenu_DownloadToPlayer->trigger();
    ASSERT_TRUE(queueDone());
    ASSERT_EQ(QProcess::execute(QStringLiteral(TOVIX_PLAYER_COMMAND), {QStringLiteral("rate"), QStringLiteral("400000")}), 0);

    selectInternal(QStringLiteral("Long.VOC"));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->FileList_Internal->setFocus();
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(until([&] { return w->FListenPath.endsWith(QStringLiteral(".part")); }, 5000));
    EXPECT_LT(QFileInfo(w->FListenPath).size(), long_.size());
    const QString part = w->FListenPath;

    int quits = 0;
    w->FQuitWithoutWaiting = [&] { ++quits; };
    QElapsedTimer closing;
    closing.start();
    w->close();
    EXPECT_LT(closing.elapsed(), 1500);
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(QFile::exists(part));
    w.reset();
    EXPECT_TRUE(QDir(cache.path() + QStringLiteral("/tovixman")).entryList(QDir::Files).isEmpty());
    qunsetenv("XDG_CACHE_HOME");
}

} // namespace
