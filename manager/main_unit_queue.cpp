// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The operation queue: its lines and records, the start and completion of
// jobs on the transfer tick, cancelling, the busy indicator, and the wait for
// a running device call when the window closes.
#include "main_unit.h"

#include "device/records.h"
#include "explorer/file_drop.h"
#include "explorer/folder_view.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "platform/wait_cursor.h"
#include "queue/copy_thread.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "queue/reservation.h"
#include "queue/thread_done_event.h"
#include "voice/conversion_thread.h"
#include "voice/voice_conversion.h"

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

TCopyJob *queueJobOf(const QListWidgetItem *line)
{
    return static_cast<TCopyJob *>(line->data(Qt::UserRole).value<void *>());
}

namespace {

// The running line is the one greyed out.
bool isRunningLine(const QListWidgetItem *line)
{
    return !(line->flags() & Qt::ItemIsEnabled);
}

} // namespace

void TForm_TovixMan::connectQueueCommands()
{
    using Handler = void (TForm_TovixMan::*)();
    const std::pair<QAction *, Handler> actions[] = {
        {MainMenu_DownloadToPlayer, &TForm_TovixMan::MainMenu_DownloadToPlayerClick},
        {MainMenu_UploadFromPlayer, &TForm_TovixMan::MainMenu_UploadFromPlayerClick},
        {MainMenu_Remove, &TForm_TovixMan::RemoveClick},
        {MainMenu_RemoveAll, &TForm_TovixMan::RemoveAllClick},
        {MainMenu_Format, &TForm_TovixMan::Menu_FormatClick},
        {MainMenu_FormatAll, &TForm_TovixMan::Menu_FormatAllClick},
        {MainMenu_Cancel, &TForm_TovixMan::MainMenu_CancelClick},
        {MainMenu_CancelAll, &TForm_TovixMan::MainMenu_CancelAllClick},
        {UploadselectedfilesinPlayertoPC1, &TForm_TovixMan::MainMenu_UploadFromPlayerClick},
        {UploadallfilesinPlayertoPC1, &TForm_TovixMan::UploadallfilesinPlayertoPC1Click},
        {Menu_RemovePlayerFiles, &TForm_TovixMan::RemoveClick},
        {Menu_RemoveAllPlayerFiles, &TForm_TovixMan::RemoveAllClick},
        {Menu_Format, &TForm_TovixMan::Menu_FormatClick},
        {Menu_FormatAll, &TForm_TovixMan::Menu_FormatAllClick},
        {Menu_RemoveQueue, &TForm_TovixMan::MainMenu_CancelClick},
        {Menu_RemoveAllQueue, &TForm_TovixMan::MainMenu_CancelAllClick},
    };
    for (const auto &[action, handler] : actions)
        connect(action, &QAction::triggered, this, handler);

    const std::pair<QToolButton *, Handler> buttons[] = {
        {Button_Download, &TForm_TovixMan::MainMenu_DownloadToPlayerClick},
        {Button_Upload, &TForm_TovixMan::MainMenu_UploadFromPlayerClick},
        {Button_Delete, &TForm_TovixMan::RemoveClick},
        {Button_Format, &TForm_TovixMan::Menu_FormatClick},
    };
    for (const auto &[button, handler] : buttons)
        connect(button, &QToolButton::clicked, this, handler);

    connect(CheckList_CopyProgress, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) {
                PopupMenu_CopyList->popup(CheckList_CopyProgress->viewport()->mapToGlobal(pos));
            });
    connect(FileDrop, &::FileDrop::dropped, this, &TForm_TovixMan::FileDropDrop);
    connect(FolderView, &::FolderView::playerFilesDropped, this,
            &TForm_TovixMan::MainMenu_UploadFromPlayerClick);
    makePlayerListsDraggable();
}

void TForm_TovixMan::appendQueueLine(const QString &text, TCopyJob *job)
{
    auto *line = new QListWidgetItem(text);
    line->setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    line->setCheckState(Qt::Unchecked);
    line->setData(Qt::UserRole, QVariant::fromValue(static_cast<void *>(job)));
    CheckList_CopyProgress->addItem(line);
}

void TForm_TovixMan::showQueuePanel()
{
    if (Panel_CopyProgress->isHidden())
        Panel_CopyProgress->show();
}

void TForm_TovixMan::refuseFile(const QString &text)
{
    ownedBox(this, text, PromptIcon::Critical, PromptButtons::Ok);
}

int32_t &TForm_TovixMan::reservationOf(int32_t target)
{
    return target == mtCard ? FReservedCard : FReservedInternal;
}

const TMemoryInfo &TForm_TovixMan::memoryInfoOf(int32_t target) const
{
    return target == mtCard ? FCardInfo : FInternalInfo;
}

