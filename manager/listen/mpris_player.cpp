// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/mpris_player.h"

#include "listen/listen_session.h"
#include "listen/mpris_adaptors.h"
#include "listen/playback_decoder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include <unistd.h>

namespace {

const char kObjectPath[] = "/org/mpris/MediaPlayer2";
const char kService[] = "org.mpris.MediaPlayer2.tovixman";
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
// After a seek was asked for, the first position that moves further than
// playing explains is where it landed; a seek that lands near where playing
// was is taken as landed at once when nothing newer came.
constexpr qint64 kLandedMs = 100;
constexpr qint64 kSeekWaitMs = 1000;

// The characters a bus address keeps as they are; the rest are %-escaped.
QString escapedAddressValue(const QString &value)
{
    QString out;
    for (const char c : value.toUtf8()) {
        if (std::isalnum(static_cast<unsigned char>(c)) || (c != 0 && std::strchr("-_/.*", c)))
            out += QLatin1Char(c);
        else
            out += QStringLiteral("%%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
    }
    return out;
}

// The session bus the desktop announces, or the per-user one it keeps in the
// runtime folder. No other bus is started for us: where the desktop has
// none, there is none.
QString sessionBusAddress()
{
    const QString announced = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!announced.isEmpty())
        return announced;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    const QString socket = runtime + QStringLiteral("/bus");
    if (!QFileInfo::exists(socket))
        return {};
    return QStringLiteral("unix:path=") + escapedAddressValue(socket);
}

} // namespace

MprisPlayer::MprisPlayer(QObject *parent) : QObject(parent)
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    m_positionAt.start();
    publish();
}

MprisPlayer::~MprisPlayer()
{
    if (m_connection.isEmpty())
        return;
    QDBusConnection bus(m_connection);
    if (!m_service.isEmpty())
        bus.unregisterService(m_service);
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
    QDBusConnection::disconnectFromBus(m_connection);
}

void MprisPlayer::publish()
{
    const QString address = sessionBusAddress();
    if (address.isEmpty())
        return;
    static int connections = 0;
    m_connection = QStringLiteral("tovixman-mpris-%1").arg(++connections);
    QDBusConnection bus = QDBusConnection::connectToBus(address, m_connection);
    if (!bus.isConnected()
        || !bus.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
        QDBusConnection::disconnectFromBus(m_connection);
        m_connection.clear();
        return;
    }
    // A second player of ours (another user's window on the same bus, or a
    // test's) takes the per-instance name the desktop also looks for.
    const QString name = QString::fromLatin1(kService);
    if (bus.registerService(name))
        m_service = name;
    else if (bus.registerService(name + QStringLiteral(".instance%1").arg(::getpid())))
        m_service = name + QStringLiteral(".instance%1").arg(::getpid());
}

void MprisPlayer::setRecording(const QString &path, const QString &name, qint64 lengthMs)
{
    const bool couldSeek = canSeek();
    m_path = path;
    m_title = name;
    m_lengthMs = std::max<qint64>(lengthMs, 0);
    m_positionMs = 0;
    m_positionAt.restart();
    ++m_track;
    QStringList changed{QStringLiteral("Metadata")};
    if (couldSeek != canSeek())
        changed << QStringLiteral("CanSeek");
    announcePlayer(changed);
}

// The part file is gone once the copy is whole; the same recording goes on.
void MprisPlayer::copyCompleted(const QString &path)
{
    if (m_path != path + QLatin1String(".part"))
        return;
    m_path = path;
    announcePlayer({QStringLiteral("Metadata")});
}

void MprisPlayer::clearRecording()
{
    if (m_path.isEmpty() && m_lengthMs == 0)
        return;
    const bool couldSeek = canSeek();
    m_path.clear();
    m_title.clear();
    m_lengthMs = 0;
    m_positionMs = 0;
    QStringList changed{QStringLiteral("Metadata")};
    if (couldSeek)
        changed << QStringLiteral("CanSeek");
    announcePlayer(changed);
}

void MprisPlayer::setState(int state)
{
    if (state == m_state)
        return;
    // The position so far is counted under the old state.
    m_positionMs = estimatedMs();
    m_positionAt.restart();
    m_state = state;
    announcePlayer({QStringLiteral("PlaybackStatus")});
}

