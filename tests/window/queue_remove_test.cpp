// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Remove and format: confirmations and their icons, the refusal while jobs
// remain, the lines and the reservations, and cancelling a queued format.
#include "queue_fixture.h"

#include "device/records.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

class QueueRemove : public QueueTest {
protected:
    void attachFiles()
    {
        attach(memoryOf({fake::makeEntry("alpha.mp3", "ALPHA.MP3", 300, true),
                         fake::makeEntry("gamma.mp3", "GAMMA.MP3", 700, true)},
                        10000, 4000),
               memoryOf({fake::makeEntry("beta.mp3", "BETA.MP3", 2000, true),
                         fake::makeEntry("", "DELTA.MP3", 50, false)},
                        20000, 15000));
    }
    void expectOwned(const PromptRecord &r, const QString &text, PromptIcon icon,
                     PromptButtons buttons)
    {
        EXPECT_EQ(r.text, text);
        EXPECT_EQ(r.owner, w.get());
        EXPECT_EQ(r.title, w->windowTitle());
        EXPECT_EQ(r.icon, icon);
        EXPECT_EQ(r.buttons, buttons);
    }
    const QString removeQuestion = QStringLiteral("Do you really want to remove selected files ?");
    const QString formatQuestion = QStringLiteral("Do you really want to format ?");
};

TEST_F(QueueRemove, NothingSelectedOrNotConfirmed)
{
    attachFiles();
    selectPlayer(0, {});
    w->RemoveClick();
    ASSERT_EQ(prompts.records.size(), 1u);
    expectOwned(prompts.records[0], QStringLiteral("Please select files to remove"),
                PromptIcon::None, PromptButtons::Ok);

    selectPlayer(0, {"alpha.mp3"});
    w->RemoveClick(); // the script answers No
    ASSERT_EQ(prompts.records.size(), 2u);
    expectOwned(prompts.records[1], removeQuestion, PromptIcon::Warning, PromptButtons::YesNo);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(w->FReservedInternal, 0);
    EXPECT_FALSE(panelShown());
}

TEST_F(QueueRemove, BothMemoriesFromTheAllPageEachWithItsOwnReservation)
{
    attachFiles();
    selectPlayer(0, {"alpha.mp3", "beta.mp3", "DELTA.MP3"});
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Remove \"alpha.mp3\" in Internal Memory"),
                                    QStringLiteral("Remove \"beta.mp3\" in Memory Card"),
                                    QStringLiteral("Remove \"DELTA.MP3\" in Memory Card")}));
    EXPECT_EQ(job(0).Kind, jkRemoveInternal);
    EXPECT_EQ(job(1).Kind, jkRemoveCard);
    EXPECT_STREQ(job(0).PlayerName, "ALPHA.MP3");
    EXPECT_STREQ(job(2).PlayerName, "DELTA.MP3");
    EXPECT_EQ(job(1).Size, 2000);
    EXPECT_EQ(w->FReservedInternal, -300);
    EXPECT_EQ(w->FReservedCard, -2050);
    EXPECT_TRUE(panelShown());
}

TEST_F(QueueRemove, RemoveAllOnTheCardPageLeavesTheInternalFiles)
{
    attachFiles();
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveAllClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Remove \"beta.mp3\" in Memory Card"),
                                    QStringLiteral("Remove \"DELTA.MP3\" in Memory Card")}));
    EXPECT_EQ(w->FReservedCard, -2050);
    EXPECT_EQ(w->FReservedInternal, 0);

    w->MainMenu_CancelAllClick();
    fake::setMemory(mtInternal, fake::makeMemory(1000, 1000));
    w->Button_RefreshClick();
    ASSERT_EQ(w->FileList_Internal->topLevelItemCount(), 0);
    prompts.records.clear();
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->RemoveAllClick();
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Please select files to remove"));
}

