// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Stands in front of the C library's fsync() and fdatasync() for the whole
// test program, so a test can act at the moment a file is synced (the long
// wait of a slow disk) or make folder syncs fail as a failing disk would.
#pragma once

#include <functional>

namespace SyncHook {

// Runs action(fd) before each sync, on the thread that makes it.
void beforeSync(std::function<void(int fd)> action);
// While set, every sync of a folder fails with EIO.
void failFolderSyncs(bool fail);
void clear();

} // namespace SyncHook
