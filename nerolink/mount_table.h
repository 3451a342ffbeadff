// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The mounted file systems, as the kernel lists them in /proc/self/mountinfo,
// read again at every call so the player follows drives that come and go.
#pragma once

#include <string>
#include <vector>

namespace nerolink {

struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;       // the folder of the file system mounted here ("/": all of it)
    std::string mountPoint;
    std::string options;    // the mount's own options, such as "ro,nosuid"
    std::string fsType;
    std::string source;     // such as "/dev/sdb1"
    std::string superOptions;

    // Mounted read-only, by the mount or by its whole file system.
    bool readOnly() const;
};

using MountTable = std::vector<MountEntry>;

// Lines that do not have the mountinfo form are skipped.
MountTable parseMountInfo(const std::string &text);

// The table at $NEROLINK_MOUNTINFO when set (tests give their own), else the
// process's own; empty when it cannot be read.
MountTable readMountTable();

// The mount that holds an absolute, canonical path: of the entries whose mount
// point is the longest leading part of it, the last (later mounts cover earlier
// ones). Null when none does.
const MountEntry *mountHolding(const MountTable &table, const std::string &path);

// Whether a file system is mounted exactly at that canonical path. Without a
// table, a folder on another device than its parent counts as one.
bool isMountPoint(const MountTable &table, const std::string &path);

} // namespace nerolink
