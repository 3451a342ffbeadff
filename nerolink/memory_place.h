// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Where a memory's files are for the length of one call: the player's own
// folder, a folder of the user's, or the drive with a given label, and whether
// it is there and may be written. The folder is held open for the call, so the
// files go to the drive that was found even if it is unmounted meanwhile.
#pragma once

#include "mount_table.h"
#include "player_config.h"

#include <string>

namespace nerolink {

class MemoryPlace {
public:
    MemoryPlace() = default;
    ~MemoryPlace();
    MemoryPlace(MemoryPlace &&other) noexcept;
    MemoryPlace &operator=(MemoryPlace &&other) noexcept;
    MemoryPlace(const MemoryPlace &) = delete;
    MemoryPlace &operator=(const MemoryPlace &) = delete;

    bool present() const { return fd_ >= 0; }
    // Why the memory is not there; empty while it is.
    const std::string &absence() const { return absence_; }
    // The folder as the user knows it.
    const std::string &folder() const { return folder_; }
    // The path every file operation goes through: the folder held open.
    std::string path() const;
    // The file system it is on, as the mount table lists it (empty when unknown).
    const MountEntry &mount() const { return mount_; }
    bool isMountPoint() const { return mountPoint_; }
    // The id of the drive found for a label or a mount point; "" when unknown.
    const std::string &volumeId() const { return volumeId_; }
    bool readOnly() const { return readOnly_; }
    bool writable() const { return present() && !readOnly_ && !denied_; }
    // Not writable: read-only, or no permission to write.
    std::string writeProblem() const;

    // Whether the same folder is still found where it was, by the same rules:
    // false once the drive has gone away.
    bool stillThere() const;

    friend MemoryPlace locateMemory(const PlayerConfig &config, const MemoryConfig &memory,
                                    const MountTable &table);

private:
    void release();

    const PlayerConfig *config_ = nullptr;
    const MemoryConfig *memory_ = nullptr;
    std::string folder_;
    std::string absence_;
    std::string volumeId_;
    MountEntry mount_;
    bool mountPoint_ = false;
    bool readOnly_ = false;
    bool denied_ = false;
    int fd_ = -1;
};

// The memory as the configuration and the mount table find it now. The
// player's own folders are made when missing; any other folder must exist,
// one chosen as a mount point must have a file system mounted on it, and a
// label must name exactly one mounted file system. A drive chosen with its id
// is only ever the drive of that id.
MemoryPlace locateMemory(const PlayerConfig &config, const MemoryConfig &memory,
                         const MountTable &table);

} // namespace nerolink
