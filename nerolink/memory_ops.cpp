// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "memory_store.h"

#include "fat_names.h"
#include "file_copy.h"
#include "short_names.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nerolink {

// FAT keeps one of the names that differ only in letter case; so does the
// player, whatever folder stands for it.
bool MemoryStore::nameClashes(const std::string &name) const
{
    DIR *dir = ::opendir(folder_.c_str());
    if (!dir)
        return true;
    const std::u32string key = fatComparisonKey(name);
    bool clash = false;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name) && fatComparisonKey(entry->d_name) == key)
            clash = true;
    }
    ::closedir(dir);
    return clash;
}

// A slow transfer asks this as it goes: the settings and drives as they are
// now, not as they were when the call began, so detaching the player or
// pulling the card stops it.
bool MemoryStore::stillConnected() const
{
    const auto now = loadPlayer(config_.playerFolder);
    const bool card = &memory_ == &config_.card;
    return now && now->attached && now->usable(card ? now->card : now->internal) && place_.stillThere();
}

Pace MemoryStore::pace() const
{
    return {config_.rateBytesPerSecond, [this] { return stillConnected(); }};
}

bool MemoryStore::download(const std::string &pcPath)
{
    if (refusesWrites() || files_.size() >= static_cast<std::size_t>(kMaxPlayerFiles))
        return false;
    const auto slash = pcPath.rfind('/');
    const std::string name = slash == std::string::npos ? pcPath : pcPath.substr(slash + 1);
    if (!isStorableName(name) || !isFatName(name) || nameClashes(name))
        return false;
    struct stat source;
    if (::stat(pcPath.c_str(), &source) != 0 || !S_ISREG(source.st_mode)
        || static_cast<uint64_t>(source.st_size) > UINT32_MAX
        || static_cast<uint64_t>(source.st_size) > freeBytes())
        return false;
    const std::string destination = folder_ + "/" + name;
    struct stat existing;
    if (::lstat(destination.c_str(), &existing) == 0)
        return false;

    const CopySource checked(pcPath, true, static_cast<uint64_t>(source.st_size));
    if (!copyFileAtomically(checked, destination, false, config_.delayMs, pace(), {},
                            [this] { return place_.stillThere(); }))
        return false;
    files_.push_back({makeShortName(name, [this](const std::string &s) { return isTaken(s); }),
                      name, static_cast<uint64_t>(source.st_size)});
    usedBytes_ += static_cast<uint64_t>(source.st_size);
    ++heldFiles_;
    saveIndex();
    return true;
}

bool MemoryStore::upload(const std::string &shortName, const std::string &pcPath)
{
    const StoredFile *file = find(shortName);
    if (!file || pcPath.empty())
        return false;
    const auto slash = pcPath.rfind('/');
    sweepTemporaries(slash == std::string::npos ? "." : pcPath.substr(0, slash + 1));
    const CopySource source(folder_ + "/" + file->name, false);
    const auto stillThere = [this] { return place_.stillThere(); };
    // A slow player's copy grows under its name where none is in the way, so
    // the caller can follow it; an existing file stays whole until replaced.
    struct stat existing;
    if (config_.rateBytesPerSecond > 0 && ::lstat(pcPath.c_str(), &existing) != 0 && errno == ENOENT)
        return copyFileInPlace(source, pcPath, config_.delayMs, pace(), stillThere);
    return copyFileAtomically(source, pcPath, true, config_.delayMs, pace(),
                              config_.playerFolder, stillThere);
}

bool MemoryStore::remove(const std::string &shortName)
{
    const StoredFile *file = find(shortName);
    if (refusesWrites() || !file)
        return false;
    sleepMilliseconds(config_.delayMs);
    if (!place_.stillThere() || ::unlink((folder_ + "/" + file->name).c_str()) != 0)
        return false;
    usedBytes_ -= std::min(usedBytes_, file->size);
    heldFiles_ -= std::min<std::size_t>(heldFiles_, 1);
    files_.erase(files_.begin() + (file - files_.data()));
    saveIndex();
    return true;
}

bool MemoryStore::format()
{
    if (refusesWrites())
        return false;
    sleepMilliseconds(config_.delayMs);
    if (!place_.stillThere())
        return false;
    DIR *dir = ::opendir(folder_.c_str());
    if (!dir)
        return false;
    bool ok = true;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ok = ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0 && ok;
    }
    ::closedir(dir);
    files_.clear();
    usedBytes_ = 0;
    heldFiles_ = 0;
    saveIndex();
    return ok;
}

} // namespace nerolink
