// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// Reading and writing the text fields of the device records. The fields hold
// single-byte text in the local 8-bit encoding, ending at the first NUL or at
// the end of the field; callers convert with QString::fromLocal8Bit.
#pragma once

#include "device/nerolink.h"

#include <cstddef>
#include <string>

// The field's bytes up to its first NUL, or all of them when it has none.
std::string fieldText(const char *field, std::size_t size);

template <std::size_t N>
std::string fieldText(const char (&field)[N])
{
    return fieldText(field, N);
}

// The name a user sees: LongName when HasLongName is non-zero, else ShortName.
std::string displayName(const TFileEntry &entry);

// VersionText cut at a NUL, without leading or trailing blanks and control characters.
std::string versionText(const TPlayerVersion &version);

// Fills the field with text, zero-padding the rest. Text that does not fit is
// cut before the first UTF-8 character that would not fit whole; a text that
// fills the field exactly is kept without a terminating NUL.
void setFieldText(char *field, std::size_t size, const std::string &text);

template <std::size_t N>
void setFieldText(char (&field)[N], const std::string &text)
{
    setFieldText(field, N, text);
}

// A memory may hold more files than a record lists (255). The library says how
// many it holds in the record's first field, which the record leaves unused;
// a library that leaves it at 0 says nothing.
void setHeldFileCount(TMemoryInfo &info, uint64_t count);

// The files a memory holds beyond the record's entries: 0 unless the record is
// full and its first field holds a larger count. No FAT folder holds more than
// 65,535 entries, so a larger value is not a count.
uint32_t unlistedFileCount(const TMemoryInfo &info);
