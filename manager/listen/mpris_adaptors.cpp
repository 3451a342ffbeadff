// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/mpris_adaptors.h"

#include "listen/mpris_player.h"

MprisRootAdaptor::MprisRootAdaptor(MprisPlayer *player) : QDBusAbstractAdaptor(player), m_player(player) {}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("TovixMan");
}

// The installed desktop entry's name, without ".desktop".
QString MprisRootAdaptor::desktopEntry() const
{
    return QStringLiteral("example.tovixman.TovixMan");
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/x-tovix-voice"), QStringLiteral("audio/x-wav"), QStringLiteral("audio/wav"),
            QStringLiteral("audio/mpeg")};
}

void MprisRootAdaptor::Raise()
{
    emit m_player->raiseRequested();
}

void MprisRootAdaptor::Quit()
{
    emit m_player->quitRequested();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisPlayer *player) : QDBusAbstractAdaptor(player), m_player(player)
{
    setAutoRelaySignals(true);
    connect(player, &MprisPlayer::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_player->playbackStatus();
}

double MprisPlayerAdaptor::rate() const
{
    return m_player->rate();
}

void MprisPlayerAdaptor::setRate(double rate)
{
    m_player->askRate(rate);
}

double MprisPlayerAdaptor::minimumRate() const
{
    return MprisPlayer::kMinimumRate;
}

double MprisPlayerAdaptor::maximumRate() const
{
    return MprisPlayer::kMaximumRate;
}

double MprisPlayerAdaptor::volume() const
{
    return m_player->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_player->askVolume(volume);
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_player->metadata();
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_player->positionUs();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_player->canSeek();
}

void MprisPlayerAdaptor::Play()
{
    emit m_player->playRequested();
}

void MprisPlayerAdaptor::Pause()
{
    emit m_player->pauseRequested();
}

void MprisPlayerAdaptor::PlayPause()
{
    emit m_player->playPauseRequested();
}

void MprisPlayerAdaptor::Stop()
{
    emit m_player->stopRequested();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    m_player->askSeek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    m_player->askPosition(TrackId, Position);
}

void MprisPlayerAdaptor::OpenUri(const QString &Uri)
{
    if (!m_player->askOpen(Uri))
        sendErrorReply(QDBusError::InvalidArgs,
                       tr("Only local voice recordings, wave and MP3 files can be opened."));
}
