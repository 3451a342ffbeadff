// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Upload from the player: kinds by tab or storage, the destination and line
// from the display name, the player name from the short name, and names from
// the player that are not trusted, and names that read like markup.
#include "queue_fixture.h"

#include "explorer/folder_tree.h"
#include "sync_hook.h"
#include "voice/voice_conversion.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace {

using QueueUpload = QueueTest;

class QueueUploadThreading : public QueueTest {
protected:
    void TearDown() override { SyncHook::clear(); }
};

TFileEntry entry(const std::string &longName, const std::string &shortName, uint32_t size = 100)
{
    return fake::makeEntry(longName, shortName, size, !longName.empty());
}

TEST_F(QueueUpload, NothingSelected)
{
    attachEmpty();
    selectPlayer(1, {});
    w->MainMenu_UploadFromPlayerClick();
    w->UploadallfilesinPlayertoPC1Click();
    ASSERT_EQ(prompts.records.size(), 2u);
    for (const PromptRecord &r : prompts.records) {
        EXPECT_EQ(r.text, QStringLiteral("Please select files to upload"));
        EXPECT_EQ(r.owner, nullptr);
        EXPECT_EQ(r.icon, PromptIcon::None);
    }
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(panelShown());
}

TEST_F(QueueUpload, KindsByTabAndStorageInListOrder)
{
    attach(memoryOf({entry("Alpha Song.mp3", "ALPHAS~1.MP3"), entry("", "CHARLIE.VOC")}),
           memoryOf({entry("", "BRAVO.MP3"), entry("delta.wma", "DELTA.WMA")}));
    selectPlayer(0, {"Alpha Song.mp3", "BRAVO.MP3", "CHARLIE.VOC", "delta.wma"});
    // The All list shows the internal files first, then the card's.
    ASSERT_EQ(w->FileList_All->topLevelItem(1)->text(0), QStringLiteral("CHARLIE.VOC"));
    ASSERT_EQ(w->FileList_All->topLevelItem(2)->text(0), QStringLiteral("BRAVO.MP3"));
    w->MainMenu_UploadFromPlayerClick();

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"Alpha Song.mp3\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"CHARLIE.VOC\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"BRAVO.MP3\" in Memory Card to PC"),
                                    QStringLiteral("Upload \"delta.wma\" in Memory Card to PC")}));
    const int32_t kinds[] = {jkUploadInternal, jkUploadInternal, jkUploadCard, jkUploadCard};
    const char *players[] = {"ALPHAS~1.MP3", "CHARLIE.VOC", "BRAVO.MP3", "DELTA.WMA"};
    const char *files[] = {"Alpha Song.mp3", "CHARLIE.VOC", "BRAVO.MP3", "delta.wma"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(job(row).Kind, kinds[row]);
        EXPECT_STREQ(job(row).PlayerName, players[row]);
        EXPECT_EQ(std::string(job(row).PcPath), pcPath(QString::fromLatin1(files[row])));
    }
    EXPECT_EQ(w->FReservedInternal, 0);
    EXPECT_EQ(w->FReservedCard, 0);
    EXPECT_TRUE(panelShown());

    w->MainMenu_CancelAllClick();
    selectPlayer(1, {"Alpha Song.mp3"});
    w->MainMenu_UploadFromPlayerClick();
    selectPlayer(2, {"BRAVO.MP3"});
    w->MainMenu_UploadFromPlayerClick();
    ASSERT_EQ(lines().size(), 2);
    EXPECT_EQ(job(0).Kind, jkUploadInternal);
    EXPECT_EQ(job(1).Kind, jkUploadCard);
}

TEST_F(QueueUpload, UploadAllTakesEveryFileOfTheTabOnly)
{
    attach(memoryOf({entry("", "IN.MP3")}),
           memoryOf({entry("", "ONE.MP3"), entry("", "TWO.MP3")}));
    w->TabControl_PlayerFiles->setCurrentIndex(2);
    w->UploadallfilesinPlayertoPC1Click();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"ONE.MP3\" in Memory Card to PC"),
                                    QStringLiteral("Upload \"TWO.MP3\" in Memory Card to PC")}));
    EXPECT_EQ(w->FileList_External->selectedItems().size(), 2) << "the selection stays";
}

