// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window's controls, menus and tool bars, built as the stored form lays them out.
#include "main_unit.h"

#include "explorer/file_drop.h"
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "listen/play_bar.h"
#include "widgets/bevel_splitter.h"
#include "widgets/plain_text.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int kPlayerPaneWidth = 212;
constexpr int kTransferBarWidth = 34;
constexpr int kFolderTreeWidth = 150;

QToolButton *addToolButton(QToolBar *bar, const QString &hint, QStyle::StandardPixmap icon)
{
    auto *button = new QToolButton(bar);
    button->setToolTip(hint);
    button->setIcon(bar->style()->standardIcon(icon));
    bar->addWidget(button);
    return button;
}

QToolBar *createSmallToolBar(QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setFixedHeight(26);
    bar->setIconSize(QSize(16, 16));
    return bar;
}

QLabel *greyBoldLabel(const QString &text, QWidget *parent)
{
    auto *label = newPlainLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    // It fills an empty page, so a longer wording takes a second line rather than being cut.
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: grey;"));
    return label;
}

QLabel *statusPanel(int width, QStatusBar *bar)
{
    auto *label = newPlainLabel(QString(), bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (width > 0) {
        // The designed width, or what the text needs when a translation or font is wider.
        label->setMinimumWidth(width);
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    }
    bar->addWidget(label, width > 0 ? 0 : 1);
    return label;
}

} // namespace

void TForm_TovixMan::createActions()
{
    NewFolder1 = new QAction(tr("&New Folder"), this);
    Delete1 = new QAction(tr("&Delete"), this);
    Rename1 = new QAction(tr("&Rename"), this);
    Menu_Exit = new QAction(tr("E&xit"), this);

    MainMenu_DownloadToPlayer = new QAction(tr("&Download selected files from PC to Player"), this);
    MainMenu_UploadFromPlayer = new QAction(tr("&Upload selected files from Player to PC"), this);
    MainMenu_ImportRecordings = new QAction(tr("&Import new recordings"), this);
    MainMenu_ImportOnArrival = new QAction(tr("Import new recordings when the player is a&ttached"), this);
    MainMenu_ImportOnArrival->setCheckable(true);
    MainMenu_Remove = new QAction(tr("&Remove selected file(s) from Player"), this);
    MainMenu_RemoveAll = new QAction(tr("Remove &all files from Player"), this);
    MainMenu_Format = new QAction(tr("&Format"), this);
    MainMenu_FormatAll = new QAction(tr("Format all &memories"), this);
    MainMenu_Cancel = new QAction(tr("&Cancel selected/checked operation(s) in queue"), this);
    MainMenu_CancelAll = new QAction(tr("Cancel all &operations"), this);

    ViewStyleGroup = new QActionGroup(this);
    MainMenu_BigIcon = new QAction(tr("&Big icons"), ViewStyleGroup);
    MainMenu_SmallIcon = new QAction(tr("&Small icons"), ViewStyleGroup);
    MainMenu_ListView = new QAction(tr("&List"), ViewStyleGroup);
    MainMenu_ReportView = new QAction(tr("&Details"), ViewStyleGroup);
    for (QAction *a : ViewStyleGroup->actions())
        a->setCheckable(true);
    MainMenu_ReportView->setChecked(true);

    pelunHomepage1 = new QAction(tr("Wendaro Homepage"), this);
    Menu_About = new QAction(tr("&About..."), this);
}

void TForm_TovixMan::createMenus()
{
    QMenuBar *bar = menuBar();
    Menu_File = bar->addMenu(tr("&File"));
    Menu_File->addActions({NewFolder1, Delete1, Rename1});
    Menu_File->addSeparator();
    Menu_File->addAction(Menu_Exit);

    Menu_OperationGroup = bar->addMenu(tr("&Operation"));
    Menu_OperationGroup->addActions({MainMenu_DownloadToPlayer, MainMenu_UploadFromPlayer});
    Menu_OperationGroup->addSeparator();
    Menu_OperationGroup->addActions({MainMenu_ImportRecordings, MainMenu_ImportOnArrival});
    Menu_OperationGroup->addSeparator();
    Menu_OperationGroup->addActions({MainMenu_Remove, MainMenu_RemoveAll});
    Menu_OperationGroup->addSeparator();
    Menu_OperationGroup->addActions({MainMenu_Format, MainMenu_FormatAll});
    Menu_OperationGroup->addSeparator();
    Menu_OperationGroup->addActions({MainMenu_Cancel, MainMenu_CancelAll});
    Menu_OperationGroup->menuAction()->setEnabled(false);

    createListenMenu();

    Menu_View = bar->addMenu(tr("&View"));
    Explorer1 = Menu_View->addMenu(tr("&PC"));
    Explorer1->addActions(ViewStyleGroup->actions());

    Menu_Help = bar->addMenu(tr("&Help"));
    Menu_Help->addActions({pelunHomepage1, Menu_About});
}

