// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "about_unit.h"

#include "platform/screen.h"
#include "platform/window_title.h"
#include "resources/resources.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

TForm_About *Form_About = nullptr;

namespace {
constexpr int kWidth = 280;
constexpr int kHeight = 180;
constexpr int kCloseWidth = 49;
constexpr int kCloseRight = 275;
} // namespace

TForm_About::TForm_About(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowStaysOnTopHint)
{
    initTovixResources();
    setWindowTitle(tr("About..."));
    setFixedSize(kWidth, kHeight);

    Image_Background = new QLabel(this);
    Image_Background->setGeometry(0, 0, kWidth, kHeight);
    Image_Background->setPixmap(QPixmap(QStringLiteral(":/about_background.png")));
    Image_Background->setScaledContents(true);

    Label1 = new QLabel(QStringLiteral("Sonavel"), this);
    QFont title(QStringLiteral("Arial"));
    title.setBold(true);
    title.setPixelSize(16);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 0, kWidth, kHeight);
    Label1->setAttribute(Qt::WA_TranslucentBackground);

    Label2 = new QLabel(tr("Version Number 1.3"), this);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setGeometry(0, 101, kWidth, Label2->sizeHint().height());
    Label2->setAttribute(Qt::WA_TranslucentBackground);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(tr("Close"));
    SpeedButton1->setAutoRaise(true);
    // A longer word than Close widens the button leftwards, so it is never cut.
    const int closeWidth = std::max(kCloseWidth, SpeedButton1->sizeHint().width());
    SpeedButton1->setGeometry(kCloseRight - closeWidth, 6, closeWidth, 33);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_About::SpeedButton1Click);

    centerOnScreen(this);
}

void TForm_About::SpeedButton1Click()
{
    accept();
}

void TForm_About::setVisible(bool visible)
{
    withExactTitle(this, [&] { QDialog::setVisible(visible); });
}
