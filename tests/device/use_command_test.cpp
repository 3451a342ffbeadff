// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// "tovix-player use": memories made folders or labelled drives, back to the
// player's own folders, and everything it refuses.
#include "drive_fixture.h"

#include "volume_ids.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

bool attached()
{
    TPlayerVersion version;
    return dll_fn_get_player_version(&version) != 0;
}

} // namespace

TEST_F(DriveTest, UseMakesTheMemoriesFoldersKeepingTheRestOfPlayerIni)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    std::ofstream(player_ + "/player.ini", std::ios::app) << "; mine\n[Mine]\nKeep=1\n";
    const std::string drive = folder("TOVIX"), card = folder("SD");
    setMounts({mountLine(drive)});
    const CommandResult run = tovixPlayer("use '" + drive + "' --card '" + card + "'");
    ASSERT_EQ(run.code, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Internal memory: " + drive + " (a mount point: there while mounted)"));
    EXPECT_TRUE(contains(run.output, "Memory card: " + card + "\n")) << run.output;
    const std::string ini = readFile(player_ + "/player.ini");
    EXPECT_TRUE(contains(ini, "[Internal]\nCapacityBytes=67108864\nFolder=" + drive
                              + "\nLabel=\nMountPoint=yes\n")) << ini;
    EXPECT_TRUE(contains(ini, "Folder=" + card + "\nLabel=\nMountPoint=no\n")) << ini;
    EXPECT_TRUE(contains(ini, "; mine\n[Mine]\nKeep=1\n")) << ini;
    ASSERT_EQ(dll_fn_download_file(pcFile("a.txt", "a").c_str(), mtCard), 1);
    EXPECT_TRUE(fileExists(card + "/a.txt"));

    const CommandResult status = tovixPlayer("status");
    EXPECT_TRUE(contains(status.output, "Internal memory: " + drive + "\n  Given as: a folder, a mount "
                                        "point when chosen\n  Present: yes\n  Mounted: yes, vfat "
                                        "from /dev/sdz1 on " + drive + "\n  Writable: yes\n"))
        << status.output;

    setMounts({});
    const CommandResult gone = tovixPlayer("status");
    EXPECT_TRUE(contains(gone.output, "Attached: no")) << gone.output;
    EXPECT_TRUE(contains(gone.output, "Present: no (nothing is mounted on " + drive + ")"));

    ASSERT_EQ(tovixPlayer("use --none").code, 0);
    EXPECT_TRUE(contains(readFile(player_ + "/player.ini"),
                         "[Internal]\nCapacityBytes=67108864\nFolder=\nLabel=\nMountPoint=no\n"));
    EXPECT_EQ(names(mtCard), std::vector<std::string>{});
}

TEST_F(DriveTest, UseByLabelWorksBeforeTheDriveIsThereAndRefusesTwoDrives)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    const CommandResult early = tovixPlayer("use --label 'VOICE REC' --card-label SD");
    ASSERT_EQ(early.code, 0) << early.output;
    EXPECT_TRUE(contains(early.output, "No drive labelled \"VOICE REC\" is mounted now")) << early.output;
    const std::string ini = readFile(player_ + "/player.ini");
    EXPECT_TRUE(contains(ini, "Folder=\nLabel=VOICE REC\nMountPoint=no\n")) << ini;
    EXPECT_TRUE(contains(ini, "Label=SD\n")) << ini;

    const std::string one = folder("one"), two = folder("two");
    setUdevLabel("8:17", "VOICE\\x20REC");
    setUdevLabel("8:33", "VOICE\\x20REC");
    setMounts({mountLine(one), mountLine(two, "8:33", "rw", "/dev/sdy1")});
    const CommandResult twice = tovixPlayer("use --label 'VOICE REC'");
    EXPECT_EQ(twice.code, 1);
    EXPECT_TRUE(contains(twice.output, "2 mounted drives are labelled \"VOICE REC\""));
    EXPECT_TRUE(contains(twice.output, "/dev/sdy1 on " + two)) << twice.output;
    EXPECT_EQ(readFile(player_ + "/player.ini"), ini);
}

TEST_F(DriveTest, UseRefusesWhatItCannotUseAndChangesNothing)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    const std::string ini = readFile(player_ + "/player.ini");
    const std::string file = pcFile("plain.txt", "p");
    for (const std::string &args : {std::string("use"), std::string("use a b"), std::string("use --label"),
                                    std::string("use --none x"), std::string("use --label L x"),
                                    std::string("use x --card a --card-label b"),
                                    std::string("use --label ' L'"), std::string("use --frob")}) {
        const CommandResult run = tovixPlayer(args);
        EXPECT_EQ(run.code, 2) << args << run.output;
        EXPECT_TRUE(contains(run.output, "usage: tovix-player")) << args;
    }
    for (const std::string &missing : {root_ + "/missing", file}) {
        const CommandResult run = tovixPlayer("use '" + missing + "'");
        EXPECT_EQ(run.code, 1) << missing;
        EXPECT_TRUE(contains(run.output, missing + " is not a folder")) << run.output;
    }
    EXPECT_EQ(tovixPlayer("use '" + folder("ok") + "' --card '" + root_ + "/missing'").code, 1);
    EXPECT_EQ(readFile(player_ + "/player.ini"), ini);
    ::unlink((player_ + "/player.ini").c_str());
    EXPECT_EQ(tovixPlayer("use --none").code, 1);
}

