// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Copy, cut, paste and dropped files for the PC pane: the desktop clipboard, the
// questions and errors of a copy (boxes owned by the window), and its progress.
// The copies themselves run on a FileTransfers thread.
#pragma once

#include "fileops/file_operation.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <deque>

class FileTransfers;
class QMimeData;
class QWidget;
class TransferProgressDialog;

class PcFileOperations : public QObject {
    Q_OBJECT
public:
    // Boxes and the progress display belong to owner's window.
    explicit PcFileOperations(QWidget *owner);
    ~PcFileOperations() override;

    // Puts paths on the clipboard, cut or copied.
    void putOnClipboard(const QStringList &paths, bool cut);
    bool clipboardHasFiles() const;
    // Copies (or, after a cut, moves) the clipboard's files into folder.
    bool pasteInto(const QString &folder);

    // What a drop of data on folder would do; Qt::IgnoreAction when it cannot go there.
    Qt::DropAction dropAction(const QMimeData *data, const QString &folder,
                              Qt::KeyboardModifiers modifiers, Qt::DropActions possible);
    // Starts the move or copy that dropAction chose.
    bool drop(const QMimeData *data, const QString &folder, Qt::DropAction action);

    FileTransfers *transfers() const { return m_transfers; }
    // From now on no question or message of a copy comes up: they wait, and
    // the copies are cancelled when this object goes (the window closes).
    void holdQuestions();
    bool isBusy() const;
    // For tests: handles events until every operation has finished.
    bool waitUntilIdle(int timeoutMs);

signals:
    // An operation ended: its outcome has been shown.
    void operationFinished(const FileOperationResult &result);
    // A line for the status bar: what a cancel dropped, what a copy put back.
    void statusMessage(const QString &text);

private:
    void start(FileOperation operation, bool fromCut);
    // Names in one box the URIs a paste or drop left out.
    void reportRefused(const QStringList &refused);
    void finished(const FileOperation &operation, const FileOperationResult &result);
    ClashChoice askClash(const ClashQuestion &question);
    QWidget *boxOwner() const;

    QPointer<QWidget> m_owner;
    FileTransfers *m_transfers = nullptr;
    QPointer<TransferProgressDialog> m_progress; // a child of the window
    std::deque<bool> m_fromCut; // for each operation started and not yet finished
    QStringList m_dropped;      // by the latest cancel
    struct DropGuess {
        QStringList sources;
        QString folder;
        Qt::KeyboardModifiers modifiers;
        Qt::DropActions possible;
        Qt::DropAction action = Qt::IgnoreAction;
    } m_lastDrop; // a drag asks again at every move of the mouse
};
