// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/transfer_progress.h"

#include "fileops/file_transfers.h"
#include "widgets/plain_text.h"
#include "platform/prompts.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 100;
constexpr int kLeastWidth = 320;
// A name longer than this is shortened in its middle, keeping its start and extension.
constexpr int kNameWidth = 2 * kLeastWidth;

} // namespace

TransferProgressDialog::TransferProgressDialog(FileTransfers *transfers, QWidget *parent)
    : QDialog(parent), m_transfers(transfers)
{
    setWindowModality(Qt::NonModal);
    keepAnswerable(this); // Cancel works while a format disables the window
    auto *layout = new QVBoxLayout(this);
    // At least this wide; wider when a translation's text needs it.
    layout->addStrut(kLeastWidth);
    m_label = newPlainLabel(QString(), this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 1000);
    m_bar->setAccessibleName(tr("Copy progress"));
    m_cancel = new QPushButton(tr("Cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, &TransferProgressDialog::reject);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &TransferProgressDialog::poll);
}

void TransferProgressDialog::operationStarted(FileOperation::Kind kind)
{
    if (m_kinds.empty())
        m_running.start();
    m_kinds.push_back(kind);
    m_timer->start();
}

void TransferProgressDialog::operationFinished()
{
    if (!m_kinds.empty())
        m_kinds.pop_front();
    m_running.start();
    if (!m_kinds.empty())
        return;
    m_timer->stop();
    hide();
}

void TransferProgressDialog::reject()
{
    m_transfers->cancel();
}

void TransferProgressDialog::poll()
{
    if (m_kinds.empty())
        return;
    const TransferProgress progress = m_transfers->progress();
    const bool moving = m_kinds.front() == FileOperation::Move;
    setWindowTitle(moving ? tr("Moving files") : tr("Copying files"));
    const QString name = m_label->fontMetrics().elidedText(QFileInfo(progress.current).fileName(),
                                                          Qt::ElideMiddle, kNameWidth);
    m_label->setText(name.isEmpty() ? windowTitle()
                     : moving       ? tr("Moving \"%1\"").arg(name)
                                    : tr("Copying \"%1\"").arg(name));
    if (progress.total > 0)
        m_bar->setValue(int(qMin<qint64>(1000, progress.done * 1000 / progress.total)));
    else
        m_bar->setValue(0);
    if (!isVisible() && m_running.elapsed() >= kShowAfterMs)
        show();
}

#include "moc_transfer_progress.cpp"
