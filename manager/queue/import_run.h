// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's tally of an import while its uploads run: what is on its way,
// and what each finished one brought in.
#pragma once

#include "queue/import_arrival.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>

struct ImportRun {
    std::map<std::string, ImportTicket> pending; // by the path its upload writes
    int queued = 0;
    int arrived = 0;
    int alreadyThere = 0;   // proved to be a recording imported before
    QStringList renamed;    // wave files that arrived under a free name

    bool active() const { return queued > 0; }
    void add(ImportTicket ticket);
    // The ticket of the upload that writes voicePath, taken off the list.
    std::optional<ImportTicket> take(const std::string &voicePath);
    void count(const ImportArrival &arrival, const std::string &expectedWave);
    // The status bar's line once the queue has run empty.
    QString summary() const;
};
