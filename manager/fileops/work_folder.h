// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The hidden folder in which a copy builds its items and keeps aside the
// entries they replace, until the copy is complete or undone. It is locked for
// as long as its copy runs, so one left by a copy cut short (a crash, kill -9,
// quitting without waiting) is known by its free lock: the next copy into the
// same folder puts what was kept aside back and removes the rest.
//
// Only a folder this program can prove it made is ever touched: owned by the
// effective user, mode 0700, on the folder's device, named with a random tag
// and holding a marker that repeats that tag and the folder's own inode (a
// copy of it, or one unpacked, is not ours). Beside each entry kept aside it
// notes what the copy put under that name (device, inode, size, modification
// time), so a later sweep never displaces what the user put or changed there.
#pragma once

#include "platform/exclusive_open.h"

#include <string>
#include <vector>

#include <sys/stat.h>

inline constexpr const char kWorkFolderPrefix[] = ".tovix-copy-";

// What putting kept entries back did, by name in the copy's folder.
struct RestoreReport {
    std::vector<std::string> putBack;   // back under their own names
    std::vector<std::string> recovered; // back beside a changed entry, under these names
    std::vector<std::string> stuck;     // could not come back; their work folder stays
};

class WorkFolder {
public:
    explicit WorkFolder(std::string folder) : m_folder(std::move(folder)) {}
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    // Makes, marks and locks the folder on first use; false with errno set.
    bool make();
    const std::string &path() const { return m_path; }
    // path, or a path below it, as the user would find it.
    std::string shown(const std::string &path) const;
    // The name in path() under which item number item is built.
    static std::string stageName(int item);
    // Where the entry named name that item number item replaces is kept; the
    // folder holding it is made.
    bool makeParkPath(int item, const std::string &name, std::string &path);
    // Notes that the entry st takes the name of what item number item keeps
    // aside: before it does, and again once it has.
    bool notePlaced(int item, const struct stat &st);
    // Puts back what item number item kept aside, unless what holds the name
    // now is not what the copy put there: then it comes back beside it.
    bool restore(int item, RestoreReport &report);
    // Removes the folder and everything in it, then lets go of the lock.
    void remove();
    // Lets go of the lock and leaves the folder for a later sweep.
    void abandon();

private:
    std::string m_folder;
    std::string m_path; // empty until made
    std::string m_name;
    UniqueFd m_parent;  // m_folder, held
    UniqueFd m_fd;      // the work folder, held and locked
};

// Puts back what copies cut short left kept aside in folder: each entry under
// its own name while that name holds what the copy put there (which then
// stays beside under a free name) or nothing; else beside it as
// "NAME (recovered)". Work folders still locked, or not provably ours, are left
// alone.
RestoreReport sweepAbandonedCopies(const std::string &folder);

// For the sweep and restore: the park folder parkName of the held work folder
// workFd goes back into folderFd. False when something stays in it.
bool putBackParked(int folderFd, int workFd, const std::string &parkName, RestoreReport &report);
