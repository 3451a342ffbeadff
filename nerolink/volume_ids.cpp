// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "volume_ids.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace nerolink {

namespace {

// The generic UUID query of Linux 6.5, for headers that predate it.
struct FileSystemUuid {
    uint8_t length;
    uint8_t uuid[16];
};
constexpr unsigned long kGetFileSystemUuid = _IOR(0x15, 0, FileSystemUuid);

constexpr std::size_t kBlocksRead = 4096;

uint32_t little32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool holds(const unsigned char *data, std::size_t size, std::size_t at, const char *text)
{
    const std::size_t length = std::strlen(text);
    return at + length <= size && std::memcmp(data + at, text, length) == 0;
}

std::string serialText(uint32_t serial)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X-%04X", serial >> 16, serial & 0xffff);
    return text;
}

std::string uuidText(const unsigned char *uuid)
{
    std::string text;
    for (int i = 0; i < 16; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", uuid[i]);
        text += pair;
        if (i == 3 || i == 5 || i == 7 || i == 9)
            text += '-';
    }
    return text;
}

bool allZero(const unsigned char *data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != 0)
            return false;
    }
    return true;
}

// A FAT boot sector: the 0x55AA mark and a sector size FAT allows.
bool isFatBootSector(const unsigned char *data, std::size_t size)
{
    if (size < 512 || data[510] != 0x55 || data[511] != 0xaa)
        return false;
    const unsigned sectorBytes = data[11] | (data[12] << 8);
    return sectorBytes == 512 || sectorBytes == 1024 || sectorBytes == 2048 || sectorBytes == 4096;
}

std::string fatSerial(const unsigned char *data, std::size_t size)
{
    if (!isFatBootSector(data, size))
        return {};
    // The extended boot record (signature 0x29) sits later in FAT32's longer header.
    if (holds(data, size, 0x52, "FAT32") && data[0x42] == 0x29)
        return serialText(little32(data + 0x43));
    if (holds(data, size, 0x36, "FAT") && data[0x26] == 0x29)
        return serialText(little32(data + 0x27));
    return {};
}

} // namespace

std::string volumeIdFromBlocks(const unsigned char *data, std::size_t size)
{
    constexpr std::size_t ext = 1024; // the ext2/3/4 superblock
    if (size >= ext + 0x78 && data[ext + 0x38] == 0x53 && data[ext + 0x39] == 0xef
        && !allZero(data + ext + 0x68, 16))
        return uuidText(data + ext + 0x68);
    if (holds(data, size, 0, "XFSB") && size >= 48 && !allZero(data + 32, 16))
        return uuidText(data + 32);
    if (holds(data, size, 3, "EXFAT   ") && size >= 0x68)
        return serialText(little32(data + 0x64));
    if (holds(data, size, 3, "NTFS    ") && size >= 0x50) {
        char text[20];
        std::snprintf(text, sizeof text, "%08X%08X", little32(data + 0x4c), little32(data + 0x48));
        return text;
    }
    return fatSerial(data, size);
}

std::string readVolumeId(const std::string &device)
{
    const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {};
    struct stat st;
    unsigned char data[kBlocksRead] = {};
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && (S_ISBLK(st.st_mode) || S_ISREG(st.st_mode)))
        got = ::pread(fd, data, sizeof data, 0);
    ::close(fd);
    return got > 0 ? volumeIdFromBlocks(data, static_cast<std::size_t>(got)) : std::string();
}

std::string mountedVolumeId(const std::string &folder, unsigned major, unsigned minor)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string id;
    struct stat st;
    uint32_t serial = 0;
    FileSystemUuid uuid{};
    if (::fstat(fd, &st) == 0 && st.st_dev == makedev(major, minor)) {
        if (::ioctl(fd, FAT_IOCTL_GET_VOLUME_ID, &serial) == 0)
            id = serialText(serial);
        else if (::ioctl(fd, kGetFileSystemUuid, &uuid) == 0 && uuid.length == 16
                 && !allZero(uuid.uuid, 16))
            id = uuidText(uuid.uuid);
    }
    ::close(fd);
    return id;
}

bool sameVolumeId(const std::string &a, const std::string &b)
{
    return !a.empty() && a.size() == b.size() && ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

} // namespace nerolink
