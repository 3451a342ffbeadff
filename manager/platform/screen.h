// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Placing top-level windows on the screen.
#pragma once

#include <QRect>

class QWidget;

// Moves w to the centre of the screen it is on (the primary screen before it is shown).
void centerOnScreen(QWidget *w);

// Where a window last placed at left, top with a client area of width by height
// goes now that the screens may have changed: within the available area of the
// screen it overlaps most, shrunk to fit it but never below minimum; centred on
// the primary screen when it overlaps none. Unchanged when there is no screen.
QRect fitOnScreens(int left, int top, int width, int height, const QSize &minimum);
