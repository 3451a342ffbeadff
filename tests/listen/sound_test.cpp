// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Real sound through a private PulseAudio: what reaches its sink is recorded
// and measured.
#include "explorer/folder_view.h"
#include "fake_nerolink.h"
#include "listen/listen_session.h"
#include "listen/play_bar.h"
#include "main_unit.h"
#include "private_pulse.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

const QString kTone = QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC");
constexpr double kToneSeconds = 3.0; // as made; the file adds a little silence

class ListenSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString why = pulse.start();
        if (!why.isEmpty())
            GTEST_SKIP() << "No private sound server: " << why.toStdString();
        session = std::make_unique<ListenSession>();
    }

    void TearDown() override
    {
        if (session)
            QMetaObject::invokeMethod(session.release(), &QObject::deleteLater);
        pulse.stop();
    }

    template <typename F>
    void call(F f)
    {
        QMetaObject::invokeMethod(session.get(), [s = session.get(), f] { f(s); });
    }

    // Waits (handling events) until the state has been `state` after having
    // been Playing, or the deadline passes.
    bool waitUntil(const std::function<bool()> &done, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    PrivatePulse pulse;
    std::unique_ptr<ListenSession> session;
};

// A quiet wave file of that many seconds, 8 kHz mono.
void writeWave(const QString &path, int seconds)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const quint32 bytes = quint32(seconds) * 16000;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + bytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << bytes;
    f.write(QByteArray(qsizetype(bytes), '\0'));
}

class ListenSpeeds : public ListenSound, public ::testing::WithParamInterface<double> {};

// A 1 kHz tone of that many seconds, 8 kHz mono.
QByteArray toneWave(int seconds)
{
    QByteArray wave("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\0\0\0\0", 44);
    for (int i = 0; i < 8000 * seconds; ++i) {
        const qint16 v = qint16(8000 * std::sin(i * 2 * M_PI / 8));
        wave.append(reinterpret_cast<const char *>(&v), 2);
    }
    const quint32 dataBytes = quint32(wave.size() - 44);
    std::memcpy(wave.data() + 40, &dataBytes, 4);
    return wave;
}

// The window on a slow player holding a recording: F9 on it copies it into
// the cache at the player's rate.
class GrowingSoundThreading : public ListenSound {
protected:
    void startWindow(const QByteArray &recording, std::int64_t bytesPerSecond)
    {
        // The sound output finds this test's server before the play that counts.
        QSignalSpy failed(session.get(), &ListenSession::outputFailed);
        bool playing = false;
        QObject here;
        QObject::connect(session.get(), &ListenSession::stateChanged, &here,
                         [&](int st) { playing = playing || st == ListenSession::Playing; });
        for (int i = 0; i < 3 && !playing; ++i) {
            call([](ListenSession *s) { s->open(kTone, QStringLiteral("tone"), true); });
            waitUntil([&] { return playing || failed.size() > i; }, 5000);
        }
        call([](ListenSession *s) { s->stop(); });
        ASSERT_TRUE(playing);
        qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
        fake::reset();
        fake::setUploadContent(recording.toStdString());
        fake::setUploadRate(bytesPerSecond);
        TMemoryInfo internal = fake::makeMemory(8000000, 2000000);
        fake::addFile(internal, fake::makeEntry("Dictation.wav", "DICTAT~1.WAV", uint32_t(recording.size()), true));
        fake::setMemory(mtInternal, internal);
        fake::setMemory(mtCard, fake::makeMemory(0, 0));
        fake::setVersion(1);
        w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        ASSERT_TRUE(waitUntil([&] { return w->FileList_Internal->topLevelItemCount() == 1; }, 5000));
        w->TabControl_PlayerFiles->setCurrentIndex(1);
        w->FileList_Internal->topLevelItem(0)->setSelected(true);
        w->FileList_Internal->setFocus();
    }

