// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The commands of tovix-player that make and change a stand-in player.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace nerolink {

struct InitOptions {
    bool demo = false;
    uint64_t internalBytes = 0; // 0: the default
    uint64_t cardBytes = 0;
};

// Makes an empty, attached, writable player with a usable card in folder,
// replacing the state and the files of any player that was there.
int initPlayer(const std::string &folder, const InitOptions &options, std::ostream &out,
               std::ostream &err);

// Changes one setting of the player in folder.
int setSetting(const std::string &folder, const std::string &section, const std::string &key,
               const std::string &value, const std::string &done, std::ostream &out,
               std::ostream &err);

} // namespace nerolink
