// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The folder tree's context menu, copy, cut and paste of its folders, and files
// dropped on its nodes.
#include "explorer/folder_tree.h"

#include "explorer/file_commands.h"
#include "explorer/folder_tree_model.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

bool FolderTree::copySelected()
{
    if (!m_view || !hasSelectedNode())
        return false;
    m_view->fileOperations()->putOnClipboard({selectedNodePath()}, false);
    return true;
}

bool FolderTree::cutSelected()
{
    if (!m_view || !hasSelectedNode())
        return false;
    m_view->fileOperations()->putOnClipboard({selectedNodePath()}, true);
    return true;
}

bool FolderTree::paste()
{
    return m_view && hasSelectedNode() && m_view->fileOperations()->pasteInto(selectedNodePath());
}


// The menu's commands act on the node it was opened on, which becomes the selected one.
void FolderTree::chooseNode(const QModelIndex &index)
{
    if (index.isValid() && (index != currentIndex() || !hasSelectedNode()))
        setCurrentIndex(index);
}

void FolderTree::showContextMenu(const QPoint &pos)
{
    const QPersistentModelIndex node = indexAt(pos);
    if (!node.isValid())
        return;
    const auto on = [this, node](auto command) {
        return [this, node, command] {
            if (!node.isValid())
                return;
            chooseNode(node);
            command();
        };
    };
    FileCommands commands;
    commands.open = on([this, node] { expand(node); });
    if (m_view) {
        commands.cut = on([this] { cutSelected(); });
        commands.copy = on([this] { copySelected(); });
        commands.paste = on([this] { paste(); });
        commands.canPaste = m_view->fileOperations()->clipboardHasFiles();
        commands.newFolder = on([this] {
            m_view->setFocus();
            m_view->createNewFolder(tr("New Folder"));
        });
    }
    commands.rename = on([this] { renameSelected(); });
    commands.remove = on([this] { emit deleteRequested(); });
    commands.refresh = on([this, node] {
        m_model->refresh(node);
        if (m_view && m_view->currentDirectory() == m_model->filePath(node))
            m_view->refreshFolder();
    });
    QMenu menu(this);
    addFileCommands(menu, commands);
    menu.exec(viewport()->mapToGlobal(pos));
}

Qt::DropAction FolderTree::dropActionAt(QDropEvent *event, QString &folder)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at != m_hovered) {
        m_hovered = at;
        m_expandTimer.start();
    }
    if (!m_view || !at.isValid())
        return Qt::IgnoreAction;
    folder = m_model->filePath(at);
    return m_view->fileOperations()->dropAction(event->mimeData(), folder, event->modifiers(),
                                                event->possibleActions());
}

void FolderTree::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void FolderTree::dragMoveEvent(QDragMoveEvent *event)
{
    QString folder;
    const Qt::DropAction action = dropActionAt(event, folder);
    if (action == Qt::IgnoreAction) {
        event->ignore(visualRect(indexAt(event->position().toPoint())));
        return;
    }
    event->setDropAction(action);
    event->accept(visualRect(indexAt(event->position().toPoint())));
}

void FolderTree::dragLeaveEvent(QDragLeaveEvent *)
{
    m_hovered = QPersistentModelIndex();
    m_expandTimer.stop();
}

void FolderTree::dropEvent(QDropEvent *event)
{
    m_expandTimer.stop();
    m_hovered = QPersistentModelIndex();
    QString folder;
    const Qt::DropAction action = dropActionAt(event, folder);
    if (action == Qt::IgnoreAction || !m_view->fileOperations()->drop(event->mimeData(), folder, action)) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}
