// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/ini.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/ini_test_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        path = (dir / "settings.ini").string();
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    void put(const std::string &bytes) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string bytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir;
    std::string path;
};

TEST_F(IniTest, MissingFileGivesDefaultsAndFirstWritesCreateItInOrder)
{
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("Window", "Width", 640), 640);
    EXPECT_EQ(ini.readString("Explorer", "Directory", "/home/u"), "/home/u");
    EXPECT_FALSE(fs::exists(path));

    ini.writeInteger("Window", "Left", 0);
    ini.writeInteger("Window", "Top", -20);
    ini.writeInteger("Window", "Width", 640);
    ini.writeInteger("Window", "Height", 480);
    ini.writeString("Explorer", "Directory", "/home/u/Music");
    ini.writeInteger("Window", "FolderTree", 150);
    ini.writeInteger("Window", "Explorer", 394);
    ini.writeInteger("Window", "FolderTreeStyle", 3);
    EXPECT_EQ(bytes(), "[Window]\nLeft=0\nTop=-20\nWidth=640\nHeight=480\nFolderTree=150\n"
                       "Explorer=394\nFolderTreeStyle=3\n[Explorer]\nDirectory=/home/u/Music\n");
    EXPECT_EQ(IniFile(path).readInteger("Window", "Top", 0), -20);
    EXPECT_EQ(IniFile(path).readString("Explorer", "Directory", ""), "/home/u/Music");
}

TEST_F(IniTest, IntegersReadDecimalHexOrTheDefault)
{
    put("[Window]\nLetters=abc\nHex=0x10\nHexUpper=0X1f\nNegative=-35\nPlus=+7\n"
        "Blanks= \t42  \nJunk=12px\nBareHex=0x\nBadHex=0x1g\nAllBits=0xFFFFFFFF\n"
        "TooBig=2147483648\nLeast=-2147483648\nTooSmall=-2147483649\nEmpty=\n"
        "Minus=-\nSignedHex=-0x10\nSpaced=1 2\nLong=0x000000010\n");
    const IniFile ini(path);
    auto read = [&](const char *key) { return ini.readInteger("Window", key, 99); };
    EXPECT_EQ(read("Letters"), 99);
    EXPECT_EQ(read("Hex"), 16);
    EXPECT_EQ(read("HexUpper"), 31);
    EXPECT_EQ(read("Negative"), -35);
    EXPECT_EQ(read("Plus"), 7);
    EXPECT_EQ(read("Blanks"), 42);
    EXPECT_EQ(read("Junk"), 99);
    EXPECT_EQ(read("BareHex"), 99);
    EXPECT_EQ(read("BadHex"), 99);
    EXPECT_EQ(read("AllBits"), -1);
    EXPECT_EQ(read("TooBig"), 99);
    EXPECT_EQ(read("Least"), INT_MIN);
    EXPECT_EQ(read("TooSmall"), 99);
    EXPECT_EQ(read("Empty"), 99);
    EXPECT_EQ(read("Minus"), 99);
    EXPECT_EQ(read("SignedHex"), 99);
    EXPECT_EQ(read("Spaced"), 99);
    EXPECT_EQ(read("Long"), 16);
    EXPECT_EQ(read("Missing"), 99);
    EXPECT_EQ(ini.readInteger("Nowhere", "Hex", 5), 5);
}

TEST_F(IniTest, NamesMatchInAnyCaseAndTheFirstOneWins)
{
    put("; top comment\n[ window ]\n  LEFT = 12 \nleft=13\n[Other]\nTop=1\n[WINDOW]\nTop=2\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 12);
    EXPECT_EQ(ini.readInteger("Window", "Top", 0), 0);
    EXPECT_EQ(ini.readString("window", "left", "-"), "12");
    EXPECT_EQ(ini.readInteger(" Window\t", "Left ", 0), 12);

    ini.writeInteger("Window", "Left", 7);
    ini.writeInteger("Window", "Top", 8);
    EXPECT_EQ(bytes(), "; top comment\n[ window ]\nLeft=7\nleft=13\nTop=8\n[Other]\nTop=1\n"
                       "[WINDOW]\nTop=2\n");
}

TEST_F(IniTest, UnknownContentIsKeptByteForByte)
{
    const std::string before = "\xEF\xBB\xBF[Window]\r\nLeft=1\r\nColour=blue ; mine\r\n"
                               "# note\r\n\r\n[Player]\r\nName=X=Y\r\n\r\n[Extra]\r\nflag";
    put(before);
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 1);
    EXPECT_EQ(ini.readString("Player", "Name", ""), "X=Y");
    EXPECT_EQ(ini.readString("Extra", "flag", "none"), "none");

    ini.writeInteger("Window", "Left", 300);
    ini.writeInteger("Window", "Height", 480);
    ini.writeString("Explorer", "Directory", "/data");
    ini.writeString("Player", "Empty", "");
    EXPECT_EQ(bytes(), "\xEF\xBB\xBF[Window]\r\nLeft=300\r\nColour=blue ; mine\r\n# note\r\n"
                       "Height=480\r\n\r\n[Player]\r\nName=X=Y\r\nEmpty=\r\n\r\n[Extra]\r\nflag"
                       "\r\n[Explorer]\r\nDirectory=/data\r\n");
    EXPECT_EQ(ini.readString("Player", "Empty", "default"), "");
}

