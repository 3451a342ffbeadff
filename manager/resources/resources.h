// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The pictures built into the program. A static library's resources must be registered by hand.
#pragma once

void initTovixResources();
