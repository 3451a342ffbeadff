// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Volume labels of mounted file systems, so a drive can be named by its label
// wherever the desktop mounts it. A label comes from what udev recorded for
// the device (its database, /dev/disk/by-label), else from the file system.
#pragma once

#include "mount_table.h"

#include <string>
#include <vector>

namespace nerolink {

// udev writes a byte it does not keep in a name as "\xHH".
std::string decodeUdevText(const std::string &text);

class VolumeLabels {
public:
    // The udev database is $NEROLINK_UDEV_DATA, else /run/udev/data; the label
    // links are in $NEROLINK_DISK_LABELS, else /dev/disk/by-label.
    VolumeLabels();

    // The label of the file system of that mount; "" when none is known.
    std::string labelOf(const MountEntry &entry) const;

private:
    struct LabelLink {
        std::string label;
        std::string device; // the link's target, as a plain path
        dev_t number = 0;   // the target's device number, when it is a block device
    };
    std::string udevLabel(const MountEntry &entry) const;
    std::string linkedLabel(const MountEntry &entry) const;

    std::string udevData_;
    std::vector<LabelLink> links_;
};

// Each distinct mounted file system whose label is label, once: the first
// mount of the whole file system.
std::vector<MountEntry> mountsLabelled(const MountTable &table, const std::string &label);

} // namespace nerolink
