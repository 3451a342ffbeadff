// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One entry of a folder as the PC pane shows it. Read on the folder reader's
// thread, with the name's collation key made there too, so that the window's
// thread sorts by comparing keys instead of collating names.
#pragma once

#include <QByteArray>
#include <QCollator>
#include <QCollatorSortKey>
#include <QString>

#include <optional>
#include <vector>

struct FileEntry {
    // The name as shown. A name that is not valid in the system's encoding shows
    // with replacement characters, so two entries can show alike: every action
    // on an entry goes by raw.
    QString name;
    QByteArray raw; // the name's bytes as the folder holds them
    std::optional<QCollatorSortKey> key; // always set once read
    QString mimeName;                    // by the name alone; empty for folders
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    bool dir = false;
    quint64 seen = 0; // the model's last listing that found it, so a listing again drops the rest
};

using FileEntries = std::vector<FileEntry>;

// The collation key of a name. In the C locale the collator compares bytes and
// leaves case and numbers as they are; there the key is made from the name with
// its case folded and every number padded to one width, so that the order is
// the same in any locale: "take 9" before "Track 10".
inline QCollatorSortKey nameKey(const QCollator &collator, const QString &name)
{
    if (collator.locale().language() != QLocale::C)
        return collator.sortKey(name);
    QString natural;
    natural.reserve(name.size() + 8);
    const QString folded = name.toCaseFolded();
    for (qsizetype i = 0; i < folded.size();) {
        if (!folded[i].isDigit()) {
            natural += folded[i++];
            continue;
        }
        qsizetype end = i;
        while (end < folded.size() && folded[end].isDigit())
            ++end;
        const QStringView digits = QStringView(folded).mid(i, end - i);
        natural += QString(std::max<qsizetype>(0, 20 - digits.size()), QLatin1Char('0'));
        natural += digits;
        i = end;
    }
    return collator.sortKey(natural);
}

// Folders before files, then by name as the user's locale orders it, case aside,
// with numbers by value; names the collation finds equal fall back to their code points,
// and names that show alike to their bytes.
inline bool nameLess(const FileEntry &a, const FileEntry &b)
{
    const int byKey = a.key->compare(*b.key);
    if (byKey != 0)
        return byKey < 0;
    return a.name != b.name ? a.name < b.name : a.raw < b.raw;
}

inline bool nameOrderLess(const FileEntry &a, const FileEntry &b)
{
    return a.dir != b.dir ? a.dir : nameLess(a, b);
}
