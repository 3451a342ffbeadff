// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// RefreshPlayerFiles with 255 files in each memory, in a shown offscreen window,
// against filling the same lists from the records already read, with no device
// call; once in library order and once with every list ordering by name.
#include "device/records.h"
#include "main_unit.h"
#include "main_unit_lists.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

TMemoryInfo records[2]; // internal, card

// A full memory with names in no particular order and of mixed letter case.
void makeRecord(TMemoryInfo &info, unsigned seed, const char *prefix)
{
    std::memset(&info, 0, sizeof info);
    std::mt19937 random(seed);
    info.TotalBytes = 4000000000u;
    info.FreeBytes = 1234567890u;
    info.FileCount = kMaxPlayerFiles;
    for (int i = 0; i < kMaxPlayerFiles; ++i) {
        TFileEntry &e = info.Files[i];
        std::string name = random() % 2 ? "Track " : "track ";
        name.append(std::to_string(random() % 100000)).append(" - ").append(prefix).append(".mp3");
        setFieldText(e.LongName, name);
        std::string shortName = std::to_string(i);
        shortName.insert(0, 1, 'T').append(".MP3");
        setFieldText(e.ShortName, shortName);
        e.Size = random();
        e.HasLongName = 1;
    }
}

} // namespace

// A device library that copies the prepared records: as cheap as a device call gets.
extern "C" {
int32_t dll_fn_get_player_version(TPlayerVersion *v)
{
    std::memset(v, 0, sizeof *v);
    setFieldText(v->VersionText, "BENCH");
    return 1;
}
int32_t dll_fn_get_player_status(void) { return 0; }
int32_t dll_fn_refresh_device(TMemoryInfo *info, int32_t target)
{
    *info = records[target == mtCard ? 1 : 0];
    return 1;
}
int32_t dll_fn_download_file(const char *, int32_t) { return 0; }
int32_t dll_fn_upload_file(const char *, const char *, int32_t) { return 0; }
int32_t dll_fn_delete_file(const char *, int32_t) { return 0; }
int32_t dll_fn_format_device(int32_t) { return 0; }
}

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds of work plus the event processing it leaves behind (relayout, paint).
template <typename Work>
double timed(Work work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

void fillFromRecords(TForm_TovixMan &w)
{
    w.FileList_All->clear();
    fillPlayerLists(w.FileList_Internal, w.FileList_All, w.FInternalInfo, QStringLiteral("Internal"));
    fillPlayerLists(w.FileList_External, w.FileList_All, w.FCardInfo, QStringLiteral("MemCard"));
    fitPlayerColumns(w.FileList_All);
    w.UpdateMemoryUsage();
}

void measure(TForm_TovixMan &w, const char *caption, int rounds)
{
    std::vector<double> refresh, fill;
    for (int i = 0; i < rounds; ++i) {
        refresh.push_back(timed([&] { w.RefreshPlayerFiles(); }));
        fill.push_back(timed([&] { fillFromRecords(w); }));
    }
    const double r = median(refresh), f = median(fill);
    std::printf("%-22s refresh %7.2f ms   fill from records %7.2f ms   ratio %.2f   (%d items in All)\n",
                caption, r, f, r / f, w.FileList_All->topLevelItemCount());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 31;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));

    makeRecord(records[0], 1, "internal");
    makeRecord(records[1], 2, "card");
    QTemporaryDir dir;
    TForm_TovixMan w(dir.filePath(QStringLiteral("settings.ini")));
    w.show();
    w.Timer_CheckPlayer->stop();
    w.Timer_CheckPlayerTimer(w.Timer_CheckPlayer); // attach: lists shown, card usable
    QCoreApplication::processEvents();

    std::printf("median of %d rounds, 255 files per memory\n", rounds);
    measure(w, "library order", rounds);
    for (QTreeWidget *list : {w.FileList_All, w.FileList_Internal, w.FileList_External})
        w.FileList_ColumnClick(list, 0);
    measure(w, "ordered by name", rounds);
    std::printf("poll period while connected: 2000 ms\n");
    return 0;
}
