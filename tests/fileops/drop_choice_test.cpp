// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/drop_choice.h"

#include "fileops_fixture.h"

#include <sys/stat.h>

namespace {

class DropChoice : public FileOpsTest {};

TEST_F(DropChoice, OneFileSystemMovesAndModifiersDecide)
{
    write(src("a.mp3"), "a");
    write(src("b.mp3"), "b");
    const QStringList files = {src("a.mp3"), src("b.mp3")};
    const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
    EXPECT_EQ(chooseDropAction(files, dst(), Qt::NoModifier, both), Qt::MoveAction);
    EXPECT_EQ(chooseDropAction(files, dst(), Qt::ControlModifier, both), Qt::CopyAction);
    EXPECT_EQ(chooseDropAction(files, dst(), Qt::ShiftModifier, both), Qt::MoveAction);
    EXPECT_EQ(chooseDropAction(files, dst(), Qt::NoModifier, Qt::CopyAction), Qt::CopyAction)
        << "a source that only lets copy";
    EXPECT_EQ(chooseDropAction(files, dst(), Qt::ShiftModifier, Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(chooseDropAction(files, src(), Qt::NoModifier, both), Qt::IgnoreAction) << "already there";
    EXPECT_EQ(chooseDropAction(files, src(), Qt::ControlModifier, both), Qt::CopyAction);
    EXPECT_EQ(chooseDropAction({}, dst(), Qt::NoModifier, both), Qt::IgnoreAction);
}

TEST_F(DropChoice, AFolderIsNotDroppedIntoItselfAndOtherFileSystemsCopy)
{
    ASSERT_TRUE(QDir().mkpath(src("Music/Album")));
    const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
    EXPECT_EQ(chooseDropAction({src("Music")}, src("Music"), Qt::ControlModifier, both), Qt::IgnoreAction);
    EXPECT_EQ(chooseDropAction({src("Music")}, src("Music/Album"), Qt::NoModifier, both), Qt::IgnoreAction);
    EXPECT_EQ(chooseDropAction({src("Music/Album")}, src("Music"), Qt::ControlModifier, both), Qt::CopyAction);
    EXPECT_EQ(chooseDropAction({src("Mus")}, src("Music"), Qt::ControlModifier, both), Qt::CopyAction)
        << "a name that only begins alike";

    struct stat shm {}, here {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(src()).constData(), &here) != 0
        || shm.st_dev == here.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    EXPECT_FALSE(onSameFileSystem(src("Music"), "/dev/shm"));
    EXPECT_TRUE(onSameFileSystem(src("Music"), dst()));
    EXPECT_EQ(chooseDropAction({src("Music")}, "/dev/shm", Qt::NoModifier, both), Qt::CopyAction);
    EXPECT_EQ(chooseDropAction({src("Music")}, "/dev/shm", Qt::ShiftModifier, both), Qt::MoveAction);
    EXPECT_EQ(chooseDropAction({src("Music"), "/dev/shm"}, dst(), Qt::NoModifier, both), Qt::CopyAction)
        << "one file from elsewhere makes it a copy";
}

} // namespace
