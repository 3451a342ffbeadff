// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A long voice recording uploaded from the stand-in player and converted by
// the window, then pasted in the PC pane: the longest gap between events on
// the window's thread while each happens, and the conversion's time against
// voc2wav converting the same file, the two taking turns. With --slow-sync
// the same is measured again in a copy of this program whose every sync
// sleeps MS milliseconds (bench/slow_sync.c), as on a disk slow to sync.
//
//   conversion_window_bench [HOURS] [ROUNDS] [--slow-sync MS]
#include "window_thread.h"

#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "main_unit.h"
#include "scripted_prompts.h"
#include "target_select_unit.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool run(const QString &command, const QStringList &args, int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(command, args);
    return p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The mode-0 sample (11 s) repeated: a recording of about hours hours.
bool makeRecording(const QString &path, double hours)
{
    QFile sample(QStringLiteral(TOVIX_TEST_DATA "/voice_mode0.VOC"));
    QFile out(path);
    if (!sample.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = sample.readAll();
    const double sampleSeconds = bytes.size() / 72 * 0.072;
    for (int i = 0; i < int(hours * 3600 / sampleSeconds); ++i)
        if (out.write(bytes) != bytes.size())
            return false;
    return true;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// When FConverting was first and last seen set, by a 1 ms timer.
class ConversionClock {
public:
    explicit ConversionClock(const TForm_TovixMan *w) : m_w(w)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
    }
    void start()
    {
        m_first = m_last = -1;
        m_clock.start();
        m_timer.start();
    }
    double stopMs()
    {
        m_timer.stop();
        return m_first < 0 ? -1 : (m_last - m_first) / 1e6;
    }

private:
    void look()
    {
        if (!m_w->FConverting)
            return;
        const qint64 now = m_clock.nsecsElapsed();
        if (m_first < 0)
            m_first = now;
        m_last = now;
    }
    const TForm_TovixMan *m_w;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_first = -1;
    qint64 m_last = -1;
};

struct Figures {
    double idleGap = 0; // the machine's own noise: a second with the window idle
    double conversionGap = 0; // upload and conversion, median of the rounds
    double worstConversionGap = 0;
    double windowMs = 0;
    double voc2wavMs = -1; // not measured: -1
    double pasteGap = 0;
    double pasteMs = 0;
};

// Puts the file on the clipboard and pastes it into folder through the PC pane.
bool paste(TForm_TovixMan *w, const QString &file, const QString &folder, Heartbeat &heartbeat,
           Figures &figures)
{
    PcFileOperations *operations = w->FolderView->fileOperations();
    operations->putOnClipboard({file}, false);
    QElapsedTimer clock;
    heartbeat.start();
    clock.start();
    if (!operations->pasteInto(folder))
        return false;
    const bool done = until([&] { return !operations->isBusy(); }, 600000);
    figures.pasteMs = clock.nsecsElapsed() / 1e6;
    figures.pasteGap = heartbeat.stopMs();
    return done && QFile(folder + QStringLiteral("/long.VOC")).size() == QFile(file).size();
}

bool measure(double hours, int rounds, bool withVoc2wav, Figures &figures)
{
    QTemporaryDir root;
    qputenv("NEROLINK_PLAYER", root.filePath(QStringLiteral("player")).toLocal8Bit());
    const QString recording = root.filePath(QStringLiteral("long.VOC"));
    const QString pc = root.filePath(QStringLiteral("pc"));
    const QString alone = root.filePath(QStringLiteral("alone"));
    const QString pasted = root.filePath(QStringLiteral("pasted"));
    if (!makeRecording(recording, hours) || !QDir().mkpath(pc) || !QDir().mkpath(alone)
        || !QDir().mkpath(pasted)
        || !run(QStringLiteral(TOVIX_PLAYER_COMMAND),
                {QStringLiteral("init"), QStringLiteral("--internal-bytes"),
                 QString::number(QFile(recording).size() + (1 << 20))})
        || dll_fn_download_file(recording.toLocal8Bit().constData(), mtInternal) == 0) {
        std::fprintf(stderr, "conversion_window_bench: cannot prepare the recording and the player\n");
        return false;
    }

    ScriptedPrompts prompts;
    Form_TargetSelection = new TForm_TargetSelection;
    auto *w = new TForm_TovixMan(root.filePath(QStringLiteral("settings.ini")));
    const auto release = qScopeGuard([w] {
        delete w;
        delete Form_TargetSelection;
        Form_TargetSelection = nullptr;
    });
    w->FolderView->setCurrentDirectory(pc);
    w->show();
    if (!until([&] { return w->FConnected && w->FileList_Internal->topLevelItemCount() == 1; }, 10000)) {
        std::fprintf(stderr, "conversion_window_bench: the player was not seen\n");
        return false;
    }
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);

    std::vector<double> gaps, windowMs, voc2wavMs;
    Heartbeat heartbeat;
    heartbeat.start();
    until([] { return false; }, 1000);
    figures.idleGap = heartbeat.stopMs();
    ConversionClock conversion(w);
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(pc + QStringLiteral("/long.wav"));
        w->FileList_Internal->topLevelItem(0)->setSelected(true);
        heartbeat.start();
        conversion.start();
        w->MainMenu_UploadFromPlayerClick();
        const bool done = until([&] { return w->CheckList_CopyProgress->count() == 0 && !w->FJobRunning; },
                                3600000);
        gaps.push_back(heartbeat.stopMs());
        windowMs.push_back(conversion.stopMs());
        if (!done || !prompts.records.empty() || !QFile::exists(pc + QStringLiteral("/long.wav"))) {
            std::fprintf(stderr, "conversion_window_bench: the upload did not convert cleanly\n");
            return false;
        }
        if (!withVoc2wav)
            continue;
        const QString copy = alone + QStringLiteral("/long.VOC");
        QFile::remove(alone + QStringLiteral("/long.wav"));
        QFile::remove(copy);
        QFile::copy(recording, copy);
        QElapsedTimer clock;
        clock.start();
        if (!run(QStringLiteral(VOC2WAV_PATH), {QStringLiteral("--overwrite"), copy}, 600000)) {
            std::fprintf(stderr, "conversion_window_bench: voc2wav failed\n");
            return false;
        }
        voc2wavMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    figures.conversionGap = median(gaps);
    figures.worstConversionGap = *std::max_element(gaps.begin(), gaps.end());
    figures.windowMs = median(windowMs);
    if (withVoc2wav)
        figures.voc2wavMs = median(voc2wavMs);
    if (!paste(w, recording, pasted, heartbeat, figures) || !prompts.records.empty()) {
        std::fprintf(stderr, "conversion_window_bench: the paste did not complete cleanly\n");
        return false;
    }
    return true;
}

