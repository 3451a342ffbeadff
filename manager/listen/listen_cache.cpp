// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/listen_cache.h"

#include "device/nerolink.h"
#include "fileops/held_folder.h"
#include "platform/paths.h"

#include <QCryptographicHash>
#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr std::time_t kPartQuietSeconds = 3600;

// The cache folder, held without following a link, and only while it is the
// user's own and no one else may write in it; made first when create is set.
UniqueFd holdCacheFolder(const std::string &folder, bool create)
{
    if (folder.empty())
        return UniqueFd();
    if (create) {
        QDir().mkpath(QString::fromLocal8Bit(extractFileDir(folder)));
        ::mkdir(folder.c_str(), 0700);
    }
    UniqueFd held(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!held || ::fstat(held.get(), &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)))
        return UniqueFd();
    // The copies are the user's recordings: no one else reads them.
    if ((st.st_mode & 077) != 0)
        ::fchmod(held.get(), 0700);
    return held;
}

// "internal-<size>-<name>" or "card-<size>-<name>", perhaps with ".part": a name pathOf gives.
bool isCacheName(const std::string &name)
{
    std::string_view rest(name);
    if (rest.starts_with("internal-"))
        rest.remove_prefix(9);
    else if (rest.starts_with("card-"))
        rest.remove_prefix(5);
    else
        return false;
    const std::size_t digits = rest.find_first_not_of("0123456789");
    return digits != 0 && digits != std::string_view::npos && rest[digits] == '-' && digits + 1 < rest.size();
}

// A plain file of the user's, the entry itself and not what a link names.
bool ownFileAt(int dir, const std::string &name, struct stat &st)
{
    return statAt(dir, name, st) && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

struct CachedFile {
    std::string name;
    struct stat st;
};

// The cache's own files in the held folder, oldest first.
std::vector<CachedFile> cachedFiles(int dir)
{
    std::vector<std::string> names;
    namesAt(dir, names);
    std::vector<CachedFile> files;
    for (const std::string &name : names) {
        struct stat st {};
        if (isCacheName(name) && ownFileAt(dir, name, st))
            files.push_back({name, st});
    }
    std::sort(files.begin(), files.end(), [](const CachedFile &x, const CachedFile &y) {
        return std::pair(x.st.st_mtim.tv_sec, x.st.st_mtim.tv_nsec)
               < std::pair(y.st.st_mtim.tv_sec, y.st.st_mtim.tv_nsec);
    });
    return files;
}

} // namespace

std::string listenCacheFolder()
{
    const char *xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/')
        return joinPath(xdg, "tovixman");
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return joinPath(joinPath(home, ".cache"), "tovixman");
    return {};
}

ListenCache::ListenCache(std::string folder, std::uint64_t limit)
    : m_folder(std::move(folder)), m_limit(limit)
{
}

// The name keeps the recording's extension, which says how to decode it; a
// name a folder cannot hold, or one another copy's part file could have, is
// replaced by its digest.
std::string ListenCache::pathOf(const CachedRecording &r) const
{
    const std::string memory = r.target == mtCard ? "card" : "internal";
    std::string name = memory + "-" + std::to_string(r.size) + "-" + r.name;
    if (!isSafePlainName(r.name) || name.size() > 200 || name.ends_with(".part")) {
        const QByteArray digest =
            QCryptographicHash::hash(QByteArray::fromStdString(r.name), QCryptographicHash::Sha1).toHex();
        const std::string ext = extractFileExt(r.name);
        name = memory + "-" + std::to_string(r.size) + "-" + digest.toStdString() + (ext == ".part" ? "" : ext);
    }
    return joinPath(m_folder, name);
}

bool ListenCache::holds(const CachedRecording &r) const
{
    const std::string name = extractFileName(pathOf(r));
    const UniqueFd dir = holdCacheFolder(m_folder, false);
    struct stat st {};
    if (!dir || !ownFileAt(dir.get(), name, st) || st.st_size != r.size)
        return false;
    ::utimensat(dir.get(), name.c_str(), nullptr, AT_SYMLINK_NOFOLLOW);
    return true;
}

