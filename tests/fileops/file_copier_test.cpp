// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops_fixture.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class FileCopierTest : public FileOpsTest {};

TEST_F(FileCopierTest, FoldersAreCopiedWholeWithLinksAsLinksModesAndTimes)
{
    write(src("Album/one.mp3"), "first");
    write(src("Album/deep/two.mp3"), QByteArray(3 << 20, 'x'));
    ASSERT_TRUE(QDir().mkpath(src("Album/empty")));
    ASSERT_EQ(::symlink("deep/two.mp3", QFile::encodeName(src("Album/link")).constData()), 0);
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(src("Album/dangling")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(src("Album/pipe")).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(src("Album/one.mp3")).constData(), 0640), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(src("Album/deep")).constData(), 0750), 0);
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1'000'000'000);
    QFile one(src("Album/one.mp3"));
    ASSERT_TRUE(one.open(QIODevice::ReadWrite) && one.setFileTime(old, QFileDevice::FileModificationTime));
    one.close();

    const FileOperationResult result = run(FileOperation::Copy, {src("Album")}, dst());
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(result.placed, QStringList{"Album"});
    EXPECT_EQ(entries(dst()), QStringList{"Album"}) << "no temporary is left beside it";
    EXPECT_EQ(entries(dst("Album")), QStringList({"dangling", "deep", "empty", "link", "one.mp3", "pipe"}));
    EXPECT_EQ(read(dst("Album/one.mp3")), "first");
    EXPECT_EQ(read(dst("Album/deep/two.mp3")), QByteArray(3 << 20, 'x'));
    EXPECT_EQ(QFileInfo(dst("Album/link")).symLinkTarget(), dst("Album/deep/two.mp3"));
    EXPECT_TRUE(QFileInfo(dst("Album/dangling")).isSymLink());
    EXPECT_TRUE(S_ISFIFO([&] { struct stat st {}; ::lstat(QFile::encodeName(dst("Album/pipe")).constData(), &st); return st.st_mode; }()));
    EXPECT_EQ(modeOf(dst("Album/one.mp3")), 0640u);
    EXPECT_EQ(modeOf(dst("Album/deep")), 0750u);
    EXPECT_EQ(QFileInfo(dst("Album/one.mp3")).lastModified(), old);
    EXPECT_EQ(read(src("Album/one.mp3")), "first") << "the original stays";
    EXPECT_EQ(copier.progress().done, 5 + (3 << 20));
    EXPECT_EQ(copier.progress().total, 5 + (3 << 20));
}

TEST_F(FileCopierTest, AMoveOnOneFileSystemIsARename)
{
    write(src("a.wav"), "a");
    write(src("dir/b.wav"), "b");
    const ino_t before = inodeOf(src("a.wav"));
    const FileOperationResult result = run(FileOperation::Move, {src("a.wav"), src("dir")}, dst());
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(inodeOf(dst("a.wav")), before);
    EXPECT_EQ(read(dst("dir/b.wav")), "b");
    EXPECT_TRUE(entries(src()).isEmpty());
    EXPECT_EQ(copier.progress().total, 0) << "nothing to copy";
}

