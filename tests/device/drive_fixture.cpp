// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "drive_fixture.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

void DriveTest::SetUp()
{
    PlayerTest::SetUp();
    mountInfo_ = root_ + "/mountinfo";
    udevData_ = root_ + "/udev";
    labelLinks_ = root_ + "/dev/disk/by-label";
    idLinks_ = root_ + "/dev/disk/by-uuid";
    fs::create_directories(udevData_);
    fs::create_directories(labelLinks_);
    fs::create_directories(idLinks_);
    setMounts({});
    ::setenv("NEROLINK_MOUNTINFO", mountInfo_.c_str(), 1);
    ::setenv("NEROLINK_UDEV_DATA", udevData_.c_str(), 1);
    ::setenv("NEROLINK_DISK_LABELS", labelLinks_.c_str(), 1);
    ::setenv("NEROLINK_DISK_UUIDS", idLinks_.c_str(), 1);
}

void DriveTest::TearDown()
{
    for (const char *name : {"NEROLINK_MOUNTINFO", "NEROLINK_UDEV_DATA", "NEROLINK_DISK_LABELS",
                             "NEROLINK_DISK_UUIDS"})
        ::unsetenv(name);
    PlayerTest::TearDown();
}

std::string DriveTest::folder(const std::string &name)
{
    const std::string path = root_ + "/" + name;
    fs::create_directories(path);
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? resolved : path;
}

std::string DriveTest::mountLine(const std::string &point, const std::string &device,
                                 const std::string &options, const std::string &source)
{
    return "90 27 " + device + " / " + point + " " + options + ",relatime shared:9 - vfat " + source
        + " rw,fmask=0022";
}

void DriveTest::setMounts(const std::vector<std::string> &lines)
{
    // The root file system comes first, as in the kernel's own table.
    std::string text = "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n";
    for (const std::string &line : lines)
        text += line + "\n";
    const std::string temporary = mountInfo_ + ".new";
    std::ofstream(temporary) << text;
    fs::rename(temporary, mountInfo_);
}

void DriveTest::setUdevLabel(const std::string &device, const std::string &encodedLabel,
                             const std::string &id)
{
    std::ofstream(udevData_ + "/b" + device)
        << "S:disk/by-uuid/1234-ABCD\nE:ID_FS_TYPE=vfat\n"
        << "E:ID_FS_LABEL=ignored\nE:ID_FS_LABEL_ENC=" << encodedLabel << "\n"
        << (id.empty() ? "" : "E:ID_FS_UUID=" + id + "\nE:ID_FS_UUID_ENC=" + id + "\n");
}

void DriveTest::setLabelLink(const std::string &encodedLabel, const std::string &target)
{
    fs::create_symlink(target, labelLinks_ + "/" + encodedLabel);
}
