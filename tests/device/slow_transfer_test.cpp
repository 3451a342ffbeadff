// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A slow player's transfer grows under its real name: what others put at that name, or
// around it, is never taken for the part and removed, and a player that goes away stops it.
#include "drive_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

class SlowTransferTest : public DriveTest {
protected:
    // A mounted drive as internal memory holding big.txt (5000 bytes), uploads taking a
    // second; returns the file's short name.
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
    std::string drive_;
};

// Runs meddle on a thread of its own once path exists (waiting at most ten seconds).
template <typename Meddle> std::thread onceThere(const std::string &path, Meddle meddle)
{
    return std::thread([path, meddle] {
        for (int i = 0; i < 1000 && !fileExists(path); ++i)
            std::this_thread::sleep_for(milliseconds(10));
        ASSERT_TRUE(fileExists(path));
        meddle();
    });
}

} // namespace

// Another program renames its file over the growing one, the drive staying or going, or
// swaps the part's folder for a link to its own and the drive goes: the upload did not
// arrive, so it fails; it removes its part where it made it, never the other's file.
TEST_F(SlowTransferTest, AnUploadNeverRemovesWhatOthersPutAtOrAroundItsNameThreads)
{
    const std::string name = slowDriveWithAFile(), out = folder("pc/out"), others = folder("others");
    const std::string destination = out + "/up.txt", moved = folder("pc/moved"), theirs = others + "/up.txt";
    const std::function<void()> meddlings[] = {
        [&] { fs::rename(theirs, destination); },
        [&] { fs::rename(theirs, destination), setMounts({}); },
        [&] { fs::rename(out, moved), fs::create_symlink(others, out), setMounts({}); },
    };
    for (const auto &meddle : meddlings) {
        std::ofstream(theirs) << "theirs"; // another user's
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
        std::thread meddling = onceThere(destination, meddle);
        EXPECT_EQ(dll_fn_upload_file(name.c_str(), destination.c_str(), mtInternal), 0);
        meddling.join();
        EXPECT_EQ(readFile(destination), "theirs");
        EXPECT_TRUE(folderEntries(moved).empty()) << "the part was left behind";
        fs::remove(destination);
        setMounts({mountLine(drive_)});
    }
}

// Detaching the player, or pulling its card, stops a slow transfer at once: it fails and
// leaves no part, in either direction.
TEST_F(SlowTransferTest, DetachingOrPullingTheCardStopsASlowTransferThreads)
{
    const std::string name = slowDriveWithAFile(), card = pcFile("card.txt", std::string(5000, 'c'));
    setValue("Faults", "RateBytesPerSecond", "1000");
    for (const bool detach : {true, false}) {
        const char *key = detach ? "Attached" : "Card";
        std::thread pull([&] {
            std::this_thread::sleep_for(milliseconds(300));
            setValue("Player", key, detach ? "no" : "none");
        });
        const auto start = steady_clock::now();
        EXPECT_EQ(detach ? dll_fn_upload_file(name.c_str(), pcPath("up.txt").c_str(), mtInternal)
                         : dll_fn_download_file(card.c_str(), mtCard), 0);
        EXPECT_LT(steady_clock::now() - start, seconds(3)) << detach;
        pull.join();
        setValue("Player", key, detach ? "yes" : "ok");
        EXPECT_FALSE(fileExists(pcPath("up.txt")));
        EXPECT_TRUE(folderEntries(player_ + "/card").empty()) << detach;
    }
}

// A file that grows on the PC during a slow download: the player never takes more than
// the size it checked against its free space, and a copy that is not that file fails.
TEST_F(SlowTransferTest, ADownloadTakesNoMoreThanTheSizeItCheckedThreads)
{
    makePlayer(10000);
    setValue("Faults", "RateBytesPerSecond", "5000");
    const std::string source = pcFile("grows.txt", std::string(6000, 'g'));
    std::thread append = onceThere(source, [&] {
        std::this_thread::sleep_for(milliseconds(300));
        std::ofstream(source, std::ios::app) << std::string(50000, 'h');
    });
    EXPECT_EQ(dll_fn_download_file(source.c_str(), mtInternal), 0);
    append.join();
    EXPECT_TRUE(folderEntries(player_ + "/internal").empty());
    EXPECT_EQ(refresh(mtInternal)->FreeBytes, 10000u);
}
