// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

// The language Velkarn writes in: its own catalogue and Qt's, installed on the application for as
// long as this object lives. Installing them re-reads every text (QEvent::LanguageChange).
class Translations
{
public:
    /// The language of the source texts, Norwegian Bokmål ("nb").
    static QString sourceLanguage();
    /// Every language Velkarn speaks, by code ("nb", "en"): the source language first.
    static QStringList available();
    /// A language's name in itself ("Norsk", "English").
    static QString ownName(const QString &language);
    /// The language the desktop asks for: the first of its languages Velkarn speaks, else Norwegian.
    static QString fromDesktop(const QLocale &desktop = QLocale::system());

    Translations() = default;
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    /// Writes in the language from now on; false, and nothing changes, for a language not available.
    bool use(const QString &language);
    /// The language in use; empty until one is used.
    const QString &language() const { return language_; }

private:
    std::unique_ptr<QTranslator> velkarn_;
    std::unique_ptr<QTranslator> qt_; // none where Qt has no texts in the language
    QString language_;
};
