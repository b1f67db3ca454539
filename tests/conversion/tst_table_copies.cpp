// The table copies of the conversion, on a fresh data file and an older
// file made as SQLite (OldDataFile): keys, fixed values, the current file's
// storage forms, the counter, the code slots, a second run, values the
// current columns refuse, a table left as it was when it cannot be copied
// whole, and the older rows read in order the same as read whole.

#include "ConversionFolder.h"

class TestTableCopies : public QObject {
    Q_OBJECT
private slots:
    void settingsRowCopied();
    void counterNeverLowered_data();
    void counterNeverLowered();
    void counterAboveEveryStoredNumber_data();
    void counterAboveEveryStoredNumber();
    void emptySettingsTables_data();
    void emptySettingsTables();
    void mastersMatchedByKey();
    void keysMatchedWithoutRegardToCase_data();
    void keysMatchedWithoutRegardToCase();
    void codesKeepTheirSlots();
    void secondRunChangesNothing();
    void refusedValueLeavesOnlyItsFieldUnwritten();
    void tableLeftAsItWasWhenItCannotBeCopied_data();
    void tableLeftAsItWasWhenItCannotBeCopied();
    void missingTablesAndColumns();
    void orderedReadGivesWhatTheWholeReadGives_data();
    void orderedReadGivesWhatTheWholeReadGives();
    void manyLinesKeepTheirOrder();
};

void TestTableCopies::settingsRowCopied()
{
    Folder f({QStringLiteral("update 自社情報 set 印鑑タイトル1 = '担当', 小数 = '数量', 商品登録 = 0, 納期登録 = 0, "
                             "最大見積書番号 = 5")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({kOldSettings}));
    const TableOutcome out = f.run(&DataConversion::CnvJisyaInfo);
    QVERIFY2(out.complete(), qPrintable(out.summaryLine()));
    QCOMPARE(out.copied, 1);

    QCOMPARE(QueryCells(f.data, QStringLiteral("select 自社名, 自社情報, 年号, 税区分, 税端数, 行端数, 小数, 最大見積書番号, 税計算, "
                                          "印刷用紙, 商品リンクアプリ, 商品リンクパス, 顧客リンクアプリ, 顧客リンクパス, "
                                          "郵便番号辞書パス, YubinDataPath, YubinLocalEria, YubinLocalEriaSw, 商品表示順, "
                                          "入数列タイトル from 自社情報")),
             QStringList{QStringLiteral("'旧商会'|'東京都\r\n千代田区'|'西暦'|'非課税'|'切り捨て'|'切り上げ'|'しない'|120|0|"
                                        "'B5白紙'|'Sulka'|'/旧/商品.mdb'|'Dovan請求書'|'/旧/顧客.mdb'|'/旧/yubin.mdb'|"
                                        "'/旧/ydata'|'東京都'|1|'ふりがな順'|'ケース'")});
    // The eight registration flags on; the seal titles and the schema stamp untouched.
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 商品登録, 商品区分登録, 単位登録, 入数登録, 支払条件登録, 有効期限登録, "
                                          "受渡場所登録, 納期登録, 印鑑タイトル1, 印鑑タイトル2, Version, LastUpdate "
                                          "from 自社情報")),
             QStringList{QStringLiteral("1|1|1|1|1|1|1|1|'担当'|''|'2.00'|'2005/01/06'")});
}

void TestTableCopies::counterNeverLowered_data()
{
    QTest::addColumn<QString>("current");  // SQL literals
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("expected");
    QTest::newRow("older counter higher") << "5" << "120" << "120";
    QTest::newRow("current counter higher") << "300" << "120" << "300";
    QTest::newRow("equal") << "120" << "120" << "120";
    QTest::newRow("current Null") << "NULL" << "120" << "120";
    QTest::newRow("older Null") << "300" << "NULL" << "300";
    QTest::newRow("both Null") << "NULL" << "NULL" << "<null>";
}

void TestTableCopies::counterNeverLowered()
{
    QFETCH(QString, current);
    QFETCH(QString, old);
    QFETCH(QString, expected);
    Folder f({QStringLiteral("update 自社情報 set 最大見積書番号 = %1").arg(current)});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({kOldSettings, QStringLiteral("update 自社情報 set 最大見積書番号 = %1").arg(old)}));
    QVERIFY(f.run(&DataConversion::CnvJisyaInfo).complete());
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 最大見積書番号 from 自社情報")), QStringList{expected});
}