void TForm_TovixMan::createPopupMenus()
{
    PopupMenu_Remove = new QMenu(this);
    UploadselectedfilesinPlayertoPC1 = PopupMenu_Remove->addAction(tr("&Upload selected files in Player to PC"));
    UploadallfilesinPlayertoPC1 = PopupMenu_Remove->addAction(tr("Upload &all files in Player to PC"));
    PopupMenu_Remove->addSeparator();
    Menu_RemovePlayerFiles = PopupMenu_Remove->addAction(tr("&Remove selected files in Player"));
    Menu_RemoveAllPlayerFiles = PopupMenu_Remove->addAction(tr("Remove a&ll files"));
    PopupMenu_Remove->addSeparator();
    Menu_Format = PopupMenu_Remove->addAction(tr("&Format"));
    Menu_FormatAll = PopupMenu_Remove->addAction(tr("Format all &memories"));
    PopupMenu_Remove->addSeparator();
    // The View submenu is shown for familiarity; it does nothing.
    PopupMenu_View = PopupMenu_Remove->addMenu(tr("&View"));
    for (const char *caption : {QT_TR_NOOP("&Name"), QT_TR_NOOP("S&torage"), QT_TR_NOOP("&Size"),
                                QT_TR_NOOP("&Date")}) {
        QAction *a = PopupMenu_View->addAction(tr(caption));
        a->setCheckable(true);
        a->setChecked(true);
        a->setEnabled(false);
    }
    PopupMenu_View->addAction(tr("&Attributes"))->setEnabled(false);

    PopupMenu_CopyList = new QMenu(this);
    Menu_RemoveQueue = PopupMenu_CopyList->addAction(tr("&Cancel selected/checked operation(s) in queue"));
    Menu_RemoveAllQueue = PopupMenu_CopyList->addAction(tr("Cancel &all operations"));
}

