// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice/buffered_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr long long kWritebackChunk = 4 << 20;
} // namespace

#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

FrameReader::FrameReader(int fd, std::size_t capacity) : m_fd(fd), m_buffer(capacity)
{
    markUnread(true);
}

FrameReader::~FrameReader()
{
    markUnread(false);
}

// Under AddressSanitizer the part of the buffer that holds no bytes of the file
// is unreadable, so a caller that strays past what it was given is caught
// even though the memory is ours.
void FrameReader::markUnread(bool unread)
{
    unsigned char *tail = m_buffer.data() + m_end;
    if (unread)
        ASAN_POISON_MEMORY_REGION(tail, m_buffer.size() - m_end);
    else
        ASAN_UNPOISON_MEMORY_REGION(tail, m_buffer.size() - m_end);
}

bool FrameReader::fill(std::size_t length)
{
    if (m_end - m_begin >= length)
        return true;
    if (length > m_buffer.size())
        return false;
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    markUnread(false);
    while (m_end < length && !m_atEnd && !m_failed) {
        const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (got > 0)
            m_end += static_cast<std::size_t>(got);
        else if (got == 0)
            m_atEnd = true;
        else if (errno != EINTR)
            m_failed = true;
    }
    markUnread(true);
    return m_end >= length;
}

const unsigned char *FrameReader::peek(std::size_t length)
{
    return fill(length) ? m_buffer.data() + m_begin : nullptr;
}

const unsigned char *FrameReader::next(std::size_t length)
{
    const unsigned char *bytes = peek(length);
    if (bytes)
        m_begin += length;
    return bytes;
}

BufferedWriter::BufferedWriter(int fd, std::size_t capacity) : m_fd(fd), m_buffer(capacity) {}

bool BufferedWriter::writeAll(const unsigned char *bytes, std::size_t count)
{
    while (count > 0) {
        const ssize_t put = ::write(m_fd, bytes, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_error = put < 0 ? errno : EIO;
            return false;
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
        m_written += put;
    }
    paceWriteback();
    return true;
}

// Starts writeback of each full chunk and waits for the one before it, the
// usual way of streaming a large file out without a long stall at its sync.
// Errors are left to that sync, which reports them.
void BufferedWriter::paceWriteback()
{
    if (m_written - m_sentUpTo < kWritebackChunk)
        return;
    (void)::sync_file_range(m_fd, m_sentUpTo, m_written - m_sentUpTo, SYNC_FILE_RANGE_WRITE);
    if (m_sentUpTo > m_settledUpTo)
        (void)::sync_file_range(m_fd, m_settledUpTo, m_sentUpTo - m_settledUpTo,
                                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE
                                    | SYNC_FILE_RANGE_WAIT_AFTER);
    m_settledUpTo = m_sentUpTo;
    m_sentUpTo = m_written;
}

bool BufferedWriter::write(const unsigned char *bytes, std::size_t count)
{
    if (m_error != 0)
        return false;
    if (m_used + count > m_buffer.size()) {
        if (!flush())
            return false;
        if (count > m_buffer.size())
            return writeAll(bytes, count);
    }
    std::memcpy(m_buffer.data() + m_used, bytes, count);
    m_used += count;
    return true;
}

bool BufferedWriter::flush()
{
    if (m_error != 0)
        return false;
    const std::size_t used = m_used;
    m_used = 0;
    return writeAll(m_buffer.data(), used);
}

bool writeAllAt(int fd, const unsigned char *bytes, std::size_t count, long long offset)
{
    while (count > 0) {
        const ssize_t put = ::pwrite(fd, bytes, count, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}
