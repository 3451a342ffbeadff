// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "private_pulse.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <cstring>

#include <signal.h>

QProcessEnvironment PrivatePulse::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socketPath());
    return env;
}

bool PrivatePulse::run(const QStringList &args, int timeoutMs)
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("pulseaudio"), args);
    return p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// As root (CI) the daemon warns that it is meant for --system but runs: it
// keeps its state under the private HOME and XDG_RUNTIME_DIR.
QString PrivatePulse::start()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        return QStringLiteral("pulseaudio or parec is not installed");
    if (!m_dir.isValid())
        return QStringLiteral("no private runtime folder");
    const QStringList args = {
        // A daemon whose test died ends by itself once no client is left.
        QStringLiteral("--daemonize=yes"), QStringLiteral("--exit-idle-time=20"), QStringLiteral("-n"),
        QStringLiteral("--use-pid-file=yes"), QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
        QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1"),
        QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=tovix")};
    if (!run(args, 20000) || !QFile::exists(socketPath()))
        return QStringLiteral("the PulseAudio daemon did not start");
    m_running = true;
    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socketPath()).toLocal8Bit());
    return {};
}

void PrivatePulse::stop()
{
    if (m_recorder.state() != QProcess::NotRunning) {
        m_recorder.kill();
        m_recorder.waitForFinished(5000);
    }
    if (m_running)
        run({QStringLiteral("--kill")}, 10000);
    m_running = false;
}

void PrivatePulse::kill()
{
    QFile pidFile(m_dir.path() + QStringLiteral("/pulse/pid"));
    if (pidFile.open(QIODevice::ReadOnly)) {
        const int pid = pidFile.readAll().trimmed().toInt();
        if (pid > 0 && ::kill(pid, SIGKILL) == 0) {
            // Gone (or only a zombie nobody reaps) before a new daemon may
            // take its place; a zombie would still hold the pid file.
            const QString stat = QStringLiteral("/proc/%1/stat").arg(pid);
            QDeadlineTimer deadline(5000);
            while (!deadline.hasExpired()) {
                QFile f(stat);
                if (!f.open(QIODevice::ReadOnly) || f.readAll().contains(") Z "))
                    break;
                QThread::msleep(10);
            }
            pidFile.remove();
        }
    }
    m_running = false;
}

bool PrivatePulse::startRecording()
{
    m_recorder.setProcessEnvironment(environment());
    m_recorder.setStandardOutputFile(m_dir.path() + QStringLiteral("/recording.raw"));
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("-d"), QStringLiteral("tovix.monitor"), QStringLiteral("--rate=16000"),
                      QStringLiteral("--channels=1"), QStringLiteral("--format=s16le"),
                      QStringLiteral("--latency-msec=20")});
    if (!m_recorder.waitForStarted(5000))
        return false;
    QThread::msleep(300); // connected and streaming before the sound starts
    return true;
}

std::vector<std::int16_t> PrivatePulse::takeRecording()
{
    // parec writes out what it holds when interrupted.
    ::kill(pid_t(m_recorder.processId()), SIGINT);
    m_recorder.waitForFinished(5000);
    QFile f(m_dir.path() + QStringLiteral("/recording.raw"));
    std::vector<std::int16_t> samples;
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        samples.resize(std::size_t(bytes.size()) / 2);
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    }
    return samples;
}

// In blocks of 5 ms: a block sounds when its RMS is above a tenth of full
// scale (the tone is at half scale).
ToneMeasure measureTone(const std::vector<std::int16_t> &samples, int rate)
{
    const std::size_t block = std::size_t(rate / 200);
    std::size_t loudBlocks = 0, crossings = 0;
    for (std::size_t start = 0; start + block <= samples.size(); start += block) {
        double energy = 0;
        for (std::size_t i = start; i < start + block; ++i)
            energy += double(samples[i]) * samples[i];
        if (std::sqrt(energy / double(block)) < 3277)
            continue;
        ++loudBlocks;
        for (std::size_t i = std::max<std::size_t>(start, 1); i < start + block; ++i)
            crossings += samples[i - 1] < 0 && samples[i] >= 0;
    }
    ToneMeasure m;
    m.seconds = double(loudBlocks * block) / rate;
    m.hertz = m.seconds > 0 ? double(crossings) / m.seconds : 0;
    return m;
}
