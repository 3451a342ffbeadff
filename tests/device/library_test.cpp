// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The seven functions of the stand-in library, each against a player in a temporary folder.
#include "player_fixture.h"

#include "device/records.h"
#include "file_copy.h"
#include "short_names.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <filesystem>
#include <set>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

TEST_F(PlayerTest, NoPlayerFolderOrNoIniMeansNoPlayer)
{
    TPlayerVersion version{};
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
    fs::create_directories(player_);
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
    TMemoryInfo *info = new TMemoryInfo;
    EXPECT_EQ(dll_fn_refresh_device(info, mtInternal), 0);
    delete info;
    EXPECT_EQ(dll_fn_download_file(pcFile("a.txt", "x").c_str(), mtInternal), 0);
}

TEST_F(PlayerTest, VersionFillsTheRecordWhenAttached)
{
    makePlayer();
    setValue("Player", "Version", "X-200 2.04");
    TPlayerVersion version;
    std::memset(&version, 0x55, sizeof version);
    EXPECT_NE(dll_fn_get_player_version(&version), 0);
    EXPECT_EQ(versionText(version), "X-200 2.04");
    EXPECT_EQ(dll_fn_get_player_version(nullptr), 0);
}

TEST_F(PlayerTest, EmptyMemoryHasItsCapacityFree)
{
    makePlayer(1000000, 2000000);
    const auto internal = refresh(mtInternal);
    EXPECT_EQ(internal->FileCount, 0u);
    EXPECT_EQ(internal->TotalBytes, 1000000u);
    EXPECT_EQ(internal->FreeBytes, 1000000u);
    EXPECT_EQ(refresh(mtCard)->TotalBytes, 2000000u);
    TMemoryInfo other;
    EXPECT_EQ(dll_fn_refresh_device(&other, 3000), 0);
    EXPECT_EQ(dll_fn_refresh_device(nullptr, mtInternal), 0);
}

TEST_F(PlayerTest, DownloadStoresTheFileUnderItsOwnNameInArrivalOrder)
{
    makePlayer(1000000);
    for (const char *name : {"zebra.mp3", "REC00001.VOC", "Grüße aus Köln.txt", "apple.wav"})
        ASSERT_EQ(dll_fn_download_file(pcFile(name, std::string("data of ") + name).c_str(), mtInternal), 1) << name;
    EXPECT_EQ(names(mtInternal),
              (std::vector<std::string>{"zebra.mp3", "REC00001.VOC", "Grüße aus Köln.txt", "apple.wav"}));
    EXPECT_EQ(readFile(memoryPath("internal", "Grüße aus Köln.txt")), "data of Grüße aus Köln.txt");
    EXPECT_TRUE(names(mtCard).empty());

    const auto info = refresh(mtInternal);
    EXPECT_EQ(fieldText(info->Files[1].ShortName), "REC00001.VOC");
    EXPECT_EQ(info->Files[1].HasLongName, 0);
    EXPECT_EQ(info->Files[0].HasLongName, 1);
    EXPECT_EQ(info->Files[0].Size, 17u);
    uint32_t used = 0;
    for (uint32_t i = 0; i < info->FileCount; ++i)
        used += info->Files[i].Size;
    EXPECT_EQ(info->FreeBytes, 1000000u - used);
}

TEST_F(PlayerTest, DownloadRefusesAnExistingNameAndKeepsTheOldFile)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("song.mp3", "first").c_str(), mtCard), 1);
    EXPECT_EQ(dll_fn_download_file(pcFile("song.mp3", "second").c_str(), mtCard), 0);
    EXPECT_EQ(readFile(memoryPath("card", "song.mp3")), "first");
    EXPECT_EQ(names(mtCard).size(), 1u);
}

