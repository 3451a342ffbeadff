// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player's settings in player.ini: attachment, card states, write
// protection, capacities and limits, fault settings and a folder of its own.
#include "player_fixture.h"

#include "device/records.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <set>
#include <sys/statvfs.h>
#include <thread>

namespace fs = std::filesystem;

TEST_F(PlayerTest, DetachedPlayerAnswersNothingAndComesBackWithItsFiles)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("keep.txt", "k").c_str(), mtInternal), 1);
    setValue("Player", "Attached", "no");
    TPlayerVersion version;
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
    TMemoryInfo info;
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("new.txt", "n").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_format_device(mtInternal), 0);
    setValue("Player", "Attached", "yes");
    EXPECT_NE(dll_fn_get_player_version(&version), 0);
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"keep.txt"});
}

TEST_F(PlayerTest, CardStatesSetTheirStatusBitsAndCloseTheCard)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("card.txt", "c").c_str(), mtCard), 1);
    const std::string shortName = shortNameOf(mtCard, "card.txt");
    EXPECT_EQ(dll_fn_get_player_status(), 0);
    const std::pair<const char *, int32_t> states[] = {
        {"none", psNoCard}, {"wrong", psWrongCard}, {"corrupted", psCorruptedCard}};
    for (const auto &[state, bit] : states) {
        setValue("Player", "Card", state);
        EXPECT_EQ(dll_fn_get_player_status(), bit) << state;
        TMemoryInfo info;
        EXPECT_EQ(dll_fn_refresh_device(&info, mtCard), 0) << state;
        EXPECT_EQ(dll_fn_download_file(pcFile("more.txt", "m").c_str(), mtCard), 0) << state;
        EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath("up.txt").c_str(), mtCard), 0) << state;
        EXPECT_EQ(dll_fn_delete_file(shortName.c_str(), mtCard), 0) << state;
        EXPECT_EQ(dll_fn_format_device(mtCard), 0) << state;
        EXPECT_EQ(refresh(mtInternal)->FileCount, 0u) << state; // internal memory still reads
    }
    setValue("Player", "Card", "ok");
    EXPECT_EQ(dll_fn_get_player_status(), 0);
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"card.txt"});
}

TEST_F(PlayerTest, WriteProtectionRefusesChangesButNotUploads)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("old.txt", "old").c_str(), mtInternal), 1);
    setValue("Player", "WriteProtected", "yes");
    setValue("Player", "Card", "wrong");
    EXPECT_EQ(dll_fn_get_player_status(), static_cast<int32_t>(psWriteProtected | psWrongCard));
    setValue("Player", "Card", "ok");
    EXPECT_EQ(dll_fn_get_player_status(), static_cast<int32_t>(psWriteProtected));
    const std::string shortName = shortNameOf(mtInternal, "old.txt");
    EXPECT_EQ(dll_fn_download_file(pcFile("new.txt", "new").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_delete_file(shortName.c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_format_device(mtInternal), 0);
    EXPECT_EQ(dll_fn_format_device(mtCard), 0);
    EXPECT_EQ(dll_fn_upload_file(shortName.c_str(), pcPath("up.txt").c_str(), mtInternal), 1);
    EXPECT_EQ(readFile(pcPath("up.txt")), "old");
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"old.txt"});
}

TEST_F(PlayerTest, DownloadMustFitTheFreeSpace)
{
    makePlayer(1000);
    ASSERT_EQ(dll_fn_download_file(pcFile("six.bin", std::string(600, 'x')).c_str(), mtInternal), 1);
    EXPECT_EQ(dll_fn_download_file(pcFile("five.bin", std::string(401, 'y')).c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("four.bin", std::string(400, 'z')).c_str(), mtInternal), 1);
    const auto info = refresh(mtInternal);
    EXPECT_EQ(info->FreeBytes, 0u);
    EXPECT_EQ(info->FileCount, 2u);
    EXPECT_EQ(dll_fn_download_file(pcFile("empty.bin", "").c_str(), mtInternal), 1);
}

TEST_F(PlayerTest, FreeBytesNeverExceedTotalOrGoBelowZero)
{
    makePlayer(100);
    // Files put in by hand can take more than the capacity.
    std::ofstream(memoryPath("internal", "big.bin")) << std::string(250, 'b');
    const auto info = refresh(mtInternal);
    EXPECT_EQ(info->TotalBytes, 100u);
    EXPECT_EQ(info->FreeBytes, 0u);
    EXPECT_EQ(info->FileCount, 1u);
}

