// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The commands the two PC widgets offer in their context menus, put into a menu
// in one order, so the list and the tree read alike.
#pragma once

#include <functional>

class QKeyEvent;
class QMenu;

struct FileCommands {
    // Commands left empty are not offered.
    std::function<void()> open, cut, copy, paste, rename, remove, newFolder, refresh;
    bool canPaste = false;
};

void addFileCommands(QMenu &menu, const FileCommands &commands);

// Runs the command of a Ctrl+C, Ctrl+X or Ctrl+V; false for any other key.
bool runClipboardKey(const QKeyEvent *event, const FileCommands &commands);

// The same for a widget that copies, cuts and pastes its selection, unless a
// name is being edited there.
template <class Widget>
bool runClipboardKey(const QKeyEvent *event, Widget *widget)
{
    FileCommands commands;
    commands.copy = [widget] { widget->copySelected(); };
    commands.cut = [widget] { widget->cutSelected(); };
    commands.paste = [widget] { widget->paste(); };
    return !widget->isEditing() && runClipboardKey(event, commands);
}
