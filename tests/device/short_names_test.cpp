// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "short_names.h"

#include <gtest/gtest.h>

#include <set>

using nerolink::isShortName;
using nerolink::isUnsafeShortName;
using nerolink::makeShortName;

namespace {

std::string shortFor(const std::string &name, const std::set<std::string> &taken = {})
{
    return makeShortName(name, [&](const std::string &s) { return taken.count(s) > 0; });
}

} // namespace

TEST(ShortNames, RecognisesUpperCaseEightDotThree)
{
    for (const char *good : {"A", "README.TXT", "REC00001.VOC", "12345678.123", "NO_EXT", "A-B~1.$$$"})
        EXPECT_TRUE(isShortName(good)) << good;
    for (const char *bad : {"", "readme.txt", "Readme.TXT", "NINECHARS.TXT", "A.ABCD", "A B.TXT",
                            ".TXT", "A.", "A.B.C", "CAF\xC3\x89.TXT", "A/B.TXT", "A+B.TXT"})
        EXPECT_FALSE(isShortName(bad)) << bad;
}

TEST(ShortNames, ValidNameIsItsOwnShortNameUnlessTaken)
{
    EXPECT_EQ(shortFor("REC00001.VOC"), "REC00001.VOC");
    EXPECT_EQ(shortFor("REC00001.VOC", {"REC00001.VOC"}), "REC000~1.VOC");
}

TEST(ShortNames, OtherNamesGetUpperCaseFormsAndNumberedTails)
{
    EXPECT_EQ(shortFor("readme.txt"), "README.TXT");
    EXPECT_EQ(shortFor("readme.txt", {"README.TXT"}), "README~1.TXT");
    EXPECT_EQ(shortFor("voice_mode0.VOC"), "VOICE_~1.VOC");
    EXPECT_EQ(shortFor("voice_mode1.VOC", {"VOICE_~1.VOC"}), "VOICE_~2.VOC");
    EXPECT_EQ(shortFor("Meeting notes.text"), "MEETIN~1.TEX");
    EXPECT_EQ(shortFor("Grüße aus Köln.txt"), "GREAUS~1.TXT");
    EXPECT_EQ(shortFor("archive.tar.gz"), "ARCHIV~1.GZ");
    EXPECT_EQ(shortFor("Read me.txt"), "README~1.TXT");
    EXPECT_EQ(shortFor(".hidden"), "HIDDEN~1");
    EXPECT_EQ(shortFor("ÄÖÜ"), "FILE~1");
}

TEST(ShortNames, TailsGrowPastNineAndStayEightDotThree)
{
    std::set<std::string> taken;
    for (int i = 0; i < 120; ++i) {
        const std::string name = shortFor("Long file name.mp3", taken);
        EXPECT_TRUE(isShortName(name)) << name;
        EXPECT_TRUE(taken.insert(name).second) << name;
    }
    EXPECT_TRUE(taken.count("LONGFI~9.MP3"));
    EXPECT_TRUE(taken.count("LONGF~10.MP3"));
    EXPECT_TRUE(taken.count("LONG~100.MP3"));
}

TEST(ShortNames, PathLikeNamesAreUnsafe)
{
    for (const char *bad : {"", ".", "..", "../X.TXT", "A/B", "/ETC"})
        EXPECT_TRUE(isUnsafeShortName(bad)) << bad;
    EXPECT_TRUE(isUnsafeShortName(nullptr));
    EXPECT_FALSE(isUnsafeShortName("README.TXT"));
    EXPECT_FALSE(isUnsafeShortName("...TXT"));
}
