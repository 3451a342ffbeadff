// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_tree.h"

#include "explorer/file_commands.h"
#include "explorer/file_drop.h"
#include "explorer/folder_tree_model.h"
#include "explorer/folder_view.h"
#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <utility>

FolderTree::FolderTree(QWidget *parent) : EditableItemView<QTreeView>(parent)
{
    m_model = new FolderTreeModel(this);
    // Connected before the view's own handling, which moves the current node away.
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this] { m_removingRows = true; });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &FolderTree::rowsGone);
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    // Deep folders scroll sideways instead of losing their names to the narrow pane.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    // Drops are taken by our own handlers, not the model's.
    viewport()->setAcceptDrops(true);
    FileDrop::leaveDropsTo(this);
    m_expandTimer.setSingleShot(true);
    m_expandTimer.setInterval(700);
    connect(&m_expandTimer, &QTimer::timeout, this, [this] {
        if (m_hovered.isValid())
            expand(m_hovered);
    });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &FolderTree::showContextMenu);
    setUniformRowHeights(true);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderTree::showSelectedInView);
    connect(m_model, &FolderTreeModel::fileRenamed, this, &FolderTree::followRename);
    // A long session opens many folders; only those open are watched.
    connect(this, &QTreeView::collapsed, m_model, &FolderTreeModel::release);
    // Rows above the selected node arrive later and push it out of sight; follow it
    // for a moment after it was chosen, while its parents' rows load and sort.
    const auto keepInSight = [this] {
        if (!m_scrollTarget.isEmpty() && currentIndex().isValid() && m_scrollClock.elapsed() < 3000)
            keepSelectedInSight();
    };
    connect(m_model, &FolderTreeModel::directoryLoaded, this, keepInSight);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, keepInSight);
    selectPath(QDir::homePath());
    expand(currentIndex());
}

void FolderTree::setFolderView(FolderView *view)
{
    if (m_view)
        disconnect(m_view, nullptr, this, nullptr);
    m_view = view;
    if (!view)
        return;
    connect(view, &FolderView::currentDirectoryChanged, this, &FolderTree::followView);
    followView(view->currentDirectory());
}

QString FolderTree::selectedNodePath() const
{
    return hasSelectedNode() ? m_model->filePath(currentIndex()) : QString();
}

bool FolderTree::hasSelectedNode() const
{
    return currentIndex().isValid() && selectionModel()->isSelected(currentIndex());
}

bool FolderTree::selectPath(const QString &path)
{
    const QModelIndex index = m_model->index(QDir::cleanPath(path));
    if (!index.isValid() || !m_model->isDir(index))
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    scrollTo(index);
    m_scrollTarget = QDir::cleanPath(path);
    m_scrollClock.start();
    return true;
}

void FolderTree::followView(const QString &path)
{
    // Already there: a node shown but left unselected (after a delete) stays so.
    if (currentIndex().isValid() && m_model->filePath(currentIndex()) == QDir::cleanPath(path))
        return;
    m_following = true;
    selectPath(path);
    m_following = false;
}

void FolderTree::repaintTree()
{
    viewport()->update();
}

bool FolderTree::renameSelected()
{
    return !isEditing() && hasSelectedNode() && openEditor(currentIndex());
}

bool FolderTree::deleteSelected()
{
    if (isEditing() || !hasSelectedNode())
        return false;
    const QModelIndex node = currentIndex();
    const QString path = m_model->filePath(node);
    if (QDir(path).isRoot() || !moveToTrash(QFile::encodeName(path)))
        return false;
    // The parent is shown but not selected, so a repeated Delete stops here.
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(node.parent(), QItemSelectionModel::NoUpdate);
    return true;
}

bool FolderTree::hasFocusWithin() const
{
    const QWidget *focus = window()->focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event->key());
    if (runClipboardKey(event, this))
        return;
    EditableItemView<QTreeView>::keyPressEvent(event);
}

void FolderTree::showSelectedInView()
{
    if (m_removingRows) {
        m_currentLost = true;
        return;
    }
    if (m_view && !m_following && currentIndex().isValid())
        m_view->setCurrentDirectory(m_model->filePath(currentIndex()));
}

// The model drops and adds nodes again when a folder changes; the list keeps its
// folder while it exists, and the tree selects it again once the model has settled.
void FolderTree::rowsGone()
{
    m_removingRows = false;
    if (!std::exchange(m_currentLost, false))
        return;
    QTimer::singleShot(0, this, [this] {
        if (!m_view)
            return;
        if (QFileInfo(m_view->currentDirectory()).isDir())
            followView(m_view->currentDirectory());
        else
            showSelectedInView();
    });
}

// A folder renamed in the tree that the view shows, or lies within, is followed there.
void FolderTree::followRename(const QString &parent, const QString &oldName,
                              const QString &newName)
{
    if (!m_view)
        return;
    const QString before = QDir(parent).filePath(oldName);
    const QString shown = m_view->currentDirectory();
    if (shown == before || shown.startsWith(before + QLatin1Char('/')))
        m_view->setCurrentDirectory(QDir(parent).filePath(newName) + shown.mid(before.size()));
}

// The rows may all have loaded before the tree had a size to scroll in.
void FolderTree::showEvent(QShowEvent *event)
{
    EditableItemView<QTreeView>::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (currentIndex().isValid())
            keepSelectedInSight();
    });
}

// Vertically only: the folder's parents stay readable at the left edge.
void FolderTree::keepSelectedInSight()
{
    scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    horizontalScrollBar()->setValue(0);
}

#include "moc_folder_tree.cpp"
