// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/file_copier.h"

#include "fileops/held_folder.h"
#include "fileops/tree_copy.h"
#include "fileops/work_folder_format.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string realPath(const std::string &path)
{
    char *real = ::realpath(path.c_str(), nullptr);
    std::string out = real ? real : path;
    std::free(real);
    return out;
}

constexpr int kNamesShown = 10;

QStringList toList(const std::vector<std::string> &names)
{
    QStringList out;
    for (const std::string &name : names)
        out << QFile::decodeName(name.c_str());
    return out;
}

// "a", "b" ... and N more.
QString quoted(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names.mid(0, kNamesShown))
        shown << QStringLiteral("\"%1\"").arg(name);
    QString text = shown.join(QStringLiteral(", "));
    if (names.size() > kNamesShown)
        text += QLatin1Char(' ') + FileCopier::tr("and %n more", nullptr, int(names.size() - kNamesShown));
    return text;
}

} // namespace

QString copyNotice(const FileOperationResult &result)
{
    QStringList parts;
    if (!result.putBack.isEmpty())
        parts << FileCopier::tr("put back %1").arg(quoted(result.putBack));
    if (!result.recovered.isEmpty())
        parts << FileCopier::tr("recovered %1 beside files changed since").arg(quoted(result.recovered));
    if (!result.stuck.isEmpty())
        parts << FileCopier::tr("could not put back %1, kept in a hidden .tovix-copy- folder")
                     .arg(quoted(result.stuck));
    QStringList lines;
    if (!parts.isEmpty())
        lines << FileCopier::tr("After a copy cut short: %1.").arg(parts.join(QStringLiteral("; ")));
    if (!result.keptOnUndo.isEmpty()) {
        QStringList shown;
        for (const QString &path : result.keptOnUndo)
            shown << QDir::toNativeSeparators(path);
        lines << FileCopier::tr("Kept %1, as files were put into them while the copy ran.").arg(quoted(shown));
    }
    if (!result.leftBehind.isEmpty()) {
        QStringList shown;
        for (const QString &path : result.leftBehind)
            shown << QDir::toNativeSeparators(path);
        lines << FileCopier::tr("Not removed from where they were, as they changed during the move: %1.")
                     .arg(quoted(shown));
    }
    return lines.join(QLatin1Char(' '));
}

TransferProgress FileCopier::progress() const
{
    TransferProgress p;
    p.done = m_done.load();
    p.total = m_total.load();
    const std::lock_guard lock(m_lock);
    p.current = m_current;
    return p;
}

CopyContext FileCopier::context()
{
    CopyContext ctx;
    ctx.cancel = &m_cancel;
    ctx.advance = [this](qint64 bytes) { m_done.fetch_add(bytes); };
    ctx.entering = [this](const std::string &path) {
        const std::lock_guard lock(m_lock);
        m_current = QFile::decodeName(path.c_str());
    };
    return ctx;
}

FileOperationResult FileCopier::run(const FileOperation &operation)
{
    m_done.store(0);
    m_total.store(0);
    Run run;
    run.operation = &operation;
    FileOperationResult result;
    if (!open(run)) {
        result.outcome = FileOperationResult::Failed;
        result.error = run.error;
        return result;
    }
    countBytes(run);
    for (const QString &source : operation.sources) {
        const Step step = placeOne(run, QFile::encodeName(QDir::cleanPath(source)).toStdString());
        if (step == Step::Stop || isCancelled()) {
            undo(run);
            result.outcome = run.error.isEmpty() ? FileOperationResult::Cancelled
                                                 : FileOperationResult::Failed;
            result.error = run.error;
            report(run, result);
            return result;
        }
    }
    finish(run);
    for (const Placed &placed : run.placed)
        result.placed << QFile::decodeName(placed.name.c_str());
    if (!run.error.isEmpty()) {
        result.outcome = FileOperationResult::Failed;
        result.error = run.error;
    }
    report(run, result);
    return result;
}

void FileCopier::report(const Run &run, FileOperationResult &result)
{
    result.putBack = toList(run.restored.putBack);
    result.recovered = toList(run.restored.recovered);
    result.stuck = toList(run.restored.stuck);
    result.leftBehind = toList(run.leftBehind);
    result.keptOnUndo = toList(run.keptOnUndo);
}

