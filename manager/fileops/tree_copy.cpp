// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/tree_copy.h"

#include "fileops/held_folder.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kChunk = 1 << 20;

// Closes a descriptor when the scope ends.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

bool copyData(int in, int out, const std::string &source, CopyContext &ctx)
{
    bool kernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        if (ctx.cancelled())
            return false;
        ssize_t got = -1;
        if (kernelCopy) {
            got = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
            if (got < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS
                            || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
        } else {
            buffer.resize(kChunk);
            got = ::read(in, buffer.data(), buffer.size());
            for (ssize_t at = 0; got > 0 && at < got;) {
                const ssize_t put = ::write(out, buffer.data() + at, size_t(got - at));
                if (put < 0 && errno != EINTR)
                    return ctx.fail(source, errno);
                at += put > 0 ? put : 0;
            }
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ctx.fail(source, errno);
        if (got == 0)
            return true;
        if (ctx.advance)
            ctx.advance(got);
    }
}

bool copyFile(const std::string &source, const struct stat &st, const std::string &target,
              CopyContext &ctx)
{
    if (ctx.entering)
        ctx.entering(source);
    // Not blocking: a file swapped for a pipe since it was looked at must not hang us.
    const Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat opened {};
    if (!in.valid() || ::fstat(in.get(), &opened) != 0)
        return ctx.fail(source, errno);
    if (!S_ISREG(opened.st_mode))
        return ctx.fail(source, QT_TRANSLATE_NOOP("CopyContext", "it changed while it was being copied"));
    ::fcntl(in.get(), F_SETFL, 0);
    if (ctx.record)
        ctx.record->st = opened;

    PendingFile out(target.substr(0, target.rfind('/')), kPartialPrefix);
    if (!out.isValid())
        return ctx.fail(target, errno);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    bool done = copyData(in.get(), out.fd(), source, ctx);
    if (done && (::fchmod(out.fd(), st.st_mode & 0777) != 0 || ::futimens(out.fd(), times) != 0
                 || !out.publish(target, false)))
        done = ctx.fail(target, errno);
    return done;
}

bool copyFolder(const std::string &source, const struct stat &st, const std::string &target,
                CopyContext &ctx)
{
    const Fd dirFd(::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dirFd.valid())
        return ctx.fail(source, errno);
    CopiedEntry *const record = ctx.record;
    if (record && ::fstat(dirFd.get(), &record->st) != 0)
        return ctx.fail(source, errno);
    DIR *dir = ::fdopendir(::dup(dirFd.get()));
    if (!dir)
        return ctx.fail(source, errno);
    if (::mkdir(target.c_str(), 0700) != 0) {
        ::closedir(dir);
        return ctx.fail(target, errno);
    }
    bool done = true;
    errno = 0;
    while (done) {
        const dirent *d = ::readdir(dir);
        if (!d) {
            if (errno != 0)
                done = ctx.fail(source, errno);
            break;
        }
        const char *raw = d->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        if (record) {
            record->children.push_back({raw, {}, {}});
            ctx.record = &record->children.back();
        }
        done = copyEntry(childPath(source, raw), target, raw, ctx);
        ctx.record = record;
        errno = 0;
    }
    ::closedir(dir);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (done && (::chmod(target.c_str(), st.st_mode & 0777) != 0
                 || ::utimensat(AT_FDCWD, target.c_str(), times, 0) != 0))
        done = ctx.fail(target, errno);
    if (!done)
        removeTree(target, true);
    return done;
}

bool copyLink(const std::string &source, const struct stat &st, const std::string &target,
              CopyContext &ctx)
{
    std::vector<char> to(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t got = ::readlink(source.c_str(), to.data(), to.size());
    if (got < 0)
        return ctx.fail(source, errno);
    if (size_t(got) >= to.size())
        return ctx.fail(source, QT_TRANSLATE_NOOP("CopyContext", "it changed while it was being copied"));
    to[size_t(got)] = 0;
    if (::symlink(to.data(), target.c_str()) != 0)
        return ctx.fail(target, errno);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return true;
}

} // namespace

bool CopyContext::fail(const std::string &path, int error)
{
    if (failedPath.empty()) {
        failedPath = path;
        reason = std::strerror(error);
        reasonIsOwn = false;
    }
    return false;
}

bool CopyContext::fail(const std::string &path, const char *why)
{
    if (failedPath.empty()) {
        failedPath = path;
        reason = why;
        reasonIsOwn = true;
    }
    return false;
}

QString CopyContext::reasonText() const
{
    return reasonIsOwn ? QCoreApplication::translate("CopyContext", reason.c_str())
                       : QString::fromLocal8Bit(reason.c_str());
}

std::string childPath(const std::string &folder, const std::string &name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool copyEntry(const std::string &source, const std::string &folder, const std::string &name,
               CopyContext &ctx)
{
    if (ctx.cancelled())
        return false;
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0)
        return ctx.fail(source, errno);
    const std::string target = childPath(folder, name);
    if (ctx.record)
        ctx.record->st = st;
    if (S_ISREG(st.st_mode))
        return copyFile(source, st, target, ctx);
    if (S_ISDIR(st.st_mode))
        return copyFolder(source, st, target, ctx);
    if (S_ISLNK(st.st_mode))
        return copyLink(source, st, target, ctx);
    if (S_ISFIFO(st.st_mode))
        return ::mkfifo(target.c_str(), st.st_mode & 0777) == 0 || ctx.fail(target, errno);
    return ctx.fail(source, QT_TRANSLATE_NOOP("CopyContext", "it is neither a file, a folder nor a link"));
}

bool removeTree(const std::string &path, bool ownCopy, int *error)
{
    struct stat st {};
    const auto failed = [error] {
        if (error && *error == 0)
            *error = errno;
        return false;
    };
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT || failed();
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.c_str()) == 0 || failed();
    if (ownCopy && (st.st_mode & 0700) != 0700)
        ::chmod(path.c_str(), 0700);
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return failed();
    std::vector<std::string> names;
    while (const dirent *d = ::readdir(dir)) {
        const char *raw = d->d_name;
        if (!(raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0))))
            names.emplace_back(raw);
    }
    ::closedir(dir);
    bool done = true;
    for (const std::string &name : names)
        done = removeTree(childPath(path, name), ownCopy, error) && done;
    return (done && ::rmdir(path.c_str()) == 0) || failed();
}

