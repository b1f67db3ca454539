// Reading SQLite link files: values in the kinds their columns declare,
// rows by name, in order, one at a time, and the values that do not fit.

#include "LinkFiles.h"
#include "platform/ColumnValue.h"
#include "platform/LinkFile.h"
#include "platform/StoredValue.h"
#include "support/WholeRows.h"

#include <QtTest>

namespace {

QStringList names(const LinkTable& t, const QString& column)
{
    QStringList out;
    for (const LinkRow& r : t.rows) out << (r.value(column).isNull() ? QStringLiteral("<null>") : r.value(column).toString());
    return out;
}

}  // namespace

class TestLinkFile : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(folder_.make()); }

    void valuesComeBackTyped_data();
    void valuesComeBackTyped();
    void namedValuesAndMissingColumns();
    void rowsInTheOrderOfColumns();
    void streamedRowsComeInTheOrderOfRows_data();
    void streamedRowsComeInTheOrderOfRows();
    void streamStopsWhenToldAndFailsOnABadValue();
    void missingTableAndOrderColumnAreReported();
    void valueThatDoesNotFitItsKindIsAnError_data();
    void valueThatDoesNotFitItsKindIsAnError();
    void rowsOneAtATime();
    void toCurrency_data();
    void toCurrency();

    void storedFormsComeStraightFromTheRow_data();
    void storedFormsComeStraightFromTheRow();
    void lentTextLastsAsLongAsItsRow();

private:
    LinkFolder folder_;
};

void TestLinkFile::valuesComeBackTyped_data()
{
    QTest::addColumn<QString>("declared");  // the column's declared type
    QTest::addColumn<QString>("stored");    // SQL literal
    QTest::addColumn<QVariant>("expected");

    const QDate d(2004, 3, 9);
    QTest::newRow("text") << "TEXT" << "'東京都千代田区'" << QVariant(QStringLiteral("東京都千代田区"));
    QTest::newRow("text with a quote and CR LF") << "TEXT" << "'O''Brien 商会' || char(13, 10) || '２階'"
                                                 << QVariant(QStringLiteral("O'Brien 商会\r\n２階"));
    QTest::newRow("half-width kana") << "TEXT" << "'ｶﾌﾞｼｷｶﾞｲｼｬ'" << QVariant(QStringLiteral("ｶﾌﾞｼｷｶﾞｲｼｬ"));
    QTest::newRow("empty text stays empty") << "TEXT" << "''" << QVariant(QString(""));
    QTest::newRow("memo") << "MEMO" << "'〒100-0001' || char(13, 10) || '千代田'"
                          << QVariant(QStringLiteral("〒100-0001\r\n千代田"));
    QTest::newRow("text holding digits keeps them") << "TEXT" << "'0123'" << QVariant(QStringLiteral("0123"));
    QTest::newRow("long") << "LONG" << "-2147483648" << QVariant(qint64(-2147483648LL));
    QTest::newRow("integer stored as text") << "INTEGER" << "' 42'" << QVariant(qint64(42));
    QTest::newRow("integer stored as whole real") << "INTEGER" << "CAST(7.0 AS REAL)" << QVariant(qint64(7));
    QTest::newRow("double") << "DOUBLE" << "2.25" << QVariant(2.25);
    QTest::newRow("double stored as text") << "DOUBLE" << "'1.5'" << QVariant(1.5);
    QTest::newRow("currency as real") << "CURRENCY" << "1234.5" << QVariant::fromValue(Currency::fromRaw(12345000));
    QTest::newRow("currency as real 0.1") << "CURRENCY" << "0.1" << QVariant::fromValue(Currency::fromRaw(1000));
    QTest::newRow("currency as whole number") << "CURRENCY" << "980" << QVariant::fromValue(Currency::fromWhole(980));
    QTest::newRow("currency as exact decimal text")
        << "MONEY" << "CAST('922337203685.4775' AS TEXT)" << QVariant::fromValue(Currency::fromRaw(9223372036854775LL));
    QTest::newRow("yes as -1") << "YESNO" << "-1" << QVariant(true);
    QTest::newRow("yes as 1") << "BOOLEAN" << "1" << QVariant(true);
    QTest::newRow("no as 0") << "YESNO" << "0" << QVariant(false);
    QTest::newRow("yes as text True") << "BIT" << "'True'" << QVariant(true);
    QTest::newRow("date only") << "DATETIME" << "'2004-03-09'" << QVariant(d);
    QTest::newRow("date with slashes") << "DATE" << "'2004/3/9'" << QVariant(d);
    QTest::newRow("date and time") << "DATETIME" << "'2004-03-09 13:05:59'"
                                   << QVariant(QDateTime(d, QTime(13, 5, 59)));
    QTest::newRow("date and time with milliseconds") << "DATETIME" << "'2004/03/09T13:05:59.25'"
                                                     << QVariant(QDateTime(d, QTime(13, 5, 59, 250)));
    QTest::newRow("binary") << "BLOB" << "x'00ff10'" << QVariant(QByteArray::fromHex("00ff10"));
    QTest::newRow("no declared type: as stored") << "" << "5" << QVariant(qint64(5));

    for (const char* type : {"TEXT", "MEMO", "LONG", "DOUBLE", "CURRENCY", "YESNO", "DATETIME", ""})
        QTest::addRow("Null in %s", *type ? type : "untyped") << type << "NULL" << QVariant();
}

