// A long voice recording uploaded from the stand-in player and converted by
// the window: the longest gap between events on the window's thread while it
// happens, and the conversion's time against voc2wav converting the same file,
// the two taking turns.
//
//   conversion_window_bench [HOURS] [ROUNDS]
#include "window_thread.h"

#include "explorer/folder_view.h"
#include "main_unit.h"
#include "scripted_prompts.h"
#include "target_select_unit.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QProcess>
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

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const double hours = argc > 1 ? std::atof(argv[1]) : 9;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    QTemporaryDir root;
    qputenv("NEROLINK_PLAYER", root.filePath(QStringLiteral("player")).toLocal8Bit());
    const QString recording = root.filePath(QStringLiteral("long.VOC"));
    const QString pc = root.filePath(QStringLiteral("pc"));
    const QString alone = root.filePath(QStringLiteral("alone"));
    if (!makeRecording(recording, hours) || !QDir().mkpath(pc) || !QDir().mkpath(alone)
        || !run(QStringLiteral(TOVIX_PLAYER_COMMAND),
                {QStringLiteral("init"), QStringLiteral("--internal-bytes"),
                 QString::number(QFile(recording).size() + (1 << 20))})
        || dll_fn_download_file(recording.toLocal8Bit().constData(), mtInternal) == 0) {
        std::fprintf(stderr, "conversion_window_bench: cannot prepare the recording and the player\n");
        return 1;
    }

    ScriptedPrompts prompts;
    Form_TargetSelection = new TForm_TargetSelection;
    auto *w = new TForm_TovixMan(root.filePath(QStringLiteral("settings.ini")));
    w->FolderView->setCurrentDirectory(pc);
    w->show();
    if (!until([&] { return w->FConnected && w->FileList_Internal->topLevelItemCount() == 1; }, 10000)) {
        std::fprintf(stderr, "conversion_window_bench: the player was not seen\n");
        return 1;
    }
    w->TabControl_PlayerFiles->setCurrentWidget(w->Tab_InternalFiles);

    std::vector<double> gaps, windowMs, voc2wavMs;
    Heartbeat heartbeat;
    ConversionClock conversion(w);
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(pc + QStringLiteral("/long.wav"));
        w->FileList_Internal->topLevelItem(0)->setSelected(true);
        heartbeat.start();
        conversion.start();
        w->MainMenu_UploadFromPlayerClick();
        const bool done = until([&] { return w->CheckList_CopyProgress->count() == 0 && !w->FJobRunning; },
                                600000);
        gaps.push_back(heartbeat.stopMs());
        windowMs.push_back(conversion.stopMs());
        if (!done || !prompts.records.empty() || !QFile::exists(pc + QStringLiteral("/long.wav"))) {
            std::fprintf(stderr, "conversion_window_bench: the upload did not convert cleanly\n");
            return 1;
        }

        const QString copy = alone + QStringLiteral("/long.VOC");
        QFile::remove(alone + QStringLiteral("/long.wav"));
        QFile::remove(copy);
        QFile::copy(recording, copy);
        QElapsedTimer clock;
        clock.start();
        if (!run(QStringLiteral(VOC2WAV_PATH), {QStringLiteral("--overwrite"), copy}, 600000)) {
            std::fprintf(stderr, "conversion_window_bench: voc2wav failed\n");
            return 1;
        }
        voc2wavMs.push_back(clock.nsecsElapsed() / 1e6);
    }

    std::printf("%.1f-hour recording (%lld bytes), upload and conversion in the window, %d rounds:\n",
                hours, static_cast<long long>(QFile(recording).size()), rounds);
    std::printf("  longest gap between events on the window's thread: %.1f ms (median), %.1f ms (worst)\n",
                median(gaps), *std::max_element(gaps.begin(), gaps.end()));
    std::printf("  conversion in the window %.0f ms, voc2wav on the same file %.0f ms (medians)\n",
                median(windowMs), median(voc2wavMs));
    std::printf("window / voc2wav: %.2fx (goal at most 1.10x)\n", median(windowMs) / median(voc2wavMs));

    delete w;
    delete Form_TargetSelection;
    Form_TargetSelection = nullptr;
    return 0;
}