bool removeCopied(int dirFd, const CopiedEntry &copied, const std::string &path,
                  std::vector<std::string> &left, bool ownCopy)
{
    struct stat now {};
    if (!statAt(dirFd, copied.name, now))
        return errno == ENOENT;
    const bool isDir = S_ISDIR(copied.st.st_mode);
    if (!sameEntry(now, copied.st) || S_ISDIR(now.st_mode) != isDir
        || (!isDir && (now.st_size != copied.st.st_size || now.st_mtim.tv_sec != copied.st.st_mtim.tv_sec
                       || now.st_mtim.tv_nsec != copied.st.st_mtim.tv_nsec))) {
        left.push_back(path);
        return true;
    }
    if (!isDir)
        return ::unlinkat(dirFd, copied.name.c_str(), 0) == 0 || errno == ENOENT;
    const UniqueFd folder = openFolderAt(dirFd, copied.name);
    struct stat opened {};
    if (!folder || ::fstat(folder.get(), &opened) != 0)
        return false;
    if (!sameEntry(opened, copied.st)) {
        left.push_back(path);
        return true;
    }
    const bool openedUp = ownCopy && opened.st_uid == ::geteuid() && (opened.st_mode & 0700) != 0700
                           && ::fchmod(folder.get(), 0700) == 0;
    bool done = true;
    int error = 0;
    for (const CopiedEntry &child : copied.children) {
        if (!removeCopied(folder.get(), child, childPath(path, child.name), left, ownCopy) && done) {
            done = false;
            error = errno;
        }
    }
    if (done && (::unlinkat(dirFd, copied.name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT))
        return true;
    const int failure = done ? errno : error;
    if (openedUp)
        ::fchmod(folder.get(), opened.st_mode & 07777);
    errno = failure;
    if (!done || (failure != ENOTEMPTY && failure != EEXIST))
        return false;
    // Entries that came after the copy are named by their folder.
    std::unordered_set<std::string> known;
    for (const CopiedEntry &child : copied.children)
        known.insert(child.name);
    std::vector<std::string> names;
    namesAt(folder.get(), names);
    if (std::any_of(names.begin(), names.end(), [&](const std::string &name) { return !known.count(name); }))
        left.push_back(path);
    return true;
}

void recordTree(int dirFd, CopiedEntry &entry)
{
    if (!statAt(dirFd, entry.name, entry.st) || !S_ISDIR(entry.st.st_mode))
        return;
    const UniqueFd folder = openFolderAt(dirFd, entry.name);
    std::vector<std::string> names;
    if (!folder || !namesAt(folder.get(), names))
        return;
    for (std::string &name : names) {
        entry.children.push_back({std::move(name), {}, {}});
        recordTree(folder.get(), entry.children.back());
    }
}

qint64 bytesBelow(const std::string &path, const std::atomic<bool> &cancel)
{
    struct stat st {};
    if (cancel.load(std::memory_order_relaxed) || ::lstat(path.c_str(), &st) != 0)
        return 0;
    if (S_ISREG(st.st_mode))
        return st.st_size;
    if (!S_ISDIR(st.st_mode))
        return 0;
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return 0;
    qint64 bytes = 0;
    while (const dirent *d = ::readdir(dir)) {
        const char *raw = d->d_name;
        if (!(raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0))))
            bytes += bytesBelow(childPath(path, raw), cancel);
    }
    ::closedir(dir);
    return bytes;
}


std::string randomTag()
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    char tag[20];
    std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(random()));
    return tag;
}
