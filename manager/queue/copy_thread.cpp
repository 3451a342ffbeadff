// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/copy_thread.h"

#include "queue/job_kinds.h"
#include "queue/thread_done_event.h"
#include "queue/tsan_order.h"

#include <QCoreApplication>

#include "platform/exclusive_open.h"
#include "platform/paths.h"

#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

uint workerStackSize = 0;

// Below the window's thread, so the window answers first, yet with its full
// share of the processor when other programs keep every core busy. Qt's idle
// priority is Linux's SCHED_IDLE, under which a transfer starves for as long
// as the machine is busy; a raised nice value costs a transfer that wakes
// often (each read and write of a copy) far more than its share, as each
// wake waits out the busy programs' slices. SCHED_BATCH keeps the normal
// share but never preempts on waking, so the window's thread still does.
void lowerThisThread()
{
    const sched_param normal{};
    (void)::sched_setscheduler(0, SCHED_BATCH, &normal);
}

// An upload counts as done only once its file's name is durable: the
// device library syncs the data, the name lives in the folder. False only
// when the disk refused the sync; a folder that can not be opened holds no
// file of the upload's either.
bool syncFolderOf(const char *path)
{
    const std::string folder = extractFileDir(path);
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return !dir || ::fsync(dir.get()) == 0;
}

} // namespace

void TCopyThread::setWorkerStackSize(uint bytes)
{
    workerStackSize = bytes;
}

TCopyThread::TCopyThread(QObject *window, const TCopyJob &job)
    : FWindow(window), FId(job.Id), FKind(job.Kind), FDone(new ThreadDoneEvent(FId))
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    std::memcpy(FPcPath, job.PcPath, sizeof FPcPath);
    std::memcpy(FPlayerName, job.PlayerName, sizeof FPlayerName);
    FPcPath[kPcPathSize - 1] = '\0';
    FPlayerName[kPlayerNameSize - 1] = '\0';
    setStackSize(workerStackSize);
    // Last: from here on the worker reads its fields.
    start();
    // A started thread is running or, already done, finished; one the system
    // refused is neither.
    FStarted = isRunning() || isFinished();
}

void TCopyThread::run()
{
    lowerThisThread();
    int32_t result = runJobCall(FKind, FPcPath, FPlayerName);
    if (result != 0 && isUploadKind(FKind) && !syncFolderOf(FPcPath))
        result = 0;
    FDone->setResult(result);
    QCoreApplication::postEvent(FWindow, FDone);
    orderedBefore(this);
}

// Deleted once it has finished, which Qt orders after run() has returned.
TCopyThread::~TCopyThread()
{
    orderedAfter(this);
    if (!FStarted)
        delete FDone;
}
