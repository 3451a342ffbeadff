// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Playback as the desktop sees it: published on the session bus as a media
// player, so that media keys, the shell's player controls and playerctl
// drive it while another window has the focus. It lives on the window's
// thread, mirrors what the listening session reports, and hands every
// command from the bus to the window as a signal. Without a session bus it
// stays quiet and nothing else changes.
#pragma once

#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVariantMap>

class MprisPlayer : public QObject {
    Q_OBJECT

public:
    static constexpr double kMinimumRate = 0.5;
    static constexpr double kMaximumRate = 2.0;

    explicit MprisPlayer(QObject *parent = nullptr);
    ~MprisPlayer() override;

    // The name it is known by on the bus; empty when it is not published.
    QString serviceName() const { return m_service; }

    // What the window and the listening session report.
    void setRecording(const QString &path, const QString &name, qint64 lengthMs);
    void clearRecording();
    // The copy being played from was completed under its own name.
    void copyCompleted(const QString &path);
    void setState(int state); // ListenSession::State
    void setPosition(qint64 ms);
    void setRate(double rate);
    void setVolume(double volume);
    // A seek was asked for elsewhere (the window's keys and play bar): where
    // it lands is announced.
    void expectSeek();

    // Read by the bus.
    QString playbackStatus() const;
    qint64 positionUs() const;
    double rate() const { return m_rate; }
    double volume() const { return m_volume; }
    QVariantMap metadata() const;
    bool canSeek() const { return m_lengthMs > 0; }

    // Asked by the bus; checked here, carried out by the window.
    void askRate(double rate);
    void askVolume(double volume);
    void askSeek(qint64 offsetUs);
    void askPosition(const QDBusObjectPath &track, qint64 positionUs);
    // False when the address is not a local file the program can play.
    bool askOpen(const QString &uri);

signals:
    void playRequested();
    void pauseRequested();
    void playPauseRequested();
    void stopRequested();
    void seekByRequested(qint64 deltaMs);
    void seekRequested(qint64 ms);
    void rateRequested(double rate);
    void volumeRequested(double volume);
    void openRequested(const QString &path);
    void raiseRequested();
    void quitRequested();
    // Relayed on the bus by the player's adaptor.
    void seeked(qint64 positionUs);

private:
    void publish();
    qint64 estimatedMs() const;
    QDBusObjectPath trackId() const;
    void announce(const QString &iface, const QVariantMap &changed);
    void announcePlayer(const QStringList &names);

    QString m_connection;
    QString m_service;
    QString m_path;
    QString m_title;
    qint64 m_lengthMs = 0;
    qint64 m_positionMs = 0;
    QElapsedTimer m_positionAt; // when m_positionMs was heard
    quint64 m_track = 0;
    int m_state = 0;
    double m_rate = 1.0;
    double m_volume = 1.0;
    QElapsedTimer m_seekAsked; // since a seek was asked for, until it is announced
};
