// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Volume labels and ids of mounted file systems, so a drive can be named by
// its label wherever the desktop mounts it, and told from another drive of the
// same label by its id. Both come from what udev recorded for the device (its
// database, /dev/disk/by-label and by-uuid), else from the file system.
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
    // links are in $NEROLINK_DISK_LABELS, else /dev/disk/by-label, the id links
    // in $NEROLINK_DISK_UUIDS, else /dev/disk/by-uuid.
    VolumeLabels();

    // The label of the file system of that mount; "" when none is known.
    std::string labelOf(const MountEntry &entry) const;
    // The id of the file system of that mount; "" when none is known.
    std::string idOf(const MountEntry &entry) const;

    struct Link {
        std::string name;
        std::string device; // the link's target, as a plain path
        dev_t number = 0;   // the target's device number, when it is a block device
    };

private:
    std::string udevValue(const MountEntry &entry, const char *key) const;

    std::string udevData_;
    std::vector<Link> labelLinks_;
    std::vector<Link> idLinks_;
};

// Each distinct mounted file system whose label is label, once: the first
// mount of the whole file system.
std::vector<MountEntry> mountsLabelled(const MountTable &table, const std::string &label);

struct LabelledDrive {
    MountEntry mount;
    std::string id; // "" when it cannot be told
};

// The same drives, each with its id.
std::vector<LabelledDrive> drivesLabelled(const MountTable &table, const std::string &label);

struct DriveChoice {
    const LabelledDrive *drive = nullptr;
    std::string absence; // why none is taken
};

// Which of the drives labelled label is the one chosen. With the id it had when
// chosen, only a drive of that id; without one (chosen before ids were kept,
// or by label alone), the one drive of that label, never one of several.
DriveChoice chooseLabelledDrive(const std::vector<LabelledDrive> &drives, const std::string &label,
                                const std::string &chosenId);

} // namespace nerolink
