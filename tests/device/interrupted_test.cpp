// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// An operation killed before it completes must leave no half file under the real name.
#include "player_fixture.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Whether the process has a file open in folder: the file being written, named or not.
bool writesIn(pid_t pid, const std::string &folder)
{
    std::error_code ignored;
    for (const auto &fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ignored)) {
        const std::string target = fs::read_symlink(fd.path(), ignored).string();
        if (target.rfind(folder + "/", 0) == 0)
            return true;
    }
    return false;
}

// Runs work in a child process and kills it once it writes a file in folder.
bool killMidWrite(const std::string &folder, void (*work)(const std::string &, const std::string &),
                  const std::string &a, const std::string &b)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work(a, b);
        ::_exit(0);
    }
    bool seen = false;
    for (int i = 0; i < 500 && !seen; ++i) {
        seen = writesIn(child, folder);
        if (!seen)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return seen && WIFSIGNALED(status);
}

} // namespace

TEST_F(PlayerTest, KilledDownloadLeavesNoFileUnderTheRealName)
{
    makePlayer();
    setValue("Faults", "DelayMs", "20000");
    const std::string source = pcFile("Long recording.VOC", std::string(300000, 'v'));
    ASSERT_TRUE(killMidWrite(player_ + "/internal",
                             [](const std::string &path, const std::string &) {
                                 dll_fn_download_file(path.c_str(), mtInternal);
                             },
                             source, {}));
    EXPECT_FALSE(fileExists(memoryPath("internal", "Long recording.VOC")));
    setValue("Faults", "DelayMs", "0");
    // The next call clears the leftover: it neither shows nor takes space.
    const auto info = refresh(mtInternal);
    EXPECT_EQ(info->FileCount, 0u);
    EXPECT_EQ(info->FreeBytes, info->TotalBytes);
    EXPECT_TRUE(folderEntries(player_ + "/internal").empty());
    ASSERT_EQ(dll_fn_download_file(source.c_str(), mtInternal), 1);
    EXPECT_EQ(folderEntries(player_ + "/internal"), std::vector<std::string>{"Long recording.VOC"});
    EXPECT_EQ(readFile(memoryPath("internal", "Long recording.VOC")), std::string(300000, 'v'));
}

TEST_F(PlayerTest, KilledUploadKeepsTheOldPcFile)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("SONG.MP3", "new content").c_str(), mtCard), 1);
    fs::create_directories(pcPath("music"));
    const std::string destination = pcFile("music/SONG.MP3", "old content");
    setValue("Faults", "DelayMs", "20000");
    ASSERT_TRUE(killMidWrite(pcPath("music"),
                             [](const std::string &path, const std::string &) {
                                 dll_fn_upload_file("SONG.MP3", path.c_str(), mtCard);
                             },
                             destination, {}));
    EXPECT_EQ(readFile(destination), "old content");
    EXPECT_EQ(folderEntries(pcPath("music")), std::vector<std::string>{"SONG.MP3"})
        << "no temporary file may stay in a PC folder";
}

TEST_F(PlayerTest, LeftoversNoOneWritesAreSweptFromThePcAndPlayerFolders)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("SONG.MP3", "song").c_str(), mtCard), 1);
    // What a file system without unnamed files, or a kill at the last moment, leaves.
    pcFile(".nerolink-part-dead01", "half");
    std::ofstream(player_ + "/.nerolink-part-dead02") << "half";
    const std::string live = pcFile(".nerolink-part-live01", "being written");
    const int writer = ::open(live.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    ASSERT_EQ(dll_fn_upload_file("SONG.MP3", pcPath("copy.MP3").c_str(), mtCard), 1);
    ::close(writer);
    EXPECT_EQ(folderEntries(pc_),
              (std::vector<std::string>{".nerolink-part-live01", "SONG.MP3", "copy.MP3"}));
    EXPECT_FALSE(fileExists(player_ + "/.nerolink-part-dead02"));
}

TEST_F(PlayerTest, UsersFilesNamedLikeTheTemporariesAreNotSwept)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("SONG.MP3", "song").c_str(), mtCard), 1);
    pcFile(".nerolink-part-notes.txt", "my notes");
    std::ofstream(player_ + "/.nerolink-part-notes.txt") << "player notes";

    ASSERT_EQ(dll_fn_upload_file("SONG.MP3", pcPath("copy.MP3").c_str(), mtCard), 1);
    EXPECT_EQ(folderEntries(pc_),
              (std::vector<std::string>{".nerolink-part-notes.txt", "SONG.MP3", "copy.MP3"}));
    EXPECT_EQ(readFile(pcPath(".nerolink-part-notes.txt")), "my notes");
    EXPECT_EQ(readFile(player_ + "/.nerolink-part-notes.txt"), "player notes");
}
