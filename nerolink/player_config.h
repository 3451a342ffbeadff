// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The stand-in player's state, kept in player.ini inside the player folder and
// read again on every library call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nerolink {

enum class CardState { Ok, None, Wrong, Corrupted };

std::optional<CardState> parseCardState(const std::string &text);
const char *cardStateName(CardState state);

inline constexpr uint64_t kDefaultInternalBytes = 64ull * 1024 * 1024;
inline constexpr uint64_t kDefaultCardBytes = 128ull * 1024 * 1024;
inline constexpr const char kDefaultVersion[] = "TOVIX 1.0";
inline constexpr const char kIniName[] = "player.ini";

struct MemoryConfig {
    std::string section;   // "Internal" or "Card"
    std::string name;      // "internal" or "card": the default folder and index names
    std::string folder;    // absolute, or relative to the player folder
    bool spaceFromFileSystem = false; // a folder of its own, such as a mounted USB player
    uint64_t capacityBytes = 0;
    bool failRefresh = false;
    std::string label;     // a drive found by its volume label, in place of folder
    bool mountPoint = false; // folder was a mount point when chosen: only there while mounted
    std::string volumeId;  // the chosen drive's file-system id: only that drive is this memory
};

struct PlayerConfig {
    std::string playerFolder;
    bool attached = true;
    std::string version = kDefaultVersion;
    bool writeProtected = false;
    CardState cardState = CardState::Ok;
    int delayMs = 0;
    uint64_t rateBytesPerSecond = 0; // a transfer's pace; 0 for no limit
    MemoryConfig internal;
    MemoryConfig card;

    // The memory for a target code, or null for an unknown code.
    const MemoryConfig *memory(int32_t target) const;
    // The folder holding that memory's files.
    std::string memoryFolder(const MemoryConfig &memory) const;
    // The file that keeps that memory's short names and arrival order.
    std::string indexPath(const MemoryConfig &memory) const;
    // Whether the memory can be read at all (the card must be in a usable state).
    bool usable(const MemoryConfig &memory) const;
    // The bits player.ini sets; where the memories are adds more (PlayerState).
    uint32_t statusBits() const;
};

// $NEROLINK_PLAYER, else $XDG_DATA_HOME/nerolink/player, else ~/.local/share/nerolink/player.
std::string playerFolder();

// The [Faults] FailRefresh value for the two memories' refresh failures.
std::string failRefreshText(bool internal, bool card);

inline constexpr int kMaxDelayMs = 3600000;
inline constexpr uint64_t kMaxRateBytesPerSecond = UINT32_MAX;

// The defaults of a freshly made player in that folder.
PlayerConfig defaultPlayer(const std::string &folder);

// Null when the folder or its player.ini is missing.
std::optional<PlayerConfig> loadPlayer(const std::string &folder);

// Writes the whole state as a new player.ini, replacing any old one.
bool savePlayer(const PlayerConfig &config);

// Changes one key of an existing player.ini, keeping the rest as it was.
bool setPlayerValue(const std::string &folder, const std::string &section,
                    const std::string &key, const std::string &value);

struct PlayerValue {
    std::string section, key, value;
};
// Changes several keys at once: one write, so no reader sees half of them.
bool setPlayerValues(const std::string &folder, const std::vector<PlayerValue> &values);

} // namespace nerolink
