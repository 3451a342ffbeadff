// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

#ifndef TOVIX_TRANSLATIONS_DIR
#define TOVIX_TRANSLATIONS_DIR "share/tovixman/translations"
#endif

namespace {

bool isEnglish(const QString &language)
{
    return language == QLatin1String("C") || language == QLatin1String("en")
        || language.startsWith(QLatin1String("en_"));
}

} // namespace

QString translationsFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../")
                           + QStringLiteral(TOVIX_TRANSLATIONS_DIR));
}

// "de-AT" is looked for as de_AT, then as de.
QString translationLanguage(const QStringList &languages, const QString &folder)
{
    for (const QString &uiLanguage : languages) {
        QString language = QString(uiLanguage).replace(QLatin1Char('-'), QLatin1Char('_'));
        while (!language.isEmpty()) {
            if (isEnglish(language))
                return {};
            if (QFileInfo(folder + QStringLiteral("/tovixman_") + language + QStringLiteral(".qm")).isFile())
                return language;
            language.truncate(qMax(0, language.lastIndexOf(QLatin1Char('_'))));
        }
    }
    return {};
}

QStringList Translations::systemLanguages()
{
    return QLocale::system().uiLanguages();
}

Translations::Translations(const QStringList &languages, const QString &folder)
    : m_language(translationLanguage(languages, folder))
{
    if (m_language.isEmpty())
        return;
    if (!m_program.load(QStringLiteral("tovixman_") + m_language, folder)) {
        m_language.clear(); // unreadable: English, as without a translation
        return;
    }
    QCoreApplication::installTranslator(&m_program);
    // Qt's own may be missing; its buttons then stay English beside translated texts.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (m_qt.load(QStringLiteral("qtbase_") + m_language, qtFolder))
        QCoreApplication::installTranslator(&m_qt);
}
