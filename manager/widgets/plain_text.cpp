// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "widgets/plain_text.h"

#include <QLabel>

QLabel *newPlainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return text; // no tooltip at all
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped()
           + QStringLiteral("</p>");
}
