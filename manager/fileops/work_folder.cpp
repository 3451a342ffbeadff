// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/work_folder.h"

#include "fileops/tree_copy.h"
#include "fileops/unique_name.h"
#include "platform/pending_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kAttempts = 8;
const char kStaged[] = "new-";
const char kParked[] = "old-";

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent *d = ::readdir(dir)) {
        const char *raw = d->d_name;
        if (!(raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0))))
            names.emplace_back(raw);
    }
    ::closedir(dir);
    return names;
}

// The entry kept aside at parked goes back to name in folder.
bool putBack(const std::string &folder, const std::string &parked, const std::string &name)
{
    const std::string home = childPath(folder, name);
    struct stat kept {}, there {};
    if (::lstat(parked.c_str(), &kept) != 0)
        return errno == ENOENT;
    if (::lstat(home.c_str(), &there) == 0) {
        if (sameInode(kept, there)) // kept aside as a second link: it never left
            return ::unlink(parked.c_str()) == 0;
        const QString qFolder = QFile::decodeName(folder.c_str());
        const std::string other =
            QFile::encodeName(freeName(qFolder, QFile::decodeName(name.c_str()), !S_ISDIR(there.st_mode)))
                .toStdString();
        if (!renameNoReplace(home, childPath(folder, other)))
            return false;
    }
    return renameNoReplace(parked, home);
}

// One work folder whose copy has gone: everything kept aside goes back, then
// the folder goes. Anything that cannot go back keeps the folder.
void sweepOne(const std::string &folder, const std::string &work)
{
    UniqueFd lock(::open(work.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {}, named {};
    if (!lock || !lockExclusive(lock.get()) || ::fstat(lock.get(), &opened) != 0
        || ::lstat(work.c_str(), &named) != 0 || !sameInode(opened, named))
        return;
    bool allBack = true;
    for (const std::string &entry : namesIn(work)) {
        if (entry.compare(0, std::strlen(kParked), kParked) != 0)
            continue;
        const std::string park = childPath(work, entry);
        for (const std::string &name : namesIn(park))
            allBack = putBack(folder, childPath(park, name), name) && allBack;
    }
    if (allBack)
        removeTree(work, true);
}

} // namespace

bool WorkFolder::make()
{
    if (!m_path.empty())
        return true;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string path = childPath(m_folder, kWorkFolderPrefix + randomTag());
        if (::mkdir(path.c_str(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        UniqueFd lock(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        // A sweep may have taken it between the mkdir and the lock.
        struct stat opened {}, named {};
        if (!lock || (!lockExclusive(lock.get()) && errno == EWOULDBLOCK)
            || ::fstat(lock.get(), &opened) != 0 || ::lstat(path.c_str(), &named) != 0
            || !sameInode(opened, named))
            continue;
        m_path = path;
        m_lock = std::move(lock);
        return true;
    }
    errno = EEXIST;
    return false;
}

std::string WorkFolder::stageName(int item)
{
    return kStaged + std::to_string(item);
}

bool WorkFolder::makeParkPath(int item, const std::string &name, std::string &path)
{
    if (!make())
        return false;
    const std::string park = childPath(m_path, kParked + std::to_string(item));
    if (::mkdir(park.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    path = childPath(park, name);
    return true;
}

void WorkFolder::remove()
{
    if (!m_path.empty())
        removeTree(m_path, true);
    m_path.clear();
    m_lock.reset();
}

void sweepAbandonedCopies(const std::string &folder)
{
    for (const std::string &name : namesIn(folder))
        if (name.compare(0, std::strlen(kWorkFolderPrefix), kWorkFolderPrefix) == 0)
            sweepOne(folder, childPath(folder, name));
}
