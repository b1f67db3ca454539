#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "support/WidgetText.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList column(Database& db, const QString& sql)
{
    QStringList out;
    for (const QSqlRecord& r : db.rows(sql)) out << (r.isNull(0) ? QStringLiteral("<null>") : r.value(0).toString());
    return out;
}

bool fillSlot(QuotationTabFixture& f, const QString& kcode, const QString& code, const QVariant& sname)
{
    return f.data().exec(QStringLiteral("update コードマスタ set sname = ? where kcode = ? and code = ?"),
                                {sname, kcode, code});
}

// Lines, header and totals as a user leaves them before a reset.
void dirtyScreen(QuotationTabFixture& f)
{
    Database& work = f.work();
    QVERIFY(work.exec(QStringLiteral("update w明細 set 品名 = '鉛筆', 数量 = 20000, 単価 = 1000000, 金額 = 2000000, "
                                     "非課税 = 1, 単位 = '本', ふりがな = 'えんぴつ' where 行番号 <= 5")));
    QVERIFY(work.exec(QStringLiteral("update w明細 set 品名 = ' 小 計', 小計 = 1 where 行番号 = 6")));
    QVERIFY(work.exec(QStringLiteral("delete from w明細 where 行番号 between 50 and 60")));
    QVERIFY(work.exec(QStringLiteral("insert into w明細 (行番号, 品名) values (101, 'はみ出し')")));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("山田商店"));
    control<TextComboBox>(f.quotation(), "cmb敬称")->setText(QStringLiteral("御中"));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("件名"));
    control<MultiLineEdit>(f.quotation(), "txtメモ")->setText(QStringLiteral("メモ"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("〒100-0001\r\n東京都"));
    control<TextComboBox>(f.quotation(), "cmb有効期限")->setText(QStringLiteral("30日"));
    control<TextComboBox>(f.quotation(), "cmb支払条件")->setText(QStringLiteral("現金"));
    control<TextComboBox>(f.quotation(), "cmb受渡場所")->setText(QStringLiteral("貴社"));
    control<TextComboBox>(f.quotation(), "cmb納期")->setText(QStringLiteral("即納"));
    control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(0))->setText(QStringLiteral("古い"));
    control<DateBox>(f.quotation(), "dt日付")->setDateText(QStringLiteral("20010203"));
    control<PickOnlyComboBox>(f.quotation(), "cmb用紙選択")->setText(QStringLiteral("Q-310"));
    for (NumberBox* b : {control<NumberBox>(f.quotation(), "num税抜計"), control<NumberBox>(f.quotation(), "num消費税"), control<NumberBox>(f.quotation(), "num合計"), control<NumberBox>(f.quotation(), "num見積金額")}) b->setValue(Currency::fromWhole(7));
    control<QLineEdit>(f.quotation(), "txtNo")->setText(QStringLiteral("12"));
}

}  // namespace

class TestQuotationScreen : public QObject {
    Q_OBJECT
private slots:
    void resetBringsKnownState_data();
    void resetBringsKnownState();
    void copyAsNewKeepsLinesUnderNextNumber();
    void counter_data();
    void counter();
    void codeListsHoldFilledSlotsInCodeOrder();
    void packQuantityListFollowsColumnTitle();
    void productListOrderAndCustomers_data();
    void productListOrderAndCustomers();
};

void TestQuotationScreen::resetBringsKnownState_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("taxOn");
    QTest::newRow("full reset, tax on") << true << true;
    QTest::newRow("full reset, tax off") << true << false;
    QTest::newRow("clear before a load") << false << true;
}

