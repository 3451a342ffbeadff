// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// tovix-player, run as a separate program on the same player folder.
#include "player_fixture.h"

#include "device/records.h"

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

TEST_F(PlayerTest, InitMakesAnEmptyAttachedWritablePlayer)
{
    const CommandResult run = tovixPlayer("init --internal-bytes 5000 --card-bytes 7000");
    ASSERT_EQ(run.code, 0) << run.output;
    TPlayerVersion version;
    ASSERT_NE(dll_fn_get_player_version(&version), 0);
    EXPECT_EQ(versionText(version), "TOVIX 1.0");
    EXPECT_EQ(dll_fn_get_player_status(), 0);
    EXPECT_EQ(refresh(mtInternal)->TotalBytes, 5000u);
    EXPECT_EQ(refresh(mtCard)->TotalBytes, 7000u);
    EXPECT_EQ(refresh(mtCard)->FileCount, 0u);

    const CommandResult defaults = tovixPlayer("init");
    ASSERT_EQ(defaults.code, 0);
    EXPECT_EQ(refresh(mtInternal)->TotalBytes, 64u * 1024 * 1024);
    EXPECT_EQ(refresh(mtCard)->TotalBytes, 128u * 1024 * 1024);
}

TEST_F(PlayerTest, InitStartsOverOnAnOldPlayer)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    ASSERT_EQ(dll_fn_download_file(pcFile("old.txt", "o").c_str(), mtCard), 1);
    ASSERT_EQ(tovixPlayer("protect on").code, 0);
    ASSERT_EQ(tovixPlayer("init").code, 0);
    EXPECT_TRUE(names(mtCard).empty());
    EXPECT_EQ(dll_fn_get_player_status(), 0);
}

TEST_F(PlayerTest, DemoPutsFilesWithAwkwardNamesAndTheSampleRecordingsOnBothMemories)
{
    const CommandResult run = tovixPlayer("init --demo");
    ASSERT_EQ(run.code, 0) << run.output;
    const auto internal = names(mtInternal);
    const auto card = names(mtCard);
    EXPECT_GE(internal.size(), 4u);
    EXPECT_GE(card.size(), 4u);
    const auto has = [](const std::vector<std::string> &list, const std::string &name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    EXPECT_TRUE(has(internal, "Grüße aus Köln.txt"));
    EXPECT_TRUE(has(card, "Café playlist.m3u"));
    EXPECT_TRUE(has(card, "Podcast episode 12.dat"));
    const std::pair<int32_t, const char *> samples[] = {
        {mtInternal, "voice_mode0.VOC"}, {mtInternal, "voice_mode1.VOC"}, {mtCard, "voice_mode2.VOC"}};
    for (const auto &[target, sample] : samples) {
        const std::string source = std::string(TOVIX_TEST_DATA) + "/" + sample;
        if (!fileExists(source)) {
            EXPECT_TRUE(contains(run.output, std::string("skipped ") + sample)) << run.output;
            continue;
        }
        const std::string shortName = shortNameOf(target, sample);
        ASSERT_FALSE(shortName.empty()) << sample;
        ASSERT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath(sample).c_str(), target), 1);
        EXPECT_EQ(readFile(pcPath(sample)), readFile(source)) << sample;
    }
}

TEST_F(PlayerTest, SettingCommandsChangeWhatTheLibraryReports)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    TPlayerVersion version;
    TMemoryInfo info;
    ASSERT_EQ(tovixPlayer("detach").code, 0);
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
    ASSERT_EQ(tovixPlayer("attach").code, 0);
    EXPECT_NE(dll_fn_get_player_version(&version), 0);
    ASSERT_EQ(tovixPlayer("card corrupted").code, 0);
    EXPECT_EQ(dll_fn_get_player_status(), static_cast<int32_t>(psCorruptedCard));
    ASSERT_EQ(tovixPlayer("protect on").code, 0);
    EXPECT_EQ(dll_fn_get_player_status(), static_cast<int32_t>(psCorruptedCard | psWriteProtected));
    ASSERT_EQ(tovixPlayer("card ok").code, 0);
    ASSERT_EQ(tovixPlayer("protect off").code, 0);
    EXPECT_EQ(dll_fn_get_player_status(), 0);
    ASSERT_EQ(tovixPlayer("fail-refresh internal").code, 0);
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 0);
    ASSERT_EQ(tovixPlayer("fail-refresh none").code, 0);
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 1);
    ASSERT_EQ(tovixPlayer("delay 250").code, 0);
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Delay: 250 ms"));
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Transfer rate: no limit"));
    ASSERT_EQ(tovixPlayer("rate 1000000").code, 0);
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Transfer rate: 1000000 bytes per second"));
    EXPECT_TRUE(contains(readFile(player_ + "/player.ini"), "RateBytesPerSecond=1000000"));
}

