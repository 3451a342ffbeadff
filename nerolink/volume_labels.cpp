// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "volume_labels.h"

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

VolumeLabels::VolumeLabels() : udevData_(envOr("NEROLINK_UDEV_DATA", "/run/udev/data"))
{
    const std::string folder = envOr("NEROLINK_DISK_LABELS", "/dev/disk/by-label");
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        char target[4096];
        const ssize_t size = ::readlinkat(::dirfd(dir), name.c_str(), target, sizeof target - 1);
        if (size <= 0)
            continue;
        std::filesystem::path device(std::string(target, static_cast<std::size_t>(size)));
        if (device.is_relative())
            device = std::filesystem::path(folder) / device;
        LabelLink link{decodeUdevText(name), device.lexically_normal().string(), 0};
        struct stat st;
        if (::fstatat(::dirfd(dir), name.c_str(), &st, 0) == 0 && S_ISBLK(st.st_mode))
            link.number = st.st_rdev;
        links_.push_back(std::move(link));
    }
    ::closedir(dir);
}

std::string VolumeLabels::udevLabel(const MountEntry &entry) const
{
    std::ifstream in(udevData_ + "/b" + std::to_string(entry.major) + ":" + std::to_string(entry.minor));
    std::string plain;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("E:ID_FS_LABEL_ENC=", 0) == 0)
            return decodeUdevText(line.substr(18));
        if (line.rfind("E:ID_FS_LABEL=", 0) == 0)
            plain = line.substr(14);
    }
    return plain;
}

std::string VolumeLabels::linkedLabel(const MountEntry &entry) const
{
    const std::string source = std::filesystem::path(entry.source).lexically_normal().string();
    for (const LabelLink &link : links_) {
        if (link.device == source || (link.number != 0 && link.number == deviceOf(entry)))
            return link.label;
    }
    return {};
}

std::string VolumeLabels::labelOf(const MountEntry &entry) const
{
    std::string label = udevLabel(entry);
    if (label.empty())
        label = linkedLabel(entry);
    if (label.empty())
        label = fileSystemLabel(entry);
    return label;
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

} // namespace nerolink
