// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A private folder for the files a harness hands to the code under test: made once,
// in memory where /dev/shm allows, and removed with all it holds when the run ends.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace fuzz {

inline std::string &scratchFolder()
{
    static std::string folder;
    return folder;
}

inline void removeScratch()
{
    const std::string &folder = scratchFolder();
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                ::unlink((folder + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(folder.c_str());
}

inline const std::string &scratch(const char *harness)
{
    std::string &folder = scratchFolder();
    if (folder.empty()) {
        std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/");
        pattern += std::string(harness) + "_XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder = pattern;
        std::atexit(removeScratch);
    }
    return folder;
}

inline bool writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    for (size_t at = 0; ok && at < size;) {
        const ssize_t put = ::write(fd, data + at, size - at);
        ok = put > 0;
        at += ok ? size_t(put) : 0;
    }
    return fd >= 0 && ::close(fd) == 0 && ok;
}

} // namespace fuzz
