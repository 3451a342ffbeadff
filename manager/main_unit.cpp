// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window's lifecycle and its settings file.
#include "main_unit.h"

#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "platform/folder_probe.h"
#include "platform/ini.h"
#include "platform/ini_error_text.h"
#include "platform/prompts.h"
#include "platform/screen.h"
#include "platform/settings_location.h"
#include "queue/thread_done_event.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

TForm_TovixMan *Form_TovixMan = nullptr;

namespace {

constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 480;
constexpr int kDesignTreeWidth = 150;
constexpr int kDesignPlayerWidth = 212;
constexpr int kDesignFixedWidth = 34 + kDesignPlayerWidth; // the transfer bar and the player pane

const char kWindow[] = "Window";
const char kExplorer[] = "Explorer";
// How long the start waits for the saved PC folder to answer.
constexpr int kFolderAnswerMs = 1000;

} // namespace

TForm_TovixMan::TForm_TovixMan(const QString &settingsFile, QWidget *parent)
    : QMainWindow(parent), FSettingsPath(settingsFile)
{
    setWindowTitle(QStringLiteral("Sonavel v1.3"));
    FQuitWithoutWaiting = [] {
        std::fflush(nullptr);
        ::_exit(0);
    };
    resize(kDesignWidth, kDesignHeight);
    buildLayout();
    connectPcPane();
    connectPlayerPane();
    connectQueueCommands();
    connectImportCommands();
    connectListenCommands();
    FormCreate();
}

TForm_TovixMan::~TForm_TovixMan()
{
    releaseQueueOnDestroy();
    FormDestroy();
    endListening();
    if (Form_TovixMan == this)
        Form_TovixMan = nullptr;
}

QString TForm_TovixMan::defaultSettingsPath()
{
    return QString::fromStdString(settingsFileFor(
        QCoreApplication::applicationDirPath().toStdString(), userConfigFolder()));
}

QString TForm_TovixMan::statusText(int panel) const
{
    return StatusPanels[panel]->text();
}

void TForm_TovixMan::setStatusText(int panel, const QString &text)
{
    StatusPanels[panel]->setText(text);
}

int TForm_TovixMan::activePageTag() const
{
    const QWidget *page = TabControl_PlayerFiles->currentWidget();
    return page ? page->property("Tag").toInt() : 0;
}

QTreeWidget *TForm_TovixMan::activePageList() const
{
    switch (activePageTag()) {
    case 1: return FileList_Internal;
    case 2: return FileList_External;
    default: return FileList_All;
    }
}

void TForm_TovixMan::FormCreate()
{
    readSettings();
    FJobRunning = false;
    FJobDone = false;
    FConnected = false;
    FLastStatus = 0xFFFFFFFF;
    FCardPresent = false;
    FClosing = false;
    FReservedInternal = 0;
    FReservedCard = 0;
}

void TForm_TovixMan::FormShow()
{
    Timer_CheckPlayer->start();
}

bool TForm_TovixMan::FormCloseQuery()
{
    Timer_CheckPlayer->stop();
    Timer_Transfer->stop();
    FClosing = true;
    return true;
}

void TForm_TovixMan::FormClose()
{
    // A copy's question would stop the wait below; the copies end with the window.
    FolderView->fileOperations()->holdQuestions();
    while (CheckList_CopyProgress->count() > 0) {
        QListWidgetItem *line = CheckList_CopyProgress->item(0);
        delete queueJobOf(line);
        delete line;
    }
    if (!endDuringListenCopy())
        waitForRunningJob();
}

void TForm_TovixMan::FormDestroy()
{
    writeSettings();
}

void TForm_TovixMan::FormResize()
{
    placeTransferButtons();
}

void TForm_TovixMan::Splitter_TovixAndExplorerMoved()
{
    placeTransferButtons();
}

void TForm_TovixMan::Menu_ExitClick()
{
    close();
}

