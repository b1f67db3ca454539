// The quotation copies of the conversion: headers and lines in the current
// forms, lines matched on their day, numbers another quotation holds, a
// quotation that arrives whole or not at all, and a quotation table that
// cannot be read.

#include "ConversionFolder.h"

class TestQuotationCopies : public QObject {
    Q_OBJECT
private slots:
    void quotationsInTheCurrentForms();
    void linesMatchedOnTheirDay();
    void quotationNumberHeldByAnotherQuotation_data();
    void quotationNumberHeldByAnotherQuotation();
    void quotationArrivesWholeOrNotAtAll_data();
    void quotationArrivesWholeOrNotAtAll();
    void quotationTableThatCannotBeRead_data();
    void quotationTableThatCannotBeRead();
};

void TestQuotationCopies::quotationsInTheCurrentForms()
{
    Folder f;
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({
        // A Jet file gives every date with its time of day, midnight for a plain date.
        QStringLiteral("insert into 見積書ヘッダ values (12, 'A社', '2004-03-09 00:00:00', 500, 10000, 10500, 10500.25, '様', -1, "
                       "'東京都' || char(13, 10) || '千代田区', '件名', NULL, '月末', '30日', '即納', '担当', '', '', NULL, 'メモ')"),
        QStringLiteral("insert into 見積書 values ('A社', '2004-03-09 13:05:59.500', 12, 1, 0, 'ペン', '区分', '10', '本', 1.5, "
                       "100, 150, 0, 'ぺん', 0, '備考')"),
        QStringLiteral("insert into 見積書 values ('A社', '2004-03-09 13:05:59.500', 12, 1, 1, ' 小 計', NULL, NULL, NULL, NULL, "
                       "NULL, 150, 0, NULL, -1, NULL)"),
    }));
    const QList<TableOutcome> out = f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
    QVERIFY(out[0].complete() && out[1].complete());
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("見積書ヘッダ")}),
             QStringList{QStringLiteral("見積書ヘッダ|12|'2004-03-09'|'A社'|'東京都\r\n千代田区'|'様'|'メモ'|'件名'|'30日'|'月末'|"
                                        "<null>|'即納'|5000000|100000000|105000000|105002500|'担当'|''|''|<null>|1")});
    // The line's date keeps its time of day; 商品区分 and 備考 are Null.
    QCOMPARE(TableSnapshot(f.data, {QStringLiteral("見積書")}),
             (QStringList{QStringLiteral("見積書|12|'A社'|'2004-03-09 13:05:59.500'|0|1|'ペン'|<null>|15000|'10'|'本'|"
                                         "1000000|1500000|0|'ぺん'|0|<null>"),
                          QStringLiteral("見積書|12|'A社'|'2004-03-09 13:05:59.500'|1|1|' 小 計'|<null>|<null>|<null>|"
                                         "<null>|<null>|1500000|0|<null>|1|<null>")}));
}

void TestQuotationCopies::linesMatchedOnTheirDay()
{
    // A line an earlier conversion stored at the whole second: the older
    // line of the same day updates it.
    Folder f({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 日付, 顧客名) values (12, '2004-03-09', 'A社')"),
              QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) "
                             "values (12, 'A社', '2004-03-09 13:05:59', 0, 1, '旧品名')")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (12, 'A社', '2004-03-09')"),
                       QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) "
                                      "values ('A社', '2004-03-09 13:05:59.750', 12, 1, 0, '新品名')")}));
    const QString lines = QStringLiteral("select 日付, 品名 from 見積書");
    for (int run = 1; run <= 2; ++run) {
        const QList<TableOutcome> out = f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
        QVERIFY2(out[1].complete(), qPrintable(out[1].summaryLine()));
        QCOMPARE(QueryCells(f.data, lines), QStringList{QStringLiteral("'2004-03-09 13:05:59.750'|'新品名'")});
    }
}

void TestQuotationCopies::quotationNumberHeldByAnotherQuotation_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<bool>("conflict");

    const auto header = [](const char* customer, const char* date) {
        return QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 件名) values (12, '%1', '%2', '今の件名')")
            .arg(QString::fromUtf8(customer), QString::fromUtf8(date));
    };
    const auto line = [](const char* customer, const char* date) {
        return QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) "
                              "values (12, '%1', '%2', 0, 1, '今の品名')")
            .arg(QString::fromUtf8(customer), QString::fromUtf8(date));
    };
    QTest::newRow("another customer") << QStringList{header("B社", "2004-03-09"), line("B社", "2004-03-09 10:15:00")} << true;
    QTest::newRow("another date") << QStringList{header("A社", "2004-03-10"), line("A社", "2004-03-10 10:15:00")} << true;
    QTest::newRow("header of another customer only") << QStringList{header("B社", "2004-03-09")} << true;
    QTest::newRow("lines of another customer only") << QStringList{line("B社", "2004-03-09 10:15:00")} << true;
    // Stored again by the quotation tab, the lines' time of day gone: the
    // same customer on the same day is the same quotation, updated.
    QTest::newRow("lines at another time of the day") << QStringList{header("A社", "2004-03-09"), line("A社", "2004-03-09")}
                                                      << false;
    QTest::newRow("the same quotation") << QStringList{header("A社", "2004-03-09"), line("A社", "2004-03-09 10:15:00")}
                                        << false;
    QTest::newRow("the same header without lines") << QStringList{header("A社", "2004-03-09")} << false;
}

