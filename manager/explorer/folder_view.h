// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The PC pane's file list: the folders and files of one folder in one of four
// view styles, with selection, new folder, rename in place, delete to the trash,
// copy, cut and paste through the desktop clipboard, and files dropped on it.
#pragma once

#include "explorer/item_views.h"

#include <QListView>
#include <QTreeView>
#include <QWidget>

#include <memory>

class QAction;
class FileItemModel;
class PcFileOperations;
class QItemSelectionModel;
class QStackedWidget;
class WaitCursor;

class FolderView : public QWidget {
    Q_OBJECT
public:
    enum ViewStyle { BigIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

    explicit FolderView(QWidget *parent = nullptr);
    ~FolderView() override;

    int viewStyle() const { return m_style; }
    // Styles outside 0..3 are ignored.
    void setViewStyle(int style);

    // Lists the folder again from the disk; the items still there keep their place
    // and selection. The hourglass shows until the listing is complete.
    void refreshFolder();
    QString currentDirectory() const { return m_dir; }
    // Lists path; a folder that does not exist gives its nearest existing parent.
    // Returns at once: the items arrive in batches, under the hourglass.
    void setCurrentDirectory(const QString &path);
    // For tests: handles events until the folder's items are all in.
    bool waitUntilLoaded(int timeoutMs);
    bool isLoaded() const;

    // Items in list order, as far as they have arrived.
    int itemCount() const;
    QString itemCaption(int item) const;
    QString itemPath(int item) const;
    // The item's path as bytes, its name exactly as the file system holds it,
    // where itemPath may show a name the system's encoding cannot spell.
    QByteArray itemNativePath(int item) const;
    bool isItemSelected(int item) const;
    bool isItemFolder(int item) const;
    void setItemSelected(int item, bool selected);
    void selectAll();
    bool hasSelectedItem() const;

    // Creates baseName, or "baseName (2)", "(3)"... and opens it for renaming;
    // returns its path, or an empty string when it could not be made.
    QString createNewFolder(const QString &baseName);
    // Opens the focused selected item (else the first selected) for renaming.
    bool renameSelected();
    // Moves every selected item to the trash; refused while a name is being edited.
    bool deleteSelected();
    bool isEditing() const;
    bool hasFocusWithin() const;

    // The selected items' paths, in list order.
    QStringList selectedPaths() const;
    // Put the selected items on the desktop clipboard; false when none is selected.
    bool copySelected();
    bool cutSelected();
    // Copies the clipboard's files into the shown folder, or moves them after a cut.
    bool paste();
    // The copies and moves of the pane, shared with the folder tree.
    PcFileOperations *fileOperations() const { return m_fileOps; }

    QAbstractItemView *currentView() const;
    // Offered first in a file's context menu (a recording is played with it).
    void setPlayAction(QAction *play) { m_play = play; }

signals:
    // Every key pressed in the list, before the list's own handling.
    void keyDown(int key);
    // A listing of the shown folder is complete.
    void folderListed();
    void currentDirectoryChanged(const QString &path);
    // Player files dropped on the list (delivered after the drop has finished).
    void playerFilesDropped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    using ListView = EditableItemView<QListView>;
    using DetailsView = EditableItemView<QTreeView>;

    QList<QAbstractItemView *> views() const { return {m_list, m_details}; }
    void listFolder(const QString &dir);
    void folderListedByModel();
    QModelIndex itemIndex(int item) const;
    bool putSelected(bool cut);
    void openItem(const QModelIndex &index);
    void showContextMenu(QAbstractItemView *view, const QPoint &pos);
    QString dropFolderAt(const QPointF &pos) const;

    QStackedWidget *m_stack = nullptr;
    ListView *m_list = nullptr;
    DetailsView *m_details = nullptr;
    FileItemModel *m_model = nullptr;
    QItemSelectionModel *m_selection = nullptr;
    PcFileOperations *m_fileOps = nullptr;
    QAction *m_play = nullptr;
    QString m_dir;
    int m_style = Details;
    std::unique_ptr<WaitCursor> m_hourglass; // while a listing runs
};
