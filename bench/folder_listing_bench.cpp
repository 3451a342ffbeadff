// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window started on a folder of FILES files (default 50,000) restored
// from its settings file: how soon the window is up, how long the window's
// thread goes without handling events (a 1 ms heartbeat, as in ui_stall_bench)
// and how soon the list is complete, against QDir::entryInfoList reading every
// entry's size and date of the same folder. Then the same gap while the folder
// is listed again (F5), shown in the other styles, gains a file, and while the
// folder tree opens it.
#include "device/nerolink.h"
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "window_thread.h"
#include "main_unit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

// A device library with no player attached.
extern "C" {
int32_t dll_fn_get_player_version(TPlayerVersion *) { return 0; }
int32_t dll_fn_get_player_status(void) { return 0; }
int32_t dll_fn_refresh_device(TMemoryInfo *, int32_t) { return 0; }
int32_t dll_fn_download_file(const char *, int32_t) { return 0; }
int32_t dll_fn_upload_file(const char *, const char *, int32_t) { return 0; }
int32_t dll_fn_delete_file(const char *, int32_t) { return 0; }
int32_t dll_fn_format_device(int32_t) { return 0; }
}

namespace {

// Names of mixed case, numbers and extensions; one entry in a hundred is a folder.
int makeFolder(const QString &folder, int files)
{
    const char *extensions[] = {"mp3", "wav", "txt", "VOC", "jpg", "flac", "pdf"};
    QDir().mkpath(folder);
    int made = 0;
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("%1 %2.%3")
                                 .arg(i % 3 ? QStringLiteral("Track") : QStringLiteral("take"))
                                 .arg((i * 7919) % files)
                                 .arg(QLatin1String(extensions[i % 7]));
        const QString path = QDir(folder).filePath(name);
        if (i % 100 == 0 ? QDir().mkdir(path + QStringLiteral(" folder")) : QFile(path).open(QIODevice::WriteOnly))
            ++made;
    }
    return made;
}

double entryInfoListMs(const QString &folder, qint64 &checksum)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        clock.start();
        const QFileInfoList infos = QDir(folder).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &info : infos)
            checksum += info.size() + info.lastModified().toMSecsSinceEpoch() % 7;
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    return best;
}

// The first time any widget of the window is painted.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer &clock) : m_clock(clock) { qApp->installEventFilter(this); }
    double ms = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (ms < 0 && event->type() == QEvent::Paint && watched->isWidgetType()
            && qobject_cast<TForm_TovixMan *>(static_cast<QWidget *>(watched)->window()))
            ms = m_clock.nsecsElapsed() / 1e6;
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

struct Step {
    const char *what;
    double gapMs;
    double doneMs;
};

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50000;

    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("big"));
    const int entries = makeFolder(folder, files);
    qint64 checksum = 0;
    const double referenceMs = entryInfoListMs(folder, checksum);
    const QString settings = root.filePath(QStringLiteral("settings.ini"));
    {
        QFile ini(settings);
        if (entries != files || !ini.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "folder_listing_bench: cannot prepare the folder\n");
            return 1;
        }
        ini.write(QStringLiteral("[Explorer]\nDirectory=%1\n").arg(folder).toUtf8());
    }

    Heartbeat heartbeat;
    QElapsedTimer clock;
    FirstPaint paint(clock);
    double firstRowsMs = -1;
    heartbeat.start();
    clock.start();
    auto *w = new TForm_TovixMan(settings);
    w->show();
    const auto listed = [&] {
        if (firstRowsMs < 0 && w->FolderView->itemCount() > 0)
            firstRowsMs = clock.nsecsElapsed() / 1e6;
        return w->FolderView->isLoaded() && w->FolderView->itemCount() == entries;
    };
    const bool complete = until(listed, 60000);
    const double listedMs = clock.nsecsElapsed() / 1e6;
    QTest::qWait(300);
    const double startGapMs = heartbeat.stopMs();
    if (!complete || w->FolderView->currentDirectory() != folder) {
        std::fprintf(stderr, "folder_listing_bench: the folder was not listed (%d of %d items)\n",
                     w->FolderView->itemCount(), entries);
        return 1;
    }

    std::vector<Step> steps;
    const auto measure = [&](const char *what, const std::function<void()> &act,
                             const std::function<bool()> &done) {
        heartbeat.start();
        QElapsedTimer took;
        took.start();
        act();
        const bool ok = until(done, 30000);
        const double doneMs = took.nsecsElapsed() / 1e6;
        QTest::qWait(300);
        steps.push_back({what, heartbeat.stopMs(), ok ? doneMs : -1});
    };
    measure("listed again (F5)", [&] { w->FolderViewKeyDown(Qt::Key_F5); }, listed);
    measure("big icons", [&] { w->Button_BigIconClick(); }, [] { return true; });
    measure("small icons", [&] { w->Button_SmallIconClick(); }, [] { return true; });
    measure("list (lists again)", [&] { w->Button_ListViewClick(); }, listed);
    measure("details", [&] { w->Button_ReportViewClick(); }, [] { return true; });
    const QString late = QDir(folder).filePath(QStringLiteral("late arrival.mp3"));
    measure("a file created", [&] { QFile(late).open(QIODevice::WriteOnly); },
            [&] { return w->FolderView->itemCount() == entries + 1; });
    measure("folder tree opens the folder", [&] { w->FolderTree->expand(w->FolderTree->currentIndex()); },
            [&] { return w->FolderTree->model()->rowCount(w->FolderTree->currentIndex()) == (files + 99) / 100; });

    std::printf("%d entries; QDir::entryInfoList with size and date: %.0f ms (best of 3, reference)\n",
                entries, referenceMs);
    std::printf("start on the folder:   window up %6.0f ms, first rows %6.0f ms, complete %6.0f ms (%.2fx the reference)\n",
                paint.ms, firstRowsMs, listedMs, listedMs / referenceMs);
    std::printf("longest gap between events on the window's thread:\n");
    std::printf("  start and listing                %8.1f ms\n", startGapMs);
    for (const Step &step : steps)
        std::printf("  %-32s %8.1f ms   (done after %.0f ms)\n", step.what, step.gapMs, step.doneMs);
    delete w;
    return checksum == 0 ? 2 : 0;
}
