// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One item of an operation: its name in the folder, then a rename or a copy.
#include "fileops/file_copier.h"

#include "fileops/tree_copy.h"
#include "fileops/unique_name.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QString shown(const std::string &path)
{
    return QDir::toNativeSeparators(QFile::decodeName(path.c_str()));
}

std::string realPath(const std::string &path)
{
    char *real = ::realpath(path.c_str(), nullptr);
    std::string out = real ? real : path;
    std::free(real);
    return out;
}

bool within(const std::string &path, const std::string &folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0
                              && (folder.back() == '/' || path[folder.size()] == '/'));
}

std::string parentOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

FileCopier::Step FileCopier::failed(Run &run, const std::string &path, const QString &reason)
{
    // Named by the folder's own path, not the one it is reached by.
    const std::string prefix = run.base + '/';
    const std::string inWork = run.work ? run.work->shown(path) : path;
    const std::string named = inWork.compare(0, prefix.size(), prefix) == 0
                                  ? childPath(run.folder, inWork.substr(prefix.size())) : inWork;
    run.error = run.operation->kind == FileOperation::Move
                    ? tr("Cannot move \"%1\": %2.").arg(shown(named), reason)
                    : tr("Cannot copy \"%1\": %2.").arg(shown(named), reason);
    return Step::Stop;
}

FileCopier::Step FileCopier::placeOne(Run &run, const std::string &source)
{
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0)
        return failed(run, source, QString::fromLocal8Bit(std::strerror(errno)));
    const bool isDir = S_ISDIR(st.st_mode);
    if (isDir && within(run.folderReal, realPath(source))) {
        run.error = run.operation->kind == FileOperation::Move
                        ? tr("Cannot move the folder \"%1\" into itself.").arg(shown(source))
                        : tr("Cannot copy the folder \"%1\" into itself.").arg(shown(source));
        return Step::Stop;
    }
    struct stat parent {};
    const bool sameFolder = ::stat(parentOf(source).c_str(), &parent) == 0
                            && parent.st_dev == run.device && parent.st_ino == run.inode;
    if (sameFolder && run.operation->kind == FileOperation::Move)
        return Step::Skipped; // already there
    Placed placed;
    bool replace = false;
    Step step = Step::Placed;
    if (!chooseName(run, source, isDir, sameFolder, placed.name, replace, step))
        return step;
    if (run.operation->kind == FileOperation::Move && st.st_dev == run.device) {
        bool crossDevice = false;
        step = renameInto(run, source, placed, crossDevice);
        if (!crossDevice)
            return step;
    }
    return copyInto(run, source, placed, replace);
}

// The item's name in the folder: its own, a numbered one to keep both, or the
// one it replaces. False when the item is not to go in (step says why).
bool FileCopier::chooseName(Run &run, const std::string &source, bool isDir, bool sameFolder,
                            std::string &name, bool &replace, Step &step)
{
    const QString folder = QFile::decodeName(run.folder.c_str());
    const QString own = QFile::decodeName(source.substr(source.rfind('/') + 1).c_str());
    name = QFile::encodeName(own).toStdString();
    const std::string target = childPath(run.base, name);
    struct stat there {};
    if (::lstat(target.c_str(), &there) != 0)
        return true;
    // A copy beside its original is always a second one.
    ClashChoice choice = ClashChoice::KeepBoth;
    if (!sameFolder)
        choice = askClash ? askClash({own, folder, S_ISDIR(there.st_mode)}) : ClashChoice::Skip;
    if (isCancelled()) {
        step = Step::Stop;
        return false;
    }
    if (choice == ClashChoice::Skip) {
        step = Step::Skipped;
        return false;
    }
    if (choice == ClashChoice::KeepBoth) {
        name = QFile::encodeName(freeName(QFile::decodeName(run.base.c_str()), own, !isDir)).toStdString();
        return true;
    }
    if (S_ISDIR(there.st_mode) && within(realPath(source), realPath(target))) {
        run.error = tr("Cannot replace \"%1\" with an item it holds.").arg(shown(childPath(run.folder, name)));
        step = Step::Stop;
        return false;
    }
    replace = true;
    return true;
}

