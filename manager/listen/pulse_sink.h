// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One playback stream to the desktop's sound server, spoken to through
// libpulse (PulseAudio, or PipeWire's PulseAudio service). Every sink opens
// its own connection, so a server that went away and came back is reached
// again by the next sink: Qt's shared connection gives up on it for good.
// Lives on the thread that made it.
#pragma once

#include "listen/sound_sink.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
class PulseSink : public SoundSink {
    Q_OBJECT

public:
    PulseSink(int sampleRate, int channels);
    ~PulseSink() override;

    void setBufferSize(qsizetype bytes) override { m_bufferSize = bytes; }
    qsizetype bufferSize() const override { return m_bufferSize; }
    qsizetype bytesFree() const override;
    void setVolume(double volume) override { m_volume = volume; }
    QIODevice *start() override;
    void stop() override;
    void drain() override;
    QAudio::State state() const override { return m_state; }
    QAudio::Error error() const override { return m_error; }

    qint64 write(const char *data, qint64 bytes);

private:
    static void contextChanged(pa_context *context, void *self);
    static void streamChanged(pa_stream *stream, void *self);
    static void underflow(pa_stream *stream, void *self);
    static void drained(pa_stream *stream, int success, void *self);
    bool connectStream();
    void setState(QAudio::State state);
    void lost();

    const int m_rate;
    const int m_channels;
    qsizetype m_bufferSize = 0;
    double m_volume = 1.0;
    QAudio::State m_state = QAudio::StoppedState;
    QAudio::Error m_error = QAudio::NoError;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    std::unique_ptr<QIODevice> m_device;
    std::vector<std::int16_t> m_scaled;
    bool m_draining = false;
    std::atomic<bool> m_ready{false};   // the server's thread reports only from then on
    std::atomic<quint64> m_writes{0};  // an underflow older than the last write is past
};
