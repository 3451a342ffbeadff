// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// Set by the tests' main when an X server and xclip are there.
extern bool gHaveX;
