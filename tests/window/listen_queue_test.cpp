// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening to a player recording: one queued copy into the listening cache,
// then playing; a copy already in the cache plays without the device.
#include "listen/listen_cache.h"
#include "listen/loudness_overview.h"
#include "listen/play_bar.h"
#include "queue/job_kinds.h"
#include "queue_fixture.h"

#include <QLabel>
#include <QSlider>

#include <fstream>
#include <sstream>

namespace {

class ListenQueueThreading : public QueueTest {
protected:
    ListenQueueThreading()
    {
        qputenv("XDG_CACHE_HOME", cacheHome.path().toLocal8Bit());
        qputenv("PULSE_SERVER", "unix:/nonexistent/tovix-test/native");
        std::ifstream in(TOVIX_TEST_DATA "/tone_1k_mode1.VOC", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        tone = bytes.str();
        attach(memoryOf({fake::makeEntry("Meeting.VOC", "MEETIN~1.VOC", uint32_t(tone.size()), true)}),
               fake::makeMemory(8000000, 2000000));
        fake::setUploadContent(tone);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        selectPlayer(1, {QStringLiteral("Meeting.VOC")});
        w->FileList_Internal->setFocus();
    }
    ~ListenQueueThreading() override { qunsetenv("XDG_CACHE_HOME"); }

    bool waitFor(const std::function<bool()> &done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }

    QString cached() const
    {
        const ListenCache cache(listenCacheFolder());
        return QString::fromStdString(cache.pathOf({"Meeting.VOC", mtInternal, int64_t(tone.size())}));
    }

    QTemporaryDir cacheHome;
    std::string tone;
};

} // namespace

TEST_F(ListenQueueThreading, APlayerRecordingIsCopiedOnceThroughTheQueueThenPlaysAndAgainFromTheCache)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    EXPECT_EQ(lines().first(), QStringLiteral("Listen \"Meeting.VOC\" in Internal Memory"));
    EXPECT_EQ(job(0).Kind, jkListenInternal);
    EXPECT_TRUE(w->FListenPath.isEmpty());
    w->MainMenu_PlayPauseClick(); // asked again while the copy waits
    QTest::qWait(300);
    EXPECT_EQ(lines().size(), 1);

    ASSERT_TRUE(runQueue());
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == cached(); }));
    const std::vector<fake::Call> ops = operations();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].function, "dll_fn_upload_file");
    EXPECT_EQ(ops[0].arg1, "MEETIN~1.VOC");
    EXPECT_EQ(QFileInfo(cached()).size(), qint64(tone.size()));
    EXPECT_EQ(QDir(QFileInfo(cached()).path()).entryList(QDir::Files).size(), 1);
    // Never converted, as an upload of a recording would be.
    EXPECT_TRUE(prompts.records.empty());

    // Something else plays; the recording's unchanged copy then plays at once.
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/voice_mode0.VOC"));
    ASSERT_TRUE(waitFor([&] { return w->FListenPath.endsWith(QStringLiteral("voice_mode0.VOC")); }));
    selectPlayer(1, {QStringLiteral("Meeting.VOC")}); // the refresh after the copy cleared it
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == cached(); }));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(operations().size(), 1u);
}

TEST_F(ListenQueueThreading, ACancelledOrFailedCopyPlaysNothingAndLeavesNothingInTheCache)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    w->MainMenu_CancelAllClick();
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(operations().empty());

    fake::setOperationResult(0);
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    ASSERT_TRUE(runQueue());
    QTest::qWait(300);
    EXPECT_TRUE(w->FListenPath.isEmpty());
    EXPECT_TRUE(QDir(QString::fromStdString(listenCacheFolder())).entryList(QDir::Files).isEmpty());
}

// Made off the window's thread, the overview appears once ready and seeks
// where it is clicked, as the slider does.
TEST_F(ListenQueueThreading, TheLoudnessOverviewAppearsWhenReadyAndSeeksWhereClicked)
{
    PlayBar *bar = w->PlayBar_Listen;
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"));
    ASSERT_TRUE(waitFor([&] { return !bar->Overview->peaks().empty(); }));
    const std::vector<float> &peaks = bar->Overview->peaks();
    EXPECT_NEAR(peaks[peaks.size() / 2], 0.5f, 0.05f);
    EXPECT_EQ(bar->Label_Name->text(), QStringLiteral("tone_1k_mode1.VOC"));
    EXPECT_EQ(bar->Label_Time->text(), QStringLiteral("0:00 / 0:03"));

    QTest::mouseClick(bar->Overview, Qt::LeftButton, {}, QPoint(bar->Overview->width() * 3 / 4, 5));
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:02 / 0:03"); }))
        << bar->Label_Time->text().toStdString();
    bar->Slider_Position->triggerAction(QSlider::SliderToMinimum);
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:00 / 0:03"); }));
    EXPECT_EQ(playTimeText(3723000), QStringLiteral("1:02:03"));
    EXPECT_EQ(playTimeText(59999), QStringLiteral("0:59"));
}
