// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Memories that are folders and drives of their own: present while their
// folder or drive is, the card missing with its drive, write protection from
// the file system, and a drive that goes away during a call.
#include "drive_fixture.h"

#include "device/records.h"
#include "mount_table.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool attached()
{
    TPlayerVersion version;
    return dll_fn_get_player_version(&version) != 0;
}

int32_t status()
{
    return dll_fn_get_player_status();
}

} // namespace

TEST_F(DriveTest, FolderMemoriesAreThereWhileTheirFoldersAre)
{
    makePlayer();
    const std::string drive = folder("drive"), card = folder("sd");
    setValue("Internal", "Folder", drive);
    setValue("Card", "Folder", card);
    ASSERT_EQ(dll_fn_download_file(pcFile("Meeting notes.txt", "m").c_str(), mtInternal), 1);
    EXPECT_TRUE(fileExists(drive + "/Meeting notes.txt"));
    const std::string shortName = shortNameOf(mtInternal, "Meeting notes.txt");

    fs::rename(card, card + ".out");
    EXPECT_EQ(status(), static_cast<int32_t>(psNoCard));
    TMemoryInfo info;
    EXPECT_EQ(dll_fn_refresh_device(&info, mtCard), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("c.txt", "c").c_str(), mtCard), 0);
    fs::rename(card + ".out", card);
    EXPECT_EQ(status(), 0);

    // Unplugged: no player at all; plugged back: the same file, the same short name.
    fs::rename(drive, drive + ".out");
    EXPECT_FALSE(attached());
    EXPECT_EQ(status(), 0);
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("x.txt", "x").c_str(), mtInternal), 0);
    fs::rename(drive + ".out", drive);
    EXPECT_TRUE(attached());
    EXPECT_EQ(shortNameOf(mtInternal, "Meeting notes.txt"), shortName);
}

TEST_F(DriveTest, AMountPointIsThereOnlyWhileAFileSystemIsMountedOnIt)
{
    makePlayer();
    const std::string drive = folder("media/TOVIX"), card = folder("media/CARD");
    setValue("Internal", "Folder", drive);
    setValue("Internal", "MountPoint", "yes");
    setValue("Card", "Folder", card);
    setValue("Card", "MountPoint", "yes");
    // The empty folder left behind by an unmount is not the drive.
    EXPECT_FALSE(attached());
    setMounts({mountLine(drive)});
    EXPECT_TRUE(attached());
    EXPECT_EQ(status(), static_cast<int32_t>(psNoCard));
    setMounts({mountLine(drive), mountLine(card, "8:33")});
    EXPECT_EQ(status(), 0);
    // A mount on a folder below it does not make it mounted.
    setMounts({mountLine(drive + "/sub")});
    EXPECT_FALSE(attached());
}

TEST_F(DriveTest, ReadOnlyInternalMemoryIsWriteProtectionAndAReadOnlyCardRefusesChanges)
{
    makePlayer();
    const std::string drive = folder("TOVIX"), card = folder("CARD");
    setValue("Internal", "Folder", drive);
    setValue("Internal", "MountPoint", "yes");
    setValue("Card", "Folder", card);
    setValue("Card", "MountPoint", "yes");
    setMounts({mountLine(drive), mountLine(card, "8:33")});
    ASSERT_EQ(dll_fn_download_file(pcFile("in.txt", "in").c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("sd.txt", "sd").c_str(), mtCard), 1);
    const std::string inName = shortNameOf(mtInternal, "in.txt");
    const std::string sdName = shortNameOf(mtCard, "sd.txt");

    setMounts({mountLine(drive), mountLine(card, "8:33", "ro")});
    EXPECT_EQ(status(), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("more.txt", "m").c_str(), mtCard), 0);
    EXPECT_EQ(dll_fn_delete_file(sdName.c_str(), mtCard), 0);
    EXPECT_EQ(dll_fn_format_device(mtCard), 0);
    EXPECT_EQ(dll_fn_upload_file(sdName.c_str(), pcPath("sd-up.txt").c_str(), mtCard), 1);
    EXPECT_EQ(dll_fn_download_file(pcPath("more.txt").c_str(), mtInternal), 1);

    setMounts({mountLine(drive, "8:17", "ro"), mountLine(card, "8:33")});
    EXPECT_EQ(status(), static_cast<int32_t>(psWriteProtected));
    EXPECT_EQ(dll_fn_delete_file(inName.c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_upload_file(inName.c_str(), pcPath("in-up.txt").c_str(), mtInternal), 1);
    EXPECT_EQ(readFile(pcPath("in-up.txt")), "in");
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"sd.txt"});
    EXPECT_EQ(names(mtInternal), (std::vector<std::string>{"in.txt", "more.txt"}));
}

// Root may write anywhere, so the rule is checked as an ordinary user there.
TEST_F(DriveTest, AFolderTheUserCannotWriteIsWriteProtection)
{
    makePlayer();
    const std::string drive = folder("drive");
    setValue("Internal", "Folder", drive);
    ASSERT_EQ(::chmod(drive.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(status(), static_cast<int32_t>(psWriteProtected));
        return;
    }
    EXPECT_EQ(status(), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped ? status() : 99);
    }
    int result = 0;
    ASSERT_EQ(::waitpid(child, &result, 0), child);
    ASSERT_TRUE(WIFEXITED(result));
    EXPECT_EQ(WEXITSTATUS(result), static_cast<int>(psWriteProtected));
}

