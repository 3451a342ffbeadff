// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Download to the player: the checks in their order, their messages and kinds,
// the target choice, the space test and the drop rectangle.
#include "queue_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QToolBar>

#include <sys/file.h>

namespace {

class QueueDownload : public QueueTest {
protected:
    void expectPlain(const PromptRecord &r, const QString &text)
    {
        EXPECT_EQ(r.text, text);
        EXPECT_EQ(r.owner, nullptr);
        EXPECT_EQ(r.title, QStringLiteral("Sonavel v1.3"));
        EXPECT_EQ(r.icon, PromptIcon::None);
        EXPECT_EQ(r.buttons, PromptButtons::Ok);
    }
    void expectError(const PromptRecord &r, const QString &text)
    {
        EXPECT_EQ(r.text, text);
        EXPECT_EQ(r.owner, w.get());
        EXPECT_EQ(r.title, w->windowTitle());
        EXPECT_EQ(r.icon, PromptIcon::Critical);
        EXPECT_EQ(r.buttons, PromptButtons::Ok);
    }
    QPoint centreOf(QWidget *widget) const
    {
        return widget->mapTo(w.get(), widget->rect().center());
    }
};

TEST_F(QueueDownload, CommandRefusalsInTheirOrder)
{
    attachEmpty();
    makePcFile(QStringLiteral("a.mp3"), 10);
    ASSERT_TRUE(QDir(pc.path()).mkdir(QStringLiteral("folder")));
    w->TabControl_PlayerFiles->setCurrentIndex(1);

    selectPc({});
    w->MainMenu_DownloadToPlayerClick();
    selectPc({QStringLiteral("folder")});
    w->MainMenu_DownloadToPlayerClick();
    w->FLastStatus = psWriteProtected;
    selectPc({QStringLiteral("a.mp3")});
    w->MainMenu_DownloadToPlayerClick();

    ASSERT_EQ(prompts.records.size(), 3u);
    expectPlain(prompts.records[0], QStringLiteral("Please select files to download"));
    expectPlain(prompts.records[1], QStringLiteral("Sorry, can not download folder"));
    expectPlain(prompts.records[2], QStringLiteral("Write protected. Can not download any files."));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(w->FReservedInternal, 0);
}

TEST_F(QueueDownload, TargetByTabOrByTheDialog)
{
    attachEmpty();
    makePcFile(QStringLiteral("a.mp3"), 10);
    ASSERT_TRUE(QDir(pc.path()).mkdir(QStringLiteral("folder")));
    selectPc({QStringLiteral("a.mp3"), QStringLiteral("folder")});

    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_TRUE(prompts.records.empty()) << "no dialog, and a selected folder is passed over";

    w->TabControl_PlayerFiles->setCurrentIndex(0);
    prompts.dialogResults = {mrYes, mrNo, mrCancel};
    for (int i = 0; i < 3; ++i)
        w->MainMenu_DownloadToPlayerClick();
    ASSERT_EQ(prompts.records.size(), 3u) << "a cancelled dialog shows no message";
    for (const PromptRecord &r : prompts.records)
        EXPECT_EQ(r.dialogTitle, QStringLiteral("Sonavel v1.2"));

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"a.mp3\" to Internal Memory"),
                                    QStringLiteral("Download \"a.mp3\" to Memory Card"),
                                    QStringLiteral("Download \"a.mp3\" to Internal Memory"),
                                    QStringLiteral("Download \"a.mp3\" to Memory Card")}));
    const int32_t kinds[] = {jkDownloadInternal, jkDownloadCard, jkDownloadInternal, jkDownloadCard};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(job(row).Kind, kinds[row]);
        EXPECT_EQ(std::string(job(row).PcPath), pcPath(QStringLiteral("a.mp3")));
        EXPECT_EQ(job(row).Size, 10);
        EXPECT_TRUE(w->CheckList_CopyProgress->item(row)->flags() & Qt::ItemIsUserCheckable);
        EXPECT_EQ(w->CheckList_CopyProgress->item(row)->checkState(), Qt::Unchecked);
    }
    EXPECT_EQ(w->FReservedInternal, 20);
    EXPECT_EQ(w->FReservedCard, 20);
    EXPECT_TRUE(panelShown());
    EXPECT_FALSE(w->FJobRunning) << "queuing never starts a job itself";
}

