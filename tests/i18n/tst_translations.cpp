// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/CutForMessage.h"
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

    // A value the user gave, as a message shows it: its first and last 20 characters around "…".
    void aValueInAMessageIsCutToAReadableLength_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        const QString head(20, 'h'), tail(20, 't'), clef = QStringLiteral("\U0001D11E"); // two units
        QTest::newRow("short") << "en"
                               << "en";
        QTest::newRow("40") << head + tail << head + tail;
        QTest::newRow("41") << head + 'x' + tail << head + "…" + tail;
        QTest::newRow("huge") << head + QString(131'000, 'x') + tail << head + "…" + tail;
        QTest::newRow("Norwegian letters") << QString(41, u'å') << QString(20, u'å') + "…" + QString(20, u'å');
        QTest::newRow("split pairs") << head.first(19) + clef + QString(20, 'x') + clef + tail.first(19)
                                     << head.first(19) + "…" + tail.first(19);
        QTest::newRow("whole pairs") << head.first(18) + clef + 'x' + clef + tail.first(18)
                                     << head.first(18) + clef + "…" + clef + tail.first(18);
    }
    void aValueInAMessageIsCutToAReadableLength()
    {
        QFETCH(QString, value);
        QFETCH(QString, shown);
        QCOMPARE(cutForMessage(value), shown);
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
