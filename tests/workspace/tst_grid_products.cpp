// Products in the detail grid: a typed name looked up in the product master,
// a pick from the product list, new code values registered, and the line
// recounted from a product's price however it was set.

#include "GridEditingSupport.h"

namespace {

// Picks product list row `listRow` into the current line through the 品名 drop-down.
void pickFromList(QuotationTabFixture& f, int row, int listRow)
{
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    grid->setFocus();
    grid->setCurrentCell(row, 品名);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(grid->editorWidget());
    QVERIFY(combo);
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    combo->view()->setCurrentIndex(control<WorkTableModel>(f.quotation(), "dat商品参照")->index(listRow, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
}

}  // namespace

class TestGridProducts : public QObject {
    Q_OBJECT
private slots:
    void productLookup_data();
    void productLookup();
    void pickFromProductList_data();
    void pickFromProductList();
    void newCodesAreRegistered_data();
    void newCodesAreRegistered();
    void productPriceRecountsTheLine_data();
    void productPriceRecountsTheLine();
};

void TestGridProducts::productLookup_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");  // 品名, 単位, 単価, 非課税, ふりがな
    QTest::addColumn<QString>("amount");     // 金額 afterwards: 3 × the price found

    QTest::newRow("trimmed half- and full-width blanks")
        << QStringLiteral("　 鉛筆 　") << QStringList{"鉛筆", "本", "80", "0", "えんぴつ"} << "240";
    QTest::newRow("apostrophe in the name")
        << QStringLiteral(" O'Brien's ペン　") << QStringList{"O'Brien's ペン", "本", "150", "1", "NULL"} << "450";
    QTest::newRow("price 0 leaves 単価 empty")
        << QStringLiteral("見本") << QStringList{"見本", "個", "NULL", "0", "みほん"} << "NULL";
    QTest::newRow("no unit, no price in the master")
        << QStringLiteral("切手") << QStringList{"切手", "NULL", "NULL", "1", "きって"} << "NULL";
    QTest::newRow("not found") << QStringLiteral("消しゴム") << QStringList{"消しゴム", "NULL", "NULL", "0", "NULL"} << "NULL";
    QTest::newRow("emptied") << QString() << QStringList{"NULL", "NULL", "NULL", "0", "NULL"} << "NULL";
    QTest::newRow("blanks only") << QStringLiteral("　 ") << QStringList{"NULL", "NULL", "NULL", "0", "NULL"} << "NULL";
    QTest::newRow("cut to 50 bytes, then looked up")
        << QStringLiteral("あ").repeated(26) << QStringList{QStringLiteral("あ").repeated(25), "NULL", "NULL", "0", "NULL"} << "NULL";
}

void TestGridProducts::productLookup()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(QString, amount);

    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.data().exec(
        QStringLiteral("insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) values "
                       "('鉛筆', '本', 800000, 0, 'えんぴつ'), (?, '本', 1500000, 1, null), "
                       "('見本', '個', 0, 0, 'みほん'), ('切手', null, null, 1, 'きって')"),
        {QStringLiteral("O'Brien's ペン")}));
    // A line from an earlier look-up: nothing of it may survive the next one.
    setLine(f, 3, QStringLiteral("品名=旧品;単位=箱;数量=3;単価=999;金額=2997;非課税=1;ふりがな=きゅうひん;商品区分=文具;入数=12"));

    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->editCell(2, 品名, typed));

    QCOMPARE((QStringList{stored(f, 3, 品名), stored(f, 3, 単位), stored(f, 3, 単価), stored(f, 3, 非課税), stored(f, 3, ふりがな)}), after);
    // Quantity, category and pack quantity stay; the amount follows the price
    // found (none without one), and the quotation amount follows the total.
    QCOMPARE((QStringList{stored(f, 3, 数量), stored(f, 3, 金額), stored(f, 3, 商品区分), stored(f, 3, 入数)}),
             (QStringList{"3", amount, "文具", "12"}));
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged(), std::optional<bool>(true));
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->productLookupRecord().品名.toString(), after[0] == u"NULL" ? QString() : after[0]);
}

void TestGridProducts::pickFromProductList_data()
{
    QTest::addColumn<bool>("subtotal");
    QTest::newRow("ordinary line") << false;
    QTest::newRow("subtotal line") << true;
}

