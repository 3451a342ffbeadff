// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Import of new recordings: every voice recording on the player that no
// import has brought in is queued for upload, and so converted as it
// arrives. A name proves nothing (recorders count again from REC00001 after a
// format): what was brought in is remembered with its bytes' digest, and a
// recording whose wave file's name is taken arrives under a free name unless
// that wave file holds the very same recording. It can run by itself whenever
// the player is attached. Nothing is removed from the player.
#include "main_unit.h"

#include "device/records.h"
#include "explorer/folder_view.h"
#include "platform/ini.h"
#include "platform/paths.h"
#include "player_state.h"
#include "queue/copy_job.h"
#include "queue/import_memory.h"
#include "voice/voice_conversion.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <utility>
#include <vector>

namespace {

const char kImport[] = "Import";

// The (name, size) of each file a memory's record lists.
std::vector<std::pair<std::string, std::uint64_t>> listedFiles(const TMemoryInfo &info)
{
    std::vector<std::pair<std::string, std::uint64_t>> files;
    for (uint32_t i = 0; i < readableFileCount(info); ++i)
        files.emplace_back(fieldText(info.Files[i].ShortName), info.Files[i].Size);
    return files;
}

} // namespace

void TForm_TovixMan::connectImportCommands()
{
    connect(MainMenu_ImportRecordings, &QAction::triggered, this,
            &TForm_TovixMan::MainMenu_ImportRecordingsClick);
    connect(Button_Import, &QToolButton::clicked, this, &TForm_TovixMan::MainMenu_ImportRecordingsClick);
    connect(MainMenu_ImportOnArrival, &QAction::triggered, this,
            &TForm_TovixMan::MainMenu_ImportOnArrivalClick);
    watchImportEnd();
    // Read on its own thread from now on, ready long before the first import.
    FImportMemory = std::make_shared<ImportMemory>(ImportMemory::defaultFile());
}

void TForm_TovixMan::readImportSettings(const IniFile &ini)
{
    FImportOnArrival = ini.readInteger(kImport, "OnArrival", 0) != 0;
    FImportFolder = QString::fromStdString(ini.readString(kImport, "Folder", ""));
    MainMenu_ImportOnArrival->setChecked(FImportOnArrival);
}

void TForm_TovixMan::importSettingsEntries(std::vector<IniEntry> &entries) const
{
    entries.push_back({kImport, "OnArrival", FImportOnArrival ? "1" : "0"});
    entries.push_back({kImport, "Folder", ini::holdableFolder(FImportFolder.toStdString())});
}

void TForm_TovixMan::MainMenu_ImportRecordingsClick()
{
    const std::string folder = FolderView->currentDirectory().toLocal8Bit().toStdString();
    if (importNewRecordings(folder) == 0)
        setStatusText(3, tr("No new recordings to import.") + hiddenFilesNote());
}

// The folder shown now is the one later arrivals import into.
void TForm_TovixMan::MainMenu_ImportOnArrivalClick(bool checked)
{
    FImportOnArrival = checked;
    if (!checked)
        return;
    FImportFolder = FolderView->currentDirectory();
    setStatusText(3, tr("New recordings will be imported into %1 when the player is attached.")
                         .arg(QDir::toNativeSeparators(FImportFolder)));
}

// Runs once the player has arrived and its lists are read. A folder that has
// gone is said once; nothing is queued then.
void TForm_TovixMan::importOnArrival()
{
    if (!FImportOnArrival)
        return;
    const QString folder = FImportFolder.isEmpty() ? FolderView->currentDirectory() : FImportFolder;
    if (!QFileInfo(folder).isDir()) {
        setStatusText(3, tr("Recordings not imported: the folder %1 is not there.")
                             .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    importNewRecordings(folder.toLocal8Bit().toStdString());
}

// Recordings the player holds but does not list can not be imported; the
// summary says so, so no one takes the import for all there is.
QString TForm_TovixMan::hiddenFilesNote() const
{
    const std::string text = hiddenFilesStatus(hiddenPlayerFiles(mtInternal), hiddenPlayerFiles(mtCard));
    return text.empty() ? QString() : QStringLiteral(" ") + QString::fromStdString(text);
}

bool TForm_TovixMan::isQueuedUpload(const std::string &pcPath) const
{
    for (int row = 0; row < CheckList_CopyProgress->count(); ++row) {
        const TCopyJob *job = queueJobOf(CheckList_CopyProgress->item(row));
        if (job && fieldText(job->PcPath) == pcPath)
            return true;
    }
    return false;
}

// The memories as the player lists them now: a recording remembered but not
// listed has left, and its name proves nothing when it comes back.
void TForm_TovixMan::sawPlayerMemories()
{
    FImportMemory->sawMemory(mtInternal, listedFiles(FInternalInfo));
    if (FCardPresent)
        FImportMemory->sawMemory(mtCard, listedFiles(FCardInfo));
}

// Both memories as the All list shows them, internal first. A recording an
// import brought in, or that is already on its way, is left; of two of the
// same name only the first goes, as both would upload to the same file. The
// files are copied out first: a question about replacing a PC file lets the
// lists be read again meanwhile.
int TForm_TovixMan::importNewRecordings(const std::string &folder)
{
    sawPlayerMemories();
    std::vector<std::pair<PlayerFilePick, std::uint64_t>> recordings;
    for (int i = 0; i < FileList_All->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = FileList_All->topLevelItem(i);
        const TFileEntry *entry = playerEntryOf(item);
        if (!entry)
            continue;
        PlayerFilePick file = playerFilePickOf(item, 0);
        if (isVoiceFileName(file.displayName))
            recordings.emplace_back(std::move(file), entry->Size);
    }
    int queued = 0;
    for (const auto &[file, size] : recordings) {
        const std::string voice = joinPath(folder, file.displayName);
        if (FImportMemory->holds(file.target, file.shortName, size) || isQueuedUpload(voice))
            continue;
        if (queueUpload(file, folder)) {
            FImport.add({file.target, file.shortName, size, voice});
            ++queued;
        }
    }
    if (queued > 0) {
        showQueuePanel();
        setStatusText(3, queued == 1 ? tr("%n recording queued for import.", nullptr, queued)
                                     : tr("%n recordings queued for import.", nullptr, queued));
    }
    return queued;
}

// The queue's own completion writes the status bar when it runs empty; the
// import's count follows once that is done, with its failures in one box.
void TForm_TovixMan::watchImportEnd()
{
    connect(CheckList_CopyProgress->model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (FImport.active() && CheckList_CopyProgress->count() == 0)
            QTimer::singleShot(0, this, &TForm_TovixMan::finishImport);
    });
}

void TForm_TovixMan::finishImport()
{
    if (FClosing || FJobRunning || CheckList_CopyProgress->count() > 0 || !FImport.active())
        return;
    const QString summary = std::exchange(FImport, {}).summary() + hiddenFilesNote();
    setStatusText(3, summary);
    reportFailedOperations(summary);
}
