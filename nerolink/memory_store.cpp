// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "memory_store.h"

#include "device/records.h"
#include "file_copy.h"
#include "name_index.h"
#include "platform/pending_file.h"
#include "short_names.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace nerolink {

namespace {

struct SeenFile {
    uint64_t size = 0;
    struct timespec modified = {};
};

bool earlier(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

// Every plain file directly in the folder, the bytes all of them take, and how
// many there are, names a record cannot hold among them.
bool scanFolder(const std::string &folder, std::map<std::string, SeenFile> &seen, uint64_t &used,
                std::size_t &count)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    used = 0;
    count = 0;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A temporary file here that no one is writing is left over from an
        // interrupted download.
        if (isTemporaryName(entry->d_name)) {
            removeIfAbandoned(::dirfd(dir), entry->d_name, kTemporaryPrefix);
            continue;
        }
        used += static_cast<uint64_t>(st.st_size);
        ++count;
        if (isStorableName(entry->d_name))
            seen[entry->d_name] = {static_cast<uint64_t>(st.st_size), st.st_mtim};
    }
    ::closedir(dir);
    return true;
}

} // namespace

bool isStorableName(const std::string &name)
{
    if (name.empty() || name.size() > kMaxNameBytes || name == "." || name == ".." || isTemporaryName(name))
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f || c == '/';
    });
}

MemoryStore::MemoryStore(const AttachedPlayer &player, const MemoryConfig &memory)
    : player_(player), config_(player.config),
      place_(&memory == &player.config.card ? player.card : player.internal), memory_(memory),
      folder_(place_.path())
{
}

bool MemoryStore::refusesWrites() const
{
    return player_.writeProtected() || !place_.writable();
}

bool MemoryStore::open()
{
    files_.clear();
    if (!player_.usable(memory_))
        return false;
    std::map<std::string, SeenFile> seen;
    if (!scanFolder(folder_, seen, usedBytes_, heldFiles_))
        return false;
    if (memory_.spaceFromFileSystem) {
        struct statvfs fs;
        if (::statvfs(folder_.c_str(), &fs) != 0)
            return false;
        fileSystemTotal_ = static_cast<uint64_t>(fs.f_blocks) * fs.f_frsize;
        fileSystemFree_ = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
    }

    const NameIndex index = loadNameIndex(config_.indexPath(memory_));
    bool changed = false;
    for (const auto &[shortName, name] : index) {
        auto it = seen.find(name);
        if (it == seen.end() || !isShortName(shortName) || isTaken(shortName)) {
            changed = true;
            continue;
        }
        files_.push_back({shortName, name, it->second.size});
        seen.erase(it);
    }

    // Files that came by other ways join in the order they were last written.
    std::vector<std::pair<std::string, SeenFile>> fresh(seen.begin(), seen.end());
    std::stable_sort(fresh.begin(), fresh.end(), [](const auto &a, const auto &b) {
        return earlier(a.second.modified, b.second.modified);
    });
    for (const auto &[name, file] : fresh) {
        files_.push_back({makeShortName(name, [this](const std::string &s) { return isTaken(s); }),
                          name, file.size});
        changed = true;
    }
    if (changed)
        saveIndex();
    return true;
}

const StoredFile *MemoryStore::find(const std::string &shortName) const
{
    for (const auto &file : files_) {
        if (file.shortName == shortName)
            return &file;
    }
    return nullptr;
}

bool MemoryStore::isTaken(const std::string &shortName) const
{
    return find(shortName) != nullptr;
}

uint64_t MemoryStore::totalBytes() const
{
    return memory_.spaceFromFileSystem ? fileSystemTotal_ : memory_.capacityBytes;
}

uint64_t MemoryStore::freeBytes() const
{
    if (memory_.spaceFromFileSystem)
        return std::min(fileSystemFree_, fileSystemTotal_);
    return usedBytes_ >= memory_.capacityBytes ? 0 : memory_.capacityBytes - usedBytes_;
}

void MemoryStore::fill(TMemoryInfo &info) const
{
    constexpr uint64_t kMax32 = UINT32_MAX;
    std::memset(&info, 0, sizeof info);
    const std::size_t count = std::min<std::size_t>(files_.size(), kMaxPlayerFiles);
    info.FileCount = static_cast<uint32_t>(count);
    // The files past the record's last entry are still there: say how many.
    setHeldFileCount(info, std::max(heldFiles_, files_.size()));
    info.TotalBytes = static_cast<uint32_t>(std::min(totalBytes(), kMax32));
    info.FreeBytes = static_cast<uint32_t>(std::min<uint64_t>(freeBytes(), info.TotalBytes));
    for (std::size_t i = 0; i < count; ++i) {
        TFileEntry &entry = info.Files[i];
        setFieldText(entry.LongName, files_[i].name);
        setFieldText(entry.ShortName, files_[i].shortName);
        entry.Size = static_cast<uint32_t>(std::min(files_[i].size, kMax32));
        entry.HasLongName = files_[i].shortName == files_[i].name ? 0 : 1;
    }
}

void MemoryStore::saveIndex() const
{
    NameIndex index;
    for (const auto &file : files_)
        index.emplace_back(file.shortName, file.name);
    saveNameIndex(config_.indexPath(memory_), index); // a read-only player keeps names for this call only
}

} // namespace nerolink
