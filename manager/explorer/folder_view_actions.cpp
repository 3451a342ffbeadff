// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What the user does to the items of the file list: new folder, rename, delete,
// open, the context menu and keys.
#include "explorer/folder_view.h"

#include "explorer/file_commands.h"
#include "explorer/file_item_model.h"
#include "explorer/pc_file_operations.h"
#include "fileops/unique_name.h"
#include "platform/trash.h"
#include "platform/wait_cursor.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QUrl>

QString FolderView::createNewFolder(const QString &baseName)
{
    if (baseName.isEmpty() || isEditing() || m_dir.isEmpty())
        return {};
    const QDir dir(m_dir);
    const QString name = freeName(m_dir, baseName, false);
    const QModelIndex index = m_model->mkdir(name);
    if (!index.isValid())
        return {};
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                            | QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
    if (m_style == Details)
        m_details->openEditor(index);
    else
        m_list->openEditor(index);
    return dir.filePath(name);
}

bool FolderView::renameSelected()
{
    if (isEditing())
        return false;
    QModelIndex index = m_selection->currentIndex().siblingAtColumn(0);
    if (!index.isValid() || !m_selection->isSelected(index)) {
        index = {};
        for (int i = 0; i < itemCount() && !index.isValid(); ++i)
            if (isItemSelected(i))
                index = itemIndex(i);
    }
    if (!index.isValid())
        return false;
    m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    currentView()->scrollTo(index);
    return m_style == Details ? m_details->openEditor(index) : m_list->openEditor(index);
}

bool FolderView::deleteSelected()
{
    if (isEditing())
        return false;
    // By the names' bytes: a row whose name shows like another's trashes its own file.
    QList<QModelIndex> selected;
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            selected << itemIndex(i);
    QList<QByteArray> trashed;
    for (const QModelIndex &index : selected)
        if (moveToTrash(m_model->nativePath(index)))
            trashed << m_model->rawName(index);
    // Their rows go now; the folder's change notice finds nothing more to do.
    m_model->forget(trashed);
    return !trashed.isEmpty();
}

bool FolderView::isEditing() const
{
    return m_list->isEditing() || m_details->isEditing();
}

bool FolderView::hasFocusWithin() const
{
    const QWidget *focus = window()->focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void FolderView::openItem(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QModelIndex item = index.siblingAtColumn(0);
    if (m_model->isDir(index))
        setCurrentDirectory(m_model->filePath(item));
    else
        QDesktopServices::openUrl(m_model->fileUrl(item));
}

void FolderView::showContextMenu(QAbstractItemView *view, const QPoint &pos)
{
    const QModelIndex at = view->indexAt(pos);
    FileCommands commands;
    if (at.isValid()) {
        commands.open = [this, at] { openItem(at); };
        commands.cut = [this] { cutSelected(); };
        commands.copy = [this] { copySelected(); };
        commands.rename = [this] { renameSelected(); };
        commands.remove = [this] {
            const WaitCursor hourglass;
            deleteSelected();
        };
    }
    commands.paste = [this] { paste(); };
    commands.canPaste = m_fileOps->clipboardHasFiles();
    commands.newFolder = [this] { createNewFolder(tr("New Folder")); };
    commands.refresh = [this] { refreshFolder(); };
    QMenu menu(this);
    if (m_play && at.isValid() && !m_model->isDir(at.siblingAtColumn(0))) {
        menu.addAction(m_play);
        menu.addSeparator();
    }
    addFileCommands(menu, commands);
    menu.exec(view->viewport()->mapToGlobal(pos));
}

bool FolderView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_list || watched == m_details)) {
        auto *key = static_cast<QKeyEvent *>(event);
        emit keyDown(key->key());
        // Files, not the views' own copy of the focused caption as text.
        if (runClipboardKey(key, this))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
