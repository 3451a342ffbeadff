// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Real sound through a private PulseAudio: what reaches its sink is recorded
// and measured.
#include "explorer/folder_view.h"
#include "fake_nerolink.h"
#include "listen/listen_session.h"
#include "main_unit.h"
#include "private_pulse.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

class ListenSpeeds : public ListenSound, public ::testing::WithParamInterface<double> {};

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
    QByteArray wave("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\0\0\0\0", 44);
    for (int i = 0; i < 8000 * 20; ++i) {
        const qint16 v = qint16(8000 * std::sin(i * 2 * M_PI / 8));
        wave.append(reinterpret_cast<const char *>(&v), 2);
    }
    const quint32 dataBytes = quint32(wave.size() - 44);
    std::memcpy(wave.data() + 40, &dataBytes, 4);
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
