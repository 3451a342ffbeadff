// One entry of a folder as the PC pane shows it. Read on the folder reader's
// thread, with the name's collation key made there too, so that the window's
// thread sorts by comparing keys instead of collating names.
#pragma once

#include <QCollatorSortKey>
#include <QString>

#include <optional>
#include <vector>

struct FileEntry {
    QString name;
    std::optional<QCollatorSortKey> key; // always set once read
    QString mimeName;                    // by the name alone; empty for folders
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    bool dir = false;
    quint64 seen = 0; // the model's last listing that found it, so a listing again drops the rest
};

using FileEntries = std::vector<FileEntry>;

// Folders before files, then by name as the user's locale orders it, case aside,
// with numbers by value; names the collation finds equal fall back to their code points.
inline bool nameLess(const FileEntry &a, const FileEntry &b)
{
    const int byKey = a.key->compare(*b.key);
    return byKey != 0 ? byKey < 0 : a.name < b.name;
}

inline bool nameOrderLess(const FileEntry &a, const FileEntry &b)
{
    return a.dir != b.dir ? a.dir : nameLess(a, b);
}
