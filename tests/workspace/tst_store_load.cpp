// Storing, reopening, browsing and deleting quotations: the stored form, the
// all-or-nothing store, the masters it registers, and the quotation tab's
// buttons end to end.

#include "platform/GridView.h"
#include "workspace/QuotationStore.h"
#include "app/CodeLists.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "frame/Velt.h"
#include "platform/WorkTableModel.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

namespace {

Currency yen(qint64 v)
{
    return Currency::fromWhole(v);
}

QuotationLine product(const QString& name, qint64 qty, qint64 price, bool exempt = false)
{
    QuotationLine l;
    l.品名 = name;
    l.商品区分 = QStringLiteral("文具");
    l.入数 = QStringLiteral("12");
    l.数量 = yen(qty);
    l.単位 = QStringLiteral("本");
    l.単価 = yen(price);
    l.金額 = yen(qty * price);
    l.非課税 = exempt;
    l.ふりがな = QStringLiteral("えんぴつ");
    return l;
}

QuotationLine subtotal(qint64 amount)
{
    QuotationLine l;
    l.品名 = QStringLiteral("小 計");
    l.金額 = yen(amount);
    l.小計 = true;
    return l;
}

QuotationHeader header(int number, const QString& customer)
{
    QuotationHeader h;
    h.伝票番号 = number;
    h.日付 = QDate(2024, 5, 31);
    h.顧客名 = customer;
    h.顧客情報 = QStringLiteral("〒100-0001\r\n東京都千代田区1-1\r\nTEL 03-0000-0000");
    h.敬称 = QStringLiteral("御中");
    h.メモ = QStringLiteral("搬入は\r\n午前中");
    h.件名 = QStringLiteral("事務用品 'A' 一式");
    h.有効期限 = QStringLiteral("発行後30日");
    h.支払条件 = QStringLiteral("月末締め翌月末払い");
    h.受渡場所 = QStringLiteral("貴社指定場所");
    h.納期 = QStringLiteral("受注後1週間");
    h.消費税 = yen(500);
    h.税抜計 = yen(10000);
    h.合計 = yen(10500);
    h.見積金額 = yen(10500);
    h.印鑑 = {QStringLiteral("承認"), QString(), QStringLiteral("担当"), QString()};
    return h;
}

// Every row of the tables a store touches: equal snapshots mean nothing changed.
QStringList snapshot(Database& db)
{
    return TableSnapshot(db, {QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書"), QStringLiteral("顧客マスタ"),
                              QStringLiteral("商品マスタ"), QStringLiteral("コードマスタ"), QStringLiteral("自社情報")});
}

// The registrar a store is given: code values into the data database's lists.
CodeRegistrar codesOf(Database& db)
{
    return [&db](const QString& kcode, const QString& value) { return AutoEntryCode(db, kcode, value); };
}

QStringList codeValues(Database& db, const QString& kcode)
{
    QStringList out;
    for (const QSqlRecord& r : db.rows(
             QStringLiteral("select sname from コードマスタ where kcode = ? and sname is not null order by code"), {kcode}))
        out << r.value(0).toString();
    return out;
}

QVariant counter(Database& db)
{
    return db.scalar(QStringLiteral("select 最大見積書番号 from 自社情報"));
}

}  // namespace

class TestStoreLoad : public QObject {
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

    void windowStoresAndReopens();
    void windowShowsFailedStoreAndKeepsScreen();
    void storeIntoAMovedDataFileFails_data();
    void storeIntoAMovedDataFileFails();
    void linesNotWrittenOrNotReadStopTheStore_data();
    void linesNotWrittenOrNotReadStopTheStore();
    void requiredFieldsStopTheStore_data();
    void requiredFieldsStopTheStore();
    void previousNextAcrossGapsAndDelete();
    void notNumericNumberLoadsNothing();
    void deleteTakesTheNumberTheLoadTook_data();
    void deleteTakesTheNumberTheLoadTook();
    void loadIsAllOrNothing_data();
    void loadIsAllOrNothing();
    void typedNumberIsLoadedOnEnterOnly();
    void typedNumberThenStoreStoresTheScreen();

private:
    // A fresh data folder for the plain tests, with its data file open.
    std::unique_ptr<TestFolder> data_;
    Database db_;
};

