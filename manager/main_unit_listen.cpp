// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening: the Listen menu and the play bar drive a ListenSession on the
// listening thread. A PC file plays from the disk; a player file is first
// copied through the queue into the listening cache.
#include "main_unit.h"

#include "explorer/folder_view.h"
#include "listen/listen_cache.h"
#include "listen/listen_session.h"
#include "listen/loudness_overview.h"
#include "listen/mpris_player.h"
#include "listen/play_bar.h"
#include "listen/playback_decoder.h"
#include "listen/position_memory.h"
#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "queue/job_kinds.h"
#include "queue/tsan_order.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char kListen[] = "Listen";
constexpr qint64 kStepMs = 5000;
constexpr int kOverviewBuckets = 800;

double parseSpeed(const std::string &text)
{
    bool ok = false;
    const double speed = QString::fromStdString(text).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(speed))
        return 1.0;
    return std::clamp(std::round(speed * 10) / 10, 0.5, 2.0);
}

double parseVolume(const std::string &text)
{
    bool ok = false;
    const double volume = QString::fromStdString(text).trimmed().toDouble(&ok);
    return ok && std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
}

// Whole seconds, rounded up: a short gap still counts.
QString lostSecondsText(std::int64_t ms)
{
    const std::int64_t seconds = (ms + 999) / 1000;
    return seconds == 1 ? QCoreApplication::translate("TForm_TovixMan", "%n second", nullptr, int(seconds))
                        : QCoreApplication::translate("TForm_TovixMan", "%n seconds", nullptr, int(seconds));
}

} // namespace

void TForm_TovixMan::createListenMenu()
{
    const auto add = [this](const char *caption, QKeySequence keys) {
        auto *a = new QAction(tr(caption), this);
        a->setShortcut(keys);
        return a;
    };
    MainMenu_PlayPause = add(QT_TR_NOOP("&Play / Pause"), Qt::Key_F9);
    MainMenu_Stop = add(QT_TR_NOOP("&Stop"), Qt::Key_F4);
    MainMenu_Back = add(QT_TR_NOOP("&Back 5 seconds"), Qt::Key_F7);
    MainMenu_Forward = add(QT_TR_NOOP("&Forward 5 seconds"), Qt::Key_F8);
    MainMenu_Slower = add(QT_TR_NOOP("S&lower by 0.1x"), Qt::CTRL | Qt::Key_F7);
    MainMenu_Faster = add(QT_TR_NOOP("&Faster by 0.1x"), Qt::CTRL | Qt::Key_F8);
    MainMenu_GoTo = add(QT_TR_NOOP("&Go to time..."), Qt::CTRL | Qt::Key_G);
    MainMenu_RewindOnPause = new QAction(tr("&Rewind 2 seconds on pause"), this);
    MainMenu_RewindOnPause->setCheckable(true);
    MainMenu_RewindOnPause->setChecked(true);

    Menu_Listen = menuBar()->addMenu(tr("&Listen"));
    Menu_Listen->addActions({MainMenu_PlayPause, MainMenu_Stop});
    Menu_Listen->addSeparator();
    Menu_Listen->addActions({MainMenu_Back, MainMenu_Forward, MainMenu_GoTo});
    Menu_Listen->addSeparator();
    Menu_Listen->addActions({MainMenu_Slower, MainMenu_Faster});
    Menu_Listen->addSeparator();
    Menu_Listen->addAction(MainMenu_RewindOnPause);
    createListenKeys();
}

void TForm_TovixMan::createPlayBar()
{
    PlayBar_Listen = new ::PlayBar;
    PlayBar_Listen->setAccessibleName(tr("Play bar"));
    PlayBar_Listen->setActions(MainMenu_PlayPause, MainMenu_Stop, MainMenu_Back, MainMenu_Forward,
                               MainMenu_Slower, MainMenu_Faster);
}