TEST_F(PlayerTest, DownloadRefusesWhatIsNotAReadablePlainFile)
{
    makePlayer();
    fs::create_directories(pcPath("folder"));
    EXPECT_EQ(dll_fn_download_file(pcPath("folder").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcPath("missing.txt").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("a.txt", "x").c_str(), 0), 0);
    EXPECT_EQ(dll_fn_download_file(nullptr, mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file("", mtInternal), 0);
    EXPECT_TRUE(names(mtInternal).empty());
}

// A file swapped for a named pipe after it was checked: the copy refuses it
// at once instead of waiting for a writer that never comes.
TEST_F(PlayerTest, ACopyFromANamedPipeFailsAtOnceBeforeWatchingThreads)
{
    const std::string pipe = pcPath("song.mp3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::atomic<bool> returned{false}, unblocked{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 50 && !returned; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!returned) { // a reader stuck in open() is let go
            unblocked = true;
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    EXPECT_FALSE(nerolink::copyFileAtomically(pipe, pcPath("copy.mp3"), false, 0));
    returned = true;
    watchdog.join();
    EXPECT_FALSE(unblocked) << "the copy waited on the pipe";
    EXPECT_FALSE(fs::exists(pcPath("copy.mp3")));
}

TEST_F(PlayerTest, UploadWritesThePlayerFileAndReplacesAnOldOne)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("Voice memo.VOC", "voice bytes").c_str(), mtCard), 1);
    const std::string shortName = shortNameOf(mtCard, "Voice memo.VOC");
    ASSERT_FALSE(shortName.empty());
    fs::create_directories(pcPath("out"));
    const std::string target = pcFile("out/copy.VOC", "an older, longer file");
    EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), target.c_str(), mtCard), 1);
    EXPECT_EQ(readFile(target), "voice bytes");
    EXPECT_EQ(folderEntries(pcPath("out")), std::vector<std::string>{"copy.VOC"});

    EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath("other.VOC").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_upload_file("NOSUCH.VOC", pcPath("other.VOC").c_str(), mtCard), 0);
    EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath("out").c_str(), mtCard), 0);
    EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath("no/such/folder.VOC").c_str(), mtCard), 0);
    EXPECT_FALSE(fileExists(pcPath("other.VOC")));
}

// A player file swapped for a link to another user's private file between the
// listing and the copy: an upload never copies what the link leads to.
TEST_F(PlayerTest, AnUploadNeverFollowsALinkPutInThePlayerFilesPlaceThreads)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("NOTES.TXT", "notes").c_str(), mtInternal), 1);
    const std::string secret = root_ + "/secret", named = memoryPath("internal", "NOTES.TXT");
    const std::string aside = memoryPath("internal", "aside/x"); // in a folder: never listed
    std::ofstream(secret) << "private key";
    ASSERT_TRUE(::chown(secret.c_str(), 65534, 65534) == 0 && ::chmod(secret.c_str(), 0600) == 0);
    fs::create_directories(memoryPath("internal", "aside"));
    fs::create_symlink(secret, aside);
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop)
            ::renameat2(AT_FDCWD, named.c_str(), AT_FDCWD, aside.c_str(), RENAME_EXCHANGE);
    });
    int copied = 0, leaked = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string copy = pcPath("copy" + std::to_string(i));
        copied += dll_fn_upload_file("NOTES.TXT", copy.c_str(), mtInternal);
        leaked += fileExists(copy) && readFile(copy) != "notes";
    }
    stop = true;
    swapper.join();
    EXPECT_GT(copied, 0);
    EXPECT_EQ(leaked, 0) << "an upload copied the file a link leads to";
}

TEST_F(PlayerTest, ShortNamesWithPathPartsAreRefused)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("SECRET.TXT", "s").c_str(), mtInternal), 1);
    // A name reaching outside the memory folder must not reach the player.ini beside it.
    for (const char *bad : {"../player.ini", ".", "..", "/etc/passwd", "", "A/B"}) {
        EXPECT_EQ(dll_fn_upload_file(bad, pcPath("x").c_str(), mtInternal), 0) << bad;
        EXPECT_EQ(dll_fn_delete_file(bad, mtInternal), 0) << bad;
    }
    EXPECT_EQ(dll_fn_upload_file(nullptr, pcPath("x").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_delete_file(nullptr, mtInternal), 0);
    EXPECT_FALSE(fileExists(pcPath("x")));
    EXPECT_TRUE(fileExists(player_ + "/player.ini"));
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"SECRET.TXT"});
}

TEST_F(PlayerTest, DeleteRemovesOneFileAndGivesItsSpaceBack)
{
    makePlayer(100000);
    ASSERT_EQ(dll_fn_download_file(pcFile("one.txt", std::string(300, '1')).c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("two.txt", std::string(500, '2')).c_str(), mtInternal), 1);
    EXPECT_EQ(dll_fn_delete_file(shortNameOf(mtInternal, "one.txt").c_str(), mtInternal), 1);
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"two.txt"});
    EXPECT_EQ(refresh(mtInternal)->FreeBytes, 100000u - 500u);
    EXPECT_FALSE(fileExists(memoryPath("internal", "one.txt")));
    EXPECT_EQ(dll_fn_delete_file("ONE.TXT", mtInternal), 0);
    EXPECT_EQ(dll_fn_delete_file(shortNameOf(mtInternal, "two.txt").c_str(), mtCard), 0);
}

TEST_F(PlayerTest, FormatEmptiesOnlyThatMemory)
{
    makePlayer(100000, 100000);
    ASSERT_EQ(dll_fn_download_file(pcFile("a.txt", "aaaa").c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("b.txt", "bbbb").c_str(), mtCard), 1);
    EXPECT_EQ(dll_fn_format_device(mtInternal), 1);
    const auto internal = refresh(mtInternal);
    EXPECT_EQ(internal->FileCount, 0u);
    EXPECT_EQ(internal->FreeBytes, 100000u);
    EXPECT_TRUE(folderEntries(player_ + "/internal").empty());
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(dll_fn_format_device(7), 0);
}

