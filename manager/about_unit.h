// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The About dialog.
#pragma once

#include <QDialog>

class QLabel;
class QToolButton;

class TForm_About : public QDialog {
    Q_OBJECT

public:
    explicit TForm_About(QWidget *parent = nullptr);

    QLabel *Image_Background = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;

    void setVisible(bool visible) override;

public slots:
    void SpeedButton1Click();
};

extern TForm_About *Form_About;