void TForm_TovixMan::connectListenCommands()
{
    using Handler = void (TForm_TovixMan::*)();
    const std::pair<QAction *, Handler> actions[] = {
        {MainMenu_PlayPause, &TForm_TovixMan::MainMenu_PlayPauseClick},
        {MainMenu_Stop, &TForm_TovixMan::MainMenu_StopClick},
        {MainMenu_Back, &TForm_TovixMan::MainMenu_BackClick},
        {MainMenu_Forward, &TForm_TovixMan::MainMenu_ForwardClick},
        {MainMenu_Slower, &TForm_TovixMan::MainMenu_SlowerClick},
        {MainMenu_Faster, &TForm_TovixMan::MainMenu_FasterClick},
        {MainMenu_GoTo, &TForm_TovixMan::MainMenu_GoToClick},
    };
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, handler);
    FolderView->setPlayAction(Menu_PlayPc);
    PopupMenu_Remove->insertAction(PopupMenu_Remove->actions().value(0), Menu_PlayPlayer);
    PopupMenu_Remove->insertSeparator(PopupMenu_Remove->actions().value(1));
    connect(MainMenu_RewindOnPause, &QAction::toggled, this, [this](bool on) {
        FRewindOnPause = on;
        setRewindSeconds(FRewindSeconds);
    });

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && Panel_Explorer->isAncestorOf(now))
            FListenPane = 0;
        else if (now && Panel_FileListInMemory->isAncestorOf(now))
            FListenPane = 1;
    });

    FListenSession = new ListenSession;
    ListenSession *s = FListenSession;
    setRewindSeconds(FRewindSeconds);
    connect(s, &ListenSession::opened, this, [this](const QString &path, const QString &name, qint64 length) {
        FListenPath = path;
        FListenName = name;
        if (!FListenWanted.isEmpty() && (path == FListenWanted || path == FListenWanted + QLatin1String(".part")))
            FListenWanted.clear();
        PlayBar_Listen->setRecording(name, length);
        PlayBar_Listen->setCopyProgress(-1, false);
        setStatusText(3, tr("Listening to %1").arg(name));
        // A copy still being made is overviewed once it is whole.
        if (path.endsWith(QLatin1String(".part")))
            stopLoudnessScan();
        else
            startLoudnessScan(path);
    });
    connect(s, &ListenSession::openFailed, this, [this](const QString &, const QString &name, const QString &why) {
        FListenPath.clear();
        PlayBar_Listen->setRecording(QString(), 0);
        ownedBox(this, tr("Can not play %1: %2.").arg(name, why), PromptIcon::Warning,
                 PromptButtons::Ok);
    });
    connect(s, &ListenSession::positionChanged, PlayBar_Listen, &PlayBar::setPosition);
    connect(s, &ListenSession::stateChanged, this, [this](int state) {
        FListenState = state;
        PlayBar_Listen->setPlaying(state == ListenSession::Playing);
        PlayBar_Listen->setPaused(state == ListenSession::Paused);
        // Sound plays again: what was said of the output is past.
        if (state == ListenSession::Playing && !FListenFault.isEmpty()) {
            if (statusText(3) == FListenFault)
                setStatusText(3, tr("Listening to %1").arg(FListenName));
            FListenFault.clear();
        }
    });
    connect(s, &ListenSession::outputFailed, this, [this](const QString &text) {
        FListenFault = text;
        setStatusText(3, text);
    });
    connect(s, &ListenSession::cacheChecked, this, &TForm_TovixMan::listenCacheChecked);
    connect(s, &ListenSession::copyKept, this, [this](const QString &path, const QString &, bool kept) {
        if (kept && FListenPath == path + QLatin1String(".part")) {
            FListenPath = path;
            startLoudnessScan(path);
        }
    });
    connect(s, &ListenSession::copyProgress, this, &TForm_TovixMan::showListenCopyProgress);
    connect(s, &ListenSession::closed, this, [this] {
        FListenPath.clear();
        PlayBar_Listen->setRecording(QString(), 0);
        PlayBar_Listen->setCopyProgress(-1, false);
    });
    connect(s, &ListenSession::notice, this, [this](const QString &text) { setStatusText(3, text); });
    connect(PlayBar_Listen, &PlayBar::volumeRequested, this, &TForm_TovixMan::setListenVolume);
    connect(PlayBar_Listen, &PlayBar::seekRequested, this, [this](qint64 ms) {
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession, ms] { s->seek(ms); });
    });
    connectMpris();
}

void TForm_TovixMan::readListenSettings(const IniFile &ini)
{
    setListenSpeed(parseSpeed(ini.readString(kListen, "Speed", "1.0")));
    FRewindOnPause = ini.readInteger(kListen, "RewindOnPause", 1) != 0;
    MainMenu_RewindOnPause->setChecked(FRewindOnPause);
    setListenVolume(parseVolume(ini.readString(kListen, "Volume", "1.0")));
    bool ok = false;
    const double seconds = QString::fromStdString(ini.readString(kListen, "RewindSeconds", "2")).trimmed().toDouble(&ok);
    setRewindSeconds(ok && std::isfinite(seconds) ? int(std::lround(std::clamp(seconds, 0.0, 10.0))) : 2);
}

