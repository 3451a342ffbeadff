// A long recording converts inside its upload's completion while the window
// handles its events: the busy bar counts up, commands still queue and cancel,
// ticks start nothing, closing lets it finish, and the wave file is the same
// as the engine alone makes.
#include "queue_fixture.h"

#include "voice/voice_conversion.h"

#include <QDirIterator>
#include <QLabel>
#include <QProgressBar>

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

    QStringList pcEntries() const
    {
        QStringList names;
        QDirIterator it(pc.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext())
            names << QFileInfo(it.next()).fileName();
        names.sort();
        return names;
    }

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
