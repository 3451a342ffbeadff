// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Import of new recordings: exactly the voice recordings of both memories
// whose wave file is not in the folder are queued, they arrive as wave files,
// nothing leaves the player, and the option imports at every arrival.
#include "queue_fixture.h"

#include "queue/import_memory.h"
#include "queue/job_kinds.h"
#include "voice/voice_conversion.h"

#include <QAction>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include <sys/stat.h>

namespace {

using Import = QueueTest;

TFileEntry named(const std::string &longName, const std::string &shortName)
{
    return fake::makeEntry(longName, shortName, 720, !longName.empty());
}

class ImportThreading : public QueueTest {
protected:
    static std::string voiceRecording()
    {
        std::ifstream in(TOVIX_TEST_DATA "/voice_mode0.VOC", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool pcHas(const QString &name) const { return QFile::exists(pc.filePath(name)); }
    QByteArray pcFile(const QString &name) const
    {
        QFile file(pc.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    void writePc(const QString &name, const QByteArray &bytes)
    {
        QFile file(pc.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // Another recording of the same length: the same frames, the first one last.
    static std::string otherRecording()
    {
        const std::string first = voiceRecording();
        return first.substr(72) + first.substr(0, 72);
    }
    // The wave file an import of these bytes makes.
    static QByteArray waveOf(const std::string &recording)
    {
        struct Yes : VoiceConversionUi {
            bool askOverwrite(const std::string &) override { return true; }
            void showMessage(const std::string &) override {}
        } ui;
        QTemporaryDir dir;
        const std::string voice = dir.filePath(QStringLiteral("r.VOC")).toStdString();
        std::ofstream(voice, std::ios::binary) << recording;
        EXPECT_EQ(convertVoiceFile(voice, ui), ConvertOutcome::Converted);
        QFile wave(dir.filePath(QStringLiteral("r.wav")));
        return wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray();
    }
    // The upload of each player name writes these bytes.
    static void uploadsWrite(std::map<std::string, std::string> contents)
    {
        fake::setOperationHook([contents](const fake::Call &call) {
            const auto found = contents.find(call.arg1);
            if (found != contents.end())
                std::ofstream(call.arg2, std::ios::binary | std::ios::trunc) << found->second;
        });
    }
};

void poll(TForm_TovixMan &w)
{
    w.Timer_CheckPlayerTimer(w.Timer_CheckPlayer);
}

} // namespace

// A wave file of the name proves nothing: this one can not hold the recording.
TEST_F(Import, QueuesExactlyTheRecordingsOfBothMemoriesNotYetImported)
{
    makePcFile(QStringLiteral("REC00001.wav"), 10);
    makePcFile(QStringLiteral("Morning walk.VOC.wav"), 10); // not the wave file of "Morning walk.VOC"
    attach(memoryOf({named("Morning walk.VOC", "MORNIN~1.VOC"), named("", "REC00001.VOC"),
                     named("song.mp3", "SONG.MP3"), named("rec00002.voc", "REC00002.VOC"),
                     named("VOC", "VOC"), named("memo.VOC.txt", "MEMOVO~1.TXT")}),
           memoryOf({named("", "REC00003.VOC"), named("", "REC00001.VOC"), named("Interview.Voc", "INTERV~1.VOC"),
                     named("", "REC00003.VOC")}));
    w->MainMenu_ImportRecordingsClick();

    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"Morning walk.VOC\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"REC00001.VOC\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"rec00002.voc\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"REC00003.VOC\" in Memory Card to PC"),
                                    QStringLiteral("Upload \"Interview.Voc\" in Memory Card to PC")}));
    const int32_t kinds[] = {jkUploadInternal, jkUploadInternal, jkUploadInternal, jkUploadCard, jkUploadCard};
    const char *players[] = {"MORNIN~1.VOC", "REC00001.VOC", "REC00002.VOC", "REC00003.VOC", "INTERV~1.VOC"};
    const char *files[] = {"Morning walk.VOC", "REC00001.VOC", "rec00002.voc", "REC00003.VOC", "Interview.Voc"};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(job(row).Kind, kinds[row]) << row;
        EXPECT_STREQ(job(row).PlayerName, players[row]);
        EXPECT_EQ(std::string(job(row).PcPath), pcPath(QString::fromLatin1(files[row])));
    }
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(w->statusText(3), QStringLiteral("5 recordings queued for import."));
    EXPECT_TRUE(prompts.records.empty());