void TestTableCopies::counterAboveEveryStoredNumber_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QString>("oldCounter");
    QTest::addColumn<QStringList>("oldLinesOnly");  // quotation numbers with lines but no header
    QTest::addColumn<QString>("expected");
    // The older file holds the quotations 1..5 in every case.
    QTest::newRow("older counter behind its quotations") << QStringList{} << "1" << QStringList{} << "5";
    QTest::newRow("older counter Null") << QStringList{} << "NULL" << QStringList{} << "5";
    // Its quotation is left out whole: the counter follows only quotations that arrived.
    QTest::newRow("lines without a header") << QStringList{} << "1" << QStringList{"8"} << "5";
    QTest::newRow("current quotations above both")
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (9, 'Z社', '2020-01-06')"),
                       QStringLiteral("update 自社情報 set 最大見積書番号 = 3")}
        << "1" << QStringList{} << "9";
    QTest::newRow("current counter highest") << QStringList{QStringLiteral("update 自社情報 set 最大見積書番号 = 20")} << "1"
                                             << QStringList{} << "20";
}

void TestTableCopies::counterAboveEveryStoredNumber()
{
    QFETCH(QStringList, current);
    QFETCH(QString, oldCounter);
    QFETCH(QStringList, oldLinesOnly);
    QFETCH(QString, expected);
    Folder f(current);
    QVERIFY(f.opened);
    QStringList old{kOldSettings, QStringLiteral("update 自社情報 set 最大見積書番号 = %1").arg(oldCounter)};
    for (int n = 1; n <= 5; ++n)
        old << QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (%1, 'A社', '2004-03-09')").arg(n);
    for (const QString& n : oldLinesOnly)
        old << QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) "
                              "values ('A社', '2004-03-09', %1, 1, 0, 'ペン')")
                   .arg(n);
    QVERIFY(f.makeOld(old));
    const QList<TableOutcome> outcomes = f.runAll();
    for (const TableOutcome& out : outcomes)
        QVERIFY2(out.complete() || !oldLinesOnly.isEmpty(), qPrintable(out.summaryLine()));
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 最大見積書番号 from 自社情報")), QStringList{expected});
}

void TestTableCopies::emptySettingsTables_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("expected");  // 自社名, 小数, 納期登録, 印鑑タイトル1 of every row
    QTest::newRow("older table empty: the current row stays")
        << QStringList{QStringLiteral("update 自社情報 set 自社名 = '今の社名', 小数 = '単価', 納期登録 = 0")} << QStringList{}
        << QStringList{QStringLiteral("'今の社名'|'単価'|0|''")};
    QTest::newRow("current table empty: one new row")
        << QStringList{QStringLiteral("delete from 自社情報")} << QStringList{kOldSettings}
        << QStringList{QStringLiteral("'旧商会'|'しない'|1|<null>")};
}

void TestTableCopies::emptySettingsTables()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, old);
    QFETCH(QStringList, expected);
    Folder f(current);
    QVERIFY(f.opened);
    QVERIFY(f.makeOld(old));
    QVERIFY(f.run(&DataConversion::CnvJisyaInfo).complete());
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 自社名, 小数, 納期登録, 印鑑タイトル1 from 自社情報")), expected);
}

void TestTableCopies::mastersMatchedByKey()
{
    Folder f({QStringLiteral("insert into 顧客マスタ values ('A社', '旧情報', 'えーしゃ', '様'), ('Z社', '残る', 'ぜっと', '御中')"),
              QStringLiteral("insert into 商品マスタ values ('ペン', '文具', '10', '本', 1000000, 0, 'ぺん')")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({
        QStringLiteral("insert into 顧客マスタ values ('A社', '新情報', 'えーしゃ', NULL), ('B社', 'B情報', 'びーしゃ', '御中'), "
                       "(NULL, '名無し', 'な', '様'), ('', '空', 'そら', '様'), ('O''Brien商会', '英国', 'おぶらいえん', '様')"),
        QStringLiteral("insert into 商品マスタ values ('ペン', '旧区分', '12', '箱', 120.5, 0, 'ぺん'), "
                       "('ノート', '旧区分', NULL, '冊', '80', -1, 'のーと'), (NULL, NULL, NULL, NULL, 1, 0, 'ん')"),
    }));
    const QList<TableOutcome> out = f.run({&DataConversion::CnvKokyaku, &DataConversion::CnvSyohin});
    QCOMPARE(out.size(), 2);

    // The same name is overwritten with the older values (Null included), a
    // row only the current file holds stays, new names are added in the
    // older file's order, rows without a name are skipped.
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("顧客マスタ")}),
             (QStringList{QStringLiteral("顧客マスタ|'A社'|'新情報'|'えーしゃ'|<null>"),
                          QStringLiteral("顧客マスタ|'Z社'|'残る'|'ぜっと'|'御中'"),
                          QStringLiteral("顧客マスタ|'O'Brien商会'|'英国'|'おぶらいえん'|'様'"),
                          QStringLiteral("顧客マスタ|'B社'|'B情報'|'びーしゃ'|'御中'")}));
    QCOMPARE(out[0].summaryLine(), QStringLiteral("顧客マスタ：読込 5件、変換 3件、キーが空のためスキップ 2件"));
    QVERIFY(!out[0].complete());

    // A copied product loses its 商品区分; money in ten-thousandths, yes/no 0/1.
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("商品マスタ")}),
             (QStringList{QStringLiteral("商品マスタ|'ペン'|<null>|'12'|'箱'|1205000|0|'ぺん'"),
                          QStringLiteral("商品マスタ|'ノート'|<null>|<null>|'冊'|800000|1|'のーと'")}));
    QCOMPARE(out[1].read, 3);
    QCOMPARE(out[1].copied, 2);
    QCOMPARE(out[1].emptyKeys, 1);
}