void TestQuotationScreen::resetBringsKnownState()
{
    QFETCH(bool, all);
    QFETCH(bool, taxOn);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.data().exec(QStringLiteral("update 自社情報 set 最大見積書番号 = 41")));
    QVERIFY(f.data().exec(QStringLiteral("insert into 顧客マスタ (顧客名, ふりがな) values ('新顧客', 'しん')")));
    QVERIFY(fillSlot(f, QStringLiteral("納期"), QStringLiteral("01"), QStringLiteral("即日")));
    f.session.設定情報.税計算 = taxOn;
    f.session.設定情報.印刷用紙 = QStringLiteral("B5白紙");
    f.session.設定情報.自社名 = QStringLiteral("自社");
    // Seal titles as the settings tab shows them, not stored.
    for (int i = 0; i < 4; ++i) f.shown.sealTitles[size_t(i)] = QStringLiteral("印%1").arg(i + 1);
    dirtyScreen(f);
    f.history.cleared = 0;

    if (all)
        QTest::mouseClick(control<QPushButton>(f.quotation(), "cmdクリア"), Qt::LeftButton);
    else
        f.quotation().Clear見積書(false);

    // 100 blank lines numbered 1..100, in table order, and the grid shows them.
    Database& work = f.work();
    QCOMPARE(work.scalar(QStringLiteral("select count(*) from w明細")).toInt(), 100);
    QStringList numbers = column(work, QStringLiteral("select 行番号 from w明細 order by rowid"));
    QStringList expected;
    for (int i = 1; i <= 100; ++i) expected << QString::number(i);
    QCOMPARE(numbers, expected);
    QCOMPARE(work.scalar(QStringLiteral("select count(*) from w明細 where 品名 is null and 数量 is null and 単価 is null "
                                        "and 金額 is null and 非課税 = 0 and 小計 = 0 and 単位 is null and ふりがな is null")).toInt(),
             100);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->rowCount(), 100);
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->isNull(0, 1));

    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->date(), QDate::currentDate());
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb敬称")->text(), QStringLiteral("様"));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb敬称")), (QStringList{"様", "御中", "殿"}));
    QCOMPARE(control<PickOnlyComboBox>(f.quotation(), "cmb用紙選択")->text(), QStringLiteral("B5白紙"));
    QCOMPARE(items(control<PickOnlyComboBox>(f.quotation(), "cmb用紙選択")), (QStringList{"A4白紙", "B5白紙", "Q-310"}));
    for (const QString& t : {control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), control<QLineEdit>(f.quotation(), "txt件名")->text(), control<MultiLineEdit>(f.quotation(), "txtメモ")->text(), control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(),
                             control<TextComboBox>(f.quotation(), "cmb有効期限")->text(), control<TextComboBox>(f.quotation(), "cmb支払条件")->text(), control<TextComboBox>(f.quotation(), "cmb受渡場所")->text(), control<TextComboBox>(f.quotation(), "cmb納期")->text()})
        QCOMPARE(t, QString());
    for (NumberBox* b : {control<NumberBox>(f.quotation(), "num税抜計"), control<NumberBox>(f.quotation(), "num消費税"), control<NumberBox>(f.quotation(), "num合計"), control<NumberBox>(f.quotation(), "num見積金額")}) QVERIFY(b->isNull());
    for (QWidget* c : {static_cast<QWidget*>(control<NumberBox>(f.quotation(), "num税抜計")), static_cast<QWidget*>(control<NumberBox>(f.quotation(), "num消費税")),
                       static_cast<QWidget*>(control<QLabel>(f.quotation(), "lbl税抜計")), static_cast<QWidget*>(control<QLabel>(f.quotation(), "Lbl消費税"))})
        QCOMPARE(c->isEnabled(), taxOn);
    QVERIFY(control<NumberBox>(f.quotation(), "num合計")->isEnabled());
    for (int i = 0; i < 4; ++i) QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))->text(), QStringLiteral("印%1").arg(i + 1));
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社名")->text(), QStringLiteral("自社"));

    // Only the full reset numbers a fresh quotation and rebuilds the lists.
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), all ? QStringLiteral("42") : QStringLiteral("12"));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb顧客名")).contains(QStringLiteral("新顧客")), all);
    // The history tab's filter list takes the same names, and its list is emptied.
    QCOMPARE(f.history.customerNames.contains(QStringLiteral("新顧客")), all);
    QCOMPARE(f.history.cleared, all ? 1 : 0);
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb納期")), all ? QStringList{"即日"} : QStringList{});
    QVERIFY(f.messages.shown().isEmpty());
    // Nothing stored was touched.
    QCOMPARE(f.data().scalar(QStringLiteral("select 最大見積書番号 from 自社情報")).toInt(), 41);
}