    void TearDown() override
    {
        fake::setUploadRate(0); // what is left arrives at once
        // Ended on its thread while this one waits, so the two are ordered.
        if (ListenSession *s = session.release()) {
            EXPECT_TRUE(runOnListenThread(s, [s] { delete s; }));
        }
        w.reset();
        fake::reset();
        qunsetenv("XDG_CACHE_HOME");
        ListenSound::TearDown();
    }

    QTemporaryDir settings, cache;
    std::unique_ptr<TForm_TovixMan> w;
};

} // namespace

TEST_P(ListenSpeeds, AToneComesBackAtItsPitchAndLastsItsLengthOverTheSpeed)
{
    const double speed = GetParam();
    QSignalSpy states(session.get(), &ListenSession::stateChanged);
    QSignalSpy failures(session.get(), &ListenSession::outputFailed);
    ASSERT_TRUE(pulse.startRecording());
    call([speed](ListenSession *s) { s->setSpeed(speed); });
    call([](ListenSession *s) { s->open(kTone, QStringLiteral("tone"), true); });
    const auto ended = [&] {
        return states.size() >= 2 && states.last().at(0).toInt() == ListenSession::Stopped;
    };
    ASSERT_TRUE(waitUntil(ended, int(kToneSeconds / speed * 1000) + 10000)) << states.size();
    QTest::qWait(200);
    const ToneMeasure m = measureTone(pulse.takeRecording(), PrivatePulse::kRecordRate);
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_NEAR(m.hertz, 1000, 20);
    EXPECT_NEAR(m.seconds, kToneSeconds / speed, 0.02 * kToneSeconds / speed);
}

INSTANTIATE_TEST_SUITE_P(Speeds, ListenSpeeds, ::testing::Values(0.5, 1.0, 2.0));

// The server dies under the sound: the window hears of it and nothing hangs.
TEST_F(ListenSound, AServerThatGoesAwayMidPlayIsReportedAndPlayingStops)
{
    QSignalSpy states(session.get(), &ListenSession::stateChanged);
    QSignalSpy failures(session.get(), &ListenSession::outputFailed);
    call([](ListenSession *s) { s->setSpeed(0.5); });
    call([](ListenSession *s) { s->open(kTone, QStringLiteral("tone"), true); });
    ASSERT_TRUE(waitUntil([&] { return states.size() >= 1; }, 5000));
    QTest::qWait(700);
    pulse.kill();
    ASSERT_TRUE(waitUntil([&] { return !failures.isEmpty(); }, 10000));
    EXPECT_EQ(failures.first().at(0).toString(),
              QStringLiteral("Sound output stopped: the sound server went away."));
    EXPECT_NE(states.last().at(0).toInt(), int(ListenSession::Playing));
    // Still answering: a stop comes back at once.
    QObject here;
    bool answered = false;
    QObject::connect(session.get(), &ListenSession::positionChanged, &here, [&] { answered = true; });
    call([](ListenSession *s) { s->stop(); });
    EXPECT_TRUE(waitUntil([&] { return answered; }, 5000));
}

