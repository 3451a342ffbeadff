// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The item views of the PC pane, with their editing state open to the pane.
#pragma once

#include <QAbstractItemView>

template <class View>
class EditableItemView : public View {
public:
    using View::View;

    bool isEditing() const { return this->state() == QAbstractItemView::EditingState; }
    // Opens the item's name for editing whatever the view's edit triggers are.
    bool openEditor(const QModelIndex &index)
    {
        return index.isValid() && this->edit(index, QAbstractItemView::AllEditTriggers, nullptr);
    }
};
