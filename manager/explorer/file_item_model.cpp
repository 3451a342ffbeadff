// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/file_item_model.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>

namespace {

// The window's thread merges entries for about this long before it handles its
// other events and the views lay the rows out again; a few at a time.
constexpr qint64 kSliceNs = 8'000'000;
constexpr size_t kChunk = 1024;

} // namespace

FileItemModel::FileItemModel(QObject *parent) : SortedItemModel(parent)
{
    m_drain.setSingleShot(true);
    m_drain.setInterval(0);
    connect(&m_drain, &QTimer::timeout, this, &FileItemModel::drain);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(true);
}

FileItemModel::~FileItemModel() = default;

void FileItemModel::takeGone(const QString &folder)
{
    if (folder == m_folder)
        emit folderGone();
}

void FileItemModel::takeLost()
{
    refresh();
}

void FileItemModel::setFolder(const QString &folder)
{
    if (!m_folder.isEmpty())
        m_reader.reader()->unwatch(m_folder);
    beginResetModel();
    m_incoming.clear();
    m_rows.clear();
    m_byName.clear();
    m_folder = folder;
    endResetModel();
    m_listAgain = false;
    startListing();
}

void FileItemModel::refresh()
{
    if (m_folder.isEmpty())
        return;
    if (m_listing)
        m_listAgain = true;
    else
        startListing();
}

void FileItemModel::startListing()
{
    m_listing = true;
    m_reader.reader()->cancelBelow(++m_ticket);
    m_reader.reader()->list(m_ticket, m_folder);
}

void FileItemModel::takeListing(quint64 ticket, const QString &folder, FileEntries entries,
                         bool complete)
{
    if (ticket != m_ticket || folder != m_folder)
        return;
    m_incoming.push_back({std::move(entries), {}, 0, ticket, complete});
    m_drain.start();
}

void FileItemModel::takeChanges(const QString &folder, FileEntries present,
                                const QList<QByteArray> &gone)
{
    if (folder != m_folder)
        return;
    m_incoming.push_back({std::move(present), gone, 0, 0, false});
    m_drain.start();
}

void FileItemModel::drain()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_incoming.empty() && slice.nsecsElapsed() < kSliceNs) {
        Incoming &in = m_incoming.front();
        if (in.ticket != 0 && in.ticket != m_ticket) {
            m_incoming.pop_front();
            continue;
        }
        const size_t count = std::min(kChunk, in.present.size() - in.taken);
        merge(std::span<const FileEntry>(in.present).subspan(in.taken, count));
        in.taken += count;
        if (in.taken < in.present.size())
            continue;
        const Incoming done = std::move(in);
        m_incoming.pop_front();
        forget(done.gone);
        if (done.complete)
            finishListing();
    }
    if (!m_incoming.empty())
        m_drain.start();
}

void FileItemModel::finishListing()
{
    dropUnseen();
    m_listing = m_listAgain; // still listing, for whoever asks while the end is told
    emit listed();
    if (std::exchange(m_listAgain, false))
        startListing();
}

// Entries already shown are updated in place (and moved if their order changed);
// the others are inserted. Either way the current listing has seen them.
void FileItemModel::merge(std::span<const FileEntry> entries)
{
    Rows<FileEntry> fresh;
    int firstChanged = -1, lastChanged = -1;
    for (const FileEntry &entry : entries) {
        FileEntry *shown = find(entry);
        if (!shown) {
            fresh.push_back(std::make_unique<FileEntry>(entry));
            fresh.back()->seen = m_ticket;
            continue;
        }
        shown->seen = m_ticket;
        if (shown->dir == entry.dir && shown->size == entry.size && shown->modified == entry.modified)
            continue;
        int row = rowOf(shown);
        const FileEntry before = *shown;
        shown->dir = entry.dir;
        shown->size = entry.size;
        shown->modified = entry.modified;
        shown->mimeName = entry.mimeName;
        if (less(before, *shown) || less(*shown, before)) {
            SortedItemModel::reposition({}, m_rows, row, [this](auto &a, auto &b) { return less(a, b); });
            row = rowOf(shown);
        }
        firstChanged = firstChanged < 0 ? row : std::min(firstChanged, row);
        lastChanged = std::max(lastChanged, row);
    }
    if (firstChanged >= 0)
        emit dataChanged(index(firstChanged, 0), index(lastChanged, ColumnCount - 1));
    std::vector<FileEntry *> named;
    named.reserve(fresh.size());
    for (const std::unique_ptr<FileEntry> &entry : fresh)
        named.push_back(entry.get());
    addNames(std::move(named));
    insertSorted({}, m_rows, std::move(fresh), [this](auto &a, auto &b) { return less(a, b); });
}

FileEntry *FileItemModel::find(const FileEntry &probe) const
{
    const auto at = std::lower_bound(m_byName.begin(), m_byName.end(), &probe,
                                     [](const FileEntry *a, const FileEntry *b) { return nameLess(*a, *b); });
    return at != m_byName.end() && (*at)->raw == probe.raw ? *at : nullptr;
}

FileEntry *FileItemModel::find(const QByteArray &raw) const
{
    FileEntry probe;
    probe.raw = raw;
    probe.name = QFile::decodeName(raw);
    probe.key = nameKey(m_collator, probe.name);
    return find(probe);
}

void FileItemModel::addNames(std::vector<FileEntry *> entries)
{
    const auto byName = [](const FileEntry *a, const FileEntry *b) { return nameLess(*a, *b); };
    std::sort(entries.begin(), entries.end(), byName);
    std::vector<FileEntry *> merged;
    merged.reserve(m_byName.size() + entries.size());
    std::merge(m_byName.begin(), m_byName.end(), entries.begin(), entries.end(),
               std::back_inserter(merged), byName);
    m_byName = std::move(merged);
}

