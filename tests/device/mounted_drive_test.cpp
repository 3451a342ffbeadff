// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Real file systems mounted in a mount namespace of the test's own: a tmpfs on
// a folder chosen as a mount point, and labelled ext4 images on loop devices.
// Skipped where the machine does not let a test mount.
#include "player_fixture.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

class MountedDrive : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        static const std::string refusal = ownMountNamespace();
        if (!refusal.empty())
            GTEST_SKIP() << "cannot mount here: " << refusal;
        ASSERT_EQ(tovixPlayer("init").code, 0);
    }

    void TearDown() override
    {
        for (auto it = mounted_.rbegin(); it != mounted_.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
        PlayerTest::TearDown();
    }

    // Mounts made from now on are seen by this process and its children only.
    static std::string ownMountNamespace()
    {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("unshare: ") + std::strerror(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("private mounts: ") + std::strerror(errno);
        return {};
    }

    std::string folder(const std::string &name)
    {
        const std::string path = root_ + "/" + name;
        fs::create_directories(path);
        return fs::canonical(path).string();
    }

    bool mountTmpfs(const std::string &point, unsigned long flags = 0)
    {
        if (::mount("tovix", point.c_str(), "tmpfs", flags, "size=4m") != 0)
            return false;
        mounted_.push_back(point);
        return true;
    }

    // A 16 MB ext4 image with that label (and that UUID, when given); "" when
    // the tools are missing.
    std::string labelledImage(const std::string &name, const std::string &label,
                              const std::string &uuid = {})
    {
        const std::string image = root_ + "/" + name + ".img";
        const std::string command = "truncate -s 16M '" + image + "' && mkfs.ext4 -q -L '" + label
            + "' " + (uuid.empty() ? "" : "-U " + uuid + " ") + "'" + image + "' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? image : "";
    }

    bool mountImage(const std::string &image, const std::string &point)
    {
        const std::string command = "mount -o loop '" + image + "' '" + point + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0)
            return false;
        mounted_.push_back(point);
        return true;
    }

    bool unmount(const std::string &point)
    {
        return ::umount2(point.c_str(), 0) == 0;
    }

    static bool attached()
    {
        TPlayerVersion version;
        return dll_fn_get_player_version(&version) != 0;
    }

    std::vector<std::string> mounted_;
};

} // namespace