TEST_F(DriveTest, ALabelledDriveIsFoundWhereverItIsMounted)
{
    makePlayer();
    const std::string first = folder("media/one"), second = folder("media/two");
    std::ofstream(second + "/REC00001.VOC") << "voice";
    setValue("Internal", "Label", "MY REC");
    setUdevLabel("8:17", "MY\\x20REC");
    EXPECT_FALSE(attached());
    setMounts({mountLine(first)});
    ASSERT_TRUE(attached());
    ASSERT_EQ(dll_fn_download_file(pcFile("a.txt", "a").c_str(), mtInternal), 1);
    EXPECT_TRUE(fileExists(first + "/a.txt"));

    setMounts({mountLine(second)});
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"REC00001.VOC"});
    // Bind mounts of a folder inside another drive do not count.
    setMounts({"91 27 8:49 /sub " + first + " rw - vfat /dev/sdz3 rw"});
    setUdevLabel("8:49", "MY\\x20REC");
    EXPECT_FALSE(attached());

    // Two drives of that label: neither is taken.
    setMounts({mountLine(first), mountLine(second, "8:49", "rw", "/dev/sdz3")});
    EXPECT_FALSE(attached());
    // One file system mounted twice is still one drive.
    setMounts({mountLine(first), mountLine(second)});
    EXPECT_TRUE(attached());
}

TEST_F(DriveTest, ACardLabelIsReadFromTheLabelLinksWhenUdevHasNoRecord)
{
    makePlayer();
    const std::string card = folder("media/sd");
    setValue("Card", "Label", "SD CARD");
    setLabelLink("SD\\x20CARD", "../../sdz2");
    EXPECT_EQ(status(), static_cast<int32_t>(psNoCard));
    setMounts({mountLine(card, "8:18", "rw", root_ + "/dev/sdz2")});
    EXPECT_EQ(status(), 0);
    ASSERT_EQ(dll_fn_download_file(pcFile("c.txt", "c").c_str(), mtCard), 1);
    EXPECT_TRUE(fileExists(card + "/c.txt"));
}

// The delay holds each operation after its copy and before the file takes its name.
TEST_F(DriveTest, ADriveThatGoesAwayDuringACallFailsItAndLeavesNoFileThreads)
{
    makePlayer();
    const std::string drive = folder("TOVIX");
    setValue("Internal", "Folder", drive);
    setValue("Internal", "MountPoint", "yes");
    setMounts({mountLine(drive)});
    ASSERT_EQ(dll_fn_download_file(pcFile("old.txt", "old").c_str(), mtInternal), 1);
    const std::string oldName = shortNameOf(mtInternal, "old.txt");
    setValue("Faults", "DelayMs", "400");

    const auto unplugSoon = [&] {
        return std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            setMounts({});
        });
    };
    std::thread unplug = unplugSoon();
    EXPECT_EQ(dll_fn_download_file(pcFile("new.txt", std::string(5000, 'n')).c_str(), mtInternal), 0);
    unplug.join();
    EXPECT_EQ(folderEntries(drive), std::vector<std::string>{"old.txt"});

    setMounts({mountLine(drive)});
    unplug = unplugSoon();
    EXPECT_EQ(dll_fn_upload_file(oldName.c_str(), pcPath("up.txt").c_str(), mtInternal), 0);
    unplug.join();
    EXPECT_FALSE(fileExists(pcPath("up.txt")));

    setMounts({mountLine(drive)});
    unplug = unplugSoon();
    EXPECT_EQ(dll_fn_delete_file(oldName.c_str(), mtInternal), 0);
    unplug.join();
    EXPECT_TRUE(fileExists(drive + "/old.txt"));
}

TEST(MountTable, LinesAreReadWithTheirEscapesAndTheDeepestLatestMountHoldsAPath)
{
    const nerolink::MountTable table = nerolink::parseMountInfo(
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "not a mount line\n"
        "60 27 8:17 / /media/me/MY\\040REC rw,nosuid shared:1 master:2 - vfat /dev/sdb1 ro,fmask=22\n"
        "61 60 0:40 / /media/me/MY\\040REC rw - tmpfs none rw\n"
        "62 27 8:33 / /media/me/MY rw - vfat /dev/sdc1 rw\n");
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1].mountPoint, "/media/me/MY REC");
    EXPECT_EQ(table[1].major, 8u);
    EXPECT_EQ(table[1].minor, 17u);
    EXPECT_EQ(table[1].fsType, "vfat");
    EXPECT_EQ(table[1].source, "/dev/sdb1");
    EXPECT_TRUE(table[1].readOnly()); // read-only as a whole file system
    EXPECT_FALSE(table[2].readOnly());
    EXPECT_EQ(nerolink::mountHolding(table, "/media/me/MY REC/VOICE")->fsType, "tmpfs");
    EXPECT_EQ(nerolink::mountHolding(table, "/media/me/MY RECORDS")->source, "/dev/vda");
    EXPECT_EQ(nerolink::mountHolding(table, "/media/me/MY/x")->source, "/dev/sdc1");
    EXPECT_TRUE(nerolink::isMountPoint(table, "/media/me/MY"));
    EXPECT_FALSE(nerolink::isMountPoint(table, "/media/me"));
}