TEST_F(QueueUpload, NamesThatAreNotPlainFileNamesAreRefused)
{
    attach(memoryOf({entry("../escape.mp3", "ESCAPE.MP3"), entry("sub/dir.mp3", "SUBDIR.MP3"),
                     entry(".", "DOT.MP3"), entry("..", "DOTDOT.MP3"),
                     fake::makeEntry("", "EMPTY.MP3", 5, true), entry("fine.mp3", "FINE.MP3")}),
           fake::makeMemory(1000, 1000));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->UploadallfilesinPlayertoPC1Click();

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"fine.mp3\" in Internal Memory to PC")}));
    ASSERT_EQ(prompts.records.size(), 5u);
    QStringList refusedShortNames;
    for (const PromptRecord &r : prompts.records) {
        EXPECT_EQ(r.icon, PromptIcon::Critical);
        EXPECT_EQ(r.owner, w.get());
        EXPECT_TRUE(r.text.startsWith(QStringLiteral("Can not upload \""))) << r.text.toStdString();
        EXPECT_TRUE(r.text.endsWith(QStringLiteral("that name can not be used for a file on the PC.")));
        refusedShortNames << r.text.section(QLatin1Char('('), 1).section(QLatin1Char(' '), 0, 0);
    }
    refusedShortNames.sort();
    EXPECT_EQ(refusedShortNames, QStringList({"DOT.MP3", "DOTDOT.MP3", "EMPTY.MP3", "ESCAPE.MP3",
                                              "SUBDIR.MP3"}));
}

TEST_F(QueueUpload, OverlongNamesAndPathsAreRefusedAndTheOthersGo)
{
    const QString deep = pc.filePath(QString(200, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkpath(deep));
    const std::string longName(259 - deep.size(), 'x'); // one character too many
    attach(memoryOf({entry("a.mp3", "A.MP3"), entry("b.mp3", "SIXTEEN_CHARS.MP"),
                     entry(longName, "LONG.MP3"), entry("c.mp3", "C.MP3")}),
           fake::makeMemory(1000, 1000));
    w->FolderView->setCurrentDirectory(deep);
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->UploadallfilesinPlayertoPC1Click();

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"a.mp3\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"c.mp3\" in Internal Memory to PC")}));
    EXPECT_EQ(std::string(job(1).PcPath), (deep + QStringLiteral("/c.mp3")).toStdString());
    ASSERT_EQ(prompts.records.size(), 2u);
    EXPECT_EQ(prompts.records[0].text,
              QStringLiteral("Can not upload \"b.mp3\": its name on the player is longer than 15 characters."));
    EXPECT_EQ(prompts.records[1].text,
              QStringLiteral("Can not upload \"%1\": the path on the PC would be longer than 259 characters.")
                  .arg(QString::fromStdString(longName)));
    EXPECT_EQ(prompts.records[1].icon, PromptIcon::Critical);
}

TEST_F(QueueUpload, PlayerFilesDroppedOnThePcListUploadTheSelection)
{
    attach(memoryOf({entry("song.mp3", "SONG.MP3")}), fake::makeMemory(1000, 1000));
    selectPlayer(1, {"song.mp3"});
    emit w->FolderView->playerFilesDropped();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"song.mp3\" in Internal Memory to PC")}));
}

// A name that is not UTF-8 (an old FAT drive's) converts from the very file its
// upload wrote, and the wave file takes the same bytes.
TEST_F(QueueUpload, ARecordingWhoseNameIsNotUtf8ConvertsUnderItsOwnBytes)
{
    QFile voice(TOVIX_TEST_DATA "/voice_mode0.VOC");
    ASSERT_TRUE(voice.open(QIODevice::ReadOnly));
    fake::setUploadContent(voice.readAll().toStdString());
    attach(memoryOf({entry("caf\xe9.VOC", "CAFE.VOC", uint32_t(voice.size()))}),
           fake::makeMemory(1000, 1000));
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->UploadallfilesinPlayertoPC1Click();
    ASSERT_TRUE(runQueue());

    EXPECT_TRUE(prompts.records.empty()) << prompts.records.front().text.toStdString();
    const std::string folder = QFile::encodeName(pc.path()).toStdString();
    EXPECT_TRUE(hasWaveFile(folder + "/caf\xe9.VOC"));
    EXPECT_NE(::access((folder + "/caf\xe9.VOC").c_str(), F_OK), 0) << "converted, then removed";
    ::unlink((folder + "/caf\xe9.wav").c_str()); // a name Qt's own clean-up cannot spell
}

