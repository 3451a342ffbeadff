// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A long recording converts on a thread of its own after its upload while the
// window handles its events: the busy bar counts up, commands still queue and
// cancel, ticks start nothing, closing lets it finish, its question is asked
// by the window while it waits, and the wave file is the same as the engine
// alone makes.
#include "queue_fixture.h"

#include "sync_hook.h"
#include "voice/voice_conversion.h"

#include <QDirIterator>
#include <QLabel>
#include <QProgressBar>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

class SilentUi : public VoiceConversionUi {
public:
    bool askOverwrite(const std::string &) override { return true; }
    void showMessage(const std::string &) override {}
};

std::string longRecording()
{
    std::ifstream in(TOVIX_TEST_DATA "/voice_mode0.VOC", std::ios::binary);
    const std::string sample{std::istreambuf_iterator<char>(in), {}};
    std::string out;
    for (int i = 0; i < 200; ++i) // about 30,000 frames, 37 minutes
        out += sample;
    return out;
}

class QueueConversionThreading : public QueueTest {
protected:
    void SetUp() override
    {
        recording = longRecording();
        fake::setUploadContent(recording);
        attach(memoryOf({fake::makeEntry("memo.VOC", "MEMO.VOC", uint32_t(recording.size()), true),
                         fake::makeEntry("next.mp3", "NEXT.MP3", 10, true)}),
               fake::makeMemory(1000, 1000));
        selectPlayer(1, {"memo.VOC"});
        w->MainMenu_UploadFromPlayerClick();
        tick();
        ASSERT_TRUE(waitPosted());
    }

    // Runs during the conversion, on the window's thread, whenever it handles events.
    void duringConversion(std::function<void()> check)
    {
        auto *timer = new QTimer(w.get());
        QObject::connect(timer, &QTimer::timeout, w.get(), [this, timer, check] {
            if (w->FConverting) {
                ++beats;
                check();
            }
            (void)timer;
        });
        timer->start(0);
    }

    QByteArray reference() const
    {
        QTemporaryDir dir;
        const std::string voice = dir.filePath(QStringLiteral("memo.VOC")).toStdString();
        std::ofstream(voice, std::ios::binary) << recording;
        SilentUi ui;
        EXPECT_EQ(convertVoiceFile(voice, ui), ConvertOutcome::Converted);
        QFile wave(dir.filePath(QStringLiteral("memo.wav")));
        EXPECT_TRUE(wave.open(QIODevice::ReadOnly));
        return wave.readAll();
    }

    QByteArray converted() const
    {
        QFile wave(pc.filePath(QStringLiteral("memo.wav")));
        EXPECT_TRUE(wave.open(QIODevice::ReadOnly));
        return wave.readAll();
    }

    QByteArray pcFile(const QString &name) const
    {
        QFile file(pc.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    QStringList pcEntries() const
    {
        QStringList names;
        QDirIterator it(pc.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext())
            names << QFileInfo(it.next()).fileName();
        names.sort();
        return names;
    }

    void TearDown() override { SyncHook::clear(); }

    std::string recording;
    int beats = 0;
};

} // namespace

TEST_F(QueueConversionThreading, TheWindowAnswersAndShowsHowFarItHasGot)
{
    int lastPercent = -1;
    bool counting = true;
    QString status;
    duringConversion([&] {
        const int percent = w->ProgressBar_Busy->value();
        counting &= w->ProgressBar_Busy->maximum() == 100 && percent >= lastPercent;
        lastPercent = percent;
        status = w->statusText(3);
    });
    tick();
    EXPECT_GT(beats, 5) << "events were handled while the recording converted";
    EXPECT_TRUE(counting);
    EXPECT_GT(lastPercent, 50);
    EXPECT_EQ(status, QStringLiteral("Converting \"memo.VOC\"..."));
    EXPECT_FALSE(w->FConverting);
    EXPECT_EQ(converted(), reference());
    EXPECT_EQ(pcEntries(), QStringList({QStringLiteral("memo.wav")}));
    EXPECT_EQ(w->ProgressBar_Busy->maximum(), 0) << "busy again, without a percentage";
}

TEST_F(QueueConversionThreading, TicksStartNothingWhileCommandsStillQueueAndCancel)
{
    const size_t callsBefore = operations().size();
    bool queuedAndCancelled = false;
    duringConversion([&] {
        w->Timer_TransferTimer();
        w->Timer_TransferTimer();
        EXPECT_EQ(operations().size(), callsBefore) << "no job starts, no second conversion";
        EXPECT_TRUE(w->FJobRunning);
        if (!queuedAndCancelled) {
            selectPlayer(1, {"next.mp3"});
            w->MainMenu_UploadFromPlayerClick();
            selectPlayer(1, {"next.mp3"});
            w->MainMenu_UploadFromPlayerClick();
            w->CheckList_CopyProgress->item(2)->setCheckState(Qt::Checked);
            w->MainMenu_CancelClick();
            queuedAndCancelled = true;
        }
    });
    tick();
    ASSERT_TRUE(queuedAndCancelled);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Upload \"next.mp3\" in Internal Memory to PC")}));
    ASSERT_TRUE(runQueue());
    EXPECT_EQ(converted(), reference());
}