void MprisPlayer::setPosition(qint64 ms)
{
    const qint64 expected = estimatedMs();
    m_positionMs = std::clamp<qint64>(ms, 0, std::max<qint64>(m_lengthMs, 0));
    m_positionAt.restart();
    if (!m_seekAsked.isValid())
        return;
    // While playing, the sound server's start makes positions lag behind the
    // clock: only a seek asked for is announced.
    if (std::abs(m_positionMs - expected) > kLandedMs || m_state != ListenSession::Playing
        || m_seekAsked.hasExpired(kSeekWaitMs)) {
        m_seekAsked.invalidate();
        emit seeked(m_positionMs * 1000);
    }
}

void MprisPlayer::setRate(double rate)
{
    if (rate == m_rate)
        return;
    m_positionMs = estimatedMs();
    m_positionAt.restart();
    m_rate = rate;
    announcePlayer({QStringLiteral("Rate")});
}

void MprisPlayer::setVolume(double volume)
{
    if (volume == m_volume)
        return;
    m_volume = volume;
    announcePlayer({QStringLiteral("Volume")});
}

QString MprisPlayer::playbackStatus() const
{
    switch (m_state) {
    case ListenSession::Playing:
        return QStringLiteral("Playing");
    case ListenSession::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

// While playing, the position moves on between the session's reports.
qint64 MprisPlayer::estimatedMs() const
{
    if (m_state != ListenSession::Playing)
        return m_positionMs;
    const qint64 at = m_positionMs + qint64(double(m_positionAt.elapsed()) * m_rate);
    return std::min(at, m_lengthMs);
}

qint64 MprisPlayer::positionUs() const
{
    return estimatedMs() * 1000;
}

QDBusObjectPath MprisPlayer::trackId() const
{
    if (m_path.isEmpty())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/tovixman/Track/%1").arg(m_track));
}

QVariantMap MprisPlayer::metadata() const
{
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId()));
    if (m_path.isEmpty())
        return map;
    map.insert(QStringLiteral("mpris:length"), qlonglong(m_lengthMs) * 1000);
    map.insert(QStringLiteral("xesam:title"), m_title);
    map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded));
    return map;
}

// Speeds go in the keys' steps; 0 means pause, as players do.
void MprisPlayer::askRate(double rate)
{
    if (!std::isfinite(rate) || rate < 0)
        return;
    if (rate == 0) {
        emit pauseRequested();
        return;
    }
    emit rateRequested(std::clamp(std::round(rate * 10) / 10, kMinimumRate, kMaximumRate));
}

void MprisPlayer::askVolume(double volume)
{
    if (std::isfinite(volume))
        emit volumeRequested(std::clamp(volume, 0.0, 1.0));
}

void MprisPlayer::expectSeek()
{
    m_seekAsked.start();
}

// Past the end ends the recording, as there is no next one to go to.
void MprisPlayer::askSeek(qint64 offsetUs)
{
    if (m_path.isEmpty())
        return;
    const qint64 deltaMs = offsetUs / 1000;
    if (estimatedMs() + deltaMs >= m_lengthMs) {
        emit stopRequested();
        return;
    }
    expectSeek();
    emit seekByRequested(deltaMs);
}

// Only for the recording loaded now, and only within it.
void MprisPlayer::askPosition(const QDBusObjectPath &track, qint64 positionUs)
{
    if (m_path.isEmpty() || track != trackId() || positionUs < 0 || positionUs / 1000 > m_lengthMs)
        return;
    expectSeek();
    emit seekRequested(positionUs / 1000);
}

bool MprisPlayer::askOpen(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return false;
    const QString path = url.toLocalFile();
    if (!isListenableName(QFileInfo(path).fileName().toLocal8Bit().toStdString()) || !QFileInfo(path).isFile())
        return false;
    emit openRequested(path);
    return true;
}

void MprisPlayer::announcePlayer(const QStringList &names)
{
    QVariantMap changed;
    for (const QString &name : names) {
        if (name == QLatin1String("Metadata"))
            changed.insert(name, metadata());
        else if (name == QLatin1String("PlaybackStatus"))
            changed.insert(name, playbackStatus());
        else if (name == QLatin1String("Rate"))
            changed.insert(name, m_rate);
        else if (name == QLatin1String("Volume"))
            changed.insert(name, m_volume);
        else if (name == QLatin1String("CanSeek"))
            changed.insert(name, canSeek());
    }
    announce(QString::fromLatin1(kPlayerInterface), changed);
}

void MprisPlayer::announce(const QString &iface, const QVariantMap &changed)
{
    if (m_connection.isEmpty() || changed.isEmpty())
        return;
    QDBusMessage message = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    message << iface << changed << QStringList();
    QDBusConnection(m_connection).send(message);
}