void TForm_TovixMan::placeTransferButtons()
{
    const int left = Splitter_Panes->x() + Splitter_TovixAndExplorer->x() + 5;
    Button_Download->move(left, Button_Download->y());
    Button_Upload->move(left, Button_Upload->y());
    Button_Download->raise();
    Button_Upload->raise();
}

void TForm_TovixMan::readSettings()
{
    const IniFile ini(FSettingsPath.toStdString());
    // Saved on a screen that may be gone, or by hand: the window is brought
    // back where the user can reach it.
    const QRect placed = fitOnScreens(ini.readInteger(kWindow, "Left", 0), ini.readInteger(kWindow, "Top", 0),
                                      ini.readInteger(kWindow, "Width", width()),
                                      ini.readInteger(kWindow, "Height", height()), minimumSize());
    move(placed.topLeft());
    resize(placed.size());

    const std::string shown = FolderView->currentDirectory().toStdString();
    const QString saved = QString::fromStdString(ini.readString(kExplorer, "Directory", shown));
    // A network share gone away would hold the window before it ever shows.
    if (saved.toStdString() == shown || probeFolder(saved, kFolderAnswerMs).has_value()) {
        FolderView->setCurrentDirectory(saved);
    } else {
        FUnansweredFolder = saved;
        FShownInstead = FolderView->currentDirectory();
        setStatusText(3, tr("The folder \"%1\" did not answer, so \"%2\" is shown.")
                             .arg(QDir::toNativeSeparators(saved), QDir::toNativeSeparators(FShownInstead)));
    }

    FExplorerWidth = ini.readInteger(kWindow, "Explorer", width() - kDesignFixedWidth);
    FFolderTreeWidth = ini.readInteger(kWindow, "FolderTree", kDesignTreeWidth);
    readImportSettings(ini);
    readListenSettings(ini);
}

int TForm_TovixMan::explorerWidth() const
{
    return FShown ? Splitter_Panes->sizes().value(0) : FExplorerWidth;
}

int TForm_TovixMan::folderTreeWidth() const
{
    return FShown ? Splitter_TreeAndFolder->sizes().value(0) : FFolderTreeWidth;
}

namespace {

int paneTotal(const QSplitter *splitter)
{
    const QList<int> sizes = splitter->sizes();
    return sizes.value(0) + sizes.value(1);
}

// As the splitter sees it: a minimum set on the pane, else what its contents need.
int leastWidth(const QWidget *pane)
{
    return pane->minimumWidth() > 0 ? pane->minimumWidth() : pane->minimumSizeHint().width();
}

// Splits splitter at first, or at designed when first would squeeze either side
// below its least width (a width saved for a wider window, or written by hand).
void splitAt(QSplitter *splitter, int first, int designed)
{
    const int total = paneTotal(splitter);
    const int lo = leastWidth(splitter->widget(0));
    const int hi = std::max(lo, total - leastWidth(splitter->widget(1)));
    if (first < lo || first > hi)
        first = std::clamp(designed, lo, hi);
    splitter->setSizes({first, total - first});
}

} // namespace

// Splitters lay their panes out only once they have a size, so the stored widths
// are applied when the window is first shown.
void TForm_TovixMan::applyPaneWidths()
{
    splitAt(Splitter_Panes, FExplorerWidth, paneTotal(Splitter_Panes) - kDesignPlayerWidth);
    splitAt(Splitter_TreeAndFolder, FFolderTreeWidth, kDesignTreeWidth);
    placeTransferButtons();
}

QString TForm_TovixMan::folderToSave() const
{
    const QString shown = FolderView->currentDirectory();
    return !FUnansweredFolder.isEmpty() && shown == FShownInstead ? FUnansweredFolder : shown;
}