TEST_F(MountedDrive, AMountPointFollowsItsFileSystem)
{
    const std::string drive = folder("media/TOVIX");
    ASSERT_TRUE(mountTmpfs(drive));
    const CommandResult use = tovixPlayer("use '" + drive + "'");
    ASSERT_EQ(use.code, 0) << use.output;
    EXPECT_TRUE(contains(use.output, "(a mount point: there while mounted)")) << use.output;
    ASSERT_TRUE(attached());
    ASSERT_EQ(dll_fn_download_file(pcFile("rec.txt", "r").c_str(), mtInternal), 1);
    EXPECT_TRUE(fileExists(drive + "/rec.txt"));

    ASSERT_EQ(::mount(nullptr, drive.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(dll_fn_get_player_status(), static_cast<int32_t>(psWriteProtected));
    EXPECT_EQ(dll_fn_download_file(pcFile("more.txt", "m").c_str(), mtInternal), 0);
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Writable: no (read-only file system)"));

    ASSERT_TRUE(unmount(drive));
    EXPECT_FALSE(attached());
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Present: no (nothing is mounted on " + drive));
    ASSERT_TRUE(mountTmpfs(drive));
    EXPECT_TRUE(attached());
    EXPECT_EQ(dll_fn_get_player_status(), 0);
}

TEST_F(MountedDrive, ALabelFindsTheDriveWhereverItIsMountedButNotTwoOfThem)
{
    const std::string image = labelledImage("one", "TOVIXREC");
    const std::string first = folder("media/first"), second = folder("media/second");
    if (image.empty() || !mountImage(image, first))
        GTEST_SKIP() << "no mkfs.ext4 or loop devices here";
    const CommandResult use = tovixPlayer("use --label TOVIXREC");
    ASSERT_EQ(use.code, 0) << use.output;
    ASSERT_TRUE(attached());
    ASSERT_EQ(dll_fn_download_file(pcFile("Morning walk.VOC", "v").c_str(), mtInternal), 1);
    const std::string shortName = shortNameOf(mtInternal, "Morning walk.VOC");

    ASSERT_TRUE(unmount(first));
    EXPECT_FALSE(attached());
    ASSERT_TRUE(mountImage(image, second));
    ASSERT_TRUE(attached());
    EXPECT_EQ(shortNameOf(mtInternal, "Morning walk.VOC"), shortName);

    // A second drive of that label does not hide the chosen one, known by its id.
    const std::string twin = labelledImage("two", "TOVIXREC");
    ASSERT_FALSE(twin.empty());
    ASSERT_TRUE(mountImage(twin, first));
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"Morning walk.VOC"});
    const std::string ini = readFile(player_ + "/player.ini");
    const CommandResult refused = tovixPlayer("use --label TOVIXREC");
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(contains(refused.output, "2 mounted drives are labelled \"TOVIXREC\"")) << refused.output;
    EXPECT_EQ(readFile(player_ + "/player.ini"), ini);
}

// The delay holds each operation after its copy and before the file takes its name.
TEST_F(MountedDrive, ADriveUnmountedDuringACallFailsItAndLeavesNoFile)
{
    const std::string drive = folder("media/TOVIX");
    ASSERT_TRUE(mountTmpfs(drive));
    ASSERT_EQ(tovixPlayer("use '" + drive + "'").code, 0);
    ASSERT_EQ(dll_fn_download_file(pcFile("old.txt", "old").c_str(), mtInternal), 1);
    const std::string oldName = shortNameOf(mtInternal, "old.txt");
    setValue("Faults", "DelayMs", "400");

    // While a call holds the drive it cannot be unmounted the ordinary way.
    int plainUnmount = 0;
    std::thread busy([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        plainUnmount = ::umount2(drive.c_str(), 0) == 0 ? 0 : errno;
    });
    EXPECT_EQ(dll_fn_download_file(pcFile("kept.txt", "k").c_str(), mtInternal), 1);
    busy.join();
    EXPECT_EQ(plainUnmount, EBUSY);

    // Torn away (as when the drive is pulled out), the call fails on both sides.
    std::thread tear([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::umount2(drive.c_str(), MNT_DETACH);
    });
    EXPECT_EQ(dll_fn_upload_file(oldName.c_str(), pcPath("up.txt").c_str(), mtInternal), 0);
    tear.join();
    EXPECT_FALSE(fileExists(pcPath("up.txt")));
    EXPECT_TRUE(folderEntries(drive).empty()) << "nothing under the folder the drive left";
    EXPECT_TRUE(folderEntries(pc_) == std::vector<std::string>({"kept.txt", "old.txt"}));
    EXPECT_FALSE(attached());

    ASSERT_TRUE(mountTmpfs(drive));
    std::thread again([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::umount2(drive.c_str(), MNT_DETACH);
    });
    EXPECT_EQ(dll_fn_download_file(pcPath("kept.txt").c_str(), mtInternal), 0);
    again.join();
    EXPECT_TRUE(folderEntries(drive).empty());
}

TEST_F(MountedDrive, ASecondDriveWithTheChosenLabelButAnotherIdIsNotThePlayer)
{
    const std::string chosen = labelledImage("chosen", "VOICE", "11111111-2222-3333-4444-555555555555");
    const std::string other = labelledImage("other", "VOICE", "66666666-7777-8888-9999-000000000000");
    const std::string point = folder("media/VOICE");
    if (chosen.empty() || other.empty() || !mountImage(chosen, point))
        GTEST_SKIP() << "no mkfs.ext4 or loop devices here";
    ASSERT_EQ(tovixPlayer("use --label VOICE").code, 0);
    ASSERT_EQ(dll_fn_download_file(pcFile("mine.VOC", "m").c_str(), mtInternal), 1);
    ASSERT_TRUE(unmount(point));
    ASSERT_TRUE(mountImage(other, point));
    std::ofstream(point + "/theirs.VOC") << "t";

    EXPECT_FALSE(attached());
    EXPECT_EQ(dll_fn_format_device(mtInternal), 0);
    EXPECT_TRUE(fileExists(point + "/theirs.VOC"));
    EXPECT_TRUE(contains(tovixPlayer("status").output,
                         "a drive labelled VOICE is mounted, but it is not the one chosen; run use "
                         "again to choose it"));

    // Chosen by the folder the desktop mounts it at, the same holds.
    ASSERT_EQ(tovixPlayer("use '" + point + "'").code, 0);
    ASSERT_TRUE(attached());
    ASSERT_TRUE(unmount(point));
    ASSERT_TRUE(mountImage(chosen, point));
    EXPECT_FALSE(attached());
    EXPECT_EQ(dll_fn_format_device(mtInternal), 0);
    EXPECT_TRUE(fileExists(point + "/mine.VOC"));
}
