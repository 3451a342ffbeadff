// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player keeps only names a FAT drive could hold, compares them without
// regard to letter case, and refuses files a FAT drive cannot store.
#include "player_fixture.h"

#include "fat_names.h"

#include <fcntl.h>
#include <unistd.h>

using nerolink::isFatName;

TEST(FatNames, CharactersFatCannotHoldAndBadEndingsAreRefused)
{
    for (const char *bad : {"a\"b", "a*b", "a/b", "a:b", "a<b", "a>b", "a?b", "a\\b", "a|b",
                            "tab\there", "bell\x07", "del\x7f", "ends.", "ends ", "...", ""})
        EXPECT_FALSE(isFatName(bad)) << bad;
    for (const char *good : {"Meeting notes.txt", " leading blank", ".hidden", "a.b.c",
                             "Grüße aus Köln.txt", "[1] #2 $3 %4 &5 (6) +7 ,8 ;9 =10 @11.mp3"})
        EXPECT_TRUE(isFatName(good)) << good;
    EXPECT_FALSE(isFatName("caf\xc3")) << "cut off in the middle of a letter";
    EXPECT_FALSE(isFatName("over\xc0\xaflong")) << "an overlong encoding of /";
}

TEST(FatNames, LengthCountsUtf16CodeUnits)
{
    EXPECT_TRUE(isFatName(std::string(255, 'a')));
    EXPECT_FALSE(isFatName(std::string(256, 'a')));
    // A letter outside the basic plane takes two code units, é takes one.
    const std::string smile = "\xf0\x9f\x98\x80";
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += smile;
    EXPECT_TRUE(isFatName(wide + "a"));
    EXPECT_FALSE(isFatName(wide + "ab"));
    std::string accented;
    for (int i = 0; i < 255; ++i)
        accented += "\xc3\xa9";
    EXPECT_TRUE(isFatName(accented));
}

TEST(FatNames, LettersOfAnyCaseCompareEqual)
{
    using nerolink::fatComparisonKey;
    EXPECT_EQ(fatComparisonKey("Song.MP3"), fatComparisonKey("song.mp3"));
    EXPECT_EQ(fatComparisonKey("Zebra.az"), fatComparisonKey("zEBRA.AZ")) << "both ends of the alphabet";
    EXPECT_EQ(fatComparisonKey("ÄRGER.txt"), fatComparisonKey("ärger.TXT"));
    EXPECT_NE(fatComparisonKey("song1.mp3"), fatComparisonKey("song2.mp3"));
    EXPECT_NE(fatComparisonKey("a\xc3"), fatComparisonKey("A\xc3")) << "not UTF-8: compared as is";
}

TEST_F(PlayerTest, DownloadsRefuseNamesAFatDriveCannotHold)
{
    makePlayer();
    for (const char *bad : {"what?.txt", "a:b.txt", "pipe|d.txt", "quote\".txt", "ends.", "ends "}) {
        EXPECT_EQ(dll_fn_download_file(pcFile(bad, "x").c_str(), mtInternal), 0) << bad;
        EXPECT_FALSE(fileExists(memoryPath("internal", bad))) << bad;
    }
    EXPECT_EQ(dll_fn_download_file(pcFile("fine name.txt", "x").c_str(), mtInternal), 1);
}

TEST_F(PlayerTest, ANameDifferingOnlyInCaseCountsAsExistingOnThatMemory)
{
    makePlayer();
    ASSERT_EQ(dll_fn_download_file(pcFile("Song.mp3", "first").c_str(), mtInternal), 1);
    ASSERT_EQ(dll_fn_download_file(pcFile("Ärger.txt", "first").c_str(), mtInternal), 1);
    for (const char *other : {"SONG.MP3", "song.mp3", "ärger.TXT"})
        EXPECT_EQ(dll_fn_download_file(pcFile(other, "second").c_str(), mtInternal), 0) << other;
    EXPECT_EQ(readFile(memoryPath("internal", "Song.mp3")), "first");
    EXPECT_EQ(names(mtInternal), (std::vector<std::string>{"Song.mp3", "Ärger.txt"}));
    // The card is a drive of its own.
    EXPECT_EQ(dll_fn_download_file(pcPath("SONG.MP3").c_str(), mtCard), 1);
    // Once the file is gone the name is free again, in any case.
    ASSERT_EQ(dll_fn_delete_file(shortNameOf(mtInternal, "Song.mp3").c_str(), mtInternal), 1);
    EXPECT_EQ(dll_fn_download_file(pcPath("song.mp3").c_str(), mtInternal), 1);
}

TEST_F(PlayerTest, FilesOfFourGibibytesOrMoreAreRefused)
{
    makePlayer();
    setValue("Internal", "CapacityBytes", "17179869184");
    const std::string big = pcPath("big.bin");
    const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 4294967296LL), 0); // sparse: no blocks are written
    ::close(fd);
    EXPECT_EQ(dll_fn_download_file(big.c_str(), mtInternal), 0);
    EXPECT_FALSE(fileExists(memoryPath("internal", "big.bin")));
}
