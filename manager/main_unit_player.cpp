// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player status monitor: the poll, the connection and card state it keeps,
// the status bar and the enabling of every player-side control.
#include "main_unit.h"

#include "device/records.h"
#include "player_state.h"
#include "target_select_unit.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

namespace {

constexpr int kConnectedPeriodMs = 2000;
constexpr int kDisconnectedPeriodMs = 5000;
// FLastStatus once the player has gone away; like the start-up value it has
// the write-protection bit set, so nothing is downloaded before a fresh status.
constexpr uint32_t kDepartedStatus = 0xFFFF;


// Forwards the key presses of one list to a key-down handler.
class KeyDownFilter : public QObject {
public:
    KeyDownFilter(QObject *parent, std::function<void(int)> handler)
        : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress)
            m_handler(static_cast<QKeyEvent *>(e)->key());
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void(int)> m_handler;
};

// The target dialog may not exist yet (or at all, in some tests).
void setTargetRadioEnabled(QRadioButton *TForm_TargetSelection::*radio, bool enabled)
{
    if (Form_TargetSelection && Form_TargetSelection->*radio)
        (Form_TargetSelection->*radio)->setEnabled(enabled);
}

} // namespace

const TFileEntry *playerEntryOf(const QTreeWidgetItem *item)
{
    return static_cast<const TFileEntry *>(item->data(0, Qt::UserRole).value<const void *>());
}

void TForm_TovixMan::Timer_CheckPlayerTimer(QTimer *sender)
{
    if (FClosing || FDeviceBusy)
        return;
    FDeviceBusy = true;
    // The state before this poll decides the next period.
    if (sender)
        sender->setInterval(FConnected ? kConnectedPeriodMs : kDisconnectedPeriodMs);

    TPlayerVersion version = {};
    if (dll_fn_get_player_version(&version) == 0) {
        if (FConnected)
            playerDeparted();
        FDeviceBusy = false;
        return;
    }
    if (!FConnected)
        playerArrived(version);
    const uint32_t status = uint32_t(dll_fn_get_player_status());
    if (status != FLastStatus)
        statusChanged(status);
    const bool arrived = !FConnected;
    if (arrived) {
        refreshWithinPoll();
        FConnected = true;
    }
    FDeviceBusy = false;
    if (arrived)
        importOnArrival();
}

void TForm_TovixMan::playerArrived(const TPlayerVersion &version)
{
    setStatusText(0, QString::fromLocal8Bit(versionText(version)));
    setStatusText(3, tr("Player is connected."));
    FileList_All->show();
    FileList_Internal->show();
    MemoryUsage_Internal->setEnabled(true);
    MemoryUsageLabel_Internal->setEnabled(true);
    setTargetRadioEnabled(&TForm_TargetSelection::Radio_Internal, true);
    setPlayerControlsEnabled(true);
}

void TForm_TovixMan::playerDeparted()
{
    setStatusText(0, tr("not connected"));
    setStatusText(1, QString());
    setStatusText(2, QString());
    setStatusText(3, tr("Player is disconnected."));
    FConnected = false;
    FLastStatus = kDepartedStatus;
    listenMemoryChanged(0);
    FReservedInternal = 0;
    FReservedCard = 0;

    MemoryUsage_Internal->setEnabled(false);
    MemoryUsage_Internal->setValue(0);
    MemoryUsageLabel_Internal->setEnabled(false);
    setTargetRadioEnabled(&TForm_TargetSelection::Radio_Internal, false);
    MemoryUsage_External->setEnabled(false);
    MemoryUsage_External->setValue(0);
    MemoryUsageLabel_External->setText(tr("Unable to External Memory"));
    MemoryUsageLabel_External->setEnabled(false);
    setTargetRadioEnabled(&TForm_TargetSelection::Radio_External, false);
    for (QTreeWidget *list : {FileList_All, FileList_Internal, FileList_External}) {
        list->clear();
        list->hide();
    }
    setPlayerControlsEnabled(false);
}

void TForm_TovixMan::statusChanged(uint32_t status)
{
    FCardPresent = cardUsable(status);
    setStatusText(1, playerStateText(cardStateText(status)));
    setCardSideEnabled(FCardPresent);
    if (!FCardPresent) {
        listenMemoryChanged(mtCard);
        MemoryUsage_External->setValue(0);
        MemoryUsageLabel_External->setText(tr("Unable to External Memory"));
    }
    refreshWithinPoll();
    setStatusText(2, playerStateText(writeProtectionText(status)));
    FLastStatus = status;
}

