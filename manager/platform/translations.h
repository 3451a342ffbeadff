// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's language: the first of the desktop's languages that the program has a
// translation for, with Qt's own translation of its standard buttons and dialogs.
// English, and a desktop whose languages have none, load nothing: the texts stay as written.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

// The folder of the program's .qm files, relative to the program: the same in the build
// tree (bin/ beside share/) and under the prefix it installs to.
QString translationsFolder();

// The first of languages (as QLocale::uiLanguages() gives them, best first) that folder
// holds tovixman_<language>.qm for, as that file names it ("de", "pt_BR"); empty when an
// English one comes first or none has a translation.
QString translationLanguage(const QStringList &languages, const QString &folder);

// Installs the translations for as long as it lives.
class Translations {
public:
    explicit Translations(const QStringList &languages = systemLanguages(),
                          const QString &folder = translationsFolder());
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The language installed; empty for none.
    QString language() const { return m_language; }

    // The desktop's languages: LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
    static QStringList systemLanguages();

private:
    QString m_language;
    QTranslator m_program;
    QTranslator m_qt;
};
