// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The program's own cache of player recordings copied for listening: one
// folder under the user's cache folder, never one the user chose, kept under
// a byte limit by removing the least recently played files first.
#pragma once

#include <cstdint>
#include <string>

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
    // the limit. False when the folder cannot be made or bytes alone exceed it.
    bool makeRoom(std::uint64_t bytes) const;
    // The device's copy becomes the cached one: true when the device said
    // it copied and the copy has the recording's size. Anything else is removed.
    bool keep(const CachedRecording &r, bool copied = true) const;
    // Bytes of the files in the folder.
    std::uint64_t usedBytes() const;

private:
    std::string m_folder;
    std::uint64_t m_limit;
};
