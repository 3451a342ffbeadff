// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "volume_labels.h"

#include "volume_ids.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace nerolink {

namespace {

std::string envOr(const char *name, const char *fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? value : fallback;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

dev_t deviceOf(const MountEntry &entry)
{
    return makedev(entry.major, entry.minor);
}

// What the file system itself calls its volume, for block devices only (a
// network mount could hang); the folder must really be that file system.
std::string fileSystemLabel(const MountEntry &entry)
{
    if (entry.source.rfind("/dev/", 0) != 0)
        return {};
    const int fd = ::open(entry.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    char label[FSLABEL_MAX] = {};
    struct stat st;
    const bool ok = ::fstat(fd, &st) == 0 && st.st_dev == deviceOf(entry)
        && ::ioctl(fd, FS_IOC_GETFSLABEL, label) == 0;
    ::close(fd);
    return ok ? std::string(label, ::strnlen(label, sizeof label)) : std::string();
}

std::vector<VolumeLabels::Link> readLinks(const std::string &folder)
{
    std::vector<VolumeLabels::Link> links;
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return links;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        char target[4096];
        const ssize_t size = ::readlinkat(::dirfd(dir), name.c_str(), target, sizeof target - 1);
        if (size <= 0)
            continue;
        std::filesystem::path device(std::string(target, static_cast<std::size_t>(size)));
        if (device.is_relative())
            device = std::filesystem::path(folder) / device;
        VolumeLabels::Link link{decodeUdevText(name), device.lexically_normal().string(), 0};
        struct stat st;
        if (::fstatat(::dirfd(dir), name.c_str(), &st, 0) == 0 && S_ISBLK(st.st_mode))
            link.number = st.st_rdev;
        links.push_back(std::move(link));
    }
    ::closedir(dir);
    return links;
}

std::string linkedName(const std::vector<VolumeLabels::Link> &links, const MountEntry &entry)
{
    const std::string source = std::filesystem::path(entry.source).lexically_normal().string();
    for (const VolumeLabels::Link &link : links) {
        if (link.device == source || (link.number != 0 && link.number == deviceOf(entry)))
            return link.name;
    }
    return {};
}

} // namespace

std::string decodeUdevText(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            const int high = hexDigit(text[i + 2]), low = hexDigit(text[i + 3]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

VolumeLabels::VolumeLabels()
    : udevData_(envOr("NEROLINK_UDEV_DATA", "/run/udev/data")),
      labelLinks_(readLinks(envOr("NEROLINK_DISK_LABELS", "/dev/disk/by-label"))),
      idLinks_(readLinks(envOr("NEROLINK_DISK_UUIDS", "/dev/disk/by-uuid")))
{
}

// What udev recorded for the device under key, the _ENC form first.
std::string VolumeLabels::udevValue(const MountEntry &entry, const char *key) const
{
    std::ifstream in(udevData_ + "/b" + std::to_string(entry.major) + ":" + std::to_string(entry.minor));
    const std::string encoded = std::string("E:") + key + "_ENC=", plainKey = std::string("E:") + key + "=";
    std::string plain;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(encoded, 0) == 0)
            return decodeUdevText(line.substr(encoded.size()));
        if (line.rfind(plainKey, 0) == 0)
            plain = line.substr(plainKey.size());
    }
    return plain;
}

std::string VolumeLabels::labelOf(const MountEntry &entry) const
{
    std::string label = udevValue(entry, "ID_FS_LABEL");
    if (label.empty())
        label = linkedName(labelLinks_, entry);
    if (label.empty())
        label = fileSystemLabel(entry);
    return label;
}

std::string VolumeLabels::idOf(const MountEntry &entry) const
{
    std::string id = udevValue(entry, "ID_FS_UUID");
    if (id.empty())
        id = linkedName(idLinks_, entry);
    if (id.empty() && entry.source.rfind("/dev/", 0) == 0)
        id = mountedVolumeId(entry.mountPoint, entry.major, entry.minor);
    // Last, the device itself, where this user may read it; only the device
    // the mount table names, never another one at that path.
    struct stat st;
    if (id.empty() && entry.source.rfind("/dev/", 0) == 0 && ::stat(entry.source.c_str(), &st) == 0
        && S_ISBLK(st.st_mode) && st.st_rdev == deviceOf(entry))
        id = readVolumeId(entry.source);
    return id;
}

std::vector<MountEntry> mountsLabelled(const MountTable &table, const std::string &label)
{
    std::vector<MountEntry> found;
    if (label.empty())
        return found;
    const VolumeLabels labels;
    for (const MountEntry &entry : table) {
        if (entry.root != "/")
            continue;
        bool seen = false;
        for (const MountEntry &earlier : found)
            seen = seen || (earlier.major == entry.major && earlier.minor == entry.minor);
        if (!seen && labels.labelOf(entry) == label)
            found.push_back(entry);
    }
    return found;
}

std::vector<LabelledDrive> drivesLabelled(const MountTable &table, const std::string &label)
{
    std::vector<LabelledDrive> drives;
    const VolumeLabels volumes;
    for (MountEntry &mount : mountsLabelled(table, label)) {
        std::string id = volumes.idOf(mount);
        drives.push_back({std::move(mount), std::move(id)});
    }
    return drives;
}

DriveChoice chooseLabelledDrive(const std::vector<LabelledDrive> &drives, const std::string &label,
                                const std::string &chosenId)
{
    DriveChoice choice;
    const std::string quoted = "\"" + label + "\"";
    if (drives.empty()) {
        choice.absence = "no drive labelled " + quoted + " is mounted";
        return choice;
    }
    std::vector<const LabelledDrive *> matching;
    for (const LabelledDrive &drive : drives) {
        if (chosenId.empty() || sameVolumeId(drive.id, chosenId))
            matching.push_back(&drive);
    }
    if (matching.size() == 1)
        choice.drive = matching.front();
    else if (matching.empty())
        choice.absence = (drives.size() == 1 ? "a drive labelled " + label + " is mounted, but it is not"
                                             : std::to_string(drives.size()) + " drives labelled "
                                                   + label + " are mounted, but none is")
            + " the one chosen; run use again to choose it";
    else
        choice.absence = std::to_string(matching.size()) + " drives labelled " + quoted + " are mounted";
    return choice;
}

} // namespace nerolink
