// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The PC pane's commands and keys, and the Help menu.
#include "main_unit.h"

#include "about_unit.h"
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "platform/prompts.h"
#include "platform/wait_cursor.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

// The maker's site lives on a reserved example domain, so nobody is sent to a stranger's site.
const char kHomepage[] = "https://www.wendaro.example/";

} // namespace

void TForm_TovixMan::ToolButton4Click()
{
    FolderView->refreshFolder();
}

void TForm_TovixMan::setViewStyleChecked(int style)
{
    const QList<QAction *> items = ViewStyleGroup->actions();
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == style);
}

void TForm_TovixMan::Button_BigIconClick()
{
    FolderView->setViewStyle(0);
    setViewStyleChecked(0);
}

void TForm_TovixMan::Button_SmallIconClick()
{
    FolderView->setViewStyle(1);
    setViewStyleChecked(1);
}

void TForm_TovixMan::Button_ListViewClick()
{
    FolderView->setViewStyle(2);
    setViewStyleChecked(2);
    FolderView->refreshFolder();
}

void TForm_TovixMan::Button_ReportViewClick()
{
    FolderView->setViewStyle(3);
    setViewStyleChecked(3);
}

void TForm_TovixMan::NewFolder1Click()
{
    FolderView->createNewFolder(tr("New Folder"));
}

void TForm_TovixMan::Rename1Click()
{
    if (FolderView->hasFocusWithin() && FolderView->hasSelectedItem())
        FolderView->renameSelected();
    else if (FolderTree->hasFocus() && FolderTree->hasSelectedNode())
        FolderTree->renameSelected();
}

void TForm_TovixMan::Delete1Click()
{
    if (FolderView->hasFocusWithin() && FolderView->hasSelectedItem()) {
        const WaitCursor hourglass;
        FolderView->deleteSelected();
    } else if (FolderTree->hasFocus() && FolderTree->hasSelectedNode()) {
        deleteTreeFolder();
    }
}

// A folder goes with everything in it, so the tree asks first; the node it
// selects afterwards is not chosen for a further Delete.
void TForm_TovixMan::deleteTreeFolder()
{
    const QString path = FolderTree->selectedNodePath();
    if (!confirmYes(this,
                    tr("Do you really want to delete the folder \"%1\" and everything in it ?")
                        .arg(QDir::toNativeSeparators(path)),
                    PromptIcon::Warning))
        return;
    const WaitCursor hourglass;
    if (FolderTree->selectedNodePath() == path)
        FolderTree->deleteSelected();
}

void TForm_TovixMan::FolderViewKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F5: FolderView->refreshFolder(); break;
    case Qt::Key_F2: Rename1Click(); break;
    case Qt::Key_Delete: Delete1Click(); break;
    default: break;
    }
}

void TForm_TovixMan::FolderTreeKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F5: FolderTree->repaintTree(); break;
    case Qt::Key_F2: Rename1Click(); break;
    case Qt::Key_Delete: Delete1Click(); break;
    default: break;
    }
}

void TForm_TovixMan::pelunHomepage1Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomepage)));
}

void TForm_TovixMan::Menu_AboutClick()
{
    if (Form_About)
        prompts().execDialog(Form_About);
}
