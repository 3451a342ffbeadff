// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A splitter whose handle is drawn as a raised, bevelled bar.
#pragma once

#include <QSplitter>

class BevelSplitter : public QSplitter {
    Q_OBJECT

public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle *createHandle() override;
};