TEST_F(QueueDownload, SpaceIsTestedAgainstEverythingReservedSoFar)
{
    attachEmpty(1000, 500);
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
        makePcFile(QString::fromLatin1(name), 400);
    makePcFile(QStringLiteral("d.mp3"), 10);
    selectPc({"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();

    EXPECT_EQ(lines().size(), 2) << "the files after the one that does not fit are not tried";
    EXPECT_EQ(w->FReservedInternal, 800);
    ASSERT_EQ(prompts.records.size(), 1u);
    expectError(prompts.records[0], QStringLiteral("Not enough internal memory."));

    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(w->FReservedCard, 400);
    ASSERT_EQ(prompts.records.size(), 2u);
    expectError(prompts.records[1], QStringLiteral("Not enough external memory."));
}

TEST_F(QueueDownload, EmptyFilesRemovalsAndFormatsAheadInTheSpaceTest)
{
    attach(memoryOf({fake::makeEntry("old.mp3", "OLD.MP3", 500, true)}, 4000, 0),
           fake::makeMemory(8000, 0));
    makePcFile(QStringLiteral("empty.mp3"), 0);
    makePcFile(QStringLiteral("big.mp3"), 450);
    w->TabControl_PlayerFiles->setCurrentIndex(1);

    selectPc({QStringLiteral("empty.mp3")});
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_EQ(lines().size(), 1) << "0 bytes fit when nothing is free";

    selectPc({QStringLiteral("big.mp3")});
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_EQ(lines().size(), 1);

    selectPlayer(1, {QStringLiteral("old.mp3")});
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveClick();
    EXPECT_EQ(w->FReservedInternal, -500);
    selectPc({QStringLiteral("big.mp3")});
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_EQ(lines().size(), 3) << "a queued removal gives its bytes before it has run";
    EXPECT_EQ(w->FReservedInternal, -50);

    // Behind a format the whole memory counts.
    w->MainMenu_CancelAllClick();
    EXPECT_EQ(w->FReservedInternal, 0);
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    EXPECT_EQ(w->FReservedInternal, -4000);
    makePcFile(QStringLiteral("whole.mp3"), 3500);
    selectPc({QStringLiteral("whole.mp3"), QStringLiteral("big.mp3")});
    w->MainMenu_DownloadToPlayerClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Internal Memory"),
                                    QStringLiteral("Download \"big.mp3\" to Internal Memory"),
                                    QStringLiteral("Download \"whole.mp3\" to Internal Memory")}));
    EXPECT_EQ(w->FReservedInternal, -50);
}

TEST_F(QueueDownload, UnreadableAndOverlongFilesAreSkippedAndTheOthersGo)
{
    attachEmpty();
    makePcFile(QStringLiteral("a.mp3"), 10);
    makePcFile(QStringLiteral("locked.mp3"), 10);
    const QString longName = QString(260 - pc.path().size(), QLatin1Char('n')) + QStringLiteral(".mp3");
    makePcFile(longName, 10);
    ASSERT_GT(pcPath(longName).size(), 259u);
    makePcFile(QStringLiteral("z.mp3"), 10);
    const int other = ::open(pcPath(QStringLiteral("locked.mp3")).c_str(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);

    selectPc({QStringLiteral("a.mp3"), QStringLiteral("locked.mp3"), longName, QStringLiteral("z.mp3")});
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();
    ::close(other);

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"a.mp3\" to Internal Memory"),
                                    QStringLiteral("Download \"z.mp3\" to Internal Memory")}));
    ASSERT_EQ(prompts.records.size(), 2u);
    expectError(prompts.records[0], QStringLiteral("Can not download \"%1\": its path is longer than "
                                                   "259 characters.").arg(longName));
    expectError(prompts.records[1], QStringLiteral("File reading failed.\n\"locked.mp3\""));
    EXPECT_EQ(w->FReservedInternal, 20);
}

TEST_F(QueueDownload, ManyUnreadableFilesAreNamedInOneBox)
{
    attachEmpty();
    makePcFile(QStringLiteral("good.mp3"), 10);
    QStringList dropped = {pc.filePath(QStringLiteral("good.mp3"))};
    for (int i = 10; i < 22; ++i)
        dropped << pc.filePath(QStringLiteral("gone%1.mp3").arg(i));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->FileDropDrop(dropped, centreOf(w->TabControl_PlayerFiles));
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"good.mp3\" to Internal Memory")}));
    ASSERT_EQ(prompts.records.size(), 1u);
    expectError(prompts.records[0], QStringLiteral("File reading failed.\n\"gone10.mp3\"\n\"gone11.mp3\"\n"
                                                   "\"gone12.mp3\"\n\"gone13.mp3\"\n\"gone14.mp3\"\n\"gone15.mp3\"\n"
                                                   "\"gone16.mp3\"\n\"gone17.mp3\"\n\"gone18.mp3\"\n\"gone19.mp3\"\n"
                                                   "and 2 more."));
}

TEST_F(QueueDownload, FilesOf2GiBOrMoreAreRefusedWithoutOverflow)
{
    attach(fake::makeMemory(0xFFFFFFFFu, 0xFFFFFFFFu), fake::makeMemory(0xFFFFFFFFu, 0xFFFFFFFFu));
    makeSparseFile(QStringLiteral("a_2gib.bin"), qint64(1) << 31);
    makeSparseFile(QStringLiteral("b_wraps.bin"), (qint64(1) << 32) + 100); // low 32 bits: 100
    makeSparseFile(QStringLiteral("c_max.bin"), (qint64(1) << 31) - 1);
    makePcFile(QStringLiteral("d_one.bin"), 1);
    makePcFile(QStringLiteral("e_one.bin"), 1);
    selectPc({"a_2gib.bin", "b_wraps.bin", "c_max.bin", "d_one.bin", "e_one.bin"});
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->MainMenu_DownloadToPlayerClick();

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"c_max.bin\" to Memory Card")}));
    EXPECT_EQ(job(0).Size, INT32_MAX);
    EXPECT_EQ(w->FReservedCard, INT32_MAX) << "the reservation holds the largest file exactly";
    ASSERT_EQ(prompts.records.size(), 3u);
    expectError(prompts.records[0], QStringLiteral("Can not download \"a_2gib.bin\": files of 2 GB "
                                                   "or more are not supported."));
    expectError(prompts.records[1], QStringLiteral("Can not download \"b_wraps.bin\": files of 2 GB "
                                                   "or more are not supported."));
    // It would fit the memory, but not the 32-bit reservation; the command ends there.
    expectError(prompts.records[2], QStringLiteral("Can not download \"d_one.bin\": too much is "
                                                   "already queued for the memory card. Wait for "
                                                   "the queue to finish."));
}

