// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// A new file that no one can take for the real thing until it is whole: it is
// written with no name (O_TMPFILE) where the file system allows, else under a
// hidden name of its own, and gets its real name in one step only when
// published. Failures leave errno set.
#pragma once

#include <string>
#include <string_view>

// A hidden name is its prefix and exactly this many letters and digits
// (A-Z, a-z, 0-9), nothing after them; a sweep takes no other name.
inline constexpr std::size_t pendingNameRandomLength = 6;

// True when name is prefix followed by the random part above and nothing else.
bool isPendingFileName(std::string_view name, std::string_view prefix);

class PendingFile {
public:
    // A file in folder; where it must have a name, that name is hiddenPrefix
    // and a random part (isPendingFileName). It is locked (flock) for as long as it is open, so
    // removeIfAbandoned can tell a live one from a leftover. A replacing
    // publish needs a name for a moment: it stands in stagingFolder when that
    // is on the same file system, else in folder.
    PendingFile(const std::string &folder, std::string hiddenPrefix,
                std::string stagingFolder = {});
    // An unpublished file goes with the object.
    ~PendingFile();
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    bool isValid() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    // Syncs the data, then gives the file the name path, in folder. With
    // replace a file of that name is replaced at once; without, it is kept
    // and publish fails with EEXIST.
    bool publish(const std::string &path, bool replace);
    // Closes the file; false when the close fails.
    bool close();

private:
    struct Target {
        int dirFd;
        std::string name;
    };
    Target targetOf(const std::string &path) const;
    bool linkAs(const Target &target) const;
    bool replaceThroughTransientName(const Target &target);

    std::string m_folder;
    std::string m_prefix;
    std::string m_staging;
    std::string m_name; // the hidden name in folder, when the file system gave no unnamed file
    int m_dirFd = -1;   // folder, held while the file is open
    int m_fd = -1;
    bool m_published = false;
};

// Renames from to to, never over an existing entry (EEXIST then), also on
// file systems without RENAME_NOREPLACE.
bool renameNoReplace(const std::string &from, const std::string &to);

// The same between held folders: never over an existing entry (EEXIST then),
// also on file systems without RENAME_NOREPLACE.
bool renameNoReplaceAt(int fromFd, const std::string &from, int toFd, const std::string &to);

// Removes folder's entry name when it is a hidden name of prefix
// (isPendingFileName), a plain file of this user, not a link, and no one holds
// it locked: what a killed writer left. dirFd is folder, open. A user's own
// file that merely starts with prefix is never taken.
bool removeIfAbandoned(int dirFd, const char *name, const std::string &prefix);

// removeIfAbandoned for every entry of folder.
void sweepAbandoned(const std::string &folder, const std::string &prefix);