TEST(ListenNoServer, PlayingWithoutASoundServerSaysSoAndStaysStopped)
{
    auto *session = new ListenSession;
    {
        QSignalSpy failures(session, &ListenSession::outputFailed);
        QSignalSpy opened(session, &ListenSession::opened);
        QMetaObject::invokeMethod(session, [session] { session->open(kTone, QStringLiteral("tone"), true); });
        // The spy records on the session's thread, maybe before a wait() could begin.
        QDeadlineTimer deadline(10000);
        while (failures.isEmpty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(failures.size(), 1);
        EXPECT_EQ(failures.first().at(0).toString(),
                  QStringLiteral("No sound output: the sound server can not be reached."));
        EXPECT_EQ(opened.size(), 1);
    } // the spies let go of the session before it goes
    QMetaObject::invokeMethod(session, &QObject::deleteLater);
}

// The whole path a user takes: a recording selected in the PC pane, F9, and
// the speed kept in settings.ini.
TEST_F(ListenSound, F9PlaysTheSelectedPcRecordingAtTheSpeedOfTheSettings)
{
    QTemporaryDir settings, pc;
    QFile ini(settings.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Listen]\nSpeed=1.5\n");
    ini.close();
    ASSERT_TRUE(QFile::copy(kTone, pc.filePath(QStringLiteral("Tone.voc"))));
    fake::reset();
    auto w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc.path());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    ASSERT_EQ(w->FolderView->itemCount(), 1);
    w->FolderView->setItemSelected(0, true);
    w->FolderView->currentView()->setFocus();
    EXPECT_EQ(w->FListenSpeed, 1.5);

    ASSERT_TRUE(pulse.startRecording());
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 5000));
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Stopped; }, 15000));
    QTest::qWait(200);
    const ToneMeasure m = measureTone(pulse.takeRecording(), PrivatePulse::kRecordRate);
    EXPECT_NEAR(m.hertz, 1000, 20);
    EXPECT_NEAR(m.seconds, kToneSeconds / 1.5, 0.02 * kToneSeconds / 1.5);
    EXPECT_TRUE(w->statusText(3).contains(QStringLiteral("Tone.voc"))) << w->statusText(3).toStdString();
    w.reset();
    EXPECT_TRUE(QFile(settings.filePath(QStringLiteral("settings.ini"))).open(QIODevice::ReadOnly));
}

// A wave file emptied while it plays: playing ends with a message, and the
// next play opens the file anew and says what it holds now.
TEST_F(ListenSound, AWaveFileEmptiedWhileItPlaysEndsPlayingWithAMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("memo.wav"));
    const QByteArray wave = toneWave(20);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(wave) == wave.size());
    file.close();
    QSignalSpy states(session.get(), &ListenSession::stateChanged);
    QSignalSpy notices(session.get(), &ListenSession::notice);
    QSignalSpy failed(session.get(), &ListenSession::openFailed);
    call([path](ListenSession *s) { s->open(path, QStringLiteral("memo.wav"), true); });
    ASSERT_TRUE(waitUntil([&] { return !states.isEmpty(); }, 5000));
    QTest::qWait(800);
    ASSERT_TRUE(QFile::resize(path, 0));
    ASSERT_TRUE(waitUntil([&] { return states.last().at(0).toInt() == ListenSession::Stopped; }, 3000));
    ASSERT_TRUE(waitUntil([&] { return !notices.isEmpty(); }, 1000));
    EXPECT_EQ(notices.last().at(0).toString(),
              QStringLiteral("Playing memo.wav ended early: the file became shorter while it played."));
    call([](ListenSession *s) { s->play(); });
    ASSERT_TRUE(waitUntil([&] { return !failed.isEmpty(); }, 3000));
    EXPECT_EQ(failed.last().at(2).toString(), QStringLiteral("it holds no sound"));
    EXPECT_EQ(states.last().at(0).toInt(), int(ListenSession::Stopped));
}

