#include "explorer/folder_view.h"

#include "explorer/file_item_model.h"
#include "platform/wait_cursor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

namespace {

// Long enough for any local folder; a slow share finishes listing in the background.
constexpr int kListingTimeoutMs = 5000;

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

    m_list = new ListView(m_stack);
    m_details = new DetailsView(m_stack);
    m_details->setRootIsDecorated(false);
    m_details->setItemsExpandable(false);
    m_details->setExpandsOnDoubleClick(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->setSortingEnabled(true);
    m_details->sortByColumn(0, Qt::AscendingOrder);
    m_details->header()->setSectionsMovable(false);
    for (QAbstractItemView *view : views()) {
        setUpItemView(view);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::activated, this, &FolderView::openItem);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint &pos) { showContextMenu(view, pos); });
        m_stack->addWidget(view);
    }
    setAcceptDrops(true);

    listFolder(QDir::homePath());
    m_details->setColumnWidth(0, 220);
    setViewStyle(Details);
}

FolderView::~FolderView() = default;

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
    listFolder(m_dir);
}

void FolderView::setCurrentDirectory(const QString &path)
{
    const QString dir = existingFolder(path);
    if (dir != m_dir)
        listFolder(dir);
}

// A fresh model each time: the file system model never reads a folder twice.
void FolderView::listFolder(const QString &dir)
{
    const WaitCursor hourglass;
    const bool sameFolder = dir == m_dir;
    const QStringList keep = sameFolder ? selectedNames() : QStringList();
    const QString current =
        sameFolder && m_model ? m_model->fileName(m_selection->currentIndex()) : QString();

    m_dir = dir;
    m_loaded = false;
    auto *model = new FileItemModel(QDir::AllEntries, this);
    connect(model, &QFileSystemModel::directoryLoaded, this, [this, model](const QString &path) {
        if (model == m_model && QDir::cleanPath(path) == m_dir)
            m_loaded = true;
    });
    model->setRootPath(dir);
    installModel(model);
    if (m_model->canFetchMore(rootIndex()))
        m_model->fetchMore(rootIndex());
    waitUntilLoaded(kListingTimeoutMs);
    restoreSelection(keep, current);
    if (!sameFolder)
        emit currentDirectoryChanged(m_dir);
    emit folderListed();
}

void FolderView::installModel(FileItemModel *model)
{
    FileItemModel *oldModel = m_model;
    m_model = model;
    m_selection = new QItemSelectionModel(model, model);
    for (QAbstractItemView *view : views()) {
        view->setModel(model);
        QItemSelectionModel *own = view->selectionModel();
        view->setSelectionModel(m_selection); // both views share one selection
        delete own;
        view->setRootIndex(model->index(m_dir));
    }
    // The old selection model belongs to the old model.
    if (oldModel)
        oldModel->deleteLater();
}

// Queued results from the lister thread are delivered to the model directly, so no
// user input or timer of the window runs while the list waits.
bool FolderView::waitUntilLoaded(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_loaded) {
        QCoreApplication::sendPostedEvents(m_model, QEvent::MetaCall);
        if (m_loaded || deadline.hasExpired())
            break;
        QThread::msleep(1);
    }
    if (m_loaded) {
        const QHeaderView *header = m_details->header();
        m_model->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    }
    return m_loaded;
}

QStringList FolderView::selectedNames() const
{
    QStringList names;
    for (int i = 0; i < itemCount(); ++i)
        if (isItemSelected(i))
            names << itemCaption(i);
    return names;
}

void FolderView::restoreSelection(const QStringList &names, const QString &current)
{
    for (int i = 0; i < itemCount(); ++i) {
        const QString caption = itemCaption(i);
        if (caption == current)
            m_selection->setCurrentIndex(itemIndex(i), QItemSelectionModel::NoUpdate);
        if (names.contains(caption))
            setItemSelected(i, true);
    }
}

QModelIndex FolderView::rootIndex() const
{
    return m_details->rootIndex();
}

QModelIndex FolderView::itemIndex(int item) const
{
    return m_model->index(item, 0, rootIndex());
}

int FolderView::itemCount() const
{
    return rootIndex().isValid() ? m_model->rowCount(rootIndex()) : 0;
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
