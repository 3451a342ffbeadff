// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Every modal question and message of the program goes through one Prompts
// object, so tests can answer them without a real dialog ever blocking.
#pragma once

#include <QString>

#include <memory>

class QDialog;
class QMessageBox;
class QWidget;

enum class PromptIcon { None, Question, Warning, Critical };
enum class PromptButtons { Ok, YesNo, ReplaceSkipKeepBoth };
enum class PromptAnswer { Ok, Yes, No, Replace, Skip, KeepBoth };

class Prompts {
public:
    virtual ~Prompts() = default;
    // A modal message box with the given owner, title, icon and buttons.
    virtual PromptAnswer messageBox(QWidget *owner, const QString &title, const QString &text,
                                    PromptIcon icon, PromptButtons buttons) = 0;
    // Runs a dialog modally and returns its result code.
    virtual int execDialog(QDialog *dialog) = 0;
    // Asks for a line of text, text holding what is offered and then what
    // was typed; false when the question was cancelled.
    virtual bool askText(QWidget *owner, const QString &title, const QString &label, QString &text);
};

// Keeps window, a window of its own, enabled while the window it belongs to is
// disabled (a format, the wait on close), so what it asks can be answered.
void keepAnswerable(QWidget *window);

// The process-wide prompts; QMessageBox-backed unless a test installs its own.
Prompts &prompts();
// Installs p (not owned) in place of the current prompts; nullptr restores the default.
void setPrompts(Prompts *p);

// The box the default prompts run for messageBox, built but not yet shown;
// its text is plain, whatever it holds.
std::unique_ptr<QMessageBox> newMessageBox(QWidget *owner, const QString &title,
                                           const QString &text, PromptIcon icon,
                                           PromptButtons buttons);

// The plain message dialog: application title, no icon, one OK button.
void showPlainMessage(const QString &text);
// The standard error box: application title, error icon, one OK button.
void showErrorMessage(const QString &text);
// A box owned by a window and titled with its caption.
PromptAnswer ownedBox(QWidget *owner, const QString &text, PromptIcon icon, PromptButtons buttons);
// Yes and No with an icon, owned by a window; true only on Yes.
bool confirmYes(QWidget *owner, const QString &text, PromptIcon icon);
// Replace, Skip or Keep both for a name that exists, owned by a window; Skip
// when the box is closed.
PromptAnswer askReplaceSkipKeepBoth(QWidget *owner, const QString &text);