    // What is on its way is not queued again.
    w->MainMenu_ImportRecordingsClick();
    EXPECT_EQ(lines().size(), 5);
    EXPECT_EQ(w->statusText(3), QStringLiteral("No new recordings to import."));
}

TEST_F(Import, ARecordingTheUserHasQueuedForUploadIsNotQueuedAgain)
{
    attach(memoryOf({named("", "REC00001.VOC"), named("", "REC00002.VOC")}), memoryOf({}));
    selectPlayer(1, {"REC00002.VOC"});
    w->MainMenu_UploadFromPlayerClick();
    w->MainMenu_ImportRecordingsClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"REC00002.VOC\" in Internal Memory to PC"),
                                    QStringLiteral("Upload \"REC00001.VOC\" in Internal Memory to PC")}));
}

TEST_F(Import, TheToolButtonWorksOnlyWhileAPlayerIsAttachedAndSkipsAnUnusableCard)
{
    EXPECT_FALSE(w->Button_Import->isEnabled());
    EXPECT_EQ(w->Button_Import->accessibleName(), QStringLiteral("Import new recordings"));
    attach(memoryOf({named("", "REC00001.VOC")}), memoryOf({named("", "REC00002.VOC")}), psNoCard);
    ASSERT_TRUE(w->Button_Import->isEnabled());
    w->Button_Import->click();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"REC00001.VOC\" in Internal Memory to PC")}));
    fake::setVersion(0);
    poll(*w);
    EXPECT_FALSE(w->Button_Import->isEnabled());
}

TEST_F(Import, TheOptionImportsAtEveryArrivalIntoTheFolderItWasChosenIn)
{
    const TMemoryInfo internal = memoryOf({named("", "REC00001.VOC")});
    attach(internal, memoryOf({}));
    EXPECT_TRUE(lines().isEmpty()) << "off by default";
    EXPECT_FALSE(w->MainMenu_ImportOnArrival->isChecked());

    w->MainMenu_ImportOnArrival->trigger();
    ASSERT_TRUE(w->FImportOnArrival);
    EXPECT_EQ(w->FImportFolder, pc.path());
    QTemporaryDir elsewhere;
    w->FolderView->setCurrentDirectory(elsewhere.path());
    fake::setVersion(0);
    poll(*w);
    fake::setVersion(1);
    poll(*w);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"REC00001.VOC\" in Internal Memory to PC")}));
    EXPECT_EQ(std::string(job(0).PcPath), pcPath(QStringLiteral("REC00001.VOC")));
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 recording queued for import."));
    // Later polls of the same visit import nothing more.
    poll(*w);
    EXPECT_EQ(lines().size(), 1);

    w->MainMenu_CancelAllClick();
    w->FImportFolder = pc.filePath(QStringLiteral("gone"));
    fake::setVersion(0);
    poll(*w);
    fake::setVersion(1);
    poll(*w);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(w->statusText(3), QStringLiteral("Recordings not imported: the folder %1 is not there.")
                                    .arg(pc.filePath(QStringLiteral("gone"))));

    w->MainMenu_ImportOnArrival->trigger();
    EXPECT_FALSE(w->FImportOnArrival);
    fake::setVersion(0);
    poll(*w);
    fake::setVersion(1);
    poll(*w);
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(ImportThreading, RecordingsArriveAsWaveFilesAndStayOnThePlayer)
{
    fake::setUploadContent(voiceRecording());
    // The second recording arrives damaged, so its conversion fails.
    fake::setOperationHook([](const fake::Call &call) {
        if (call.arg1 == "REC00002.VOC")
            std::ofstream(call.arg2, std::ios::binary | std::ios::trunc) << "not a voice frame";
    });
    attach(memoryOf({named("Morning walk.VOC", "MORNIN~1.VOC"), named("", "REC00002.VOC")}),
           memoryOf({named("", "REC00003.VOC")}));
    w->MainMenu_ImportRecordingsClick();
    ASSERT_EQ(lines().size(), 3);
    ASSERT_TRUE(runQueue());

    EXPECT_TRUE(pcHas(QStringLiteral("Morning walk.wav")));
    EXPECT_TRUE(pcHas(QStringLiteral("REC00003.wav")));
    EXPECT_FALSE(pcHas(QStringLiteral("Morning walk.VOC")));
    EXPECT_FALSE(pcHas(QStringLiteral("REC00002.wav")));
    EXPECT_EQ(w->statusText(3), QStringLiteral("2 of 3 new recordings imported."));
    for (const fake::Call &call : operations())
        EXPECT_EQ(call.function, "dll_fn_upload_file");
    EXPECT_EQ(operations().size(), 3u);

    // The next import takes only what is still missing.
    // The damaged copy was kept on the PC, so the user is asked first.
    fake::setOperationHook(nullptr);
    prompts.records.clear();
    prompts.answers.push_back(PromptAnswer::Yes);
    w->MainMenu_ImportRecordingsClick();
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"REC00002.VOC\" in Internal Memory to PC")}));
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(pcHas(QStringLiteral("REC00002.wav")));
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 recording imported."));
}

