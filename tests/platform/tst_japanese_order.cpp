// Japanese reading order: the comparison used for rows sorted in memory and
// the collation "japanese" on every connection of the program, which must
// agree.

#include "platform/Database.h"
#include "platform/JapaneseOrder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// The texts in the order "order by t collate japanese" gives on a fresh database.
QStringList sqlOrder(const QStringList& texts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("order.db"));
    QFile(path).open(QIODevice::WriteOnly);
    Database db;
    if (!db.open(path, Database::Role::Work) || !db.exec(QStringLiteral("create table t (t TEXT)"))) return {};
    for (const QString& t : texts) db.exec(QStringLiteral("insert into t values (?)"), {t});
    QStringList out;
    for (const QSqlRecord& r : db.rows(QStringLiteral("select t from t order by t collate japanese")))
        out << r.value(0).toString();
    return out;
}

}  // namespace

class TestJapaneseOrder : public QObject {
    Q_OBJECT
private slots:
    void pairs_data();
    void pairs();
    void threeScriptsSideBySide();
};

void TestJapaneseOrder::pairs_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("later");
    // Kana type and width count only when the readings are otherwise equal.
    QTest::newRow("hiragana before katakana of one reading") << "かとう" << "カトウ";
    QTest::newRow("katakana before half-width of one reading") << "カトウ" << "ｶﾄｳ";
    QTest::newRow("half-width before a later hiragana reading") << "ｶﾄｳ" << "かとお";
    QTest::newRow("katakana before a later hiragana reading") << "アオキ" << "あおやま";
    QTest::newRow("half-width before a later katakana reading") << "ｱｵｷ" << "アオヤマ";
    QTest::newRow("a later letter outweighs the kana type") << "カトウ" << "かとく";
    // Voiced and semi-voiced marks count after the letters themselves.
    QTest::newRow("voiced after unvoiced") << "かとう" << "がとう";
    QTest::newRow("semi-voiced after voiced") << "ばば" << "ぱぱ";
    QTest::newRow("voicing weighs less than a later letter") << "がとう" << "かとお";
    QTest::newRow("voiced half-width after unvoiced") << "ﾊﾊ" << "ﾊﾞﾊﾞ";
    QTest::newRow("voiced katakana before a later hiragana") << "ダイワ" << "たなか";
    // Small kana and the long-vowel mark stand in their places.
    QTest::newRow("small tsu with its full-size letter, before a later one") << "かっぱ" << "かつら";
    QTest::newRow("small tsu with its full-size letter, after an earlier one") << "かつお" << "かっぱ";
    QTest::newRow("small ya with its full-size letter") << "きしゃ" << "きしり";
    QTest::newRow("long-vowel mark as the vowel it lengthens") << "カーテン" << "かいだん";
    QTest::newRow("long-vowel mark after an earlier reading") << "かあさん" << "カーテン";
    QTest::newRow("long-vowel mark in half-width") << "ｶｰﾃﾝ" << "かいだん";
    // Around the kana.
    QTest::newRow("empty text first") << "" << "あ";
    QTest::newRow("Latin letters before kana") << "Zeta" << "あ";
    QTest::newRow("kana before kanji") << "んん" << "亜";
}

void TestJapaneseOrder::pairs()
{
    QFETCH(QString, earlier);
    QFETCH(QString, later);
    QVERIFY(JapaneseCompare(earlier, later) < 0);
    QVERIFY(JapaneseCompare(later, earlier) > 0);
    QCOMPARE(JapaneseCompare(earlier, earlier), 0);
    // The collation on a connection sorts the same way, whichever way round the rows were added.
    QCOMPARE(sqlOrder({later, earlier}), (QStringList{earlier, later}));
    QCOMPARE(sqlOrder({earlier, later}), (QStringList{earlier, later}));
}

void TestJapaneseOrder::threeScriptsSideBySide()
{
    const QStringList expected{"あおやま", "アオヤマ", "ｱｵﾔﾏ", "かとう", "カトウ", "ｶﾄｳ", "かどう",
                               "ガトウ", "さとう", "サトウ", "ｻﾄｳ", "ざとう"};
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());

    QStringList inMemory = shuffled;
    std::sort(inMemory.begin(), inMemory.end(), JapaneseLess{});
    QCOMPARE(inMemory, expected);
    QCOMPARE(sqlOrder(shuffled), expected);
}

QTEST_GUILESS_MAIN(TestJapaneseOrder)
#include "tst_japanese_order.moc"
