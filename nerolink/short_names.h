// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The player's 8.3 short names: upper-case, at most eight characters, an
// optional dot and at most three more, as on a FAT file system.
#pragma once

#include <functional>
#include <string>

namespace nerolink {

bool isShortName(const std::string &name);

// A short name for a file called name that taken() reports free. A name that
// already is a short name keeps itself, one that differs from a short name only
// in case takes its upper-case form; others get "~1", "~2", ... tails.
std::string makeShortName(const std::string &name,
                          const std::function<bool(const std::string &)> &taken);

// A name the player could never hold as a file of a memory's folder.
bool isUnsafeShortName(const char *name);

} // namespace nerolink
