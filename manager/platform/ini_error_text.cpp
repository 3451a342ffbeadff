// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/ini_error_text.h"

#include "platform/ini.h"

#include <QCoreApplication>

QString iniWriteErrorText(const IniWriteError &error)
{
    return QCoreApplication::translate("IniFile", "Unable to write to %1").arg(QString::fromStdString(error.path()));
}
