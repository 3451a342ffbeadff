// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Prompts for tests: records every message and question and answers from a script.
#pragma once

#include "platform/prompts.h"

#include <QDialog>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

struct PromptRecord {
    QWidget *owner = nullptr;
    QString title;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    QString dialogTitle; // set for execDialog records
};

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts() { setPrompts(this); }
    ~ScriptedPrompts() override { setPrompts(nullptr); }

    std::vector<PromptRecord> records;
    std::deque<PromptAnswer> answers;  // for Yes/No boxes (No when empty) and three-way ones (Skip)
    std::deque<int> dialogResults;     // for execDialog; QDialog::Rejected when empty
    std::deque<QString> typed;         // for askText; cancelled when empty
    std::function<void()> onPrompt;    // runs inside each box, as a nested event loop would

    PromptAnswer messageBox(QWidget *owner, const QString &title, const QString &text,
                            PromptIcon icon, PromptButtons buttons) override
    {
        records.push_back({owner, title, text, icon, buttons, {}});
        if (onPrompt)
            onPrompt();
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        if (answers.empty())
            return buttons == PromptButtons::ReplaceSkipKeepBoth ? PromptAnswer::Skip
                                                                 : PromptAnswer::No;
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }

    // A dialog result that is whatever the dialog itself ended with (its
    // buttons pressed by onPrompt), Rejected when nothing closed it.
    static constexpr int kOwnResult = -1;

    int execDialog(QDialog *dialog) override
    {
        PromptRecord r;
        r.dialogTitle = dialog->windowTitle();
        records.push_back(r);
        dialog->setResult(QDialog::Rejected);
        if (onPrompt)
            onPrompt();
        if (dialogResults.empty())
            return QDialog::Rejected;
        const int result = dialogResults.front();
        dialogResults.pop_front();
        return result == kOwnResult ? dialog->result() : result;
    }

    bool askText(QWidget *owner, const QString &title, const QString &label, QString &text) override
    {
        records.push_back({owner, title, label, PromptIcon::None, PromptButtons::Ok, {}});
        if (onPrompt)
            onPrompt();
        if (typed.empty())
            return false;
        text = typed.front();
        typed.pop_front();
        return true;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &r : records)
            out << (r.dialogTitle.isEmpty() ? r.text : r.dialogTitle);
        return out;
    }
};
