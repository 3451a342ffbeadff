// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Putting back what a copy cut short kept aside. Everything goes through the
// held folders: the copy's folder, the work folder, its park folders.
#include "fileops/work_folder.h"

#include "fileops/held_folder.h"
#include "fileops/tree_copy.h"
#include "fileops/unique_name.h"
#include "fileops/work_folder_format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace workfolder;

namespace {

constexpr int kAttempts = 8;
constexpr size_t kMarkerLimit = 256;

// kept goes to a free name beside what holds its own name now.
bool recoverBeside(int folderFd, int parkFd, const std::string &name, const struct stat &kept,
                   RestoreReport &report)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string other = freeNameAt(folderFd, name, !S_ISDIR(kept.st_mode), "recovered");
        if (renameNoReplaceAt(parkFd, name, folderFd, other)) {
            report.recovered.push_back(other);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The newcomer the copy put under name steps aside under a free name, and what
// it replaced takes the name back.
bool swapBack(int folderFd, int parkFd, const std::string &name, const struct stat &there,
              RestoreReport &report)
{
    std::string other;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        other = freeNameAt(folderFd, name, !S_ISDIR(there.st_mode));
        if (renameNoReplaceAt(folderFd, name, folderFd, other))
            break;
        if (errno != EEXIST || attempt + 1 == kAttempts)
            return false;
    }
    if (!renameNoReplaceAt(parkFd, name, folderFd, name)) {
        const int error = errno;
        renameNoReplaceAt(folderFd, other, folderFd, name);
        errno = error;
        return false;
    }
    report.putBack.push_back(name);
    return true;
}

// One entry kept aside under name in parkFd goes back into folderFd.
bool putBackEntry(int folderFd, int parkFd, const std::string &name,
                  const std::optional<PlacedEntry> &placed, RestoreReport &report)
{
    struct stat kept {}, there {};
    if (!statAt(parkFd, name, kept))
        return errno == ENOENT;
    if (!statAt(folderFd, name, there)) {
        if (errno != ENOENT)
            return false;
        if (renameNoReplaceAt(parkFd, name, folderFd, name)) {
            report.putBack.push_back(name);
            return true;
        }
        if (errno != EEXIST)
            return false;
    } else if (sameEntry(kept, there)) { // kept aside as a second link: it never left
        return ::unlinkat(parkFd, name.c_str(), 0) == 0;
    } else if (placed && placed->holds(there)) {
        return swapBack(folderFd, parkFd, name, there, report);
    }
    return recoverBeside(folderFd, parkFd, name, kept, report);
}

// The marker is read before the lock is taken: a copy locks its folder
// before it marks it, so a sweep never holds one being made.
bool provenOurs(int workFd, const std::string &tag, const struct stat &folder)
{
    struct stat st {};
    std::string marker;
    return ::fstat(workFd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
           && (st.st_mode & 07777) == 0700 && st.st_dev == folder.st_dev
           && readOwnFileAt(workFd, kMarker, kMarkerLimit, marker) && marker == markerText(tag, st);
}

// A note, or one a copy cut short was still writing.
bool isNote(const std::string &name)
{
    const std::string unfinished = ".new";
    const bool cut = name.size() > unfinished.size()
                     && name.compare(name.size() - unfinished.size(), unfinished.size(), unfinished) == 0;
    return itemOf(cut ? name.substr(0, name.size() - unfinished.size()) : name, kPlaced).has_value();
}

// With nothing left kept aside: what the copy built or was done with goes,
// then the marker and the folder. Anything of another form keeps it.
void clearOut(int folderFd, int workFd, const std::string &name)
{
    std::vector<std::string> names;
    if (!namesAt(workFd, names))
        return;
    bool empty = true;
    for (const std::string &entry : names) {
        if (entry == kMarker)
            continue;
        const bool ours = itemOf(entry, kStaged) || itemOf(entry, kDone) || isNote(entry)
                          || entry.compare(0, std::strlen(kPartialPrefix), kPartialPrefix) == 0;
        empty = ours && removeTreeAt(workFd, entry) && empty;
    }
    struct stat held {}, named {};
    if (empty && ::fstat(workFd, &held) == 0 && statAt(folderFd, name, named) && sameEntry(held, named)
        && ::unlinkat(workFd, kMarker, 0) == 0)
        ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR);
}

void sweepOne(int folderFd, const struct stat &folder, const std::string &name, RestoreReport &report)
{
    const std::optional<std::string> tag = tagOf(name);
    if (!tag)
        return;
    const UniqueFd work = openFolderAt(folderFd, name);
    if (!work || !provenOurs(work.get(), *tag, folder) || !lockExclusive(work.get()))
        return;
    std::vector<std::string> names;
    if (!namesAt(work.get(), names))
        return;
    // Latest first: an item may have replaced what an earlier one put in.
    std::vector<std::pair<int, std::string>> parks;
    for (const std::string &entry : names)
        if (const std::optional<int> item = itemOf(entry, kParked))
            parks.emplace_back(*item, entry);
    std::sort(parks.rbegin(), parks.rend());
    bool allBack = true;
    for (const auto &park : parks)
        allBack = putBackParked(folderFd, work.get(), park.second, report) && allBack;
    if (allBack)
        clearOut(folderFd, work.get(), name);
}

} // namespace

bool putBackParked(int folderFd, int workFd, const std::string &parkName, RestoreReport &report)
{
    const std::optional<int> item = itemOf(parkName, kParked);
    struct stat st {};
    if (!item || !statAt(workFd, parkName, st))
        return item && errno == ENOENT;
    // Never through a link, and only a folder this user made.
    const UniqueFd park = openFolderAt(workFd, parkName);
    if (!park || ::fstat(park.get(), &st) != 0 || st.st_uid != ::geteuid())
        return false;
    const std::optional<PlacedEntry> placed = readPlaced(workFd, *item);
    std::vector<std::string> names;
    if (!namesAt(park.get(), names))
        return false;
    bool allBack = true;
    for (const std::string &name : names) {
        if (!putBackEntry(folderFd, park.get(), name, placed, report)) {
            report.stuck.push_back(name);
            allBack = false;
        }
    }
    if (allBack) {
        ::unlinkat(workFd, parkName.c_str(), AT_REMOVEDIR);
        ::unlinkat(workFd, (kPlaced + std::to_string(*item)).c_str(), 0);
    }
    return allBack;
}

RestoreReport sweepAbandonedCopies(const std::string &folder)
{
    RestoreReport report;
    const UniqueFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    std::vector<std::string> names;
    if (!folderFd || ::fstat(folderFd.get(), &st) != 0 || !namesAt(folderFd.get(), names))
        return report;
    for (const std::string &name : names)
        sweepOne(folderFd.get(), st, name, report);
    return report;
}