void TestQuotationCopies::quotationNumberHeldByAnotherQuotation()
{
    QFETCH(QStringList, current);
    QFETCH(bool, conflict);
    Folder f(current);
    QVERIFY(f.opened);
    QVERIFY(f.makeOld({
        QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 件名) values (12, 'A社', '2004-03-09', '旧件名'), "
                       "(13, 'C社', '2004-04-01', '別件')"),
        QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values "
                       "('A社', '2004-03-09 10:15:00', 12, 1, 0, '旧品名1'), ('A社', '2004-03-09 10:15:00', 12, 1, 1, '旧品名2'), "
                       "('C社', '2004-04-01', 13, 1, 0, '別品名')"),
    }));
    const auto of12 = [&] {
        return QueryCells(f.data, QStringLiteral("select * from 見積書ヘッダ where 伝票番号 = 12")) +
               QueryCells(f.data, QStringLiteral("select * from 見積書 where 伝票番号 = 12 order by rowid"));
    };
    const QStringList before = of12();

    const QList<TableOutcome> out = f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
    // The other quotation is copied either way.
    QCOMPARE(QueryCells(f.data, QStringLiteral("select 件名 from 見積書ヘッダ where 伝票番号 = 13")), QStringList{"'別件'"});
    QCOMPARE(QueryCells(f.data, QStringLiteral("select count(*) from 見積書 where 伝票番号 = 13")), QStringList{"1"});

    if (conflict) {
        QCOMPARE(of12(), before);
        const QMap<LeftOut, QList<qint64>> named{{LeftOut::Conflict, {12}}};
        QCOMPARE(out[0].quotationsLeftOut, named);
        QCOMPARE(out[0].leftOut, 1);
        QCOMPARE(out[1].quotationsLeftOut, named);
        QCOMPARE(out[1].leftOut, 2);
        QCOMPARE(out[1].copied, 1);
        QVERIFY2(ConversionMessage(out).endsWith(QStringLiteral("\n\n次の見積書はヘッダも明細も変換していません。\n"
                                                                "別の見積書が登録済みの番号：伝票番号 12")),
                 qPrintable(ConversionMessage(out)));
    } else {
        QVERIFY(out[0].complete() && out[1].complete());
        QCOMPARE(QueryCells(f.data, QStringLiteral("select 顧客名, 日付, 件名 from 見積書ヘッダ where 伝票番号 = 12")),
                 QStringList{QStringLiteral("'A社'|'2004-03-09'|'旧件名'")});
        QCOMPARE(QueryCells(f.data, QStringLiteral("select 行番号, 品名 from 見積書 where 伝票番号 = 12 order by 行番号")),
                 (QStringList{QStringLiteral("0|'旧品名1'"), QStringLiteral("1|'旧品名2'")}));
    }
}