void TestLinkFile::valuesComeBackTyped()
{
    QFETCH(QString, declared);
    QFETCH(QString, stored);
    QFETCH(QVariant, expected);
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table 値 (v %1, k LONG)").arg(declared),
                            QStringLiteral("insert into 値 (v) values (%1)").arg(stored)}),
             qPrintable(link.errorText()));
    QCOMPARE(link.format(), LinkFile::Format::SQLite);
    const auto table = link.rows(QStringLiteral("値"));
    QVERIFY2(table.has_value(), qPrintable(link.errorText()));
    QCOMPARE(table->rows.size(), 1);
    // The same value read from SQLite's row as it is asked for.
    QVariant storedThenTaken;
    bool held = true;
    QVERIFY(link.forEachRow(QStringLiteral("値"), {QStringLiteral("k")}, [&](LinkCursor& r) {
        held = r.held();
        storedThenTaken = r.value(0).value_or(QVariant(-99));
        return true;
    }));
    QVERIFY(!held);
    for (const QVariant& v : {table->rows.first().value(QStringLiteral("v")), storedThenTaken}) {
        if (!expected.isValid()) {
            QVERIFY2(v.isNull(), qPrintable(v.toString()));
            continue;
        }
        QCOMPARE(v.metaType(), expected.metaType());
        QCOMPARE(v, expected);
    }
}

void TestLinkFile::namedValuesAndMissingColumns()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link,
                     {QStringLiteral("create table 顧客マスタ (名称 TEXT, TEL TEXT, fax TEXT, ふりがな TEXT)"),
                      QStringLiteral("insert into 顧客マスタ values ('山田商店', '03-1111-2222', NULL, 'ﾔﾏﾀﾞ')")},
                     QStringLiteral("moxeldata.mdb")),
             qPrintable(link.errorText()));
    QVERIFY(link.hasTable(QStringLiteral("顧客マスタ")));
    QVERIFY(!link.hasTable(QStringLiteral("電話番号")));
    QCOMPARE(link.columns(QStringLiteral("顧客マスタ")),
             std::optional<QStringList>(QStringList{"名称", "TEL", "fax", "ふりがな"}));

    const auto table = link.rows(QStringLiteral("顧客マスタ"));
    QVERIFY(table.has_value());
    QVERIFY(table->hasColumn(QStringLiteral("tel")));
    QVERIFY(!table->hasColumn(QStringLiteral("tel1")));
    const LinkRow& row = table->rows.first();
    // Column names match without regard to ASCII case, as in Jet.
    QCOMPARE(row.value(QStringLiteral("tel")), QVariant(QStringLiteral("03-1111-2222")));
    QCOMPARE(row.value(QStringLiteral("名称")), QVariant(QStringLiteral("山田商店")));
    // Null and a missing column both read as Null; has() tells them apart.
    QVERIFY(row.value(QStringLiteral("fax")).isNull());
    QVERIFY(row.has(QStringLiteral("fax")));
    QVERIFY(row.value(QStringLiteral("tel1")).isNull());
    QVERIFY(!row.has(QStringLiteral("tel1")));
}

