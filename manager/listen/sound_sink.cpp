// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/sound_sink.h"

#include "listen/pulse_sink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include <atomic>

namespace {

std::atomic<bool> g_qtLost{false};

class QtSoundSink : public SoundSink {
public:
    QtSoundSink(const QAudioDevice &device, const QAudioFormat &format)
        : m_sink(std::make_unique<QAudioSink>(device, format))
    {
        connect(m_sink.get(), &QAudioSink::stateChanged, this, &SoundSink::stateChanged);
    }

    void setBufferSize(qsizetype bytes) override { m_sink->setBufferSize(bytes); }
    qsizetype bufferSize() const override { return m_sink->bufferSize(); }
    qsizetype bytesFree() const override { return m_sink->bytesFree(); }
    void setVolume(double volume) override { m_sink->setVolume(volume); }
    QIODevice *start() override { return m_sink->start(); }
    void stop() override { m_sink->stop(); }
    QAudio::State state() const override { return m_sink->state(); }
    QAudio::Error error() const override { return m_sink->error(); }

private:
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace

std::unique_ptr<SoundSink> makeSoundSink(int sampleRate, int channels)
{
    if (!g_qtLost.load()) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (!device.isNull()) {
            QAudioFormat format;
            format.setSampleRate(sampleRate);
            format.setChannelCount(channels);
            format.setSampleFormat(QAudioFormat::Int16);
            return std::make_unique<QtSoundSink>(device, format);
        }
        soundServerLost();
    }
    return std::make_unique<PulseSink>(sampleRate, channels);
}

void soundServerLost()
{
    g_qtLost.store(true);
}
