// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening to a player recording: its copy into the listening cache goes
// through the queue, and it plays as soon as the copy has begun to arrive.
#include "main_unit.h"

#include "listen/listen_cache.h"
#include "listen/listen_session.h"
#include "listen/play_bar.h"
#include "listen/playback_decoder.h"
#include "listen/position_memory.h"
#include "platform/prompts.h"
#include "queue/job_kinds.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace {

// A queue line's text without the copy's percentage.
constexpr int kPlainLineRole = Qt::UserRole + 1;

} // namespace

// The cache is looked at on the listening thread; the answer comes back to
// listenCacheChecked.
void TForm_TovixMan::listenToPlayerFile(const PlayerFilePick &file)
{
    if (!isListenableName(file.displayName)) {
        ownedBox(this,
                 tr("Can not play %1: only voice recordings, wave files and MP3 files can be played.")
                     .arg(file.caption),
                 PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    const CachedRecording recording{file.displayName, file.target, file.size};
    FListenWanted = QString::fromLocal8Bit(ListenCache(listenCacheFolder()).pathOf(recording));
    FListenWantedKey = PositionMemory::recordingKey(file.target, file.displayName, file.size);
    FListenCopies.erase(std::remove_if(FListenCopies.begin(), FListenCopies.end(),
                                       [](const auto &c) { return c.first.empty(); }),
                        FListenCopies.end());
    FListenCopies.emplace_back(std::string(), file);
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, recording] { s->lookUp(recording); });
}

void TForm_TovixMan::listenCacheChecked(const QString &name, const QString &path, bool present,
                                        const QString &refusal)
{
    const auto waiting = std::find_if(FListenCopies.begin(), FListenCopies.end(), [&](const auto &c) {
        return c.first.empty() && c.second.displayName == name.toLocal8Bit().toStdString();
    });
    if (waiting == FListenCopies.end())
        return;
    const PlayerFilePick file = waiting->second;
    FListenCopies.erase(waiting);
    if (present) {
        if (path != FListenPath)
            return listenToFile(path, file.caption);
        FListenWanted.clear();
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->play(); });
        return;
    }
    const QByteArray pcPath = path.toLocal8Bit();
    if (!refusal.isEmpty() || pcPath.size() >= kPcPathSize) {
        ownedBox(this, tr("Can not play %1: %2.")
                           .arg(file.caption, refusal.isEmpty() ? tr("the cache folder's path is too long") : refusal),
                 PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    // Played as soon as its copy has begun to arrive.
    const CachedRecording recording{file.displayName, file.target, file.size};
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, recording, name = file.caption,
                                               key = FListenWantedKey] { s->follow(recording, name, key); });
    // Asked again while its copy is in the queue: that copy will do.
    for (int row = 0; row < CheckList_CopyProgress->count(); ++row)
        if (pcPath == queueJobOf(CheckList_CopyProgress->item(row))->PcPath)
            return;
    if (refuseListenCopy(file))
        return;
    FListenCopies.erase(std::remove_if(FListenCopies.begin(), FListenCopies.end(),
                                       [&](const auto &c) { return c.first == pcPath.toStdString(); }),
                        FListenCopies.end());
    auto *job = new TCopyJob;
    job->Kind = file.target == mtCard ? jkListenCard : jkListenInternal;
    std::memcpy(job->PcPath, pcPath.constData(), std::size_t(pcPath.size()));
    std::strncpy(job->PlayerName, file.shortName.c_str(), kPlayerNameSize - 1);
    appendQueueLine(tr("Listen \"%1\" in %2").arg(file.caption,
                        file.target == mtCard ? tr("Memory Card") : tr("Internal Memory")),
                    job);
    showQueuePanel();
    FListenCopies.emplace_back(pcPath.toStdString(), file);
}

// From the queue's completion: the copy is checked and kept on the listening
// thread, and played when it is still the recording asked for.
void TForm_TovixMan::listenCopyCompleted(const TCopyJob &job, int32_t result)
{
    const std::string part(job.PcPath, strnlen(job.PcPath, sizeof job.PcPath));
    const auto copy = std::find_if(FListenCopies.begin(), FListenCopies.end(),
                                   [&](const auto &c) { return c.first == part; });
    if (copy == FListenCopies.end())
        return;
    const CachedRecording recording{copy->second.displayName, copy->second.target, copy->second.size};
    FListenCopies.erase(copy);
    showListenCopyProgress(QString::fromLocal8Bit(part), -1, false); // its line says what it did, not how far
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, recording, copied = result != 0] {
        s->keepCopy(recording, copied);
    });
}

// The copy's line in the queue and, while it plays, the play bar say how
// much of it has arrived.
void TForm_TovixMan::showListenCopyProgress(const QString &part, int percent, bool waiting)
{
    const QByteArray pcPath = part.toLocal8Bit();
    for (int row = 0; row < CheckList_CopyProgress->count(); ++row) {
        QListWidgetItem *line = CheckList_CopyProgress->item(row);
        if (pcPath != queueJobOf(line)->PcPath)
            continue;
        QVariant plain = line->data(kPlainLineRole);
        if (!plain.isValid()) {
            plain = line->text();
            line->setData(kPlainLineRole, plain);
        }
        line->setText(percent < 0 ? plain.toString() : QStringLiteral("%1 (%2%)").arg(plain.toString()).arg(percent));
    }
    if (percent < 0 || FListenPath == part)
        PlayBar_Listen->setCopyProgress(percent, waiting);
}

void TForm_TovixMan::listenMemoryChanged(int32_t target)
{
    if (FListenSession)
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession, target] { s->forgetCopies(target); });
}

void TForm_TovixMan::listenJobCompleted(int32_t kind)
{
    if (isDownloadKind(kind) || isRemoveKind(kind) || isFormatKind(kind))
        listenMemoryChanged(kindTarget(kind));
}

bool TForm_TovixMan::endDuringListenCopy()
{
    if (!FJobRunning || FJobDone || !isListenKind(FCurrentJob.Kind) || !FWorker || FWorker->isFinished())
        return false;
    hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    writeSettings();
    endListening();
    if (const QString folder = positionStateFolder(); !folder.isEmpty())
        PositionMemory::of(folder)->flush();
    FQuitWithoutWaiting();
    return true;
}
