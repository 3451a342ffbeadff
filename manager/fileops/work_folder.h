// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The hidden folder in which a copy builds its items and keeps aside the
// entries they replace, until the copy is complete or undone. It is locked for
// as long as its copy runs, so one left by a copy cut short (a crash, kill -9,
// quitting without waiting) is known by its free lock: the next copy into the
// same folder puts what was kept aside back under its own name and removes the
// rest.
#pragma once

#include "platform/exclusive_open.h"

#include <string>

inline constexpr const char kWorkFolderPrefix[] = ".tovix-copy-";

class WorkFolder {
public:
    explicit WorkFolder(std::string folder) : m_folder(std::move(folder)) {}
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    // Makes and locks the folder on first use; false with errno set.
    bool make();
    const std::string &path() const { return m_path; }
    // The name in path() under which item number item is built.
    static std::string stageName(int item);
    // Where the entry named name that item number item replaces is kept; the
    // folder holding it is made.
    bool makeParkPath(int item, const std::string &name, std::string &path);
    // Removes the folder and everything in it, then lets go of the lock.
    void remove();
    // Lets go of the lock and leaves the folder for a later sweep.
    void abandon() { m_lock.reset(); }

private:
    std::string m_folder;
    std::string m_path; // empty until made
    UniqueFd m_lock;
};

// Puts back what copies cut short left kept aside in folder: each entry under
// its own name, a newcomer that took the name since keeping it under a free
// one beside it. Work folders that are still locked are left alone.
void sweepAbandonedCopies(const std::string &folder);