void TForm_TovixMan::listenSettingsEntries(std::vector<IniEntry> &entries) const
{
    entries.push_back({kListen, "Speed", QString::number(FListenSpeed, 'f', 1).toStdString()});
    entries.push_back({kListen, "RewindOnPause", FRewindOnPause ? "1" : "0"});
    entries.push_back({kListen, "Volume", QString::number(FListenVolume, 'f', 2).toStdString()});
    entries.push_back({kListen, "RewindSeconds", std::to_string(FRewindSeconds)});
}

void TForm_TovixMan::listenToFile(const QString &path, const QString &shownName)
{
    // A player recording's copy is remembered as the recording, not as the copy.
    const QByteArray key = path == FListenWanted ? FListenWantedKey : QByteArray();
    FListenWanted.clear();
    const QString name = !shownName.isEmpty()
        ? shownName : QString::fromLocal8Bit(extractFileName(path.toLocal8Bit().toStdString()));
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, path, name, key] { s->open(path, name, true, key); });
}

void TForm_TovixMan::MainMenu_PlayPauseClick()
{
    ListenSession *s = FListenSession;
    if (FListenState == ListenSession::Playing) {
        if (listenToSelection(false))
            return;
        const qint64 rewind = listenRewindMs();
        QMetaObject::invokeMethod(s, [s, rewind] { s->pause(rewind); });
        return;
    }
    if (listenToSelection(true))
        return;
    if (FListenPath.isEmpty())
        showPlainMessage(tr("Please select a recording to listen to"));
    else
        QMetaObject::invokeMethod(s, [s] { s->play(); });
}

void TForm_TovixMan::MainMenu_StopClick()
{
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->stop(); });
}

void TForm_TovixMan::MainMenu_BackClick()
{
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->seekBy(-kStepMs); });
}

void TForm_TovixMan::MainMenu_ForwardClick()
{
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->seekBy(kStepMs); });
}

void TForm_TovixMan::MainMenu_SlowerClick()
{
    setListenSpeed(FListenSpeed - 0.1);
}

void TForm_TovixMan::MainMenu_FasterClick()
{
    setListenSpeed(FListenSpeed + 0.1);
}

void TForm_TovixMan::setListenSpeed(double speed)
{
    FListenSpeed = std::clamp(std::round(speed * 10) / 10, 0.5, 2.0);
    PlayBar_Listen->setSpeed(FListenSpeed);
    if (FMpris)
        FMpris->setRate(FListenSpeed);
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, v = FListenSpeed] { s->setSpeed(v); });
}

void TForm_TovixMan::stopLoudnessScan()
{
    if (FLoudnessCancel)
        FLoudnessCancel->store(true);
    FLoudnessCancel.reset();
}

void TForm_TovixMan::startLoudnessScan(const QString &path)
{
    if (FLoudnessCancel)
        FLoudnessCancel->store(true);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    FLoudnessCancel = cancel;
    QThread *scan = QThread::create([this, cancel, path] {
        std::int64_t lostMs = 0;
        std::vector<float> peaks =
            scanLoudness(path.toLocal8Bit().toStdString(), kOverviewBuckets, *cancel, &lostMs);
        if (cancel->load())
            return;
        QMetaObject::invokeMethod(this, [this, cancel, lostMs, peaks = std::move(peaks)]() mutable {
            if (cancel->load())
                return;
            PlayBar_Listen->Overview->setPeaks(std::move(peaks));
            if (lostMs > 0)
                setStatusText(3, tr("Listening to %1; %2 could not be played")
                                     .arg(PlayBar_Listen->Label_Name->text(), lostSecondsText(lostMs)));
        });
    });
    FLoudnessScans.push_back(scan);
    connect(scan, &QThread::finished, this, [this, scan] {
        FLoudnessScans.erase(std::remove(FLoudnessScans.begin(), FLoudnessScans.end(), scan), FLoudnessScans.end());
        scan->deleteLater();
    });
    scan->start(QThread::LowPriority);
}

void TForm_TovixMan::endListening()
{
    delete FMpris;
    FMpris = nullptr;
    if (FLoudnessCancel)
        FLoudnessCancel->store(true);
    for (QThread *scan : FLoudnessScans) {
        scan->wait();
        delete scan;
    }
    FLoudnessScans.clear();
    // Gone before the play bar it signals, so the two threads never meet in its teardown.
    if (ListenSession *s = FListenSession) {
        const void *gone = &FListenSession;
        // A session stuck in a call is not waited for long: it goes once the call returns.
        if (!s->thread()->isRunning())
            delete s;
        else if (!runOnListenThread(s, [s, gone] { delete s; orderedBefore(gone); }))
            gone = nullptr;
        if (gone)
            orderedAfter(gone);
    }
    FListenSession = nullptr;
}
