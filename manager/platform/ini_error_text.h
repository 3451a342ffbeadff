// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A failed settings write as the window shows it, in the user's language;
// what() keeps the English for logs and the widget-free code.
#pragma once

#include <QString>

class IniWriteError;

// "Unable to write to PATH", the path shown as it is.
QString iniWriteErrorText(const IniWriteError &error);