void TestLinkFile::rowsInTheOrderOfColumns()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {
        QStringLiteral("create table 顧客マスタ (顧客名 TEXT, ふりがな TEXT)"),
        QStringLiteral("insert into 顧客マスタ values ('鈴木', 'ｽｽﾞｷ'), ('無名', NULL), ('阿部', 'ｱﾍﾞ'), "
                       "('Beta', 'beta'), ('alpha', 'Alpha'), ('佐藤', 'ｻﾄｳ'), ('二番目の無名', NULL), "
                       "('カトウ電機', 'カトウ'), ('加藤', 'かとう')"),
        QStringLiteral("create table コードマスタ (kcode TEXT, code TEXT, sname TEXT)"),
        QStringLiteral("insert into コードマスタ values ('単位', '02', '箱'), ('入数', '01', '10'), "
                       "('単位', '01', '個'), ('入数', '02', NULL)"),
        QStringLiteral("create table 見積書 (伝票番号 LONG, 日付 DATETIME, 金額 CURRENCY)"),
        QStringLiteral("insert into 見積書 values (10, '2004-03-09 10:00:00', 1000), (2, '2004-03-09', 99.5), "
                       "(10, '2004-03-09', '1000.0001'), (NULL, NULL, NULL)"),
    }), qPrintable(link.errorText()));

    // Null first, then texts in Japanese order (Latin letters without regard
    // to case, kana of any type and width side by side); equal keys keep the
    // file's order.
    auto t = link.rows(QStringLiteral("顧客マスタ"), {QStringLiteral("ふりがな")});
    QVERIFY(t.has_value());
    QCOMPARE(names(*t, QStringLiteral("顧客名")),
             QStringList({"無名", "二番目の無名", "alpha", "Beta", "阿部", "加藤", "カトウ電機", "佐藤", "鈴木"}));

    t = link.rows(QStringLiteral("コードマスタ"), {QStringLiteral("KCODE"), QStringLiteral("code")});
    QVERIFY(t.has_value());
    // Kanji in the Japanese order too: 単 (たん) before 入 (にゅう).
    QCOMPARE(names(*t, QStringLiteral("sname")), QStringList({"個", "箱", "10", "<null>"}));

    // Numbers, dates and money compare as values, not as text.
    t = link.rows(QStringLiteral("見積書"), {QStringLiteral("伝票番号"), QStringLiteral("日付")});
    QVERIFY(t.has_value());
    QCOMPARE(names(*t, QStringLiteral("伝票番号")), QStringList({"<null>", "2", "10", "10"}));
    QCOMPARE(t->rows[2].value(QStringLiteral("日付")), QVariant(QDate(2004, 3, 9)));
    t = link.rows(QStringLiteral("見積書"), {QStringLiteral("金額")});
    QVERIFY(t.has_value());
    QCOMPARE(t->rows[1].value(QStringLiteral("金額")), QVariant::fromValue(Currency::fromRaw(995000)));
    QCOMPARE(t->rows[3].value(QStringLiteral("金額")), QVariant::fromValue(Currency::fromRaw(10000001)));

    // Without an order the file's order.
    t = link.rows(QStringLiteral("顧客マスタ"));
    QVERIFY(t.has_value());
    QCOMPARE(names(*t, QStringLiteral("顧客名")).first(), QStringLiteral("鈴木"));
}

