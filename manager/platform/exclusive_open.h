// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Opening files without sharing them: open() plus a non-blocking exclusive
// flock(), so a file that another program holds locked is refused instead of
// waited for. Failures leave errno set.
#pragma once

#include <cstdint>
#include <string>

// Owns one file descriptor and closes it when it goes.
class UniqueFd {
public:
    UniqueFd() noexcept = default;
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd();

    UniqueFd(UniqueFd &&other) noexcept : m_fd(other.release()) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept;
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const noexcept { return m_fd; }
    bool isValid() const noexcept { return m_fd >= 0; }
    explicit operator bool() const noexcept { return isValid(); }

    // Gives up ownership without closing.
    int release() noexcept;
    // Closes the current descriptor (if any) and owns fd instead.
    void reset(int fd = -1) noexcept;
    // Closes now and reports whether the close succeeded; a failing close
    // can mean written data never reached the disk.
    bool close() noexcept;

private:
    int m_fd = -1;
};

// Takes the open file's exclusive lock without waiting; false when another
// opener holds it.
bool lockExclusive(int fd);

// Opens an existing regular file for reading, locked against every other
// opener that locks. Invalid when the file is missing, not a regular file,
// unreadable, or locked elsewhere.
UniqueFd openExclusiveRead(const std::string &path, bool followLink = true);
// The same for the entry name of the open folder dirFd.
UniqueFd openExclusiveReadAt(int dirFd, const std::string &name, bool followLink = true);

// Creates the file, or empties an existing one, for reading and writing,
// locked as above. A file locked elsewhere is refused and left untouched.
UniqueFd createExclusiveReadWrite(const std::string &path);

// The length in bytes of the open file, or -1 on failure.
std::int64_t fileLength(const UniqueFd &file);
