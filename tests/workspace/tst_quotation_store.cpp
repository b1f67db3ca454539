// The quotation store without the window: the stored form, the all-or-nothing
// store, the masters it registers, quotation numbers, and the history query.

#include "StoreSamples.h"
#include "platform/Database.h"
#include "support/TestFolder.h"
#include "workspace/QuotationStore.h"

#include <QSqlRecord>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace samples;

class TestQuotationStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fullQuotationRoundTrip();
    void storeReplacesTheNumber();
    void failedStoreLeavesEverything_data();
    void failedStoreLeavesEverything();
    void mastersAfterStoring();
    void quotationNumbers_data();
    void quotationNumbers();
    void queryHistory_data();
    void queryHistory();

private:
    // A fresh data folder for each test; the tests open its data file in db_.
    std::unique_ptr<TestFolder> data_;
    Database db_;
};

void TestQuotationStore::init()
{
    data_ = std::make_unique<TestFolder>();
}

void TestQuotationStore::cleanup()
{
    db_.close();
    data_.reset();
}

void TestQuotationStore::fullQuotationRoundTrip()
{
    QVERIFY(db_.open(data_->dataDbPath()));
    QuotationRecord q;
    q.header = header(41, QStringLiteral("O'Brien 商事"));
    q.header.顧客情報 = QString();  // an empty customer block is kept as an empty text
    // 100 lines: products, tax-exempt lines, a subtotal after every ninth line,
    // blank lines in between, and a named last line.
    for (int i = 0; i < 100; ++i) {
        if (i % 10 == 9) {
            q.lines << subtotal(1000 + i);
        } else if (i % 7 == 3) {
            q.lines << QuotationLine{};
        } else {
            QuotationLine l = product(QStringLiteral("鉛筆 'HB' 第%1号").arg(i), i + 1, 30 + i, i % 4 == 0);
            if (i % 5 == 0) l.入数 = QVariant();
            q.lines << l;
        }
    }
    q.lines[99] = product(QStringLiteral("最終行の品"), 3, 999);
    const StoreOutcome outcome = StoreQuotation(db_, q, codesOf(db_));
    QVERIFY2(outcome.ok, qPrintable(outcome.error.logText()));

    bool ok = false;
    const auto back = LoadQuotation(db_, 41, &ok);
    QVERIFY(ok);
    QVERIFY(back);
    QCOMPARE(back->header.伝票番号, 41);
    QCOMPARE(back->header.日付, q.header.日付);
    QCOMPARE(back->header.顧客名, q.header.顧客名);
    QCOMPARE(back->header.顧客情報, QVariant(QString()));
    QCOMPARE(back->header.敬称, q.header.敬称);
    QCOMPARE(back->header.メモ, q.header.メモ);
    QCOMPARE(back->header.件名, q.header.件名);
    QCOMPARE(back->header.有効期限, q.header.有効期限);
    QCOMPARE(back->header.支払条件, q.header.支払条件);
    QCOMPARE(back->header.受渡場所, q.header.受渡場所);
    QCOMPARE(back->header.納期, q.header.納期);
    QCOMPARE(back->header.消費税, q.header.消費税);
    QCOMPARE(back->header.税抜計, q.header.税抜計);
    QCOMPARE(back->header.合計, q.header.合計);
    QCOMPARE(back->header.見積金額, q.header.見積金額);
    for (int i = 0; i < 4; ++i) QCOMPARE(back->header.印鑑[i], QVariant(dbv::text(q.header.印鑑[i])));
    // Empty customer block and seal titles are stored as empty texts, not Null.
    QCOMPARE(db_.scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 41 and 顧客情報 = '' "
                                                   "and 印鑑2 = '' and 印鑑4 = ''")).toInt(), 1);
    QCOMPARE(back->lines.size(), 100);
    for (int i = 0; i < 100; ++i) {
        const QuotationLine& a = back->lines[i];
        const QuotationLine& e = q.lines[i];
        QVERIFY2(a == e, qPrintable(QStringLiteral("line %1: %2 / %3").arg(i + 1).arg(dbv::text(a.品名), dbv::text(e.品名))));
    }
    // Stored numbering: 行番号 0..99 without gaps, 伝票区分 1, blank lines with a Null name.
    QCOMPARE(db_.scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 41 and 伝票区分 = 1 "
                                                   "and 行番号 between 0 and 99")).toInt(), 100);
    const auto blanks = std::count_if(q.lines.begin(), q.lines.end(), [](const QuotationLine& l) { return l.isBlank(); });
    QVERIFY(blanks > 10);
    QCOMPARE(db_.scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 41 and 品名 is null")).toInt(),
             int(blanks));
    // The lines after the last one that holds anything are not stored; names lose their outer blanks.
    q.lines = {product(QStringLiteral("  前後に空白  "), 1, 10), QuotationLine{}, product(QStringLiteral("三行目"), 1, 10),
               QuotationLine{}, QuotationLine{}};
    QVERIFY(StoreQuotation(db_, q, codesOf(db_)).ok);
    const auto short_ = LoadQuotation(db_, 41);
    QVERIFY(short_);
    QCOMPARE(short_->lines.size(), 3);
    QCOMPARE(short_->lines[0].品名, QVariant(QStringLiteral("前後に空白")));
    QVERIFY(short_->lines[1].isBlank());
    QCOMPARE(short_->lines[2].品名, QVariant(QStringLiteral("三行目")));
    // A last line whose name is an empty text (not Null) holds something:
    // it is stored and comes back as it was, so it prints after a reload too.
    QuotationLine emptyName;
    emptyName.品名 = QStringLiteral("");
    q.lines = {product(QStringLiteral("一行目"), 1, 10), QuotationLine{}, emptyName, QuotationLine{}};
    QVERIFY(StoreQuotation(db_, q, codesOf(db_)).ok);
    const auto withEmptyName = LoadQuotation(db_, 41);
    QVERIFY(withEmptyName);
    QCOMPARE(UsedLineCount(withEmptyName->lines), 3);
    QCOMPARE(withEmptyName->lines[2], emptyName);

    // Lines stored with gaps in 行番号 come back in their order, without gaps.
    QVERIFY(db_.exec(QStringLiteral("insert into 見積書ヘッダ (伝票番号, 日付) values (77, '2024-01-01')")));
    QVERIFY(db_.exec(QStringLiteral("insert into 見積書 (伝票番号, 行番号, 伝票区分, 品名) "
                                                "values (77, 5, 1, 'c'), (77, 0, 1, 'a'), (77, 1, 1, 'b')")));
    const auto gaps = LoadQuotation(db_, 77);
    QVERIFY(gaps);
    QCOMPARE(gaps->lines.size(), 3);
    QCOMPARE(gaps->lines[0].品名, QVariant(QStringLiteral("a")));
    QCOMPARE(gaps->lines[2].品名, QVariant(QStringLiteral("c")));
    QVERIFY(dbv::isNull(gaps->header.顧客名));
}

