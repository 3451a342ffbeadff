// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void centerOnScreen(QWidget *w)
{
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = w->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    w->move(frame.topLeft());
}

namespace {

// Saved numbers may be anything, so the sums are taken in 64 bits.
qint64 overlap(qint64 start, qint64 length, qint64 areaStart, qint64 areaLength)
{
    return std::max<qint64>(0, std::min(start + length, areaStart + areaLength) - std::max(start, areaStart));
}

// start moved so that length fits in the area from areaStart, as far as it can.
int within(qint64 start, int length, int areaStart, int areaLength)
{
    return int(std::max<qint64>(areaStart, std::min<qint64>(start, qint64(areaStart) + areaLength - length)));
}

} // namespace

QRect fitOnScreens(int left, int top, int width, int height, const QSize &minimum)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return QRect(left, top, width, height);
    QRect area;
    qint64 best = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect a = screen->availableGeometry();
        const qint64 shared = overlap(left, width, a.x(), a.width()) * overlap(top, height, a.y(), a.height());
        if (shared > best) {
            best = shared;
            area = a;
        }
    }
    const bool meetsNone = best == 0;
    if (meetsNone)
        area = primary->availableGeometry();
    const int w = std::max(std::min(width, area.width()), minimum.width());
    const int h = std::max(std::min(height, area.height()), minimum.height());
    if (meetsNone)
        return QRect(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h);
    return QRect(within(left, w, area.x(), area.width()), within(top, h, area.y(), area.height()), w, h);
}