void TestStoreLoad::init()
{
    data_ = std::make_unique<TestFolder>();
}

void TestStoreLoad::cleanup()
{
    db_.close();
    data_.reset();
}

void TestStoreLoad::fullQuotationRoundTrip()
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
    QVERIFY2(outcome.ok, qPrintable(outcome.error));

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

void TestStoreLoad::storeReplacesTheNumber()
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

void TestStoreLoad::failedStoreLeavesEverything_data()
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

void TestStoreLoad::failedStoreLeavesEverything()
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
    QVERIFY(outcome.error.contains(QStringLiteral("refused")));
    QCOMPARE(snapshot(db_), before);
    QVERIFY(!db_.inTransaction());
    QCOMPARE(LoadQuotation(db_, 50)->header.件名, QVariant(QStringLiteral("旧版")));
}

void TestStoreLoad::mastersAfterStoring()
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

void TestStoreLoad::quotationNumbers_data()
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

void TestStoreLoad::quotationNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, stored);
    QFETCH(int, looked);
    QCOMPARE(ParseQuotationNumber(text).value_or(0), stored);
    QCOMPARE(LookupQuotationNumber(text).value_or(0), looked);
}

// ---------------------------------------------------------------- the window

namespace {

void fillScreen(MainWindowFixture& f, const QString& number)
{
    control<QLineEdit>(f.quotation(), "txtNo")->setText(number);
    control<DateBox>(f.quotation(), "dt日付")->setDate(QDate(2024, 6, 3));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("O'Hara 株式会社"));
    control<TextComboBox>(f.quotation(), "cmb敬称")->setText(QStringLiteral("御中"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("〒530-0001\r\n大阪市北区"));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("机 'L' 型"));
    control<MultiLineEdit>(f.quotation(), "txtメモ")->setText(QStringLiteral("一行目\r\n二行目"));
    control<TextComboBox>(f.quotation(), "cmb有効期限")->setText(QStringLiteral("1か月"));
    control<TextComboBox>(f.quotation(), "cmb支払条件")->setText(QString());
    control<TextComboBox>(f.quotation(), "cmb受渡場所")->setText(QStringLiteral("現地"));
    control<TextComboBox>(f.quotation(), "cmb納期")->setText(QString());
    control<NumberBox>(f.quotation(), "num税抜計")->setValue(yen(3000));
    control<NumberBox>(f.quotation(), "num消費税")->setValue(yen(150));
    control<NumberBox>(f.quotation(), "num合計")->setValue(yen(3150));
    control<NumberBox>(f.quotation(), "num見積金額")->setValue(yen(3150));
    for (int i = 0; i < 4; ++i) control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))->setText(i == 1 ? QString() : QStringLiteral("印%1").arg(i));
    QList<QuotationLine> lines{product(QStringLiteral("机"), 1, 2000), QuotationLine{}, product(QStringLiteral("椅子"), 2, 500),
                               subtotal(3000)};
    lines[2].非課税 = true;
    QVERIFY(WriteWorkLines(f.work(), lines));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
}

QStringList titles(RecordingPresenter& p)
{
    QStringList out;
    for (const auto& s : p.shown()) out << s.title;
    return out;
}

}  // namespace

