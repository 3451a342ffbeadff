// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/file_commands.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

namespace {

void add(QMenu &menu, const QString &text, const std::function<void()> &run,
         const QKeySequence &keys = {}, bool enabled = true)
{
    if (!run)
        return;
    QAction *action = menu.addAction(text, &menu, run);
    action->setShortcut(keys); // shown beside the item; the widgets handle the keys
    action->setEnabled(enabled);
}

void separate(QMenu &menu)
{
    if (!menu.isEmpty() && !menu.actions().constLast()->isSeparator())
        menu.addSeparator();
}

} // namespace

void addFileCommands(QMenu &menu, const FileCommands &c)
{
    add(menu, QCoreApplication::translate("FileCommands", "&Open"), c.open);
    separate(menu);
    add(menu, QCoreApplication::translate("FileCommands", "Cu&t"), c.cut, QKeySequence::Cut);
    add(menu, QCoreApplication::translate("FileCommands", "&Copy"), c.copy, QKeySequence::Copy);
    add(menu, QCoreApplication::translate("FileCommands", "&Paste"), c.paste, QKeySequence::Paste, c.canPaste);
    separate(menu);
    add(menu, QCoreApplication::translate("FileCommands", "&Rename"), c.rename, Qt::Key_F2);
    add(menu, QCoreApplication::translate("FileCommands", "&Delete"), c.remove, QKeySequence::Delete);
    separate(menu);
    add(menu, QCoreApplication::translate("FileCommands", "&New Folder"), c.newFolder);
    add(menu, QCoreApplication::translate("FileCommands", "Re&fresh"), c.refresh, Qt::Key_F5);
}

bool runClipboardKey(const QKeyEvent *event, const FileCommands &commands)
{
    const std::function<void()> *command = event->matches(QKeySequence::Copy)  ? &commands.copy
                                           : event->matches(QKeySequence::Cut) ? &commands.cut
                                           : event->matches(QKeySequence::Paste) ? &commands.paste
                                                                                  : nullptr;
    if (!command || !*command)
        return false;
    (*command)();
    return true;
}