// A format's own bookkeeping is done when it starts; cancelling one that
// never started leaves the memory reserved for exactly what is still queued.
void TForm_TovixMan::settleReservation(const TCopyJob &job, bool completed)
{
    const int32_t target = kindTarget(job.Kind);
    if (target == 0)
        return;
    int32_t &reserved = reservationOf(target);
    if (!isFormatKind(job.Kind))
        reserved = settledReservation(reserved, job);
    else if (!completed)
        reserved = queuedReservation(target);
}

// The memory's reservation as the queue's lines make it now; a running
// format at the head counts nothing.
int32_t TForm_TovixMan::queuedReservation(int32_t target) const
{
    std::vector<const TCopyJob *> jobs;
    for (int row = 0; row < CheckList_CopyProgress->count(); ++row)
        jobs.push_back(queueJobOf(CheckList_CopyProgress->item(row)));
    const bool headRunning = !jobs.empty() && isRunningLine(CheckList_CopyProgress->item(0));
    return recomputeReservation(jobs, headRunning, target, memoryInfoOf(target));
}

void TForm_TovixMan::Timer_TransferTimer()
{
    // A conversion's job is done only when the conversion has ended.
    if (FClosing || FConverting)
        return;
    if (FJobDone)
        completeJob();
    // The conversion's message box may have let the window close meanwhile.
    if (FClosing)
        return;
    if (!FJobRunning && CheckList_CopyProgress->count() > 0)
        startNextJob();
    updateBusyIndicator();
}

// An uploaded recording converts before its job is complete; FJobRunning is
// cleared only once the line is gone, so no tick starts another job meanwhile.
// Only a recording that arrived converts: after a failed upload a PC file of
// that name is the user's own (or a stale one), never the upload's.
void TForm_TovixMan::completeJob()
{
    lockForOperation(false);
    FJobDone = false;
    listenJobCompleted(FCurrentJob.Kind);
    FJobNote.clear();
    const std::string pcPath = fieldText(FCurrentJob.PcPath);
    if (isUploadKind(FCurrentJob.Kind) && isVoiceFileName(pcPath)) {
        const std::optional<ImportTicket> ticket = FImport.take(pcPath);
        if (FJobResult != 0 && ticket) {
            convertImported(*ticket);
            return; // its end finishes the job
        }
        if (FJobResult != 0) {
            ConvertVoiceFile(pcPath);
            return;
        }
    }
    if (isListenKind(FCurrentJob.Kind)) {
        listenCopyCompleted(FCurrentJob, FJobResult);
        if (FClosing)
            return;
    }
    finishJob();
}

void TForm_TovixMan::finishJob()
{
    if (CheckList_CopyProgress->count() > 0 && isRunningLine(CheckList_CopyProgress->item(0))) {
        QListWidgetItem *line = CheckList_CopyProgress->item(0);
        TCopyJob *job = queueJobOf(line);
        if (FJobResult == 0)
            noteFailedOperation(line->text());
        else if (!FJobNote.isEmpty())
            noteFailedOperation(QStringLiteral("%1: %2").arg(line->text(), FJobNote));
        settleReservation(*job, true);
        delete job;
        delete line;
    }
    FDeviceBusy = true;
    FJobRunning = false;

    const bool ranEmpty = CheckList_CopyProgress->count() == 0;
    if (ranEmpty) {
        // Nothing is queued, so nothing is reserved.
        FReservedInternal = 0;
        FReservedCard = 0;
        Panel_CopyProgress->hide();
        setStatusText(3, FFailedOperations.isEmpty()
                             ? tr("Operation completed.")
                             : failedCountText(FFailedOperations.size()));
        FolderView->refreshFolder();
    }
    RefreshPlayerFiles();
    // An import's failures are told with its count, once it has ended.
    if (ranEmpty && !FImport.active())
        reportFailedOperations();
}

// The device library said no (0): the name exists, the memory is full or
// write-protected, the card went away. The event panel names the line now;
// the summary follows when the queue has run empty.
void TForm_TovixMan::noteFailedOperation(const QString &line)
{
    FFailedOperations << line;
    setStatusText(3, tr("Failed: %1").arg(line));
}

void TForm_TovixMan::reportFailedOperations(const QString &lead)
{
    if (FFailedOperations.isEmpty())
        return;
    const QStringList failed = std::exchange(FFailedOperations, {});
    ownedBox(this, failedOperationsText(failed, lead), PromptIcon::Warning, PromptButtons::Ok);
}

