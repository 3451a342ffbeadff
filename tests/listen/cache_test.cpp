// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The listening cache: where copies go, when one counts as the same
// recording, and that it stays within its bound, oldest out first.
#include "device/nerolink.h"
#include "listen/listen_cache.h"
#include "listen/position_memory.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

void makeFile(const std::string &path, qint64 size, int ageSeconds)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'v'));
    f.close();
    timeval times[2];
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= ageSeconds;
    times[1] = times[0];
    ::utimes(path.c_str(), times);
}

uid_t ownerOf(const std::string &path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_uid : uid_t(-1);
}

void write(const std::string &path, const QByteArray &bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// Whether work ends within the seconds given; a reader stuck on the pipe given is let go,
// so that the test can end.
bool answersWithin(int seconds, const std::function<void()> &work, const char *pipe = nullptr)
{
    auto done = std::async(std::launch::async, work);
    const bool answered = done.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready;
    if (!answered && pipe)
        ::close(::open(pipe, O_WRONLY | O_NONBLOCK));
    done.get();
    return answered;
}

// A state folder of the user's, with the positions file and its passing file in it.
class PositionFileThreading : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder)); }
    QTemporaryDir state;
    const QString folder = state.filePath(QStringLiteral("tovixman"));
    const std::string positions = (folder + QStringLiteral("/positions")).toStdString();
    const std::string passing = positions + ".new";
};

} // namespace

TEST(ListenCache, TheFolderIsTheUsersCacheFolderNeverARelativeOne)
{
    const QByteArray xdg = qgetenv("XDG_CACHE_HOME"), home = qgetenv("HOME");
    qputenv("XDG_CACHE_HOME", "/var/tmp/cachehome");
    EXPECT_EQ(listenCacheFolder(), "/var/tmp/cachehome/tovixman");
    qputenv("XDG_CACHE_HOME", "relative/cache");
    qputenv("HOME", "/home/someone");
    EXPECT_EQ(listenCacheFolder(), "/home/someone/.cache/tovixman");
    qputenv("XDG_CACHE_HOME", xdg);
    qputenv("HOME", home);
}

TEST(ListenCache, ACopyCountsOnlyForTheSameNameMemoryAndSize)
{
    QTemporaryDir dir;
    const ListenCache cache(dir.path().toStdString());
    const CachedRecording r{"MEMO0001.VOC", mtInternal, 720};
    EXPECT_NE(cache.pathOf(r), cache.pathOf({"MEMO0001.VOC", mtCard, 720}));
    EXPECT_NE(cache.pathOf(r), cache.pathOf({"MEMO0001.VOC", mtInternal, 721}));
    EXPECT_EQ(QFileInfo(QString::fromStdString(cache.pathOf(r))).suffix(), QStringLiteral("VOC"));
    // A name that could leave the folder is replaced, its extension kept.
    const std::string odd = cache.pathOf({"../../etc/x.mp3", mtCard, 5});
    EXPECT_EQ(QFileInfo(QString::fromStdString(odd)).absolutePath(), dir.path());
    EXPECT_TRUE(QString::fromStdString(odd).endsWith(QStringLiteral(".mp3")));

    EXPECT_FALSE(cache.holds(r));
    makeFile(cache.partPathOf(r), 700, 0); // a copy that came out short
    EXPECT_FALSE(cache.keep(r));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cache.partPathOf(r))));
    EXPECT_FALSE(cache.holds(r));
    makeFile(cache.partPathOf(r), 720, 0);
    EXPECT_TRUE(cache.keep(r));
    EXPECT_TRUE(cache.holds(r));
    EXPECT_FALSE(cache.holds({"MEMO0001.VOC", mtInternal, 700}));
}

TEST(ListenCache, RoomIsMadeByRemovingTheLeastRecentlyPlayedAndNeverPastTheBound)
{
    QTemporaryDir dir;
    const std::string folder = dir.filePath(QStringLiteral("cache")).toStdString();
    const ListenCache cache(folder, 1000);
    EXPECT_TRUE(cache.makeRoom(0)); // made on first use
    const CachedRecording a{"A.VOC", mtInternal, 400}, b{"B.VOC", mtInternal, 300}, c{"C.VOC", mtCard, 200};
    makeFile(cache.pathOf(a), 400, 300);
    makeFile(cache.pathOf(b), 300, 200);
    makeFile(cache.pathOf(c), 200, 100);
    EXPECT_TRUE(cache.holds(a)); // played again: now the newest
    EXPECT_EQ(cache.usedBytes(), 900u);

    EXPECT_TRUE(cache.makeRoom(250));
    EXPECT_LE(cache.usedBytes() + 250, 1000u);
    EXPECT_FALSE(cache.holds(b));
    EXPECT_TRUE(cache.holds(c));
    EXPECT_TRUE(cache.holds(a));

    EXPECT_FALSE(cache.makeRoom(1001));
    EXPECT_TRUE(cache.makeRoom(1000));
    EXPECT_EQ(cache.usedBytes(), 0u);
    EXPECT_EQ(kListenCacheLimit, 256u << 20);
}

