// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_view.h"

#include "explorer/file_drop.h"
#include "explorer/file_item_model.h"
#include "explorer/pc_file_operations.h"
#include "platform/wait_cursor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QString existingFolder(const QString &path)
{
    QString dir = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo(dir).isDir()) {
        const QString up = QFileInfo(dir).path();
        if (up == dir)
            return QDir::homePath();
        dir = up;
    }
    return dir;
}

void setUpItemView(QAbstractItemView *view)
{
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::SelectedClicked);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDefaultDropAction(Qt::CopyAction);
    view->viewport()->setAcceptDrops(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
}

} // namespace

FolderView::FolderView(QWidget *parent) : QWidget(parent)
{
    m_stack = new QStackedWidget(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    m_model = new FileItemModel(this);
    m_fileOps = new PcFileOperations(this);
    m_selection = new QItemSelectionModel(m_model, this);
    connect(m_model, &FileItemModel::listed, this, &FolderView::folderListedByModel);
    connect(m_model, &FileItemModel::folderGone, this, [this] { setCurrentDirectory(m_dir); });

    m_list = new ListView(m_stack);
    // Laid out a slice at a time, so thousands of icons never hold the window.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(500);
    m_details = new DetailsView(m_stack);
    m_details->setRootIsDecorated(false);
    m_details->setItemsExpandable(false);
    m_details->setExpandsOnDoubleClick(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    for (QAbstractItemView *view : views()) {
        view->setModel(m_model);
        QItemSelectionModel *own = view->selectionModel();
        view->setSelectionModel(m_selection); // both views share one selection
        delete own;
        setUpItemView(view);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::activated, this, &FolderView::openItem);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { showContextMenu(view, pos); });
        m_stack->addWidget(view);
    }
    m_details->setSortingEnabled(true);
    m_details->sortByColumn(0, Qt::AscendingOrder);
    m_details->header()->setSectionsMovable(false);
    setAcceptDrops(true);
    FileDrop::leaveDropsTo(this);

    listFolder(QDir::homePath());
    m_details->setColumnWidth(0, 220);
    setViewStyle(Details);
}

// The views and their selection hold indexes of the model: they go first.
FolderView::~FolderView()
{
    delete m_stack;
    delete m_selection;
}

void FolderView::setViewStyle(int style)
{
    if (style < BigIcons || style > Details)
        return;
    const bool hadFocus = hasFocusWithin();
    m_style = style;
    if (style == Details) {
        m_stack->setCurrentWidget(m_details);
    } else {
        m_list->setViewMode(style == BigIcons ? QListView::IconMode : QListView::ListMode);
        m_list->setMovement(QListView::Static);
        m_list->setResizeMode(QListView::Adjust);
        m_list->setFlow(style == List ? QListView::TopToBottom : QListView::LeftToRight);
        m_list->setWrapping(true);
        m_list->setWordWrap(style == BigIcons);
        m_list->setIconSize(style == BigIcons ? QSize(32, 32) : QSize(16, 16));
        m_list->setGridSize(style == BigIcons ? QSize(96, 72)
                                              : style == SmallIcons ? QSize(160, 22) : QSize());
        m_list->setUniformItemSizes(true);
        m_stack->setCurrentWidget(m_list);
    }
    setFocusProxy(currentView());
    if (hadFocus)
        currentView()->setFocus();
    currentView()->scrollTo(m_selection->currentIndex());
}

QAbstractItemView *FolderView::currentView() const
{
    return static_cast<QAbstractItemView *>(m_stack->currentWidget());
}

void FolderView::refreshFolder()
{
    if (!m_hourglass)
        m_hourglass = std::make_unique<WaitCursor>();
    m_model->refresh();
}

void FolderView::setCurrentDirectory(const QString &path)
{
    const QString dir = existingFolder(path);
    if (dir != m_dir)
        listFolder(dir);
}

void FolderView::listFolder(const QString &dir)
{
    if (!m_hourglass)
        m_hourglass = std::make_unique<WaitCursor>();
    m_dir = dir;
    m_model->setFolder(dir);
    emit currentDirectoryChanged(m_dir);
}

// The hourglass goes with the last listing asked for, after the list has said so.
void FolderView::folderListedByModel()
{
    emit folderListed();
    if (!m_model->isListing())
        m_hourglass.reset();
}

bool FolderView::isLoaded() const
{
    return !m_model->isListing();
}

bool FolderView::waitUntilLoaded(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_model->isListing() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !m_model->isListing();
}

QModelIndex FolderView::itemIndex(int item) const
{
    return m_model->index(item, 0);
}

int FolderView::itemCount() const
{
    return m_model->rowCount();
}

QString FolderView::itemCaption(int item) const
{
    return m_model->fileName(itemIndex(item));
}

QString FolderView::itemPath(int item) const
{
    const QModelIndex index = itemIndex(item);
    return index.isValid() ? m_model->filePath(index) : QString();
}

bool FolderView::isItemSelected(int item) const
{
    const QModelIndex index = itemIndex(item);
    return index.isValid() && m_selection->isSelected(index);
}

bool FolderView::isItemFolder(int item) const
{
    const QModelIndex index = itemIndex(item);
    return index.isValid() && m_model->isDir(index);
}

void FolderView::setItemSelected(int item, bool selected)
{
    const QModelIndex index = itemIndex(item);
    if (index.isValid())
        m_selection->select(index, (selected ? QItemSelectionModel::Select
                                             : QItemSelectionModel::Deselect)
                                       | QItemSelectionModel::Rows);
}

void FolderView::selectAll()
{
    const int count = itemCount();
    if (count == 0)
        return;
    const QItemSelection all(itemIndex(0), itemIndex(count - 1));
    m_selection->select(all, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool FolderView::hasSelectedItem() const
{
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            return true;
    return false;
}

#include "moc_folder_view.cpp"
