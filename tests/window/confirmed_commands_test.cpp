// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A command that shows a dialog acts on what was chosen before it, even when
// the lists are read again while the dialog is open (a job completing under
// it); and nothing on the PC is replaced without asking.
#include "queue_fixture.h"

#include <QFile>

namespace {

class ConfirmedCommands : public QueueTest {
protected:
    void attachFiles(const std::vector<TFileEntry> &internal)
    {
        attach(memoryOf(internal, 10000, 4000),
               memoryOf({fake::makeEntry("card.mp3", "CARD.MP3", 2000, true)}, 20000, 15000));
    }
    // Inside the dialog the lists are read again, as a completing job does; the selection goes.
    void refreshUnderEachDialog()
    {
        prompts.onPrompt = [this] {
            w->RefreshPlayerFiles();
            ASSERT_TRUE(w->activePageList()->selectedItems().isEmpty());
        };
    }
};

TEST_F(ConfirmedCommands, RemoveActsOnTheFilesChosenBeforeTheQuestion)
{
    attachFiles({fake::makeEntry("alpha.mp3", "ALPHA.MP3", 300, true),
                 fake::makeEntry("gamma.mp3", "GAMMA.MP3", 700, true)});
    selectPlayer(1, {"gamma.mp3"});
    refreshUnderEachDialog();
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveClick();
    ASSERT_EQ(lines(), QStringList({QStringLiteral("Remove \"gamma.mp3\" in Internal Memory")}));
    EXPECT_STREQ(job(0).PlayerName, "GAMMA.MP3");
    EXPECT_EQ(job(0).Size, 700);
    EXPECT_EQ(w->FReservedInternal, -700);
}

TEST_F(ConfirmedCommands, UploadGoesOnPastARefusalWithEveryChosenFile)
{
    attachFiles({fake::makeEntry("a.mp3", "A.MP3", 10, true),
                 fake::makeEntry("../evil.mp3", "EVIL.MP3", 10, true),
                 fake::makeEntry("c.mp3", "C.MP3", 10, true),
                 fake::makeEntry("d.mp3", "D.MP3", 10, true)});
    selectPlayer(1, {"a.mp3", "../evil.mp3", "c.mp3", "d.mp3"});
    refreshUnderEachDialog();
    w->MainMenu_UploadFromPlayerClick();
    ASSERT_EQ(prompts.records.size(), 1u) << "the refusal of the unsafe name";
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"a.mp3\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"c.mp3\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"d.mp3\" in Internal Memory to PC")}));
    EXPECT_STREQ(job(2).PlayerName, "D.MP3");
}

TEST_F(ConfirmedCommands, DownloadTakesThePcFilesBeforeTheTargetDialog)
{
    attachFiles({});
    makePcFile(QStringLiteral("song.mp3"), 100);
    selectPc({QStringLiteral("song.mp3")});
    QTemporaryDir elsewhere;
    // The list moves to another folder while the dialog is open.
    prompts.onPrompt = [&] {
        w->FolderView->setCurrentDirectory(elsewhere.path());
        ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    };
    prompts.dialogResults = {mrYes};
    w->TabControl_PlayerFiles->setCurrentIndex(0);
    w->MainMenu_DownloadToPlayerClick();
    ASSERT_EQ(lines(), QStringList({QStringLiteral("Download \"song.mp3\" to Internal Memory")}));
    EXPECT_STREQ(job(0).PcPath, pcPath(QStringLiteral("song.mp3")).c_str());
}

TEST_F(ConfirmedCommands, FormatKeepsTheMemoryOfThePageItWasGivenOn)
{
    attachFiles({fake::makeEntry("alpha.mp3", "ALPHA.MP3", 300, true)});
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    // The card's page gives way to All while the question is open (the card went away).
    prompts.onPrompt = [this] { w->TabControl_PlayerFiles->setCurrentIndex(0); };
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Format Memory Card")}));
    EXPECT_EQ(prompts.records.size(), 1u) << "no target dialog";
}

TEST_F(ConfirmedCommands, UploadAsksBeforeReplacingAPcFile)
{
    attachFiles({fake::makeEntry("song.mp3", "SONG.MP3", 10, true),
                 fake::makeEntry("memo.VOC", "MEMO.VOC", 72, true),
                 fake::makeEntry("new.mp3", "NEW.MP3", 10, true)});
    makePcFile(QStringLiteral("song.mp3"), 5);
    makePcFile(QStringLiteral("memo.VOC"), 5);
    QDir(pc.path()).mkdir(QStringLiteral("new.mp3")); // a folder is not a file to replace
    selectPlayer(1, {"song.mp3", "memo.VOC", "new.mp3"});
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    w->MainMenu_UploadFromPlayerClick();

    ASSERT_EQ(prompts.records.size(), 2u);
    for (const PromptRecord &r : prompts.records) {
        EXPECT_EQ(r.owner, w.get());
        EXPECT_EQ(r.icon, PromptIcon::Warning);
        EXPECT_EQ(r.buttons, PromptButtons::YesNo);
    }
    EXPECT_TRUE(prompts.records[0].text.contains(QStringLiteral("\"song.mp3\"")));
    EXPECT_TRUE(prompts.records[1].text.contains(QStringLiteral("\"memo.VOC\"")));
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"memo.VOC\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"new.mp3\" in Internal Memory to PC")}));
}

} // namespace
