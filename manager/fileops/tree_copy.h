// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The file system steps of a copy: an entry copied whole under a new name, a tree
// removed, a name placed without replacing another. Paths are in the file
// system's bytes. Links are never followed: a link is copied as a link.
#pragma once

#include "platform/pending_file.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

// What a copy read: each entry as it was when read and, for a folder, the
// entries copied from it.
struct CopiedEntry {
    std::string name;
    struct stat st {};
    std::vector<CopiedEntry> children;
};

struct CopyContext {
    const std::atomic<bool> *cancel = nullptr;
    CopiedEntry *record = nullptr; // when set, what is copied is noted here
    std::function<void(qint64 bytes)> advance;             // more bytes copied
    std::function<void(const std::string &path)> entering; // a file's copy begins

    // Set on failure: the file it concerns and why (empty reason when cancelled).
    std::string failedPath;
    std::string reason;
    bool reasonIsOwn = false; // one of ours, to translate, rather than the system's

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
    bool fail(const std::string &path, int error);
    // why: a text marked with QT_TRANSLATE_NOOP("CopyContext", ...).
    bool fail(const std::string &path, const char *why);
    // The reason as the user reads it.
    QString reasonText() const;
};

// Copies the entry at source into folder as name. A file is written to an
// unnamed temporary (or a hidden one where the file system has none), synced,
// and given its name only when complete; a folder is made and filled the same
// way. On failure or cancel nothing is left under name. Permissions and
// modification times go along.
bool copyEntry(const std::string &source, const std::string &folder, const std::string &name,
               CopyContext &ctx);

// Removes path, and everything in it for a folder. With ownCopy, folders left
// without write permission are opened up first (they are copies we made).
bool removeTree(const std::string &path, bool ownCopy, int *error = nullptr);

// Removes the entry copied.name of the held folder dirFd while it is still
// what was copied (the same inode, size and modification time); a folder only
// with rmdir, once what was copied from it is gone. What stays because it
// changed or gained entries since is added to left, as a path below path.
// False on a failure to remove, errno set.
// With ownCopy, folders of ours left without write permission are opened up
// first, and given their mode back if they stay.
bool removeCopied(int dirFd, const CopiedEntry &copied, const std::string &path,
                  std::vector<std::string> &left, bool ownCopy = false);

// Notes in entry what the entry entry.name of the held folder dirFd is now,
// and for a folder, what it holds; links are not followed.
void recordTree(int dirFd, CopiedEntry &entry);

// The bytes of the files at and below path, links not followed.
qint64 bytesBelow(const std::string &path, const std::atomic<bool> &cancel);

// Files being written where the file system gives no unnamed ones.
inline constexpr const char kPartialPrefix[] = ".tovix-partial-";

// Sixteen random hex digits, for names no user picks.
std::string randomTag();

// "folder/name", with no doubled separator.
std::string childPath(const std::string &folder, const std::string &name);
