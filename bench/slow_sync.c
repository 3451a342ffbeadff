// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

/* A disk that is slow to sync, as a USB stick or a network share is: loaded
 * with LD_PRELOAD, it makes every fsync, fdatasync, syncfs and waiting
 * sync_file_range sleep TOVIX_SLOW_SYNC_MS milliseconds (default 1500)
 * before the real call. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static int (*realFsync)(int);
static int (*realFdatasync)(int);
static int (*realSyncfs)(int);
static int (*realSyncFileRange)(int, off_t, off_t, unsigned int);
static long delayMs = 1500;

/* Before any thread of the program can call them. */
__attribute__((constructor)) static void findRealCalls(void)
{
    realFsync = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    realFdatasync = (int (*)(int))dlsym(RTLD_NEXT, "fdatasync");
    realSyncfs = (int (*)(int))dlsym(RTLD_NEXT, "syncfs");
    realSyncFileRange = (int (*)(int, off_t, off_t, unsigned int))dlsym(RTLD_NEXT, "sync_file_range");
    const char *text = getenv("TOVIX_SLOW_SYNC_MS");
    if (text)
        delayMs = atol(text);
}

static void slowDown(void)
{
    struct timespec left = {delayMs / 1000, (delayMs % 1000) * 1000000L};
    while (delayMs > 0 && nanosleep(&left, &left) != 0)
        ;
}

int fsync(int fd)
{
    slowDown();
    return realFsync(fd);
}

int fdatasync(int fd)
{
    slowDown();
    return realFdatasync(fd);
}

int syncfs(int fd)
{
    slowDown();
    return realSyncfs(fd);
}

/* Only a call that waits for the writeback is slow; starting it is not. */
int sync_file_range(int fd, off_t offset, off_t count, unsigned int flags)
{
    if (flags & (SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WAIT_AFTER))
        slowDown();
    return realSyncFileRange(fd, offset, count, flags);
}
