// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening driven from outside the window: the media player on the session
// bus mirrors the listening session, and its commands run here as the
// Listen menu's would. They are queued, so that the bus has its answer
// before anything the command shows.
#include "main_unit.h"

#include "listen/listen_session.h"
#include "listen/mpris_player.h"
#include "listen/play_bar.h"

#include <QAction>

#include <algorithm>
#include <cmath>

void TForm_TovixMan::connectMpris()
{
    auto *m = new MprisPlayer(this);
    FMpris = m;
    m->setRate(FListenSpeed);
    m->setVolume(FListenVolume);
    ListenSession *s = FListenSession;
    connect(s, &ListenSession::opened, m, &MprisPlayer::setRecording);
    connect(s, &ListenSession::openFailed, m, &MprisPlayer::clearRecording);
    connect(s, &ListenSession::copyKept, m, [m](const QString &path, const QString &, bool kept) {
        if (kept)
            m->copyCompleted(path);
    });
    connect(s, &ListenSession::stateChanged, m, &MprisPlayer::setState);
    connect(s, &ListenSession::positionChanged, m, &MprisPlayer::setPosition);
    connect(MainMenu_Back, &QAction::triggered, m, &MprisPlayer::expectSeek);
    connect(MainMenu_Forward, &QAction::triggered, m, &MprisPlayer::expectSeek);
    connect(PlayBar_Listen, &PlayBar::seekRequested, m, &MprisPlayer::expectSeek);

    // What is loaded plays on; with nothing loaded, what F9 would play.
    const auto play = [this] {
        if (FListenState == ListenSession::Playing)
            return;
        if (FListenPath.isEmpty())
            return MainMenu_PlayPauseClick();
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->play(); });
    };
    // Pausing goes through the menu's command, which rewinds as set.
    const auto pause = [this] {
        if (FListenState == ListenSession::Playing)
            MainMenu_PlayPauseClick();
    };
    const auto queued = Qt::QueuedConnection;
    connect(m, &MprisPlayer::playRequested, this, play, queued);
    connect(m, &MprisPlayer::pauseRequested, this, pause, queued);
    connect(m, &MprisPlayer::playPauseRequested, this, [this, play, pause] {
        FListenState == ListenSession::Playing ? pause() : play();
    }, queued);
    connect(m, &MprisPlayer::stopRequested, this, &TForm_TovixMan::MainMenu_StopClick, queued);
    connect(m, &MprisPlayer::seekByRequested, this, [this](qint64 deltaMs) {
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession, deltaMs] { s->seekBy(deltaMs); });
    }, queued);
    connect(m, &MprisPlayer::seekRequested, this, [this](qint64 ms) {
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession, ms] { s->seek(ms); });
    }, queued);
    connect(m, &MprisPlayer::rateRequested, this, &TForm_TovixMan::setListenSpeed, queued);
    connect(m, &MprisPlayer::volumeRequested, this, &TForm_TovixMan::setListenVolume, queued);
    connect(m, &MprisPlayer::openRequested, this, [this](const QString &path) { listenToFile(path); }, queued);
    connect(m, &MprisPlayer::raiseRequested, this, [this] {
        if (isMinimized())
            showNormal();
        else
            show();
        raise();
        activateWindow();
    }, queued);
    connect(m, &MprisPlayer::quitRequested, this, &QWidget::close, queued);
}

void TForm_TovixMan::setListenVolume(double volume)
{
    FListenVolume = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 1.0;
    if (FMpris)
        FMpris->setVolume(FListenVolume);
    if (PlayBar_Listen)
        PlayBar_Listen->setVolume(FListenVolume);
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, v = FListenVolume] { s->setVolume(v); });
}