void TestQuotationCopies::quotationArrivesWholeOrNotAtAll_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("quotations");  // kQuotations after the run
    QTest::addColumn<QString>("named");           // the message's lines naming what was left out
    QTest::addColumn<QString>("counter");         // 最大見積書番号 after the run

    const auto header = [](int n, const char* customer, const char* date) {
        return QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (%1, %2, %3)")
            .arg(n)
            .arg(QString::fromUtf8(customer), QString::fromUtf8(date));
    };
    // Lines 0, 1, ... of a quotation, a customer and a date each (SQL literals).
    const auto lines = [](int n, const QList<std::pair<const char*, const char*>>& rows) {
        QStringList values;
        for (qsizetype i = 0; i < rows.size(); ++i)
            values << QStringLiteral("(%1, %2, %3, 1, %4, '品%4')")
                          .arg(QString::fromUtf8(rows[i].first), QString::fromUtf8(rows[i].second))
                          .arg(n)
                          .arg(i);
        return QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values ") +
               values.join(QStringLiteral(", "));
    };
    const QStringList whole1{header(1, "'A社'", "'2004-03-09'"), lines(1, {{"'A社'", "'2004-03-09 10:00:00'"}})};
    const QStringList current5{
        header(5, "'A社'", "'2004-03-09'"),
        QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) values (5, 'A社', '2004-03-09', 0, 1, '今の品名')")};

    QTest::newRow("a Null date, header and lines")
        << QStringList{} << QStringList{header(1, "'A社'", "NULL"), lines(1, {{"'A社'", "NULL"}, {"'A社'", "NULL"}})}
        << QStringList{"1|'A社'|2|'品0'"} << QString() << "1";
    QTest::newRow("a Null customer, header and lines")
        << QStringList{} << whole1 + QStringList{header(2, "NULL", "'2004-03-09'"), lines(2, {{"NULL", "'2004-03-09'"}, {"NULL", "'2004-03-09'"}})}
        << QStringList{"1|'A社'|1|'品0'"} << "顧客名が空の明細がある：伝票番号 2" << "1";
    // Line 0 is written before line 1 is read: it goes again.
    QTest::newRow("an empty customer on a later line")
        << QStringList{}
        << whole1 + QStringList{header(3, "'A社'", "'2004-03-09'"),
                                lines(3, {{"'A社'", "'2004-03-09'"}, {"''", "'2004-03-09'"}, {"'A社'", "'2004-03-09'"}})}
        << QStringList{"1|'A社'|1|'品0'"} << "顧客名が空の明細がある：伝票番号 3" << "1";
    QTest::newRow("lines without a header")
        << QStringList{} << whole1 + QStringList{lines(10000000, {{"'A社'", "'2004-03-09'"}})}
        << QStringList{"1|'A社'|1|'品0'"} << "見積書ヘッダがない：伝票番号 10000000" << "1";
    // The current file holds quotation 5 as the older one is: it stays as it is.
    QTest::newRow("a quotation held by the current file, a line without a customer")
        << current5
        << QStringList{header(5, "'A社'", "'2004-03-09'"), lines(5, {{"'A社'", "'2004-03-09 10:00:00'"}, {"NULL", "'2004-03-09'"}})}
        << QStringList{"5|'A社'|1|'今の品名'"} << "顧客名が空の明細がある：伝票番号 5" << "5";
    QTest::newRow("a quotation held by the current file, older lines without a header")
        << current5 << QStringList{lines(5, {{"'A社'", "'2004-03-09 10:00:00'"}, {"'A社'", "'2004-03-09 10:00:00'"}})}
        << QStringList{"5|'A社'|1|'今の品名'"} << "見積書ヘッダがない：伝票番号 5" << "5";
    QStringList many;
    for (int n = 1; n <= 12; ++n) many << header(n, "'A社'", "'2004-03-09'") << lines(n, {{"''", "'2004-03-09'"}});
    QTest::newRow("a long list is cut") << QStringList{} << many << QStringList{}
                                        << "顧客名が空の明細がある：伝票番号 1、2、3、4、5、6、7、8、9、10 ほか2件" << "<null>";
    QTest::newRow("reasons in their order")
        << QStringList{header(7, "'B社'", "'2004-03-09'")}
        << QStringList{header(7, "'A社'", "'2004-03-09'"), lines(7, {{"'A社'", "'2004-03-09'"}}), lines(8, {{"'A社'", "'2004-03-09'"}}),
                       header(9, "'A社'", "'2004-03-09'"), lines(9, {{"NULL", "'2004-03-09'"}})}
        << QStringList{"7|'B社'|0|<null>"}
        << "顧客名が空の明細がある：伝票番号 9\n別の見積書が登録済みの番号：伝票番号 7\n見積書ヘッダがない：伝票番号 8" << "7";
}

void TestQuotationCopies::quotationArrivesWholeOrNotAtAll()
{
    QFETCH(QStringList, current);
    QFETCH(QStringList, old);
    QFETCH(QStringList, quotations);
    QFETCH(QString, named);
    QFETCH(QString, counter);
    Folder f(current);
    QVERIFY(f.opened);
    QVERIFY(f.makeOld(old));
    const QStringList before = brokenQuotations(f.data);
    QStringList first;
    for (int run = 1; run <= 2; ++run) {
        const QList<TableOutcome> out = f.runAll();
        QCOMPARE(QueryCells(f.data, kQuotations), quotations);
        QCOMPARE(brokenQuotations(f.data), before);
        QCOMPARE(namedPart(out), named);
        QCOMPARE(QueryCells(f.data, QStringLiteral("select 最大見積書番号 from 自社情報")), QStringList{counter});
        // Every row read is counted once: copied, or skipped for a reason.
        for (const TableOutcome& o : out.mid(4))
            QVERIFY2(o.read == o.copied + o.leftOut + o.emptyKeys + o.badKeys, qPrintable(o.summaryLine()));
        // The second run changes nothing.
        const QStringList now = TableSnapshot(f.data, kAllTables);
        if (run == 1) first = now;
        else QCOMPARE(now, first);
    }
}