void TestTableCopies::keysMatchedWithoutRegardToCase_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QString>("query");  // on the current file after a run
    QTest::addColumn<QStringList>("expected");

    const QString customers = QStringLiteral("select 顧客名, 顧客情報 from 顧客マスタ order by rowid");
    QTest::newRow("customer")
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('ABC商事', '今', 'えーびーしー', '様')")}
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('abc商事', '旧', 'えーびーしー', '様')")} << customers
        << QStringList{QStringLiteral("'abc商事'|'旧'")};
    QTest::newRow("customer in full-width letters")
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('ＡＢＣ商事', '今', 'え', '様')")}
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('ａｂｃ商事', '旧', 'え', '様')")} << customers
        << QStringList{QStringLiteral("'ａｂｃ商事'|'旧'")};
    QTest::newRow("two older customers differing in case: the later one stays")
        << QStringList{} << QStringList{QStringLiteral("insert into 顧客マスタ values ('Abc商事', '一', 'あ', '様'), ('aBC商事', '二', 'い', '様')")}
        << customers << QStringList{QStringLiteral("'aBC商事'|'二'")};
    QTest::newRow("other names stay apart")
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('ABC商事', '今', 'え', '様')")}
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('ABC 商事', '旧', 'え', '様'), ('ＡＢＣ商事', '全角', 'え', '様')")}
        << customers
        << QStringList{QStringLiteral("'ABC商事'|'今'"), QStringLiteral("'ABC 商事'|'旧'"), QStringLiteral("'ＡＢＣ商事'|'全角'")};
    QTest::newRow("product")
        << QStringList{QStringLiteral("insert into 商品マスタ values ('Pen', '文具', '10', '本', 1000000, 0, 'ぺん')")}
        << QStringList{QStringLiteral("insert into 商品マスタ values ('PEN', NULL, '12', '箱', 120, 0, 'ぺん')")}
        << QStringLiteral("select 品名, 単位 from 商品マスタ") << QStringList{QStringLiteral("'PEN'|'箱'")};
    QTest::newRow("code kind")
        << QStringList{QStringLiteral("insert into コードマスタ (kcode, code) values ('Color', '01'), ('Color', '02')")}
        << QStringList{QStringLiteral("insert into コードマスタ values ('COLOR', '02', '赤')")}
        << QStringLiteral("select kcode, code, sname from コードマスタ where lower(kcode) = 'color' order by rowid")
        << QStringList{QStringLiteral("'Color'|'01'|<null>"), QStringLiteral("'COLOR'|'02'|'赤'")};
    // The same quotation under the customer's other spelling: updated, not
    // held by another quotation.
    QTest::newRow("quotation")
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 件名) values (12, 'ABC商事', '2004-03-09', '今')"),
                       QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) "
                                      "values (12, 'ABC商事', '2004-03-09 10:15:00', 0, 1, '今の品名')")}
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 件名) values (12, 'abc商事', '2004-03-09', '旧')"),
                       QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) "
                                      "values ('abc商事', '2004-03-09 10:15:00', 12, 1, 0, '旧品名')")}
        << QStringLiteral("select h.顧客名, h.件名, l.顧客名, l.品名 from 見積書ヘッダ h join 見積書 l using (伝票番号)")
        << QStringList{QStringLiteral("'abc商事'|'旧'|'abc商事'|'旧品名'")};
}