void TestQuotationScreen::copyAsNewKeepsLinesUnderNextNumber()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.data().exec(QStringLiteral("update 自社情報 set 最大見積書番号 = 30")));
    dirtyScreen(f);
    const QString linesBefore =
        column(f.work(), QStringLiteral("select group_concat(ifnull(品名,'') || '|' || ifnull(金額,''), ';') "
                                               "from (select * from w明細 order by rowid)"))
            .join(QString());
    f.tab.activateWindow();

    QTest::mouseClick(control<QPushButton>(f.quotation(), "cmd転記"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));
    // Twice without storing: the same number.
    QTest::mouseClick(control<QPushButton>(f.quotation(), "cmd転記"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("31"));

    // Everything else stays as it was; nothing is stored.
    QCOMPARE(column(f.work(), QStringLiteral("select group_concat(ifnull(品名,'') || '|' || ifnull(金額,''), ';') "
                                                    "from (select * from w明細 order by rowid)"))
                 .join(QString()),
             linesBefore);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("山田商店"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb敬称")->text(), QStringLiteral("御中"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("件名"));
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->date(), QDate(2001, 2, 3));
    QCOMPARE(control<NumberBox>(f.quotation(), "num見積金額")->value(), Currency::fromWhole(7));
    QCOMPARE(f.data().scalar(QStringLiteral("select 最大見積書番号 from 自社情報")).toInt(), 30);
    QTRY_VERIFY(control<TextComboBox>(f.quotation(), "cmb顧客名")->hasFocus());
}

void TestQuotationScreen::counter_data()
{
    QTest::addColumn<QString>("setup");   // SQL on the data database; "" leaves the shipped row (counter Null)
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("after");   // counters of every 自社情報 row afterwards

    const QString at41 = QStringLiteral("update 自社情報 set 最大見積書番号 = 41");
    const QString noRow = QStringLiteral("delete from 自社情報");
    const QString item = QStringLiteral("最大見積書番号");
    QTest::newRow("get 41") << at41 << item << "Get" << QVariant(0) << "42" << "41";
    QTest::newRow("set 42 raises") << at41 << item << "Set" << QVariant("42") << "" << "42";
    QTest::newRow("set 17 keeps") << at41 << item << "Set" << QVariant("17") << "" << "41";
    QTest::newRow("set 41 keeps") << at41 << item << "Set" << QVariant("41") << "" << "41";
    QTest::newRow("set empty keeps") << at41 << item << "Set" << QVariant("") << "" << "41";
    QTest::newRow("set non-number keeps") << at41 << item << "Set" << QVariant("4x") << "" << "41";
    QTest::newRow("set 100 compares as number") << QStringLiteral("update 自社情報 set 最大見積書番号 = 99")
                                                << item << "Set" << QVariant("100") << "" << "100";
    QTest::newRow("get null") << "" << item << "Get" << QVariant(0) << "1" << "<null>";
    QTest::newRow("set null takes 37") << "" << item << "Set" << QVariant("37") << "" << "37";
    QTest::newRow("set null, empty value") << "" << item << "Set" << QVariant("") << "" << "<null>";
    QTest::newRow("get empty text") << QStringLiteral("update 自社情報 set 最大見積書番号 = ''") << item << "Get"
                                    << QVariant(0) << "1" << "";
    QTest::newRow("get without row creates none") << noRow << item << "Get" << QVariant(0) << "1" << "";
    QTest::newRow("set without row adds one") << noRow << item << "Set" << QVariant("5") << "" << "5";
    QTest::newRow("other item") << at41 << "伝票番号" << "Get" << QVariant(0) << "" << "41";
    QTest::newRow("other item, set") << at41 << "伝票番号" << "Set" << QVariant("99") << "" << "41";
}

void TestQuotationScreen::counter()
{
    QFETCH(QString, setup);
    QFETCH(QString, item);
    QFETCH(QString, mode);
    QFETCH(QVariant, value);
    QFETCH(QString, result);
    QFETCH(QString, after);
    QuotationTabFixture f;
    QVERIFY(f.open());
    if (!setup.isEmpty()) QVERIFY(f.data().exec(setup));

    QCOMPARE(control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->Proc管理(item, mode, value).toString(), result);
    QCOMPARE(column(f.data(), QStringLiteral("select 最大見積書番号 from 自社情報")).join(QLatin1Char(',')), after);
    if (mode == QStringLiteral("Set") && result.isEmpty() && after == value.toString()) {
        // The next number follows the stored one.
        QCOMPARE(control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->Proc管理(item, QStringLiteral("Get"), 0).toString(), QString::number(after.toInt() + 1));
    }
}