void TestQuotationCopies::quotationTableThatCannotBeRead_data()
{
    QTest::addColumn<QStringList>("old");  // with no schema of the quotation tables
    QTest::addColumn<int>("table");        // 0 headers, 1 lines: the one that cannot be read
    QTest::addColumn<QString>("reason");   // in its outcome
    QTest::addColumn<QString>("named");

    const QStringList schema = OldDataFile::schema();
    const QString headers = schema.filter(QStringLiteral("create table 見積書ヘッダ ")).value(0);
    const QString lines = schema.filter(QStringLiteral("create table 見積書 ")).value(0);
    const QString twoHeaders = QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (1, 'A社', '2004-03-09'), "
                                              "(2, 'A社', '2004-03-09')");
    const QString threeLines = QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values "
                                              "('A社', '2004-03-09', 1, 1, 0, 'ペン'), ('A社', '2004-03-09', 2, 1, 0, 'ペン'), "
                                              "('A社', '2004-03-09', 2, 1, 1, 'ペン')");

    QTest::newRow("no header table") << QStringList{lines, threeLines} << 0 << QString() << "見積書ヘッダがない：伝票番号 1、2";
    QTest::newRow("a header table without its date")
        << QStringList{QStringLiteral("create table 見積書ヘッダ (伝票番号 LONG, 顧客名 TEXT)"),
                       QStringLiteral("insert into 見積書ヘッダ values (1, 'A社'), (2, 'A社')"), lines, threeLines}
        << 0 << "旧データの見積書ヘッダに日付の項目がありません" << "見積書ヘッダがない：伝票番号 1、2";
    QTest::newRow("a header that cannot be read")
        << QStringList{headers, twoHeaders, QStringLiteral("update 見積書ヘッダ set 消費税 = '百円' where 伝票番号 = 2"), lines, threeLines}
        << 0 << "消費税" << "見積書ヘッダがない：伝票番号 1、2";
    QTest::newRow("no line table") << QStringList{headers, twoHeaders} << 1 << QString() << "明細を読み込めない：伝票番号 1、2";
    QTest::newRow("a line table without the fields the copy reads")
        << QStringList{headers, twoHeaders, QStringLiteral("create table 見積書 (番号 LONG, 内容 TEXT)"),
                       QStringLiteral("insert into 見積書 values (1, 'ペン')")}
        << 1 << "旧データの見積書に顧客名、日付、伝票番号、伝票区分、行番号の項目がありません" << "明細を読み込めない：伝票番号 1、2";
    // Read after the headers were written: they go back.
    QTest::newRow("a line that cannot be read")
        << QStringList{headers, twoHeaders, lines, threeLines, QStringLiteral("update 見積書 set 数量 = 'many' where 伝票番号 = 2")}
        << 1 << "数量" << "明細を読み込めない：伝票番号 1、2";
}

void TestQuotationCopies::quotationTableThatCannotBeRead()
{
    QFETCH(QStringList, old);
    QFETCH(int, table);
    QFETCH(QString, reason);
    QFETCH(QString, named);
    Folder f({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (40, 'Z社', '2020-01-06')"),
              QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名) values (40, 'Z社', '2020-01-06', 0, 1, '今')")});
    QVERIFY(f.opened);
    QVERIFY(f.makeOld(old, false));
    const QStringList before = TableSnapshot(f.data, kAllTables);
    const QList<TableOutcome> out = f.run({&DataConversion::CnvMitumoriHeader, &DataConversion::CnvMitumori});
    QCOMPARE(TableSnapshot(f.data, kAllTables), before);

    const TableOutcome& unread = out[table];
    const TableOutcome& heldBack = out[1 - table];
    if (reason.isEmpty()) QVERIFY(unread.missing);
    else QVERIFY2(unread.failure.logText().contains(reason), qPrintable(unread.failure.logText()));
    QCOMPARE(heldBack.failure.said, table == 0 ? QStringLiteral("見積書ヘッダを変換できないため、明細も書き込んでいません")
                                          : QStringLiteral("見積書（明細）を変換できないため、ヘッダも書き込んでいません"));
    QVERIFY(heldBack.summaryLine().endsWith(QStringLiteral("このテーブルは変更していません")));
    QCOMPARE(namedPart(out), named);
}

QTEST_GUILESS_MAIN(TestQuotationCopies)
#include "tst_quotation_copies.moc"
