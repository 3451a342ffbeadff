// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Many names in one message, so that a long list stays a box the user can read.
#pragma once

#include <QStringList>

// The names quoted, one a line; past the first shown of them, "and N more.".
QString listedNames(const QStringList &names, qsizetype shown = 10);
