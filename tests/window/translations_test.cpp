// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window in German and French, from the .qm files the build makes: menu titles, a count
// with its plural form, Qt's standard buttons, and no text cut off by the longer words.
#include "about_unit.h"
#include "explorer/transfer_progress.h"
#include "fileops/file_transfers.h"
#include "listen/play_bar.h"
#include "platform/translations.h"
#include "queue_fixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

namespace {

struct Language {
    const char *code;
    QStringList menus;      // the menu bar's titles, accelerators left out
    const char *yes, *no;   // Qt's standard buttons
    const char *twoFailed;  // how the box of failed operations begins for two
};

const Language kLanguages[] = {
    {"de", {"Datei", "Vorgänge", "Wiedergabe", "Ansicht", "Hilfe"}, "&Ja", "&Nein",
     "Diese 2 Vorgänge sind fehlgeschlagen:"},
    {"fr", {"Fichier", "Opérations", "Lecture", "Affichage", "Aide"}, "&Oui", "&Non",
     "Ces 2 opérations ont échoué :"},
};

void PrintTo(const Language &language, std::ostream *out) { *out << language.code; }

std::string joined(const QStringList &texts) { return texts.join(QStringLiteral(" | ")).toStdString(); }

// A push button's size hint is at least the style's least width, whatever its text.
int neededWidth(QAbstractButton *b)
{
    if (!qobject_cast<QPushButton *>(b))
        return b->sizeHint().width();
    const int text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width();
    const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
    return text + icon + 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b)
        + 2 * b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
}

// The texts under root that are shown in less room than they need (a tab bar's size hint is
// what its tabs need unshortened).
QStringList cutOffTexts(QWidget *root)
{
    QStringList cut;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        QString text;
        int needed = 0;
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->wordWrap())
            text = l->text(), needed = l->sizeHint().width();
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            text = b->text(), needed = neededWidth(b);
        else if (auto *t = qobject_cast<QTabBar *>(w); t && t->count() > 0)
            text = t->tabText(t->count() - 1), needed = t->sizeHint().width();
        if (w->isVisibleTo(root) && !text.isEmpty() && needed > w->width())
            cut << text;
    }
    for (QMenuBar *bar : root->findChildren<QMenuBar *>()) {
        for (QAction *a : bar->actions()) {
            if (bar->actionGeometry(a).isEmpty() || bar->actionGeometry(a).right() >= bar->width())
                cut << a->text();
        }
    }
    return cut;
}

// Installed before the window is made, as the program does.
struct InLanguage {
    Translations translations{
        {QString::fromLatin1(::testing::WithParamInterface<Language>::GetParam().code)}};
};

class Translated : public InLanguage, public ::testing::TestWithParam<Language> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(translations.language(), QString::fromLatin1(GetParam().code))
            << "no .qm in " << translationsFolder().toStdString();
    }
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TForm_TovixMan w{dir.filePath(QStringLiteral("settings.ini"))};
};

class TranslatedQueueThreading : public InLanguage, public QueueTest,
                                 public ::testing::WithParamInterface<Language> {};

std::string languageName(const ::testing::TestParamInfo<Language> &info) { return info.param.code; }

} // namespace

TEST_P(Translated, MenuTitlesAndStandardButtonsAreInTheLanguage)
{
    QStringList titles;
    for (const QAction *a : w.menuBar()->actions())
        titles << QString(a->text()).remove(QLatin1Char('&'));
    EXPECT_EQ(joined(titles), joined(GetParam().menus));
    const auto box = newMessageBox(&w, QStringLiteral("t"), QStringLiteral("x"), PromptIcon::Question,
                                   PromptButtons::YesNo);
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8(GetParam().yes));
    EXPECT_EQ(box->button(QMessageBox::No)->text(), QString::fromUtf8(GetParam().no));
}

TEST_P(Translated, NoTextIsCutOffAndTheWindowFitsASmallScreen)
{
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(joined(cutOffTexts(&w)), "") << "at " << w.width() << "x" << w.height();
    const QSize least = w.minimumSizeHint().expandedTo(w.minimumSize());
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 600);
    // A two-hour recording still arriving from the player keeps the default width.
    w.PlayBar_Listen->setRecording(QStringLiteral("Interview with Ms Berg.VOC"), 7207000);
    w.PlayBar_Listen->setCopyProgress(100, false);
    EXPECT_LE(w.PlayBar_Listen->minimumSizeHint().width(), 640) << w.PlayBar_Listen->Label_Time->text().toStdString();

    TForm_TargetSelection target;
    TForm_About about;
    FileTransfers transfers;
    TransferProgressDialog progress(&transfers, nullptr);
    progress.operationStarted(FileOperation::Move);
    QTest::qWait(TransferProgressDialog::kShowAfterMs + 300); // it shows itself, titled
    for (QDialog *d : std::initializer_list<QDialog *>{&target, &about, &progress}) {
        d->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
        EXPECT_EQ(joined(cutOffTexts(d)), "") << d->windowTitle().toStdString();
        d->hide();
    }
}

// Two failed downloads: the box counts them with the plural form.
TEST_P(TranslatedQueueThreading, TheBoxOfFailedOperationsCountsInTheLanguage)
{
    ASSERT_FALSE(translations.language().isEmpty());
    attachEmpty();
    fake::setOperationResult(0);
    for (const QString &name : {QStringLiteral("a.mp3"), QStringLiteral("b.mp3")})
        makePcFile(name, 100);
    selectPc({QStringLiteral("a.mp3"), QStringLiteral("b.mp3")});
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();
    ASSERT_TRUE(runQueue());
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.startsWith(QString::fromUtf8(GetParam().twoFailed)))
        << prompts.records[0].text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, Translated, ::testing::ValuesIn(kLanguages), languageName);
INSTANTIATE_TEST_SUITE_P(Languages, TranslatedQueueThreading, ::testing::ValuesIn(kLanguages), languageName);

// English, and a language without a translation, load nothing; the desktop's languages are
// tried best first, a region falling back to its language.
TEST(TranslationChoice, FollowsTheDesktopsLanguagesAndFallsBackToEnglish)
{
    QTemporaryDir folder;
    for (const char *name : {"tovixman_de.qm", "tovixman_fr.qm", "tovixman_pt_BR.qm"})
        QFile(folder.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    const auto choose = [&](const QStringList &languages) {
        return translationLanguage(languages, folder.path());
    };
    EXPECT_EQ(choose({"de-AT", "en-US"}), QStringLiteral("de"));
    EXPECT_EQ(choose({"es-ES", "fr-CA", "de"}), QStringLiteral("fr"));
    EXPECT_EQ(choose({"pt-BR"}), QStringLiteral("pt_BR"));
    EXPECT_EQ(choose({"pt-PT"}), QString());
    EXPECT_EQ(choose({"en-GB", "de-DE"}), QString());
    EXPECT_EQ(choose({"C"}), QString());
    EXPECT_EQ(choose({"es-ES", "it"}), QString());

    // English before German, with the built German at hand: no translator, the texts as written.
    const Translations english({QStringLiteral("en-US"), QStringLiteral("de-DE")});
    EXPECT_TRUE(english.language().isEmpty());
    EXPECT_EQ(QCoreApplication::translate("TForm_TovixMan", "&File"), QStringLiteral("&File"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}