// An image tag of a huge size, laid out, held the window for seconds and took
// gigabytes: wherever a name shows, it shows as itself.
TEST_F(QueueUpload, NamesThatReadLikeMarkupShowAsThemselves)
{
    const auto shown = [](const QString &tip) { // as a tooltip or an automatic label puts it on screen
        QTextDocument page;
        page.setHtml(tip);
        return Qt::mightBeRichText(tip) ? page.toPlainText() : tip;
    };
    const QString image = "<img src=\"x\" width=\"900\" height=\"900\">", folder = pc.filePath(image);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *suffix : {".mp3", ".wav"}) // the wave makes the conversion ask
        ASSERT_TRUE(QFile(folder + '/' + image + suffix).open(QIODevice::WriteOnly));
    QFile voice(TOVIX_TEST_DATA "/voice_mode0.VOC");
    ASSERT_TRUE(voice.open(QIODevice::ReadOnly));
    fake::setUploadContent(voice.readAll().toStdString());
    attach(memoryOf({entry((image + ".VOC").toStdString(), "IMAGE.VOC", uint32_t(voice.size())),
                     entry((image + "2.mp3").toStdString(), "SIXTEEN_CHARS.MP")}),
           fake::makeMemory(1000, 1000));
    w->FolderView->setCurrentDirectory(folder);
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    const QAbstractItemView *files = w->FolderView->currentView();
    for (int row = 0; row < 2; ++row) {
        const QModelIndex item = files->model()->index(row, 0, files->rootIndex());
        EXPECT_TRUE(shown(item.data(Qt::ToolTipRole).toString()).startsWith(image + '.'));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->FolderTree->selectedNodePath() == folder; }));
    EXPECT_EQ(shown(w->FolderTree->currentIndex().data(Qt::ToolTipRole).toString()), folder);

    prompts.onPrompt = [&] {
        if (prompts.records.size() < 2)
            return;
        EXPECT_EQ(w->statusText(3), QString("Converting \"%1.VOC\"...").arg(image));
        for (const QLabel *label : w->findChildren<QLabel *>())
            EXPECT_TRUE(label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text()));
    };
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->UploadallfilesinPlayertoPC1Click();
    ASSERT_TRUE(runQueue());
    ASSERT_EQ(prompts.records.size(), 2u) << "a refusal naming the file, then the question while converting";
    EXPECT_TRUE(prompts.records[0].text.startsWith(QString("Can not upload \"%1").arg(image)));
    for (const PromptRecord &r : prompts.records)
        EXPECT_EQ(newMessageBox(r.owner, r.title, r.text, r.icon, r.buttons)->textFormat(), Qt::PlainText);
}

// Done means the file is there after a power cut: its name is in the folder
// on the disk, and a folder that can not be synced fails the upload.
TEST_F(QueueUploadThreading, AnUploadIsDoneOnlyOnceItsNameIsOnTheDisk)
{
    struct stat folder {};
    ASSERT_EQ(::stat(QFile::encodeName(pc.path()).constData(), &folder), 0);
    std::atomic<int> folderSyncs{0};
    SyncHook::beforeSync([&](int fd) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_dev == folder.st_dev && st.st_ino == folder.st_ino)
            ++folderSyncs;
    });
    attach(memoryOf({entry("song.mp3", "SONG.MP3"), entry("talk.mp3", "TALK.MP3")}), fake::makeMemory(1000, 1000));
    selectPlayer(1, {"song.mp3"});
    w->MainMenu_UploadFromPlayerClick();
    tick();
    ASSERT_TRUE(waitPosted());
    EXPECT_EQ(folderSyncs, 1) << "synced before the worker said done";
    EXPECT_EQ(w->FJobResult, 1);

    SyncHook::failFolderSyncs(true);
    selectPlayer(1, {"talk.mp3"});
    w->MainMenu_UploadFromPlayerClick();
    ASSERT_TRUE(runQueue());
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 operation failed."));
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.endsWith(QStringLiteral("Upload \"talk.mp3\" in Internal Memory to PC")));
}

} // namespace
