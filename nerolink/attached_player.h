// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// One library call's view of the player: its settings and where its two
// memories are at this moment.
#pragma once

#include "memory_place.h"
#include "player_config.h"

#include <cstdint>
#include <memory>

namespace nerolink {

struct AttachedPlayer {
    const PlayerConfig &config;
    MemoryPlace internal;
    MemoryPlace card;

    // player.ini's bits, with no card while the card's folder or drive is
    // missing and write protection while the internal memory cannot be written.
    uint32_t statusBits() const;
    bool writeProtected() const;
    // The place of a target's memory; null for an unknown target.
    const MemoryPlace *place(int32_t target) const;
    // Whether the memory can be read: present, and for the card a usable one.
    bool usable(const MemoryConfig &memory) const;
};

// Null when no player is attached: Attached=no, or its internal memory is
// not there (a drive that is not mounted).
std::unique_ptr<AttachedPlayer> attachPlayer(const PlayerConfig &config);

} // namespace nerolink