TEST_F(PlayerTest, ShortNamesAreUniqueEightDotThreeAndStable)
{
    makePlayer();
    const std::vector<std::string> files = {"voice_mode0.VOC", "voice_mode1.VOC", "README.TXT",
                                            "readme.txt", "Read me.txt", "VOICE_~1.VOC"};
    for (const auto &name : files) {
        // A name that differs only in case cannot be downloaded; it can still
        // be put into the folder by other means.
        if (name == "readme.txt")
            std::ofstream(memoryPath("internal", name), std::ios::binary) << name;
        else
            ASSERT_EQ(dll_fn_download_file(pcFile(name, name).c_str(), mtInternal), 1) << name;
    }
    auto before = refresh(mtInternal);
    std::set<std::string> seen;
    for (uint32_t i = 0; i < before->FileCount; ++i) {
        const std::string shortName = fieldText(before->Files[i].ShortName);
        EXPECT_TRUE(nerolink::isShortName(shortName)) << shortName;
        EXPECT_TRUE(seen.insert(shortName).second) << shortName;
        // Only a name that is its own short name goes without a long name.
        EXPECT_EQ(before->Files[i].HasLongName != 0, shortName != files[i]) << files[i];
        // Each short name reaches the right file.
        const std::string out = pcPath("up-" + std::to_string(i));
        ASSERT_EQ(dll_fn_upload_file(shortName.c_str(), out.c_str(), mtInternal), 1);
        EXPECT_EQ(readFile(out), files[i]);
    }
    // The generated VOICE_~1.VOC came first, so the file of that name gets another one.
    EXPECT_EQ(fieldText(before->Files[0].ShortName), "VOICE_~1.VOC");
    EXPECT_EQ(before->Files[5].HasLongName, 1);

    // Removing one file and adding others changes no other file's short name.
    ASSERT_EQ(dll_fn_delete_file("VOICE_~1.VOC", mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("voice_mode2.VOC", "2").c_str(), mtInternal), 1);
    const auto after = refresh(mtInternal);
    for (uint32_t i = 1; i < before->FileCount; ++i)
        EXPECT_EQ(fieldText(after->Files[i - 1].ShortName), fieldText(before->Files[i].ShortName));
    EXPECT_EQ(displayName(after->Files[after->FileCount - 1]), "voice_mode2.VOC");
}

TEST_F(PlayerTest, FilesAddedBesideTheLibraryJoinAtTheEndAndKeepTheirNames)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("first.txt", "1").c_str(), mtCard), 1);
    fs::copy_file(pcFile("Copied by hand.txt", "hand"), memoryPath("card", "Copied by hand.txt"));
    const std::string shortName = shortNameOf(mtCard, "Copied by hand.txt");
    EXPECT_EQ(names(mtCard), (std::vector<std::string>{"first.txt", "Copied by hand.txt"}));
    EXPECT_EQ(shortNameOf(mtCard, "Copied by hand.txt"), shortName);
    fs::remove(memoryPath("card", "first.txt"));
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"Copied by hand.txt"});
    EXPECT_EQ(shortNameOf(mtCard, "Copied by hand.txt"), shortName);
    // Folders and our own temporary files are not player files.
    fs::create_directories(memoryPath("card", "Subfolder"));
    pcFile("x", "");
    fs::copy_file(pcPath("x"), memoryPath("card", ".nerolink-part-abc123"));
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"Copied by hand.txt"});
}

TEST_F(PlayerTest, FilesPutThereByOtherMeansJoinOldestFirst)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("first.txt", "1").c_str(), mtInternal), 1);
    // Named and written against their age, so neither name nor creation order gives it.
    const struct { const char *name; time_t age; } files[] = {
        {"a newest.txt", 10}, {"b oldest.txt", 3000}, {"c middle.txt", 200}};
    for (const auto &file : files) {
        const std::string path = memoryPath("internal", file.name);
        std::ofstream(path) << file.name;
        const struct timespec times[2] = {{time(nullptr) - file.age, 0}, {time(nullptr) - file.age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    EXPECT_EQ(names(mtInternal), (std::vector<std::string>{"first.txt", "b oldest.txt",
                                                           "c middle.txt", "a newest.txt"}));
}

TEST_F(PlayerTest, ShortNamesAreKeptInThePlayerFolder)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("NOTES.TXT", "n").c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("long name.txt", "l").c_str(), mtInternal), 1);
    // The names are kept in the player folder, so a new process sees the same ones.
    EXPECT_EQ(readFile(player_ + "/internal.names"), "NOTES.TXT\tNOTES.TXT\nLONGNA~1.TXT\tlong name.txt\n");
}