// The card went away during the second upload: the user's older file of that
// name stays as it was, nothing converts it, and the one box names what failed
// beside the count of what arrived.
TEST_F(ImportThreading, AFailedUploadLeavesTheOlderPcFileAndIsNotCounted)
{
    const std::string older = otherRecording();
    writePc(QStringLiteral("REC00002.VOC"), QByteArray::fromStdString(older));
    fake::setUploadContent(voiceRecording());
    fake::setOperationHook([](const fake::Call &call) {
        if (call.arg1 == "REC00003.VOC")
            std::ofstream(call.arg2, std::ios::binary | std::ios::trunc) << "not a voice frame";
        if (call.arg1 != "REC00001.VOC") {
            fake::setOperationResult(0);
            fake::setUploadContent(std::nullopt);
        }
    });
    const auto size = uint32_t(older.size());
    attach(memoryOf({fake::makeEntry("", "REC00001.VOC", size, false), fake::makeEntry("", "REC00003.VOC", size, false)}),
           memoryOf({fake::makeEntry("", "REC00002.VOC", size, false)}));
    prompts.answers = {PromptAnswer::Yes}; // Replace it ?
    w->MainMenu_ImportRecordingsClick();
    ASSERT_EQ(lines().size(), 3);
    ASSERT_TRUE(runQueue());

    EXPECT_EQ(pcFile(QStringLiteral("REC00002.VOC")), QByteArray::fromStdString(older));
    EXPECT_FALSE(pcHas(QStringLiteral("REC00002.wav")));
    EXPECT_EQ(pcFile(QStringLiteral("REC00001.wav")), waveOf(voiceRecording()));
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 of 3 new recordings imported."));
    ASSERT_EQ(prompts.records.size(), 2u) << "the question, then one box for the whole import";
    EXPECT_EQ(prompts.records[1].text,
              QStringLiteral("1 of 3 new recordings imported.\n\nThese 2 operations failed:\n\n"
                             "Upload \"REC00003.VOC\" in Internal Memory to PC: Wrong voice file\n"
                             "Upload \"REC00002.VOC\" in Memory Card to PC"));
}

