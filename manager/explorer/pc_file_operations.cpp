// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/pc_file_operations.h"

#include "explorer/player_files_mime.h"
#include "explorer/transfer_progress.h"
#include "fileops/drop_choice.h"
#include "fileops/file_clipboard.h"
#include "fileops/file_transfers.h"
#include "platform/prompts.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>

PcFileOperations::PcFileOperations(QWidget *owner) : QObject(owner), m_owner(owner)
{
    m_transfers = new FileTransfers(this);
    m_transfers->askClash = [this](const ClashQuestion &question) { return askClash(question); };
    connect(m_transfers, &FileTransfers::finished, this, &PcFileOperations::finished);
}

// The thread goes first: it may be waiting on a question to this object.
PcFileOperations::~PcFileOperations()
{
    delete m_transfers;
    delete m_progress;
}

QWidget *PcFileOperations::boxOwner() const
{
    return m_owner ? m_owner->window() : nullptr;
}

void PcFileOperations::putOnClipboard(const QStringList &paths, bool cut)
{
    if (!paths.isEmpty())
        QGuiApplication::clipboard()->setMimeData(makeFileClipboard(paths, cut));
}

bool PcFileOperations::clipboardHasFiles() const
{
    return !readFileClipboard(QGuiApplication::clipboard()->mimeData()).paths.isEmpty();
}

bool PcFileOperations::pasteInto(const QString &folder)
{
    const ClipboardFiles files = readFileClipboard(QGuiApplication::clipboard()->mimeData());
    if (folder.isEmpty())
        return false;
    reportRefused(files.refused);
    if (files.paths.isEmpty())
        return false;
    start({files.cut ? FileOperation::Move : FileOperation::Copy, files.paths, folder}, files.cut);
    return true;
}

Qt::DropAction PcFileOperations::dropAction(const QMimeData *data, const QString &folder,
                                            Qt::KeyboardModifiers modifiers,
                                            Qt::DropActions possible)
{
    if (!data || data->hasFormat(QLatin1String(kPlayerFilesMimeType)) || folder.isEmpty())
        return Qt::IgnoreAction;
    const QStringList sources = readFileClipboard(data).paths;
    DropGuess &last = m_lastDrop;
    if (sources != last.sources || folder != last.folder || modifiers != last.modifiers
        || possible != last.possible)
        last = {sources, folder, modifiers, possible,
                chooseDropAction(sources, folder, modifiers, possible)};
    return last.action;
}

bool PcFileOperations::drop(const QMimeData *data, const QString &folder, Qt::DropAction action)
{
    const ClipboardFiles files = readFileClipboard(data);
    const QStringList &sources = files.paths;
    m_lastDrop = {};
    if (sources.isEmpty() || (action != Qt::MoveAction && action != Qt::CopyAction))
        return false;
    reportRefused(files.refused);
    start({action == Qt::MoveAction ? FileOperation::Move : FileOperation::Copy, sources, folder},
          false);
    return true;
}

// Told once the drop or paste has returned: a box must not hold a drag's source.
void PcFileOperations::reportRefused(const QStringList &refused)
{
    if (refused.isEmpty())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, text = refusedUrisMessage(refused)] {
            ownedBox(boxOwner(), text, PromptIcon::Warning, PromptButtons::Ok);
        },
        Qt::QueuedConnection);
}

void PcFileOperations::start(FileOperation operation, bool fromCut)
{
    if (!m_progress)
        m_progress = new TransferProgressDialog(m_transfers, boxOwner());
    m_fromCut.push_back(fromCut);
    m_progress->operationStarted(operation.kind);
    m_transfers->start(operation);
}

namespace {

QString described(const FileOperation &operation)
{
    const QString folder = QDir::toNativeSeparators(operation.folder);
    const bool move = operation.kind == FileOperation::Move;
    if (operation.sources.size() == 1) {
        const QString name = QFileInfo(operation.sources.front()).fileName();
        return move ? PcFileOperations::tr("the move of \"%1\" into \"%2\"").arg(name, folder)
                    : PcFileOperations::tr("the copy of \"%1\" into \"%2\"").arg(name, folder);
    }
    const int count = int(operation.sources.size());
    return move ? PcFileOperations::tr("the move of %n items into \"%1\"", nullptr, count).arg(folder)
                : PcFileOperations::tr("the copy of %n items into \"%1\"", nullptr, count).arg(folder);
}

} // namespace

void PcFileOperations::holdQuestions()
{
    m_transfers->setHeld(true);
}

void PcFileOperations::finished(const FileOperation &operation, const FileOperationResult &result)
{
    if (!result.dropped) {
        m_dropped.clear();
    } else {
        m_dropped << described(operation);
        const QString dropped = m_dropped.join(QStringLiteral("; "));
        emit statusMessage(m_dropped.size() == 1 ? tr("Cancelled before it began: %1.").arg(dropped)
                                                 : tr("Cancelled before they began: %1.").arg(dropped));
    }
    const bool fromCut = !m_fromCut.empty() && m_fromCut.front();
    if (!m_fromCut.empty())
        m_fromCut.pop_front();
    if (m_progress)
        m_progress->operationFinished();
    // A cut is used up by its paste, as in file managers; a newer clipboard stays.
    if (fromCut && result.outcome == FileOperationResult::Done) {
        const ClipboardFiles now = readFileClipboard(QGuiApplication::clipboard()->mimeData());
        if (now.cut && now.paths == operation.sources)
            QGuiApplication::clipboard()->clear();
    }
    const QString notice = copyNotice(result);
    if (!notice.isEmpty())
        emit statusMessage(notice);
    if (result.outcome == FileOperationResult::Failed)
        ownedBox(boxOwner(), result.error, PromptIcon::Critical, PromptButtons::Ok);
    emit operationFinished(result);
}

ClashChoice PcFileOperations::askClash(const ClashQuestion &question)
{
    const QString folder = QDir::toNativeSeparators(question.folder);
    const QString text =
        question.folderTaken
            ? tr("A folder named \"%1\" already exists in \"%2\".\nReplace it, skip this one, or keep both?")
                  .arg(question.name, folder)
            : tr("A file named \"%1\" already exists in \"%2\".\nReplace it, skip this one, or keep both?")
                  .arg(question.name, folder);
    switch (askReplaceSkipKeepBoth(boxOwner(), text)) {
    case PromptAnswer::Replace: return ClashChoice::Replace;
    case PromptAnswer::KeepBoth: return ClashChoice::KeepBoth;
    default: return ClashChoice::Skip;
    }
}

bool PcFileOperations::isBusy() const
{
    return !m_fromCut.empty();
}

bool PcFileOperations::waitUntilIdle(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (isBusy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !isBusy();
}

#include "moc_pc_file_operations.cpp"