TEST_F(PlayerTest, BadArgumentsChangeNothing)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    const std::string ini = readFile(player_ + "/player.ini");
    for (const char *args : {"", "card maybe", "protect", "delay -5", "delay 10ms", "delay 99999999999999",
                             "fail-refresh both", "attach now", "init --internal-bytes 0",
                             "init --card-bytes 4294967296", "init --card-bytes", "init --bogus", "frobnicate",
                             "rate -5", "rate abc", "rate 4294967296", "rate 1e6"}) {
        const CommandResult run = tovixPlayer(args);
        EXPECT_EQ(run.code, 2) << args;
        EXPECT_TRUE(contains(run.output, "usage: tovix-player")) << args;
    }
    EXPECT_TRUE(contains(tovixPlayer("rate 1e6").output, "rate needs a whole number of bytes per second from 0"));
    EXPECT_EQ(readFile(player_ + "/player.ini"), ini);
}

TEST_F(PlayerTest, CommandsNeedAPlayerExceptInit)
{
    for (const char *args : {"attach", "card none", "protect on", "delay 5", "status"})
        EXPECT_EQ(tovixPlayer(args).code, 1) << args;
    EXPECT_FALSE(fileExists(player_ + "/player.ini"));
}

TEST_F(PlayerTest, StatusListsTheFilesAsTheManagerReadsThem)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    ASSERT_EQ(dll_fn_download_file(pcFile("Meeting notes.txt", std::string(2400, 'm')).c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("NOTES.TXT", "n").c_str(), mtCard), 1);
    const std::string shortName = shortNameOf(mtInternal, "Meeting notes.txt");
    const CommandResult run = tovixPlayer("status");
    ASSERT_EQ(run.code, 0);
    // Another process sees the same short names.
    EXPECT_TRUE(contains(run.output, shortName + "         2400  Meeting notes.txt")) << run.output;
    EXPECT_TRUE(contains(run.output, "NOTES.TXT               1  -")) << run.output;
    EXPECT_TRUE(contains(run.output, "Attached: yes"));

    ASSERT_EQ(tovixPlayer("card none").code, 0);
    EXPECT_TRUE(contains(tovixPlayer("status").output, "Status bits: 2 (no card)"));
    ASSERT_EQ(tovixPlayer("detach").code, 0);
    const CommandResult detached = tovixPlayer("status");
    EXPECT_TRUE(contains(detached.output, "Attached: no"));
    EXPECT_FALSE(contains(detached.output, "Meeting notes.txt"));
}

TEST_F(PlayerTest, PlayerFolderFallsBackToTheUsersDataFolder)
{
    const std::string noPlayer = "env -u NEROLINK_PLAYER";
    ASSERT_EQ(tovixPlayer("init", noPlayer + " XDG_DATA_HOME='" + root_ + "/xdg'").code, 0);
    EXPECT_TRUE(fileExists(root_ + "/xdg/nerolink/player/player.ini"));
    ASSERT_EQ(tovixPlayer("init", noPlayer + " -u XDG_DATA_HOME HOME='" + root_ + "/home'").code, 0);
    EXPECT_TRUE(fileExists(root_ + "/home/.local/share/nerolink/player/player.ini"));
}

TEST_F(PlayerTest, AMemoryOfMoreFilesThanAListHoldsSaysHowManyAreHidden)
{
    ASSERT_EQ(tovixPlayer("init").code, 0);
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "REC%05d.VOC", i + 1);
        const std::string path = memoryPath("internal", name);
        std::ofstream(path) << "v";
        const struct timespec times[2] = {{time(nullptr) - 1000 + i, 0}, {time(nullptr) - 1000 + i, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    const auto info = refresh(mtInternal);
    EXPECT_EQ(info->FileCount, 255u);
    EXPECT_EQ(fieldText(info->Files[254].LongName), "REC00255.VOC");
    EXPECT_EQ(unlistedFileCount(*info), 45u);
    EXPECT_EQ(unlistedFileCount(*refresh(mtCard)), 0u);
    EXPECT_TRUE(contains(tovixPlayer("status").output, "  300 file(s), 45 hidden"));
}