TEST_F(QueueDownload, OnlyADropOnThePlayerTabsCounts)
{
    attachEmpty();
    makePcFile(QStringLiteral("a.mp3"), 10);
    const QStringList paths = {pc.filePath(QStringLiteral("a.mp3"))};
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->Panel_CopyProgress->show();
    pump();
    for (QWidget *outside : {w->Panel_MemoryUsage, static_cast<QWidget *>(w->ToolBar2),
                             static_cast<QWidget *>(w->CheckList_CopyProgress),
                             static_cast<QWidget *>(w->FolderView)})
        w->FileDropDrop(paths, centreOf(outside));
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_TRUE(lines().isEmpty());

    const QPoint topLeft = w->TabControl_PlayerFiles->mapTo(w.get(), QPoint(0, 0));
    w->FileDropDrop(paths, topLeft);
    w->FileDropDrop(paths, topLeft - QPoint(1, 0));
    w->FileDropDrop(paths, topLeft + QPoint(w->TabControl_PlayerFiles->width() - 1,
                                            w->TabControl_PlayerFiles->height() - 1));
    w->FileDropDrop(paths, topLeft + QPoint(0, w->TabControl_PlayerFiles->height()));
    EXPECT_EQ(lines().size(), 2) << "the rectangle's corners are inside, one step out is not";
}

TEST_F(QueueDownload, DropChecksFoldersAndWriteProtection)
{
    // Before the first status read every bit is set, so a drop is refused.
    const QPoint onTabs = centreOf(w->TabControl_PlayerFiles);
    makePcFile(QStringLiteral("a.mp3"), 10);
    ASSERT_TRUE(QDir(pc.path()).mkdir(QStringLiteral("folder")));
    const QString file = pc.filePath(QStringLiteral("a.mp3"));
    const QString folder = pc.filePath(QStringLiteral("folder"));
    w->FileDropDrop({file}, onTabs);
    ASSERT_EQ(prompts.records.size(), 1u);
    expectPlain(prompts.records[0], QStringLiteral("Write protected. Can not download any files."));

    attachEmpty();
    prompts.records.clear();
    w->FileDropDrop({folder}, onTabs);
    ASSERT_EQ(prompts.records.size(), 1u);
    expectPlain(prompts.records[0], QStringLiteral("Sorry, can not download folder"));

    prompts.records.clear();
    prompts.dialogResults = {mrNo};
    const QString missing = pc.filePath(QStringLiteral("gone.mp3"));
    w->FileDropDrop({folder, file, missing}, onTabs);
    ASSERT_EQ(prompts.records.size(), 2u) << "the dialog, then the missing file";
    EXPECT_EQ(prompts.records[0].dialogTitle, QStringLiteral("Sonavel v1.2"));
    expectError(prompts.records[1], QStringLiteral("File reading failed.\n\"gone.mp3\""));
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"a.mp3\" to Memory Card")}));
    EXPECT_EQ(std::string(job(0).PcPath), file.toStdString());
    EXPECT_TRUE(panelShown());

    prompts.records.clear();
    w->FileDropDrop({}, onTabs, {QStringLiteral("file:a.mp3")});
    ASSERT_EQ(prompts.records.size(), 1u) << "the refused alone, and no folder message";
    EXPECT_TRUE(prompts.records[0].text.endsWith(QStringLiteral(":\n\"file:a.mp3\"")));
}

TEST_F(QueueDownload, TheTargetDialogAnswersTheKeysAfterThePlayerCameBack)
{
    // Shown as the window shows it, without a nested loop, and given the keys.
    const auto answer = [this](std::initializer_list<Qt::Key> keys) {
        target->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(target.get()));
        for (const Qt::Key key : keys)
            QTest::keyClick(QApplication::focusWidget(), key);
        target->hide();
        return target->result();
    };
    attachEmpty();
    EXPECT_EQ(answer({Qt::Key_Return}), mrYes);
    fake::setVersion(0);
    w->Timer_CheckPlayerTimer(nullptr);
    attachEmpty();
    EXPECT_EQ(answer({Qt::Key_Down, Qt::Key_Return}), mrNo);
    EXPECT_EQ(answer({Qt::Key_Up, Qt::Key_Enter}), mrYes);
}

} // namespace