void FileItemModel::dropUnseen()
{
    std::vector<int> doomed;
    for (size_t row = 0; row < m_rows.size(); ++row)
        if (m_rows[row]->seen != m_ticket)
            doomed.push_back(int(row));
    std::erase_if(m_byName, [this](const FileEntry *entry) { return entry->seen != m_ticket; });
    removeAt({}, m_rows, std::move(doomed));
}

void FileItemModel::forget(const QList<QByteArray> &names)
{
    std::vector<int> doomed;
    QSet<const FileEntry *> gone;
    for (const QByteArray &name : names)
        if (const FileEntry *entry = find(name)) {
            doomed.push_back(rowOf(entry));
            gone.insert(entry);
        }
    if (gone.isEmpty())
        return;
    std::erase_if(m_byName, [&gone](const FileEntry *entry) { return gone.contains(entry); });
    removeAt({}, m_rows, std::move(doomed));
}

QModelIndex FileItemModel::mkdir(const QString &name)
{
    if (m_folder.isEmpty() || name.contains(QLatin1Char('/')) || !QDir(m_folder).mkdir(name))
        return {};
    FileEntry entry;
    if (!readEntry(m_folder, name, m_collator, true, entry))
        return {};
    merge(std::span<const FileEntry>(&entry, 1));
    return indexOf(name);
}

// Folders first, then by the sort column with the name breaking ties; descending
// turns the whole order round.
bool FileItemModel::less(const FileEntry &a, const FileEntry &b) const
{
    const FileEntry &x = m_sortOrder == Qt::AscendingOrder ? a : b;
    const FileEntry &y = m_sortOrder == Qt::AscendingOrder ? b : a;
    if (x.dir != y.dir)
        return x.dir;
    switch (m_sortColumn) {
    case SizeColumn:
        if (x.size != y.size)
            return x.size < y.size;
        break;
    case TypeColumn: {
        const int byType = typeOf(x).compare(typeOf(y), Qt::CaseInsensitive);
        if (byType != 0)
            return byType < 0;
        break;
    }
    case DateColumn:
        if (x.modified != y.modified)
            return x.modified < y.modified;
        break;
    default: break;
    }
    return nameOrderLess(x, y);
}

void FileItemModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount || (column == m_sortColumn && order == m_sortOrder))
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    resort({}, m_rows, [this](auto &a, auto &b) { return less(a, b); });
}

int FileItemModel::rowOf(const FileEntry *entry) const
{
    return SortedItemModel::rowOf(m_rows, entry, [this](auto &a, auto &b) { return less(a, b); });
}

const FileEntry *FileItemModel::entryAt(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<const FileEntry *>(index.internalPointer())
                                                    : nullptr;
}

QModelIndex FileItemModel::indexOf(const QString &name) const
{
    return indexOfRaw(QFile::encodeName(name));
}

QModelIndex FileItemModel::indexOfRaw(const QByteArray &raw) const
{
    const FileEntry *entry = find(raw);
    const int row = entry ? rowOf(entry) : -1;
    return row < 0 ? QModelIndex() : index(row, NameColumn);
}

QString FileItemModel::fileName(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? entry->name : QString();
}

QString FileItemModel::filePath(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? QDir(m_folder).filePath(entry->name) : QString();
}

QByteArray FileItemModel::rawName(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? entry->raw : QByteArray();
}

QByteArray FileItemModel::nativePath(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    if (!entry)
        return {};
    const QByteArray folder = QFile::encodeName(m_folder);
    return folder.endsWith('/') ? folder + entry->raw : folder + '/' + entry->raw;
}

bool FileItemModel::isDir(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry && entry->dir;
}

qint64 FileItemModel::size(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? entry->size : 0;
}

QDateTime FileItemModel::lastModified(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? QDateTime::fromMSecsSinceEpoch(entry->modified) : QDateTime();
}

QString FileItemModel::type(const QModelIndex &index) const
{
    const FileEntry *entry = entryAt(index);
    return entry ? typeOf(*entry) : QString();
}

QModelIndex FileItemModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= int(m_rows.size()) || column < 0 || column >= ColumnCount)
        return {};
    return createIndex(row, column, m_rows[row].get());
}

QModelIndex FileItemModel::parent(const QModelIndex &) const
{
    return {};
}

int FileItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool FileItemModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const FileEntry *shown = entryAt(index);
    if (!shown || role != Qt::EditRole || index.column() != NameColumn)
        return false;
    const QString oldName = shown->name;
    const QString newName = value.toString();
    // An editor left as it was keeps the name's bytes, even where they show otherwise.
    const QByteArray newRaw = QFile::encodeName(newName);
    if (newName == oldName || newRaw == shown->raw)
        return true;
    if (!renameRawInFolder(m_folder, shown->raw, newName))
        return false;
    auto *entry = const_cast<FileEntry *>(shown);
    const int row = rowOf(entry);
    std::erase(m_byName, entry);
    entry->name = newName;
    entry->raw = newRaw;
    entry->key = nameKey(m_collator, newName);
    if (!entry->dir)
        entry->mimeName = m_mimes.mimeTypeForFile(newName, QMimeDatabase::MatchExtension).name();
    addNames({entry});
    reposition({}, m_rows, row, [this](auto &a, auto &b) { return less(a, b); });
    const int at = rowOf(entry);
    emit dataChanged(this->index(at, 0), this->index(at, ColumnCount - 1));
    emit fileRenamed(m_folder, oldName, newName);
    return true;
}

#include "moc_file_item_model.cpp"
