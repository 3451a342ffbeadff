// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// "tovix-player status": the player's settings and both memories' files, read
// through the library's own functions as the manager reads them.
#pragma once

#include <ostream>
#include <string>

namespace nerolink {

int printStatus(const std::string &folder, std::ostream &out);

} // namespace nerolink