void TForm_TovixMan::createPcPane()
{
    Panel_Explorer = new QWidget;
    Panel_Explorer->setMinimumWidth(120);
    auto *layout = new QVBoxLayout(Panel_Explorer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = createSmallToolBar(Panel_Explorer);
    ToolButton4 = addToolButton(ToolBar1, tr("Refresh"), QStyle::SP_BrowserReload);
    ToolBar1->addSeparator();
    Button_BigIcon = addToolButton(ToolBar1, tr("Big Icons"), QStyle::SP_FileDialogContentsView);
    Button_SmallIcon = addToolButton(ToolBar1, tr("Small Icons"), QStyle::SP_FileDialogInfoView);
    Button_ListView = addToolButton(ToolBar1, tr("List"), QStyle::SP_FileDialogListView);
    Button_ReportView = addToolButton(ToolBar1, tr("Details"), QStyle::SP_FileDialogDetailedView);
    layout->addWidget(ToolBar1);

    Splitter_TreeAndFolder = new QSplitter(Qt::Horizontal, Panel_Explorer);
    Splitter_TreeAndFolder->setHandleWidth(2);
    Splitter_TreeAndFolder->setChildrenCollapsible(false);
    FolderTree = new ::FolderTree(Splitter_TreeAndFolder);
    FolderView = new ::FolderView(Splitter_TreeAndFolder);
    FolderTree->setFolderView(FolderView);
    Splitter_TreeAndFolder->setStretchFactor(0, 0);
    Splitter_TreeAndFolder->setStretchFactor(1, 1);
    Splitter_TreeAndFolder->setSizes({kFolderTreeWidth, 640 - kFolderTreeWidth});
    layout->addWidget(Splitter_TreeAndFolder, 1);
}

void TForm_TovixMan::createTransferBar()
{
    Button_Download = new QToolButton(Panel_FileManager);
    Button_Download->setToolTip(tr("Download to Player"));
    Button_Download->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Button_Download->setGeometry(0, 56, 23, 22);
    Button_Download->setEnabled(false);

    Button_Upload = new QToolButton(Panel_FileManager);
    Button_Upload->setToolTip(tr("Upload from Player"));
    Button_Upload->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Button_Upload->setGeometry(0, 92, 23, 22);
    Button_Upload->setEnabled(false);
}

QWidget *TForm_TovixMan::createPlayerPage(QTreeWidget *&list, QLabel *&label,
                                          const QString &labelText, const QStringList &columns,
                                          const QString &hint)
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    // The label sits under the list and is seen whenever the list is hidden.
    label = greyBoldLabel(labelText, page);
    grid->addWidget(label, 0, 0);

    list = new QTreeWidget(page);
    list->setColumnCount(int(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setToolTip(hint);
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(0, Qt::AscendingOrder);
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    list->headerItem()->setTextAlignment(int(columns.size()) - 1, Qt::AlignRight | Qt::AlignVCenter);
    list->setColumnWidth(0, 100);
    list->setColumnWidth(int(columns.size()) - 1, 50);
    list->hide();
    grid->addWidget(list, 0, 0);
    return page;
}

void TForm_TovixMan::createPlayerPane()
{
    Panel_FileListInMemory = new QWidget;
    auto *layout = new QVBoxLayout(Panel_FileListInMemory);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // At least this wide, and wider when its contents need it: the splitter widens
    // the pane when a usage text grows longer than the pane.
    layout->addStrut(120);

    ToolBar2 = createSmallToolBar(Panel_FileListInMemory);
    Button_Refresh = addToolButton(ToolBar2, tr("Refresh"), QStyle::SP_BrowserReload);
    Button_Delete = addToolButton(ToolBar2, tr("Remove Track"), QStyle::SP_TrashIcon);
    Button_Format = addToolButton(ToolBar2, tr("Format"), QStyle::SP_DriveFDIcon);
    Button_Import = addToolButton(ToolBar2, tr("Import new recordings"), QStyle::SP_ArrowDown);
    for (QToolButton *b : {Button_Refresh, Button_Delete, Button_Format, Button_Import})
        b->setEnabled(false);
    layout->addWidget(ToolBar2);

    TabControl_PlayerFiles = new QTabWidget(Panel_FileListInMemory);
    TabControl_PlayerFiles->setTabPosition(QTabWidget::East);
    TabControl_PlayerFiles->setToolTip(tr("Show all of internal/external files"));
    const QString name = tr("Name"), size = tr("Size");
    Tab_All = createPlayerPage(FileList_All, Label3, tr("Offline"),
                               {name, tr("Storage"), size},
                               tr("All Files in Internal memory and external memory card"));
    Tab_InternalFiles = createPlayerPage(FileList_Internal, Label2, tr("Unable to Internal Memory"),
                                         {name, size}, tr("Files in internal memory"));
    Tab_ExternalFiles = createPlayerPage(FileList_External, Label_NotExists, tr("Unable to External Memory"),
                                         {name, size}, tr("Files in external memory card"));
    const std::pair<QWidget *, const char *> pages[] = {
        {Tab_All, QT_TR_NOOP("All")},
        {Tab_InternalFiles, QT_TR_NOOP("Internal Memory")},
        {Tab_ExternalFiles, QT_TR_NOOP("Memory Card")}};
    int tag = 0;
    for (const auto &[page, caption] : pages) {
        page->setProperty("Tag", tag++);
        TabControl_PlayerFiles->addTab(page, tr(caption));
    }
    TabControl_PlayerFiles->setEnabled(false);
    layout->addWidget(TabControl_PlayerFiles, 1);

    createUsagePanel();
    layout->addWidget(Panel_MemoryUsage);
}

// The usage texts are laid out whole: their width is the panel's least width.
// The rows keep their designed heights unless the font needs taller ones.
void TForm_TovixMan::createUsagePanel()
{
    Panel_MemoryUsage = new QWidget(Panel_FileListInMemory);
    Panel_MemoryUsage->installEventFilter(this);
    auto *rows = new QVBoxLayout(Panel_MemoryUsage);
    rows->setContentsMargins(5, 3, 5, 4);
    rows->setSpacing(0);
    MemoryUsageLabel_Internal = newPlainLabel(tr("Internal Memory"), Panel_MemoryUsage);
    MemoryUsage_Internal = new QProgressBar(Panel_MemoryUsage);
    MemoryUsageLabel_External = newPlainLabel(tr("External Memory"), Panel_MemoryUsage);
    MemoryUsage_External = new QProgressBar(Panel_MemoryUsage);
    const int labelHeight = std::max(15, MemoryUsageLabel_Internal->sizeHint().height());
    const std::pair<QLabel *, QProgressBar *> memories[] = {{MemoryUsageLabel_Internal, MemoryUsage_Internal},
                                                            {MemoryUsageLabel_External, MemoryUsage_External}};
    for (const auto &[label, bar] : memories) {
        if (label == MemoryUsageLabel_External)
            rows->addSpacing(4);
        label->setFixedHeight(labelHeight);
        rows->addWidget(label);
        rows->addSpacing(1);
        bar->setFixedHeight(13);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        rows->addWidget(bar);
    }
    Panel_MemoryUsage->setFixedHeight(3 + 2 * (labelHeight + 1 + 13) + 4 + 4);
}

void TForm_TovixMan::createQueuePanel()
{
    Panel_CopyProgress = new QWidget;
    Panel_CopyProgress->setFixedHeight(68);
    auto *layout = new QHBoxLayout(Panel_CopyProgress);
    layout->setContentsMargins(0, 0, 0, 0);
    CheckList_CopyProgress = new QListWidget(Panel_CopyProgress);
    CheckList_CopyProgress->setSelectionMode(QAbstractItemView::SingleSelection);
    CheckList_CopyProgress->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(CheckList_CopyProgress, 1);

    // The device library reports no progress, so a running line shows only that it is busy.
    auto *busy = new QVBoxLayout;
    busy->setContentsMargins(4, 4, 4, 4);
    Label_Elapsed = newPlainLabel(QString(), Panel_CopyProgress);
    ProgressBar_Busy = new QProgressBar(Panel_CopyProgress);
    ProgressBar_Busy->setRange(0, 0);
    ProgressBar_Busy->setFixedWidth(120);
    ProgressBar_Busy->setTextVisible(false);
    busy->addWidget(Label_Elapsed);
    busy->addWidget(ProgressBar_Busy);
    busy->addStretch();
    layout->addLayout(busy);
    Label_Elapsed->hide();
    ProgressBar_Busy->hide();
    Panel_CopyProgress->hide();
}

void TForm_TovixMan::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(true);
    const int widths[4] = {100, 140, 120, 0};
    for (int i = 0; i < 4; ++i)
        StatusPanels[i] = statusPanel(widths[i], bar);
    StatusPanels[0]->setText(tr("Not Connected"));
}

void TForm_TovixMan::createTimers()
{
    Timer_CheckPlayer = new QTimer(this);
    Timer_CheckPlayer->setInterval(10);
    connect(Timer_CheckPlayer, &QTimer::timeout, this, [this] { Timer_CheckPlayerTimer(Timer_CheckPlayer); });

    Timer_Transfer = new QTimer(this);
    Timer_Transfer->setInterval(200);
    connect(Timer_Transfer, &QTimer::timeout, this, &TForm_TovixMan::Timer_TransferTimer);
    Timer_Transfer->start();
}

// Names a screen reader speaks for controls that show no text of their own, in
// the user's language; under English they stay the names scripts look for.
void TForm_TovixMan::nameControls()
{
    const std::pair<QWidget *, const char *> names[] = {
        {ToolBar1, QT_TR_NOOP("PC tool bar")},
        {ToolButton4, QT_TR_NOOP("Refresh PC folder")},
        {Button_BigIcon, QT_TR_NOOP("Big Icons")},
        {Button_SmallIcon, QT_TR_NOOP("Small Icons")},
        {Button_ListView, QT_TR_NOOP("List")},
        {Button_ReportView, QT_TR_NOOP("Details")},
        {FolderTree, QT_TR_NOOP("PC folders")},
        {FolderView, QT_TR_NOOP("PC files")},
        {Button_Download, QT_TR_NOOP("Download to Player")},
        {Button_Upload, QT_TR_NOOP("Upload from Player")},
        {ToolBar2, QT_TR_NOOP("Player tool bar")},
        {Button_Refresh, QT_TR_NOOP("Refresh player files")},
        {Button_Delete, QT_TR_NOOP("Remove selected player files")},
        {Button_Format, QT_TR_NOOP("Format player memory")},
        {Button_Import, QT_TR_NOOP("Import new recordings")},
        {TabControl_PlayerFiles, QT_TR_NOOP("Player files")},
        {FileList_All, QT_TR_NOOP("All player files")},
        {FileList_Internal, QT_TR_NOOP("Internal memory files")},
        {FileList_External, QT_TR_NOOP("Memory card files")},
        {MemoryUsage_Internal, QT_TR_NOOP("Internal memory usage")},
        {MemoryUsage_External, QT_TR_NOOP("Memory card usage")},
        {CheckList_CopyProgress, QT_TR_NOOP("Operation queue")},
        {ProgressBar_Busy, QT_TR_NOOP("Operation running")},
        {Panel_Explorer, QT_TR_NOOP("PC")},
        {Panel_FileListInMemory, QT_TR_NOOP("Player")},
        {statusBar(), QT_TR_NOOP("Status")},
    };
    for (const auto &[widget, name] : names)
        widget->setAccessibleName(tr(name));
    // Qt's own button for tools that do not fit the bar.
    for (QToolBar *bar : {ToolBar1, ToolBar2})
        for (QToolButton *more : bar->findChildren<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
            more->setAccessibleName(tr("More tools"));
    // The list's views are what takes the focus.
    for (QAbstractItemView *view : FolderView->findChildren<QAbstractItemView *>())
        if (!qobject_cast<QHeaderView *>(view))
            view->setAccessibleName(FolderView->accessibleName());
    // A status panel's name is its text, which may be empty; the description says what it shows.
    const char *panels[4] = {QT_TR_NOOP("Player connection"), QT_TR_NOOP("Memory card state"),
                             QT_TR_NOOP("Write protection"), QT_TR_NOOP("Latest event")};
    for (int i = 0; i < 4; ++i)
        StatusPanels[i]->setAccessibleDescription(tr(panels[i]));
    Label_Elapsed->setAccessibleDescription(tr("Time the running operation has taken"));
}

void TForm_TovixMan::buildLayout()
{
    createActions();
    createMenus();
    createPopupMenus();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel_FileManager = new QWidget(central);
    auto *panes = new QVBoxLayout(Panel_FileManager);
    panes->setContentsMargins(0, 0, 0, 0);
    createPcPane();
    createPlayerPane();
    Splitter_Panes = new BevelSplitter(Qt::Horizontal, Panel_FileManager);
    Splitter_Panes->setHandleWidth(kTransferBarWidth);
    Splitter_Panes->setChildrenCollapsible(false);
    // Tab follows the order widgets join the window: the PC pane, the transfer
    // buttons between the panes, the player pane, the queue.
    Splitter_Panes->addWidget(Panel_Explorer);
    createTransferBar();
    Splitter_Panes->addWidget(Panel_FileListInMemory);
    Splitter_Panes->setStretchFactor(0, 1);
    Splitter_Panes->setStretchFactor(1, 0);
    Splitter_Panes->setSizes({640 - kTransferBarWidth - kPlayerPaneWidth, kPlayerPaneWidth});
    Splitter_TovixAndExplorer = Splitter_Panes->handle(1);
    panes->addWidget(Splitter_Panes);
    layout->addWidget(Panel_FileManager, 1);
    createPlayBar();
    layout->addWidget(PlayBar_Listen);

    createQueuePanel();
    layout->addWidget(Panel_CopyProgress);
    setCentralWidget(central);

    createStatusBar();
    createTimers();
    FileDrop = new ::FileDrop(this);
    nameControls();
}