TEST_F(QueueRemove, LargeFilesAreRemovedWithoutCreditAndLongNamesRefused)
{
    attach(memoryOf({fake::makeEntry("huge.mp4", "HUGE.MP4", 0xF0000000u, true),
                     fake::makeEntry("long.mp3", "SIXTEEN_CHARS.MP", 10, true),
                     fake::makeEntry("small.mp3", "SMALL.MP3", 10, true)},
                    0xFFFFFFFFu, 0x0F000000u),
           fake::makeMemory(1000, 1000));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveAllClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Remove \"huge.mp4\" in Internal Memory"),
                                    QStringLiteral("Remove \"small.mp3\" in Internal Memory")}));
    EXPECT_EQ(job(0).Size, 0) << "a file of 2 GiB or more earns no credit";
    EXPECT_EQ(w->FReservedInternal, -10);
    ASSERT_EQ(prompts.records.size(), 2u);
    expectOwned(prompts.records[1],
                QStringLiteral("Can not remove \"long.mp3\": its name on the player is longer than 15 characters."),
                PromptIcon::Critical, PromptButtons::Ok);

    w->MainMenu_CancelAllClick();
    EXPECT_EQ(w->FReservedInternal, 0);
    // Formatting a memory with more than 2 GiB used promises no more than the range allows.
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    EXPECT_EQ(w->FReservedInternal, INT32_MIN);
}

TEST_F(QueueRemove, FormatIsRefusedWhileAnyJobRemains)
{
    attachFiles();
    selectPlayer(1, {"alpha.mp3"});
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveClick();
    prompts.records.clear();
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::No};
    w->Menu_FormatClick();
    w->Menu_FormatAllClick();
    w->Menu_FormatClick();
    ASSERT_EQ(prompts.records.size(), 3u) << "no confirmation follows the refusal";
    for (const PromptRecord &r : prompts.records)
        expectOwned(r, QStringLiteral("Can not format when job remains"), PromptIcon::Critical,
                    PromptButtons::YesNo);
    EXPECT_EQ(lines().size(), 1);
    EXPECT_EQ(w->FReservedInternal, -300);
}

TEST_F(QueueRemove, FormatTargetByPageOrDialog)
{
    attachFiles();
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->Menu_FormatClick(); // No to the confirmation
    EXPECT_TRUE(lines().isEmpty());
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    ASSERT_EQ(prompts.records.size(), 2u) << "no dialog on the Internal Memory page";
    expectOwned(prompts.records[1], formatQuestion, PromptIcon::Warning, PromptButtons::YesNo);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Internal Memory")}));
    EXPECT_EQ(job(0).Kind, jkFormatInternal);
    EXPECT_EQ(w->FReservedInternal, -6000);
    EXPECT_TRUE(panelShown());

    w->MainMenu_CancelAllClick();
    w->TabControl_PlayerFiles->setCurrentIndex(0);
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    prompts.dialogResults = {mrCancel, mrNo};
    w->Menu_FormatClick();
    EXPECT_TRUE(lines().isEmpty()) << "Cancel in the dialog queues nothing";
    w->Menu_FormatClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Memory Card")}));
    EXPECT_EQ(w->FReservedCard, -5000);
}

TEST_F(QueueRemove, ACardGoneWhileTheTargetDialogIsOpenIsNeverSwappedForTheInternalMemory)
{
    attachFiles();
    w->TabControl_PlayerFiles->setCurrentIndex(0);
    prompts.answers = {PromptAnswer::Yes};
    prompts.dialogResults = {ScriptedPrompts::kOwnResult};
    prompts.onPrompt = [&] {
        if (prompts.records.back().dialogTitle.isEmpty())
            return;
        target->Radio_External->click();
        fake::setStatus(psNoCard);
        w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer);
        ASSERT_FALSE(target->Radio_External->isEnabled());
        EXPECT_TRUE(target->Radio_External->isChecked());
        target->Button_Ok->click();
        QTest::keyClick(target.get(), Qt::Key_Return);
    };
    w->Menu_FormatClick();
    EXPECT_TRUE(lines().isEmpty()) << "only a confirmed card format, or nothing, may be queued";
}

