// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/name_list.h"

#include <QCoreApplication>

QString listedNames(const QStringList &names, qsizetype shown)
{
    QStringList lines;
    for (qsizetype i = 0; i < names.size() && i < shown; ++i)
        lines << QStringLiteral("\"%1\"").arg(names[i]);
    if (names.size() > shown)
        lines << QCoreApplication::translate("NameList", "and %n more.", nullptr, int(names.size() - shown));
    return lines.join(QLatin1Char('\n'));
}