void TestStoreLoad::windowStoresAndReopens()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("21"));
    f.messages.clear();
    control<QPushButton>(f.quotation(), "cmd登録")->click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("登録完了")}));
    QVERIFY(f.messages.shown()[0].text.contains(QStringLiteral("O'Hara 株式会社")));
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    QCOMPARE(control<QLabel>(f.quotation(), "EntryMsg")->text(), QStringLiteral("登録中です････"));
    // A fresh quotation with the next number follows.
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("22"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QString());
    QVERIFY(ReadWorkLines(f.work())[0].isBlank());

    // Scramble the screen, then open 21 by typing its number.
    fillScreen(f, QStringLiteral("99"));
    QVERIFY(WriteWorkLines(f.work(), QList<QuotationLine>(100, product(QStringLiteral("別物"), 1, 1))));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("別"));
    control<QLineEdit>(f.quotation(), "txtNo")->clear();
    QTest::keyClicks(control<QLineEdit>(f.quotation(), "txtNo"), QStringLiteral("21"));
    QTest::keyClick(control<QLineEdit>(f.quotation(), "txtNo"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(f.quotation(), "EntryMsg")->text(), QStringLiteral("読込中です･･･"));
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("21"));
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->date(), std::optional<QDate>(QDate(2024, 6, 3)));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb敬称")->text(), QStringLiteral("御中"));
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), QStringLiteral("〒530-0001\r\n大阪市北区"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("机 'L' 型"));
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txtメモ")->text(), QStringLiteral("一行目\r\n二行目"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb有効期限")->text(), QStringLiteral("1か月"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb支払条件")->text(), QString());
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb受渡場所")->text(), QStringLiteral("現地"));
    // The totals are recomputed from the loaded lines; the quotation amount stays as stored.
    QCOMPARE(control<NumberBox>(f.quotation(), "num見積金額")->value(), std::optional<Currency>(yen(3150)));
    const auto stored = LoadQuotationHeader(f.data(), 21);
    QVERIFY(stored);
    QCOMPARE(stored->税抜計, std::optional<Currency>(yen(3000)));
    QCOMPARE(stored->消費税, std::optional<Currency>(yen(150)));
    QCOMPARE(stored->合計, std::optional<Currency>(yen(3150)));
    QCOMPARE(stored->見積金額, std::optional<Currency>(yen(3150)));
    QVERIFY(dbv::isNull(stored->支払条件));
    QCOMPARE(stored->印鑑[1], QVariant(QString()));
    QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(0))->text(), QStringLiteral("印0"));
    QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(1))->text(), QString());
    QCOMPARE(f.quotation().DetailsChanged, std::optional<bool>(false));
    // Lines: the blank line in between is still there; rows after the stored ones are blank.
    const QList<QuotationLine> lines = ReadWorkLines(f.work());
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines[0].品名, QVariant(QStringLiteral("机")));
    QVERIFY(lines[1].isBlank());
    QCOMPARE(lines[2].品名, QVariant(QStringLiteral("椅子")));
    QVERIFY(lines[2].非課税);
    QVERIFY(lines[3].小計);
    QCOMPARE(lines[3].金額, std::optional<Currency>(yen(3000)));
    for (int i = 4; i < 100; ++i) QVERIFY(lines[i].isBlank());
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->text(2, 1), QStringLiteral("椅子"));
    // Customer, product and code values were registered.
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 顧客マスタ where 顧客名 = ?"),
                                    {QStringLiteral("O'Hara 株式会社")}).toInt(), 1);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 商品マスタ where 品名 in ('机', '椅子')")).toInt(), 2);
    QCOMPARE(codeValues(f.data(), QStringLiteral("有効期限")), QStringList{QStringLiteral("1か月")});
    QCOMPARE(counter(f.data()).toInt(), 21);
}

void TestStoreLoad::windowShowsFailedStoreAndKeepsScreen()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.data().exec(QStringLiteral(
        "create trigger refuse before insert on 見積書ヘッダ begin select raise(abort, 'disk says no'); end")));
    fillScreen(f, QStringLiteral("30"));
    const QStringList before = snapshot(f.data());
    f.messages.clear();
    f.quotation().cmd登録_Click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")}));
    QVERIFY(f.messages.shown()[1].detail.contains(QStringLiteral("disk says no")));
    QCOMPARE(snapshot(f.data()), before);
    QVERIFY(!control<QFrame>(f.quotation(), "CnEntryMsg")->isVisible());
    // The screen is as it was, ready to be stored again.
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("30"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("机 'L' 型"));
    QCOMPARE(ReadWorkLines(f.work())[2].品名, QVariant(QStringLiteral("椅子")));
}