void TestTableCopies::keysMatchedWithoutRegardToCase()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, old);
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    Folder f(current);
    QVERIFY(f.opened);
    QVERIFY(f.makeOld(old));
    for (const TableOutcome& out : f.runAll())
        QVERIFY2(out.complete() || out.missing || out.read == 0, qPrintable(out.summaryLine()));
    QCOMPARE(QueryCells(f.data, query), expected);
}

void TestTableCopies::codesKeepTheirSlots()
{
    Folder f({QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '01'"),
              QStringLiteral("update コードマスタ set sname = '台' where kcode = '単位' and code = '02'")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({QStringLiteral(
        "insert into コードマスタ values ('単位', '01', '本'), ('単位', '02', ''), ('単位', '100', '箱'), ('単位', '5', '袋'), "
        "('単位', NULL, '枚'), ('ケース', '03', 'ダース'), ('支払条件', '99', '月末締め')")}));
    const TableOutcome out = f.run(&DataConversion::CnvCode);
    QCOMPARE(out.read, 7);
    QCOMPARE(out.copied, 4);
    QCOMPARE(out.badCodes, 2);
    QCOMPARE(out.emptyKeys, 1);
    QCOMPARE(out.summaryLine(),
             QStringLiteral("コードマスタ：読込 7件、変換 4件、キーが空のためスキップ 1件、コードが01～99以外のためスキップ 2件"));

    QCOMPARE(QueryCells(f.data, QStringLiteral("select kcode, code, sname from コードマスタ where sname is not null "
                                          "order by kcode, code")),
             (QStringList{QStringLiteral("'ケース'|'03'|'ダース'"), QStringLiteral("'単位'|'01'|'本'"),
                          QStringLiteral("'支払条件'|'99'|'月末締め'")}));
    // Every kind, the new one included, has exactly the slots "01".."99".
    QCOMPARE(QueryCells(f.data, QStringLiteral("select kcode, count(*), min(code), max(code) from コードマスタ group by kcode "
                                          "having count(*) <> 99 or count(distinct code) <> 99 or min(code) <> '01' "
                                          "or max(code) <> '99' or max(length(code)) <> 2")),
             QStringList{});
    QCOMPARE(QueryCells(f.data, QStringLiteral("select count(*) from コードマスタ where kcode = 'ケース'")), QStringList{"99"});
}

void TestTableCopies::secondRunChangesNothing()
{
    Folder f;
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({
        kOldSettings,
        QStringLiteral("insert into 顧客マスタ values ('A社', '住所', 'えー', '様'), ('A社', '二度目', 'えー', '殿'), "
                       "(NULL, 'x', 'x', 'x'), ('O''Brien', 'y', 'お', '様')"),
        QStringLiteral("insert into 商品マスタ values ('ペン', NULL, '10', '本', 100, 0, 'ぺん'), ('', NULL, NULL, NULL, 1, 0, '')"),
        QStringLiteral("insert into コードマスタ values ('単位', '01', '本'), ('新種', '02', '新'), ('単位', '0', 'x')"),
        QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (1, 'A社', '2004-03-09'), (2, 'C社', '2004-03-09'), "
                       "(NULL, 'B社', '2004-03-09')"),
        // A Null date or kind is matched to a Null one; quotation 2 has a
        // line without a customer, and is left out.
        QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 金額) values "
                       "('A社', '2004-03-09 08:00:00.125', 1, 1, 0, 'ペン', 100), ('A社', '2004-03-09 08:00:00.125', 1, 1, 1, 'ペン', 100), "
                       "('A社', NULL, 1, 1, 2, 'ペン', 100), ('', '2004-03-09', 2, 1, 0, 'ペン', 100), "
                       "('A社', '2004-03-09', 1, NULL, 4, 'ペン', 100)"),
    }));
    f.runAll();
    const QStringList first = TableSnapshot(f.data, kAllTables);
    QCOMPARE(QueryCells(f.data, QStringLiteral("select count(*) from 見積書")), QStringList{"4"});
    const QList<TableOutcome> again = f.runAll();
    QCOMPARE(TableSnapshot(f.data, kAllTables), first);
    QCOMPARE(again[4].emptyKeys, 1);
    QCOMPARE(again[5].leftOut, 1);
    QCOMPARE(again[5].copied, 4);
    QCOMPARE(again[5].quotationsLeftOut, (QMap<LeftOut, QList<qint64>>{{LeftOut::EmptyKey, {2}}}));
}

