// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// One memory of the stand-in player: a folder of plain files, in the order they
// arrived, each with a short name kept in the player folder.
#pragma once

#include "attached_player.h"
#include "file_copy.h"
#include "device/nerolink.h"
#include "player_config.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nerolink {

struct StoredFile {
    std::string shortName;
    std::string name;
    uint64_t size = 0;
};

// The longest file name a record can hold: the whole LongName field.
inline constexpr std::size_t kMaxNameBytes = sizeof(TFileEntry::LongName);

// A name a memory can list and store: not too long, no control characters,
// no path separator, not one of our temporary files.
bool isStorableName(const std::string &name);

class MemoryStore {
public:
    MemoryStore(const AttachedPlayer &player, const MemoryConfig &memory);

    // Reads the folder and settles short names for newly seen files. False when
    // the memory is unusable or its folder cannot be read.
    bool open();

    // Downloads, removals and formats are refused: the player is
    // write-protected or this memory cannot be written.
    bool refusesWrites() const;

    const std::vector<StoredFile> &files() const { return files_; }
    const StoredFile *find(const std::string &shortName) const;
    const std::string &folder() const { return folder_; }
    uint64_t totalBytes() const;
    uint64_t freeBytes() const;

    // Fills the record as the manager reads it: at most 255 entries, the oldest,
    // and the count of every file the memory holds.
    void fill(TMemoryInfo &info) const;

    // The four operations; each waits the player's delay before it completes.
    bool download(const std::string &pcPath);
    bool upload(const std::string &shortName, const std::string &pcPath);
    bool remove(const std::string &shortName);
    bool format();

private:
    void settleShortNames(std::vector<StoredFile> &fresh);
    bool isTaken(const std::string &shortName) const;
    void saveIndex() const;
    bool nameClashes(const std::string &name) const;
    bool stillConnected() const;
    Pace pace() const;

    const AttachedPlayer &player_;
    const PlayerConfig &config_;
    const MemoryPlace &place_;
    const MemoryConfig &memory_;
    std::string folder_;
    std::vector<StoredFile> files_;
    uint64_t usedBytes_ = 0;
    std::size_t heldFiles_ = 0; // every plain file, listed or not
    uint64_t fileSystemTotal_ = 0;
    uint64_t fileSystemFree_ = 0;
};

} // namespace nerolink