// The refresh clears FDeviceBusy when it ends; the poll still holds it.
void TForm_TovixMan::refreshWithinPoll()
{
    RefreshPlayerFiles();
    FDeviceBusy = true;
}

void TForm_TovixMan::setCardSideEnabled(bool enabled)
{
    MemoryUsageLabel_External->setEnabled(enabled);
    setTargetRadioEnabled(&TForm_TargetSelection::Radio_External, enabled);
    MemoryUsage_External->setEnabled(enabled);
    if (!enabled && TabControl_PlayerFiles->currentWidget() == Tab_ExternalFiles)
        TabControl_PlayerFiles->setCurrentWidget(Tab_All);
    TabControl_PlayerFiles->setTabEnabled(TabControl_PlayerFiles->indexOf(Tab_ExternalFiles), enabled);
    FileList_External->setVisible(enabled);
}

void TForm_TovixMan::setPlayerControlsEnabled(bool enabled)
{
    FPlayerControlsOn = enabled;
    TabControl_PlayerFiles->setEnabled(enabled);
    updateMenuTitles();
    for (QToolButton *b : {Button_Download, Button_Upload, Button_Refresh, Button_Delete, Button_Format,
                           Button_Import})
        b->setEnabled(enabled);
}

uint32_t TForm_TovixMan::hiddenPlayerFiles(int32_t target) const
{
    if (target == mtCard)
        return FCardPresent ? unlistedFileCount(FCardInfo) : 0;
    return target == mtInternal ? unlistedFileCount(FInternalInfo) : 0;
}

// A memory fuller than its list can show is said at every refresh, so no one
// takes the list for all there is.
void TForm_TovixMan::showHiddenPlayerFiles()
{
    const std::string text = hiddenFilesStatus(hiddenPlayerFiles(mtInternal), hiddenPlayerFiles(mtCard));
    if (!text.empty())
        setStatusText(3, QString::fromStdString(text));
}

// A format erases the files the lists do not show too; the question says how many.
QString TForm_TovixMan::formatQuestion(bool internal, bool card) const
{
    QString question = tr("Do you really want to format ?");
    const std::string notes[] = {
        internal ? formatErasesText(tr("Internal Memory").toStdString(), FInternalInfo) : "",
        card && FCardPresent ? formatErasesText(tr("Memory Card").toStdString(), FCardInfo) : ""};
    for (const std::string &note : notes) {
        if (!note.empty())
            question += QStringLiteral("\n\n") + QString::fromStdString(note);
    }
    return question;
}

void TForm_TovixMan::Button_RefreshClick()
{
    if (!FDeviceBusy)
        RefreshPlayerFiles();
}

void TForm_TovixMan::FileList_AllKeyDown(int key)
{
    if (key == Qt::Key_Delete)
        RemoveClick();
}

void TForm_TovixMan::Panel_MemoryUsageResize()
{
    const int width = Panel_MemoryUsage->width() - 10;
    MemoryUsage_Internal->resize(width, MemoryUsage_Internal->height());
    MemoryUsage_External->resize(MemoryUsage_Internal->width(), MemoryUsage_External->height());
    // The labels take the same width, so a wider pane shows their whole text.
    MemoryUsageLabel_Internal->resize(width, MemoryUsageLabel_Internal->height());
    MemoryUsageLabel_External->resize(width, MemoryUsageLabel_External->height());
}

void TForm_TovixMan::connectPlayerPane()
{
    connect(Button_Refresh, &QToolButton::clicked, this, &TForm_TovixMan::Button_RefreshClick);
    for (QTreeWidget *list : {FileList_All, FileList_Internal, FileList_External}) {
        // The name ordering is ours; the view's own sorting would follow the indicator.
        // Switching it off also hides the indicator and makes the header inert.
        list->setSortingEnabled(false);
        list->header()->setSortIndicatorShown(true);
        list->header()->setSectionsClickable(true);
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, list](int column) { FileList_ColumnClick(list, column); });
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint &pos) {
            PopupMenu_Remove->popup(list->viewport()->mapToGlobal(pos));
        });
    }
    rememberSortIndicators();
    FileList_All->installEventFilter(
        new KeyDownFilter(FileList_All, [this](int key) { FileList_AllKeyDown(key); }));
}
