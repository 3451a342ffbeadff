// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/name_list.h"

QString listedNames(const QStringList &names, qsizetype shown)
{
    QStringList lines;
    for (qsizetype i = 0; i < names.size() && i < shown; ++i)
        lines << QStringLiteral("\"%1\"").arg(names[i]);
    if (names.size() > shown)
        lines << QStringLiteral("and %1 more.").arg(names.size() - shown);
    return lines.join(QLatin1Char('\n'));
}
