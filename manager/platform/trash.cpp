// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/trash.h"

#include "platform/exclusive_open.h"
#include "platform/held_entry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 1000;
// Leaves room for ".trashinfo" and a counter within a name's 255 bytes.
constexpr qsizetype kMaxTrashName = 200;

struct TrashPlace {
    UniqueFd files;
    UniqueFd info;
    QByteArray pathInInfo; // the entry's path as its Path= line names it
};

// A folder of the trash, made when missing so that only this user may enter,
// opened without following a link, and this user's.
UniqueFd openOwnFolder(int parentFd, const char *name)
{
    if (::mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST)
        return {};
    UniqueFd fd(::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || st.st_uid != ::geteuid())
        return {};
    return fd;
}

bool openParts(const UniqueFd &trash, TrashPlace &place)
{
    if (!trash)
        return false;
    place.files = openOwnFolder(trash.get(), "files");
    place.info = openOwnFolder(trash.get(), "info");
    return place.files && place.info;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// The user's own trash, for entries on its file system. Without a data
// folder one is made first: the trash must never land in the working folder.
bool homeTrash(dev_t device, const QByteArray &path, TrashPlace &place)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir::isAbsolutePath(data) || !QDir().mkpath(data))
        return false;
    const UniqueFd dataFd(::open(QFile::encodeName(data).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dataFd)
        return false;
    const UniqueFd trash = openOwnFolder(dataFd.get(), "Trash");
    struct stat st {};
    if (!trash || ::fstat(trash.get(), &st) != 0 || st.st_dev != device)
        return false;
    place.pathInInfo = path;
    return openParts(trash, place);
}

// The highest folder above path still on device.
QByteArray topFolderOf(dev_t device, const QByteArray &path)
{
    QByteArray top = folderOf(path);
    while (top != "/") {
        const QByteArray above = folderOf(top);
        struct stat st {};
        if (::stat(above.constData(), &st) != 0 || st.st_dev != device)
            break;
        top = above;
    }
    return top;
}

// The trash at the top of the entry's file system: the shared ".Trash" when an
// administrator made it (a sticky folder, not a link), else ".Trash-UID".
bool topTrash(dev_t device, const QByteArray &path, TrashPlace &place)
{
    const QByteArray top = topFolderOf(device, path);
    const UniqueFd topFd(::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!topFd)
        return false;
    const QByteArray uid = QByteArray::number(qulonglong(::geteuid()));
    place.pathInInfo = path.mid(top == "/" ? 1 : top.size() + 1);
    struct stat st {};
    if (::fstatat(topFd.get(), ".Trash", &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)
        && (st.st_mode & S_ISVTX)) {
        const UniqueFd shared(::openat(topFd.get(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (shared && openParts(openOwnFolder(shared.get(), uid.constData()), place))
            return true;
    }
    return openParts(openOwnFolder(topFd.get(), (".Trash-" + uid).constData()), place);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Moves the held entry to files/name unless that name is taken (EEXIST then),
// and only while it is still the entry checked (ESTALE else): a link goes as
// itself, and a folder renamed above it changes nothing.
bool renameInto(const HeldEntry &entry, const struct stat &checked, int filesFd, const QByteArray &name)
{
    if (!stillHeld(entry, checked))
        return false;
    const int from = entry.folder.get();
    if (::renameat2(from, entry.name.c_str(), filesFd, name.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct stat st {};
    if (::fstatat(filesFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(from, entry.name.c_str(), filesFd, name.constData()) == 0;
}

// The info folder itself would take every entry's way back with it.
bool isInfoFolder(const struct stat &checked, const TrashPlace &place)
{
    struct stat info {};
    return ::fstat(place.info.get(), &info) == 0 && sameIdentity(checked, info);
}

// The info file is made first, under a name no other entry has; the entry
// follows under the same name, and without it the info file goes again.
bool moveInto(const HeldEntry &entry, const struct stat &checked, const TrashPlace &place)
{
    if (isInfoFolder(checked, place)) {
        errno = EINVAL;
        return false;
    }
    const QByteArray base = QByteArray::fromStdString(entry.name).left(kMaxTrashName);
    const QByteArray info = "[Trash Info]\nPath=" + place.pathInInfo.toPercentEncoding("/")
        + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + '\n';
    for (int n = 1; n <= kNameAttempts; ++n) {
        const QByteArray name = n == 1 ? base : base + '.' + QByteArray::number(n);
        const QByteArray infoName = name + ".trashinfo";
        UniqueFd infoFd(::openat(place.info.get(), infoName.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!infoFd && errno == EEXIST)
            continue;
        if (!infoFd)
            return false;
        const bool written = writeAll(infoFd.get(), info) && infoFd.close();
        if (written && renameInto(entry, checked, place.files.get(), name))
            return true;
        const int error = written ? errno : EIO;
        ::unlinkat(place.info.get(), infoName.constData(), 0);
        if (error != EEXIST)
            return false;
    }
    return false;
}

} // namespace

bool moveToTrash(const QByteArray &givenPath)
{
    QByteArray path = givenPath;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    HeldEntry entry;
    struct stat st {};
    if (!path.startsWith('/') || path == "/" || path.contains('\0') || !holdEntry(path.toStdString(), entry)
        || !statHeld(entry, st))
        return false;
    TrashPlace place;
    if (homeTrash(st.st_dev, path, place))
        return moveInto(entry, st, place);
    place = {};
    return topTrash(st.st_dev, path, place) && moveInto(entry, st, place);
}
