// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Placing top-level windows on the screen.
#pragma once

class QWidget;

// Moves w to the centre of the screen it is on (the primary screen before it is shown).
void centerOnScreen(QWidget *w);
