// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "target_select_unit.h"

#include "platform/screen.h"
#include "platform/window_title.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

TForm_TargetSelection *Form_TargetSelection = nullptr;

TForm_TargetSelection::TForm_TargetSelection(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Sonavel v1.2"));
    setFixedSize(169, 113);
    // The fixed layout was drawn for a small dialog font; the desktop font would clip the card choice.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);

    Label_SelectTarget = new QLabel(tr("Select Target"), this);
    Label_SelectTarget->move(8, 10);

    Radio_Internal = new QRadioButton(tr("Internal Memory"), this);
    Radio_Internal->setGeometry(29, 35, 136, 17);
    Radio_Internal->setChecked(true);

    Radio_External = new QRadioButton(tr("External memory card"), this);
    Radio_External->setGeometry(29, 54, 140, 17);
    for (QRadioButton *radio : {Radio_Internal, Radio_External}) {
        radio->installEventFilter(this);
        connect(radio, &QRadioButton::toggled, this, &TForm_TargetSelection::updateOkButton);
    }

    Button_Ok = new QPushButton(tr("&Ok"), this);
    Button_Ok->setGeometry(6, 81, 75, 25);
    Button_Ok->setDefault(true);
    connect(Button_Ok, &QPushButton::clicked, this, &TForm_TargetSelection::Button_OkClick);

    ButtonCancel = new QPushButton(tr("&Cancel"), this);
    ButtonCancel->setGeometry(84, 81, 79, 25);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    fitLongerTexts();
    centerOnScreen(this);
}

// The fixed layout holds the English texts; a longer translation widens the
// choices and the dialog with them, and a button grows by what its text lacks.
void TForm_TargetSelection::fitLongerTexts()
{
    int width = this->width();
    for (QRadioButton *radio : {Radio_Internal, Radio_External}) {
        radio->resize(std::max(radio->width(), radio->sizeHint().width()), radio->height());
        width = std::max(width, radio->geometry().right() + 1);
    }
    int shift = 0;
    for (QPushButton *button : {Button_Ok, ButtonCancel}) {
        QStyleOptionButton option;
        option.initFrom(button);
        const int frame = 2 * (style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button)
                               + style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button));
        const int needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + frame;
        const int grown = std::max(0, needed - button->width());
        button->setGeometry(button->x() + shift, button->y(), button->width() + grown, button->height());
        shift += grown;
        width = std::max(width, button->geometry().right() + 6);
    }
    Label_SelectTarget->adjustSize();
    width = std::max(width, Label_SelectTarget->geometry().right() + 8);
    setFixedSize(width, height());
}

// The status monitor only enables and disables the choices, never moves the
// check: a memory the user did not choose is never the answer. While the
// chosen one cannot be used, the dialog cannot be confirmed.
void TForm_TargetSelection::updateOkButton()
{
    const QRadioButton *chosen = Radio_Internal->isChecked() ? Radio_Internal : Radio_External;
    Button_Ok->setEnabled(chosen->isChecked() && chosen->isEnabled());
}

bool TForm_TargetSelection::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::EnabledChange
        && (watched == Radio_Internal || watched == Radio_External))
        updateOkButton();
    return QDialog::eventFilter(watched, event);
}

void TForm_TargetSelection::Button_OkClick()
{
    if (Button_Ok->isEnabled())
        done(Radio_Internal->isChecked() ? mrYes : mrNo);
}

// Disabling the choices while the player is away moves the dialog's focus on
// to Cancel, where Enter would cancel and the arrows would not choose; each
// showing starts again from the checked choice, with OK answering Enter.
void TForm_TargetSelection::focusCheckedChoice()
{
    QRadioButton *chosen = Radio_Internal->isChecked() ? Radio_Internal : Radio_External;
    QRadioButton *other = chosen == Radio_Internal ? Radio_External : Radio_Internal;
    if (chosen->isEnabled())
        chosen->setFocus(Qt::OtherFocusReason);
    else if (other->isEnabled())
        other->setFocus(Qt::OtherFocusReason);
    Button_Ok->setDefault(true);
}

void TForm_TargetSelection::setVisible(bool visible)
{
    if (visible)
        focusCheckedChoice();
    withExactTitle(this, [&] { QDialog::setVisible(visible); });
}