// A data file deleted or moved away under the running program still takes
// SQLite's writes, which are lost at exit: 登録 says it failed and names the
// file, never 登録完了, and the screen stays to be stored again.
void TestStoreLoad::storeIntoAMovedDataFileFails_data()
{
    QTest::addColumn<bool>("moved");  // moved away rather than deleted
    QTest::newRow("deleted") << false;
    QTest::newRow("moved away") << true;
}

void TestStoreLoad::storeIntoAMovedDataFileFails()
{
    QFETCH(bool, moved);
    MainWindowFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("31"));
    const QString path = f.folder.dataDbPath();
    const QString away = f.folder.dataFolder() + QStringLiteral("elsewhere.mdb");
    QVERIFY(moved ? QFile::rename(path, away) : QFile::remove(path));
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(f.quotation(), "cmd登録"), Qt::LeftButton);
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("エラー")}));
    const QString failure = f.messages.shown()[1].text;
    QVERIFY2(failure.contains(QStringLiteral("見積書を登録できませんでした。")), qPrintable(failure));
    QVERIFY2(failure.contains(QDir::toNativeSeparators(path)), qPrintable(failure));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    if (moved) {
        // Nothing of it reached the file either.
        Database file;
        QVERIFY(file.open(away));
        QVERIFY(!LoadQuotationHeader(file, 31));
    }
}

// 登録 never stores a quotation whose lines it could not take from w明細: a
// cell still being edited that w明細 refuses, or lines that cannot be read.
// The failure box alone shows, no question and no 登録完了; nothing is stored
// and the screen stays.
void TestStoreLoad::linesNotWrittenOrNotReadStopTheStore_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("says");
    QTest::newRow("pending cell not written")
        << "create temp trigger refuse before update on w明細 begin select raise(abort, 'read-only file'); end" << true
        << "書き込めませんでした";
    QTest::newRow("lines not readable") << "alter table w明細 rename to w明細の控え" << false << "登録できませんでした";
}

void TestStoreLoad::linesNotWrittenOrNotReadStopTheStore()
{
    QFETCH(QString, damage);
    QFETCH(bool, editing);
    QFETCH(QString, says);
    MainWindowFixture f;
    QVERIFY(f.open());
    fillScreen(f, QStringLiteral("31"));
    QVERIFY(f.work().exec(damage));
    if (editing) {
        GridView* grid = control<GridView>(f.quotation(), "Grid明細");
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        QTest::keyClick(grid, Qt::Key_5);
        QVERIFY(grid->isEditing());
    }
    const QStringList before = snapshot(f.data());
    f.messages.clear();

    f.quotation().cmd登録_Click();

    QTRY_COMPARE(titles(f.messages), QStringList{QStringLiteral("エラー")});
    QVERIFY2(f.messages.shown()[0].text.contains(says), qPrintable(f.messages.shown()[0].text));
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(snapshot(f.data()), before);
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
}

void TestStoreLoad::requiredFieldsStopTheStore_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no number") << "" << true << "甲" << "入力項目のチェック" << "txtNo";
    QTest::newRow("no date") << "3" << false << "甲" << "入力項目のチェック" << "dt日付";
    QTest::newRow("no customer") << "3" << true << "" << "入力項目のチェック" << "cmb顧客名";
    QTest::newRow("number with letters") << "3a" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("number zero") << "0" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("decimal number") << "3.5" << true << "甲" << "入力注意" << "txtNo";
    QTest::newRow("number out of range") << "99999999999" << true << "甲" << "入力注意" << "txtNo";
}

