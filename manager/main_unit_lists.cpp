// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player's file lists and memory usage: reading both memories into the
// window's records, filling the three lists from them and ordering by name.
#include "main_unit_lists.h"

#include "main_unit.h"

#include "device/records.h"
#include "player_state.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Per-list state kept on the list itself: whether it orders by name, and the
// sort indicator as this window last set it (the header flips it on its own
// before reporting a click).
const char kOrdersByName[] = "OrdersByName";
const char kIndicatorColumn[] = "IndicatorColumn";
const char kIndicatorOrder[] = "IndicatorOrder";

constexpr int kNameMinWidth = 100;
constexpr int kSizeMinWidth = 50;

// Reads one memory. The window's record changes only when the read succeeds,
// so the items a failed read leaves in place still point at their own entries.
bool readMemory(TMemoryInfo &record, int32_t target)
{
    auto fresh = std::make_unique<TMemoryInfo>();
    if (dll_fn_refresh_device(fresh.get(), target) == 0)
        return false;
    record = *fresh;
    return true;
}

QTreeWidgetItem *newPlayerItem(const QStringList &texts, const TFileEntry *entry)
{
    auto *item = new QTreeWidgetItem(texts);
    item->setTextAlignment(int(texts.size()) - 1, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, Qt::UserRole, QVariant::fromValue<const void *>(entry));
    return item;
}

// Puts the list's items and the new ones in ascending name order, locale-aware
// and case-sensitive; names that compare equal keep the order they were added in.
void placeByName(QTreeWidget *list, const QList<QTreeWidgetItem *> &added)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    QTreeWidgetItem *current = list->currentItem();
    QList<QTreeWidgetItem *> items = list->invisibleRootItem()->takeChildren();
    items += added;

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<std::pair<QCollatorSortKey, QTreeWidgetItem *>> keyed;
    keyed.reserve(items.size());
    for (QTreeWidgetItem *item : items)
        keyed.emplace_back(collator.sortKey(item->text(0)), item);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i] = keyed[size_t(i)].second;

    list->addTopLevelItems(items);
    for (QTreeWidgetItem *item : selected)
        item->setSelected(true);
    if (current)
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
}

void addPlayerItems(QTreeWidget *list, const QList<QTreeWidgetItem *> &items)
{
    if (ordersByName(list))
        placeByName(list, items);
    else
        list->addTopLevelItems(items);
}

// What resizing the column to its contents gives, asking the view for the size
// of the widest text only: all items share one font, so it decides the width.
int fittingWidth(QTreeWidget *list, int column)
{
    const QFontMetrics metrics(list->font());
    QTreeWidgetItem *widest = nullptr;
    int widestAdvance = -1;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        const int advance = metrics.horizontalAdvance(item->text(column));
        if (advance > widestAdvance) {
            widestAdvance = advance;
            widest = item;
        }
    }
    int width = list->header()->isHidden() ? 0 : list->header()->sectionSizeHint(column);
    if (widest)
        width = std::max(width, list->sizeHintForIndex(list->indexFromItem(widest, column)).width());
    return width;
}

void showUsage(UsageMemory memory, const TMemoryInfo &info, QProgressBar *bar, QLabel *label)
{
    bar->setValue(usedPercent(info));
    label->setText(QString::fromStdString(usageLabel(memory, info)));
}

} // namespace

void TForm_TovixMan::RefreshPlayerFiles()
{
    FDeviceBusy = true;
    FileList_All->clear();
    if (readMemory(FInternalInfo, mtInternal))
        fillPlayerLists(FileList_Internal, FileList_All, FInternalInfo, tr("Internal"));
    if (FCardPresent && readMemory(FCardInfo, mtCard))
        fillPlayerLists(FileList_External, FileList_All, FCardInfo, tr("MemCard"));
    fitPlayerColumns(FileList_All);
    UpdateMemoryUsage();
    showHiddenPlayerFiles();
    FDeviceBusy = false;
}

void fitPlayerColumns(QTreeWidget *list)
{
    const std::pair<int, int> fitted[] = {{0, kNameMinWidth}, {list->columnCount() - 1, kSizeMinWidth}};
    for (const auto &[column, minimum] : fitted)
        list->setColumnWidth(column, std::max(fittingWidth(list, column), minimum));
}

bool ordersByName(const QTreeWidget *list)
{
    return list->property(kOrdersByName).toBool();
}

void orderByName(QTreeWidget *list)
{
    list->setProperty(kOrdersByName, true);
    placeByName(list, {});
}

void fillPlayerLists(QTreeWidget *own, QTreeWidget *all, const TMemoryInfo &info,
                     const QString &storage)
{
    const uint32_t count = readableFileCount(info);
    QList<QTreeWidgetItem *> ownItems, allItems;
    ownItems.reserve(count);
    allItems.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const TFileEntry &entry = info.Files[i];
        const QString name = QString::fromLocal8Bit(displayName(entry));
        const QString size = QString::fromStdString(sizeText(entry.Size));
        ownItems.append(newPlayerItem({name, size}, &entry));
        allItems.append(newPlayerItem({name, storage, size}, &entry));
    }
    own->clear();
    addPlayerItems(own, ownItems);
    addPlayerItems(all, allItems);
    fitPlayerColumns(own);
}

void TForm_TovixMan::UpdateMemoryUsage()
{
    showUsage(UsageMemory::Internal, FInternalInfo, MemoryUsage_Internal, MemoryUsageLabel_Internal);
    if (FCardPresent) {
        showUsage(UsageMemory::Card, FCardInfo, MemoryUsage_External, MemoryUsageLabel_External);
    } else {
        MemoryUsage_External->setValue(0);
        MemoryUsageLabel_External->setText(tr("Unable to External Memory"));
    }
}

void TForm_TovixMan::rememberSortIndicators()
{
    for (QTreeWidget *list : {FileList_All, FileList_Internal, FileList_External}) {
        list->setProperty(kIndicatorColumn, list->header()->sortIndicatorSection());
        list->setProperty(kIndicatorOrder, int(list->header()->sortIndicatorOrder()));
    }
}

void TForm_TovixMan::FileList_ColumnClick(QTreeWidget *list, int column)
{
    auto order = Qt::SortOrder(list->property(kIndicatorOrder).toInt());
    if (list->property(kIndicatorColumn).toInt() == column)
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    list->setProperty(kIndicatorColumn, column);
    list->setProperty(kIndicatorOrder, int(order));
    list->header()->setSortIndicator(column, order);

    // Whatever column was clicked, the list orders by name from now on.
    orderByName(list);
}

std::vector<PlayerFilePick> TForm_TovixMan::pickSelectedPlayerFiles() const
{
    const int tag = activePageTag();
    const QTreeWidget *list = activePageList();
    std::vector<PlayerFilePick> picks;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->isSelected() && playerEntryOf(item))
            picks.push_back(playerFilePickOf(item, tag));
    }
    return picks;
}

PlayerFilePick playerFilePickOf(const QTreeWidgetItem *item, int tag)
{
    const TFileEntry &entry = *playerEntryOf(item);
    // On the All page the Storage column tells the memory: "Internal" or "MemCard", as translated.
    const bool card =
        tag == 2 || (tag == 0 && item->text(1) != QCoreApplication::translate("TForm_TovixMan", "Internal"));
    return {item->text(0), displayName(entry), fieldText(entry.ShortName), card ? mtCard : mtInternal,
            item->text(tag == 0 ? 2 : 1).toLongLong()};
}
