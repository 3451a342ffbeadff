// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/listen_session.h"

#include "listen/sound_sink.h"

#include "queue/tsan_order.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kDecodeFrames = 1024;
constexpr int kFeedIntervalMs = 10;
constexpr int kTicksPerPosition = 10;
constexpr int kRetireMs = 2000;
constexpr int kEndWaitMs = 2000;
constexpr int kCopyWatchMs = 100;

QThread *g_thread = nullptr;
QObject *g_context = nullptr; // lives on the listening thread
// Sinks stopped but not yet deleted, with when they stopped (listening thread only).
std::vector<std::pair<SoundSink *, QElapsedTimer>> g_retired;

struct Finished {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
};

// What a wait that ran out of time left behind: while it is still pending,
// the thread is taken to be stuck and nobody waits for it again (window's thread only).
std::shared_ptr<Finished> g_stuck;

// ms as sample frames, held within [0, length] first: a time from outside
// (the bus, the positions file) may be anything, and its product with the rate must fit.
std::int64_t framesOf(qint64 ms, const PlaybackDecoder &decoder)
{
    const int rate = std::max(decoder.sampleRate(), 1);
    const std::int64_t lengthMs = decoder.length() / rate * 1000 + decoder.length() % rate * 1000 / rate;
    return std::clamp<std::int64_t>(ms, 0, lengthMs) * rate / 1000;
}

} // namespace

bool runOnListenThread(QObject *context, std::function<void()> work)
{
    auto finished = std::make_shared<Finished>();
    QMetaObject::invokeMethod(context, [work = std::move(work), finished] {
        work();
        const std::lock_guard<std::mutex> lock(finished->mutex);
        finished->done = true;
        finished->changed.notify_all();
    }, Qt::QueuedConnection);
    if (g_stuck) {
        const std::lock_guard<std::mutex> lock(g_stuck->mutex);
        if (!g_stuck->done)
            return false;
    }
    g_stuck.reset();
    std::unique_lock<std::mutex> lock(finished->mutex);
    if (finished->changed.wait_for(lock, std::chrono::milliseconds(kEndWaitMs), [&] { return finished->done; }))
        return true;
    g_stuck = finished;
    return false;
}

namespace {

// The sessions' last calls run and the stopped sinks go before the thread
// ends, the youngest after the wait that keeps Qt's server thread off them.
// A thread stuck in a call is left to end with the process.
void endListenThread()
{
    if (!g_thread)
        return;
    const bool settled =
        runOnListenThread(g_context, [] { QCoreApplication::sendPostedEvents(); })
        && runOnListenThread(g_context, [] {
               QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
               for (auto &[sink, age] : g_retired) {
                   if (age.elapsed() < kRetireMs / 2)
                       QThread::msleep(unsigned(kRetireMs / 2 - age.elapsed()));
                   delete sink;
               }
               g_retired.clear();
               delete g_context;
           });
    if (!settled)
        return;
    g_thread->quit();
    g_thread->wait();
    delete g_thread;
    g_thread = nullptr;
}

} // namespace

QThread *listenThread()
{
    if (!g_thread) {
        g_thread = new QThread;
        g_thread->setObjectName(QStringLiteral("listen"));
        // Sound that comes late is heard as a gap: where allowed, the thread
        // is served before ordinary work (an unprivileged user keeps the default).
        QObject::connect(g_thread, &QThread::started, [] { ::setpriority(PRIO_PROCESS, id_t(::gettid()), -5); });
        g_thread->start();
        g_context = new QObject;
        g_context->moveToThread(g_thread);
        qAddPostRoutine(endListenThread);
    }
    return g_thread;
}

ListenSession::ListenSession()
{
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(kFeedIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &ListenSession::feed);
    m_copyTimer = new QTimer(this);
    m_copyTimer->setInterval(kCopyWatchMs);
    connect(m_copyTimer, &QTimer::timeout, this, &ListenSession::watchCopy);
    moveToThread(listenThread());
    // Made here, used there: Qt's hand-over of the calls orders that, unseen by ThreadSanitizer.
    orderedBefore(this);
}

ListenSession::~ListenSession()
{
    orderedAfter(this);
    rememberWhereLeft();
    stopSink();
    // The program ends with a listen copy unfinished: its part file goes with it.
    ListenCache(listenCacheFolder()).discardParts(m_copies.beingWritten());
}

// Left while playing, it is taken up again a little before.
void ListenSession::rememberWhereLeft()
{
    if (m_open)
        rememberPosition(m_state == Playing ? heardFrame() - framesOf(m_rewindMs, m_decoder)
                                            : m_decoder.position());
}

// Kept for the recording open; its end is kept as its start.
void ListenSession::rememberPosition(std::int64_t frame)
{
    if (!m_open || !m_positions)
        return;
    const std::int64_t at = frame >= m_decoder.length() ? 0 : std::max<std::int64_t>(frame, 0);
    m_positions->remember(m_key, msOf(at));
}

void ListenSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

qint64 ListenSession::msOf(std::int64_t frame) const
{
    const int rate = std::max(m_decoder.sampleRate(), 1);
    return qint64(frame * 1000 / rate);
}

void ListenSession::open(const QString &path, const QString &name, bool startPlaying, const QByteArray &key)
{
    orderedAfter(this);
    // Something else is wanted now: a copy being made no longer plays by itself.
    if (m_follow)
        m_follow->play = false;
    if (load(path, name, key, 0) && startPlaying)
        play();
}

// A file still being written (growingTo, the bytes it will hold) that can
// not be read yet says nothing: it is tried again once more has arrived.
bool ListenSession::load(const QString &path, const QString &name, const QByteArray &key, std::int64_t growingTo)
{
    rememberWhereLeft();
    stopSink();
    setState(Stopped);
    m_seekPending = -1;
    m_path = path;
    m_name = name;
    m_open = m_decoder.open(path.toLocal8Bit().toStdString(), growingTo);
    if (!m_open) {
        if (growingTo <= 0)
            emit openFailed(path, name, QString::fromStdString(m_decoder.error()));
        return false;
    }
    m_tempo.configure(m_decoder.sampleRate(), m_decoder.channels());
    m_tempo.setTempo(m_speed);
    if (!m_positions)
        m_positions = PositionMemory::of(positionStateFolder());
    m_key = key.isEmpty() ? PositionMemory::fileKey(path) : key;
    const std::int64_t resume = framesOf(m_positions->recall(m_key), m_decoder);
    seekFrame(resume < m_decoder.length() ? resume : 0);
    emit opened(path, name, msOf(m_decoder.length()));
    reportPosition();
    return true;
}

void ListenSession::play()
{
    orderedAfter(this);
    if (!m_open || m_state == Playing)
        return;
    // What is left of a file that became shorter is read anew.
    if (m_decoder.cutShort())
        return open(m_path, m_name, true);
    if (m_decoder.position() >= m_decoder.length())
        seekFrame(0);
    if (startSink())
        setState(Playing);
}

void ListenSession::pause(qint64 rewindMs)
{
    orderedAfter(this);
    if (m_state != Playing)
        return;
    const std::int64_t at = heardFrame();
    stopSink();
    seekFrame(at - framesOf(rewindMs, m_decoder));
    rememberPosition(m_decoder.position());
    setState(Paused);
    reportPosition();
}

// Stays where it was heard, less the rewind, and is kept there.
void ListenSession::stop()
{
    orderedAfter(this);
    if (m_follow)
        m_follow->play = false;
    const bool playing = m_state == Playing;
    stopSink();
    if (m_open) {
        if (playing)
            seekFrame(m_decoder.position() - framesOf(m_rewindMs, m_decoder));
        rememberPosition(m_decoder.position());
    }
    setState(Stopped);
    reportPosition();
}

void ListenSession::seek(qint64 ms)
{
    orderedAfter(this);
    if (!m_open)
        return;
    const bool playing = m_state == Playing;
    stopSink();
    seekFrame(framesOf(ms, m_decoder));
    reportPosition();
    if (playing && !startSink())
        setState(Stopped);
}

void ListenSession::seekBy(qint64 deltaMs)
{
    orderedAfter(this);
    if (m_open)
        seek(msOf(heardFrame()) + deltaMs);
}

void ListenSession::setSpeed(double speed)
{
    orderedAfter(this);
    m_speed = speed;
    m_tempo.setTempo(speed);
}

void ListenSession::setVolume(double volume)
{
    orderedAfter(this);
    m_volume = volume;
    if (m_sink)
        m_sink->setVolume(volume);
}

void ListenSession::setRewind(qint64 ms)
{
    orderedAfter(this);
    m_rewindMs = std::max<qint64>(ms, 0);
}

void ListenSession::seekFrame(std::int64_t frame)
{
    m_decoder.seek(std::max<std::int64_t>(frame, 0));
    m_tempo.clear();
    m_flushed = false;
    m_base = m_decoder.position();
    m_sentSource = 0;
    // Not copied yet: playing waits there until it has arrived.
    m_seekPending = m_decoder.growing() && m_decoder.position() < m_decoder.length()
            && m_decoder.position() + m_decoder.sampleRate() / 4 > m_decoder.arrivedFrames()
        ? m_decoder.position() : -1;
}

// What is being heard: what the sink was given, less what it still holds.
std::int64_t ListenSession::heardFrame() const
{
    double queued = 0;
    if (m_sink) {
        const int bytesPerFrame = 2 * m_decoder.channels();
        queued = double(std::max<qsizetype>(m_sink->bufferSize() - m_sink->bytesFree(), 0)) / bytesPerFrame;
    }
    const double at = m_base + m_sentSource - queued * m_speed;
    return std::clamp<std::int64_t>(std::int64_t(at), m_base, m_decoder.length());
}