void TestTableCopies::refusedValueLeavesOnlyItsFieldUnwritten()
{
    // The older tables without declared kinds, so that any value reaches the copy.
    Folder f({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 消費税) values (2, 'A社', '2004-03-09', 700000)"),
              QStringLiteral("update 自社情報 set 自社名 = '今の社名', 最大見積書番号 = 3, 税計算 = 1")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({QStringLiteral("create table 自社情報 (自社名, 最大見積書番号, 税計算)"),
                       QStringLiteral("insert into 自社情報 values ('旧商会', 'たくさん', 'maybe')"),
                       QStringLiteral("create table 見積書ヘッダ (伝票番号, 顧客名, 日付, 消費税)"),
                       QStringLiteral("insert into 見積書ヘッダ values (1, 'A社', '2004-03-09', 5), (2, 'A社', '2004-03-09', 'abc'), "
                                      "('x', 'B社', '2004-03-09', 1), (4, 'C社', '三月九日', 6), (5, 'D社', '2004-03-09', 7)"),
                       QStringLiteral("create table 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 数量, 非課税)"),
                       QStringLiteral("insert into 見積書 values ('A社', '2004-03-09 10:00:00', 1, 1, 0, 'ペン', 'many', 'maybe'), "
                                      "('A社', '2004-03-09 10:00:00', 1, 1, 1, '鉛筆', 2, 0), "
                                      "('D社', 'someday', 5, 1, 0, '消しゴム', 1, 0)")},
                      false));
    const QList<TableOutcome> out = f.runAll();

    // The settings: the refused counter and flag keep their values, the rest is copied.
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 自社名, 最大見積書番号, 税計算, 小数 from 自社情報")),
             QStringList{QStringLiteral("'旧商会'|4|1|'しない'")});
    QCOMPARE(out[0].refused, 2);
    QCOMPARE(out[0].copied, 1);

    // Headers: an edited row keeps the refused field's value, a new row holds
    // Null there; a number that is no number cannot be matched and is skipped.
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 伝票番号, 顧客名, 日付, 消費税 from 見積書ヘッダ order by 伝票番号")),
             (QStringList{QStringLiteral("1|'A社'|'2004-03-09'|50000"), QStringLiteral("2|'A社'|'2004-03-09'|700000"),
                          QStringLiteral("4|'C社'|<null>|60000")}));
    QCOMPARE(out[4].summaryLine(), QStringLiteral("見積書ヘッダ：読込 5件、変換 3件、キーを変換できないためスキップ 1件、"
                                                  "変換しなかった見積書のためスキップ 1件、変換できない値 2件（その項目は書き込んでいません）"));
    QVERIFY(!out[4].complete());

    // Lines: a new row takes the column's default for a refused yes/no; a
    // line whose date (a key) is no date leaves its quotation out.
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 行番号, 品名, 数量, 非課税 from 見積書 order by 行番号")),
             (QStringList{QStringLiteral("0|'ペン'|<null>|0"), QStringLiteral("1|'鉛筆'|20000|0")}));
    QCOMPARE(out[5].refused, 2);
    QCOMPARE(out[5].leftOut, 1);
    QCOMPARE(out[5].copied, 2);
    QCOMPARE(out[5].quotationsLeftOut, (QMap<LeftOut, QList<qint64>>{{LeftOut::BadKey, {5}}}));
    QVERIFY(ConversionMessage(out).contains(out[5].summaryLine()));
}

