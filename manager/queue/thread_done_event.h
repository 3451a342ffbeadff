// The message a worker posts to the main window when its device call has returned.
#pragma once

#include <QEvent>

#include <cstdint>

constexpr QEvent::Type WM_THREADDONE = QEvent::Type(QEvent::User + 100);

class ThreadDoneEvent : public QEvent {
public:
    ThreadDoneEvent(uint32_t wParam, int32_t lParam)
        : QEvent(WM_THREADDONE), wParam(wParam), lParam(lParam)
    {
    }

    const uint32_t wParam; // the job's Id
    const int32_t lParam;  // the device call's result
};