// A link at the cache folder, or a folder others may write in, is not used at all; in it
// only the cache's own plain files count, never a link's target or another's file.
TEST(ListenCache, ALinkedOrOpenFolderIsNotUsedAndOnlyTheCachesOwnFilesAreTouched)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target")), outside = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(target) && QFile::link(target, dir.filePath(QStringLiteral("linked"))));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0755), 0);
    const CachedRecording a{"A.VOC", mtInternal, 400}, b{"B.VOC", mtInternal, 500};
    const ListenCache throughLink(dir.filePath(QStringLiteral("linked")).toStdString(), 1000);
    makeFile((target + QStringLiteral("/internal-400-A.VOC")).toStdString(), 400, 300);
    EXPECT_FALSE(throughLink.holds(a));
    EXPECT_EQ(throughLink.usedBytes(), 0u);
    EXPECT_FALSE(throughLink.makeRoom(900));
    EXPECT_EQ(QDir(target).count(), 3u) << "a file was removed through the link";
    EXPECT_EQ(QFileInfo(target).permissions() & QFileDevice::ReadGroup, QFileDevice::ReadGroup);

    const std::string folder = dir.filePath(QStringLiteral("cache")).toStdString();
    const ListenCache cache(folder, 1000);
    ASSERT_TRUE(cache.makeRoom(0));
    makeFile(joinPath(folder, "notes.txt"), 300, 400);
    makeFile(cache.pathOf(a), 400, 300);
    makeFile(outside.toStdString(), 500, 500);
    ASSERT_TRUE(QFile::link(outside, QString::fromStdString(cache.pathOf(b))));
    EXPECT_FALSE(cache.holds(b));
    EXPECT_EQ(cache.usedBytes(), 400u);
    EXPECT_TRUE(cache.makeRoom(700));
    EXPECT_FALSE(cache.holds(a));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(joinPath(folder, "notes.txt"))));
    EXPECT_EQ(QFileInfo(outside).size(), 500);

    makeFile(cache.partPathOf(a), 10, 0);
    cache.discardParts({cache.partPathOf(a)});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cache.partPathOf(a))));
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    makeFile(cache.pathOf(a), 400, 0);
    makeFile(cache.partPathOf(a), 10, 0);
    EXPECT_FALSE(cache.holds(a));
    EXPECT_FALSE(cache.makeRoom(0));
    cache.discardParts({cache.partPathOf(a)}); // a name there may change under us
    EXPECT_TRUE(QFile::exists(QString::fromStdString(cache.partPathOf(a))));
}

// What someone else put at a copy's name stays; a recording named like a part file is not
// another's part.
TEST(ListenCache, AKeptCopyReplacesOnlyTheCachesOwnFile)
{
    QTemporaryDir dir;
    const ListenCache cache(dir.filePath(QStringLiteral("cache")).toStdString(), 1000);
    ASSERT_TRUE(cache.makeRoom(0));
    const CachedRecording a{"A.VOC", mtInternal, 40}, named{"A.VOC.part", mtInternal, 40};
    EXPECT_NE(cache.pathOf(named), cache.partPathOf(a));
    makeFile(cache.pathOf(a), 40, 0);
    makeFile(cache.partPathOf(a), 40, 0);
    EXPECT_TRUE(cache.keep(a)); // over the older copy
    ASSERT_EQ(::chown(cache.pathOf(a).c_str(), 65534, 65534), 0);
    makeFile(cache.partPathOf(a), 40, 0);
    EXPECT_FALSE(cache.keep(a));
    EXPECT_EQ(ownerOf(cache.pathOf(a)), 65534u);
}

// Where recordings were left: the newest thousand, in one file a new start
// reads back, whatever their names hold; lines that do not read are passed over.
TEST(PositionMemoryThreading, TheNewestThousandAreKeptInOneFileThatANewStartReads)
{
    QTemporaryDir state;
    const QString folder = state.filePath(QStringLiteral("tovixman"));
    const QByteArray odd = PositionMemory::fileKey(QStringLiteral("/rec/a b\n%20c.wav"));
    {
        PositionMemory memory(folder);
        EXPECT_EQ(memory.recall("k1"), 0);
        for (int i = 0; i <= 1000; ++i)
            memory.remember("k" + QByteArray::number(i), 1000 + i);
        memory.remember(odd, 7);
        memory.remember("k1", 42); // heard again: the newest
        memory.remember("k5", 0);  // heard to its end
        memory.remember("k6", 0);
    }
    QFile file(folder + QStringLiteral("/positions"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 998);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write("garbage\n-5 k9\n");
    file.close();

    PositionMemory again(folder);
    EXPECT_EQ(again.recall(odd), 7);
    EXPECT_EQ(again.recall(PositionMemory::fileKey(QStringLiteral("/rec/a b"))), 0);
    EXPECT_EQ(again.recall("k0"), 0);
    EXPECT_EQ(again.recall("k2"), 0);
    EXPECT_EQ(again.recall("k1"), 42);
    EXPECT_EQ(again.recall("k3"), 1003);
    EXPECT_EQ(again.recall("k5"), 0);
    EXPECT_EQ(again.recall("k9"), 1009);
    EXPECT_EQ(again.recall("k1000"), 2000);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files) == QStringList{QStringLiteral("positions")});
}