void TForm_TovixMan::startNextJob()
{
    FDeviceBusy = true;
    FJobRunning = true;
    QListWidgetItem *line = CheckList_CopyProgress->item(0);
    line->setFlags(line->flags() & ~Qt::ItemIsEnabled);
    CheckList_CopyProgress->viewport()->repaint();

    const TCopyJob *job = queueJobOf(line);
    FCurrentJob = TCopyJob{};
    FCurrentJob.Kind = job->Kind;
    std::memcpy(FCurrentJob.PlayerName, job->PlayerName, sizeof FCurrentJob.PlayerName);
    std::memcpy(FCurrentJob.PcPath, job->PcPath, sizeof FCurrentJob.PcPath);
    FCurrentJob.Id = tickCount();

    if (isFormatKind(FCurrentJob.Kind)) {
        // Downloads and removals queued behind the format still count.
        const int32_t target = kindTarget(FCurrentJob.Kind);
        reservationOf(target) = queuedReservation(target);
        lockForOperation(true);
    }
    QString status = kindStatusLabel(FCurrentJob.Kind);
    if (!FFailedOperations.isEmpty())
        status = tr("%1 (failed: %2)").arg(status, FFailedOperations.last());
    setStatusText(3, status);
    FJobResult = 1;
    if (!startWorker()) {
        // No worker will ever post: the next tick completes the job as failed.
        FJobDone = true;
        FJobResult = 0;
    }
}

bool TForm_TovixMan::startWorker()
{
    auto *worker = new TCopyThread(this, FCurrentJob);
    if (!worker->started()) {
        delete worker;
        return false;
    }
    FWorker = worker;
    connect(worker, &QObject::destroyed, this, [this, worker] {
        if (FWorker == worker)
            FWorker = nullptr;
    });
    return true;
}

void TForm_TovixMan::OnThreadDone(ThreadDoneEvent *message)
{
    FJobDone = true;
    FJobResult = message->result();
}

void TForm_TovixMan::updateBusyIndicator()
{
    ProgressBar_Busy->setVisible(FJobRunning);
    Label_Elapsed->setVisible(FJobRunning);
    if (FJobRunning)
        Label_Elapsed->setText(elapsedText(tickCount() - FCurrentJob.Id));
}

void TForm_TovixMan::cancelLine(QListWidgetItem *line)
{
    TCopyJob *job = queueJobOf(line);
    FImport.take(fieldText(job->PcPath)); // a later upload to that path is not the import's
    // The line goes first, so a cancelled format is not counted again.
    delete line;
    settleReservation(*job, false);
    delete job;
}

void TForm_TovixMan::cancelLines(bool all)
{
    for (int row = CheckList_CopyProgress->count() - 1; row >= 0; --row) {
        QListWidgetItem *line = CheckList_CopyProgress->item(row);
        if (isRunningLine(line))
            continue;
        if (all || line->checkState() == Qt::Checked || line->isSelected())
            cancelLine(line);
    }
}

void TForm_TovixMan::MainMenu_CancelClick()
{
    cancelLines(false);
}

void TForm_TovixMan::MainMenu_CancelAllClick()
{
    cancelLines(true);
}

// A transfer cut off mid-file leaves a broken file on the player or the PC,
// so the window stays, saying why, until the device call has returned. A
// call that never returns would keep it for good: after a while the user
// may quit anyway, with the settings written.
// A running conversion is waited for the same way, and its question, if it
// has one, is asked meanwhile.
void TForm_TovixMan::waitForRunningJob()
{
    QPointer<QThread> worker = FWorker;
    const auto running = [this, &worker] {
        return (worker && !worker->isFinished()) || FConversion;
    };
    if (!running())
        return;
    setStatusText(3, tr("Waiting for the running operation to finish..."));
    setEnabled(false);
    std::optional<WaitCursor> hourglass(std::in_place);
    QElapsedTimer waited;
    waited.start();
    while (running()) {
        QThread *thread = worker && !worker->isFinished() ? worker.data() : FConversion;
        if (thread)
            thread->wait(QDeadlineTimer(30));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 30);
        if (!running() || waited.elapsed() < FCloseWaitMs)
            continue;
        hourglass.reset();
        if (askQuitWithoutWaiting()) {
            // Gone from the screen before the settings wait on the disk.
            hide();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            writeSettings();
            FQuitWithoutWaiting();
            return;
        }
        hourglass.emplace();
        waited.restart();
    }
}

bool TForm_TovixMan::askQuitWithoutWaiting()
{
    setEnabled(true);
    const bool quit = confirmYes(
        this,
        tr("The running operation has not finished after %n seconds.\n"
           "Quit anyway ? The file it is copying may be left incomplete.",
           nullptr, FCloseWaitMs / 1000),
        PromptIcon::Warning);
    setEnabled(false);
    return quit;
}

// For a window destroyed without being closed: the worker posts to it, and
// the lines still hold their records.
void TForm_TovixMan::releaseQueueOnDestroy()
{
    if (FWorker)
        FWorker->wait();
    delete std::exchange(FConversion, nullptr); // answers its question No, and waits
    while (CheckList_CopyProgress->count() > 0) {
        QListWidgetItem *line = CheckList_CopyProgress->item(0);
        delete queueJobOf(line);
        delete line;
    }
}
