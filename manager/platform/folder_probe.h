// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Whether a path names a folder, asked on a thread of its own, so a folder that
// does not answer (a network share gone away) holds the caller only as long as
// it chooses to wait.
#pragma once

#include <QString>

#include <functional>
#include <optional>

// True or false as the file system says; nothing when it has not answered
// within timeoutMs. The question goes on in the background until it does.
std::optional<bool> probeFolder(const QString &path, int timeoutMs);

// For tests: the check probeFolder makes; an empty one restores the real one.
void setFolderCheck(std::function<bool(const QString &path)> check);