std::uint64_t ListenCache::usedBytes() const
{
    const UniqueFd dir = holdCacheFolder(m_folder, false);
    std::uint64_t used = 0;
    for (const CachedFile &f : dir ? cachedFiles(dir.get()) : std::vector<CachedFile>())
        used += std::uint64_t(f.st.st_size);
    return used;
}

bool ListenCache::makeRoom(std::uint64_t bytes, const std::set<std::string> &writing) const
{
    if (m_folder.empty() || bytes > m_limit)
        return false;
    const UniqueFd dir = holdCacheFolder(m_folder, true);
    if (!dir)
        return false;
    const std::vector<CachedFile> files = cachedFiles(dir.get());
    std::uint64_t used = 0;
    for (const CachedFile &f : files)
        used += std::uint64_t(f.st.st_size);
    const std::time_t recent = std::time(nullptr) - kPartQuietSeconds;
    for (const CachedFile &f : files) {
        if (used + bytes <= m_limit)
            break;
        // A copy the device may still be writing stays.
        if (f.name.ends_with(".part") && (f.st.st_mtime > recent || writing.count(joinPath(m_folder, f.name))))
            continue;
        if (::unlinkat(dir.get(), f.name.c_str(), 0) == 0)
            used -= std::min<std::uint64_t>(used, std::uint64_t(f.st.st_size));
    }
    return used + bytes <= m_limit;
}

bool ListenCache::keep(const CachedRecording &r, bool copied) const
{
    const std::string part = extractFileName(partPathOf(r));
    const UniqueFd dir = holdCacheFolder(m_folder, false);
    struct stat st {};
    if (!dir || !ownFileAt(dir.get(), part, st))
        return false;
    // It replaces an older copy, never what someone else put at its name.
    const std::string name = extractFileName(pathOf(r));
    struct stat old {};
    const bool mayTake = ownFileAt(dir.get(), name, old) || (!statAt(dir.get(), name, old) && errno == ENOENT);
    if (!copied || st.st_size != r.size || !mayTake) {
        ::unlinkat(dir.get(), part.c_str(), 0);
        return false;
    }
    return ::renameat(dir.get(), part.c_str(), dir.get(), name.c_str()) == 0;
}

void ListenCache::discardParts(const std::set<std::string> &parts) const
{
    if (parts.empty())
        return;
    const UniqueFd dir = holdCacheFolder(m_folder, false);
    if (!dir)
        return;
    for (const std::string &path : parts) {
        const std::string name = extractFileName(path);
        struct stat st {};
        if (joinPath(m_folder, name) == path && name.size() > 5 && name.ends_with(".part")
            && ownFileAt(dir.get(), name, st))
            ::unlinkat(dir.get(), name.c_str(), 0);
    }
}

void CopyLedger::writing(const ListenCache &cache, const CachedRecording &r)
{
    m_writing.insert(cache.partPathOf(r));
}

void CopyLedger::written(const ListenCache &cache, const CachedRecording &r, bool kept)
{
    m_writing.erase(cache.partPathOf(r));
    const std::string path = cache.pathOf(r);
    struct stat st {};
    if (kept && ::stat(path.c_str(), &st) == 0)
        m_copies[path] = {r.target, st.st_dev, st.st_ino};
    else
        m_copies.erase(path);
}

bool CopyLedger::holds(const ListenCache &cache, const CachedRecording &r) const
{
    const std::string path = cache.pathOf(r);
    const auto copy = m_copies.find(path);
    struct stat st {};
    if (copy == m_copies.end() || copy->second.target != r.target || ::stat(path.c_str(), &st) != 0
        || st.st_dev != copy->second.device || st.st_ino != copy->second.inode)
        return false;
    return cache.holds(r);
}

void CopyLedger::forget(std::int32_t target)
{
    std::erase_if(m_copies, [target](const auto &c) { return target == 0 || c.second.target == target; });
}