void TestTableCopies::tableLeftAsItWasWhenItCannotBeCopied_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<bool>("withSchema");
    QTest::addColumn<int>("step");  // index in the order of a run
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QList<int>>("withIt");  // steps left as they were together with it

    QTest::newRow("a write refused half-way")
        << QStringList{QStringLiteral("create trigger refuse before insert on 顧客マスタ when new.顧客名 = 'B社' "
                                      "begin select raise(abort, 'refused by the test'); end")}
        << QStringList{QStringLiteral("insert into 顧客マスタ values ('A社', NULL, 'あ', NULL), ('B社', NULL, 'い', NULL)")}
        << true << 1 << "refused by the test" << QList<int>{};
    QTest::newRow("a value the older column cannot hold")
        << QStringList{} << QStringList{QStringLiteral("insert into 商品マスタ values ('ペン', NULL, NULL, NULL, 100, 0, 'あ'), "
                                                       "('鉛筆', NULL, NULL, NULL, '百円', 0, 'い')")}
        << true << 2 << "単価" << QList<int>{};
    QTest::newRow("the quotation counter refused with the headers")
        << QStringList{QStringLiteral("create trigger refuse before update of 最大見積書番号 on 自社情報 "
                                      "begin select raise(abort, 'counter refused by the test'); end")}
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (7, 'A社', '2004-03-09')")}
        << true << 4 << "counter refused by the test" << QList<int>{5};
    // A quotation arrives whole or not at all: no header without its lines.
    QTest::newRow("a quotation line refused: no header either")
        << QStringList{QStringLiteral("create trigger refuse before insert on 見積書 when new.行番号 = 1 "
                                      "begin select raise(abort, 'line refused by the test'); end")}
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (7, 'A社', '2004-03-09'), "
                                      "(8, 'A社', '2004-03-09')"),
                       QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values "
                                      "('A社', '2004-03-09', 7, 1, 0, 'ペン'), ('A社', '2004-03-09', 8, 1, 0, 'ペン'), "
                                      "('A社', '2004-03-09', 8, 1, 1, '鉛筆')")}
        << true << 5 << "line refused by the test" << QList<int>{4};
}

void TestTableCopies::tableLeftAsItWasWhenItCannotBeCopied()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, old);
    QFETCH(bool, withSchema);
    QFETCH(int, step);
    QFETCH(QString, reason);
    QFETCH(QList<int>, withIt);
    Folder f(current);
    QVERIFY(f.opened);
    QVERIFY(f.makeOld(old, withSchema));
    const QStringList before = TableSnapshot(f.data, kAllTables);
    const QList<TableOutcome> out = f.runAll();
    QCOMPARE(out.size(), 6);
    QVERIFY2(out[step].failure.logText().contains(reason), qPrintable(out[step].failure.logText()));
    for (int i : QList<int>{step} + withIt) {
        QCOMPARE(out[i].copied, 0);
        QVERIFY(out[i].summaryLine().contains(QStringLiteral("このテーブルは変更していません")));
        const QStringList after = TableSnapshot(f.data, {kAllTables[i]});
        QStringList expected;
        for (const QString& row : before)
            if (row.startsWith(kAllTables[i] + QLatin1Char('|'))) expected << row;
        QCOMPARE(after, expected);
    }
    // The other tables were copied, and the data file takes writes again.
    for (int i = 0; i < out.size(); ++i)
        if (i != step && !withIt.contains(i)) QVERIFY2(out[i].failure.isEmpty(), qPrintable(out[i].summaryLine()));
    QVERIFY(f.data.exec(QStringLiteral("insert into KivHint (FormName) values ('x')")));
}

void TestTableCopies::missingTablesAndColumns()
{
    // An older file of one table, and that without the columns ふりがな and 敬称.
    Folder f({QStringLiteral("insert into 顧客マスタ values ('A社', '旧情報', 'えー', '様')")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({QStringLiteral("create table 顧客マスタ (顧客名 TEXT, 顧客情報 MEMO)"),
                       QStringLiteral("insert into 顧客マスタ values ('A社', '新情報')")},
                      false));
    const QStringList settings = TableSnapshot(f.data, {QStringLiteral("自社情報")});
    const QList<TableOutcome> out = f.runAll();

    // What the older file lacks keeps its value.
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("顧客マスタ")}),
             QStringList{QStringLiteral("顧客マスタ|'A社'|'新情報'|'えー'|'様'")});
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("自社情報")}), settings);
    QCOMPARE(ConversionMessage(out), QStringLiteral("コンバートが終了しました\n\n"
                                                    "変換できなかったデータがあります。\n"
                                                    "自社情報：旧データにテーブルがありません\n"
                                                    "顧客マスタ：読込 1件、変換 1件\n"
                                                    "商品マスタ：旧データにテーブルがありません\n"
                                                    "コードマスタ：旧データにテーブルがありません\n"
                                                    "見積書ヘッダ：旧データにテーブルがありません\n"
                                                    "見積書：旧データにテーブルがありません"));
}

