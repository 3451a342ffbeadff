// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening driven from outside the window, as media keys and playerctl do:
// the window publishes itself on a private session bus, gdbus drives it,
// and what reaches the private sound server is measured.
#include "explorer/folder_view.h"
#include "fake_nerolink.h"
#include "listen/listen_session.h"
#include "listen/play_bar.h"
#include "main_unit.h"
#include "private_pulse.h"
#include "scripted_prompts.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMenu>
#include <QAction>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>

namespace {

const QString kTone = QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC");
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.tovixman");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

bool waitUntil(const std::function<bool()> &done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

qint64 int64In(const QString &reply)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("int64 (-?\\d+)")).match(reply);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

} // namespace

// What the player announces on the bus: changed properties and seeks.
class BusListener : public QObject {
    Q_OBJECT

public:
    QList<QPair<QString, QVariant>> heard;
    bool has(const QString &name, const QVariant &value) const { return heard.contains({name, value}); }
    bool hasNear(const QString &name, qint64 value, qint64 within) const
    {
        return std::any_of(heard.begin(), heard.end(), [&](const auto &h) {
            return h.first == name && std::abs(h.second.toLongLong() - value) <= within;
        });
    }

public slots:
    void hear(const QDBusMessage &message)
    {
        if (message.member() == QLatin1String("Seeked")) {
            heard.append({message.member(), message.arguments().value(0)});
            return;
        }
        const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
        for (auto it = changed.begin(); it != changed.end(); ++it)
            heard.append({it.key(), it.value()});
    }
};

class MprisSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
            GTEST_SKIP() << "dbus-daemon or gdbus is not installed";
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                      QStringLiteral("--address=unix:path=") + busDir.filePath(QStringLiteral("bus"))});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(daemon.waitForReadyRead(10000));
        address = QString::fromUtf8(daemon.readLine().trimmed());
        ASSERT_FALSE(address.isEmpty());
        oldAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        const QString why = pulse.start();
        if (!why.isEmpty())
            GTEST_SKIP() << "No private sound server: " << why.toStdString();
    }

    void TearDown() override
    {
        window.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("mpris-test"));
        if (!address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", oldAddress);
        if (oldAddress.isEmpty())
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (daemon.state() != QProcess::NotRunning) {
            daemon.terminate();
            daemon.waitForFinished(5000);
        }
        pulse.stop();
    }

    // The tone selected in the PC pane, and the focus then given to another window.
    void openWindow(const QByteArray &settingsText)
    {
        QFile ini(settings.filePath(QStringLiteral("settings.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(settingsText);
        ini.close();
        tone = pc.filePath(QStringLiteral("Tone.voc"));
        ASSERT_TRUE(QFile::copy(kTone, tone));
        fake::reset();
        window = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
        window->FolderView->setCurrentDirectory(pc.path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(window->FolderView->waitUntilLoaded(5000));
        window->FolderView->setItemSelected(0, true);
        window->FolderView->currentView()->setFocus();
        editor.show();
        editor.activateWindow();
        editor.setFocus();
    }

    // gdbus runs while the window's thread keeps answering the bus.
    QString call(const QString &method, const QStringList &args = {})
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("gdbus"), QStringList{QStringLiteral("call"), QStringLiteral("--session"),
                                                     QStringLiteral("--dest"), kService,
                                                     QStringLiteral("--object-path"), kPath,
                                                     QStringLiteral("--method"), method} + args);
        if (!waitUntil([&] { return p.state() == QProcess::NotRunning; }, 15000))
            p.kill();
        p.waitForFinished(1000);
        return QString::fromUtf8(p.readAll()).trimmed();
    }
    QString get(const QString &property)
    {
        return call(QStringLiteral("org.freedesktop.DBus.Properties.Get"), {kPlayer, property});
    }
    QString set(const QString &property, const QString &value)
    {
        return call(QStringLiteral("org.freedesktop.DBus.Properties.Set"), {kPlayer, property, value});
    }
    bool waitForState(int state, int ms)
    {
        const bool reached = waitUntil([&] { return window->FListenState == state; }, ms);
        for (const PromptRecord &r : prompts.records)
            ADD_FAILURE() << "asked: " << r.text.toStdString();
        prompts.records.clear();
        return reached;
    }

    QTemporaryDir busDir, settings, pc;
    QProcess daemon;
    QString address;
    QByteArray oldAddress;
    PrivatePulse pulse;
    ScriptedPrompts prompts;
    QLineEdit editor;
    QString tone;
    std::unique_ptr<TForm_TovixMan> window;
};

TEST_F(MprisSound, PlayPauseFromAnotherWindowPlaysTheSelectedRecordingAtTheRateSetOnTheBus)
{
    openWindow({});
    EXPECT_TRUE(get(QStringLiteral("Metadata")).contains(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")));
    // Rates go in the keys' steps.
    set(QStringLiteral("Rate"), QStringLiteral("<1.46>"));
    ASSERT_TRUE(waitUntil([&] { return window->FListenSpeed == 1.5; }, 5000)) << window->FListenSpeed;
    EXPECT_EQ(window->PlayBar_Listen->Label_Speed->text(), QStringLiteral("1.5x"));
    EXPECT_EQ(get(QStringLiteral("Rate")), QStringLiteral("(<1.5>,)"));
    set(QStringLiteral("Volume"), QStringLiteral("<0.5>"));
    ASSERT_TRUE(waitUntil([&] { return get(QStringLiteral("Volume")) == QStringLiteral("(<0.5>,)"); }, 5000));

    ASSERT_TRUE(pulse.startRecording());
    // Measured, not asserted: from the call (gdbus started) to the sound handed to the sink.
    QElapsedTimer called;
    qint64 playingAfter = -1;
    QObject::connect(window->MainMenu_PlayPause, &QAction::changed, window.get(), [&] {
        if (playingAfter < 0 && window->FListenState == ListenSession::Playing)
            playingAfter = called.elapsed();
    });
    called.start();
    call(kPlayer + QStringLiteral(".PlayPause"));
    ASSERT_TRUE(waitForState(ListenSession::Playing, 5000));
    EXPECT_EQ(get(QStringLiteral("PlaybackStatus")), QStringLiteral("(<'Playing'>,)"));
    const QString metadata = get(QStringLiteral("Metadata"));
    EXPECT_TRUE(metadata.contains(QStringLiteral("'xesam:title': <'Tone.voc'>"))) << metadata.toStdString();
    EXPECT_TRUE(metadata.contains(QUrl::fromLocalFile(tone).toString(QUrl::FullyEncoded))) << metadata.toStdString();
    const QRegularExpressionMatch length =
        QRegularExpression(QStringLiteral("'mpris:length': <int64 (\\d+)>")).match(metadata);
    ASSERT_TRUE(length.hasMatch()) << metadata.toStdString();
    EXPECT_GE(length.captured(1).toLongLong(), 3000000);
    EXPECT_LT(length.captured(1).toLongLong(), 4000000);

    ASSERT_TRUE(waitForState(ListenSession::Stopped, 15000));
    QTest::qWait(200);
    const std::vector<std::int16_t> samples = pulse.takeRecording();
    const ToneMeasure m = measureTone(samples, PrivatePulse::kRecordRate);
    EXPECT_NEAR(m.hertz, 1000, 20);
    EXPECT_NEAR(m.seconds, 3.0 / 1.5, 0.02 * 3.0 / 1.5);
    // The tone is at half scale; at half volume it peaks near a quarter.
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_NEAR(std::max(-int(*low), int(*high)), 8192, 1200);
    RecordProperty("PlayPauseToSinkMs", int(playingAfter));
    std::cout << "PlayPause to sound at the sink: " << playingAfter << " ms" << std::endl;
}

TEST_F(MprisSound, PauseSetPositionAndSeekFromTheBusMoveThePlayingAndAreAnnounced)
{
    openWindow("[Listen]\nSpeed=0.5\nRewindOnPause=0\n");
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("mpris-test"));
    BusListener listener;
    ASSERT_TRUE(client.connect(QString(), kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                               QStringLiteral("PropertiesChanged"), &listener, SLOT(hear(QDBusMessage))));
    ASSERT_TRUE(client.connect(QString(), kPath, kPlayer, QStringLiteral("Seeked"), &listener,
                               SLOT(hear(QDBusMessage))));
    const auto slider = [&] { return window->PlayBar_Listen->Slider_Position->value(); };
    const auto position = [&] { return int64In(get(QStringLiteral("Position"))); };

    EXPECT_EQ(call(kPlayer + QStringLiteral(".Play")), QStringLiteral("()")); // nothing loaded: what F9 would play
    ASSERT_TRUE(waitForState(ListenSession::Playing, 5000));
    ASSERT_TRUE(waitUntil([&] { return slider() > 300; }, 5000)) << slider();
    call(kPlayer + QStringLiteral(".Pause"));
    ASSERT_TRUE(waitForState(ListenSession::Paused, 5000));
    EXPECT_EQ(get(QStringLiteral("PlaybackStatus")), QStringLiteral("(<'Paused'>,)"));
    EXPECT_GT(position(), 0) << get(QStringLiteral("Position")).toStdString();

    const QString track = QRegularExpression(QStringLiteral("/org/tovixman/Track/\\d+"))
                              .match(get(QStringLiteral("Metadata"))).captured(0);
    ASSERT_FALSE(track.isEmpty());
    call(kPlayer + QStringLiteral(".SetPosition"),
         {QStringLiteral("objectpath '%1'").arg(track), QStringLiteral("int64 2500000")});
    // Seeks land on the decoder's frames: within 50 ms of where asked.
    ASSERT_TRUE(waitUntil([&] { return std::abs(slider() - 2500) <= 50; }, 5000)) << slider();
    EXPECT_NEAR(position(), slider() * 1000, 1000);
    call(kPlayer + QStringLiteral(".Seek"), {QStringLiteral("int64 -1000000")});
    ASSERT_TRUE(waitUntil([&] { return std::abs(slider() - 1500) <= 100; }, 5000)) << slider();
    EXPECT_NEAR(position(), slider() * 1000, 1000);
    const int seekedTo = slider();
    // Another recording's position is not this one's.
    call(kPlayer + QStringLiteral(".SetPosition"),
         {QStringLiteral("objectpath '/org/tovixman/Track/999'"), QStringLiteral("int64 500000")});
    QTest::qWait(300);
    EXPECT_EQ(slider(), seekedTo);

    call(kPlayer + QStringLiteral(".PlayPause"));
    ASSERT_TRUE(waitForState(ListenSession::Playing, 5000));
    QTest::qWait(400);
    EXPECT_GT(position(), seekedTo * 1000);
    call(kPlayer + QStringLiteral(".Stop"));
    ASSERT_TRUE(waitForState(ListenSession::Stopped, 5000));

    set(QStringLiteral("Volume"), QStringLiteral("<0.25>"));
    ASSERT_TRUE(waitUntil([&] { return listener.has(QStringLiteral("Volume"), 0.25); }, 5000));
    window->showMinimized();
    call(QStringLiteral("org.mpris.MediaPlayer2.Raise"));
    EXPECT_TRUE(waitUntil([&] { return !window->isMinimized(); }, 5000));

    for (const auto &[name, value] : {std::pair{"PlaybackStatus", QVariant(QStringLiteral("Paused"))},
                                      {"PlaybackStatus", QVariant(QStringLiteral("Playing"))},
                                      {"PlaybackStatus", QVariant(QStringLiteral("Stopped"))}})
        EXPECT_TRUE(listener.has(QString::fromLatin1(name), value)) << name << " " << value.toString().toStdString();
    // The two seeks asked for, and no other: playing on is no seek.
    EXPECT_TRUE(listener.hasNear(QStringLiteral("Seeked"), 2500000, 50000));
    EXPECT_TRUE(listener.hasNear(QStringLiteral("Seeked"), 1500000, 100000));
    EXPECT_EQ(std::count_if(listener.heard.begin(), listener.heard.end(),
                            [](const auto &h) { return h.first == QLatin1String("Seeked"); }), 2);
    window.reset();
    QFile ini(settings.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Volume=0.25"));
}

// Offsets from the bus may be anything: one far before the start lands on
// it, even one whose position in sample frames does not fit 64 bits.
TEST_F(MprisSound, ASeekFarBeforeTheStartFromTheBusLandsOnTheStart)
{
    openWindow("[Listen]\nRewindOnPause=0\n");
    const auto slider = [&] { return window->PlayBar_Listen->Slider_Position->value(); };
    const auto position = [&] { return int64In(get(QStringLiteral("Position"))); };
    call(kPlayer + QStringLiteral(".Play"));
    ASSERT_TRUE(waitForState(ListenSession::Playing, 5000));
    ASSERT_TRUE(waitUntil([&] { return slider() > 500; }, 5000)) << slider();
    call(kPlayer + QStringLiteral(".Pause"));
    ASSERT_TRUE(waitForState(ListenSession::Paused, 5000));
    for (const bool wraps : {true, false}) {
        const qint64 atMs = position() / 1000;
        ASSERT_GT(atMs, 400);
        // At 16 kHz, this many milliseconds times the rate wraps around 64 bits to about 2 s.
        const qint64 offset = wraps ? (-1152921504604846 - atMs) * 1000 : std::numeric_limits<qint64>::min();
        call(kPlayer + QStringLiteral(".Seek"), {QStringLiteral("int64 %1").arg(offset)});
        EXPECT_TRUE(waitUntil([&] { return slider() == 0 && position() == 0; }, 5000))
            << slider() << " " << position();
        call(kPlayer + QStringLiteral(".Seek"), {QStringLiteral("int64 1000000")});
        ASSERT_TRUE(waitUntil([&] { return std::abs(slider() - 1000) <= 50; }, 5000)) << slider();
    }
    EXPECT_EQ(window->FListenState, ListenSession::Paused);
}

// A format on a slow player: the recording playing from the PC is paused
// with F9 and played on from the bus, and the play bar stays usable, while
// the lists and the operations stay off until the format has ended.
TEST_F(MprisSound, DuringAFormatF9ThePlayBarAndTheBusStillDriveThePlaying)
{
    openWindow("[Listen]\nSpeed=0.5\nRewindOnPause=0\n");
    fake::setMemory(mtInternal, fake::makeMemory(4000000, 1000000));
    fake::setMemory(mtCard, fake::makeMemory(8000000, 2000000));
    fake::setVersion(1, "TOVIX 2.1");
    window->Timer_CheckPlayerTimer(window->Timer_CheckPlayer); // polled now, not at the timer's next turn
    ASSERT_TRUE(waitUntil([&] { return window->FConnected; }, 15000));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    call(kPlayer + QStringLiteral(".Play"));
    ASSERT_TRUE(waitForState(ListenSession::Playing, 5000));

    fake::holdOperations(true);
    window->TabControl_PlayerFiles->setCurrentIndex(1);
    prompts.answers = {PromptAnswer::Yes};
    window->Menu_FormatClick();
    prompts.records.clear();
    ASSERT_TRUE(waitUntil([&] { return window->FJobRunning; }, 5000)); // the window's timer starts it
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    EXPECT_EQ(window->statusText(3), QStringLiteral("Formatting..."));
    EXPECT_FALSE(window->FileList_Internal->isEnabled());
    EXPECT_FALSE(window->FolderView->isEnabled());
    EXPECT_FALSE(window->Menu_OperationGroup->menuAction()->isEnabled());
    EXPECT_TRUE(window->PlayBar_Listen->isEnabled());
    for (QToolButton *b : window->PlayBar_Listen->findChildren<QToolButton *>())
        EXPECT_TRUE(b->isEnabled()) << b->toolTip().toStdString();

    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_TRUE(waitForState(ListenSession::Paused, 5000));
    call(kPlayer + QStringLiteral(".PlayPause"));
    EXPECT_TRUE(waitForState(ListenSession::Playing, 5000));
    EXPECT_EQ(get(QStringLiteral("PlaybackStatus")), QStringLiteral("(<'Playing'>,)"));
    EXPECT_TRUE(window->FJobRunning) << "all of it while the format ran";

    fake::holdOperations(false);
    ASSERT_TRUE(waitUntil([&] { return !window->FJobRunning; }, 10000));
    EXPECT_TRUE(window->FileList_Internal->isEnabled());
    EXPECT_TRUE(window->Menu_OperationGroup->menuAction()->isEnabled());
}

#include "mpris_test.moc"
