// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The PC pane's folder tree: every folder from the file system's root, hidden
// ones included, linked to a FolderView so both show the same folder. Its
// folders are copied, cut and pasted into through the desktop clipboard, take
// dropped files, and have the file list's context menu commands that apply to
// a folder.
#pragma once

#include "explorer/item_views.h"

#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

class FolderTreeModel;
class FolderView;

class FolderTree : public EditableItemView<QTreeView> {
    Q_OBJECT
public:
    explicit FolderTree(QWidget *parent = nullptr);

    // From now on the view shows the tree's folder and the tree selects the view's.
    void setFolderView(FolderView *view);
    FolderView *folderView() const { return m_view; }

    QString selectedNodePath() const;
    bool hasSelectedNode() const;
    // Selects the folder's node, opening its parents; false when it is not a folder.
    bool selectPath(const QString &path);
    // Paints the tree again without reading any folder.
    void repaintTree();
    bool renameSelected();
    // Moves the selected node's folder to the trash and shows its parent, unselected.
    bool deleteSelected();
    bool hasFocusWithin() const;

    // Put the selected node's folder on the desktop clipboard.
    bool copySelected();
    bool cutSelected();
    // Copies the clipboard's files into the selected node's folder, or moves them after a cut.
    bool paste();

signals:
    // Every key pressed in the tree, before the tree's own handling.
    void keyDown(int key);
    // The context menu's Delete on the node now selected: whoever owns the tree
    // asks the user, then calls deleteSelected().
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showContextMenu(const QPoint &pos);
    void chooseNode(const QModelIndex &index);
    Qt::DropAction dropActionAt(QDropEvent *event, QString &folder);
    void followView(const QString &path);
    void keepSelectedInSight();
    void showSelectedInView();
    void rowsGone();
    void followRename(const QString &parent, const QString &oldName, const QString &newName);

    FolderTreeModel *m_model = nullptr;
    QPointer<FolderView> m_view;
    bool m_following = false;
    QString m_scrollTarget; // the node to keep in sight while its parents' rows still load
    QElapsedTimer m_scrollClock;
    bool m_removingRows = false;
    bool m_currentLost = false;
    QPersistentModelIndex m_hovered; // under a drag, opened after a moment
    QTimer m_expandTimer;
};