void TestStoreLoad::requiredFieldsStopTheStore()
{
    QFETCH(QString, number);
    QFETCH(bool, dated);
    QFETCH(QString, customer);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    MainWindowFixture f;
    QVERIFY(f.open());
    QApplication::setActiveWindow(&f.window);
    fillScreen(f, number);
    if (!dated) control<DateBox>(f.quotation(), "dt日付")->setNull();
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(customer);
    const QStringList before = snapshot(f.data());
    f.messages.clear();
    f.quotation().cmd登録_Click();
    QCOMPARE(titles(f.messages), QStringList{title});
    if (title == u"入力注意") QVERIFY(f.messages.shown()[0].text.startsWith(QStringLiteral("伝票番号")));
    QCOMPARE(snapshot(f.data()), before);
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QWidget* target = f.window.findChild<QWidget*>(focus);
    QVERIFY(focused == target || target->isAncestorOf(focused));
}

void TestStoreLoad::previousNextAcrossGapsAndDelete()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    for (int n : {1, 2, 5}) {
        QuotationRecord q{header(n, QStringLiteral("顧客%1").arg(n)), {product(QStringLiteral("品%1").arg(n), n, 100)}};
        QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    }
    auto shown = [&] { return control<TextComboBox>(f.quotation(), "cmb顧客名")->text(); };
    auto firstLine = [&] { return dbv::text(ReadWorkLines(f.work())[0].品名); };

    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(shown(), QStringLiteral("顧客2"));
    control<QPushButton>(f.quotation(), "cmd次伝票")->click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("3"));
    QCOMPARE(shown(), QString());  // a gap: the screen is reset, the number stays
    QCOMPARE(firstLine(), QString());
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("5"));
    QCOMPARE(shown(), QStringLiteral("顧客5"));
    QCOMPARE(firstLine(), QStringLiteral("品5"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("2"));
    QCOMPARE(shown(), QStringLiteral("顧客2"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("1"));
    QCOMPARE(shown(), QStringLiteral("顧客1"));
    // Half numbers: 12.5 steps to 13.5, which opens 14.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("0.5"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd次伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("1.5"));
    QCOMPARE(shown(), QStringLiteral("顧客2"));

    // Delete 2 (answered No, then Yes), then step back onto it from 3.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    f.messages.clear();
    f.messages.answerNext(MessageAnswer::No);
    f.quotation().cmd削除_Click();
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 2")).toInt(), 1);
    f.messages.answerNext(MessageAnswer::Yes);
    control<QPushButton>(f.quotation(), "cmd削除")->click();
    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("削除の確認"), QStringLiteral("削除の確認")}));
    QVERIFY(f.messages.shown()[1].text.contains(QStringLiteral("伝票 2 ")));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 2")).toInt(), 0);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 2")).toInt(), 0);
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("3"));
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("2"));
    QCOMPARE(shown(), QString());
    control<HeaderPanel>(f.quotation(), "Header")->cmd前伝票_Click();
    QCOMPARE(shown(), QStringLiteral("顧客1"));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ")).toInt(), 2);
}

void TestStoreLoad::notNumericNumberLoadsNothing()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QuotationRecord q{header(1, QStringLiteral("顧客1")), {product(QStringLiteral("品1"), 1, 100)}};
    QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    fillScreen(f, QStringLiteral("abc"));
    f.messages.clear();
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力注意")});
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QString());
    // The lines and the header on screen stay.
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("机")));
    // Setting the number from code and leaving the box loads nothing; an
    // empty commit does nothing.
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("1"));
    emit control<QLineEdit>(f.quotation(), "txtNo")->editingFinished();
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(control<QLineEdit>(f.quotation(), "txtNo"), &focusOut);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QString());
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(f.messages.shown().size(), 1);
    // Typed and committed with Enter, the number loads.
    QTest::keyClicks(control<QLineEdit>(f.quotation(), "txtNo"), QStringLiteral("1"));
    QTest::keyClick(control<QLineEdit>(f.quotation(), "txtNo"), Qt::Key_Return);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("顧客1"));
    QCOMPARE(ReadWorkLines(f.work())[0].品名, QVariant(QStringLiteral("品1")));
    QCOMPARE(f.messages.shown().size(), 1);
}