void TestLinkFile::streamedRowsComeInTheOrderOfRows_data()
{
    QTest::addColumn<QString>("declared");  // the kind of column v
    QTest::addColumn<QString>("values");    // SQL literals of v, in the file's order
    // SQLite orders these itself; equal values keep the file's order (k).
    QTest::newRow("texts without regard to case")
        << "TEXT" << "'b', 'B', NULL, 'a', 'Ａ', 'ａ', 'abc商事', 'ABC商事', 'あ', 'ア', 'ｱ', '', 'b', NULL, '𠀋', 'ﾟ'";
    QTest::newRow("whole numbers, also as text and real") << "LONG" << "10, ' 2', 2.0, NULL, -5, '10', 3, 2";
    QTest::newRow("dates in the full form") << "DATETIME"
                                            << "'2004-03-09 10:00:00', '2004-03-09', '2004-03-09 00:00:00', NULL, "
                                               "'2004/03/08', '2004-03-09 10:00:00.5', '2004-03-09 10:00:00.500', '2003-12-31 23:59'";
    QTest::newRow("money of whole ten-thousandths") << "CURRENCY" << "100, 99.5, 100.0, NULL, -1, 0.0001, 99.5";
    QTest::newRow("no declared kind") << "" << "'b', 2, 'B', x'01', 1.5, NULL, 'a', 2.0, x'00', 'A'";
    QTest::newRow("yes/no") << "YESNO" << "-1, 0, 1, NULL, 0";
    // Stored in order already (read as they lie), and in order but for the last row.
    QTest::newRow("whole numbers in order") << "LONG" << "NULL, -5, 2, 2.0, ' 2', 3, 10, '10'";
    QTest::newRow("whole numbers in order but the last") << "LONG" << "NULL, -5, 2, 3, 10, 4";
    QTest::newRow("texts in order") << "TEXT" << "NULL, '', 'a', 'b', 'c'";
    QTest::newRow("texts in order but the last") << "TEXT" << "'a', 'b', 'c', 'B'";
    QTest::newRow("kinds in order but the last") << "" << "NULL, 1, 2.5, 'a', 2";
    // Values SQLite could place otherwise: read whole and ordered here.
    QTest::newRow("dates in a short form") << "DATETIME" << "'2004-3-9', '2004-03-10', '2004-3-10 9:05', NULL, '2004-03-09'";
    QTest::newRow("money beyond four decimals") << "CURRENCY" << "100.00001, 100, '99.5', 100.00002, NULL";
    QTest::newRow("numbers in a text column") << "MEMO" << "'b', 10, 9.5, 'A', NULL";
    QTest::newRow("money of half a ten-thousandth") << "CURRENCY" << "0.00005, 0, -0.00005, 0.00015, 0.0001, NULL";
    QTest::newRow("dates to less than a millisecond") << "DATETIME"
                                                      << "'2004-03-09 10:00:00.1239', '2004-03-09 10:00:00.123', "
                                                         "'2004-03-09 10:00:00.12', '2004-03-09 10:00:00.1231'";
    QTest::newRow("dates with blanks around") << "DATETIME" << "'2004-03-09 ', ' 2004-03-08', '2004-03-09', NULL";
    // Whole numbers past a double's exact range beside reals; texts that are
    // not valid UTF-8 (SQLite and the collation read their bytes otherwise).
    QTest::newRow("whole numbers and reals past 2^53") << "" << "-9007199254740992.0, -9007199254740993, 9007199254740993, 9007199254740992.0";
    QTest::newRow("whole numbers in text after an ideographic blank") << "LONG" << "3, '　5', 7, ' 6'";
    QTest::newRow("texts that are not valid UTF-8") << "TEXT" << "cast(x'41ff' as text), cast(x'4180' as text), 'A', cast(x'41c3' as text)";
    // U+FFFE and U+FFFF: valid UTF-8 that SQLite reads as U+FFFD.
    QTest::newRow("texts of U+FFFE and U+FFFF") << "TEXT" << "cast(x'41efbfbd' as text), cast(x'41efbfbe' as text), cast(x'41efbfbf' as text)";
}

void TestLinkFile::streamedRowsComeInTheOrderOfRows()
{
    QFETCH(QString, declared);
    QFETCH(QString, values);
    QStringList statements{QStringLiteral("create table t (k INTEGER, v %1)").arg(declared)};
    const QStringList literals = values.split(QStringLiteral(", "));
    for (qsizetype i = 0; i < literals.size(); ++i)
        statements << QStringLiteral("insert into t values (%1, %2)").arg(i).arg(literals[i]);
    LinkFile link;
    QVERIFY2(folder_.openNew(link, statements), qPrintable(link.errorText()));

    const auto show = [](const LinkRow& r) {
        return QStringLiteral("%1:%2:%3").arg(r.value(0).toString(), QString::fromLatin1(r.value(1).typeName()),
                                              r.value(1).toString());
    };
    const auto whole = link.rows(QStringLiteral("t"), {QStringLiteral("v")});
    QVERIFY2(whole.has_value(), qPrintable(link.errorText()));
    QStringList expected, streamed;
    for (const LinkRow& r : whole->rows) expected << show(r);
    QVERIFY(link.forEachRow(QStringLiteral("T"), {QStringLiteral("V")}, WholeRows([&](const LinkRow& r) {
        streamed << show(r);
        return true;
    })));
    QCOMPARE(streamed, expected);
}

