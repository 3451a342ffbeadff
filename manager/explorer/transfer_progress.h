// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A small window with the progress of the PC pane's copies and a Cancel button.
// It appears only when an operation has run for half a second, and does not
// block the window.
#pragma once

#include "fileops/file_operation.h"

#include <QDialog>
#include <QElapsedTimer>

#include <deque>

class FileTransfers;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TransferProgressDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowAfterMs = 500;

    TransferProgressDialog(FileTransfers *transfers, QWidget *parent);

    void operationStarted(FileOperation::Kind kind);
    void operationFinished();

    QProgressBar *bar() const { return m_bar; }
    QLabel *label() const { return m_label; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void reject() override; // Escape and the close box cancel

private:
    void poll();

    FileTransfers *m_transfers;
    std::deque<FileOperation::Kind> m_kinds; // of the operations not yet finished
    QElapsedTimer m_running;                  // since the current operation began
    QTimer *m_timer = nullptr;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
};
