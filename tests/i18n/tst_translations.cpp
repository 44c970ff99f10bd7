// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/Translations.h"

#include <QtTest>

// The language Velkarn writes in: the desktop's at start when none was chosen, and the one in use
// whatever happens to another.
class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void theDesktopsLanguageOrElseNorwegian()
    {
        for (const auto &[desktop, language] :
             {std::pair{"C", "nb"}, {"nb_NO", "nb"}, {"nn_NO", "nb"}, {"en_GB", "en"}, {"fr_FR", "nb"}})
            QVERIFY2(Translations::fromDesktop(QLocale(desktop)) == language, desktop);
    }

    // "xx" is listed, but its catalogue (built into this test) is no catalogue at all.
    void aLanguageThatCannotBeLoadedLeavesTheOneInUse()
    {
        QVERIFY(Translations::available().contains("xx"));
        Translations translations;
        QVERIFY(translations.use("en"));
        QVERIFY(!translations.use("xx"));
        QCOMPARE(translations.language(), "en");
        QCOMPARE(QCoreApplication::translate("Commands", "&Nytt spill"), "&New game");
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
