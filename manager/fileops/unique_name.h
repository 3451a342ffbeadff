// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A free name in a folder: the name itself, else "NAME (2)", "NAME (3)"... For a
// file the number goes before its extension ("song (2).mp3"), so it keeps its type.
#pragma once

#include <QString>

#include <string>

QString freeName(const QString &folder, const QString &name, bool keepExtension);

// The same in the open folder dirFd, for a name in the file system's bytes.
// With a mark the name is marked first: "report (recovered).txt", then
// "report (recovered 2).txt"...
std::string freeNameAt(int dirFd, const std::string &name, bool keepExtension,
                       const std::string &mark = {});