void TestQuotationStore::storeReplacesTheNumber()
{
    QVERIFY(db_.open(data_->dataDbPath()));
    QuotationRecord first{header(7, QStringLiteral("甲社")), {}};
    for (int i = 0; i < 8; ++i) first.lines << product(QStringLiteral("旧%1").arg(i), 1, 100);
    QVERIFY(StoreQuotation(db_, first, codesOf(db_)).ok);
    QuotationRecord other{header(8, QStringLiteral("乙社")), {product(QStringLiteral("別"), 1, 1)}};
    QVERIFY(StoreQuotation(db_, other, codesOf(db_)).ok);

    QuotationRecord second{header(7, QStringLiteral("丙社")), {}};
    second.header.件名 = QVariant();
    for (int i = 0; i < 5; ++i) second.lines << product(QStringLiteral("新%1").arg(i), 2, 200);
    QVERIFY(StoreQuotation(db_, second, codesOf(db_)).ok);

    QCOMPARE(db_.scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 7")).toInt(), 1);
    const auto rows = db_.rows(QStringLiteral("select 行番号, 品名, 顧客名 from 見積書 where 伝票番号 = 7 order by 行番号"));
    QCOMPARE(rows.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(rows[i].value(0).toInt(), i);
        QCOMPARE(rows[i].value(1).toString(), QStringLiteral("新%1").arg(i));
        QCOMPARE(rows[i].value(2).toString(), QStringLiteral("丙社"));
    }
    const auto back = LoadQuotation(db_, 7);
    QCOMPARE(back->header.顧客名, QVariant(QStringLiteral("丙社")));
    QVERIFY(dbv::isNull(back->header.件名));
    // The other quotation is untouched.
    QCOMPARE(LoadQuotation(db_, 8)->lines.size(), 1);
}

void TestQuotationStore::failedStoreLeavesEverything_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("a line is refused") << QStringLiteral(
        "create trigger refuse before insert on 見積書 when new.品名 = '拒否' begin select raise(abort, 'refused'); end");
    QTest::newRow("the header is refused") << QStringLiteral(
        "create trigger refuse before insert on 見積書ヘッダ when new.件名 = '新版' begin select raise(abort, 'refused'); end");
    QTest::newRow("the counter is refused") << QStringLiteral(
        "create trigger refuse before update on 自社情報 when new.最大見積書番号 = 50 begin select raise(abort, 'refused'); end");
    QTest::newRow("a code value is refused") << QStringLiteral(
        "create trigger refuse before update on コードマスタ when new.sname = '新しい期限' begin select raise(abort, 'refused'); end");
    QTest::newRow("a new product is refused") << QStringLiteral(
        "create trigger refuse before insert on 商品マスタ when new.品名 = '新商品' begin select raise(abort, 'refused'); end");
}

