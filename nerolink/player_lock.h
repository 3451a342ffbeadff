// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Holds the player folder's lock file for the length of one library call, so
// that several programs using the same player take turns.
#pragma once

#include <string>

namespace nerolink {

class PlayerLock {
public:
    explicit PlayerLock(const std::string &playerFolder);
    ~PlayerLock();
    PlayerLock(const PlayerLock &) = delete;
    PlayerLock &operator=(const PlayerLock &) = delete;

private:
    int fd_ = -1;
};

} // namespace nerolink