FileCopier::Step FileCopier::renameInto(Run &run, const std::string &source, Placed &placed,
                                        bool &crossDevice)
{
    const std::string target = childPath(run.base, placed.name);
    struct stat there {};
    const bool in = ::lstat(target.c_str(), &there) == 0 ? replaceWith(run, source, target, placed)
                                                         : renameNoReplace(source, target);
    if (in) {
        placed.movedFrom = source;
        notePlaced(run, placed);
        return Step::Placed;
    }
    const int error = errno;
    if (error == EXDEV) { // one file system under two mounts
        crossDevice = true;
        return Step::Placed;
    }
    return failed(run, source, QString::fromLocal8Bit(std::strerror(error)));
}

// What went in under placed's name is noted, so an undo or a later sweep
// can tell it from what the user put there since.
void FileCopier::notePlaced(Run &run, Placed &placed)
{
    ::lstat(childPath(run.base, placed.name).c_str(), &placed.placedAs);
    if (S_ISDIR(placed.placedAs.st_mode) && placed.movedFrom.empty()) {
        placed.made.name = placed.name;
        recordTree(run.folderFd.get(), placed.made);
    }
    if (placed.item)
        run.work->notePlaced(placed.item, placed.placedAs);
    run.placed.push_back(std::move(placed));
}

// from takes target's name; what had it is kept aside in the work folder,
// with a note of what takes its place. A file is kept aside as a second link
// first, so the name is never missing. On failure everything is as it was,
// errno set.
bool FileCopier::replaceWith(Run &run, const std::string &from, const std::string &target,
                             Placed &placed)
{
    const int item = ++run.items;
    std::string parked;
    struct stat st {}, there {};
    if (!run.work->makeParkPath(item, placed.name, parked) || ::lstat(from.c_str(), &st) != 0
        || !run.work->notePlaced(item, st))
        return false;
    const bool files = !S_ISDIR(st.st_mode) && ::lstat(target.c_str(), &there) == 0
                       && !S_ISDIR(there.st_mode);
    bool in = false;
    if (files && ::link(target.c_str(), parked.c_str()) == 0) {
        in = ::rename(from.c_str(), target.c_str()) == 0;
        if (!in) {
            const int error = errno;
            ::unlink(parked.c_str());
            errno = error;
        }
    } else if (renameNoReplace(target, parked)) {
        in = renameNoReplace(from, target);
        if (!in) {
            const int error = errno;
            renameNoReplace(parked, target);
            errno = error;
        }
    }
    if (in) {
        placed.backup = parked;
        placed.item = item;
    }
    return in;
}

// Copied whole in the work folder, then put in place of what it replaces, so
// the old entry stays until the new one is complete.
FileCopier::Step FileCopier::copyInto(Run &run, const std::string &source, Placed &placed,
                                      bool replace)
{
    const std::string target = childPath(run.base, placed.name);
    if (!run.work->make())
        return failed(run, target, QString::fromLocal8Bit(std::strerror(errno)));
    const std::string stagedName = WorkFolder::stageName(++run.items);
    const std::string staged = childPath(run.work->path(), stagedName);
    CopyContext ctx = context();
    if (run.operation->kind == FileOperation::Move) {
        placed.copied.name = source.substr(source.rfind('/') + 1);
        ctx.record = &placed.copied;
    }
    if (!copyEntry(source, run.work->path(), stagedName, ctx)) {
        if (ctx.failedPath.empty())
            return Step::Stop; // cancelled
        return failed(run, ctx.failedPath, ctx.reasonText());
    }
    struct stat there {};
    const bool in = replace && ::lstat(target.c_str(), &there) == 0
                        ? replaceWith(run, staged, target, placed)
                        : renameNoReplace(staged, target);
    if (!in) {
        const int error = errno;
        removeTree(staged, true);
        return failed(run, target, QString::fromLocal8Bit(std::strerror(error)));
    }
    if (run.operation->kind == FileOperation::Move)
        placed.removeAfter = source;
    notePlaced(run, placed);
    return Step::Placed;
}