void TestGridProducts::pickFromProductList()
{
    QFETCH(bool, subtotal);
    QuotationTabFixture f;
    QVERIFY(load(f));
    // The list holds a price the master no longer has: the pick takes the list's row as it is.
    QVERIFY(f.data().exec(QStringLiteral(
        "insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) values ('鉛筆', '本', 800000, 0, 'えんぴつ')")));
    QVERIFY(f.work().exec(QStringLiteral(
        "insert into w商品参照 (品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな) values "
        "('定規', '文具', '10', '本', 1200000, 0, 'じょうぎ'), ('鉛筆', '文具', '12', 'ダース', 750000, 1, 'えんぴつ')")));
    QVERIFY(control<WorkTableModel>(f.quotation(), "dat商品参照")->refresh());
    setLine(f, 5, subtotal ? QStringLiteral("品名= 小 計;小計=1;金額=0")
                           : QStringLiteral("品名=旧品;数量=4;単価=10;金額=40"));
    const QStringList before = table(f);

    control<GridView>(f.quotation(), "Grid明細")->setFocus();
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(4, 品名);
    QTest::keyClick(control<GridView>(f.quotation(), "Grid明細"), Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(control<GridView>(f.quotation(), "Grid明細")->editorWidget());
    QVERIFY(combo);
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    combo->view()->setCurrentIndex(control<WorkTableModel>(f.quotation(), "dat商品参照")->index(1, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCoreApplication::processEvents();

    if (subtotal) {
        QCOMPARE(f.messages.texts(), QStringList{kSubtotalLineRefusal});
        QCOMPARE(table(f), before);
        return;
    }
    QVERIFY(f.messages.shown().isEmpty());
    QStringList cells;
    for (int c = 品名; c <= 小計; ++c) cells << stored(f, 5, c);
    // Seven cells from the list, nothing looked up again; the picked price
    // counts as a typed one: 4 × 75, and the totals follow.
    QCOMPARE(cells, (QStringList{"鉛筆", "文具", "12", "4", "ダース", "75", "300", "1", "えんぴつ", "0"}));
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged(), std::optional<bool>(true));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(300));
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentRow(), 4);
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentColumn(), int(数量));
}

void TestGridProducts::newCodesAreRegistered_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("title");   // 入数列タイトル
    QTest::addColumn<QString>("setup");   // SQL on the data database before the edit
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("filled");  // the kind's taken slots afterwards
    QTest::addColumn<QString>("list");       // the pick list of the column
    QTest::addColumn<QStringList>("listed");

    const QString fill = QStringLiteral("update コードマスタ set sname = 'x' || code where kcode = '単位'");
    QTest::newRow("new 単位") << 5 << "入数" << "" << "箱" << "単位" << QStringList{"01=箱"} << "w単位参照"
                              << QStringList{"箱"};
    QTest::newRow("単位 already there")
        << 5 << "入数" << "update コードマスタ set sname = '個' where kcode = '単位' and code = '03'" << "個" << "単位"
        << QStringList{"03=個"} << "w単位参照" << QStringList{"個"};
    QTest::newRow("no free 単位 slot") << 5 << "入数" << fill << "箱" << "単位" << QStringList{"01=x01", "02=x02"}
                                       << "w単位参照" << QStringList{"x01", "x02"};
    QTest::newRow("new 商品区分") << 2 << "入数" << "" << "文具" << "商品区分" << QStringList{"01=文具"}
                                  << "w商品区分参照" << QStringList{"文具"};
    QTest::newRow("new 入数") << 3 << "入数" << "" << "12" << "入数" << QStringList{"01=12"} << "w入数参照"
                              << QStringList{"12"};
    QTest::newRow("入数 under the kind its title names")
        << 3 << "規格"
        << "insert into コードマスタ (kcode, code, sname) select '規格', code, null from コードマスタ where kcode = '入数'"
        << "24" << "規格" << QStringList{"01=24"} << "w入数参照" << QStringList{"24"};
}

void TestGridProducts::newCodesAreRegistered()
{
    QFETCH(int, col);
    QFETCH(QString, title);
    QFETCH(QString, setup);
    QFETCH(QString, typed);
    QFETCH(QString, kind);
    QFETCH(QStringList, filled);
    QFETCH(QString, list);
    QFETCH(QStringList, listed);
    QuotationTabFixture f;
    QVERIFY(load(f));
    if (!setup.isEmpty()) QVERIFY(f.data().exec(setup));
    f.session.設定情報.入数列タイトル = title;
    f.quotation().Readコード表(QStringLiteral("すべて"));

    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->editCell(0, col, typed));

    QStringList taken;
    for (const QSqlRecord& r : f.data().rows(
             QStringLiteral("select code, sname from コードマスタ where kcode = ? and sname is not null order by code"), {kind}))
        taken << r.value(0).toString() + u'=' + r.value(1).toString();
    QCOMPARE(taken.mid(0, filled.size()), filled);
    if (filled.size() == 1) QCOMPARE(taken.size(), 1);
    QStringList shown;
    for (const QSqlRecord& r : f.work().rows(QStringLiteral("select sname from %1").arg(list)))
        shown << r.value(0).toString();
    QCOMPARE(shown.mid(0, listed.size()), listed);
    QVERIFY(f.messages.shown().isEmpty());
}

