// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/import_run.h"

#include "platform/paths.h"

namespace {

QString recordingsText(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 recording") : QStringLiteral("%1 recordings").arg(count);
}

// At most three names on the status bar's one line.
QString namesText(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names.mid(0, 3))
        shown << QStringLiteral("\"%1\"").arg(name);
    QString text = shown.join(QStringLiteral(", "));
    if (names.size() > 3)
        text += QStringLiteral(" and %1 more").arg(names.size() - 3);
    return text;
}

} // namespace

void ImportRun::add(ImportTicket ticket)
{
    std::string path = ticket.voicePath;
    pending.insert_or_assign(std::move(path), std::move(ticket));
    ++queued;
}

std::optional<ImportTicket> ImportRun::take(const std::string &voicePath)
{
    const auto found = pending.find(voicePath);
    if (found == pending.end())
        return std::nullopt;
    ImportTicket ticket = std::move(found->second);
    pending.erase(found);
    return ticket;
}

void ImportRun::count(const ImportArrival &arrival, const std::string &expectedWave)
{
    if (arrival.kind == ImportArrival::AlreadyThere) {
        ++alreadyThere;
    } else if (arrival.kind == ImportArrival::Arrived) {
        ++arrived;
        if (arrival.wavePath != expectedWave)
            renamed << QString::fromLocal8Bit(extractFileName(arrival.wavePath));
    }
}

QString ImportRun::summary() const
{
    const int fresh = queued - alreadyThere;
    QString text;
    if (fresh == 0)
        text = QStringLiteral("No new recordings to import.");
    else if (arrived == fresh)
        text = QStringLiteral("%1 imported.").arg(recordingsText(arrived));
    else if (arrived == 0)
        text = QStringLiteral("No recordings were imported.");
    else
        text = QStringLiteral("%1 of %2 new recordings imported.").arg(arrived).arg(fresh);
    if (!renamed.isEmpty())
        text += QStringLiteral(" Under a new name, as their names were taken: %1.").arg(namesText(renamed));
    return text;
}
