// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The worker that runs one queued job: it makes the job's one device call at
// a lowered priority and posts the result to the window as a ThreadDoneEvent.
#pragma once

#include "queue/copy_job.h"

#include <QThread>

#include <cstdint>

class ThreadDoneEvent;

class TCopyThread : public QThread {
public:
    // Copies what the job needs, arranges to delete itself when it ends and
    // starts at once. The job may be changed or released as soon as this returns.
    TCopyThread(QObject *window, const TCopyJob &job);
    ~TCopyThread() override;

    // False when the system could not start the thread: nothing will be posted,
    // and the caller deletes the worker itself.
    bool started() const { return FStarted; }

    // Stack size of the workers made from now on; 0 is the system's default.
    static void setWorkerStackSize(uint bytes);

protected:
    void run() override;

private:
    QObject *const FWindow;
    const uint32_t FId;
    char FPcPath[kPcPathSize];
    char FPlayerName[kPlayerNameSize];
    const int32_t FKind;
    ThreadDoneEvent *const FDone; // made here, filled in and posted by run()
    bool FStarted = false;
};