TEST_F(QueueRemove, FormatAllTakesTheCardOnlyWhenUsable)
{
    attachFiles();
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatAllClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Internal Memory"),
                                    QStringLiteral("Format Memory Card")}));
    EXPECT_EQ(w->FReservedInternal, -6000);
    EXPECT_EQ(w->FReservedCard, -5000);

    w->MainMenu_CancelAllClick();
    fake::setStatus(psNoCard);
    w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer);
    ASSERT_FALSE(w->FCardPresent);
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatAllClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Internal Memory")}));
}

TEST_F(QueueRemove, CancellingAQueuedFormatLeavesWhatIsStillQueued)
{
    attachFiles();
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    w->Menu_FormatAllClick();
    makePcFile(QStringLiteral("a.mp3"), 5000);
    makePcFile(QStringLiteral("b.mp3"), 8000);
    selectPc({QStringLiteral("a.mp3")});
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();
    selectPc({QStringLiteral("b.mp3")});
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->MainMenu_DownloadToPlayerClick();
    selectPlayer(1, {"gamma.mp3"});
    w->RemoveClick();
    ASSERT_EQ(lines().size(), 5);
    EXPECT_EQ(w->FReservedInternal, -6000 + 5000 - 700);
    EXPECT_EQ(w->FReservedCard, -5000 + 8000);

    w->CheckList_CopyProgress->item(0)->setCheckState(Qt::Checked);
    w->MainMenu_CancelClick();
    EXPECT_EQ(lines().size(), 4);
    EXPECT_EQ(w->FReservedInternal, 5000 - 700) << "only the download and removal still queued";
    EXPECT_EQ(w->FReservedCard, 3000) << "the card's format is still queued";

    w->CheckList_CopyProgress->item(0)->setSelected(true);
    w->Menu_RemoveQueue->trigger();
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(w->FReservedCard, 8000);
    w->Menu_RemoveAllQueue->trigger();
    EXPECT_EQ(w->FReservedInternal, 0);
    EXPECT_EQ(w->FReservedCard, 0);
    EXPECT_TRUE(panelShown()) << "the panel stays even when the list is empty";
}

} // namespace

TEST_F(QueueRemove, AFullListSaysHowManyFilesItHidesAndAFormatCountsThem)
{
    std::vector<TFileEntry> files;
    for (int i = 0; i < kMaxPlayerFiles; ++i)
        files.push_back(fake::makeEntry("", QStringLiteral("R%1.MP3").arg(i).toStdString(), 10, false));
    TMemoryInfo internal = memoryOf(files);
    setHeldFileCount(internal, 300);
    attach(internal, memoryOf({fake::makeEntry("", "CARD.MP3", 10, false)}));
    const QString hidden = QStringLiteral(
        "45 files on Internal Memory are not listed: the player lists 255 files per memory at most.");
    EXPECT_EQ(w->statusText(3), hidden);
    EXPECT_EQ(w->hiddenPlayerFiles(mtInternal), 45u);
    EXPECT_EQ(w->hiddenPlayerFiles(mtCard), 0u);

    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->Menu_FormatClick();
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->Menu_FormatClick();
    w->Menu_FormatAllClick();
    ASSERT_EQ(prompts.records.size(), 3u);
    EXPECT_EQ(prompts.records[0].text, formatQuestion) << "the card hides nothing";
    const QString counted = formatQuestion
        + QStringLiteral("\n\nInternal Memory holds 300 files; 45 of them are not listed and will be "
                         "erased too.");
    EXPECT_EQ(prompts.records[1].text, counted);
    EXPECT_EQ(prompts.records[2].text, counted);
    EXPECT_TRUE(lines().isEmpty());

    w->setStatusText(3, QString());
    w->Button_RefreshClick();
    EXPECT_EQ(w->statusText(3), hidden) << "said again at each refresh";
    w->MainMenu_ImportRecordingsClick();
    EXPECT_EQ(w->statusText(3), QStringLiteral("No new recordings to import. ") + hidden)
        << "an import says what it could not see";
}
