// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The small dialog that asks which memory of the player a download or a format is for.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

// Modal results: Yes for the internal memory, No for the card, Rejected (Cancel) to give up.
enum TargetResult : int { mrCancel = QDialog::Rejected, mrYes = 6, mrNo = 7 };

class TForm_TargetSelection : public QDialog {
    Q_OBJECT

public:
    explicit TForm_TargetSelection(QWidget *parent = nullptr);

    QLabel *Label_SelectTarget = nullptr;
    QRadioButton *Radio_Internal = nullptr;
    QRadioButton *Radio_External = nullptr;
    QPushButton *Button_Ok = nullptr;
    QPushButton *ButtonCancel = nullptr;

    void setVisible(bool visible) override;

public slots:
    void Button_OkClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateOkButton();
    void fitLongerTexts();
    void focusCheckedChoice();
};

extern TForm_TargetSelection *Form_TargetSelection;
