#include "queue/copy_thread.h"

#include "queue/job_kinds.h"
#include "queue/thread_done_event.h"
#include "queue/tsan_order.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

uint workerStackSize = 0;

// Below the window's thread, so the window answers first, but still scheduled
// when other programs keep every core busy: Qt's idle priority is Linux's
// SCHED_IDLE, under which a transfer starves for as long as the machine is busy.
constexpr int kWorkerNiceStep = 1;

void lowerThisThread()
{
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        (void)::setpriority(PRIO_PROCESS, tid, nice + kWorkerNiceStep);
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
    FDone->setResult(runJobCall(FKind, FPcPath, FPlayerName));
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
