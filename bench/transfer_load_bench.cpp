// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A transfer on a busy machine. The queue's worker uploads a large file from
// the stand-in player while other processes keep every core busy, against the
// reference: the same device call on a plain thread at normal priority under
// the same load. Rounds alternate the two so that both see the same machine.
// Usage: transfer_load_bench [MIB] [ROUNDS]
#include "device/nerolink.h"
#include "queue/copy_thread.h"
#include "queue/job_kinds.h"
#include "queue/thread_done_event.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class Receiver : public QObject {
public:
    bool done = false;
    bool event(QEvent *e) override
    {
        if (e->type() != WM_THREADDONE)
            return QObject::event(e);
        done = static_cast<ThreadDoneEvent *>(e)->result() != 0;
        return true;
    }
};

bool run(const QString &command, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(command, args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

// One busy process per core, at the default priority.
std::vector<pid_t> loadEveryCore()
{
    std::vector<pid_t> pids;
    for (unsigned i = 0; i < std::max(1u, std::thread::hardware_concurrency()); ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
        pids.push_back(pid);
    }
    return pids;
}

void stopLoad(const std::vector<pid_t> &pids)
{
    for (const pid_t pid : pids) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
}

TCopyJob uploadJob(const std::string &destination)
{
    TCopyJob job;
    job.Kind = jkUploadInternal;
    std::strncpy(job.PcPath, destination.c_str(), sizeof job.PcPath - 1);
    std::strcpy(job.PlayerName, "BIG.BIN");
    return job;
}

double queueWorkerMs(const std::string &destination)
{
    Receiver receiver;
    QElapsedTimer clock;
    clock.start();
    new TCopyThread(&receiver, uploadJob(destination));
    QDeadlineTimer deadline(600000);
    while (!receiver.done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = clock.nsecsElapsed() / 1e6;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return receiver.done ? ms : -1;
}

double plainThreadMs(const std::string &destination)
{
    int32_t result = 0;
    QElapsedTimer clock;
    clock.start();
    std::thread reference([&] { result = dll_fn_upload_file("BIG.BIN", destination.c_str(), mtInternal); });
    reference.join();
    return result != 0 ? clock.nsecsElapsed() / 1e6 : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int mib = argc > 1 ? std::atoi(argv[1]) : 256;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;

    QTemporaryDir root;
    qputenv("NEROLINK_PLAYER", root.filePath(QStringLiteral("player")).toLocal8Bit());
    const QString source = root.filePath(QStringLiteral("big.bin"));
    {
        QFile f(source);
        const QByteArray chunk(1 << 20, 'x');
        bool ok = f.open(QIODevice::WriteOnly);
        for (int i = 0; ok && i < mib; ++i)
            ok = f.write(chunk) == chunk.size();
        if (!ok) {
            std::fprintf(stderr, "transfer_load_bench: cannot write %s\n", qPrintable(source));
            return 1;
        }
    }
    if (!run(QStringLiteral(TOVIX_PLAYER_COMMAND),
             {QStringLiteral("init"), QStringLiteral("--internal-bytes"),
              QString::number(qint64(mib + 16) << 20)})
        || dll_fn_download_file(source.toLocal8Bit().constData(), mtInternal) == 0) {
        std::fprintf(stderr, "transfer_load_bench: cannot prepare the stand-in player\n");
        return 1;
    }
    const std::string destination = root.filePath(QStringLiteral("uploaded.bin")).toStdString();

    std::vector<double> idleQueue, idlePlain, busyQueue, busyPlain;
    for (int round = 0; round < rounds; ++round) {
        // Which of the two goes first alternates, so neither always meets the other's writeback.
        const bool queueFirst = round % 2 == 1;
        const auto measure = [&](std::vector<double> &queue, std::vector<double> &plain) {
            if (queueFirst)
                queue.push_back(queueWorkerMs(destination));
            plain.push_back(plainThreadMs(destination));
            if (!queueFirst)
                queue.push_back(queueWorkerMs(destination));
        };
        measure(idleQueue, idlePlain);
        const std::vector<pid_t> load = loadEveryCore();
        measure(busyQueue, busyPlain);
        stopLoad(load);
    }
    for (const auto *v : {&idleQueue, &idlePlain, &busyQueue, &busyPlain})
        if (std::find(v->begin(), v->end(), -1.0) != v->end()) {
            std::fprintf(stderr, "transfer_load_bench: an upload failed\n");
            return 1;
        }

    std::printf("upload of %d MiB from the stand-in player, median of %d rounds:\n", mib, rounds);
    std::printf("  idle machine: queue worker %8.0f ms, plain thread %8.0f ms\n", median(idleQueue),
                median(idlePlain));
    std::printf("  every core busy: queue worker %5.0f ms, plain thread %5.0f ms\n", median(busyQueue),
                median(busyPlain));
    std::printf("queue worker / plain thread under load: %.2fx (goal at most 1.5x)\n",
                median(busyQueue) / median(busyPlain));
    return 0;
}
