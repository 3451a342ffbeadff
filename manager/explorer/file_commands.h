// The commands the two PC widgets offer in their context menus, put into a menu
// in one order, so the list and the tree read alike.
#pragma once

#include <functional>

class QMenu;

struct FileCommands {
    // Commands left empty are not offered.
    std::function<void()> open, cut, copy, paste, rename, remove, newFolder, refresh;
    bool canPaste = false;
};

void addFileCommands(QMenu &menu, const FileCommands &commands);