void TestQuotationScreen::codeListsHoldFilledSlotsInCodeOrder()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    f.session.設定情報.入数列タイトル = QStringLiteral("入数");
    // Slots filled out of order, with a free slot between; other kinds hold their own entries.
    QVERIFY(fillSlot(f, "単位", "03", "箱"));
    QVERIFY(fillSlot(f, "単位", "01", "個"));
    QVERIFY(fillSlot(f, "単位", "99", "ケース"));
    QVERIFY(fillSlot(f, "商品区分", "02", "文具"));
    QVERIFY(fillSlot(f, "入数", "01", "12本入"));
    QVERIFY(fillSlot(f, "有効期限", "05", "1ヶ月"));
    QVERIFY(fillSlot(f, "支払条件", "01", "現金"));
    QVERIFY(fillSlot(f, "支払条件", "02", "月末締め"));
    QVERIFY(fillSlot(f, "受渡場所", "10", "貴社指定"));
    // 納期 stays all free.
    control<TextComboBox>(f.quotation(), "cmb支払条件")->setText(QStringLiteral("手形"));

    f.quotation().Readコード表(QStringLiteral("すべて"));

    Database& work = f.work();
    QCOMPARE(column(work, QStringLiteral("select sname from w単位参照 order by rowid")), (QStringList{"個", "箱", "ケース"}));
    QCOMPARE(column(work, QStringLiteral("select sname from w商品区分参照 order by rowid")), QStringList{"文具"});
    QCOMPARE(column(work, QStringLiteral("select sname from w入数参照 order by rowid")), QStringList{"12本入"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb単位詳細")), (QStringList{"個", "箱", "ケース"}));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb商品区分詳細")), QStringList{"文具"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb入数")), QStringList{"12本入"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb有効期限")), QStringList{"1ヶ月"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb支払条件")), (QStringList{"現金", "月末締め"}));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb受渡場所")), QStringList{"貴社指定"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb納期")), QStringList{});
    // The drop-downs show the new rows; a typed header value stays.
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat単位参照")->rowCount(), 3);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat単位参照")->text(2, 0), QStringLiteral("ケース"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb支払条件")->text(), QStringLiteral("手形"));

    // One kind rebuilds only its own list; an unknown kind changes nothing.
    QVERIFY(fillSlot(f, "単位", "01", QVariant()));
    QVERIFY(fillSlot(f, "商品区分", "01", "食品"));
    f.quotation().Readコード表(QStringLiteral("単位"));
    f.quotation().Readコード表(QStringLiteral("その他"));
    QCOMPARE(column(work, QStringLiteral("select sname from w単位参照 order by rowid")), (QStringList{"箱", "ケース"}));
    QCOMPARE(column(work, QStringLiteral("select sname from w商品区分参照 order by rowid")), QStringList{"文具"});
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb商品区分詳細")), QStringList{"文具"});
}

// A retitled pack-quantity column names its code kind: the list reads that kind.
void TestQuotationScreen::packQuantityListFollowsColumnTitle()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    Database& d = f.data();
    // The code-list window numbers the slots of the kind "規格"; rows added in reverse.
    for (int i = 3; i >= 1; --i)
        QVERIFY(d.exec(QStringLiteral("insert into コードマスタ (kcode, code, sname) values ('規格', ?, ?)"),
                       {QStringLiteral("0%1").arg(i), i == 2 ? QVariant() : QVariant(QStringLiteral("規格%1").arg(i))}));
    QVERIFY(fillSlot(f, "入数", "01", "12本入"));
    f.session.設定情報.入数列タイトル = QStringLiteral("規格");

    f.quotation().Readコード表(QStringLiteral("入数"));  // no longer a section of its own
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat入数参照")->rowCount(), 0);
    f.quotation().Readコード表(QStringLiteral("規格"));
    QCOMPARE(column(f.work(), QStringLiteral("select sname from w入数参照 order by rowid")),
             (QStringList{"規格1", "規格3"}));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb入数")), (QStringList{"規格1", "規格3"}));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat入数参照")->rowCount(), 2);
    f.quotation().Readコード表(QStringLiteral("すべて"));
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb入数")), (QStringList{"規格1", "規格3"}));
}

