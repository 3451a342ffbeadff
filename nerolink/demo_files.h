// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The handful of files that "tovix-player init --demo" puts on a new player.
#pragma once

#include "player_config.h"

#include <ostream>

namespace nerolink {

// Adds the demo files to both memories; says on out what it added or skipped.
bool addDemoFiles(const PlayerConfig &config, std::ostream &out);

} // namespace nerolink
