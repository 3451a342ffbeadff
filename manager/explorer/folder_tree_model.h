// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The folder tree's model: every folder from the file system's root, hidden ones
// included, and no files. A folder's subfolders are read on a FolderReader
// thread when the view first wants them (fetchMore) and watched from then on,
// so the window's thread never handles the files of a big folder. index(path)
// makes the nodes down to a folder at once, ahead of their parents' listings.
// Renaming a node renames its folder, never over an existing entry.
#pragma once

#include "explorer/file_entry.h"
#include "explorer/folder_reader.h"
#include "explorer/sorted_item_model.h"

#include <QCollator>
#include <QIcon>

class FolderTreeModel : public SortedItemModel, private FolderResultSink {
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    // The node of an existing folder, made with its parents where not yet known.
    QModelIndex index(const QString &path);
    QString filePath(const QModelIndex &index) const;
    QString fileName(const QModelIndex &index) const;
    bool isDir(const QModelIndex &index) const { return index.isValid(); }
    // Reads the subfolders of index's folder, and of those already read below it, again.
    void refresh(const QModelIndex &index) { relistBelow(nodeOf(index)); }
    // A node closed in the view: its folder and those below it are no longer
    // watched, and are read again when opened.
    void release(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Nodes are always in name order.
    void sort(int, Qt::SortOrder) override {}
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The subfolders of path are all in.
    void directoryLoaded(const QString &path);
    void fileRenamed(const QString &path, const QString &oldName, const QString &newName);

private:
    struct Node {
        FileEntry entry;
        Node *parent = nullptr;
        Rows<Node> children;
        enum { Unread, Reading, Read } state = Unread;
        quint64 ticket = 0;
    };
    static bool less(const Node &a, const Node &b) { return nameOrderLess(a.entry, b.entry); }

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    QString pathOf(const Node *node) const;
    Node *child(Node *parent, const QString &name) const;
    Node *known(const QString &path) const;
    std::unique_ptr<Node> makeNode(Node *parent, const QString &name) const;
    void listNode(Node *node);
    void relistBelow(Node *node);
    void forget(Node *node);
    void takeListing(quint64 ticket, const QString &folder, FileEntries entries, bool complete) override;
    void takeChanges(const QString &folder, FileEntries present, const QList<QByteArray> &gone) override;
    void takeGone(const QString &folder) override;
    void takeLost() override;
    void merge(Node *node, const FileEntries &entries);
    void removeChildren(Node *node, const std::vector<int> &rows);

    ReaderThread m_reader{true, this, this};
    QCollator m_collator;
    Node m_root; // above the file system's root, which is its only child
    quint64 m_ticket = 0;
    QIcon m_folderIcon;
};
