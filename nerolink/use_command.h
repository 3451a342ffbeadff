// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// "tovix-player use": which folder or drive each memory of the player is.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace nerolink {

struct UseOptions {
    bool none = false;         // both memories back to the player's own folders
    std::string internalFolder;
    std::string internalLabel;
    std::string cardFolder;    // neither folder nor label: the card's own folder
    std::string cardLabel;
};

// The arguments after "use"; false with a problem to show beside the usage.
bool parseUseOptions(const std::vector<std::string> &args, UseOptions &options,
                     std::string &problem);

// Points the memories of the player in folder at those places. A folder
// must exist; a label that names two mounted drives is refused. Nothing
// changes unless all of it can.
int useMemories(const std::string &folder, const UseOptions &options, std::ostream &out,
                std::ostream &err);

} // namespace nerolink
