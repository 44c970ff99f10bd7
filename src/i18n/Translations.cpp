// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace {
const QString Folder = QStringLiteral(":/i18n/");

QString catalogue(const QString &language)
{
    return Folder + QStringLiteral("velkarn_") + language + QStringLiteral(".qm");
}

// Each catalogue gives its language's name, in that language, as the translation of this text.
const struct {
    const char *source;
    const char *comment;
} Name = QT_TRANSLATE_NOOP3("Translations", "Norsk", "the name of this language, in itself");
} // namespace

QString Translations::sourceLanguage()
{
    return QStringLiteral(VELKARN_SOURCE_LANGUAGE);
}

QStringList Translations::available()
{
    QStringList languages;
    for (const QString &file : QDir(Folder).entryList({QStringLiteral("velkarn_*.qm")}, QDir::Files, QDir::Name))
        languages << file.mid(8).chopped(3);
    if (languages.removeOne(sourceLanguage()))
        languages.prepend(sourceLanguage());
    return languages;
}

QString Translations::ownName(const QString &language)
{
    QTranslator translator;
    const QString name = translator.load(catalogue(language))
        ? translator.translate("Translations", Name.source, Name.comment)
        : QString();
    return name.isEmpty() ? language : name;
}

QString Translations::fromDesktop(const QLocale &desktop)
{
    // No language set at all (LANG unset or C): Norwegian, as Velkarn has always spoken, even where
    // LANGUAGE names others (gettext ignores it then too).
    if (desktop.language() == QLocale::C)
        return sourceLanguage();
    const QStringList ours = available();
    for (const QString &name : desktop.uiLanguages()) {
        const QLocale::Language language = QLocale(name).language();
        // A reader of Nynorsk reads Bokmål.
        const QString code
            = QLocale::languageToCode(language == QLocale::NorwegianNynorsk ? QLocale::NorwegianBokmal : language);
        if (ours.contains(code))
            return code;
    }
    return sourceLanguage();
}

bool Translations::use(const QString &language)
{
    // Loaded beside the ones in use, which stay when this fails.
    auto velkarn = std::make_unique<QTranslator>();
    if (!available().contains(language) || !velkarn->load(catalogue(language)))
        return false;
    // Qt's own texts (standard buttons and dialogs) where Qt has them in this language; Debian has
    // none in Bokmål, where Qt's own English stays as it always was.
    auto qt = std::make_unique<QTranslator>();
    if (!qt->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qt.reset();
    velkarn_ = std::move(velkarn); // a translator leaves the application as it goes
    qt_ = std::move(qt);
    if (qt_)
        QCoreApplication::installTranslator(qt_.get());
    QCoreApplication::installTranslator(velkarn_.get());
    language_ = language;
    return true;
}