void TestQuotationStore::failedStoreLeavesEverything()
{
    QFETCH(QString, trigger);
    QVERIFY(db_.open(data_->dataDbPath()));
    QuotationRecord old{header(50, QStringLiteral("旧顧客")), {product(QStringLiteral("旧商品"), 1, 100)}};
    old.header.件名 = QStringLiteral("旧版");
    QVERIFY(StoreQuotation(db_, old, codesOf(db_)).ok);
    // The counter is below the number, so the new version would raise it.
    QVERIFY(db_.exec(QStringLiteral("update 自社情報 set 最大見積書番号 = 49")));
    QVERIFY(db_.exec(trigger));
    const QStringList before = snapshot(db_);

    QuotationRecord next{header(50, QStringLiteral("新顧客")), {}};
    next.header.件名 = QStringLiteral("新版");
    next.header.有効期限 = QStringLiteral("新しい期限");
    next.lines << product(QStringLiteral("旧商品"), 2, 300) << product(QStringLiteral("新商品"), 1, 10)
               << product(QStringLiteral("拒否"), 1, 10);
    next.lines[1].単位 = QStringLiteral("新単位");
    const StoreOutcome outcome = StoreQuotation(db_, next, codesOf(db_));
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.error.logText().contains(QStringLiteral("refused")));
    QCOMPARE(snapshot(db_), before);
    QVERIFY(!db_.inTransaction());
    QCOMPARE(LoadQuotation(db_, 50)->header.件名, QVariant(QStringLiteral("旧版")));
}

