// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/file_drop.h"

#include "explorer/player_files_mime.h"
#include "fileops/file_clipboard.h"

#include <QApplication>
#include <QDropEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>

FileDrop::FileDrop(QMainWindow *window) : QObject(window), m_window(window)
{
    window->setAcceptDrops(true);
    // Children that take drops of their own would hide the window's drop target
    // from drags over them; a filter on the application sees the drag first.
    qApp->installEventFilter(this);
}

FileDrop::~FileDrop()
{
    qApp->removeEventFilter(this);
}

namespace {

const char kOwnDrops[] = "tovixTakesFileDrops";

bool takesDropsItself(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget())
        if (widget->property(kOwnDrops).toBool())
            return true;
    return false;
}

} // namespace

void FileDrop::leaveDropsTo(QWidget *widget)
{
    widget->setProperty(kOwnDrops, true);
}

QStringList FileDrop::localPaths(const QDropEvent *event, QStringList *refused) const
{
    const QMimeData *mime = event->mimeData();
    if (!mime || mime->hasFormat(QLatin1String(kPlayerFilesMimeType)))
        return {};
    return localFilePaths(mime->urls(), refused);
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window || takesDropsItself(widget))
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    QStringList refused;
    const QStringList paths = localPaths(drop, &refused);
    if (paths.isEmpty() && refused.isEmpty())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        const QPoint at = widget->mapTo(m_window, drop->position().toPoint());
        QMetaObject::invokeMethod(
            this, [this, paths, at, refused] { emit dropped(paths, at, refused); },
            Qt::QueuedConnection);
    }
    return true;
}

#include "moc_file_drop.cpp"
