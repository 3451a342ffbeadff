// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "widgets/bevel_splitter.h"

#include <QPainter>
#include <QSplitterHandle>
#include <QStyleOptionFrame>

namespace {

class BevelHandle : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QStyleOptionFrame option;
        option.initFrom(this);
        option.lineWidth = 1;
        option.midLineWidth = 0;
        option.state |= QStyle::State_Raised;
        option.frameShape = QFrame::Panel;
        style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, this);
    }
};

} // namespace

QSplitterHandle *BevelSplitter::createHandle()
{
    return new BevelHandle(orientation(), this);
}
