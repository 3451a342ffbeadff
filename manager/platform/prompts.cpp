// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Disabling a window disables its child windows too; Qt lets a window be
// enabled again on its own.
class StayEnabled : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::EnabledChange && !window->isEnabled()
            && !window->testAttribute(Qt::WA_ForceDisabled))
            window->setEnabled(true);
        return false;
    }
};

QMessageBox::Icon toQtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

class MessageBoxPrompts : public Prompts {
public:
    PromptAnswer messageBox(QWidget *owner, const QString &title, const QString &text,
                            PromptIcon icon, PromptButtons buttons) override
    {
        const std::unique_ptr<QMessageBox> box = newMessageBox(owner, title, text, icon, buttons);
        keepAnswerable(box.get());
        const int result = box->exec();
        switch (buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::YesNo:
            return result == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
        case PromptButtons::ReplaceSkipKeepBoth: break;
        }
        switch (box->buttonRole(box->clickedButton())) {
        case QMessageBox::AcceptRole: return PromptAnswer::Replace;
        case QMessageBox::ActionRole: return PromptAnswer::KeepBoth;
        default: return PromptAnswer::Skip;
        }
    }

    int execDialog(QDialog *dialog) override
    {
        keepAnswerable(dialog);
        return dialog->exec();
    }
};

MessageBoxPrompts defaultPrompts;
Prompts *current = &defaultPrompts;

} // namespace

std::unique_ptr<QMessageBox> newMessageBox(QWidget *owner, const QString &title,
                                           const QString &text, PromptIcon icon,
                                           PromptButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(toQtIcon(icon), title, QString(),
                                             QMessageBox::NoButton, owner);
    // The text often holds a file's name, which is never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    if (buttons == PromptButtons::Ok) {
        box->setStandardButtons(QMessageBox::Ok);
    } else if (buttons == PromptButtons::YesNo) {
        // Standard buttons: Qt's own translations word them.
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else {
        box->addButton(QCoreApplication::translate("Prompts", "&Replace"), QMessageBox::AcceptRole);
        box->addButton(QCoreApplication::translate("Prompts", "&Keep both"), QMessageBox::ActionRole);
        QPushButton *skip =
            box->addButton(QCoreApplication::translate("Prompts", "&Skip"), QMessageBox::RejectRole);
        box->setDefaultButton(skip);
        box->setEscapeButton(skip);
    }
    return box;
}

void keepAnswerable(QWidget *window)
{
    if (!window->isWindow() || window->property("keepAnswerable").toBool())
        return;
    window->setProperty("keepAnswerable", true);
    window->installEventFilter(new StayEnabled(window));
    window->setEnabled(true);
}

bool Prompts::askText(QWidget *owner, const QString &title, const QString &label, QString &text)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    if (execDialog(&dialog) != QDialog::Accepted)
        return false;
    text = dialog.textValue();
    return true;
}

Prompts &prompts() { return *current; }

void setPrompts(Prompts *p) { current = p ? p : &defaultPrompts; }

void showPlainMessage(const QString &text)
{
    prompts().messageBox(nullptr, QApplication::applicationDisplayName(), text, PromptIcon::None,
                         PromptButtons::Ok);
}

void showErrorMessage(const QString &text)
{
    prompts().messageBox(nullptr, QApplication::applicationDisplayName(), text,
                         PromptIcon::Critical, PromptButtons::Ok);
}

PromptAnswer ownedBox(QWidget *owner, const QString &text, PromptIcon icon, PromptButtons buttons)
{
    const QString title = owner ? owner->window()->windowTitle() : QString();
    return prompts().messageBox(owner, title, text, icon, buttons);
}

bool confirmYes(QWidget *owner, const QString &text, PromptIcon icon)
{
    return ownedBox(owner, text, icon, PromptButtons::YesNo) == PromptAnswer::Yes;
}

PromptAnswer askReplaceSkipKeepBoth(QWidget *owner, const QString &text)
{
    return ownedBox(owner, text, PromptIcon::Question, PromptButtons::ReplaceSkipKeepBoth);
}
