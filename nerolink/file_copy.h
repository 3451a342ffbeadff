// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Writes that never leave a half file under the real name, nor a temporary
// file behind in a folder the player does not own: the bytes go to an unnamed
// file in the destination's folder, which gets its name only when complete.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace nerolink {

// Where a file system cannot give an unnamed file, the temporary is named by
// this prefix and a random part (isPendingFileName). Names with the prefix are
// not taken for player files; the next call removes leftovers, and only
// those of the temporaries' exact form.
inline constexpr const char kTemporaryPrefix[] = ".nerolink-part-";

// True for any name with the prefix: such a name is reserved on the player.
bool isTemporaryName(const std::string &name);

// Removes the temporaries in folder that no one is writing any more: names of
// their exact form, plain files of this user that no writer holds locked.
void sweepTemporaries(const std::string &folder);

bool writeFileAtomically(const std::string &path, const std::string &bytes);

// How a slow device sends its bytes: bytesPerSecond (0 for no limit) and,
// while a paced copy runs, whether the device is still connected, asked a few
// times a second; a copy stops and fails once it is not.
struct Pace {
    uint64_t bytesPerSecond = 0;
    std::function<bool()> stillConnected;
};

// The regular file a copy reads. A player's own file is never a link: one put
// in its place is refused, not followed to whatever it leads to. When size is
// known (checked against free space), the copy fails unless the file holds
// exactly that many bytes, and never writes more.
struct CopySource {
    CopySource(std::string at, bool linkAllowed = true, std::optional<uint64_t> bytes = {})
        : path(std::move(at)), mayBeLink(linkAllowed), size(bytes) {}
    CopySource(const char *at) : CopySource(std::string(at)) {}
    std::string path;
    bool mayBeLink;
    std::optional<uint64_t> size;
};

// Copies a regular file. Waits delayMs after the copy and before it takes its
// name, so an operation can be slowed or interrupted at its most sensitive
// point. pace paces the copy as a slow device would. Without replace an
// existing destination is kept and the copy fails.
// Replacing needs a name for a moment: it stands in stagingFolder (the
// player's own) when that is on the destination's file system. When
// stillThere says no just before the name is taken (the drive went away),
// nothing is published and the copy fails.
bool copyFileAtomically(const CopySource &source, const std::string &destination,
                        bool replace, int delayMs, const Pace &pace = {},
                        const std::string &stagingFolder = {},
                        const std::function<bool()> &stillThere = {});

// Copies a regular file to a new file under its real name, the bytes arriving
// there at pace, so a reader can follow the copy as it grows. An existing
// destination (or link) is kept and the copy fails. The destination's folder
// is held for the copy: the file is made, checked and removed in the folder it
// was made in. Waits delayMs after the copy. It fails when the copy fails, when
// stillThere then says no, or when the name no longer is the copy (another
// file was put in its place); the part written is then removed, and only
// while the name still is the copy.
bool copyFileInPlace(const CopySource &source, const std::string &destination, int delayMs,
                     const Pace &pace, const std::function<bool()> &stillThere = {});

void sleepMilliseconds(int ms);

} // namespace nerolink
