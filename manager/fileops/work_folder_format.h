// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a work folder holds, by name: the marker that proves it ours, the items
// built ("new-N") and kept aside ("old-N/NAME"), and the note of what each item
// put under the name it kept aside ("placed-N").
#pragma once

#include <optional>
#include <string>

#include <sys/stat.h>

namespace workfolder {

inline constexpr const char kMarker[] = "tovixman-copy";
inline constexpr const char kStaged[] = "new-";
inline constexpr const char kParked[] = "old-";
inline constexpr const char kPlaced[] = "placed-";
// Kept-aside entries the copy is done with, on their way out.
inline constexpr const char kDone[] = "gone-";

// The tag of a work folder's name, or nothing when name is not of that form.
std::optional<std::string> tagOf(const std::string &name);
// The marker's text for tag in the work folder folder. It names the folder's
// own inode, so a copy of it, or one unpacked from an archive, is never
// taken for one this program made there.
std::string markerText(const std::string &tag, const struct stat &folder);
// The item number of a name prefix + digits, or nothing.
std::optional<int> itemOf(const std::string &name, const char *prefix);

// What an item put under a name, as noted.
struct PlacedEntry {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};

    static PlacedEntry of(const struct stat &st);
    // st is still this entry, unchanged.
    bool holds(const struct stat &st) const;
    std::string text() const;
    static std::optional<PlacedEntry> parse(const std::string &text);
};

// The note of item in the held work folder workFd, when there is a readable one.
std::optional<PlacedEntry> readPlaced(int workFd, int item);

} // namespace workfolder
