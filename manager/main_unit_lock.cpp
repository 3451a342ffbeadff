// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What stays usable while a format runs: listening, and nothing that could
// start another operation.
#include "main_unit.h"

#include "listen/listen_cache.h"
#include "listen/listen_session.h"
#include "listen/play_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

// While a format holds the device nothing may start another operation, so the
// panes, the queue, the menus and drops onto the window are off, as the whole
// window once was. Listening plays from the PC and stays: the play bar, the
// Listen menu with its keys, and the desktop's player controls. The window
// itself stays enabled, or its keys would not reach the Listen menu.
void TForm_TovixMan::lockForOperation(bool locked)
{
    if (FOperationLocked == locked)
        return;
    FOperationLocked = locked;
    for (QWidget *part : centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (part != PlayBar_Listen)
            part->setEnabled(!locked);
    statusBar()->setEnabled(!locked);
    setAcceptDrops(!locked);
    updateMenuTitles();
}

void TForm_TovixMan::updateMenuTitles()
{
    for (QAction *title : menuBar()->actions()) {
        if (title == Menu_Listen->menuAction())
            continue;
        const bool wanted = title != Menu_OperationGroup->menuAction() || FPlayerControlsOn;
        title->setEnabled(wanted && !FOperationLocked);
    }
}

// A copy from the player would wait behind the format, which may erase what
// it copies; copies already in the cache play as ever.
bool TForm_TovixMan::refuseListenCopy(const PlayerFilePick &file)
{
    if (!FOperationLocked)
        return false;
    const CachedRecording recording{file.displayName, file.target, file.size};
    // Its place in the cache, taken when it was looked up, is given back.
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, recording] { s->keepCopy(recording, false); });
    setStatusText(3, tr("Can not play %1 while the player is being formatted: it has to be copied from the player first.")
                         .arg(file.caption));
    return true;
}
