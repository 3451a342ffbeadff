// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/pulse_sink.h"

#include <QCoreApplication>
#include <QIODevice>

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace {

// libpulse's record of a sample format, named after the argument of pa_stream_new that takes it.
template <typename> struct ThirdArgument;
template <typename R, typename A, typename B, typename C, typename... Rest>
struct ThirdArgument<R(A, B, C, Rest...)> {
    using Type = std::remove_cv_t<std::remove_pointer_t<C>>;
};
using SampleFormat = ThirdArgument<decltype(pa_stream_new)>::Type;

// What the session writes to; reading gives nothing.
class SinkDevice : public QIODevice {
public:
    explicit SinkDevice(PulseSink *sink) : m_sink(sink) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 bytes) override { return m_sink->write(data, bytes); }

private:
    PulseSink *m_sink;
};

// Holds the server thread's lock for a scope.
class Locked {
public:
    explicit Locked(pa_threaded_mainloop *loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~Locked() { pa_threaded_mainloop_unlock(m_loop); }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;

private:
    pa_threaded_mainloop *m_loop;
};

} // namespace

PulseSink::PulseSink(int sampleRate, int channels) : m_rate(sampleRate), m_channels(channels) {}

PulseSink::~PulseSink()
{
    stop();
}

void PulseSink::contextChanged(pa_context *context, void *self)
{
    auto *sink = static_cast<PulseSink *>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED)
        sink->lost();
    pa_threaded_mainloop_signal(sink->m_loop, 0);
}

void PulseSink::streamChanged(pa_stream *stream, void *self)
{
    auto *sink = static_cast<PulseSink *>(self);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        sink->lost();
    pa_threaded_mainloop_signal(sink->m_loop, 0);
}

// The stream ran out of sound: once the server has played what it still
// holds, the sink is idle, unless more was written since.
void PulseSink::underflow(pa_stream *stream, void *self)
{
    if (pa_operation *o = pa_stream_drain(stream, &PulseSink::drained, self))
        pa_operation_unref(o);
}

// Also starts a stream that never held a whole buffer.
void PulseSink::drain()
{
    if (!m_stream || m_draining || m_state == QAudio::StoppedState)
        return;
    m_draining = true;
    const Locked lock(m_loop);
    underflow(m_stream, this);
}

void PulseSink::drained(pa_stream *, int success, void *self)
{
    auto *sink = static_cast<PulseSink *>(self);
    const quint64 writes = sink->m_writes.load();
    if (success && sink->m_ready.load())
        QMetaObject::invokeMethod(sink, [sink, writes] {
            if (sink->m_state == QAudio::ActiveState && sink->m_writes.load() == writes)
                sink->setState(QAudio::IdleState);
        }, Qt::QueuedConnection);
}

// On the server's thread: the connection or the stream ended under the sink.
void PulseSink::lost()
{
    if (!m_ready.load())
        return;
    QMetaObject::invokeMethod(this, [this] {
        if (m_state == QAudio::StoppedState)
            return;
        m_error = QAudio::FatalError;
        setState(QAudio::StoppedState);
    }, Qt::QueuedConnection);
}

void PulseSink::setState(QAudio::State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

QIODevice *PulseSink::start()
{
    stop();
    m_error = QAudio::OpenError;
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return nullptr;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "TovixMan");
    if (!m_context)
        return nullptr;
    pa_context_set_state_callback(m_context, &PulseSink::contextChanged, this);
    // A desktop runs its server itself; none is started for us.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || pa_threaded_mainloop_start(m_loop) < 0 || !connectStream())
        return nullptr;
    m_error = QAudio::NoError;
    m_draining = false;
    m_device = std::make_unique<SinkDevice>(this);
    m_state = QAudio::IdleState;
    return m_device.get();
}

// Waits for the connection, then for a stream of the session's format.
bool PulseSink::connectStream()
{
    const Locked lock(m_loop);
    pa_context_state_t state;
    while ((state = pa_context_get_state(m_context)) != PA_CONTEXT_READY) {
        if (!PA_CONTEXT_IS_GOOD(state))
            return false;
        pa_threaded_mainloop_wait(m_loop);
    }
    // pa_stream_new refuses a rate or channel count the server can not take.
    const SampleFormat format{PA_SAMPLE_S16LE, std::uint32_t(m_rate), std::uint8_t(m_channels)};
    // The stream's name, as the desktop's volume control lists it.
    const QByteArray name = QCoreApplication::translate("PulseSink", "Listening").toUtf8();
    m_stream = pa_stream_new(m_context, name.constData(), &format, nullptr);
    if (!m_stream)
        return false;
    pa_stream_set_state_callback(m_stream, &PulseSink::streamChanged, this);
    pa_stream_set_underflow_callback(m_stream, &PulseSink::underflow, this);
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(m_bufferSize);
    attr.prebuf = std::uint32_t(-1); // a whole buffer before it plays: no gap at its start
    attr.minreq = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0)
        return false;
    pa_stream_state_t streamState;
    while ((streamState = pa_stream_get_state(m_stream)) != PA_STREAM_READY) {
        if (!PA_STREAM_IS_GOOD(streamState))
            return false;
        pa_threaded_mainloop_wait(m_loop);
    }
    m_ready.store(true);
    return true;
}

void PulseSink::stop()
{
    m_ready.store(false);
    if (m_loop) {
        {
            const Locked lock(m_loop);
            if (m_stream) {
                pa_stream_set_state_callback(m_stream, nullptr, nullptr);
                pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
                pa_stream_disconnect(m_stream);
                pa_stream_unref(m_stream);
            }
            if (m_context) {
                pa_context_set_state_callback(m_context, nullptr, nullptr);
                pa_context_disconnect(m_context);
                pa_context_unref(m_context);
            }
        }
        pa_threaded_mainloop_stop(m_loop);
        pa_threaded_mainloop_free(m_loop);
    }
    m_stream = nullptr;
    m_context = nullptr;
    m_loop = nullptr;
    m_device.reset();
    m_state = QAudio::StoppedState;
}

qsizetype PulseSink::bytesFree() const
{
    if (!m_stream || m_state == QAudio::StoppedState)
        return 0;
    const Locked lock(m_loop);
    const std::size_t free = pa_stream_writable_size(m_stream);
    // Never all of it: that the last sound was heard is told by the idle state.
    return free == std::size_t(-1) ? 0 : std::min(qsizetype(free), m_bufferSize - 1);
}

// The volume is applied here, to the samples.
qint64 PulseSink::write(const char *data, qint64 bytes)
{
    if (!m_stream || m_state == QAudio::StoppedState)
        return -1;
    const std::size_t samples = std::size_t(bytes) / 2;
    m_scaled.resize(samples);
    std::memcpy(m_scaled.data(), data, samples * 2);
    if (m_volume < 1.0) {
        const double volume = std::max(m_volume, 0.0);
        for (std::int16_t &s : m_scaled)
            s = std::int16_t(std::lround(s * volume));
    }
    {
        const Locked lock(m_loop);
        m_writes.fetch_add(1);
        if (pa_stream_write(m_stream, m_scaled.data(), samples * 2, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return -1;
    }
    if (samples > 0)
        setState(QAudio::ActiveState);
    return qint64(samples * 2);
}
