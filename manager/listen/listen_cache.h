// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The program's own cache of player recordings copied for listening: one
// folder under the user's cache folder, never one the user chose, kept under
// a byte limit by removing the least recently played files first.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include <sys/types.h>

inline constexpr std::uint64_t kListenCacheLimit = 256ull << 20;

// $XDG_CACHE_HOME/tovixman, or ~/.cache/tovixman when that is unset or not
// an absolute path. Empty when neither can be found.
std::string listenCacheFolder();

// A player file as the cache knows it: a copy with the same name, memory and
// size is the same recording.
struct CachedRecording {
    std::string name;    // the display name
    std::int32_t target; // mtInternal or mtCard
    std::int64_t size;
};

class ListenCache {
public:
    explicit ListenCache(std::string folder, std::uint64_t limit = kListenCacheLimit);

    const std::string &folder() const { return m_folder; }
    // Where the recording's copy lives, and where the device writes it first.
    std::string pathOf(const CachedRecording &r) const;
    std::string partPathOf(const CachedRecording &r) const { return pathOf(r) + ".part"; }

    // True when an unchanged copy is there; it then counts as just played.
    bool holds(const CachedRecording &r) const;
    // Creates the folder and removes the oldest files until bytes more fit
    // the limit, never one of the copies being written. False when the
    // folder cannot be made or bytes alone exceed it.
    bool makeRoom(std::uint64_t bytes, const std::set<std::string> &writing = {}) const;
    // The device's copy becomes the cached one: true when the device said
    // it copied and the copy has the recording's size. Anything else is removed.
    bool keep(const CachedRecording &r, bool copied = true) const;
    // Bytes of the files in the folder.
    std::uint64_t usedBytes() const;
    // Removes copies the device was writing that will never be finished:
    // only part files of this folder, plain files of this user, never through a link.
    void discardParts(const std::set<std::string> &parts) const;

private:
    std::string m_folder;
    std::uint64_t m_limit;
};

// What one window knows of the copies it had made (listening thread only).
// A recorder reuses names and equal lengths give equal sizes, so a copy
// stands for the player's recording only while the player has stayed
// attached and nothing was removed, formatted or downloaded on that memory
// since, and only while it is still the very file that was kept.
class CopyLedger {
public:
    // The device is to write the recording's copy; it is not evicted meanwhile.
    void writing(const ListenCache &cache, const CachedRecording &r);
    const std::set<std::string> &beingWritten() const { return m_writing; }
    // The device finished: kept says whether the copy became the cached one.
    void written(const ListenCache &cache, const CachedRecording &r, bool kept);
    // True when the cache holds the copy this window made and it still counts.
    bool holds(const ListenCache &cache, const CachedRecording &r) const;
    // The memory (mtInternal or mtCard; 0 for both) may hold other recordings now.
    void forget(std::int32_t target);

private:
    struct Copy {
        std::int32_t target;
        dev_t device;
        ino_t inode;
    };
    std::map<std::string, Copy> m_copies;
    std::set<std::string> m_writing;
};
