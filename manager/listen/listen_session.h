// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One window's playback, living on the listening thread: decodes, changes
// the speed and feeds the desktop's sound server through a SoundSink. The
// window talks to it only through queued calls and its signals.
#pragma once

#include "listen/listen_cache.h"
#include "listen/playback_decoder.h"
#include "listen/position_memory.h"
#include "listen/tempo_stretcher.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class SoundSink;
class QIODevice;
class QThread;
class QTimer;

// The thread every window's playback runs on; started on first use, ended
// when the application ends.
QThread *listenThread();

// Runs work on the listening thread, in context's turn, and waits at most
// 2 s for it: false when it has not finished by then (it still runs once
// the thread is free). After such a wait, none waits again until that work
// has run. For the window's thread, when something is to end.
bool runOnListenThread(QObject *context, std::function<void()> work);

class ListenSession : public QObject {
    Q_OBJECT

public:
    enum State { Stopped, Playing, Paused };

    // Made on the window's thread; moves itself to the listening thread.
    ListenSession();
    ~ListenSession() override;

    // The rest runs on the listening thread (queued from the window).
    // Resumes where the recording was left; key names it for that (a PC
    // file's own when empty).
    void open(const QString &path, const QString &name, bool play, const QByteArray &key = {});
    void play();
    void pause(qint64 rewindMs);
    void stop();
    void seek(qint64 ms);
    void seekBy(qint64 deltaMs);
    void setSpeed(double speed);
    // 0 (silent) to 1 (as recorded).
    void setVolume(double volume);
    // What is given back of a position kept while playing (as a pause does).
    void setRewind(qint64 ms);
    void lookUp(const CachedRecording &recording);
    // The recording's copy is being made: it plays (from where it was
    // left) as soon as its first seconds have arrived, the rest following
    // behind, unless something else was played or it was stopped meanwhile.
    void follow(const CachedRecording &recording, const QString &name, const QByteArray &key);
    void keepCopy(const CachedRecording &recording, bool copied);
    // The player went away, or a memory of it changed (mtInternal, mtCard,
    // 0 for both): the copies made from it are not played again.
    void forgetCopies(std::int32_t target);

    // How much sound the server holds ahead of what is heard: enough to ride
    // out a busy machine, while a seek or a pause starts the sink anew.
    static constexpr int kBufferMs = 400;
    // What of a copy must have arrived before it plays: a few seconds of
    // the slowest recordings, the header of any.
    static constexpr std::int64_t kStartBytes = 32 * 1024;

signals:
    void opened(const QString &path, const QString &name, qint64 lengthMs);
    void openFailed(const QString &path, const QString &name, const QString &reason);
    void positionChanged(qint64 ms);
    void stateChanged(int state);
    void outputFailed(const QString &text);
    // Something the status bar says about the recording: it ended early, or
    // parts of it could not be played.
    void notice(const QString &text);
    void underrun();
    // A player recording's copy: present (path to play), to be made (path
    // to copy to), or refused (why).
    void cacheChecked(const QString &name, const QString &path, bool present, const QString &refusal);
    void copyKept(const QString &path, const QString &name, bool kept);
    // How much of the copy being made (part, the path the device writes)
    // has arrived, -1 once it is done; waiting while playing is held up
    // until what it needs has arrived.
    void copyProgress(const QString &part, int percent, bool waiting);
    // What was loaded is gone: its copy failed.
    void closed();

private:
    void feed();
    bool startSink();
    void stopSink();
    void retireSink();
    void finish();
    void endEarly();
    void seekFrame(std::int64_t frame);
    void setState(State state);
    std::int64_t heardFrame() const;
    qint64 msOf(std::int64_t frame) const;
    void reportPosition();
    void rememberPosition(std::int64_t frame);
    void rememberWhereLeft();
    bool load(const QString &path, const QString &name, const QByteArray &key, std::int64_t growingTo);
    void watchCopy();
    bool seekArrived();
    void settleCopy(const QString &path, bool kept);

    PlaybackDecoder m_decoder;
    TempoStretcher m_tempo;
    std::unique_ptr<SoundSink> m_sink;
    QIODevice *m_io = nullptr;
    QTimer *m_timer = nullptr;
    State m_state = Stopped;
    bool m_open = false;
    QString m_path;
    QString m_name;
    bool m_flushed = false;
    bool m_sinkPlayed = false;
    double m_speed = 1.0;
    double m_volume = 1.0;
    std::int64_t m_base = 0;      // the source frame where the sink started
    double m_sentSource = 0;      // source frames the sink has been given since
    std::vector<std::int16_t> m_pcm;
    std::vector<std::int16_t> m_out;
    int m_ticks = 0;
    CopyLedger m_copies;
    std::shared_ptr<PositionMemory> m_positions;
    QByteArray m_key;
    qint64 m_rewindMs = 0;

    // The copy being made that is to be played.
    struct Followed {
        CachedRecording recording;
        QString part;
        QString name;
        QByteArray key;
        bool play = true;          // not yet superseded by another recording or a stop
        std::int64_t tried = -1;   // bytes it held when opening it last failed
    };
    std::optional<Followed> m_follow;
    QTimer *m_copyTimer = nullptr;
    int m_copyPercent = -1;
    bool m_copyWaiting = false;
    std::int64_t m_seekPending = -1; // a frame gone to before it arrived, gone to again once it has
};