void TestQuotationStore::mastersAfterStoring()
{
    QVERIFY(db_.open(data_->dataDbPath()));
    Database& db = db_;
    QVERIFY(db.exec(QStringLiteral("insert into 商品マスタ (品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな) "
                                   "values ('ボルト', '金物', '100', '箱', 5000000, 0, 'ぼると')")));
    QVERIFY(db.exec(QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) "
                                   "values ('既存商店', '大阪市', 'きぞんしょうてん', '様')")));
    QVERIFY(db.exec(QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '01'")));

    // The existing product is typed by name only: its 商品区分, 入数, 単位, ふりがな stay.
    QuotationLine bolt;
    bolt.品名 = QStringLiteral(" ボルト ");
    bolt.数量 = yen(3);
    bolt.単価 = yen(600);
    bolt.金額 = yen(1800);
    QuotationLine pencil = product(QStringLiteral("O'Neil's 鉛筆"), 1, 80);
    pencil.単位 = QStringLiteral("個");
    QuotationLine pencilAgain = product(QStringLiteral("O'Neil's 鉛筆"), 1, 90);
    pencilAgain.単位 = QStringLiteral("ダース");
    pencilAgain.ふりがな = QVariant();
    QuotationRecord q{header(12, QStringLiteral("既存商店")), {bolt, pencil, subtotal(2680), QuotationLine{}, pencilAgain}};
    q.header.顧客情報 = QString();  // left empty on the quotation: the stored block stays
    QVERIFY(StoreQuotation(db, q, codesOf(db_)).ok);

    const auto boltRow = db.firstRow(QStringLiteral("select 商品区分, 入数, 単位, 単価, ふりがな from 商品マスタ where 品名 = 'ボルト'"));
    QVERIFY(boltRow);
    QCOMPARE(boltRow->value(0).toString(), QStringLiteral("金物"));
    QCOMPARE(boltRow->value(1).toString(), QStringLiteral("100"));
    QCOMPARE(boltRow->value(2).toString(), QStringLiteral("箱"));
    QCOMPARE(boltRow->value(3).toLongLong(), yen(600).raw());
    QCOMPARE(boltRow->value(4).toString(), QStringLiteral("ぼると"));
    // A new product with an apostrophe: one row, the last line of the name wins where it holds a value.
    const auto pencilRows = db.rows(QStringLiteral("select 商品区分, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ where 品名 = ?"),
                                    {QStringLiteral("O'Neil's 鉛筆")});
    QCOMPARE(pencilRows.size(), 1);
    QCOMPARE(pencilRows[0].value(0).toString(), QStringLiteral("文具"));
    QCOMPARE(pencilRows[0].value(2).toString(), QStringLiteral("ダース"));
    QCOMPARE(pencilRows[0].value(3).toLongLong(), yen(90).raw());
    QCOMPARE(pencilRows[0].value(5).toString(), QStringLiteral("えんぴつ"));
    // A subtotal line is no product.
    QCOMPARE(db.scalar(QStringLiteral("select count(*) from 商品マスタ where 品名 like '%小%計%'")).toInt(), 0);
    // The customer keeps its block and reading, takes the new honorific.
    const auto customer = db.rows(QStringLiteral("select 顧客情報, ふりがな, 敬称 from 顧客マスタ where 顧客名 = '既存商店'"));
    QCOMPARE(customer.size(), 1);
    QCOMPARE(customer[0].value(0).toString(), QStringLiteral("大阪市"));
    QCOMPARE(customer[0].value(1).toString(), QStringLiteral("きぞんしょうてん"));
    QCOMPARE(customer[0].value(2).toString(), QStringLiteral("御中"));
    // Code values: new units once each, the header's four lists.
    QCOMPARE(codeValues(db_, QStringLiteral("単位")), (QStringList{QStringLiteral("個"), QStringLiteral("ダース")}));
    QCOMPARE(codeValues(db_, QStringLiteral("有効期限")), QStringList{QStringLiteral("発行後30日")});
    QCOMPARE(codeValues(db_, QStringLiteral("支払条件")), QStringList{QStringLiteral("月末締め翌月末払い")});
    QCOMPARE(codeValues(db_, QStringLiteral("受渡場所")), QStringList{QStringLiteral("貴社指定場所")});
    QCOMPARE(codeValues(db_, QStringLiteral("納期")), QStringList{QStringLiteral("受注後1週間")});
    QCOMPARE(counter(db_).toInt(), 12);

    // A new customer with an apostrophe is written in full; a lower number leaves the counter.
    QuotationRecord second{header(5, QStringLiteral("山田's 工房")), {}};
    second.header.有効期限 = QVariant();
    QVERIFY(StoreQuotation(db, second, codesOf(db_)).ok);
    const auto added = db.rows(QStringLiteral("select 顧客情報, 敬称 from 顧客マスタ where 顧客名 = ?"), {QStringLiteral("山田's 工房")});
    QCOMPARE(added.size(), 1);
    QCOMPARE(added[0].value(0).toString(), dbv::text(second.header.顧客情報));
    QCOMPARE(counter(db_).toInt(), 12);
    QCOMPARE(codeValues(db_, QStringLiteral("有効期限")).size(), 1);
}

void TestQuotationStore::quotationNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored");  // 0: refused for storing
    QTest::addColumn<int>("looked");  // 0: looks up nothing
    QTest::newRow("plain") << "12" << 12 << 12;
    QTest::newRow("blanks") << " 12 " << 12 << 12;
    QTest::newRow("largest") << "2147483647" << 2147483647 << 2147483647;
    QTest::newRow("too large") << "2147483648" << 0 << 0;
    QTest::newRow("zero") << "0" << 0 << 0;
    QTest::newRow("negative") << "-3" << 0 << -3;
    QTest::newRow("half to even down") << "12.5" << 0 << 12;
    QTest::newRow("half to even up") << "13.5" << 0 << 14;
    QTest::newRow("grouping") << "1,234" << 0 << 1234;
    QTest::newRow("letters") << "12a" << 0 << 0;
    QTest::newRow("full width") << "１２" << 0 << 0;
}