void TestLinkFile::streamStopsWhenToldAndFailsOnABadValue()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table t (n LONG, s TEXT)"),
                            QStringLiteral("insert into t values (3, 'c'), (1, 'a'), (2, 'b'), ('x', 'd')")}),
             qPrintable(link.errorText()));
    QStringList seen;
    const auto take = [&](int count) {
        return WholeRows([&seen, count](const LinkRow& r) {
            seen << r.value(QStringLiteral("s")).toString();
            return seen.size() < count;
        });
    };
    // Ordered by s, stopped after two rows: false, and no failure.
    QVERIFY(!link.forEachRow(QStringLiteral("t"), {QStringLiteral("s")}, take(2)));
    QCOMPARE(link.error(), LinkFile::Error::None);
    QCOMPARE(seen, (QStringList{"a", "b"}));
    // The row that does not fit its kind ends the read with its message.
    seen.clear();
    QVERIFY(!link.forEachRow(QStringLiteral("t"), {QStringLiteral("s")}, take(10)));
    QCOMPARE(link.error(), LinkFile::Error::BadValue);
    QVERIFY(link.errorText().contains(QStringLiteral("x")));
    QCOMPARE(seen, (QStringList{"a", "b", "c"}));
    QVERIFY(!link.forEachRow(QStringLiteral("t"), {QStringLiteral("nothing")}, take(10)));
    QCOMPARE(link.error(), LinkFile::Error::NoColumn);

    // Read a value at a time: the value asked for that does not fit fails
    // the read with the same message; a stop is a failure without one.
    const QString badValueText = [&] {
        link.forEachRow(QStringLiteral("t"), {QStringLiteral("s")}, take(10));
        return link.errorText();
    }();
    int rows = 0;
    QVERIFY(!link.forEachRow(QStringLiteral("t"), {QStringLiteral("s")}, [&](LinkCursor& r) {
        ++rows;
        return r.value(0).has_value();
    }));
    QCOMPARE(rows, 4);
    QCOMPARE(link.error(), LinkFile::Error::BadValue);
    QCOMPARE(link.errorText(), badValueText);
    QVERIFY(!link.forEachRow(QStringLiteral("t"), {QStringLiteral("s")}, [](LinkCursor&) { return false; }));
}

void TestLinkFile::missingTableAndOrderColumnAreReported()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table 顧客マスタ (名称 TEXT, 敬称 TEXT)"),
                            QStringLiteral("insert into 顧客マスタ values ('山田', '様')")}),
             qPrintable(link.errorText()));

    QVERIFY(!link.rows(QStringLiteral("商品マスタ")).has_value());
    QCOMPARE(link.error(), LinkFile::Error::NoTable);
    QVERIFY(link.errorText().contains(QStringLiteral("商品マスタ")));
    QVERIFY(!link.columns(QStringLiteral("商品マスタ")).has_value());
    QCOMPARE(link.error(), LinkFile::Error::NoTable);

    // A table without the order column is not read in some other order.
    QVERIFY(!link.rows(QStringLiteral("顧客マスタ"), {QStringLiteral("ふりがな")}).has_value());
    QCOMPARE(link.error(), LinkFile::Error::NoColumn);
    QVERIFY(link.errorText().contains(QStringLiteral("ふりがな")));

    // The file stays usable after a failure.
    const auto t = link.rows(QStringLiteral("顧客マスタ"));
    QVERIFY(t.has_value());
    QCOMPARE(t->rows.size(), 1);
}

void TestLinkFile::valueThatDoesNotFitItsKindIsAnError_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QString>("stored");
    QTest::newRow("date that is no date") << "DATETIME" << "'9日3月'";
    QTest::newRow("impossible date") << "DATETIME" << "'2004-02-30'";
    QTest::newRow("date as a number") << "DATETIME" << "38055";
    QTest::newRow("money that is no number") << "CURRENCY" << "'千円'";
    QTest::newRow("fraction in a whole-number column") << "LONG" << "1.5";
    QTest::newRow("yes/no that is neither") << "YESNO" << "'たぶん'";
}

