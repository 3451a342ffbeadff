#include "target_select_unit.h"

#include "platform/screen.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

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

    Label_SelectTarget = new QLabel(QStringLiteral("Select Target"), this);
    Label_SelectTarget->move(8, 10);

    Radio_Internal = new QRadioButton(QStringLiteral("Internal Memory"), this);
    Radio_Internal->setGeometry(29, 35, 136, 17);
    Radio_Internal->setChecked(true);

    Radio_External = new QRadioButton(QStringLiteral("External memory card"), this);
    Radio_External->setGeometry(29, 54, 140, 17);
    Radio_External->installEventFilter(this);

    Button_Ok = new QPushButton(QStringLiteral("&Ok"), this);
    Button_Ok->setGeometry(6, 81, 75, 25);
    Button_Ok->setDefault(true);
    connect(Button_Ok, &QPushButton::clicked, this, &TForm_TargetSelection::Button_OkClick);

    ButtonCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    ButtonCancel->setGeometry(84, 81, 79, 25);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    centerOnScreen(this);
}

void TForm_TargetSelection::Button_OkClick()
{
    done(Radio_Internal->isChecked() ? mrYes : mrNo);
}

// A card choice that cannot be used is never the answer: when it is disabled
// while chosen, the internal memory is chosen instead.
bool TForm_TargetSelection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Radio_External && event->type() == QEvent::EnabledChange
        && !Radio_External->isEnabled() && Radio_External->isChecked())
        Radio_Internal->setChecked(true);
    return QDialog::eventFilter(watched, event);
}
