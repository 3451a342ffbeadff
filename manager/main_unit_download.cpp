// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Download to the player: files picked in the PC pane, or dropped from the
// desktop onto the player's tabs, each checked and queued for one memory.
#include "main_unit.h"

#include "explorer/folder_view.h"
#include "fileops/file_clipboard.h"
#include "platform/exclusive_open.h"
#include "platform/name_list.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "queue/reservation.h"
#include "target_select_unit.h"

#include <QTabWidget>

#include <sys/stat.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

const char kWriteProtected[] =
    QT_TRANSLATE_NOOP("TForm_TovixMan", "Write protected. Can not download any files.");
const char kCannotDownloadFolder[] = QT_TRANSLATE_NOOP("TForm_TovixMan", "Sorry, can not download folder");

bool isDirectory(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

// The memory of the active tab; the All tab asks. 0 when the user gives up.
int32_t TForm_TovixMan::chooseTargetMemory(int tag)
{
    switch (tag) {
    case 1: return mtInternal;
    case 2: return mtCard;
    default: break;
    }
    switch (prompts().execDialog(Form_TargetSelection)) {
    case mrYes: return mtInternal;
    case mrNo: return mtCard;
    default: return 0;
    }
}

TForm_TovixMan::QueueOutcome TForm_TovixMan::queueDownload(const std::string &path,
                                                           const QString &name, int32_t target)
{
    // The job holds at most 259 characters; a cut path would name another file.
    if (path.size() >= std::size_t(kPcPathSize)) {
        refuseFile(tr("Can not download \"%1\": its path is longer than %2 characters.")
                       .arg(name)
                       .arg(kPcPathSize - 1));
        return QueueOutcome::Skipped;
    }
    int64_t length = -1;
    {
        const UniqueFd file = openExclusiveRead(path);
        if (file)
            length = fileLength(file);
    }
    if (length < 0)
        return QueueOutcome::Unreadable;

    int32_t &reserved = reservationOf(target);
    switch (testDownloadSpace(memoryInfoOf(target).FreeBytes, reserved, length)) {
    case SpaceVerdict::Fits:
        break;
    case SpaceVerdict::TooLarge:
        refuseFile(tr("Can not download \"%1\": files of 2 GB or more are not supported.")
                       .arg(name));
        return QueueOutcome::Skipped;
    case SpaceVerdict::NotEnough:
        refuseFile(target == mtCard ? tr("Not enough external memory.")
                                    : tr("Not enough internal memory."));
        return QueueOutcome::Stop;
    case SpaceVerdict::QueueFull:
        refuseFile((target == mtCard ? tr("Can not download \"%1\": too much is already queued for the "
                                          "memory card. Wait for the queue to finish.")
                                     : tr("Can not download \"%1\": too much is already queued for the "
                                          "internal memory. Wait for the queue to finish."))
                       .arg(name));
        return QueueOutcome::Stop;
    }

    auto *job = new TCopyJob;
    job->Kind = jobKind(JobAction::Download, target);
    job->Size = int32_t(length);
    std::memcpy(job->PcPath, path.data(), path.size());
    reserved += job->Size;
    appendQueueLine(queueLineText(job->Kind, name), job);
    return QueueOutcome::Queued;
}

void TForm_TovixMan::MainMenu_DownloadToPlayerClick()
{
    if (FLastStatus & psWriteProtected) {
        showPlainMessage(tr(kWriteProtected));
        return;
    }
    // The list may be read again while the target dialog is open, so the
    // chosen files are taken first.
    int selected = 0;
    std::vector<std::pair<std::string, QString>> files;
    for (int i = 0; i < FolderView->itemCount(); ++i) {
        if (!FolderView->isItemSelected(i))
            continue;
        ++selected;
        if (FolderView->isItemFolder(i))
            continue;
        // The bytes of the name: one the encoding cannot spell is still that file.
        files.emplace_back(FolderView->itemNativePath(i).toStdString(), FolderView->itemCaption(i));
    }
    if (selected == 0) {
        showPlainMessage(tr("Please select files to download"));
        return;
    }
    if (files.empty()) {
        showPlainMessage(tr(kCannotDownloadFolder));
        return;
    }
    queueDownloads(files);
}

void TForm_TovixMan::FileDropDrop(const QStringList &paths, const QPoint &clientPos,
                                  const QStringList &refused)
{
    const QRect tabs(TabControl_PlayerFiles->mapTo(this, QPoint(0, 0)),
                     TabControl_PlayerFiles->size());
    if (!tabs.contains(clientPos))
        return;
    if (FLastStatus & psWriteProtected) {
        showPlainMessage(tr(kWriteProtected));
        return;
    }
    if (!refused.isEmpty()) {
        refuseFile(refusedUrisMessage(refused));
        if (paths.isEmpty())
            return;
    }
    std::vector<std::pair<std::string, QString>> files;
    for (const QString &path : paths) {
        std::string local = path.toLocal8Bit().toStdString();
        if (isDirectory(local))
            continue;
        QString name = QString::fromLocal8Bit(extractFileName(local));
        files.emplace_back(std::move(local), std::move(name));
    }
    if (files.empty()) {
        showPlainMessage(tr(kCannotDownloadFolder));
        return;
    }
    queueDownloads(files);
}

// Asks for the memory where the active page does not tell it, then queues
// the files in order until one does not fit. The files that could not be read
// are named together in one box at the end.
void TForm_TovixMan::queueDownloads(const std::vector<std::pair<std::string, QString>> &files)
{
    const int32_t target = chooseTargetMemory(activePageTag());
    if (target == 0)
        return;
    bool queued = false;
    QStringList unreadable;
    for (const auto &[path, name] : files) {
        const QueueOutcome outcome = queueDownload(path, name, target);
        queued |= outcome == QueueOutcome::Queued;
        if (outcome == QueueOutcome::Unreadable)
            unreadable << name;
        if (outcome == QueueOutcome::Stop)
            break;
    }
    if (queued)
        showQueuePanel();
    if (!unreadable.isEmpty())
        refuseFile(tr("File reading failed.") + QLatin1Char('\n') + listedNames(unreadable));
}