// Paused at 1:23, ended and started again: it goes on near 1:21. One heard to
// its end starts again from its beginning.
TEST_F(ListenSound, WhereARecordingWasLeftIsKeptAcrossARestartUntilItIsHeardToItsEnd)
{
    QTemporaryDir folder; // the state folder is the test run's own
    const QString wave = folder.filePath(QStringLiteral("Interview.wav"));
    writeWave(wave, 100);
    const QString tone = folder.filePath(QStringLiteral("Tone.voc"));
    ASSERT_TRUE(QFile::copy(kTone, tone));
    qint64 position = -1;
    std::vector<int> states;
    QObject here;
    const auto watch = [&](ListenSession *s) {
        QObject::connect(s, &ListenSession::positionChanged, &here, [&](qint64 ms) { position = ms; });
        QObject::connect(s, &ListenSession::stateChanged, &here, [&](int st) { states.push_back(st); });
    };
    const auto restart = [&] {
        ListenSession *old = session.release();
        ASSERT_TRUE(runOnListenThread(old, [old] { delete old; }));
        QCoreApplication::processEvents(); // what it said before it went
        position = -1;
        states.clear();
        session = std::make_unique<ListenSession>();
        watch(session.get());
    };
    const auto playing = [&] { return !states.empty() && states.back() == ListenSession::Playing; };
    const auto settled = [&](int st) { return [&, st] { return !states.empty() && states.back() == st; }; };
    watch(session.get());

    call([wave](ListenSession *s) { s->open(wave, QStringLiteral("Interview.wav"), true); });
    ASSERT_TRUE(waitUntil(playing, 5000));
    call([](ListenSession *s) { s->seek(83000); });
    QTest::qWait(400);
    call([](ListenSession *s) { s->pause(2000); });
    ASSERT_TRUE(waitUntil(settled(ListenSession::Paused), 5000));
    QTest::qWait(100);
    const qint64 paused = position;
    EXPECT_NEAR(paused, 81300, 500);

    restart();
    call([wave](ListenSession *s) { s->open(wave, QStringLiteral("Interview.wav"), false); });
    ASSERT_TRUE(waitUntil([&] { return position >= 0; }, 5000));
    EXPECT_NEAR(position, paused, 100);

    // The tone: left a second in, then heard to its end.
    call([tone](ListenSession *s) { s->setSpeed(2.0); s->open(tone, QStringLiteral("tone"), true); });
    ASSERT_TRUE(waitUntil(playing, 5000));
    QTest::qWait(500);
    call([](ListenSession *s) { s->pause(0); });
    ASSERT_TRUE(waitUntil(settled(ListenSession::Paused), 5000));
    EXPECT_GT(position, 500);
    call([](ListenSession *s) { s->play(); });
    ASSERT_TRUE(waitUntil(settled(ListenSession::Stopped), 10000));

    restart();
    call([tone](ListenSession *s) { s->open(tone, QStringLiteral("tone"), false); });
    ASSERT_TRUE(waitUntil([&] { return position >= 0; }, 5000));
    EXPECT_EQ(position, 0);
}

// Playing one PC recording, F9 with another selected plays that one.
TEST_F(ListenSound, F9WithAnotherRecordingSelectedPlaysItRatherThanPausing)
{
    QTemporaryDir settings, pc;
    writeWave(pc.filePath(QStringLiteral("A.wav")), 30);
    ASSERT_TRUE(QFile::copy(kTone, pc.filePath(QStringLiteral("B.voc"))));
    fake::reset();
    auto w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc.path());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    ASSERT_EQ(w->FolderView->itemCount(), 2);
    const int a = w->FolderView->itemPath(0).endsWith(QStringLiteral("A.wav")) ? 0 : 1;
    w->FolderView->setItemSelected(a, true);
    w->FolderView->currentView()->setFocus();
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 5000));
    EXPECT_TRUE(w->FListenPath.endsWith(QStringLiteral("A.wav")));

    w->FolderView->setItemSelected(a, false);
    w->FolderView->setItemSelected(1 - a, true);
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    EXPECT_TRUE(waitUntil([&] { return w->FListenPath.endsWith(QStringLiteral("B.voc")); }, 5000));
    EXPECT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 5000));
    // Paused, the position shows its tenths.
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Paused; }, 5000));
    EXPECT_TRUE(waitUntil([&] { return w->PlayBar_Listen->Label_Time->text().contains(QLatin1Char('.')); }, 2000))
        << w->PlayBar_Listen->Label_Time->text().toStdString();
}

