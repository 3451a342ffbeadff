// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Copy, cut and paste of the file list's items, and what is dropped on it.
#include "explorer/folder_view.h"

#include "explorer/file_item_model.h"
#include "explorer/pc_file_operations.h"
#include "explorer/player_files_mime.h"
#include "platform/prompts.h"

#include <QDragEnterEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>

namespace {

// At most this many names in one box; the rest are counted.
constexpr int kNamesShown = 10;

QString namesList(const QStringList &names)
{
    QString text = names.mid(0, kNamesShown).join(QLatin1Char('\n'));
    if (names.size() > kNamesShown)
        text += QLatin1Char('\n') + FolderView::tr("and %n more", nullptr, int(names.size() - kNamesShown));
    return text;
}

} // namespace

QStringList FolderView::selectedPaths() const
{
    QStringList paths;
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            paths << itemPath(i);
    return paths;
}

QByteArray FolderView::itemNativePath(int item) const
{
    return m_model->nativePath(itemIndex(item));
}

// A copy or move takes paths as text; a name that text cannot spell would
// reach the file whose name shows alike, so such items stay out, and are named.
bool FolderView::putSelected(bool cut)
{
    QStringList paths, unspellable;
    for (int i = 0; i < itemCount(); ++i) {
        if (!isItemSelected(i))
            continue;
        if (QFile::encodeName(itemPath(i)) == itemNativePath(i))
            paths << itemPath(i);
        else
            unspellable << itemCaption(i);
    }
    m_fileOps->putOnClipboard(paths, cut);
    if (!unspellable.isEmpty())
        ownedBox(window(),
                 tr("These names are not valid text in this system's encoding and can not be "
                    "copied or moved; rename them first:\n%1").arg(namesList(unspellable)),
                 PromptIcon::Warning, PromptButtons::Ok);
    return !paths.isEmpty();
}

bool FolderView::copySelected()
{
    return putSelected(false);
}

bool FolderView::cutSelected()
{
    return putSelected(true);
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
