// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/import_run.h"

#include "platform/paths.h"

#include <QCoreApplication>

namespace {

// At most three names on the status bar's one line.
QString namesText(const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names.mid(0, 3))
        shown << QStringLiteral("\"%1\"").arg(name);
    const QString text = shown.join(QStringLiteral(", "));
    const int more = int(names.size()) - 3;
    if (more <= 0)
        return text;
    return QCoreApplication::translate("ImportRun", "%1 and %n more", nullptr, more).arg(text);
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
    if (fresh == 0) {
        text = QCoreApplication::translate("ImportRun", "No new recordings to import.");
    } else if (arrived == fresh) {
        text = arrived == 1 ? QCoreApplication::translate("ImportRun", "%n recording imported.", nullptr, arrived)
                            : QCoreApplication::translate("ImportRun", "%n recordings imported.", nullptr, arrived);
    } else if (arrived == 0) {
        text = QCoreApplication::translate("ImportRun", "No recordings were imported.");
    } else {
        // The count of new recordings governs the noun; the one imported fills %1.
        text = QCoreApplication::translate("ImportRun", "%1 of %n new recordings imported.", nullptr, fresh)
                   .arg(arrived);
    }
    if (!renamed.isEmpty()) {
        text += QLatin1Char(' ')
            + QCoreApplication::translate("ImportRun", "Under a new name, as their names were taken: %1.", nullptr,
                                          int(renamed.size()))
                  .arg(namesText(renamed));
    }
    return text;
}
