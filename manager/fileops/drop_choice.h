// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a drop of files on a folder does, as desktop file managers decide it:
// Ctrl copies, Shift moves, and otherwise files on the folder's file system are
// moved and others copied.
#pragma once

#include <QStringList>

// Qt::IgnoreAction when the drop cannot go there: no files, the folder among them
// or inside one of them, or a move of files already in it.
Qt::DropAction chooseDropAction(const QStringList &sources, const QString &folder,
                                Qt::KeyboardModifiers modifiers, Qt::DropActions possible);
bool onSameFileSystem(const QString &path, const QString &folder);
