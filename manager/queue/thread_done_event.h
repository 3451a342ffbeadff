// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The message a worker posts to the main window when its device call has returned.
#pragma once

#include "queue/tsan_order.h"

#include <QEvent>

#include <cstdint>

constexpr QEvent::Type WM_THREADDONE = QEvent::Type(QEvent::User + 100);

// Made on the window's thread; the worker fills in the result and posts it.
class ThreadDoneEvent : public QEvent {
public:
    explicit ThreadDoneEvent(uint32_t wParam, int32_t lParam = 1)
        : QEvent(WM_THREADDONE), wParam(wParam), lParam(lParam)
    {
    }
    ~ThreadDoneEvent() override { orderedAfter(this); }

    // Worker side, just before posting.
    void setResult(int32_t result)
    {
        lParam = result;
        orderedBefore(this);
    }
    // Window side: the device call's result.
    int32_t result() const
    {
        orderedAfter(this);
        return lParam;
    }

    const uint32_t wParam; // the job's Id

private:
    int32_t lParam; // the device call's result
};
