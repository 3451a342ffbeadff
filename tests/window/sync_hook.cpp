// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "sync_hook.h"

#include <atomic>
#include <cerrno>
#include <mutex>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::mutex lock;
std::function<void(int)> action; // under lock
std::atomic<bool> failFolders{false};

int hooked(long call, int fd)
{
    std::function<void(int)> run;
    {
        const std::lock_guard<std::mutex> hold(lock);
        run = action;
    }
    if (run)
        run(fd);
    struct stat st {};
    if (failFolders && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(call, fd));
}

} // namespace

void SyncHook::beforeSync(std::function<void(int)> run)
{
    const std::lock_guard<std::mutex> hold(lock);
    action = std::move(run);
}

void SyncHook::failFolderSyncs(bool fail)
{
    failFolders = fail;
}

void SyncHook::clear()
{
    beforeSync(nullptr);
    failFolderSyncs(false);
}

extern "C" int fsync(int fd)
{
    return hooked(SYS_fsync, fd);
}

extern "C" int fdatasync(int fd)
{
    return hooked(SYS_fdatasync, fd);
}
