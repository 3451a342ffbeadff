// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A copy that fails or is cancelled leaves the destination exactly as it was.
#include "fileops_fixture.h"

#include "fileops/work_folder_format.h"

#include <QDirIterator>
#include <QRegularExpression>

#include <atomic>
#include <csignal>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Files written by this process may not grow past limit, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lower{limit, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

class CopyFailures : public FileOpsTest {
protected:
    // The destination's names and contents, to compare before and after.
    QStringList snapshot() const
    {
        QStringList out;
        for (const QString &name : entries(dst()))
            out << name + "=" + QString::fromLatin1(read(dst(name)));
        return out;
    }
    void fillDestination()
    {
        write(dst("song.mp3"), "old song");
        write(dst("other.txt"), "other");
    }
    // Every path below folder with its mode and contents, hidden ones included.
    static QStringList tree(const QString &folder)
    {
        QStringList out;
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat st {};
            ::lstat(QFile::encodeName(path).constData(), &st);
            out << QString("%1 %2 %3").arg(path).arg(st.st_mode, 0, 8).arg(QString::fromLatin1(read(path)));
        }
        out.sort();
        return out;
    }
    // A copy into the destination that replaces what it meets and is killed
    // (as by kill -9) when it comes to the name last.
    void copyKilledAt(const QStringList &sources, const QString &last)
    {
        EXPECT_EXIT(
            {
                copier.askClash = [&](const ClashQuestion &q) {
                    if (q.name == last)
                        std::_Exit(0);
                    return ClashChoice::Replace;
                };
                run(FileOperation::Copy, sources, dst());
                std::_Exit(1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    QString workFolder() const
    {
        const QStringList work = entries(dst()).filter(".tovix-copy-");
        return work.size() == 1 ? dst(work.front()) : QString();
    }
};

TEST_F(CopyFailures, AFullDestinationKeepsTheReplacedFileAndNamesTheFile)
{
    fillDestination();
    write(src("small.txt"), "small");
    write(src("Album/song.mp3"), QByteArray(2 << 20, 's'));
    write(src("song.mp3"), QByteArray(2 << 20, 's'));
    const QStringList before = snapshot();
    copier.askClash = [](const ClashQuestion &) { return ClashChoice::Replace; };
    FileOperationResult result;
    {
        const FileSizeLimit limit(1 << 20);
        result = run(FileOperation::Copy, {src("small.txt"), src("song.mp3")}, dst());
    }
    EXPECT_EQ(result.outcome, FileOperationResult::Failed);
    EXPECT_EQ(result.error, QString("Cannot copy \"%1\": File too large.").arg(src("song.mp3")));
    EXPECT_EQ(snapshot(), before) << "the copied small file goes again, the old song stays";

    {
        const FileSizeLimit limit(1 << 20);
        result = run(FileOperation::Copy, {src("Album")}, dst());
    }
    EXPECT_EQ(result.outcome, FileOperationResult::Failed);
    EXPECT_EQ(result.error, QString("Cannot copy \"%1\": File too large.").arg(src("Album/song.mp3")));
    EXPECT_EQ(snapshot(), before) << "no part of the folder is left";
}

TEST_F(CopyFailures, AFileThatCannotBeReadUndoesWhatWasCopiedBefore)
{
    fillDestination();
    write(src("first.txt"), "first");
    const QStringList before = snapshot();
    // Reading this process's memory at its start fails with an I/O error.
    const FileOperationResult result = run(FileOperation::Move, {src("first.txt"), "/proc/self/mem"}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Failed);
    EXPECT_EQ(result.error, QString("Cannot move \"/proc/self/mem\": Input/output error."));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(read(src("first.txt")), "first") << "the first file was put back";

    const FileOperationResult missing = run(FileOperation::Copy, {src("gone.txt")}, dst());
    EXPECT_EQ(missing.error, QString("Cannot copy \"%1\": No such file or directory.").arg(src("gone.txt")));
    const FileOperationResult noFolder = run(FileOperation::Copy, {src("first.txt")}, dst("nowhere"));
    EXPECT_EQ(noFolder.error, QString("Cannot open the folder \"%1\": No such file or directory.").arg(dst("nowhere")));
}

TEST_F(CopyFailures, ACancelUndoesTheItemsAlreadyInAndKeepsWhatTheyReplaced)
{
    fillDestination();
    write(src("other.txt"), "new other");
    write(src("song.mp3"), "new song");
    write(src("Album/a.mp3"), "a");
    const QStringList before = snapshot();
    copier.askClash = [&](const ClashQuestion &q) {
        if (q.name == "song.mp3")
            copier.cancel(); // the user gives up at the second question
        return ClashChoice::Replace;
    };
    const FileOperationResult result =
        run(FileOperation::Move, {src("Album"), src("other.txt"), src("song.mp3")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Cancelled);
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(entries(src()), QStringList({"Album", "other.txt", "song.mp3"}));
    EXPECT_EQ(read(src("other.txt")), "new other");
}

TEST_F(CopyFailures, ACancelInTheMiddleOfABigFileLeavesNoPartOfIt)
{
    fillDestination();
    write(src("song.mp3"), QByteArray(64 << 20, 'b'));
    const QStringList before = snapshot();
    copier.askClash = [](const ClashQuestion &) { return ClashChoice::Replace; };
    std::atomic<bool> stop{false};
    std::thread canceller([&] {
        while (!stop.load() && copier.progress().done == 0)
            std::this_thread::yield();
        copier.cancel();
    });
    const FileOperationResult result = run(FileOperation::Copy, {src("song.mp3")}, dst());
    stop = true;
    canceller.join();
    EXPECT_EQ(result.outcome, FileOperationResult::Cancelled);
    EXPECT_GT(copier.progress().done, 0);
    EXPECT_LT(copier.progress().done, 64 << 20);
    EXPECT_EQ(snapshot(), before);
}

// A file the user changes while the copy waits on its next question is
// theirs: a cancel leaves it, and brings back what it replaced beside it.
TEST_F(CopyFailures, ACancelKeepsWhatTheUserChangedMeanwhile)
{
    fillDestination();
    write(src("song.mp3"), "new song");
    write(src("new.mp3"), "new");
    write(src("other.txt"), "new other");
    copier.askClash = [&](const ClashQuestion &q) {
        if (q.name == "other.txt") {
            write(dst("song.mp3"), "new song, edited");
            write(dst("new.mp3"), "new, edited");
            copier.cancel();
        }
        return ClashChoice::Replace;
    };
    const FileOperationResult result =
        run(FileOperation::Copy, {src("song.mp3"), src("new.mp3"), src("other.txt")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Cancelled);
    EXPECT_EQ(snapshot(), QStringList({"new.mp3=new, edited", "other.txt=other",
                                       "song (recovered).mp3=old song", "song.mp3=new song, edited"}));
    EXPECT_EQ(result.recovered, QStringList{"song (recovered).mp3"});
}

// A file the user moves into a folder the copy put in, while the copy waits,
// is theirs: a cancel takes out only what the copy made, and names the folder.
TEST_F(CopyFailures, ACancelKeepsWhatTheUserPutIntoACopiedFolder)
{
    fillDestination();
    write(src("Album/sub/a.mp3"), "a");
    write(src("other.txt"), "new other");
    write(dst("mine.txt"), "mine");
    copier.askClash = [&](const ClashQuestion &) {
        EXPECT_TRUE(QFile::rename(dst("mine.txt"), dst("Album/sub/mine.txt")));
        copier.cancel();
        return ClashChoice::Replace;
    };
    const FileOperationResult result = run(FileOperation::Copy, {src("Album"), src("other.txt")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Cancelled);
    EXPECT_EQ(read(dst("Album/sub/mine.txt")), "mine");
    EXPECT_EQ(entries(dst("Album/sub")), QStringList{"mine.txt"}) << "what the copy made goes";
    EXPECT_EQ(result.keptOnUndo, QStringList{dst("Album/sub")});
    EXPECT_EQ(copyNotice(result),
              QString("Kept \"%1\", as files were put into them while the copy ran.").arg(dst("Album/sub")));
}

// The folder swapped for a link to another while the copy waits on its
// question: the answer still concerns the folder the copy was started in.
TEST_F(CopyFailures, AReplaceNeverReachesThroughAFolderSwappedForALink)
{
    const QTemporaryDir home;
    write(home.filePath("notes.txt"), "private notes");
    write(dst("drop/notes.txt"), "old notes");
    write(src("notes.txt"), "new notes");
    copier.askClash = [&](const ClashQuestion &) {
        EXPECT_TRUE(QFile::rename(dst("drop"), dst("moved")));
        EXPECT_TRUE(QFile::link(home.path(), dst("drop")));
        return ClashChoice::Replace;
    };
    const FileOperationResult result = run(FileOperation::Copy, {src("notes.txt")}, dst("drop"));
    EXPECT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(entries(home.path()), QStringList{"notes.txt"});
    EXPECT_EQ(read(home.filePath("notes.txt")), "private notes");
    EXPECT_EQ(read(dst("moved/notes.txt")), "new notes");
    EXPECT_EQ(entries(dst("moved")), QStringList{"notes.txt"});
}

// The copy's work folder swapped for a link while the copy waits: what it
// builds and keeps aside still goes into the folder it made, never elsewhere.
TEST_F(CopyFailures, ACopyNeverWorksThroughItsWorkFolderSwappedForALink)
{
    const QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir().mkpath(elsewhere.filePath("old-2")));
    write(dst("last.mp3"), "old last");
    write(src("song.mp3"), "new song");
    write(src("last.mp3"), "new last");
    copier.askClash = [&](const ClashQuestion &) {
        const QString work = workFolder();
        EXPECT_TRUE(QFile::rename(work, dst("moved")));
        EXPECT_TRUE(QFile::link(elsewhere.path(), work));
        return ClashChoice::Replace;
    };
    const FileOperationResult result = run(FileOperation::Copy, {src("song.mp3"), src("last.mp3")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Done) << result.error.toStdString();
    EXPECT_EQ(read(dst("last.mp3")), "new last");
    EXPECT_EQ(tree(elsewhere.path()), QStringList{QString("%1 40755 <missing>").arg(elsewhere.filePath("old-2"))});
}

// A copy killed after it replaced two items (as by a crash or kill -9): the
// next copy into the folder puts the replaced ones back under their names and
// keeps the newcomers beside them; nothing hidden is left.
TEST_F(CopyFailures, ACopyCutShortIsPutRightByTheNextCopyIntoTheFolder)
{
    write(dst("song.mp3"), "old song");
    write(dst("Album/a.mp3"), "old a");
    write(dst("last.mp3"), "old last");
    write(src("song.mp3"), "new song");
    write(src("Album/b.mp3"), "new b");
    write(src("last.mp3"), "new last");
    write(src("other.mp3"), "other");
    EXPECT_EXIT(
        {
            copier.askClash = [](const ClashQuestion &q) {
                if (q.name == "last.mp3")
                    std::_Exit(0);
                return ClashChoice::Replace;
            };
            run(FileOperation::Copy, {src("song.mp3"), src("Album"), src("last.mp3")}, dst());
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "");

    EXPECT_EQ(run(FileOperation::Copy, {src("other.mp3")}, dst()).outcome, FileOperationResult::Done);
    EXPECT_EQ(entries(dst()), QStringList({"Album", "Album (2)", "last.mp3", "other.mp3",
                                           "song (2).mp3", "song.mp3"}));
    EXPECT_EQ(read(dst("song.mp3")), "old song");
    EXPECT_EQ(read(dst("song (2).mp3")), "new song");
    EXPECT_EQ(entries(dst("Album")), QStringList{"a.mp3"});
    EXPECT_EQ(read(dst("Album (2)/b.mp3")), "new b");
}

// A folder of the user's that only looks like a copy's work folder, by its
// name or even by its name's exact form and mode, is never touched.
TEST_F(CopyFailures, AFolderThatOnlyLooksLikeACopysWorkIsLeftAsItWas)
{
    write(dst(".tovix-copy-notes/ideas.txt"), "ideas");
    write(dst(".tovix-copy-notes/locked/kept.txt"), "kept");
    write(dst(".tovix-copy-notes/old-drafts/draft1.txt"), "first draft");
    write(dst(".tovix-copy-0123456789abcdef/old-1/draft1.txt"), "other draft");
    write(dst("draft1.txt"), "current draft");
    ASSERT_EQ(::chmod(QFile::encodeName(dst(".tovix-copy-notes/locked")).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dst(".tovix-copy-0123456789abcdef")).constData(), 0700), 0);
    write(src("other.txt"), "other");
    const QStringList before = tree(dst());

    ASSERT_EQ(run(FileOperation::Copy, {src("other.txt")}, dst()).outcome, FileOperationResult::Done);
    QStringList after = tree(dst());
    EXPECT_TRUE(after.removeOne(QString("%1 100644 other").arg(dst("other.txt"))));
    EXPECT_EQ(after, before);
}

// A work folder that came in from elsewhere (unpacked, or copied with the
// folder that held it), marker and note and all, is not this folder's: it
// never puts what it holds in place of the user's file.
TEST_F(CopyFailures, AWorkFolderBroughtInFromElsewhereIsNeverTakenForOurs)
{
    write(dst("report.txt"), "mine");
    struct stat mine {};
    ASSERT_EQ(::lstat(QFile::encodeName(dst("report.txt")).constData(), &mine), 0);
    const QString forged = dst(".tovix-copy-0123456789abcdef");
    write(forged + "/tovixman-copy", "TovixMan copy work folder 0123456789abcdef\n");
    write(forged + "/old-1/report.txt", "planted");
    write(forged + "/placed-1", workfolder::PlacedEntry::of(mine).text().c_str());
    ASSERT_EQ(::chmod(QFile::encodeName(forged).constData(), 0700), 0);
    write(src("other.txt"), "other");
    const QStringList before = tree(dst());

    ASSERT_EQ(run(FileOperation::Copy, {src("other.txt")}, dst()).outcome, FileOperationResult::Done);
    QStringList after = tree(dst());
    EXPECT_TRUE(after.removeOne(QString("%1 100644 other").arg(dst("other.txt"))));
    EXPECT_EQ(after, before);
}

// A work folder the next copy proves its own, holding a link where it keeps
// entries aside: the link is not followed and what it points to stays.
TEST_F(CopyFailures, ALinkInACopysWorkFolderIsNeverFollowed)
{
    write(dst("song.mp3"), "old song");
    write(dst("last.mp3"), "old last");
    write(src("song.mp3"), "new song");
    write(src("last.mp3"), "new last");
    write(src("other.mp3"), "other");
    write(src("private/secret.txt"), "secret");
    copyKilledAt({src("song.mp3"), src("last.mp3")}, "last.mp3");
    const QString work = workFolder();
    ASSERT_FALSE(work.isEmpty());
    ASSERT_EQ(::symlink(QFile::encodeName(src("private")).constData(),
                        QFile::encodeName(work + "/old-99").constData()), 0);

    const FileOperationResult result = run(FileOperation::Copy, {src("other.mp3")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Done);
    EXPECT_EQ(read(src("private/secret.txt")), "secret");
    EXPECT_FALSE(QFile::exists(dst("secret.txt")));
    EXPECT_EQ(read(dst("song.mp3")), "old song") << "what the copy kept aside still goes back";
    EXPECT_EQ(result.putBack, QStringList{"song.mp3"});
    EXPECT_TRUE(QFileInfo(work + "/old-99").isSymLink()) << "the folder it is in stays";
}

// Replace answered for report.txt, the copy killed before its second file,
// report.txt edited since: the edit keeps its name, the original comes back
// beside it, and the line for the status bar names it.
TEST_F(CopyFailures, AFileChangedAfterACopyWasCutShortIsNeverDisplaced)
{
    write(dst("report.txt"), "old report");
    write(dst("notes.txt"), "old notes");
    write(src("report.txt"), "new report");
    write(src("notes.txt"), "new notes");
    write(src("other.txt"), "other");
    copyKilledAt({src("report.txt"), src("notes.txt")}, "notes.txt");
    ASSERT_EQ(read(dst("report.txt")), "new report");
    write(dst("report.txt"), "new report, edited");

    const FileOperationResult result = run(FileOperation::Copy, {src("other.txt")}, dst());
    EXPECT_EQ(result.outcome, FileOperationResult::Done);
    EXPECT_EQ(entries(dst()), QStringList({"notes.txt", "other.txt", "report (recovered).txt", "report.txt"}));
    EXPECT_EQ(read(dst("report.txt")), "new report, edited");
    EXPECT_EQ(read(dst("report (recovered).txt")), "old report");
    EXPECT_EQ(result.recovered, QStringList{"report (recovered).txt"});
    EXPECT_EQ(copyNotice(result),
              "After a copy cut short: recovered \"report (recovered).txt\" beside files changed since.");
}

// An original that cannot come back (here no name with " (recovered)" fits
// beside the changed file) keeps the work folder that holds it, and is named.
TEST_F(CopyFailures, AWorkFolderWhoseEntryCouldNotGoBackIsKept)
{
    const QString name = QString(241, 'x') + ".txt";
    write(dst(name), "old");
    write(dst("last.txt"), "old last");
    write(src(name), "new");
    write(src("last.txt"), "new last");
    write(src("other.txt"), "other");
    copyKilledAt({src(name), src("last.txt")}, "last.txt");
    write(dst(name), "new, edited");
    const QString work = workFolder();
    ASSERT_FALSE(work.isEmpty());

    for (int again = 0; again < 2; ++again) {
        const FileOperationResult result = run(FileOperation::Copy, {src("other.txt")}, dst());
        EXPECT_EQ(result.outcome, FileOperationResult::Done);
        EXPECT_EQ(result.stuck, QStringList{name});
        EXPECT_EQ(read(dst(name)), "new, edited");
        EXPECT_EQ(workFolder(), work);
        EXPECT_TRUE(tree(work).filter(QRegularExpression(" old$")).size() == 1) << "the original is in it";
    }
}

} // namespace
