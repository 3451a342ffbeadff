// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The id a file system was given when it was made: the UUID of ext2/3/4 and
// XFS, the volume serial of FAT, exFAT and NTFS, written as blkid writes it.
// A label names a kind of drive; the id tells one drive from another.
#pragma once

#include <cstddef>
#include <string>

namespace nerolink {

// The id in the first blocks of a file system; "" for a kind not known here.
std::string volumeIdFromBlocks(const unsigned char *data, std::size_t size);

// The id read from a block device or an image file; "" when it cannot be read.
std::string readVolumeId(const std::string &device);

// The id of the file system mounted at folder, asked of the file system
// itself (FAT's volume id, the generic UUID query); "" when it will not say or
// the folder is not on device.
std::string mountedVolumeId(const std::string &folder, unsigned major, unsigned minor);

// Whether two ids are the same; blkid and udev differ only in letter case.
bool sameVolumeId(const std::string &a, const std::string &b);

} // namespace nerolink
