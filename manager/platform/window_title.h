// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Dialog titles as they are written.
#pragma once

#include <functional>

class QWidget;

// Runs change (a show or hide of w) so that the window system gets w's own
// title: Qt's platform plugins would otherwise add the application's display
// name after every title that does not already end with it.
void withExactTitle(QWidget *w, const std::function<void()> &change);