TEST_F(QueueConversionThreading, ClosingLetsTheConversionFinishWhole)
{
    duringConversion([&] {
        if (w->isVisible())
            w->close();
    });
    tick();
    EXPECT_TRUE(w->FClosing);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(converted(), reference());
    EXPECT_EQ(pcEntries(), QStringList({QStringLiteral("memo.wav")}))
        << "no half wave file, no temporary, the uploaded copy converted";
}

TEST_F(QueueConversionThreading, TheQuestionIsAskedByTheWindowWhileTheEngineWaitsForIt)
{
    makePcFile(QStringLiteral("memo.wav"), 10);
    const QByteArray older = pcFile(QStringLiteral("memo.wav"));
    bool onWindowThread = false;
    bool untouchedWhileAsked = true;
    prompts.onPrompt = [&] {
        onWindowThread = QThread::currentThread() == qApp->thread();
        QTest::qWait(100); // the user takes a while to answer
        untouchedWhileAsked = w->FConverting && pcFile(QStringLiteral("memo.wav")) == older
            && w->ProgressBar_Busy->value() == 0;
    };
    tick();
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("File already exists, Overwrite ?")}));
    EXPECT_TRUE(onWindowThread);
    EXPECT_TRUE(untouchedWhileAsked);
    EXPECT_EQ(pcFile(QStringLiteral("memo.wav")), older) << "answered No";
    EXPECT_EQ(pcFile(QStringLiteral("memo.VOC")), QByteArray::fromStdString(recording));
    EXPECT_FALSE(w->FJobRunning) << "the job completed";
}

TEST_F(QueueConversionThreading, ClosingBeforeTheQuestionAsksItAndFinishesTheConversion)
{
    makePcFile(QStringLiteral("memo.wav"), 10);
    prompts.answers = {PromptAnswer::Yes};
    w->Timer_TransferTimer(); // the conversion starts; its question is not yet shown
    ASSERT_TRUE(w->FConverting);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->FConverting);
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("File already exists, Overwrite ?")}));
    EXPECT_EQ(converted(), reference());
    EXPECT_EQ(pcEntries(), QStringList({QStringLiteral("memo.wav")}));
}

TEST_F(QueueConversionThreading, AWindowDestroyedWhileTheQuestionWaitsLeavesBothFiles)
{
    makePcFile(QStringLiteral("memo.wav"), 10);
    const QByteArray older = pcFile(QStringLiteral("memo.wav"));
    w->Timer_TransferTimer();
    ASSERT_TRUE(w->FConverting);
    w.reset();
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_EQ(pcFile(QStringLiteral("memo.wav")), older);
    EXPECT_EQ(pcFile(QStringLiteral("memo.VOC")), QByteArray::fromStdString(recording));
}

