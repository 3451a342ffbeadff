// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_tree_model.h"

#include "widgets/plain_text.h"

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

FolderTreeModel::FolderTreeModel(QObject *parent) : SortedItemModel(parent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(true);
    m_folderIcon = QFileIconProvider().icon(QAbstractFileIconProvider::Folder);
    m_root.state = Node::Read;
    m_root.children.push_back(makeNode(&m_root, QDir::rootPath()));

}

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::takeLost()
{
    relistBelow(m_root.children.front().get());
}

std::unique_ptr<FolderTreeModel::Node> FolderTreeModel::makeNode(Node *parent, const QString &name) const
{
    auto node = std::make_unique<Node>();
    node->entry.name = name;
    node->entry.key = nameKey(m_collator, name);
    node->entry.dir = true;
    node->entry.seen = parent->ticket;
    node->parent = parent;
    return node;
}

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<Node *>(index.internalPointer())
                                                    : const_cast<Node *>(&m_root);
}

QModelIndex FolderTreeModel::indexOf(Node *node) const
{
    if (node == &m_root)
        return {};
    const int row = SortedItemModel::rowOf(node->parent->children, node, less);
    return row < 0 ? QModelIndex() : createIndex(row, 0, node);
}

QString FolderTreeModel::pathOf(const Node *node) const
{
    if (node == &m_root)
        return {};
    if (node->parent == &m_root)
        return node->entry.name;
    const QString above = pathOf(node->parent);
    return (above.endsWith(QLatin1Char('/')) ? above : above + QLatin1Char('/')) + node->entry.name;
}

FolderTreeModel::Node *FolderTreeModel::child(Node *parent, const QString &name) const
{
    FileEntry probe;
    probe.name = name;
    probe.key = nameKey(m_collator, name);
    probe.dir = true;
    const auto at = std::lower_bound(parent->children.begin(), parent->children.end(), probe,
                                     [](const std::unique_ptr<Node> &a, const FileEntry &b) {
                                         return nameOrderLess(a->entry, b);
                                     });
    return at != parent->children.end() && (*at)->entry.name == name ? at->get() : nullptr;
}

