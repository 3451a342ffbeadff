// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/work_folder.h"

#include "fileops/held_folder.h"
#include "fileops/tree_copy.h"
#include "fileops/work_folder_format.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace workfolder {

namespace {

constexpr size_t kTagLength = 16;

bool isTag(const std::string &tag)
{
    if (tag.size() != kTagLength)
        return false;
    for (const char c : tag)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

std::optional<std::string> tagOf(const std::string &name)
{
    const size_t prefix = std::strlen(kWorkFolderPrefix);
    if (name.compare(0, prefix, kWorkFolderPrefix) != 0 || !isTag(name.substr(prefix)))
        return std::nullopt;
    return name.substr(prefix);
}

std::string markerText(const std::string &tag, const struct stat &folder)
{
    return std::string("TovixMan copy work folder ") + tag + ' ' + std::to_string(uintmax_t(folder.st_dev))
           + ' ' + std::to_string(uintmax_t(folder.st_ino)) + '\n';
}

std::optional<int> itemOf(const std::string &name, const char *prefix)
{
    const size_t length = std::strlen(prefix);
    if (name.compare(0, length, prefix) != 0 || name.size() == length || name.size() > length + 9)
        return std::nullopt;
    int item = 0;
    for (size_t i = length; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        item = item * 10 + (name[i] - '0');
    }
    return item;
}

PlacedEntry PlacedEntry::of(const struct stat &st)
{
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

bool PlacedEntry::holds(const struct stat &st) const
{
    return st.st_dev == device && st.st_ino == inode && st.st_size == size
           && st.st_mtim.tv_sec == modified.tv_sec && st.st_mtim.tv_nsec == modified.tv_nsec;
}

std::string PlacedEntry::text() const
{
    char line[128];
    std::snprintf(line, sizeof line, "%" PRIuMAX " %" PRIuMAX " %" PRIdMAX " %" PRIdMAX " %ld\n",
                  uintmax_t(device), uintmax_t(inode), intmax_t(size), intmax_t(modified.tv_sec),
                  long(modified.tv_nsec));
    return line;
}

std::optional<PlacedEntry> PlacedEntry::parse(const std::string &text)
{
    uintmax_t device = 0, inode = 0;
    intmax_t size = 0, seconds = 0;
    long nanoseconds = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%" SCNuMAX " %" SCNuMAX " %" SCNdMAX " %" SCNdMAX " %ld%c", &device,
                    &inode, &size, &seconds, &nanoseconds, &end)
            != 6
        || end != '\n')
        return std::nullopt;
    PlacedEntry entry;
    entry.device = dev_t(device);
    entry.inode = ino_t(inode);
    entry.size = off_t(size);
    entry.modified.tv_sec = time_t(seconds);
    entry.modified.tv_nsec = nanoseconds;
    return entry;
}

std::optional<PlacedEntry> readPlaced(int workFd, int item)
{
    std::string text;
    if (!readOwnFileAt(workFd, kPlaced + std::to_string(item), 128, text))
        return std::nullopt;
    return PlacedEntry::parse(text);
}

} // namespace workfolder

using namespace workfolder;

namespace {

constexpr int kAttempts = 8;

} // namespace

bool WorkFolder::make()
{
    if (m_fd)
        return true;
    m_parent.reset(::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat parent {};
    if (!m_parent || ::fstat(m_parent.get(), &parent) != 0)
        return false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string tag = randomTag();
        const std::string name = kWorkFolderPrefix + tag;
        if (::mkdirat(m_parent.get(), name.c_str(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        UniqueFd fd = openFolderAt(m_parent.get(), name);
        struct stat made {};
        // Whatever the umask. A file system that keeps no modes (FAT) refuses:
        // the copy still runs, but no sweep will take the folder for ours.
        if (fd)
            ::fchmod(fd.get(), 0700);
        // Locked before it is marked, so no sweep ever takes it for a leftover.
        if (!fd || !lockExclusive(fd.get()) || ::fstat(fd.get(), &made) != 0 || made.st_dev != parent.st_dev
            || !writeFileAt(fd.get(), kMarker, markerText(tag, made))) {
            const int error = errno;
            if (fd)
                ::unlinkat(fd.get(), kMarker, 0);
            ::unlinkat(m_parent.get(), name.c_str(), AT_REMOVEDIR);
            errno = error ? error : EIO;
            return false;
        }
        m_name = name;
        m_fd = std::move(fd);
        // Reached through the folder held open, so a name swapped for a link
        // meanwhile never takes what the copy builds or keeps aside elsewhere.
        const std::string held = "/proc/self/fd/" + std::to_string(m_fd.get());
        struct stat through {};
        m_path = ::stat(held.c_str(), &through) == 0 && sameEntry(through, made) ? held
                                                                                : childPath(m_folder, name);
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
    const std::string park = kParked + std::to_string(item);
    if (::mkdirat(m_fd.get(), park.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    path = childPath(childPath(m_path, park), name);
    return true;
}

bool WorkFolder::notePlaced(int item, const struct stat &st)
{
    return m_fd && writeFileAt(m_fd.get(), kPlaced + std::to_string(item), PlacedEntry::of(st).text());
}

bool WorkFolder::restore(int item, RestoreReport &report)
{
    return !m_fd || putBackParked(m_parent.get(), m_fd.get(), kParked + std::to_string(item), report);
}

// What was kept aside is first set apart from what a sweep puts back, so a
// removal cut short never brings half of it back. The marker goes last: a
// folder that could not be emptied stays recognisable.
void WorkFolder::remove()
{
    if (m_fd) {
        std::vector<std::string> names;
        namesAt(m_fd.get(), names);
        for (const std::string &name : names)
            if (const std::optional<int> item = itemOf(name, kParked))
                ::renameat(m_fd.get(), name.c_str(), m_fd.get(), (kDone + std::to_string(*item)).c_str());
        bool empty = true;
        names.clear();
        namesAt(m_fd.get(), names);
        for (const std::string &name : names)
            if (name != kMarker)
                empty = removeTreeAt(m_fd.get(), name) && empty;
        struct stat held {}, named {};
        if (empty && ::fstat(m_fd.get(), &held) == 0 && statAt(m_parent.get(), m_name, named)
            && sameEntry(held, named) && ::unlinkat(m_fd.get(), kMarker, 0) == 0)
            ::unlinkat(m_parent.get(), m_name.c_str(), AT_REMOVEDIR);
    }
    abandon();
}

void WorkFolder::abandon()
{
    m_fd.reset();
    m_parent.reset();
    m_path.clear();
    m_name.clear();
}

std::string WorkFolder::shown(const std::string &path) const
{
    const std::string prefix = m_path + '/';
    return m_path.empty() || path.compare(0, prefix.size(), prefix) != 0
               ? path
               : childPath(childPath(m_folder, m_name), path.substr(prefix.size()));
}
