// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "act_hook.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> armed{false};
std::mutex guard;
std::string watchedName;
std::function<void()> pending;

// The change due before an act on path, taken once.
void runIfWatched(const char *path)
{
    if (!armed || !path)
        return;
    const char *slash = std::strrchr(path, '/');
    std::function<void()> change;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!armed || watchedName != (slash ? slash + 1 : path))
            return;
        armed = false;
        change = std::move(pending);
    }
    if (change)
        change();
}

} // namespace

void ActHook::before(const std::string &name, std::function<void()> change)
{
    const std::lock_guard<std::mutex> lock(guard);
    watchedName = name;
    pending = std::move(change);
    armed = true;
}

void ActHook::clear()
{
    const std::lock_guard<std::mutex> lock(guard);
    armed = false;
    pending = nullptr;
}

extern "C" int unlinkat(int dirFd, const char *path, int flags) noexcept
{
    runIfWatched(path);
    return int(::syscall(SYS_unlinkat, dirFd, path, flags));
}

extern "C" int unlink(const char *path) noexcept
{
    runIfWatched(path);
    return int(::syscall(SYS_unlinkat, AT_FDCWD, path, 0));
}

extern "C" int renameat2(int fromFd, const char *from, int toFd, const char *to, unsigned int flags) noexcept
{
    runIfWatched(from);
    return int(::syscall(SYS_renameat2, fromFd, from, toFd, to, flags));
}

extern "C" int renameat(int fromFd, const char *from, int toFd, const char *to) noexcept
{
    runIfWatched(from);
    return int(::syscall(SYS_renameat2, fromFd, from, toFd, to, 0));
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    runIfWatched(from);
    return int(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}
