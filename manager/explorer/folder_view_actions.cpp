// What the user does to the items of the file list: new folder, rename, delete,
// open, the context menu, keys and drops.
#include "explorer/folder_view.h"

#include "explorer/file_item_model.h"
#include "explorer/player_files_mime.h"
#include "platform/wait_cursor.h"

#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

bool nameTaken(const QDir &dir, const QString &name)
{
    const QFileInfo info(dir.filePath(name));
    return info.exists() || info.isSymLink();
}

} // namespace

QString FolderView::createNewFolder(const QString &baseName)
{
    if (baseName.isEmpty() || isEditing() || m_dir.isEmpty())
        return {};
    const QDir dir(m_dir);
    QString name = baseName;
    for (int n = 2; nameTaken(dir, name); ++n)
        name = QStringLiteral("%1 (%2)").arg(baseName).arg(n);
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
    QStringList names;
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            names << itemCaption(i);
    QStringList trashed;
    for (const QString &name : names)
        if (QFile::moveToTrash(QDir(m_dir).filePath(name)))
            trashed << name;
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
    const QString path = m_model->filePath(index.siblingAtColumn(0));
    if (m_model->isDir(index))
        setCurrentDirectory(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void FolderView::showContextMenu(QAbstractItemView *view, const QPoint &pos)
{
    const QModelIndex at = view->indexAt(pos);
    QMenu menu(this);
    if (at.isValid()) {
        menu.addAction(tr("&Open"), this, [this, at] { openItem(at); });
        menu.addAction(tr("&Rename"), this, [this] { renameSelected(); });
        menu.addAction(tr("&Delete"), this, [this] {
            const WaitCursor hourglass;
            deleteSelected();
        });
        menu.addSeparator();
    }
    menu.addAction(tr("&New Folder"), this, [this] { createNewFolder(tr("New Folder")); });
    menu.addAction(tr("Re&fresh"), this, &FolderView::refreshFolder);
    menu.exec(view->viewport()->mapToGlobal(pos));
}

bool FolderView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_list || watched == m_details))
        emit keyDown(static_cast<QKeyEvent *>(event)->key());
    return QWidget::eventFilter(watched, event);
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
    } else {
        event->ignore();
    }
}

// Delivered once the drop has finished, so that what it starts may ask the user.
void FolderView::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(QLatin1String(kPlayerFilesMimeType))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    QMetaObject::invokeMethod(this, [this] { emit playerFilesDropped(); }, Qt::QueuedConnection);
}
