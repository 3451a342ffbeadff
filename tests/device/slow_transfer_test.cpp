// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A slow player's upload grows under its real name: what others put at that
// name, or around it, while it grows is never taken for the part and removed,
// and a player that goes away stops the transfer.
#include "drive_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

// Waits until path exists, at most ten seconds.
bool appears(const std::string &path)
{
    for (int i = 0; i < 1000; ++i) {
        if (fileExists(path))
            return true;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return false;
}

// A file of another user's.
void othersFile(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
}

class SlowTransferTest : public DriveTest {
protected:
    // A player whose internal memory is a mounted drive holding big.txt (5000
    // bytes), uploads taking a second; returns the file's short name.
    std::string slowDriveWithAFile()
    {
        makePlayer();
        drive_ = folder("TOVIX");
        setValue("Internal", "Folder", drive_);
        setValue("Internal", "MountPoint", "yes");
        setMounts({mountLine(drive_)});
        EXPECT_EQ(dll_fn_download_file(pcFile("big.txt", std::string(5000, 'b')).c_str(), mtInternal), 1);
        setValue("Faults", "RateBytesPerSecond", "5000");
        return shortNameOf(mtInternal, "big.txt");
    }
    void unplug() { setMounts({}); }

    std::string drive_;
};

} // namespace

// The folder the part grows in is moved away and a link to another user's
// folder put in its place: the failed upload removes its part from where it
// made it, and nothing the link leads to.
TEST_F(SlowTransferTest, AFailedUploadRemovesItsPartFromTheFolderItMadeItInThreads)
{
    const std::string name = slowDriveWithAFile();
    const std::string out = folder("pc/out"), others = folder("others");
    othersFile(others + "/up.txt", "not yours");
    std::thread swap([&] {
        ASSERT_TRUE(appears(out + "/up.txt"));
        fs::rename(out, pcPath("moved"));
        fs::create_symlink(others, out);
        unplug();
    });
    EXPECT_EQ(dll_fn_upload_file(name.c_str(), (out + "/up.txt").c_str(), mtInternal), 0);
    swap.join();
    EXPECT_EQ(readFile(others + "/up.txt"), "not yours");
    EXPECT_TRUE(folderEntries(pcPath("moved")).empty()) << "the part was left behind";
}

// Another program renames its own file over the growing one: the upload did
// not arrive under its name, so it fails, and never removes that file.
TEST_F(SlowTransferTest, AnUploadWhoseNameAnotherFileTookFailsAndKeepsThatFileThreads)
{
    const std::string name = slowDriveWithAFile();
    const std::string destination = pcPath("up.txt");
    for (const bool drivePulled : {false, true}) {
        std::thread replace([&] {
            ASSERT_TRUE(appears(destination));
            othersFile(pcPath(".theirs"), "theirs");
            fs::rename(pcPath(".theirs"), destination);
            if (drivePulled)
                unplug();
        });
        EXPECT_EQ(dll_fn_upload_file(name.c_str(), destination.c_str(), mtInternal), 0) << drivePulled;
        replace.join();
        EXPECT_EQ(readFile(destination), "theirs") << drivePulled;
        fs::remove(destination);
        setMounts({mountLine(drive_)});
    }
}

// Detaching the player, or pulling its card, stops a slow transfer at once:
// it fails and leaves no part, in either direction.
TEST_F(SlowTransferTest, DetachingOrPullingTheCardStopsASlowTransferThreads)
{
    const std::string name = slowDriveWithAFile();
    setValue("Faults", "RateBytesPerSecond", "1000");
    const std::string card = pcFile("card.txt", std::string(5000, 'c'));
    for (const bool detach : {true, false}) {
        std::thread pull([&] {
            std::this_thread::sleep_for(milliseconds(300));
            setValue("Player", detach ? "Attached" : "Card", detach ? "no" : "none");
        });
        const auto start = steady_clock::now();
        if (detach)
            EXPECT_EQ(dll_fn_upload_file(name.c_str(), pcPath("up.txt").c_str(), mtInternal), 0);
        else
            EXPECT_EQ(dll_fn_download_file(card.c_str(), mtCard), 0);
        EXPECT_LT(steady_clock::now() - start, seconds(3)) << detach;
        pull.join();
        setValue("Player", detach ? "Attached" : "Card", detach ? "yes" : "ok");
        EXPECT_FALSE(fileExists(pcPath("up.txt")));
        EXPECT_TRUE(folderEntries(player_ + "/card").empty()) << detach;
    }
}

// A file that grows on the PC while a slow download reads it: the player never
// takes more than the size it checked against its free space, and a copy that
// is not the file that was checked fails.
TEST_F(SlowTransferTest, ADownloadTakesNoMoreThanTheSizeItCheckedThreads)
{
    makePlayer(10000);
    setValue("Faults", "RateBytesPerSecond", "5000");
    const std::string source = pcFile("grows.txt", std::string(6000, 'g'));
    std::thread append([&] {
        std::this_thread::sleep_for(milliseconds(300));
        std::ofstream(source, std::ios::app) << std::string(50000, 'h');
    });
    EXPECT_EQ(dll_fn_download_file(source.c_str(), mtInternal), 0);
    append.join();
    EXPECT_TRUE(folderEntries(player_ + "/internal").empty());
    EXPECT_EQ(refresh(mtInternal)->FreeBytes, 10000u);
}
