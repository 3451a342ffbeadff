// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Copy, cut and paste of the file list's items, and what is dropped on it.
#include "explorer/folder_view.h"

#include "explorer/file_item_model.h"
#include "explorer/pc_file_operations.h"
#include "explorer/player_files_mime.h"

#include <QDragEnterEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>

QStringList FolderView::selectedPaths() const
{
    QStringList paths;
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            paths << itemPath(i);
    return paths;
}

bool FolderView::copySelected()
{
    const QStringList paths = selectedPaths();
    m_fileOps->putOnClipboard(paths, false);
    return !paths.isEmpty();
}

bool FolderView::cutSelected()
{
    const QStringList paths = selectedPaths();
    m_fileOps->putOnClipboard(paths, true);
    return !paths.isEmpty();
}

bool FolderView::paste()
{
    return m_fileOps->pasteInto(m_dir);
}


// A folder item under the point, else the folder the list shows.
QString FolderView::dropFolderAt(const QPointF &pos) const
{
    QAbstractItemView *view = currentView();
    const QModelIndex at = view->indexAt(view->viewport()->mapFrom(this, pos.toPoint()));
    return at.isValid() && m_model->isDir(at) ? m_model->filePath(at.siblingAtColumn(0)) : m_dir;
}

void FolderView::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void FolderView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kPlayerFilesMimeType))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    const Qt::DropAction action =
        m_fileOps->dropAction(event->mimeData(), dropFolderAt(event->position()),
                              event->modifiers(), event->possibleActions());
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

// Player files are delivered once the drop has finished, so that what it starts
// may ask the user; a copy or move starts at once and asks from its own thread.
void FolderView::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kPlayerFilesMimeType))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        QMetaObject::invokeMethod(this, [this] { emit playerFilesDropped(); }, Qt::QueuedConnection);
        return;
    }
    const QString folder = dropFolderAt(event->position());
    const Qt::DropAction action = m_fileOps->dropAction(event->mimeData(), folder,
                                                        event->modifiers(), event->possibleActions());
    if (action == Qt::IgnoreAction || !m_fileOps->drop(event->mimeData(), folder, action)) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}
