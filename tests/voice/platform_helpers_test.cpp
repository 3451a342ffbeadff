// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The path rules and exclusive opening that the conversion and the queue rely on.
#include "platform/exclusive_open.h"
#include "platform/paths.h"
#include "platform/pending_file.h"
#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(Paths, NameExtensionAndFolderComeFromTheLastSeparator)
{
    EXPECT_EQ(extractFileName("/a.b/c/REC.VOC"), "REC.VOC");
    EXPECT_EQ(extractFileName("plain"), "plain");
    EXPECT_EQ(extractFileName("/dir/"), "");
    EXPECT_EQ(extractFileExt("/a.b/c/REC.VOC"), ".VOC");
    EXPECT_EQ(extractFileExt("/a.b/c/REC"), "");
    EXPECT_EQ(extractFileExt("x.tar.gz"), ".gz");
    EXPECT_EQ(extractFileExt("dot."), ".");
    EXPECT_EQ(extractFileDir("/a.b/c/REC.VOC"), "/a.b/c");
    EXPECT_EQ(extractFileDir("/REC.VOC"), "/");
    EXPECT_EQ(extractFileDir("REC.VOC"), "");
}

TEST(Paths, ChangeFileExtTouchesOnlyTheFileName)
{
    EXPECT_EQ(changeFileExt("/x/REC.VOC", ".wav"), "/x/REC.wav");
    EXPECT_EQ(changeFileExt("/x.y/REC", ".wav"), "/x.y/REC.wav");
    EXPECT_EQ(changeFileExt("a.b.c", ".wav"), "a.b.wav");
    EXPECT_EQ(changeFileExt("dot.", ".wav"), "dot.wav");
    EXPECT_EQ(changeFileExt("REC.VOC", ""), "REC");
}

TEST(Paths, JoinPathNeverDoublesTheSeparator)
{
    EXPECT_EQ(joinPath("/home/u", "a.wav"), "/home/u/a.wav");
    EXPECT_EQ(joinPath("/home/u/", "a.wav"), "/home/u/a.wav");
    EXPECT_EQ(joinPath("/home/u/", "/a.wav"), "/home/u/a.wav");
    EXPECT_EQ(joinPath("/", "a.wav"), "/a.wav");
    EXPECT_EQ(joinPath("", "a.wav"), "a.wav");
}

TEST(Paths, SafePlainNamesRefuseEverythingThatLeavesTheFolder)
{
    EXPECT_TRUE(isSafePlainName("REC001.VOC"));
    EXPECT_TRUE(isSafePlainName("..hidden"));
    for (std::string_view bad : {"", ".", "..", "../x", "a/b", "/abs"})
        EXPECT_FALSE(isSafePlainName(bad)) << bad;
    EXPECT_FALSE(isSafePlainName(std::string_view("a\0b", 3)));
}

TEST(ExclusiveOpen, ReadingRefusesLockedMissingAndNonRegularFiles)
{
    ScratchDir dir;
    const std::string path = dir.file("f");
    writeBytes(path, "12345");

    UniqueFd first = openExclusiveRead(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(fileLength(first), 5);
    EXPECT_FALSE(openExclusiveRead(path)) << "a second opener must be refused";
    EXPECT_EQ(errno, EWOULDBLOCK);
    first.reset();
    EXPECT_TRUE(openExclusiveRead(path)) << "the lock goes with the descriptor";

    EXPECT_FALSE(openExclusiveRead(dir.file("missing")));
    EXPECT_FALSE(openExclusiveRead(dir.path()));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(openExclusiveRead(dir.file("fifo"))) << "and without blocking";
}

TEST(ExclusiveOpen, CreatingEmptiesAFileButNotOneLockedElsewhere)
{
    ScratchDir dir;
    const std::string path = dir.file("w");
    writeBytes(path, "previous contents");
    {
        UniqueFd created = createExclusiveReadWrite(path);
        ASSERT_TRUE(created);
        EXPECT_EQ(fileLength(created), 0);
        EXPECT_EQ(::write(created.get(), "ab", 2), 2);
        EXPECT_TRUE(created.close());
        EXPECT_FALSE(created.isValid());
    }
    EXPECT_EQ(readBytes(path), "ab");

    UniqueFd holder = openExclusiveRead(path);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(createExclusiveReadWrite(path));
    EXPECT_EQ(readBytes(path), "ab") << "a refused create must not truncate";
    EXPECT_FALSE(createExclusiveReadWrite(dir.path()));

    UniqueFd moved = std::move(holder);
    EXPECT_FALSE(holder.isValid());
    EXPECT_TRUE(moved.isValid());
    EXPECT_EQ(fileLength(UniqueFd()), -1);
}

TEST(PendingFile, NothingShowsUntilPublishedAndThenTheWholeFile)
{
    ScratchDir dir;
    writeBytes(dir.file("target"), "old");
    {
        PendingFile unfinished(dir.path(), ".part-");
        ASSERT_TRUE(unfinished.isValid());
        EXPECT_EQ(::write(unfinished.fd(), "lost", 4), 4);
    }
    PendingFile file(dir.path(), ".part-");
    ASSERT_TRUE(file.isValid());
    EXPECT_EQ(::write(file.fd(), "new", 3), 3);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"target"});

    EXPECT_FALSE(file.publish(dir.file("target"), false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(readBytes(dir.file("target")), "old");
    ASSERT_TRUE(file.publish(dir.file("target"), true));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(readBytes(dir.file("target")), "new");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"target"});

    PendingFile fresh(dir.path(), ".part-", dir.path());
    ASSERT_TRUE(fresh.publish(dir.file("other"), false));
    EXPECT_FALSE(fresh.publish(dir.file("again"), true)) << "a file is published once";
}

TEST(PendingFile, SweepRemovesOnlyLeftoversNoOneHolds)
{
    ScratchDir dir;
    for (const char *name : {".part-dead01", ".part-live01", "keep.part-", ".other"})
        writeBytes(dir.file(name), "x");
    ASSERT_EQ(::mkdir(dir.file(".part-folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("keep.part-", dir.file(".part-link01").c_str()), 0);
    const int writer = ::open(dir.file(".part-live01").c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    sweepAbandoned(dir.path(), ".part-");
    ::close(writer);
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{".other", ".part-folder", ".part-link01", ".part-live01",
                                        "keep.part-"}));
}

// A user's file that only starts like a temporary, or one of another user, is never swept.
TEST(PendingFile, SweepTakesOnlyTheTemporariesExactFormAndOwnFiles)
{
    ScratchDir dir;
    const std::vector<std::string> lookAlikes = {".part-", ".part-draft.txt", ".part-dead0",
                                                 ".part-dead012", ".part-dea_01", ".part-dead01~"};
    for (const std::string &name : lookAlikes)
        writeBytes(dir.file(name), "mine");
    writeBytes(dir.file(".part-Xy9z0Q"), "left over");
    std::vector<std::string> kept = lookAlikes;
    if (::geteuid() == 0) { // only root can give a file away
        writeBytes(dir.file(".part-theirs"), "theirs");
        ASSERT_EQ(::chown(dir.file(".part-theirs").c_str(), 65534, 65534), 0);
        kept.push_back(".part-theirs");
    }
    std::sort(kept.begin(), kept.end());

    sweepAbandoned(dir.path(), ".part-");
    EXPECT_EQ(folderEntries(dir.path()), kept);
    for (const std::string &name : lookAlikes)
        EXPECT_EQ(readBytes(dir.file(name)), "mine") << name;
}

} // namespace