TEST_F(PlayerTest, AMemoryHoldsAtMost255Files)
{
    makePlayer();
    for (int i = 0; i < 254; ++i)
        std::ofstream(memoryPath("internal", "file " + std::to_string(i) + ".txt")) << "x";
    ASSERT_EQ(dll_fn_download_file(pcFile("last one.txt", "x").c_str(), mtInternal), 1);
    EXPECT_EQ(dll_fn_download_file(pcFile("one too many.txt", "x").c_str(), mtInternal), 0);
    EXPECT_FALSE(fileExists(memoryPath("internal", "one too many.txt")));
    const auto info = refresh(mtInternal);
    EXPECT_EQ(info->FileCount, 255u);
    std::set<std::string> shortNames;
    for (uint32_t i = 0; i < info->FileCount; ++i)
        shortNames.insert(fieldText(info->Files[i].ShortName));
    EXPECT_EQ(shortNames.size(), 255u);
    EXPECT_EQ(displayName(info->Files[254]), "last one.txt");
    EXPECT_EQ(dll_fn_download_file(pcFile("card is separate.txt", "x").c_str(), mtCard), 1);

    // More files put in by hand are not listed past the record's 255 entries.
    std::ofstream(memoryPath("internal", "by hand.txt")) << "h";
    EXPECT_EQ(refresh(mtInternal)->FileCount, 255u);
    EXPECT_EQ(displayName(refresh(mtInternal)->Files[254]), "last one.txt");
}

TEST_F(PlayerTest, NamesLongerThanTheLongNameFieldAreRefusedNotCut)
{
    makePlayer();
    const std::string longest = std::string(191, 'n') + ".txt";        // 195 bytes: fills the field
    const std::string tooLong = std::string(192, 'n') + ".txt";        // 196 bytes
    const std::string wideTooLong = std::string(190, 'n') + "\xC3\xA9.txt"; // 196 bytes, 195 characters
    ASSERT_EQ(dll_fn_download_file(pcFile(longest, "l").c_str(), mtInternal), 1);
    EXPECT_EQ(dll_fn_download_file(pcFile(tooLong, "t").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile(wideTooLong, "w").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile("tab\there.txt", "t").c_str(), mtInternal), 0);
    EXPECT_EQ(dll_fn_download_file(pcFile(".nerolink-part-x", "t").c_str(), mtInternal), 0);
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{longest});
    EXPECT_EQ(folderEntries(player_ + "/internal"), std::vector<std::string>{longest});
}

TEST_F(PlayerTest, RefreshFailureIsSetPerMemory)
{
    makePlayer();
    TMemoryInfo info;
    setValue("Faults", "FailRefresh", "card");
    EXPECT_EQ(dll_fn_refresh_device(&info, mtCard), 0);
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 1);
    setValue("Faults", "FailRefresh", "internal");
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 0);
    EXPECT_EQ(dll_fn_refresh_device(&info, mtCard), 1);
    // A failed refresh leaves the caller's record as it was.
    info.FileCount = 42;
    EXPECT_EQ(dll_fn_refresh_device(&info, mtInternal), 0);
    EXPECT_EQ(info.FileCount, 42u);
    EXPECT_EQ(dll_fn_download_file(pcFile("still works.txt", "s").c_str(), mtInternal), 1);
    setValue("Faults", "FailRefresh", "none");
    EXPECT_EQ(names(mtInternal), std::vector<std::string>{"still works.txt"});
}

TEST_F(PlayerTest, DelaySlowsEachOperationButNotTheReads)
{
    makePlayer();
    setValue("Faults", "DelayMs", "150");
    const auto timed = [](auto &&work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::steady_clock::now() - start;
    };
    using std::chrono::milliseconds;
    EXPECT_GE(timed([&] { EXPECT_EQ(dll_fn_download_file(pcFile("d.txt", "d").c_str(), mtInternal), 1); }),
              milliseconds(150));
    EXPECT_LT(timed([&] { refresh(mtInternal); }), milliseconds(150));
    EXPECT_GE(timed([&] { EXPECT_EQ(dll_fn_upload_file("D.TXT", pcPath("u").c_str(), mtInternal), 1); }),
              milliseconds(150));
    EXPECT_GE(timed([&] { EXPECT_EQ(dll_fn_delete_file("D.TXT", mtInternal), 1); }), milliseconds(150));
    EXPECT_GE(timed([&] { EXPECT_EQ(dll_fn_format_device(mtCard), 1); }), milliseconds(150));
}

