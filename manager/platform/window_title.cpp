// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/window_title.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

void withExactTitle(QWidget *w, const std::function<void()> &change)
{
    const QString name = QGuiApplication::applicationDisplayName();
    // An unset display name reads as the application name and adds nothing;
    // setting it here would make it add something to every other window.
    if (name.isEmpty() || name == QCoreApplication::applicationName()) {
        change();
        return;
    }
    // Every title ends with an empty name, so nothing is added while it is empty.
    QGuiApplication::setApplicationDisplayName(QString());
    change();
    if (QWindow *window = w->windowHandle(); window && w->isVisible())
        window->setTitle(w->windowTitle());
    QGuiApplication::setApplicationDisplayName(name);
}