// A folder whose path no line of the file can hold is saved as the nearest
// folder above it, so it never stops the other keys. The write may wait on a
// slow disk, so the window is gone first.
void TForm_TovixMan::writeSettings()
{
    const auto number = [](int value) { return std::to_string(value); };
    std::vector<IniEntry> entries = {
        {kWindow, "Left", number(x())},
        {kWindow, "Top", number(y())},
        {kWindow, "Width", number(width())},
        {kWindow, "Height", number(height())},
        {kExplorer, "Directory", ini::holdableFolder(folderToSave().toStdString())},
        {kWindow, "FolderTree", number(folderTreeWidth())},
        {kWindow, "Explorer", number(explorerWidth())}};
    const int style = FolderView->viewStyle();
    if (style >= 0 && style <= 3)
        entries.push_back({kWindow, "FolderTreeStyle", number(style)});
    importSettingsEntries(entries);
    listenSettingsEntries(entries);
    hide();
    try {
        IniFile(FSettingsPath.toStdString()).writeEntries(entries);
    } catch (const IniWriteError &e) {
        showErrorMessage(iniWriteErrorText(e));
    }
}

bool TForm_TovixMan::event(QEvent *e)
{
    if (e->type() == WM_THREADDONE) {
        OnThreadDone(static_cast<ThreadDoneEvent *>(e));
        return true;
    }
    return QMainWindow::event(e);
}

void TForm_TovixMan::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (!FShown) {
        FShown = true;
        applyPaneWidths();
        FormShow();
    }
}

void TForm_TovixMan::closeEvent(QCloseEvent *e)
{
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TForm_TovixMan::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    FormResize();
}

bool TForm_TovixMan::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Panel_MemoryUsage && e->type() == QEvent::Resize)
        Panel_MemoryUsageResize();
    // The bar also moves when the layout first places the panes, without a splitter move.
    if (watched == Splitter_TovixAndExplorer && e->type() == QEvent::Move)
        placeTransferButtons();
    return QMainWindow::eventFilter(watched, e);
}

void TForm_TovixMan::connectPcPane()
{
    connect(Menu_Exit, &QAction::triggered, this, &TForm_TovixMan::Menu_ExitClick);
    connect(Splitter_Panes, &QSplitter::splitterMoved, this,
            &TForm_TovixMan::Splitter_TovixAndExplorerMoved);
    Splitter_TovixAndExplorer->installEventFilter(this);

    connect(ToolButton4, &QToolButton::clicked, this, &TForm_TovixMan::ToolButton4Click);
    const std::pair<QToolButton *, QAction *> styles[] = {
        {Button_BigIcon, MainMenu_BigIcon}, {Button_SmallIcon, MainMenu_SmallIcon},
        {Button_ListView, MainMenu_ListView}, {Button_ReportView, MainMenu_ReportView}};
    void (TForm_TovixMan::*handlers[])() = {
        &TForm_TovixMan::Button_BigIconClick, &TForm_TovixMan::Button_SmallIconClick,
        &TForm_TovixMan::Button_ListViewClick, &TForm_TovixMan::Button_ReportViewClick};
    for (int i = 0; i < 4; ++i) {
        connect(styles[i].first, &QToolButton::clicked, this, handlers[i]);
        connect(styles[i].second, &QAction::triggered, this, handlers[i]);
    }

    connect(NewFolder1, &QAction::triggered, this, &TForm_TovixMan::NewFolder1Click);
    connect(Rename1, &QAction::triggered, this, &TForm_TovixMan::Rename1Click);
    connect(Delete1, &QAction::triggered, this, &TForm_TovixMan::Delete1Click);
    connect(FolderView, &::FolderView::keyDown, this, &TForm_TovixMan::FolderViewKeyDown);
    connect(FolderTree, &::FolderTree::keyDown, this, &TForm_TovixMan::FolderTreeKeyDown);
    connect(FolderTree, &::FolderTree::deleteRequested, this, [this] { deleteTreeFolder(); });
    connect(pelunHomepage1, &QAction::triggered, this, &TForm_TovixMan::pelunHomepage1Click);
    connect(Menu_About, &QAction::triggered, this, &TForm_TovixMan::Menu_AboutClick);
    connect(FolderView->fileOperations(), &PcFileOperations::statusMessage, this,
            [this](const QString &text) { setStatusText(3, text); });
}
