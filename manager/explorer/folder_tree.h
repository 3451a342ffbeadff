// The PC pane's folder tree: every folder from the file system's root, hidden
// ones included, linked to a FolderView so both show the same folder.
#pragma once

#include "explorer/item_views.h"

#include <QPointer>
#include <QElapsedTimer>
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

signals:
    // Every key pressed in the tree, before the tree's own handling.
    void keyDown(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
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
};
