// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A free name in a folder: the name itself, else "NAME (2)", "NAME (3)"... For a
// file the number goes before its extension ("song (2).mp3"), so it keeps its type.
#pragma once

#include <QString>

QString freeName(const QString &folder, const QString &name, bool keepExtension);