// However a line's product and price are set (its 品名 typed, a pick from the
// list, the product window, the product-detail panel), the line's 金額, the
// totals and what is stored follow the price alike: a line with a 数量 takes
// 数量 × 単価 (none without a price), a line of an amount alone keeps it.
void TestGridProducts::productPriceRecountsTheLine_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");    // line 1 before
    QTest::addColumn<QString>("after");   // 数量|単価|金額 of line 1 after
    QTest::addColumn<QString>("totals");  // 税抜計|消費税|合計|見積金額

    const QString priced = QStringLiteral("品名=見本;数量=2;単価=500;金額=1000");
    const QString lump = QStringLiteral("品名=工事一式;金額=50000");
    QTest::newRow("送料 typed after 数量 and 単価") << "typed" << "送料" << priced << "2|1000|2000" << "2000|100|2100|2100";
    QTest::newRow("a 品名 not in the master typed") << "typed" << "未登録品" << priced << "2||" << "0|||";
    QTest::newRow("送料 picked from the list") << "list" << "送料" << priced << "2|1000|2000" << "2000|100|2100|2100";
    QTest::newRow("送料 from the product window") << "window" << "送料" << priced << "2|1000|2000" << "2000|100|2100|2100";
    QTest::newRow("送料 from the product-detail panel") << "panel" << "送料" << priced << "2|1000|2000" << "2000|100|2100|2100";
    QTest::newRow("送料 typed on a line of an amount alone") << "typed" << "送料" << lump << "|1000|50000" << "50000|2500|52500|52500";
    QTest::newRow("送料 picked on a line of an amount alone") << "list" << "送料" << lump << "|1000|50000" << "50000|2500|52500|52500";
    QTest::newRow("送料 from the window on a line of an amount alone") << "window" << "送料" << lump << "|1000|50000" << "50000|2500|52500|52500";
}

void TestGridProducts::productPriceRecountsTheLine()
{
    QFETCH(QString, way);
    QFETCH(QString, name);
    QFETCH(QString, line);
    QFETCH(QString, after);
    QFETCH(QString, totals);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.shown.taxRounding = QStringLiteral("四捨五入");
    QVERIFY(f.data().exec(QStringLiteral(
        "insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) values ('送料', '式', 10000000, 0, 'そうりょう')")));
    control<DetailGrid>(q, "DetailGrid")->SetDD品名();
    setLine(f, 1, line);
    GridView* grid = control<GridView>(q, "Grid明細");
    grid->setCurrentCell(0, 品名);

    if (way == u"typed") {
        QVERIFY(control<WorkTableModel>(q, "wkDat")->editCell(0, 品名, name));
    } else if (way == u"list") {
        pickFromList(f, 0, 0);
    } else if (way == u"window") {
        ProductPick pick;
        pick.品名 = name;
        pick.単価 = Currency::fromWhole(1000);
        QVERIFY(static_cast<QuotationPort&>(q).pickProduct(pick));
    } else {
        control<QPushButton>(q, "cmd商品詳細")->click();
        control<QLineEdit>(q, "txt品名詳細")->setText(name);
        control<NumberBox>(q, "num単価詳細")->setValue(Currency::fromWhole(1000));
        control<QPushButton>(q, "cmd顧客詳細登録")->click();
    }

    QCOMPARE(shownLine(f, 0), after);
    QCOMPARE(lines::shownTotals(q), totals);
    const QString number = control<QLineEdit>(q, "txtNo")->text();
    QCOMPARE(lines::storedAmounts(f, 0), after.section(u'|', 2) + u'|' + totals);
    lines::reopen(f.quotation(), number);
    QCOMPARE(shownLine(f, 0), after);
    QCOMPARE(lines::shownTotals(q), totals);
}

QTEST_MAIN(TestGridProducts)
#include "tst_grid_products.moc"
