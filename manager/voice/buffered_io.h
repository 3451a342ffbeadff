// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Buffered frame reading and PCM writing on plain descriptors, so converting
// a recording costs a handful of system calls per 64 KiB, not one per frame,
// and its memory stays the same whatever the file's length.
#pragma once

#include <cstddef>
#include <vector>

class FrameReader {
public:
    explicit FrameReader(int fd, std::size_t capacity = 64 * 1024);
    ~FrameReader();
    FrameReader(const FrameReader &) = delete;
    FrameReader &operator=(const FrameReader &) = delete;

    // The next length bytes, contiguous and valid until the next call, without
    // consuming them. nullptr when fewer remain (end of file or a read error).
    const unsigned char *peek(std::size_t length);
    // As peek, and consumes them.
    const unsigned char *next(std::size_t length);
    // True once a read failed, as opposed to the file simply ending.
    bool failed() const { return m_failed; }

private:
    bool fill(std::size_t length);
    void markUnread(bool unread);

    int m_fd;
    std::vector<unsigned char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

// Writes a file from its start. Written data is sent to the disk as it goes,
// a few MiB at a time, so the final fsync of a file of hundreds of MiB has
// little left to wait for and dirty pages never pile up.
class BufferedWriter {
public:
    explicit BufferedWriter(int fd, std::size_t capacity = 64 * 1024);

    // Both return false once any write has failed; errorCode() then tells why.
    bool write(const unsigned char *bytes, std::size_t count);
    bool flush();
    int errorCode() const { return m_error; }

private:
    bool writeAll(const unsigned char *bytes, std::size_t count);
    void paceWriteback();

    int m_fd;
    std::vector<unsigned char> m_buffer;
    std::size_t m_used = 0;
    int m_error = 0;
    long long m_written = 0;     // bytes written to the file so far
    long long m_sentUpTo = 0;    // writeback started for the bytes before this
    long long m_settledUpTo = 0; // and finished for the bytes before this
};

// Writes all count bytes at offset; false (errno set) when that fails.
bool writeAllAt(int fd, const unsigned char *bytes, std::size_t count, long long offset);