// A recorder counts again from REC00001: a different recording under a name
// whose wave file is there arrives beside it, one whose wave file holds it
// already does not, and what arrived never arrives again, even once its wave
// file is renamed and the program started anew.
TEST_F(ImportThreading, AReusedNameWithADifferentRecordingArrivesUnderAFreeNameOnce)
{
    const std::string earlier = voiceRecording(), newer = otherRecording();
    ASSERT_EQ(earlier.size(), newer.size());
    ASSERT_NE(waveOf(earlier), waveOf(newer));
    writePc(QStringLiteral("REC00001.wav"), waveOf(earlier));
    writePc(QStringLiteral("REC00002.wav"), waveOf(earlier));
    uploadsWrite({{"REC00001.VOC", newer}, {"REC00002.VOC", earlier}});
    const TMemoryInfo internal = memoryOf({fake::makeEntry("", "REC00001.VOC", uint32_t(newer.size()), false),
                                           fake::makeEntry("", "REC00002.VOC", uint32_t(earlier.size()), false)});
    attach(internal, memoryOf({}));
    w->MainMenu_ImportRecordingsClick();
    ASSERT_EQ(lines().size(), 2);
    ASSERT_TRUE(runQueue());

    EXPECT_EQ(pcFile(QStringLiteral("REC00001 (2).wav")), waveOf(newer));
    EXPECT_EQ(pcFile(QStringLiteral("REC00001.wav")), waveOf(earlier));
    EXPECT_EQ(pcFile(QStringLiteral("REC00002.wav")), waveOf(earlier));
    EXPECT_EQ(QDir(pc.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 recording imported. Under a new name, as their names were "
                                               "taken: \"REC00001 (2).wav\"."));
    EXPECT_TRUE(prompts.records.empty());

    w->MainMenu_ImportRecordingsClick();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(w->statusText(3), QStringLiteral("No new recordings to import."));

    ASSERT_TRUE(QFile::rename(pc.filePath(QStringLiteral("REC00001 (2).wav")), pc.filePath(QStringLiteral("Interview.wav"))));
    w.reset();
    w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc.path());
    w->Timer_Transfer->stop();
    w->Timer_CheckPlayer->stop();
    attach(internal, memoryOf({}));
    w->MainMenu_ImportRecordingsClick();
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(w->statusText(3), QStringLiteral("No new recordings to import."));
}

// A wave file of the same bytes that another user owns, or that anyone may
// write, proves nothing lasting: it could be emptied once the new one is gone,
// so the new one stays.
TEST_F(ImportThreading, AnIdenticalWaveFileOthersCanChangeDoesNotStandForTheRecording)
{
    const std::string recording = voiceRecording();
    writePc(QStringLiteral("REC00001.wav"), waveOf(recording));
    ASSERT_EQ(::chmod(QFile::encodeName(pc.filePath(QStringLiteral("REC00001.wav"))).constData(), 0666), 0);
    std::vector<TFileEntry> files{fake::makeEntry("", "REC00001.VOC", uint32_t(recording.size()), false)};
    std::map<std::string, std::string> uploads{{"REC00001.VOC", recording}};
    if (::geteuid() == 0) { // only the superuser can give a file away
        writePc(QStringLiteral("REC00002.wav"), waveOf(recording));
        ASSERT_EQ(::chown(QFile::encodeName(pc.filePath(QStringLiteral("REC00002.wav"))).constData(), 65534, 65534), 0);
        files.push_back(fake::makeEntry("", "REC00002.VOC", uint32_t(recording.size()), false));
        uploads["REC00002.VOC"] = recording;
    }
    uploadsWrite(uploads);
    attach(memoryOf(files), memoryOf({}));
    w->MainMenu_ImportRecordingsClick();
    ASSERT_TRUE(runQueue());

    EXPECT_EQ(pcFile(QStringLiteral("REC00001 (2).wav")), waveOf(recording));
    if (files.size() > 1) {
        EXPECT_EQ(pcFile(QStringLiteral("REC00002 (2).wav")), waveOf(recording));
    }
}

// A named pipe where the memory's file belongs is never waited on, nor replaced.
TEST_F(ImportThreading, AMemoryFileThatIsANamedPipeAnswersAtOnceAndStays)
{
    const std::string pipe = settings.filePath(QStringLiteral("imports-pipe")).toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::atomic<bool> answered{false}, unblocked{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 50 && !answered; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!answered) { // a reader stuck in open() gets the end of the pipe
            unblocked = true;
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    {
        ImportMemory memory(pipe);
        EXPECT_FALSE(memory.holds(mtInternal, "REC00001.VOC", 720));
        answered = true;
        memory.remember({mtInternal, "REC00001.VOC", 720, std::string(64, 'a'), "REC00001.wav", false});
    }
    watchdog.join();
    EXPECT_FALSE(unblocked) << "the memory waited on the pipe";
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
