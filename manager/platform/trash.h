// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The desktop trash, for a path given as the bytes the file system holds, so a
// name that is not valid in the system's encoding is trashed as itself and
// never mistaken for a name that shows alike. Files go where every desktop's
// trash finds and restores them (the freedesktop.org layout): the user's data
// folder's Trash for the file system that folder is on, else the trash at the
// top of the file's own file system. The data folder is made when missing.
#pragma once

#include <QByteArray>

// Moves the file, folder or link at path (absolute) to the trash; false, with
// the entry left where it was, when it cannot go there.
bool moveToTrash(const QByteArray &path);
