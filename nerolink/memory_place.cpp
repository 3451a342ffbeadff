// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "memory_place.h"

#include "volume_ids.h"
#include "volume_labels.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace nerolink {

namespace {

std::string canonicalPath(const std::string &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The folder to open: the drive's mount point for a label, else the folder.
bool chooseFolder(const PlayerConfig &config, const MemoryConfig &memory, const MountTable &table,
                  std::string &folder, MountEntry &drive, std::string &id, std::string &absence)
{
    if (memory.label.empty()) {
        folder = config.memoryFolder(memory);
        if (memory.folder.empty())
            ::mkdir(folder.c_str(), 0777); // the player's own folders come back when missing
        return true;
    }
    const std::vector<LabelledDrive> drives = drivesLabelled(table, memory.label);
    const DriveChoice choice = chooseLabelledDrive(drives, memory.label, memory.volumeId);
    if (!choice.drive) {
        absence = choice.absence;
        return false;
    }
    drive = choice.drive->mount;
    id = choice.drive->id;
    folder = drive.mountPoint;
    return true;
}

// A folder chosen where a drive was mounted is that drive only: another one
// mounted there in its place (the desktop mounts by label) is not the memory.
bool isChosenDrive(const MemoryConfig &memory, const MountEntry &mount, std::string &id,
                   std::string &absence)
{
    if (!memory.mountPoint || !memory.label.empty() || mount.mountPoint.empty())
        return true;
    id = VolumeLabels().idOf(mount);
    if (memory.volumeId.empty() || sameVolumeId(id, memory.volumeId))
        return true;
    absence = "a drive is mounted on " + mount.mountPoint
        + ", but it is not the one chosen; run use again to choose it";
    return false;
}

} // namespace

MemoryPlace::~MemoryPlace()
{
    release();
}

MemoryPlace::MemoryPlace(MemoryPlace &&other) noexcept
{
    *this = std::move(other);
}

MemoryPlace &MemoryPlace::operator=(MemoryPlace &&other) noexcept
{
    if (this != &other) {
        release();
        config_ = other.config_;
        memory_ = other.memory_;
        folder_ = std::move(other.folder_);
        absence_ = std::move(other.absence_);
        volumeId_ = std::move(other.volumeId_);
        mount_ = std::move(other.mount_);
        mountPoint_ = other.mountPoint_;
        readOnly_ = other.readOnly_;
        denied_ = other.denied_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void MemoryPlace::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::string MemoryPlace::path() const
{
    if (fd_ < 0)
        return folder_;
    const std::string held = "/proc/self/fd/" + std::to_string(fd_);
    return ::access(held.c_str(), F_OK) == 0 ? held : folder_;
}

std::string MemoryPlace::writeProblem() const
{
    if (readOnly_)
        return "read-only file system";
    return denied_ ? "no permission to write" : "";
}

bool MemoryPlace::stillThere() const
{
    if (fd_ < 0 || !config_ || !memory_)
        return false;
    const MemoryPlace again = locateMemory(*config_, *memory_, readMountTable());
    struct stat held, found;
    return again.present() && ::fstat(fd_, &held) == 0 && ::fstat(again.fd_, &found) == 0
        && held.st_dev == found.st_dev && held.st_ino == found.st_ino;
}

MemoryPlace locateMemory(const PlayerConfig &config, const MemoryConfig &memory,
                         const MountTable &table)
{
    MemoryPlace place;
    place.config_ = &config;
    place.memory_ = &memory;
    MountEntry drive;
    if (!chooseFolder(config, memory, table, place.folder_, drive, place.volumeId_, place.absence_))
        return place;
    const int fd = ::open(place.folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        place.absence_ = "cannot open " + place.folder_ + ": " + std::strerror(errno);
        return place;
    }
    const std::string canonical = canonicalPath(place.folder_);
    place.mountPoint_ = !memory.label.empty() || isMountPoint(table, canonical);
    if (memory.label.empty() && memory.mountPoint && !place.mountPoint_) {
        ::close(fd);
        place.absence_ = "nothing is mounted on " + place.folder_;
        return place;
    }
    if (!memory.label.empty())
        place.mount_ = drive;
    else if (const MountEntry *holding = mountHolding(table, canonical))
        place.mount_ = *holding;
    if (!isChosenDrive(memory, place.mount_, place.volumeId_, place.absence_)) {
        ::close(fd);
        return place;
    }
    struct statvfs fs;
    place.readOnly_ = (::fstatvfs(fd, &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0)
        || (!place.mount_.mountPoint.empty() && place.mount_.readOnly());
    place.denied_ = ::faccessat(AT_FDCWD, canonical.c_str(), W_OK, AT_EACCESS) != 0;
    place.fd_ = fd;
    return place;
}

} // namespace nerolink
