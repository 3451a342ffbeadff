// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The target selection and About dialogs.
#include "about_unit.h"
#include "target_select_unit.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTranslator>
#include <QWindow>

#include <gtest/gtest.h>

TEST(TargetSelectionDialog, AnswersYesForInternalNoForCardAndCancelWhenClosed)
{
    TForm_TargetSelection d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Sonavel v1.2"));
    EXPECT_EQ(d.size(), QSize(169, 113));
    EXPECT_TRUE(d.Radio_Internal->isChecked());
    EXPECT_EQ(d.Radio_External->text(), QStringLiteral("External memory card"));
    EXPECT_EQ(d.Button_Ok->geometry(), QRect(6, 81, 75, 25));
    EXPECT_EQ(d.ButtonCancel->geometry(), QRect(84, 81, 79, 25));
    EXPECT_TRUE(d.Button_Ok->isDefault());
    // Both choices must be readable whole inside the small fixed dialog.
    for (QRadioButton *r : {d.Radio_Internal, d.Radio_External})
        EXPECT_LE(r->x() + r->sizeHint().width(), d.width()) << r->text().toStdString();

    d.Button_OkClick();
    EXPECT_EQ(d.result(), mrYes);
    d.Radio_External->setChecked(true);
    d.Button_Ok->click();
    EXPECT_EQ(d.result(), mrNo);
    d.ButtonCancel->click();
    EXPECT_EQ(d.result(), mrCancel);
    // The choice stays for the next showing.
    EXPECT_TRUE(d.Radio_External->isChecked());
}

TEST(TargetSelectionDialog, ADisabledChoiceStaysCheckedAndCannotBeConfirmed)
{
    TForm_TargetSelection d;
    d.Radio_External->setChecked(true);
    d.Radio_External->setEnabled(false);
    EXPECT_TRUE(d.Radio_External->isChecked());
    EXPECT_FALSE(d.Button_Ok->isEnabled());
    d.Radio_Internal->setChecked(true);
    EXPECT_TRUE(d.Button_Ok->isEnabled());
}

TEST(AboutDialog, ShowsNameVersionAndAFlatCloseButton)
{
    TForm_About d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(d.size(), QSize(280, 180));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d.Label1->text(), QStringLiteral("Sonavel"));
    EXPECT_TRUE(d.Label1->font().bold());
    EXPECT_EQ(d.Label1->font().pixelSize(), 16);
    EXPECT_EQ(d.Label2->text(), QStringLiteral("Version Number 1.3"));
    EXPECT_EQ(d.Label2->y(), 101);
    EXPECT_FALSE(d.Image_Background->pixmap().isNull());
    EXPECT_EQ(d.SpeedButton1->geometry(), QRect(226, 6, 49, 33));
    EXPECT_TRUE(d.SpeedButton1->autoRaise());
    d.SpeedButton1->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

namespace {

// A language whose word for the About dialog's Close is longer than the English.
class LongCloseTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return qstrcmp(context, "TForm_About") == 0 && qstrcmp(source, "Close") == 0
                   ? QStringLiteral("Schließen")
                   : QString();
    }
};

} // namespace

TEST(AboutDialog, CloseButtonGrowsLeftwardsToHoldALongerWord)
{
    LongCloseTranslator german;
    QCoreApplication::installTranslator(&german);
    TForm_About d;
    QCoreApplication::removeTranslator(&german);
    ASSERT_EQ(d.SpeedButton1->text(), QStringLiteral("Schließen"));
    EXPECT_GE(d.SpeedButton1->width(), d.SpeedButton1->sizeHint().width());
    EXPECT_EQ(d.SpeedButton1->geometry().right(), 274);
    EXPECT_EQ(d.SpeedButton1->y(), 6);
}

// The platform plugins add the application's display name to every title
// that does not end with it, whenever a window is shown.
TEST(DialogTitles, ReachTheWindowSystemAsWrittenEachTimeTheyAreShown)
{
    struct Probe : QObject {
        QStringList shown;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() != QEvent::Show)
                return false;
            const QString title = static_cast<QWidget *>(watched)->windowHandle()->title();
            shown << (title.endsWith(QGuiApplication::applicationDisplayName()) ? title : title + " + name");
            return false;
        }
    } probe;
    TForm_About about;
    TForm_TargetSelection target;
    for (QDialog *d : std::initializer_list<QDialog *>{&about, &target}) {
        d->installEventFilter(&probe);
        for (int showing = 0; showing < 2; ++showing) {
            d->show();
            d->hide();
        }
    }
    EXPECT_EQ(probe.shown.join(", ").toStdString(), "About..., About..., Sonavel v1.2, Sonavel v1.2");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Sonavel v1.3"));
}