// The positions file is the user's and plain: a named pipe there is not waited on, a link
// at it (or at the state folder) is neither read nor written through.
TEST_F(PositionFileThreading, APipeOrALinkAtThePositionsFileIsNeitherWaitedOnNorFollowed)
{
    ASSERT_EQ(::mkfifo(positions.c_str(), 0600), 0);
    EXPECT_TRUE(answersWithin(3, [&] { EXPECT_EQ(PositionMemory(folder).recall("k1"), 0); }, positions.c_str()));

    const std::string outside = state.filePath(QStringLiteral("outside")).toStdString();
    write(outside, "5000 k1\n");
    ASSERT_TRUE(::unlink(positions.c_str()) == 0 && ::symlink(outside.c_str(), positions.c_str()) == 0);
    {
        PositionMemory memory(folder);
        EXPECT_EQ(memory.recall("k1"), 0);
        memory.remember("k2", 700);
    }
    EXPECT_EQ(QFileInfo(QString::fromStdString(outside)).size(), 8);
    EXPECT_EQ(PositionMemory(folder).recall("k2"), 700); // the link was replaced by the file

    const QString linked = state.filePath(QStringLiteral("linked")), target = state.filePath(QStringLiteral("t"));
    ASSERT_TRUE(QDir().mkpath(target) && QFile::link(target, linked));
    PositionMemory(linked).remember("k3", 900);
    EXPECT_TRUE(QDir(target).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// A passing file left at positions.new is taken over only when it is a plain file of the
// user's, as a crash leaves it; another user's file there or at positions stays, and a save
// under way in another window is waited for, neither removed nor taken for this one's own.
TEST_F(PositionFileThreading, ASaveReplacesOnlyAStalePassingFileOfTheUsers)
{
    write(passing, "0123456789"); // a crash between writing and renaming
    PositionMemory(folder).remember("k1", 100);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(passing)));
    EXPECT_EQ(PositionMemory(folder).recall("k1"), 100);

    write(passing, "0123456789");
    ASSERT_EQ(::chown(passing.c_str(), 65534, 65534), 0);
    PositionMemory(folder).remember("k2", 200);
    EXPECT_EQ(ownerOf(passing), 65534u);
    EXPECT_EQ(QFileInfo(QString::fromStdString(passing)).size(), 10);
    ASSERT_EQ(::unlink(passing.c_str()), 0);
    ASSERT_EQ(::chown(positions.c_str(), 65534, 65534), 0);
    PositionMemory(folder).remember("k4", 400);
    EXPECT_EQ(ownerOf(positions), 65534u);

    ASSERT_EQ(::lchown(positions.c_str(), ::getuid(), ::getgid()), 0);
    const int other = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0); // the other window is between writing and renaming
    write(passing, "500 theirs\n");
    {
        PositionMemory memory(folder);
        memory.remember("mine", 900);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        EXPECT_EQ(::renameat(other, "positions.new", other, "positions"), 0);
        ::close(other);
    }
    EXPECT_EQ(PositionMemory(folder).recall("mine"), 900);
    EXPECT_EQ(PositionMemory(folder).recall("theirs"), 0); // the later save is whole
}

// Long names cannot make the file one a new start refuses to read (the oldest entries, or
// one too long to keep, give way), and a file of many short lines is read in one pass.
TEST_F(PositionFileThreading, LongNamesOrManyLinesNeverMakeTheFileUnreadableOrSlow)
{
    {
        PositionMemory memory(folder);
        memory.remember("small", 5);
        for (int i = 0; i < 5; ++i)
            memory.remember(QByteArray(1 << 20, char('a' + i)), 10 + i);
        memory.remember("last", 9);
    }
    PositionMemory again(folder);
    EXPECT_EQ(again.recall("last"), 9);
    EXPECT_EQ(again.recall("small"), 5);
    EXPECT_EQ(again.recall(QByteArray(1 << 20, 'e')), 14);
    EXPECT_LE(QFileInfo(QString::fromStdString(positions)).size(), 4 << 20);

    QByteArray text;
    for (int i = 0; i < 100000; ++i)
        text += QByteArray::number(i + 1) + " k" + QByteArray::number(i) + '\n';
    write(positions, text);
    EXPECT_TRUE(answersWithin(5, [&] {
        PositionMemory memory(folder);
        EXPECT_EQ(memory.recall("k99999"), 100000);
        EXPECT_EQ(memory.recall("k98999"), 0); // only the newest thousand are kept
        EXPECT_EQ(memory.recall("k99000"), 99001);
    }));
}