void TestTableCopies::orderedReadGivesWhatTheWholeReadGives_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("old");
    // Older lines: customer, date, number, kind, line, then 品名 .. 備考.
    const auto lines = [](const QStringList& rows) {
        return QStringLiteral("insert into 見積書 values (%1)").arg(rows.join(QStringLiteral("), (")));
    };
    const QString header = QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 消費税, 合計, 済) values ");

    QTest::newRow("Null in every field but the keys")
        << QStringList{}
        << QStringList{header + QStringLiteral("(1, 'A社', '2004-03-09', NULL, NULL, NULL)"),
                       lines({QStringLiteral("'A社', '2004-03-09 10:00:00', 1, 1, 0, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                                             "NULL, NULL, NULL, NULL")})};
    QTest::newRow("yes/no as texts, numbers and reals")
        << QStringList{}
        << QStringList{header + QStringLiteral("(1, 'A社', '2004-03-09', 0, 0, 'True'), (2, 'A社', '2004-03-09', 0, 0, ' false ')"),
                       lines({QStringLiteral("'A社', '2004-03-09', 1, 1, 0, 'ペン', NULL, NULL, NULL, 1, 1, 1, 'True', NULL, 'false', NULL"),
                              QStringLiteral("'A社', '2004-03-09', 1, 1, 1, 'ペン', NULL, NULL, NULL, 1, 1, 1, ' TRUE ', NULL, 2.5, NULL"),
                              QStringLiteral("'A社', '2004-03-09', 1, 1, 2, 'ペン', NULL, NULL, NULL, 1, 1, 1, '0', NULL, '-1 ', NULL"),
                              QStringLiteral("'A社', '2004-03-09', 1, 1, 3, 'ペン', NULL, NULL, NULL, 1, 1, 1, -1, NULL, 0.0, NULL")})};
    QTest::newRow("whole numbers as reals and texts, doubles beyond their range")
        << QStringList{}
        << QStringList{header + QStringLiteral("(2.0, 'A社', '2004-03-09', 9.2e14, -9.3e14, 1e300)"),
                       lines({QStringLiteral("'A社', '2004-03-09', 2, 1.0, ' 1', 'ペン', NULL, NULL, NULL, 1e300, 9.2e14, -9.2e14, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09', 2, 1, 2, 'ペン', NULL, NULL, NULL, -9.3e14, 1, 9.1e14, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09', '2', 1, 3.0, 'ペン', NULL, NULL, NULL, 9.2e14, 1, 1, 0, NULL, 0, NULL")})};
    QTest::newRow("a whole number beyond the integer range fails the read")
        << QStringList{}
        << QStringList{header + QStringLiteral("(3, 'A社', '2004-03-09', 0, 0, 0)"),
                       lines({QStringLiteral("'A社', '2004-03-09', 3, 1e19, 0, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL")})};
    QTest::newRow("dates in each full form")
        << QStringList{}
        << QStringList{header + QStringLiteral("(4, 'A社', '2004/03/09', 0, 0, 0), (5, 'A社', '2004-03-09 00:00:00', 0, 0, 0)"),
                       lines({QStringLiteral("'A社', '2004-03-09', 4, 1, 0, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09 13:05', 4, 1, 1, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09 13:05:59.5', 4, 1, 2, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09T13:05:59', 4, 1, 3, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004/03/09 13:05:59', 4, 1, 4, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09 00:00:00', 5, 1, 0, 'ペン', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL")})};
    QTest::newRow("currency rounded to ten-thousandths")
        << QStringList{}
        << QStringList{header + QStringLiteral("(6, 'A社', '2004-03-09', 123.45675, '1234.5', 0)"),
                       lines({QStringLiteral("'A社', '2004-03-09', 6, 1, 0, 'ペン', NULL, NULL, NULL, 0.30000000000000004, 123.45675, "
                                             "-0.00005, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09', 6, 1, 1, 'ペン', NULL, NULL, NULL, 2, '1234.5', 100, 0, NULL, 0, NULL"),
                              QStringLiteral("'A社', '2004-03-09', 6, 1, 2, 'ペン', NULL, NULL, NULL, 0.00015, 0.00025, "
                                             "-92233720368.54775, 0, NULL, 0, NULL")})};
    // Keys found without regard to case, in the current file and among the
    // lines this copy adds; a number held by another customer is skipped.
    QTest::newRow("keys differing in case")
        << QStringList{QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (7, 'Abc商事', '2004-03-09'), "
                                      "(8, '別の客', '2004-03-09')"),
                       QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) "
                                      "values (7, 'ABC商事', '2004-03-09 10:15:00', 0, 1, '今の品名')")}
        << QStringList{header + QStringLiteral("(7, 'abc商事', '2004-03-09', 0, 0, 0), (8, 'B社', '2004-03-09', 0, 0, 0)"),
                       lines({QStringLiteral("'abc商事', '2004-03-09 10:15:00', 7, 1, 0, '一', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'aBC商事', '2004-03-09 10:15:00.4', 7, 1, 0, '二', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'abc商事', '2004-03-09 10:15:00', 7, 1, 1, '三', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              QStringLiteral("'B社', '2004-03-09', 8, 1, 0, '四', NULL, NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL")})};
    // (Not in a line's customer: a line table ordered by such a text is
    // always read whole.)
    QTest::newRow("text that is not valid UTF-8")
        << QStringList{}
        << QStringList{header + QStringLiteral("(9, cast(x'41e38182ff' as text), '2004-03-09', 0, 0, 0)"),
                       lines({QStringLiteral("'A社', '2004-03-09', 9, 1, 0, cast(x'e381ff41' as text), NULL, "
                                             "NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL"),
                              // U+FFFF: valid UTF-8 that SQLite reads as U+FFFD.
                              QStringLiteral("'A社', '2004-03-09', 9, 1, 1, cast(x'41efbfbf' as text), NULL, "
                                             "NULL, NULL, 1, 1, 1, 0, NULL, 0, NULL")})};
}

void TestTableCopies::orderedReadGivesWhatTheWholeReadGives()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, old);
    // Quotation 99 goes with every case. In the second older file its line's
    // date is in a short form, which SQLite could order otherwise: that
    // file's lines are then read whole and ordered here, as a Jet file's
    // are, and the date converts to the same one.
    const QStringList lineOrder{QStringLiteral("伝票番号"), QStringLiteral("伝票区分"), QStringLiteral("行番号"),
                                QStringLiteral("顧客名"), QStringLiteral("日付")};
    QStringList results[2];
    for (int whole = 0; whole < 2; ++whole) {
        Folder f(current);
        QVERIFY(f.opened);
        QVERIFY(f.makeOld(old + QStringList{
            QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (99, 'Z社', '2004-03-09')"),
            QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values ('Z社', %1, 99, 1, 0, 'ペン')")
                .arg(whole ? QStringLiteral("'2004-3-9'") : QStringLiteral("'2004-03-09'"))}));
        {
            LinkFile link;
            QVERIFY(link.open(f.oldPath()));
            // Read from SQLite's rows as they come, or not.
            bool streamed = false;
            link.forEachRow(QStringLiteral("見積書"), lineOrder, [&](LinkCursor& row) {
                streamed = !row.held();
                return false;
            });
            QCOMPARE(!streamed, bool(whole));
        }
        // A first run, and a second one over what it wrote.
        for (int run = 1; run <= 2; ++run) {
            for (const TableOutcome& out : f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori}))
                results[whole] << out.summaryLine();
            results[whole] << TableSnapshot(f.data, {QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")});
            // The texts as stored, byte for byte.
            results[whole] << QueryCells(f.data, QStringLiteral("select hex(顧客名) from 見積書ヘッダ order by rowid"))
                           << QueryCells(f.data, QStringLiteral("select hex(顧客名), hex(品名) from 見積書 order by rowid"));
        }
    }
    QCOMPARE(results[1], results[0]);
}

void TestTableCopies::manyLinesKeepTheirOrder()
{
    // 100 lines of one quotation, written many at a time: the 45th and 90th
    // with a 数量 the current column refuses (written without it), the 50th
    // and 100th repeating the place of the line before (updating it).
    Folder f;
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (1, 'A社', '2004-03-09')"),
                       QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n where i < 99) "
                                      "insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 数量) "
                                      "select 'A社', '2004-03-09', 1, 1, i - (i % 50 = 49), '品' || i, "
                                      "case when i % 45 = 44 then 1e300 else i end from n")}));
    const QList<TableOutcome> out = f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
    QCOMPARE(out[1].read, 100);
    QCOMPARE(out[1].copied, 100);
    QCOMPARE(out[1].refused, 2);
    QStringList expected;
    for (int i = 0; i < 100; ++i) {
        const QString quantity = i % 45 == 44 ? QStringLiteral("<null>") : QString::number(i * 10000);
        const QString line = QStringLiteral("%1|'品%2'|%3").arg(i % 50 == 49 ? i - 1 : i).arg(i).arg(quantity);
        if (i % 50 == 49) expected.removeLast();  // the repeat updates the line before it
        expected << line;
    }
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 行番号, 品名, 数量 from 見積書 order by rowid")), expected);
}

QTEST_GUILESS_MAIN(TestTableCopies)
#include "tst_table_copies.moc"
