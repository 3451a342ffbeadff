// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The texts the queue shows: one line per job, and the running line's elapsed time.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The queue line of a job of this kind for the file called name, for example
// Download "a.mp3" to Memory Card, Upload "b.VOC" in Internal Memory to PC,
// Remove "c.mp3" in Memory Card, Format Internal Memory (name unused).
// Empty for a kind outside 1 to 8.
QString queueLineText(int32_t kind, const QString &name);

// Minutes and seconds, such as "0:07" or "12:30".
QString elapsedText(uint32_t milliseconds);

// "1 operation failed." or "N operations failed.", for the status bar.
QString failedCountText(qsizetype count);

// The box that names the failed lines, at most ten of them and how many more,
// after lead when there is one.
QString failedOperationsText(const QStringList &failed, const QString &lead);
