// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The PC pane's file list model: the folders and files of one folder, hidden and
// system ones included, in four columns (name, size, type, date modified).
//
// The folder is read on a FolderReader thread. Its rows arrive in batches, the
// first screenful at once, and stay ordered by the chosen column throughout;
// isListing() is true until the last batch is in. While the folder is shown its
// changes arrive entry by entry: a file that appears, changes or goes is
// inserted, updated or removed on its own, and rows that stay keep their
// selection and any open editor, also across refresh().
//
// Icons and types come from the names alone; file contents are never read.
// Editing a name renames the entry on disk, never over an existing one.
// Dragged rows carry their files as local URLs.
#pragma once

#include "explorer/file_entry.h"
#include "explorer/folder_reader.h"
#include "explorer/sorted_item_model.h"

#include <QCollator>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QTimer>
#include <QUrl>

#include <deque>
#include <span>

class FileItemModel : public SortedItemModel, private FolderResultSink {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn, ColumnCount };

    explicit FileItemModel(QObject *parent = nullptr);
    ~FileItemModel() override;

    QString folder() const { return m_folder; }
    // Shows folder from now on: the old rows go at once, the new ones follow in batches.
    void setFolder(const QString &folder);
    // Reads the folder again, keeping the rows still there. Asked while a listing
    // runs, one more listing follows that one.
    void refresh();
    bool isListing() const { return m_listing; }

    QModelIndex indexOf(const QString &name) const;
    // The row of the entry whose name has these bytes (FileEntry::raw).
    QModelIndex indexOfRaw(const QByteArray &raw) const;
    QString fileName(const QModelIndex &index) const;
    QString filePath(const QModelIndex &index) const;
    // The entry's name and path as bytes, exactly as the file system holds the
    // name: what acting on the row must use.
    QByteArray rawName(const QModelIndex &index) const;
    QByteArray nativePath(const QModelIndex &index) const;
    // The entry as a local file URL that names those bytes.
    QUrl fileUrl(const QModelIndex &index) const;
    bool isDir(const QModelIndex &index) const;
    qint64 size(const QModelIndex &index) const;
    QDateTime lastModified(const QModelIndex &index) const;
    QString type(const QModelIndex &index) const;

    // Makes the folder name in the shown folder and gives its row at once;
    // invalid when it could not be made.
    QModelIndex mkdir(const QString &name);
    // Drops the rows of entries known to be gone, ahead of the change notice;
    // names are their bytes, as rawName gives them.
    void forget(const QList<QByteArray> &names);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The listing of the shown folder is complete.
    void listed();
    // The shown folder was removed or moved away.
    void folderGone();
    void fileRenamed(const QString &folder, const QString &oldName, const QString &newName);

private:
    const FileEntry *entryAt(const QModelIndex &index) const;
    int rowOf(const FileEntry *entry) const;
    bool less(const FileEntry &a, const FileEntry &b) const;
    void startListing();
    void takeListing(quint64 ticket, const QString &folder, FileEntries entries, bool complete) override;
    void takeChanges(const QString &folder, FileEntries present, const QList<QByteArray> &gone) override;
    void takeGone(const QString &folder) override;
    void takeLost() override;
    void drain();
    void merge(std::span<const FileEntry> entries);
    FileEntry *find(const FileEntry &probe) const;
    FileEntry *find(const QByteArray &raw) const;
    void addNames(std::vector<FileEntry *> entries);
    void finishListing();
    void dropUnseen();
    QString typeOf(const FileEntry &entry) const;
    QIcon iconOf(const FileEntry &entry) const;
    QString toolTipOf(const FileEntry &entry) const;

    // What the reader sent, taken in slices so that no batch holds the window.
    struct Incoming {
        FileEntries present;
        QList<QByteArray> gone;
        size_t taken = 0;
        quint64 ticket = 0; // of a listing; 0 for changes
        bool complete = false;
    };

    ReaderThread m_reader{false, this, this};
    std::deque<Incoming> m_incoming;
    QTimer m_drain;
    Rows<FileEntry> m_rows;
    std::vector<FileEntry *> m_byName; // the rows by name alone, for finding entries
    QString m_folder;
    quint64 m_ticket = 0;
    bool m_listing = false;
    bool m_listAgain = false;
    int m_sortColumn = NameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QCollator m_collator;
    QMimeDatabase m_mimes;
    QFileIconProvider m_icons;
    mutable QHash<QString, QString> m_typeNames; // MIME type name -> its description
    mutable QHash<QString, QIcon> m_typeIcons;
};
