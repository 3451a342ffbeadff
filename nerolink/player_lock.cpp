// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "player_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace nerolink {

PlayerLock::PlayerLock(const std::string &playerFolder)
{
    // A player folder that cannot hold the lock file is used unlocked.
    fd_ = ::open((playerFolder + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

PlayerLock::~PlayerLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace nerolink