bool FileCopier::open(Run &run)
{
    run.folder = QFile::encodeName(QDir::cleanPath(run.operation->folder)).toStdString();
    struct stat st {};
    run.folderFd.reset(::open(run.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!run.folderFd || ::fstat(run.folderFd.get(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        const int error = errno ? errno : ENOTDIR;
        run.error = tr("Cannot open the folder \"%1\": %2.")
                        .arg(QDir::toNativeSeparators(run.operation->folder),
                             QString::fromLocal8Bit(std::strerror(error)));
        return false;
    }
    run.device = st.st_dev;
    run.inode = st.st_ino;
    // Every step below goes through the folder held open, so a name swapped
    // for a link meanwhile never takes the copy, or a replace, elsewhere.
    const std::string held = "/proc/self/fd/" + std::to_string(run.folderFd.get());
    struct stat through {};
    run.base = ::stat(held.c_str(), &through) == 0 && sameEntry(through, st) ? held : run.folder;
    run.folderReal = realPath(run.base);
    run.restored = sweepAbandonedCopies(run.base);
    run.work.emplace(run.base);
    return true;
}

// Only what is copied counts: a rename is done at once.
void FileCopier::countBytes(const Run &run)
{
    qint64 total = 0;
    for (const QString &source : run.operation->sources) {
        const std::string path = QFile::encodeName(source).toStdString();
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (run.operation->kind == FileOperation::Copy || st.st_dev != run.device)
            total += bytesBelow(path, m_cancel);
    }
    m_total.store(total);
}

// Latest first, so a name given back is free again for the one before. Only
// what is still as the copy put it goes; an entry changed since stays, and
// what it replaced comes back beside it. What cannot go back stays in the work
// folder for the next copy's sweep.
void FileCopier::undo(Run &run)
{
    bool allBack = true;
    RestoreReport restored;
    for (auto it = run.placed.rbegin(); it != run.placed.rend(); ++it) {
        const std::string here = childPath(run.base, it->name);
        struct stat now {};
        const bool there = ::lstat(here.c_str(), &now) == 0;
        if (there && !it->movedFrom.empty() && sameEntry(now, it->placedAs))
            renameNoReplace(here, it->movedFrom);
        else if (there && it->movedFrom.empty() && S_ISDIR(it->placedAs.st_mode) && sameEntry(now, it->placedAs))
            removeCopied(run.folderFd.get(), it->made, childPath(run.folder, it->name), run.keptOnUndo, true);
        else if (there && it->movedFrom.empty() && workfolder::PlacedEntry::of(it->placedAs).holds(now))
            removeTree(here, true);
        if (it->item)
            allBack = run.work->restore(it->item, restored) && allBack;
    }
    run.placed.clear();
    for (std::string &name : restored.recovered)
        run.restored.recovered.push_back(std::move(name));
    for (std::string &name : restored.stuck)
        run.restored.stuck.push_back(std::move(name));
    if (allBack)
        run.work->remove();
    else
        run.work->abandon();
}

// Past the point of no return: what was replaced goes, and the sources of a
// move across file systems go once their copies are on the disk.
void FileCopier::finish(Run &run)
{
    bool removesSources = false;
    for (const Placed &placed : run.placed)
        removesSources |= !placed.removeAfter.empty();
    run.work->remove();
    if (!removesSources)
        return;
    const bool synced = ::syncfs(run.folderFd.get()) == 0;
    // Each source goes only while it is what was copied; what changed stays.
    for (const Placed &placed : run.placed) {
        if (placed.removeAfter.empty())
            continue;
        int error = synced ? 0 : EIO;
        if (synced) {
            const size_t slash = placed.removeAfter.rfind('/');
            const std::string parent = slash == std::string::npos ? std::string(".")
                                       : slash == 0                ? std::string("/")
                                                                   : placed.removeAfter.substr(0, slash);
            const UniqueFd parentFd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (parentFd && removeCopied(parentFd.get(), placed.copied, placed.removeAfter, run.leftBehind))
                continue;
            error = errno;
        }
        if (run.error.isEmpty())
            run.error = tr("\"%1\" was copied, but could not be removed from where it was: %2.")
                            .arg(QDir::toNativeSeparators(QFile::decodeName(placed.removeAfter.c_str())),
                                 QString::fromLocal8Bit(std::strerror(error)));
    }
}
