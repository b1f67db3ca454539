#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

using CharacterMap = QList<std::pair<char32_t, quint32>>;

// Stored print settings and window designs name Windows fonts;
// they must land on the Japanese fonts installed here, not on a Latin fallback.
class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void windowsNamesResolveToIpaFonts_data();
    void windowsNamesResolveToIpaFonts();
    void oneCharacterPerGlyph_data();
    void oneCharacterPerGlyph();
    void boldFaces_data();
    void boldFaces();
    void boldFaceWithoutACacheFolder();
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

// A glyph reached from several characters keeps those of the kind Japanese
// text is written in; a glyph of one character keeps it, whatever its kind.
void TestFonts::oneCharacterPerGlyph_data()
{
    QTest::addColumn<CharacterMap>("map");
    QTest::addColumn<CharacterMap>("expected");
    QTest::newRow("a kanji and its Kangxi radical") << CharacterMap{{0x2F92, 7}, {0x898B, 7}} << CharacterMap{{0x898B, 7}};
    QTest::newRow("a kanji and a radical supplement form")
        << CharacterMap{{0x2E8C, 8}, {0x5C0F, 8}} << CharacterMap{{0x5C0F, 8}};
    QTest::newRow("a kanji and its compatibility ideograph")
        << CharacterMap{{0x6A02, 9}, {0xF914, 9}} << CharacterMap{{0x6A02, 9}};
    QTest::newRow("a rarer kanji gives way to the common one")
        << CharacterMap{{0x3ADA, 4}, {0x66F6, 4}} << CharacterMap{{0x66F6, 4}};
    QTest::newRow("the ideographic space before the em space")
        << CharacterMap{{0x2003, 3}, {0x3000, 3}} << CharacterMap{{0x3000, 3}};
    QTest::newRow("the space before the tab") << CharacterMap{{0x09, 1}, {0x20, 1}, {0xA0, 1}}
                                              << CharacterMap{{0x20, 1}, {0xA0, 1}};
    QTest::newRow("characters of one kind stay") << CharacterMap{{0x2460, 5}, {0x2780, 5}}
                                                 << CharacterMap{{0x2460, 5}, {0x2780, 5}};
    QTest::newRow("a radical of its own glyph stays")
        << CharacterMap{{0x2F00, 2}, {0x4E00, 6}} << CharacterMap{{0x2F00, 2}, {0x4E00, 6}};
    QTest::newRow("sorted by character") << CharacterMap{{0x898B, 7}, {0x41, 3}} << CharacterMap{{0x41, 3}, {0x898B, 7}};
}

void TestFonts::oneCharacterPerGlyph()
{
    QFETCH(CharacterMap, map);
    QFETCH(CharacterMap, expected);
    QCOMPARE(Fonts::oneCharacterPerGlyph(map), expected);
}

void TestFonts::boldFaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("madeFrom");
    QTest::newRow("ＭＳ Ｐ明朝") << "ＭＳ Ｐ明朝" << "Noto Serif CJK JP";
    QTest::newRow("ＭＳ 明朝") << "ＭＳ 明朝" << "Noto Serif CJK JP";
    QTest::newRow("ＭＳ Ｐゴシック") << "ＭＳ Ｐゴシック" << "Noto Sans CJK JP";
    QTest::newRow("ＭＳ ゴシック") << "ＭＳ ゴシック" << "Noto Sans CJK JP";
    QTest::newRow("IPAPMincho itself") << "IPAPMincho" << "Noto Serif CJK JP";
    QTest::newRow("a face of its own") << "DejaVu Serif" << "";
}

// The IPA faces print bold in a real bold face made from Noto CJK, whose
// character map reaches 見 but not its radical ⾒; other faces print bold in
// themselves. The same family comes back every time.
void TestFonts::boldFaces()
{
    QFETCH(QString, name);
    QFETCH(QString, madeFrom);
    if (!madeFrom.isEmpty() && !QFontDatabase::families().contains(madeFrom)) QSKIP("Noto CJK is not installed");
    Fonts::installSubstitutions();
    const QString bold = Fonts::boldFamily(name);
    QCOMPARE(Fonts::boldFamily(name), bold);
    if (madeFrom.isEmpty()) {
        QCOMPARE(bold, name);
        return;
    }
    QVERIFY2(bold != name && bold != madeFrom, qPrintable(bold));
    QFont font(bold);
    font.setBold(true);
    const QRawFont raw = QRawFont::fromFont(font);
    QCOMPARE(raw.familyName(), bold);
    QVERIFY(raw.weight() >= QFont::Bold);
    QVERIFY(raw.supportsCharacter(U'見'));
    QVERIFY(!raw.supportsCharacter(U'⾒'));
    // The same outlines as the face it is made from.
    QFont source(madeFrom);
    source.setBold(true);
    const QRawFont noto = QRawFont::fromFont(source);
    QCOMPARE(raw.glyphIndexesForString(u"見積書"_qs), noto.glyphIndexesForString(u"見積書"_qs));
}

// Where the cache folder cannot be written, the bold face is made in memory:
// bold still prints in a real bold face that reaches 見 and not ⾒. (Run in a
// process of its own, whose cache folder lies under a file.)
void TestFonts::boldFaceWithoutACacheFolder()
{
    if (!QFontDatabase::families().contains(u"Noto Serif CJK JP"_qs)) QSKIP("Noto CJK is not installed");
    if (qEnvironmentVariableIsSet("VELT_TEST_NO_CACHE")) {
        Fonts::installSubstitutions();
        QFont font(Fonts::boldFamily(u"ＭＳ Ｐ明朝"_qs));
        font.setBold(true);
        const QRawFont raw = QRawFont::fromFont(font);
        QVERIFY2(raw.familyName().startsWith(u"Velt "_qs), qPrintable(raw.familyName()));
        QVERIFY(raw.weight() >= QFont::Bold);
        QVERIFY(raw.supportsCharacter(U'見') && !raw.supportsCharacter(U'⾒'));
        return;
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(u"file"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"VELT_TEST_NO_CACHE"_qs, u"1"_qs);
    env.insert(u"XDG_CACHE_HOME"_qs, file.fileName() + u"/cache"_qs);
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {u"boldFaceWithoutACacheFolder"_qs});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAllStandardOutput().constData());
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