TEST_F(DriveTest, ADriveChosenByLabelOrMountPointIsKnownByItsIdAndNoLookAlikeIsThePlayer)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    const std::string chosen = folder("media/one"), other = folder("media/two");
    std::ofstream(other + "/keep.VOC") << "theirs";
    setUdevLabel("8:17", "VOICE", "1234-ABCD");
    setUdevLabel("8:33", "VOICE", "5678-EF01");
    const std::string otherLine = mountLine(other, "8:33", "rw", "/dev/sdy1");
    setMounts({mountLine(chosen)});
    const CommandResult use = tovixPlayer("use --label VOICE");
    ASSERT_EQ(use.code, 0) << use.output;
    EXPECT_TRUE(contains(use.output, "the drive labelled \"VOICE\" (UUID 1234-ABCD)")) << use.output;
    EXPECT_EQ(nerolink::loadPlayer(player_)->internal.volumeId, "1234-ABCD");

    const auto onlyTheLookAlike = [&](const std::string &drive, const std::string &why) {
        EXPECT_FALSE(attached());
        EXPECT_EQ(dll_fn_format_device(mtInternal), 0);
        EXPECT_EQ(readFile(drive + "/keep.VOC"), "theirs");
        const std::string status = tovixPlayer("status").output;
        EXPECT_TRUE(contains(status, why)) << status;
    };
    setMounts({otherLine});
    onlyTheLookAlike(other, "Present: no (a drive labelled VOICE is mounted, but it is not the one chosen; "
                     "run use again to choose it)");
    setMounts({mountLine(chosen), otherLine});
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{});

    // A player.ini from before ids were kept takes one from the only drive of the label.
    std::string ini = readFile(player_ + "/player.ini");
    ini.erase(ini.find("Uuid=1234-ABCD\n"), 15);
    std::ofstream(player_ + "/player.ini", std::ios::trunc) << ini;
    EXPECT_FALSE(attached());
    setMounts({otherLine});
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"keep.VOC"});
    EXPECT_EQ(nerolink::loadPlayer(player_)->internal.volumeId, "5678-EF01");

    // The desktop mounts every drive of a label at the same folder.
    const std::string point = folder("media/VOICE");
    std::ofstream(point + "/keep.VOC") << "theirs";
    setMounts({mountLine(point)});
    ASSERT_EQ(tovixPlayer("use '" + point + "'").code, 0);
    EXPECT_TRUE(attached());
    setMounts({mountLine(point, "8:33", "rw", "/dev/sdy1")});
    onlyTheLookAlike(point, "a drive is mounted on " + point + ", but it is not the one chosen");
}

TEST(VolumeIds, TheIdIsReadFromTheFileSystemAsBlkidWritesIt)
{
    const std::string dir = ::testing::TempDir() + "volume-ids";
    std::filesystem::create_directories(dir);
    const auto made = [&](const std::string &name, const std::string &command) {
        const std::string image = dir + "/" + name;
        return std::system(("rm -f '" + image + "' && truncate -s 40M '" + image + "' && " + command
                            + " '" + image + "' >/dev/null 2>&1").c_str()) == 0 ? image : "";
    };
    const std::string fat = made("fat.img", "mkfs.vfat -n VOICE -i 1234abcd");
    const std::string fat32 = made("fat32.img", "mkfs.vfat -F 32 -i 0BADF00D");
    const std::string ext = made("ext.img", "mkfs.ext4 -q -U 01234567-89ab-cdef-0123-456789abcdef");
    if (fat.empty() || fat32.empty() || ext.empty())
        GTEST_SKIP() << "no mkfs.vfat or mkfs.ext4 here";
    EXPECT_EQ(nerolink::readVolumeId(fat), "1234-ABCD");
    EXPECT_EQ(nerolink::readVolumeId(fat32), "0BAD-F00D");
    EXPECT_EQ(nerolink::readVolumeId(ext), "01234567-89ab-cdef-0123-456789abcdef");
    std::ofstream(dir + "/plain") << std::string(8192, 'x');
    EXPECT_EQ(nerolink::readVolumeId(dir + "/plain"), "");
    EXPECT_TRUE(nerolink::sameVolumeId("0bad-f00d", "0BAD-F00D"));
    EXPECT_FALSE(nerolink::sameVolumeId("", ""));
    std::filesystem::remove_all(dir);
}
