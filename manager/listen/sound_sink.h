// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where playback's samples go: Qt's sink while Qt's connection to the sound
// server holds, else a sink on libpulse of its own (see pulse_sink.h). Made
// and used on one thread.
#pragma once

#include <QAudio>
#include <QObject>

#include <memory>

class QIODevice;

class SoundSink : public QObject {
    Q_OBJECT

public:
    virtual void setBufferSize(qsizetype bytes) = 0;
    virtual qsizetype bufferSize() const = 0;
    virtual qsizetype bytesFree() const = 0;
    // 0 (silent) to 1 (as given).
    virtual void setVolume(double volume) = 0;
    // Null when the server can not be reached.
    virtual QIODevice *start() = 0;
    virtual void stop() = 0;
    // All has been written: what is held is played out, then the sink is idle.
    virtual void drain() {}
    virtual QAudio::State state() const = 0;
    virtual QAudio::Error error() const = 0;

signals:
    void stateChanged(QAudio::State state);
};

// 16-bit samples at that rate and channel count.
std::unique_ptr<SoundSink> makeSoundSink(int sampleRate, int channels);
// Qt's connection to the server failed: it never comes back by itself, so
// every later sink talks to the server through libpulse.
void soundServerLost();
