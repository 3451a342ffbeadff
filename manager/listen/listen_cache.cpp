// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/listen_cache.h"

#include "device/nerolink.h"
#include "platform/paths.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// Every file of the folder, oldest first.
QFileInfoList cachedFiles(const std::string &folder)
{
    QDir dir(QString::fromLocal8Bit(folder));
    return dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Time | QDir::Reversed);
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
// name a folder cannot hold is replaced by its digest.
std::string ListenCache::pathOf(const CachedRecording &r) const
{
    const std::string memory = r.target == mtCard ? "card" : "internal";
    std::string name = memory + "-" + std::to_string(r.size) + "-" + r.name;
    if (!isSafePlainName(r.name) || name.size() > 200) {
        const QByteArray digest =
            QCryptographicHash::hash(QByteArray::fromStdString(r.name), QCryptographicHash::Sha1).toHex();
        name = memory + "-" + std::to_string(r.size) + "-" + digest.toStdString() + extractFileExt(r.name);
    }
    return joinPath(m_folder, name);
}

bool ListenCache::holds(const CachedRecording &r) const
{
    const std::string path = pathOf(r);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != r.size)
        return false;
    ::utimes(path.c_str(), nullptr);
    return true;
}

std::uint64_t ListenCache::usedBytes() const
{
    std::uint64_t used = 0;
    for (const QFileInfo &f : cachedFiles(m_folder))
        used += std::uint64_t(f.size());
    return used;
}

bool ListenCache::makeRoom(std::uint64_t bytes, const std::set<std::string> &writing) const
{
    if (m_folder.empty() || bytes > m_limit || !QDir().mkpath(QString::fromLocal8Bit(m_folder)))
        return false;
    ::chmod(m_folder.c_str(), 0700);
    std::uint64_t used = usedBytes();
    const QDateTime recent = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &f : cachedFiles(m_folder)) {
        if (used + bytes <= m_limit)
            break;
        // A copy the device may still be writing stays.
        const std::string path = joinPath(m_folder, f.fileName().toLocal8Bit().toStdString());
        if (f.fileName().endsWith(QLatin1String(".part")) && (f.lastModified() > recent || writing.count(path)))
            continue;
        if (QFile::remove(f.absoluteFilePath()))
            used -= std::min<std::uint64_t>(used, std::uint64_t(f.size()));
    }
    return used + bytes <= m_limit;
}

bool ListenCache::keep(const CachedRecording &r, bool copied) const
{
    const std::string part = partPathOf(r);
    struct stat st {};
    if (!copied || ::stat(part.c_str(), &st) != 0 || st.st_size != r.size) {
        ::unlink(part.c_str());
        return false;
    }
    return ::rename(part.c_str(), pathOf(r).c_str()) == 0;
}

void ListenCache::discardParts(const std::set<std::string> &parts) const
{
    if (parts.empty())
        return;
    const int dir = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return;
    for (const std::string &path : parts) {
        const std::string name = extractFileName(path);
        struct stat st {};
        if (joinPath(m_folder, name) == path && name.size() > 5 && name.ends_with(".part")
            && ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == ::getuid())
            ::unlinkat(dir, name.c_str(), 0);
    }
    ::close(dir);
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