void ListenSession::reportPosition()
{
    emit positionChanged(msOf(m_sink ? heardFrame() : m_decoder.position()));
}

bool ListenSession::startSink()
{
    m_sink = makeSoundSink(m_decoder.sampleRate(), m_decoder.channels());
    const int bytesPerSecond = m_decoder.sampleRate() * m_decoder.channels() * 2;
    m_sink->setBufferSize(bytesPerSecond * kBufferMs / 1000);
    m_sink->setVolume(m_volume);
    // The sink may not be ended from inside its own signal: what it says is
    // acted on once it has returned.
    SoundSink *sink = m_sink.get();
    connect(sink, &SoundSink::stateChanged, this, [this, sink](QAudio::State state) {
        // A sink starts idle; once it has played, idle before the end is an underrun.
        if (state == QAudio::ActiveState)
            m_sinkPlayed = true;
        else if (state == QAudio::IdleState && m_sinkPlayed && !m_flushed)
            emit underrun();
        QMetaObject::invokeMethod(this, [this, sink] {
            if (m_sink.get() != sink)
                return;
            if (sink->state() == QAudio::StoppedState && sink->error() != QAudio::NoError) {
                stopSink();
                setState(Paused);
                soundServerLost();
                emit outputFailed(tr("Sound output stopped: the sound server went away."));
            } else if (sink->state() == QAudio::IdleState && m_flushed && m_tempo.ready() == 0) {
                finish();
            }
        }, Qt::QueuedConnection);
    });
    m_sinkPlayed = false;
    m_io = m_sink->start();
    if (!m_io || m_sink->error() != QAudio::NoError) {
        stopSink();
        soundServerLost();
        emit outputFailed(tr("No sound output: the sound server can not be reached."));
        return false;
    }
    m_ticks = 0;
    feed();
    m_timer->start();
    return true;
}

void ListenSession::stopSink()
{
    m_timer->stop();
    if (!m_sink)
        return;
    // Stopped where it is heard, so that what was buffered is played again.
    const std::int64_t heard = heardFrame();
    retireSink();
    if (m_open && m_decoder.position() != heard)
        seekFrame(heard);
}

// Qt's PulseAudio sink may still signal from the server's thread just after
// it stopped; it is deleted only once that cannot happen any more.
void ListenSession::retireSink()
{
    SoundSink *sink = m_sink.release();
    m_io = nullptr;
    sink->disconnect(this);
    sink->stop();
    g_retired.emplace_back(sink, QElapsedTimer());
    g_retired.back().second.start();
    QTimer::singleShot(kRetireMs, sink, [sink] {
        g_retired.erase(std::find_if(g_retired.begin(), g_retired.end(),
                                     [sink](const auto &r) { return r.first == sink; }));
        sink->deleteLater();
    });
}

void ListenSession::feed()
{
    if (!m_sink || !m_io)
        return;
    if (m_seekPending >= 0 && !seekArrived())
        return;
    const int channels = m_decoder.channels();
    const std::size_t bytesPerFrame = 2 * std::size_t(channels);
    std::size_t room = std::size_t(std::max<qsizetype>(m_sink->bytesFree(), 0)) / bytesPerFrame;
    while (room > 0) {
        if (m_tempo.ready() == 0 && !m_flushed) {
            m_pcm.resize(kDecodeFrames * std::size_t(channels));
            const std::size_t got = m_decoder.read(m_pcm.data(), kDecodeFrames);
            if (got > 0) {
                m_tempo.put(m_pcm.data(), got);
            } else if (m_decoder.waiting()) {
                break; // what follows is still being copied
            } else if (m_decoder.cutShort()) {
                return endEarly();
            } else {
                m_tempo.flush();
                m_flushed = true;
            }
            continue;
        }
        m_out.resize(room * std::size_t(channels));
        const std::size_t frames = m_tempo.take(m_out.data(), room);
        if (frames == 0)
            break;
        m_io->write(reinterpret_cast<const char *>(m_out.data()), qint64(frames * bytesPerFrame));
        m_sentSource += double(frames) * m_speed;
        room -= frames;
    }
    if (++m_ticks % kTicksPerPosition == 0)
        reportPosition();
    if (m_flushed && m_tempo.ready() == 0)
        m_sink->drain();
    // Everything is written and the server has played it (an idle sink says
    // so too, when its free space never reaches the whole buffer).
    if (m_flushed && m_tempo.ready() == 0
        && (m_sink->bytesFree() >= m_sink->bufferSize() || (m_sinkPlayed && m_sink->state() == QAudio::IdleState)))
        finish();
}

void ListenSession::finish()
{
    m_timer->stop();
    retireSink();
    seekFrame(0);
    rememberPosition(0);
    setState(Stopped);
    reportPosition();
}

// The file lost what was still to come: playing ends now, not in silence.
void ListenSession::endEarly()
{
    finish();
    emit notice(tr("Playing %1 ended early: the file became shorter while it played.").arg(m_name));
}