static QStringList partsOf(const QString &path)
{
    return QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

FolderTreeModel::Node *FolderTreeModel::known(const QString &path) const
{
    if (!QDir::isAbsolutePath(path))
        return nullptr;
    Node *node = m_root.children.front().get();
    for (const QString &part : partsOf(path))
        if (!(node = child(node, part)))
            return nullptr;
    return node;
}

QModelIndex FolderTreeModel::index(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return {};
    Node *node = m_root.children.front().get();
    for (const QString &part : partsOf(path)) {
        Node *next = child(node, part);
        if (!next) {
            const QString full = QDir(pathOf(node)).filePath(part);
            if (!QFileInfo(full).isDir())
                return {};
            Rows<Node> made;
            made.push_back(makeNode(node, part));
            next = made.back().get();
            insertSorted(indexOf(node), node->children, std::move(made), less);
        }
        node = next;
    }
    return indexOf(node);
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    return index.isValid() ? pathOf(nodeOf(index)) : QString();
}

QString FolderTreeModel::fileName(const QModelIndex &index) const
{
    return index.isValid() ? nodeOf(index)->entry.name : QString();
}

void FolderTreeModel::listNode(Node *node)
{
    if (node->state == Node::Unread)
        node->state = Node::Reading;
    node->ticket = ++m_ticket;
    m_reader.reader()->list(node->ticket, pathOf(node));
}

void FolderTreeModel::relistBelow(Node *node)
{
    if (node->state == Node::Unread)
        return;
    listNode(node);
    for (const std::unique_ptr<Node> &below : node->children)
        relistBelow(below.get());
}

void FolderTreeModel::release(const QModelIndex &index)
{
    Node *node = nodeOf(index);
    if (!index.isValid() || node->state == Node::Unread)
        return;
    m_reader.reader()->unwatch(pathOf(node));
    forget(node);
}

// A listing still on its way is not taken: the folder is no longer watched.
void FolderTreeModel::forget(Node *node)
{
    if (node->state == Node::Unread)
        return;
    node->state = Node::Unread;
    node->ticket = 0;
    for (const std::unique_ptr<Node> &below : node->children)
        forget(below.get());
}

void FolderTreeModel::takeListing(quint64 ticket, const QString &folder, FileEntries entries,
                           bool complete)
{
    Node *node = known(folder);
    if (!node || node->ticket != ticket)
        return;
    merge(node, entries);
    if (!complete)
        return;
    std::vector<int> unseen;
    for (size_t row = 0; row < node->children.size(); ++row)
        if (node->children[row]->entry.seen != ticket)
            unseen.push_back(int(row));
    removeChildren(node, unseen);
    node->state = Node::Read;
    emit directoryLoaded(folder);
}

void FolderTreeModel::takeChanges(const QString &folder, FileEntries present,
                                  const QList<QByteArray> &gone)
{
    Node *node = known(folder);
    if (!node || node->state == Node::Unread)
        return;
    merge(node, present);
    std::vector<int> rows;
    for (const QByteArray &name : gone)
        if (const Node *below = child(node, QFile::decodeName(name)))
            rows.push_back(SortedItemModel::rowOf(node->children, below, less));
    removeChildren(node, rows);
}

void FolderTreeModel::takeGone(const QString &folder)
{
    Node *node = known(folder);
    if (node && node->parent != &m_root)
        removeChildren(node->parent, {SortedItemModel::rowOf(node->parent->children, node, less)});
}

void FolderTreeModel::merge(Node *node, const FileEntries &entries)
{
    Rows<Node> fresh;
    for (const FileEntry &entry : entries) {
        if (Node *shown = child(node, entry.name)) {
            shown->entry.seen = node->ticket;
            continue;
        }
        fresh.push_back(std::make_unique<Node>());
        fresh.back()->entry = entry;
        fresh.back()->entry.seen = node->ticket;
        fresh.back()->parent = node;
    }
    insertSorted(indexOf(node), node->children, std::move(fresh), less);
}

void FolderTreeModel::removeChildren(Node *node, const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    for (int row : rows)
        m_reader.reader()->unwatch(pathOf(node->children[row].get()));
    removeAt(indexOf(node), node->children, rows);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    if (row < 0 || row >= int(node->children.size()) || column != 0)
        return {};
    return createIndex(row, 0, node->children[row].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

// A folder not read yet may have subfolders; the view offers to open it.
bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    return node->state != Node::Read || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return parent.isValid() && nodeOf(parent)->state == Node::Unread;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        listNode(nodeOf(parent));
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return nodeOf(index)->entry.name;
    case Qt::DecorationRole: return m_folderIcon;
    case Qt::ToolTipRole: return plainToolTip(filePath(index));
    default: return {};
    }
}

bool FolderTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Node *node = nodeOf(index);
    if (!index.isValid() || role != Qt::EditRole || node->parent == &m_root)
        return false;
    const QString oldName = node->entry.name;
    const QString newName = value.toString();
    if (newName == oldName)
        return true;
    const QString folder = pathOf(node->parent);
    const QString oldPath = pathOf(node);
    if (!renameInFolder(folder, oldName, newName))
        return false;
    const int row = SortedItemModel::rowOf(node->parent->children, node, less);
    node->entry.name = newName;
    node->entry.key = nameKey(m_collator, newName);
    reposition(indexOf(node->parent), node->parent->children, row, less);
    // What was read below it is watched under the new path from now on.
    m_reader.reader()->unwatch(oldPath);
    relistBelow(node);
    const QModelIndex at = indexOf(node);
    emit dataChanged(at, at);
    emit fileRenamed(folder, oldName, newName);
    return true;
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
    return nodeOf(index)->parent == &m_root ? flags : flags | Qt::ItemIsEditable;
}

QStringList FolderTreeModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *FolderTreeModel::mimeData(const QModelIndexList &indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex &index : indexes)
        if (index.isValid())
            urls << QUrl::fromLocalFile(filePath(index));
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions FolderTreeModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

#include "moc_folder_tree_model.cpp"
