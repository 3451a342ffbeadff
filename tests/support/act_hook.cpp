// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "act_hook.h"

#include <cstring>
#include <fstream>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::mutex guard;
std::string watchedName, swappedFolder, movedFolder; // no name: nothing due
std::function<void()> dueAction;

// The swap due before an act on path, made once.
void runIfWatched(const char *path)
{
    const char *slash = path ? std::strrchr(path, '/') : nullptr;
    std::unique_lock<std::mutex> lock(guard);
    if (!path || watchedName.empty() || watchedName != (slash ? slash + 1 : path))
        return;
    if (dueAction) {
        const std::function<void()> action = std::move(dueAction);
        dueAction = nullptr;
        watchedName.clear();
        lock.unlock(); // the action may remove or rename too
        action();
        return;
    }
    ::syscall(SYS_renameat2, AT_FDCWD, swappedFolder.c_str(), AT_FDCWD, movedFolder.c_str(), 0);
    ::mkdir(swappedFolder.c_str(), 0700);
    std::ofstream(swappedFolder + '/' + watchedName, std::ios::binary) << "another user's file";
    watchedName.clear();
}

} // namespace

void ActHook::swapFolderBefore(const std::string &name, const std::string &folder, const std::string &moved)
{
    const std::lock_guard<std::mutex> lock(guard);
    watchedName = name;
    swappedFolder = folder;
    movedFolder = moved;
    dueAction = nullptr;
}

void ActHook::runBefore(const std::string &name, std::function<void()> action)
{
    const std::lock_guard<std::mutex> lock(guard);
    watchedName = name;
    dueAction = std::move(action);
}

void ActHook::clear()
{
    const std::lock_guard<std::mutex> lock(guard);
    watchedName.clear();
    dueAction = nullptr;
}

extern "C" int unlinkat(int dirFd, const char *path, int flags) noexcept
{
    runIfWatched(path);
    return int(::syscall(SYS_unlinkat, dirFd, path, flags));
}

extern "C" int renameat2(int fromFd, const char *from, int toFd, const char *to, unsigned int flags) noexcept
{
    runIfWatched(from);
    return int(::syscall(SYS_renameat2, fromFd, from, toFd, to, flags));
}

extern "C" int unlink(const char *path) noexcept { return unlinkat(AT_FDCWD, path, 0); }
extern "C" int renameat(int fromFd, const char *from, int toFd, const char *to) noexcept
{
    return renameat2(fromFd, from, toFd, to, 0);
}
extern "C" int rename(const char *from, const char *to) noexcept { return renameat2(AT_FDCWD, from, AT_FDCWD, to, 0); }