TEST_F(FileCopierTest, AMoveAcrossFileSystemsCopiesThenRemovesTheSources)
{
    QTemporaryDir shm(QStringLiteral("/dev/shm/tovix-test-XXXXXX"));
    struct stat a {}, b {};
    if (!shm.isValid() || ::stat("/dev/shm", &a) != 0 || ::stat(QFile::encodeName(src()).constData(), &b) != 0
        || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    write(src("dir/b.wav"), "b");
    write(src("a.wav"), "a");
    const FileOperationResult result = copier.run({FileOperation::Move, {src("dir"), src("a.wav")}, shm.path()});
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(read(shm.filePath("dir/b.wav")), "b");
    EXPECT_EQ(read(shm.filePath("a.wav")), "a");
    EXPECT_TRUE(entries(src()).isEmpty());
    EXPECT_EQ(entries(shm.path()), QStringList({"a.wav", "dir"}));

    // Cut short by a later item, the move leaves every source where it was.
    write(src("c.wav"), "c");
    const FileOperationResult cut = copier.run({FileOperation::Move, {src("c.wav"), src("gone.wav")}, shm.path()});
    EXPECT_EQ(cut.outcome, FileOperationResult::Failed);
    EXPECT_EQ(read(src("c.wav")), "c");
    EXPECT_EQ(entries(shm.path()), QStringList({"a.wav", "dir"}));
}

// What is written into a source folder, or changed in it, while the move runs
// (here while its question waits) was never copied, so it stays, and is named.
TEST_F(FileCopierTest, AMoveAcrossFileSystemsLeavesWhatChangedWhileItRan)
{
    QTemporaryDir shm(QStringLiteral("/dev/shm/tovix-test-XXXXXX"));
    struct stat a {}, b {};
    if (!shm.isValid() || ::stat("/dev/shm", &a) != 0 || ::stat(QFile::encodeName(src()).constData(), &b) != 0
        || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    write(src("dir/b.wav"), "b");
    write(src("dir/c.wav"), "c");
    write(src("dir/sub/d.wav"), "d");
    write(src("a.wav"), "a");
    write(shm.filePath("a.wav"), "old a");
    copier.askClash = [&](const ClashQuestion &) {
        write(src("dir/sub/added.wav"), "added");
        write(src("dir/c.wav"), "c, changed");
        return ClashChoice::Replace;
    };
    const FileOperationResult result = copier.run({FileOperation::Move, {src("dir"), src("a.wav")}, shm.path()});
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(read(shm.filePath("dir/c.wav")), "c");
    EXPECT_EQ(read(shm.filePath("dir/sub/d.wav")), "d");
    EXPECT_EQ(read(shm.filePath("a.wav")), "a");
    EXPECT_EQ(entries(src()), QStringList{"dir"});
    EXPECT_EQ(entries(src("dir")), QStringList({"c.wav", "sub"}));
    EXPECT_EQ(entries(src("dir/sub")), QStringList{"added.wav"});
    EXPECT_EQ(read(src("dir/c.wav")), "c, changed");
    EXPECT_EQ(result.leftBehind, QStringList({src("dir/c.wav"), src("dir/sub")}));
    EXPECT_EQ(copyNotice(result), QString("Not removed from where they were, as they changed during the move: "
                                          "\"%1\", \"%2\".").arg(src("dir/c.wav"), src("dir/sub")));
}

TEST_F(FileCopierTest, ATakenNameIsReplacedSkippedOrKeptBesideAsTheUserSays)
{
    for (const char *name : {"song.mp3", "skip.mp3", "keep.mp3", "Album/new.mp3"})
        write(src(name), "new");
    for (const char *name : {"song.mp3", "skip.mp3", "keep.mp3", "keep (2).mp3", "Album/old.mp3"})
        write(dst(name), "old");
    std::vector<ClashQuestion> asked;
    copier.askClash = [&](const ClashQuestion &q) {
        asked.push_back(q);
        if (q.name == "skip.mp3")
            return ClashChoice::Skip;
        return q.name == "song.mp3" ? ClashChoice::Replace : ClashChoice::KeepBoth;
    };
    const FileOperationResult result = run(FileOperation::Move,
        {src("song.mp3"), src("skip.mp3"), src("keep.mp3"), src("Album")}, dst());
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[3].name, "Album");
    EXPECT_TRUE(asked[3].folderTaken);
    EXPECT_FALSE(asked[0].folderTaken);
    EXPECT_EQ(asked[0].folder, dst());
    EXPECT_EQ(result.placed, QStringList({"song.mp3", "keep (3).mp3", "Album (2)"}));
    EXPECT_EQ(read(dst("song.mp3")), "new");
    EXPECT_EQ(read(dst("skip.mp3")), "old");
    EXPECT_EQ(read(dst("keep.mp3")), "old");
    EXPECT_EQ(read(dst("keep (3).mp3")), "new");
    EXPECT_EQ(read(dst("Album/old.mp3")), "old");
    EXPECT_EQ(read(dst("Album (2)/new.mp3")), "new");
    EXPECT_EQ(entries(src()), QStringList{"skip.mp3"}) << "a skipped item stays where it was";
    EXPECT_EQ(entries(dst()).filter(".tovix").size(), 0);
}

TEST_F(FileCopierTest, KeepingBothFoldersNumbersTheWholeNameOfOneWithADot)
{
    write(src("Photos.2024/a.jpg"), "new");
    write(dst("Photos.2024/a.jpg"), "old");
    copier.askClash = [](const ClashQuestion &) { return ClashChoice::KeepBoth; };
    EXPECT_EQ(run(FileOperation::Copy, {src("Photos.2024")}, dst()).placed, QStringList{"Photos.2024 (2)"});
}

TEST_F(FileCopierTest, AFolderReplacesAFileAndACopyBesideItsOriginalIsASecondOne)
{
    write(src("Take.wav"), "take");
    write(src("notes"), "a file");
    write(dst("notes/inside.txt"), "x");
    int questions = 0;
    copier.askClash = [&](const ClashQuestion &) { ++questions; return ClashChoice::Replace; };
    FileOperationResult result = run(FileOperation::Copy, {src("Take.wav"), src("Take.wav")}, src());
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(result.placed, QStringList({"Take (2).wav", "Take (3).wav"}));
    EXPECT_EQ(questions, 0) << "a copy beside itself is never a question";
    EXPECT_EQ(run(FileOperation::Move, {src("Take.wav")}, src()).placed, QStringList{}) << "already there";

    result = run(FileOperation::Copy, {dst("notes")}, src());
    ASSERT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(read(src("notes/inside.txt")), "x");
}

TEST_F(FileCopierTest, AFolderNeverGoesIntoItselfNorReplacesWhatHoldsIt)
{
    write(src("Music/Album/a.mp3"), "a");
    write(src("Music/Music/b.mp3"), "b");
    for (const auto kind : {FileOperation::Copy, FileOperation::Move}) {
        for (const QString &into : {src("Music"), src("Music/Album")}) {
            const FileOperationResult result = run(kind, {src("Music")}, into);
            EXPECT_EQ(result.outcome, FileOperationResult::Failed);
            EXPECT_EQ(result.error, QString("Cannot %1 the folder \"%2\" into itself.")
                                        .arg(kind == FileOperation::Move ? "move" : "copy", src("Music")));
        }
    }
    copier.askClash = [](const ClashQuestion &) { return ClashChoice::Replace; };
    const FileOperationResult result = run(FileOperation::Move, {src("Music/Music")}, src());
    EXPECT_EQ(result.outcome, FileOperationResult::Failed);
    EXPECT_EQ(result.error, QString("Cannot replace \"%1\" with an item it holds.").arg(src("Music")));
    EXPECT_EQ(read(src("Music/Music/b.mp3")), "b");
    EXPECT_EQ(entries(src("Music")), QStringList({"Album", "Music"}));
    EXPECT_EQ(entries(src("Music/Album")), QStringList{"a.mp3"});
}

} // namespace