// The sound server is restarted under a playing recording, as a desktop
// update does: the next Play is heard, and the status bar stops saying the
// server went away.
TEST_F(ListenSound, PlayAfterTheSoundServerCameBackIsHeardAndTheStatusIsCleared)
{
    QTemporaryDir settings, pc;
    ASSERT_TRUE(QFile::copy(kTone, pc.filePath(QStringLiteral("Tone.voc"))));
    fake::reset();
    auto w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc.path());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
    w->FolderView->setItemSelected(0, true);
    w->FolderView->currentView()->setFocus();
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 5000));
    QTest::qWait(500);
    pulse.kill();
    const QString wentAway = QStringLiteral("Sound output stopped: the sound server went away.");
    ASSERT_TRUE(waitUntil([&] { return w->statusText(3) == wentAway; }, 10000)) << w->statusText(3).toStdString();
    ASSERT_NE(w->FListenState, int(ListenSession::Playing));

    ASSERT_EQ(pulse.start(), QString());
    ASSERT_TRUE(pulse.startRecording());
    QTest::keyClick(w->FolderView->currentView(), Qt::Key_F9);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 5000))
        << w->statusText(3).toStdString();
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Stopped; }, 15000));
    QTest::qWait(200);
    const ToneMeasure m = measureTone(pulse.takeRecording(), PrivatePulse::kRecordRate);
    EXPECT_NEAR(m.hertz, 1000, 20);
    EXPECT_GT(m.seconds, 1.5); // what was left of the tone
    EXPECT_TRUE(w->statusText(3).contains(QStringLiteral("Tone.voc"))) << w->statusText(3).toStdString();
}

// Heard once its first second has arrived, long before the copy is done,
// and to its very end as the rest follows.
TEST_F(GrowingSoundThreading, ARecordingFromASlowPlayerIsHeardBeforeItsCopyEndsAndToItsEnd)
{
    const QByteArray recording = toneWave(6);
    startWindow(recording, 32000); // 3 s to copy
    ASSERT_TRUE(pulse.startRecording());
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 10000))
        << w->FListenPath.toStdString() << "|" << w->FListenFault.toStdString() << "|" << fake::uploadedBytes();
    EXPECT_LT(fake::uploadedBytes(), recording.size() * 2 / 3);
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Stopped; }, 20000));
    QTest::qWait(200);
    const ToneMeasure m = measureTone(pulse.takeRecording(), PrivatePulse::kRecordRate);
    EXPECT_NEAR(m.hertz, 1000, 20);
    EXPECT_NEAR(m.seconds, 6.0, 0.15);
    EXPECT_FALSE(w->FListenPath.endsWith(QStringLiteral(".part")));
}

// A place not copied yet is waited for, saying how far the copy is, and
// then played from there.
TEST_F(GrowingSoundThreading, ASeekPastWhatHasArrivedWaitsWithTheCopysPercentageThenPlaysFromThere)
{
    startWindow(toneWave(20), 40000); // 8 s to copy
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Playing; }, 10000))
        << w->FListenPath.toStdString() << "|" << w->statusText(3).toStdString() << "|" << fake::uploadedBytes();
    QLabel *time = w->PlayBar_Listen->Label_Time;
    emit w->PlayBar_Listen->seekRequested(17000);
    ASSERT_TRUE(waitUntil([&] { return time->text().startsWith(QStringLiteral("Copying... ")); }, 3000))
        << time->text().toStdString();
    EXPECT_TRUE(time->text().endsWith(QLatin1Char('%')));
    EXPECT_LT(fake::uploadedBytes(), 17 * 16000);
    ASSERT_TRUE(pulse.startRecording());
    ASSERT_TRUE(waitUntil([&] { return w->PlayBar_Listen->position() > 17500; }, 15000));
    EXPECT_FALSE(time->text().startsWith(QStringLiteral("Copying")));
    EXPECT_EQ(w->FListenState, int(ListenSession::Playing));
    ASSERT_TRUE(waitUntil([&] { return w->FListenState == ListenSession::Stopped; }, 10000));
    QTest::qWait(200);
    const ToneMeasure m = measureTone(pulse.takeRecording(), PrivatePulse::kRecordRate);
    EXPECT_NEAR(m.seconds, 3.0, 0.5); // from 0:17 to the end
}