// This program again, with every sync slowed; its figures come back on its output.
bool measureSlowed(const QString &program, double hours, int slowMs, Figures &figures)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SLOW_SYNC_LIBRARY));
    env.insert(QStringLiteral("TOVIX_SLOW_SYNC_MS"), QString::number(slowMs));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QString::number(hours), QStringLiteral("1"), QStringLiteral("--figures")});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> values = child.readAllStandardOutput().trimmed().split(' ');
    if (values.size() != 7)
        return false;
    double *fields[] = {&figures.idleGap, &figures.conversionGap, &figures.worstConversionGap, &figures.windowMs,
                        &figures.voc2wavMs, &figures.pasteGap, &figures.pasteMs};
    for (int i = 0; i < 7; ++i)
        *fields[i] = values[i].toDouble();
    return true;
}

QString cell(double ms)
{
    return ms < 0 ? QStringLiteral("-") : QString::number(ms, 'f', ms < 100 ? 1 : 0) + QStringLiteral(" ms");
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool figuresOnly = args.removeAll(QStringLiteral("--figures")) > 0;
    int slowMs = 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--slow-sync")); at >= 0 && at + 1 < args.size()) {
        slowMs = args[at + 1].toInt();
        args.remove(at, 2);
    }
    const double hours = args.size() > 0 ? args[0].toDouble() : 9;
    const int rounds = args.size() > 1 ? args[1].toInt() : 3;

    Figures plain;
    if (!measure(hours, std::max(rounds, 1), !figuresOnly, plain))
        return 1;
    if (figuresOnly) {
        std::printf("%f %f %f %f %f %f %f\n", plain.idleGap, plain.conversionGap, plain.worstConversionGap, plain.windowMs,
                    plain.voc2wavMs, plain.pasteGap, plain.pasteMs);
        return 0;
    }
    Figures slow;
    if (slowMs > 0 && !measureSlowed(app.applicationFilePath(), hours, slowMs, slow)) {
        std::fprintf(stderr, "conversion_window_bench: the run with slow syncs failed\n");
        return 1;
    }

    std::printf("%.1f-hour recording, uploaded and converted in the window (%d rounds), then pasted in the PC pane\n",
                hours, rounds);
    std::printf("%-52s %16s", "", "plain disk");
    if (slowMs > 0)
        std::printf(" %16s", qPrintable(QStringLiteral("syncs %1 ms").arg(slowMs)));
    std::printf("\n");
    const auto row = [&](const char *what, double a, double b) {
        std::printf("%-52s %16s", what, qPrintable(cell(a)));
        if (slowMs > 0)
            std::printf(" %16s", qPrintable(cell(b)));
        std::printf("\n");
    };
    row("longest gap, window idle for a second", plain.idleGap, slow.idleGap);
    row("longest gap, upload and conversion (median)", plain.conversionGap, slow.conversionGap);
    row("longest gap, upload and conversion (worst)", plain.worstConversionGap, slow.worstConversionGap);
    row("longest gap, PC-pane paste", plain.pasteGap, slow.pasteGap);
    row("conversion in the window (median)", plain.windowMs, slow.windowMs);
    row("voc2wav on the same file (median)", plain.voc2wavMs, slow.voc2wavMs);
    row("PC-pane paste of the recording", plain.pasteMs, slow.pasteMs);
    std::printf("window / voc2wav: %.2fx (goal at most 1.10x); gaps: goal under 50 ms, aim 16 ms\n",
                plain.windowMs / plain.voc2wavMs);
    return 0;
}