void TestStoreLoad::deleteTakesTheNumberTheLoadTook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("deleted");  // 0: nothing can be deleted, a warning instead
    QTest::newRow("plain") << "2" << 2;
    QTest::newRow("with a decimal point") << "2.0" << 2;
    QTest::newRow("a half deletes nothing") << "2.5" << 0;
    QTest::newRow("12.5 deletes nothing") << "12.5" << 0;
    QTest::newRow("not a number") << "2a" << 0;
}

void TestStoreLoad::deleteTakesTheNumberTheLoadTook()
{
    QFETCH(QString, typed);
    QFETCH(int, deleted);
    MainWindowFixture f;
    QVERIFY(f.open());
    for (int n : {2, 3}) {
        QuotationRecord q{header(n, QStringLiteral("顧客%1").arg(n)), {product(QStringLiteral("品%1").arg(n), n, 100)}};
        QVERIFY(StoreQuotation(f.data(), q, codesOf(f.data())).ok);
    }
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("2"));
    control<HeaderPanel>(f.quotation(), "Header")->txtNo_Commit();
    control<QLineEdit>(f.quotation(), "txtNo")->setText(typed);
    f.messages.clear();
    f.messages.setDefaultAnswer(MessageAnswer::Yes);
    f.quotation().cmd削除_Click();
    auto count = [&f](int n) {
        return f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = ?"), {n}).toInt();
    };
    QCOMPARE(count(3), 1);
    if (deleted) {
        QCOMPARE(count(deleted), 0);
        QCOMPARE(titles(f.messages), QStringList{QStringLiteral("削除の確認")});
    } else {
        QCOMPARE(count(2), 1);
        QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力注意")});
        // The screen was not cleared, the number stays as typed.
        QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("顧客2"));
        QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), typed);
        QCOMPARE(dbv::text(ReadWorkLines(f.work())[0].品名), QStringLiteral("品2"));
    }
}

// A quotation whose lines cannot be read, or cannot be written into w明細, is
// not half shown: the failure is said and the screen stays as the reset left
// it, so storing cannot replace the stored lines with nothing.
void TestStoreLoad::loadIsAllOrNothing_data()
{
    QTest::addColumn<QString>("dataDamage");
    QTest::addColumn<QString>("workDamage");
    QTest::newRow("lines cannot be read") << "alter table 見積書 drop column ふりがな" << "";
    QTest::newRow("lines cannot be written into w明細")
        << "" << "create trigger refuse before update on w明細 when new.品名 = '品2' begin select raise(abort, 'refused'); end";
}

void TestStoreLoad::loadIsAllOrNothing()
{
    QFETCH(QString, dataDamage);
    QFETCH(QString, workDamage);
    MainWindowFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QuotationRecord stored{header(7, QStringLiteral("甲社")),
                           {product(QStringLiteral("品1"), 1, 100), product(QStringLiteral("品2"), 2, 200)}};
    QVERIFY(StoreQuotation(f.data(), stored, codesOf(f.data())).ok);
    if (!dataDamage.isEmpty()) QVERIFY(f.data().exec(dataDamage));
    if (!workDamage.isEmpty()) QVERIFY(f.work().exec(workDamage));
    fillScreen(f, QString());
    const QStringList before = snapshot(f.data());
    f.messages.clear();

    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("7"));
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Return);

    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("エラー")});
    QVERIFY(f.messages.texts().first().contains(QStringLiteral("7")));
    QVERIFY(!control<QFrame>(q, "CnEntryMsg")->isVisible());
    // The reset screen: the number kept, no header, no lines, no totals.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("7"));
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QString());
    QCOMPARE(control<QLineEdit>(q, "txt件名")->text(), QString());
    QVERIFY(control<NumberBox>(q, "num合計")->isNull());
    const QList<QuotationLine> lines = ReadWorkLines(f.work());
    QCOMPARE(lines.size(), 100);
    for (const QuotationLine& l : lines) QVERIFY(l.isBlank());
    QCOMPARE(control<WorkTableModel>(q, "wkDat")->text(0, DetailLine::品名), QString());

    // 登録 now asks for the customer and writes nothing.
    f.messages.clear();
    q.cmd登録_Click();
    QCOMPARE(titles(f.messages), QStringList{QStringLiteral("入力項目のチェック")});
    QCOMPARE(snapshot(f.data()), before);
}