TEST_F(IniTest, EveryReadSeesTheFileAsItIsNow)
{
    IniFile ini(path);
    ini.writeInteger("Window", "Left", 5);
    put("[Window]\nLeft=0x20\n");
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 32);
    fs::remove(path);
    EXPECT_EQ(ini.readInteger("Window", "Left", -1), -1);
}

TEST_F(IniTest, WritesKeepTheFilesModeAndLinks)
{
    put("[A]\nx=1\n");
    ::chmod(path.c_str(), 0640);
    const fs::path link = dir / "link.ini";
    fs::create_symlink(path, link);
    IniFile(link.string()).writeInteger("A", "x", 2);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytes(), "[A]\nx=2\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(IniTest, AnUnwritablePlaceRaisesUnableToWrite)
{
    // A parent that is a regular file refuses everyone, root included.
    put("[A]\n");
    const std::string inside = path + "/settings.ini";
    IniFile ini(inside);
    EXPECT_EQ(ini.readInteger("Window", "Left", 4), 4);
    try {
        ini.writeInteger("Window", "Left", 1);
        FAIL() << "the write should fail";
    } catch (const IniWriteError &e) {
        EXPECT_STREQ(e.what(), ("Unable to write to " + inside).c_str());
        EXPECT_EQ(e.path(), inside);
    }
    EXPECT_THROW(IniFile(dir.string()).writeInteger("A", "b", 1), IniWriteError);
    EXPECT_EQ(bytes(), "[A]\n");
}

TEST_F(IniTest, AReadOnlyFolderKeepsTheFileAsItWas)
{
    put("[A]\nx=1\n");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                             | fs::perms::group_exec | fs::perms::others_read
                             | fs::perms::others_exec);
    // Permissions do not bind root, so the write runs as nobody in a child process.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
            try {
                IniFile(path).writeInteger("A", "x", 2);
            } catch (const IniWriteError &e) {
                ::_exit(e.what() == "Unable to write to " + path ? 0 : 3);
            }
            ::_exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(bytes(), "[A]\nx=1\n");
}

TEST_F(IniTest, AReadOnlyFileInAWritableFolderIsNotReplaced)
{
    put("[A]\nx=1\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_THROW(IniFile(path).writeInteger("A", "x", 2), IniWriteError);
    EXPECT_EQ(bytes(), "[A]\nx=1\n");

    // Someone else's file in a folder anyone may write: the rename would still replace it.
    ::chmod(path.c_str(), 0644);
    fs::permissions(dir, fs::perms::all);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
            try {
                IniFile(path).writeInteger("A", "x", 3);
            } catch (const IniWriteError &) {
                ::_exit(0);
            }
            ::_exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(bytes(), "[A]\nx=1\n");
}

TEST_F(IniTest, WhatNoLineCanHoldIsRefusedAndNothingChanges)
{
    put("[A]\nx=1\n");
    IniFile ini(path);
    EXPECT_THROW(ini.writeString("A", "x", "two\nlines"), IniWriteError);
    EXPECT_THROW(ini.writeString("A", "y=z", "1"), IniWriteError);
    EXPECT_THROW(ini.writeString("A]", "x", "1"), IniWriteError);
    EXPECT_THROW(ini.writeString("A", "", "1"), IniWriteError);
    EXPECT_THROW(ini.writeString("A", "[B]", "1"), IniWriteError);
    EXPECT_EQ(bytes(), "[A]\nx=1\n");
}

} // namespace
