#include "platform/prompts.h"

#include <QApplication>
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
        if (buttons == PromptButtons::ReplaceSkipKeepBoth)
            return askThreeWays(owner, title, text, icon);
        const auto qtButtons = buttons == PromptButtons::YesNo
                                   ? QMessageBox::Yes | QMessageBox::No
                                   : QMessageBox::StandardButtons(QMessageBox::Ok);
        QMessageBox box(toQtIcon(icon), title, text, qtButtons, owner);
        keepAnswerable(&box);
        const int result = box.exec();
        if (buttons == PromptButtons::Ok)
            return PromptAnswer::Ok;
        return result == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }

    int execDialog(QDialog *dialog) override
    {
        keepAnswerable(dialog);
        return dialog->exec();
    }

private:
    static PromptAnswer askThreeWays(QWidget *owner, const QString &title, const QString &text,
                                     PromptIcon icon)
    {
        QMessageBox box(toQtIcon(icon), title, text, QMessageBox::NoButton, owner);
        keepAnswerable(&box);
        QAbstractButton *replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::AcceptRole);
        QAbstractButton *keepBoth = box.addButton(QStringLiteral("&Keep both"), QMessageBox::ActionRole);
        QPushButton *skip = box.addButton(QStringLiteral("&Skip"), QMessageBox::RejectRole);
        box.setDefaultButton(skip);
        box.setEscapeButton(skip);
        box.exec();
        if (box.clickedButton() == replace)
            return PromptAnswer::Replace;
        return box.clickedButton() == keepBoth ? PromptAnswer::KeepBoth : PromptAnswer::Skip;
    }
};

MessageBoxPrompts defaultPrompts;
Prompts *current = &defaultPrompts;

} // namespace

void keepAnswerable(QWidget *window)
{
    if (!window->isWindow() || window->property("keepAnswerable").toBool())
        return;
    window->setProperty("keepAnswerable", true);
    window->installEventFilter(new StayEnabled(window));
    window->setEnabled(true);
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
