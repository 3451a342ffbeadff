// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Stands in front of the C library's read() for the whole test program, so a
// test can watch, or break, the reading of one chosen file as a failing disk would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ReadHook {

// Every read of path's file first runs onRead (when given); once goodBytes of
// it have been read, its reads fail with EIO.
void watch(const std::string &path, std::function<void()> onRead,
           std::size_t goodBytes = SIZE_MAX);
void clear();

} // namespace ReadHook
