// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The drag format of player files dragged out of the window's player lists.
#pragma once

inline constexpr char kPlayerFilesMimeType[] = "application/x-tovix-player-files";
