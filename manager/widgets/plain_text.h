// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Names from the user's disks and from the player are shown as they are. Qt
// takes a text whose first line holds something like a tag for rich text and
// obeys it (an <img> of any size, say), so every label that can show such a
// name is plain, and a tooltip, which has no plain mode, is escaped.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// A label that never reads its text as markup.
QLabel *newPlainLabel(const QString &text, QWidget *parent);

// A tooltip that shows text literally, its line breaks and spaces included.
QString plainToolTip(const QString &text);
