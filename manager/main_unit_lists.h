// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Filling and ordering the player's file lists, apart from the window so a
// list can be filled from a record that has already been read.
#pragma once

#include "device/nerolink.h"

#include <QString>

class QTreeWidget;

// Empties own and fills it and all (appending) from the record's entries, in
// record order unless a list orders by name. Items point at the record's entries.
// Own's columns are fitted; all's are left for fitPlayerColumns once it is complete.
void fillPlayerLists(QTreeWidget *own, QTreeWidget *all, const TMemoryInfo &info,
                     const QString &storage);

// Fits the name and size columns to their texts, at least 100 and 50 pixels.
void fitPlayerColumns(QTreeWidget *list);

// From now on the list keeps its items in ascending name order (locale-aware,
// case-sensitive), starting with the items it holds.
void orderByName(QTreeWidget *list);
bool ordersByName(const QTreeWidget *list);