void TestQuotationStore::quotationNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, stored);
    QFETCH(int, looked);
    QCOMPARE(ParseQuotationNumber(text).value_or(0), stored);
    QCOMPARE(LookupQuotationNumber(text).value_or(0), looked);
}

void TestQuotationStore::queryHistory_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QList<int>>("numbers");
    // Over kListed: newest date first, ties by number highest first; a date
    // stored with a time of day (5) belongs to its day.
    QTest::newRow("no filter") << "" << "" << "" << QList<int>{6, 5, 7, 4, 3, 2, 1};
    QTest::newRow("customer") << "甲商事" << "" << "" << QList<int>{6, 5, 3, 1};
    QTest::newRow("customer with apostrophe") << "乙's 工業" << "" << "" << QList<int>{4, 2};
    QTest::newRow("date range, both ends included") << "" << "2024-05-01" << "2024-05-31" << QList<int>{5, 7, 4, 3, 2};
    QTest::newRow("last date only") << "" << "" << "2024-05-15" << QList<int>{4, 3, 2, 1};
    QTest::newRow("first date only") << "" << "2024-05-31" << "" << QList<int>{6, 5};
    QTest::newRow("customer and range") << "甲商事" << "2024-05-02" << "2024-05-31" << QList<int>{5, 3};
    QTest::newRow("customer matching nothing") << "甲" << "" << "" << QList<int>{};
}

void TestQuotationStore::queryHistory()
{
    QFETCH(QString, customer);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QList<int>, numbers);
    QVERIFY(db_.open(data_->dataDbPath()));
    QVERIFY(storeListed(db_));

    HistoryFilter filter;
    filter.顧客名 = customer;
    if (!from.isEmpty()) filter.開始 = QDate::fromString(from, Qt::ISODate);
    if (!to.isEmpty()) filter.終了 = QDate::fromString(to, Qt::ISODate);
    bool ok = false;
    const QList<HistoryRow> rows = QueryHistory(db_, filter, &ok);
    QVERIFY(ok);
    QList<int> got;
    for (const HistoryRow& r : rows) {
        got << r.伝票番号;
        const Listed& s = *std::find_if(kListed.begin(), kListed.end(), [&](const Listed& x) { return x.number == r.伝票番号; });
        QCOMPARE(r.日付.toString(), s.date);
        QCOMPARE(r.件名.toString(), QStringLiteral("件名%1").arg(s.number));
    }
    QCOMPARE(got, numbers);
}

QTEST_MAIN(TestQuotationStore)
#include "tst_quotation_store.moc"
