// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Stands in front of the C library's unlink, unlinkat, rename, renameat and
// renameat2 for the whole test program, so a test can change the disk in the
// very moment between a program's last look at an entry and its removal or
// move: as another user in a shared folder, or a file manager, might.
#pragma once

#include <functional>
#include <string>

namespace ActHook {

// The first removal or rename whose source's last component is name first
// runs change, then goes ahead as the program asked.
void before(const std::string &name, std::function<void()> change);
void clear();

} // namespace ActHook