void TestLinkFile::valueThatDoesNotFitItsKindIsAnError()
{
    QFETCH(QString, declared);
    QFETCH(QString, stored);
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table t (番号 LONG, 値 %1)").arg(declared),
                            QStringLiteral("insert into t values (1, NULL), (2, %1)").arg(stored)}),
             qPrintable(link.errorText()));
    QVERIFY(!link.rows(QStringLiteral("t")).has_value());
    QCOMPARE(link.error(), LinkFile::Error::BadValue);
    QVERIFY2(link.errorText().contains(QStringLiteral("値")), qPrintable(link.errorText()));
}

void TestLinkFile::rowsOneAtATime()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table 顧客マスタ (名称 TEXT, 件数 LONG)"),
                            QStringLiteral("insert into 顧客マスタ values ('鈴木', 3), ('阿部', NULL), ('佐藤', 1)"),
                            QStringLiteral("create table 壊れ (日付 DATETIME)"),
                            QStringLiteral("insert into 壊れ values ('2004-03-09'), ('三月')")}),
             qPrintable(link.errorText()));
    QStringList seen;
    QVERIFY(link.forEachRow(QStringLiteral("顧客マスタ"), {}, WholeRows([&](const LinkRow& r) {
        seen << r.value(QStringLiteral("名称")).toString() + QLatin1Char('=') + r.value(QStringLiteral("件数")).toString();
        return true;
    })));
    QCOMPARE(seen, (QStringList{"鈴木=3", "阿部=", "佐藤=1"}));

    // Stopped by the caller: false, and nothing reported.
    seen.clear();
    QVERIFY(!link.forEachRow(QStringLiteral("顧客マスタ"), {}, WholeRows([&](const LinkRow& r) {
        seen << r.value(0).toString();
        return false;
    })));
    QCOMPARE(seen, QStringList{"鈴木"});
    QCOMPARE(link.error(), LinkFile::Error::None);

    // A failure after rows were handed over.
    int handed = 0;
    QVERIFY(!link.forEachRow(QStringLiteral("壊れ"), {}, WholeRows([&](const LinkRow&) { return ++handed > 0; })));
    QCOMPARE(handed, 1);
    QCOMPARE(link.error(), LinkFile::Error::BadValue);

    QVERIFY(!link.forEachRow(QStringLiteral("商品マスタ"), {}, [](LinkCursor&) { return true; }));
    QCOMPARE(link.error(), LinkFile::Error::NoTable);
}

void TestLinkFile::toCurrency_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<qint64>("raw");  // -1: nothing
    QTest::newRow("currency") << QVariant::fromValue(Currency::fromRaw(123)) << qint64(123);
    QTest::newRow("whole number") << QVariant(qint64(250)) << qint64(2500000);
    QTest::newRow("double") << QVariant(0.1) << qint64(1000);
    QTest::newRow("double with more decimals") << QVariant(1.23456) << qint64(12346);
    QTest::newRow("decimal text") << QVariant(QStringLiteral("1,234.5678")) << qint64(12345678);
    QTest::newRow("Null") << QVariant() << qint64(-1);
    QTest::newRow("text that is no number") << QVariant(QStringLiteral("千円")) << qint64(-1);
    QTest::newRow("too large") << QVariant(qint64(INT64_MAX / 1000)) << qint64(-1);
}

void TestLinkFile::toCurrency()
{
    QFETCH(QVariant, value);
    QFETCH(qint64, raw);
    const auto c = LinkFile::toCurrency(value);
    if (raw < 0) {
        QVERIFY(!c.has_value());
        return;
    }
    QVERIFY(c.has_value());
    QCOMPARE(c->raw(), raw);
}

