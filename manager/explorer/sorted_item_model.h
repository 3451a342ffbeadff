// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A model whose rows under each parent are kept in order, with the few ways the
// PC pane's models change them: sorted batches merged in, scattered rows taken
// out, one row moved, and a re-sort. Views, selections and open editors follow
// each change through the model's signals and persistent indexes.
// Every index's internal pointer is its row's item.
#pragma once

#include <QAbstractItemModel>

#include <algorithm>
#include <memory>
#include <vector>

class SortedItemModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

protected:
    template <class T>
    using Rows = std::vector<std::unique_ptr<T>>;

    // Merges fresh items into rows, both ordered by less. A few, or one run of
    // them, go in as row inserts; more are merged in one layout change, so a
    // batch of thousands costs the views one relayout.
    template <class T, class Less>
    void insertSorted(const QModelIndex &parent, Rows<T> &rows, Rows<T> fresh, Less less)
    {
        if (fresh.empty())
            return;
        const auto byItem = [&](const std::unique_ptr<T> &a, const std::unique_ptr<T> &b) {
            return less(*a, *b);
        };
        if (!std::is_sorted(fresh.begin(), fresh.end(), byItem))
            std::sort(fresh.begin(), fresh.end(), byItem);
        const auto first = std::upper_bound(rows.begin(), rows.end(), fresh.front(), byItem);
        const auto last = std::upper_bound(rows.begin(), rows.end(), fresh.back(), byItem);
        if (first == last) {
            const int at = int(first - rows.begin());
            beginInsertRows(parent, at, at + int(fresh.size()) - 1);
            rows.insert(rows.begin() + at, std::make_move_iterator(fresh.begin()),
                        std::make_move_iterator(fresh.end()));
            endInsertRows();
            return;
        }
        if (fresh.size() <= kFewRows) {
            for (std::unique_ptr<T> &item : fresh) {
                const int at = int(std::upper_bound(rows.begin(), rows.end(), item, byItem) - rows.begin());
                beginInsertRows(parent, at, at);
                rows.insert(rows.begin() + at, std::move(item));
                endInsertRows();
            }
            return;
        }
        emit layoutAboutToBeChanged(parents(parent));
        Rows<T> merged;
        merged.reserve(rows.size() + fresh.size());
        std::merge(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()),
                   std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()),
                   std::back_inserter(merged), byItem);
        rows = std::move(merged);
        remapPersistent(parent, rows, less);
        emit layoutChanged(parents(parent));
    }

    // Removes the rows at the given positions, in runs from the last.
    template <class T>
    void removeAt(const QModelIndex &parent, Rows<T> &rows, std::vector<int> doomed)
    {
        std::sort(doomed.begin(), doomed.end());
        doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
        for (size_t end = doomed.size(); end > 0;) {
            size_t begin = end - 1;
            while (begin > 0 && doomed[begin - 1] == doomed[begin] - 1)
                --begin;
            beginRemoveRows(parent, doomed[begin], doomed[end - 1]);
            rows.erase(rows.begin() + doomed[begin], rows.begin() + doomed[end - 1] + 1);
            endRemoveRows();
            end = begin;
        }
    }

    // Moves the row at row, whose item's order may have changed, to its place.
    template <class T, class Less>
    void reposition(const QModelIndex &parent, Rows<T> &rows, int row, Less less)
    {
        std::unique_ptr<T> item = std::move(rows[row]);
        rows.erase(rows.begin() + row);
        const auto byItem = [&](const std::unique_ptr<T> &a, const std::unique_ptr<T> &b) {
            return less(*a, *b);
        };
        const int at = int(std::lower_bound(rows.begin(), rows.end(), item, byItem) - rows.begin());
        const bool moves = at != row && beginMoveRows(parent, row, row, parent, at > row ? at + 1 : at);
        rows.insert(rows.begin() + at, std::move(item));
        if (moves)
            endMoveRows();
    }

    template <class T, class Less>
    void resort(const QModelIndex &parent, Rows<T> &rows, Less less)
    {
        emit layoutAboutToBeChanged(parents(parent), QAbstractItemModel::VerticalSortHint);
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const std::unique_ptr<T> &a, const std::unique_ptr<T> &b) { return less(*a, *b); });
        remapPersistent(parent, rows, less);
        emit layoutChanged(parents(parent), QAbstractItemModel::VerticalSortHint);
    }

    // The row of item under its parent's rows, found by its order.
    template <class T, class Less>
    static int rowOf(const Rows<T> &rows, const T *item, Less less)
    {
        const auto at = std::lower_bound(rows.begin(), rows.end(), item,
                                         [&](const std::unique_ptr<T> &a, const T *b) { return less(*a, *b); });
        return at != rows.end() && at->get() == item ? int(at - rows.begin()) : -1;
    }

private:
    static constexpr size_t kFewRows = 16;

    static QList<QPersistentModelIndex> parents(const QModelIndex &parent)
    {
        return parent.isValid() ? QList<QPersistentModelIndex>{parent} : QList<QPersistentModelIndex>{};
    }

    template <class T, class Less>
    void remapPersistent(const QModelIndex &parent, const Rows<T> &rows, Less less)
    {
        const QModelIndexList before = persistentIndexList();
        QModelIndexList from, to;
        for (const QModelIndex &index : before) {
            if (index.parent() != parent)
                continue;
            const auto *item = static_cast<const T *>(index.internalPointer());
            const int row = rowOf(rows, item, less);
            from << index;
            to << (row < 0 ? QModelIndex() : createIndex(row, index.column(), index.internalPointer()));
        }
        changePersistentIndexList(from, to);
    }
};
