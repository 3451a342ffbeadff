// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Removing player files and formatting memories: confirmed, then queued.
#include "main_unit.h"

#include "platform/prompts.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "queue/reservation.h"

#include <QListWidget>
#include <QTreeWidget>

#include <cstring>

// A file of 2 GiB or more, or one whose bytes would carry the reservation out
// of range, is still removed; downloads just do not count on its space
// before the removal has run and the lists show the memory again.
bool TForm_TovixMan::queueRemoval(const PlayerFilePick &file)
{
    if (file.shortName.size() >= std::size_t(kPlayerNameSize)) {
        refuseFile(tr("Can not remove \"%1\": its name on the player is longer than %2 characters.")
                       .arg(file.caption)
                       .arg(kPlayerNameSize - 1));
        return false;
    }
    int32_t &reserved = reservationOf(file.target);
    auto *job = new TCopyJob;
    job->Kind = jobKind(JobAction::Remove, file.target);
    job->Size = removalCredit(reserved, file.size);
    std::memcpy(job->PlayerName, file.shortName.data(), file.shortName.size());
    reserved -= job->Size;
    appendQueueLine(queueLineText(job->Kind, file.caption), job);
    return true;
}

void TForm_TovixMan::RemoveClick()
{
    const std::vector<PlayerFilePick> files = pickSelectedPlayerFiles();
    if (files.empty()) {
        ownedBox(this, tr("Please select files to remove"), PromptIcon::None,
                 PromptButtons::Ok);
        return;
    }
    if (!confirmYes(this, tr("Do you really want to remove selected files ?"),
                    PromptIcon::Warning))
        return;
    bool queued = false;
    for (const PlayerFilePick &file : files)
        queued |= queueRemoval(file);
    if (queued)
        showQueuePanel();
}

void TForm_TovixMan::RemoveAllClick()
{
    activePageList()->selectAll();
    RemoveClick();
}

// A format is queued only onto an empty queue, so that its reservation, minus
// the memory's used bytes, is not disturbed by jobs ahead of it.
bool TForm_TovixMan::formatRefusedWhileQueued()
{
    if (CheckList_CopyProgress->count() == 0)
        return false;
    ownedBox(this, tr("Can not format when job remains"), PromptIcon::Critical,
             PromptButtons::YesNo);
    return true;
}

void TForm_TovixMan::queueFormat(int32_t target)
{
    auto *job = new TCopyJob;
    job->Kind = jobKind(JobAction::Format, target);
    reservationOf(target) = formatReservation(memoryInfoOf(target));
    appendQueueLine(queueLineText(job->Kind, QString()), job);
}

void TForm_TovixMan::Menu_FormatClick()
{
    const int tag = activePageTag();
    if (formatRefusedWhileQueued())
        return;
    if (!confirmYes(this, formatQuestion(tag != 2, tag != 1), PromptIcon::Warning))
        return;
    const int32_t target = chooseTargetMemory(tag);
    if (target == 0)
        return;
    queueFormat(target);
    showQueuePanel();
}

void TForm_TovixMan::Menu_FormatAllClick()
{
    const bool withCard = FCardPresent;
    if (formatRefusedWhileQueued())
        return;
    if (!confirmYes(this, formatQuestion(true, withCard), PromptIcon::Warning))
        return;
    queueFormat(mtInternal);
    if (withCard)
        queueFormat(mtCard);
    showQueuePanel();
}