// A typed number loads on Enter alone: leaving the box by Tab or a click
// keeps what is on screen.
void TestStoreLoad::typedNumberIsLoadedOnEnterOnly()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QVERIFY(f.activate());
    QuotationRecord five{header(5, QStringLiteral("顧客5")), {product(QStringLiteral("品5"), 5, 100)}};
    QVERIFY(StoreQuotation(f.data(), five, codesOf(f.data())).ok);
    fillScreen(f, QString());
    auto screenKept = [&] {
        return control<TextComboBox>(q, "cmb顧客名")->text() == QStringLiteral("O'Hara 株式会社") &&
               dbv::text(ReadWorkLines(f.work())[0].品名) == QStringLiteral("机");
    };

    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("5"));
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Tab);
    QVERIFY(!control<QLineEdit>(q, "txtNo")->hasFocus());
    QVERIFY(screenKept());
    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::mouseClick(control<QLineEdit>(q, "txt件名"), Qt::LeftButton);
    QTRY_VERIFY(control<QLineEdit>(q, "txt件名")->hasFocus());
    QVERIFY(screenKept());
    QVERIFY(f.messages.shown().isEmpty());

    control<QLineEdit>(q, "txtNo")->setFocus();
    QTest::keyClick(control<QLineEdit>(q, "txtNo"), Qt::Key_Return);
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("顧客5"));
    QCOMPARE(dbv::text(ReadWorkLines(f.work())[0].品名), QStringLiteral("品5"));
}

// As a new user stores: customer 丁社, one line, "30" typed into txtNo, 登録,
// Yes. The confirmation names 丁社 and takes the focus from the number box;
// quotation 30 is stored as the screen showed it.
void TestStoreLoad::typedNumberThenStoreStoresTheScreen()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    QVERIFY(f.activate());
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("丁社"));
    QVERIFY(WriteWorkLines(f.work(), {product(QStringLiteral("机"), 1, 2000)}));
    control<WorkTableModel>(q, "wkDat")->refresh();

    control<QLineEdit>(q, "txtNo")->setFocus();
    control<QLineEdit>(q, "txtNo")->selectAll();
    QTest::keyClicks(control<QLineEdit>(q, "txtNo"), QStringLiteral("30"));
    f.messages.clear();
    // A message box takes the focus while it is open; whatever happens on
    // screen behind the confirmation, the store writes what its checks saw.
    f.messages.setOnShow([&](const MessageBoxSpec& box) {
        control<QPushButton>(q, "cmd削除")->setFocus();
        if (box.title != QStringLiteral("登録の確認")) return;
        control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("乙社"));
        QVERIFY(WriteWorkLines(f.work(), {product(QStringLiteral("椅子"), 2, 500)}));
        control<WorkTableModel>(q, "wkDat")->refresh();
    });
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);

    QCOMPARE(titles(f.messages), (QStringList{QStringLiteral("登録の確認"), QStringLiteral("登録完了")}));
    QVERIFY(f.messages.shown()[0].text.contains(QStringLiteral("丁社")));
    const auto stored = LoadQuotation(f.data(), 30);
    QVERIFY(stored);
    QCOMPARE(stored->header.顧客名, QVariant(QStringLiteral("丁社")));
    QCOMPARE(stored->lines.size(), 1);
    QCOMPARE(stored->lines[0].品名, QVariant(QStringLiteral("机")));
    // A fresh quotation with the next number follows.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("31"));
}

QTEST_MAIN(TestStoreLoad)
#include "tst_store_load.moc"