void TestLinkFile::storedFormsComeStraightFromTheRow_data()
{
    QTest::addColumn<QString>("declared");  // the column's declared type
    QTest::addColumn<QString>("stored");    // SQL literal
    const QList<std::pair<const char*, QStringList>> cases{
        {"TEXT", {"'東京'", "''", "'2004-03-09'", "'12'", "cast(x'41ff' as text)", "cast(x'41efbfbf' as text)"}},
        {"LONG", {"42", "' 42'", "7.5", "'x'", "9.9e18"}},
        {"", {"42", "'abc'", "2.5", "x'00'"}},
        {"YESNO", {"-1", "0", "'True'", "2.5", "'x'"}},
        {"CURRENCY", {"1234.5", "980", "0.00005", "1e300", "'12.5'", "'x'"}},
        {"DOUBLE", {"2.25", "1e300", "'1.5'", "7"}},
        {"DATETIME", {"'2004-03-09'", "'2004/3/9 10:00'", "'2004-03-09 13:05:59.25'", "'三月'", "5", "'0099-01-01'"}},
        {"BLOB", {"x'00ff'"}},
    };
    for (const auto& [declared, literals] : cases) {
        QTest::addRow("%s Null", *declared ? declared : "untyped") << declared << "NULL";
        for (const QString& literal : literals)
            QTest::addRow("%s %s", *declared ? declared : "untyped", qPrintable(literal)) << declared << literal;
    }
}

// A value's stored form for each kind, as the row gives it, and as
// ColumnValue::stored makes it of the value the row reads: the same.
void TestLinkFile::storedFormsComeStraightFromTheRow()
{
    QFETCH(QString, declared);
    QFETCH(QString, stored);
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table t (v %1, k LONG)").arg(declared),
                                    QStringLiteral("insert into t (v, k) values (%1, 1)").arg(stored)}),
             qPrintable(link.errorText()));
    const auto shown = [](LinkCursor::Stored result, const StoredValue& v) {
        switch (result) {
        case LinkCursor::Stored::Refused: return QStringLiteral("refused");
        case LinkCursor::Stored::Unreadable: return QStringLiteral("unreadable");
        case LinkCursor::Stored::Fits: break;
        }
        if (v.isNull()) return QStringLiteral("Null");
        return (v.type() == StoredValue::Type::Integer ? QStringLiteral("int ") : QStringLiteral("text ")) + v.toString();
    };
    QStringList fromRow, fromValue;
    link.forEachRow(QStringLiteral("t"), {QStringLiteral("k")}, [&](LinkCursor& row) {
        for (ColumnKind kind : {ColumnKind::Text, ColumnKind::Integer, ColumnKind::Money, ColumnKind::Bool, ColumnKind::Date}) {
            StoredValue direct;
            fromRow << shown(row.stored(0, kind, direct), direct);
            StoredValue made;
            LinkCursor::Stored result = LinkCursor::Stored::Unreadable;
            if (const auto value = row.value(0)) {
                const auto form = ColumnValue::stored(*value, kind);
                result = form ? LinkCursor::Stored::Fits : LinkCursor::Stored::Refused;
                if (form) made.set(*form);
            }
            fromValue << shown(result, made);
        }
        return true;
    });
    QCOMPARE(fromRow.size(), 5);
    QCOMPARE(fromRow, fromValue);
}

void TestLinkFile::lentTextLastsAsLongAsItsRow()
{
    LinkFile link;
    QVERIFY2(folder_.openNew(link, {QStringLiteral("create table t (k LONG, s TEXT)"),
                                    QStringLiteral("insert into t values (1, '東京都'), (2, '大阪府')")}),
             qPrintable(link.errorText()));
    StoredValue lent, kept;
    QList<bool> goodOnItsRow, goodOnTheNext;
    QVERIFY(link.forEachRow(QStringLiteral("t"), {QStringLiteral("k")}, [&](LinkCursor& row) {
        if (lent.type() == StoredValue::Type::Utf8) goodOnTheNext << lent.good();
        row.stored(1, ColumnKind::Text, lent);
        if (kept.isNull()) {
            kept = lent;
            kept.keep();
        }
        goodOnItsRow << (lent.type() == StoredValue::Type::Utf8 && lent.good());
        return true;
    }));
    // Lent, not copied, and good while its row is read; gone after.
    QCOMPARE(goodOnItsRow, (QList<bool>{true, true}));
    QCOMPARE(goodOnTheNext, QList<bool>{false});
    QVERIFY(!lent.good());
    // Kept, it outlives its row.
    QVERIFY(kept.good());
    QCOMPARE(kept.toString(), QStringLiteral("東京都"));
}

QTEST_MAIN(TestLinkFile)
#include "tst_link_file.moc"
