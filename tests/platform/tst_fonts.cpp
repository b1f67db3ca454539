#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

// Stored print settings and window designs name the original's Windows fonts;
// they must land on the Japanese fonts installed here, not on a Latin fallback.
class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void windowsNamesResolveToIpaFonts_data();
    void windowsNamesResolveToIpaFonts();
};

void TestFonts::windowsNamesResolveToIpaFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ＭＳ Ｐゴシック") << "ＭＳ Ｐゴシック" << "IPAPGothic";
    QTest::newRow("ＭＳ ゴシック") << "ＭＳ ゴシック" << "IPAGothic";
    QTest::newRow("ＭＳ Ｐ明朝") << "ＭＳ Ｐ明朝" << "IPAPMincho";
    QTest::newRow("ＭＳ 明朝") << "ＭＳ 明朝" << "IPAMincho";
    QTest::newRow("MS PGothic") << "MS PGothic" << "IPAPGothic";
}

void TestFonts::windowsNamesResolveToIpaFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    if (!QFontDatabase::families().contains(expected)) QSKIP("IPA fonts are not installed");
    Fonts::installSubstitutions();
    QCOMPARE(QFontInfo(QFont(name)).family(), expected);
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