void TestQuotationScreen::productListOrderAndCustomers_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("names");
    // 品名/ふりがな of the listed rows.
    // Japanese order: a katakana reading among the hiragana ones.
    QTest::newRow("品名順") << "品名順" << QStringList{"B鉛筆/え", "B鉛筆/ん", "C消しゴム/けしごむ", "Oh'Pen/", "ケント紙/ケントし"};
    const QStringList byReading{"Oh'Pen/", "B鉛筆/え", "C消しゴム/けしごむ", "ケント紙/ケントし", "B鉛筆/ん"};
    QTest::newRow("ふりがな順") << "ふりがな順" << byReading;
    QTest::newRow("empty setting") << "" << byReading;
}

void TestQuotationScreen::productListOrderAndCustomers()
{
    QFETCH(QString, order);
    QFETCH(QStringList, names);
    QuotationTabFixture f;
    QVERIFY(f.open());
    Database& d = f.data();
    const QString insert = QStringLiteral("insert into 商品マスタ (品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな) "
                                          "values (?, ?, ?, ?, ?, ?, ?)");
    QVERIFY(d.exec(insert, {"C消しゴム", "文具", QVariant(), "個", 1000000, 1, "けしごむ"}));
    QVERIFY(d.exec(insert, {"B鉛筆", QVariant(), QVariant(), QVariant(), QVariant(), 0, "ん"}));
    QVERIFY(d.exec(insert, {QVariant(), "文具", QVariant(), "個", 50000, 0, "あ"}));
    QVERIFY(d.exec(insert, {"Oh'Pen", QVariant(), "10本", "箱", 12345, 0, QVariant()}));
    QVERIFY(d.exec(insert, {"B鉛筆", QVariant(), QVariant(), QVariant(), QVariant(), 0, "え"}));
    QVERIFY(d.exec(insert, {"ケント紙", QVariant(), QVariant(), QVariant(), QVariant(), 0, "ケントし"}));
    f.session.設定情報.商品表示順 = order;

    QVERIFY(d.exec(QStringLiteral("insert into 顧客マスタ (顧客名, ふりがな) values ('山田', 'やまだ'), (NULL, 'あ'), "
                                  "('O''Brien', NULL), ('ｶﾄｳ', 'ｶﾄｳ'), ('青木', 'あおき'), ('アオヤマ', 'アオヤマ'), "
                                  "('加藤', 'かとう')")));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("入力中"));
    f.quotation().Clear見積書(true);

    QCOMPARE(column(f.work(), QStringLiteral("select 品名 || '/' || ifnull(ふりがな, '') from w商品参照 order by rowid")), names);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->rowCount(), 5);
    // Every field as stored, Null kept.
    const QSqlRecord eraser = *f.work().firstRow(QStringLiteral("select * from w商品参照 where 品名 = 'C消しゴム'"));
    QCOMPARE(eraser.value(QStringLiteral("単価")).toLongLong(), 1000000);
    QCOMPARE(eraser.value(QStringLiteral("非課税")).toInt(), 1);
    QVERIFY(eraser.isNull(QStringLiteral("入数")));
    QCOMPARE(eraser.value(QStringLiteral("ふりがな")).toString(), QStringLiteral("けしごむ"));

    // Customers by reading in Japanese order (no reading first), nameless rows
    // left out, the same in both lists.
    const QStringList customers{"O'Brien", "青木", "アオヤマ", "加藤", "ｶﾄｳ", "山田"};
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb顧客名")), customers);
    QCOMPARE(f.history.customerNames, customers);

    // With no customer left, a full reset keeps both lists as they were.
    QVERIFY(d.exec(QStringLiteral("delete from 顧客マスタ")));
    f.quotation().Clear見積書(true);
    QCOMPARE(items(control<TextComboBox>(f.quotation(), "cmb顧客名")), customers);
    QCOMPARE(f.history.customerNames, customers);
}

QTEST_MAIN(TestQuotationScreen)
#include "tst_quotation_screen.moc"