// A slow player: a megabyte at 1,000,000 bytes per second takes about a second each way,
// and an upload grows in its destination meanwhile, so a reader can follow it.
TEST_F(PlayerTest, ARateLimitedTransferTakesItsTimeAndGrowsAsItGoesThreads)
{
    using namespace std::chrono;
    makePlayer();
    std::string bytes(1000000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    setValue("Faults", "RateBytesPerSecond", "1000000");
    auto start = steady_clock::now();
    ASSERT_EQ(dll_fn_download_file(pcFile("LONG.VOC", bytes).c_str(), mtInternal), 1);
    EXPECT_GE(steady_clock::now() - start, milliseconds(950));
    EXPECT_EQ(readFile(memoryPath("internal", "LONG.VOC")), bytes);

    std::atomic<bool> done{false};
    start = steady_clock::now();
    std::thread upload([&] {
        EXPECT_EQ(dll_fn_upload_file("LONG.VOC", pcPath("c").c_str(), mtInternal), 1);
        done = true;
    });
    std::set<std::uintmax_t> partSizes;
    for (std::error_code error; !done; std::this_thread::sleep_for(milliseconds(40))) {
        const std::uintmax_t size = fs::file_size(pcPath("c"), error);
        if (!error && size > 0 && size < bytes.size())
            partSizes.insert(size);
    }
    upload.join();
    EXPECT_GE(steady_clock::now() - start, milliseconds(950));
    EXPECT_LT(steady_clock::now() - start, seconds(5));
    EXPECT_GE(partSizes.size(), 5u) << "the copy did not grow in its destination";
    EXPECT_EQ(readFile(pcPath("c")), bytes);
}

TEST_F(PlayerTest, AMemoryCanBeAnyFolderWithSpaceFromItsFileSystem)
{
    makePlayer();
    const std::string usb = root_ + "/mounted player";
    fs::create_directories(usb);
    std::ofstream(usb + "/ALREADY.MP3") << "on the stick";
    setValue("Card", "Folder", usb);
    const auto info = refresh(mtCard);
    struct statvfs fsInfo;
    ASSERT_EQ(::statvfs(usb.c_str(), &fsInfo), 0);
    const uint64_t total = static_cast<uint64_t>(fsInfo.f_blocks) * fsInfo.f_frsize;
    EXPECT_EQ(info->TotalBytes, static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX)));
    EXPECT_LE(info->FreeBytes, info->TotalBytes);
    EXPECT_GT(info->FreeBytes, 0u);
    EXPECT_EQ(names(mtCard), std::vector<std::string>{"ALREADY.MP3"});
    ASSERT_EQ(dll_fn_download_file(pcFile("new song.mp3", "new").c_str(), mtCard), 1);
    EXPECT_EQ(readFile(usb + "/new song.mp3"), "new");
    // The short names are kept in the player folder, not on the stick.
    EXPECT_EQ(folderEntries(usb), (std::vector<std::string>{"ALREADY.MP3", "new song.mp3"}));
    setValue("Card", "Folder", root_ + "/unplugged");
    TMemoryInfo none;
    EXPECT_EQ(dll_fn_refresh_device(&none, mtCard), 0);
}

TEST_F(PlayerTest, StateChangesShowAtTheNextCall)
{
    makePlayer();
    TPlayerVersion version;
    EXPECT_NE(dll_fn_get_player_version(&version), 0);
    ASSERT_EQ(system(("sed -i 's/^Attached=yes/Attached=no/' '" + player_ + "/player.ini'").c_str()), 0);
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
}

namespace {

std::string threadFileName(int thread, int file)
{
    std::string name = "t";
    name += std::to_string(thread);
    name += " file ";
    name += std::to_string(file);
    name += ".txt";
    return name;
}

} // namespace

TEST_F(PlayerTest, ThreadsCallingAtOnceAreServedOneAtATime)
{
    makePlayer();
    constexpr int kThreads = 4;
    constexpr int kFilesEach = 8;
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kFilesEach; ++i)
            pcFile(threadFileName(t, i), "x");
    std::vector<std::thread> threads;
    std::atomic<int> stored{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kFilesEach; ++i) {
                const std::string path = pcPath(threadFileName(t, i));
                stored += dll_fn_download_file(path.c_str(), t % 2 ? mtCard : mtInternal);
                TMemoryInfo *info = new TMemoryInfo;
                dll_fn_refresh_device(info, mtInternal);
                delete info;
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(stored, kThreads * kFilesEach);
    for (int32_t target : {mtInternal, mtCard}) {
        const auto info = refresh(target);
        EXPECT_EQ(info->FileCount, static_cast<uint32_t>(kThreads * kFilesEach / 2));
        std::set<std::string> shortNames;
        for (uint32_t i = 0; i < info->FileCount; ++i)
            shortNames.insert(fieldText(info->Files[i].ShortName));
        EXPECT_EQ(shortNames.size(), info->FileCount);
    }
}