TEST_F(QueueConversionThreading, AFailedFolderSyncKeepsTheRecordingSaysSoAndTheQueueGoesOn)
{
    selectPlayer(1, {"next.mp3"});
    w->MainMenu_UploadFromPlayerClick();
    SyncHook::failFolderSyncs(true);
    tick();
    SyncHook::clear();
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("Can not write wave file")}));
    EXPECT_EQ(pcFile(QStringLiteral("memo.VOC")), QByteArray::fromStdString(recording));
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(QFile::exists(pc.filePath(QStringLiteral("next.mp3"))));
}

TEST_F(QueueConversionThreading, ARecordingPutInPlaceDuringTheConversionIsKeptAndNamed)
{
    const QByteArray newer("a newer recording pasted over the old one");
    std::atomic<bool> replaced{false};
    // At the wave file's sync the old recording is read and not yet removed.
    SyncHook::beforeSync([&](int) {
        QFile pasted(pc.filePath(QStringLiteral("pasted")));
        if (replaced || !pasted.open(QIODevice::WriteOnly) || pasted.write(newer) != newer.size())
            return;
        pasted.close();
        replaced = std::rename(pasted.fileName().toLocal8Bit().constData(),
                               pcPath(QStringLiteral("memo.VOC")).c_str()) == 0;
    });
    tick();
    SyncHook::clear();
    ASSERT_TRUE(replaced);
    EXPECT_EQ(pcFile(QStringLiteral("memo.VOC")), newer);
    EXPECT_EQ(converted(), reference());
    EXPECT_EQ(w->statusText(3),
              QStringLiteral("\"memo.VOC\" was replaced during its conversion; the new file is kept."));
    EXPECT_TRUE(prompts.records.empty());
}

// Someone who may rename in the folder put a link where the upload's file was:
// what it points at (here a private recording) is never converted into a file
// others can read, and stays as it was.
TEST_F(QueueConversionThreading, ALinkPutInTheUploadsPlaceIsNotFollowed)
{
    const QString elsewhere = settings.filePath(QStringLiteral("private.VOC"));
    {
        std::ofstream(elsewhere.toStdString(), std::ios::binary) << recording;
    }
    ASSERT_TRUE(QFile::remove(pc.filePath(QStringLiteral("memo.VOC"))));
    ASSERT_TRUE(QFile::link(elsewhere, pc.filePath(QStringLiteral("memo.VOC"))));
    tick();
    EXPECT_EQ(prompts.texts(), QStringList({QStringLiteral("Can not open voice file")}));
    EXPECT_FALSE(QFile::exists(pc.filePath(QStringLiteral("memo.wav"))));
    EXPECT_EQ(QFileInfo(elsewhere).size(), qint64(recording.size()));
}

// The folder is renamed during the conversion and a link to another folder put
// in its place: the wave file still arrives in the folder it was made in, and
// the other folder's file of that name stays as it was.
TEST_F(QueueConversionThreading, AFolderSwappedForALinkMeanwhileKeepsTheWaveFileInItsOwnFolder)
{
    ASSERT_TRUE(QFile(pc.filePath(QStringLiteral("memo.wav"))).open(QIODevice::WriteOnly));
    prompts.answers.push_back(PromptAnswer::Yes); // replace the old wave file
    const QString other = settings.filePath(QStringLiteral("other")), moved = pc.path() + QStringLiteral("-moved");
    ASSERT_TRUE(QDir().mkpath(other));
    {
        std::ofstream(other.toStdString() + "/memo.wav") << "the user's own";
    }
    std::atomic<bool> swapped{false};
    SyncHook::beforeSync([&](int) {
        if (!swapped)
            swapped = QDir().rename(pc.path(), moved) && QFile::link(other, pc.path());
    });
    tick();
    SyncHook::clear();
    ASSERT_TRUE(swapped);
    ASSERT_TRUE(QFile::remove(pc.path()) && QDir().rename(moved, pc.path()));
    EXPECT_EQ(pcFile(QStringLiteral("memo.wav")), reference());
    QFile kept(other + QStringLiteral("/memo.wav"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the user's own"));
}
