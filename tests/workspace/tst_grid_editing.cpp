// Editing the detail grid: the name's length, cell edits and what follows
// from them (amounts, subtotals, totals), Enter on the amount column, input
// methods by column, typing into the grid, a value typed again, decimals kept
// as shown, and a cell still being typed when the tab closes. Products in the
// grid are tst_grid_products, refused and unwritable cells tst_grid_refusals.

#include "GridEditingSupport.h"

class TestGridEditing : public QObject {
    Q_OBJECT
private slots:
    void nameLength_data();
    void nameLength();
    void cellEdits_data();
    void cellEdits();
    void enterOnAmountColumn_data();
    void enterOnAmountColumn();
    void inputMethodFollowsColumn();
    void typingIntoTheGrid();
    void sameValueTypedAgainRecounts();
    void closingTheTabKeepsTheTypedCell_data();
    void closingTheTabKeepsTheTypedCell();
    void typedDecimalsAreKeptAsShown_data();
    void typedDecimalsAreKeptAsShown();
};

void TestGridEditing::nameLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("bytes");  // of the kept text
    const QString a = QStringLiteral("あ");
    QTest::newRow("26 double-byte") << a.repeated(26) << a.repeated(25) << 50;
    QTest::newRow("49 single + 1 double") << QString(49, u'a') + a << QString(49, u'a') << 49;
    QTest::newRow("48 single + 1 double fits") << QString(48, u'a') + a << QString(48, u'a') + a << 50;
    QTest::newRow("half-width kana are single") << QStringLiteral("ｱ").repeated(51) << QStringLiteral("ｱ").repeated(50) << 50;
    QTest::newRow("a character outside the BMP is not split")
        << QString(a.repeated(24) + u'a' + QStringLiteral("𠮷")) << QString(a.repeated(24) + u'a') << 49;
}

void TestGridEditing::nameLength()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, bytes);
    QCOMPARE(CutToShiftJis(text, kNameBytes), kept);
    QCOMPARE(ShiftJisLength(kept), bytes);
}

void TestGridEditing::cellEdits_data()
{
    QTest::addColumn<QString>("line");    // line 2 before the edit (line 1 always holds 253)
    QTest::addColumn<QString>("mode");    // 行端数
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("edited");  // the edited cell afterwards
    QTest::addColumn<QString>("amount");  // 金額 afterwards
    QTest::addColumn<bool>("changed");    // DetailsChanged set
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("cursor");      // column made current again, -1: none
    QTest::addColumn<bool>("refused");    // the old value stays, w明細 unchanged

    const QString line = QStringLiteral("品名=鉛筆;数量=2.5;単価=101;金額=253");
    const QString qty = QStringLiteral("品名=鉛筆;数量=2.5");
    const QString nqty = QStringLiteral("品名=鉛筆;数量=-2.5");
    const QString r = QStringLiteral("四捨五入");
    const QString none;

    // Limits: a bound itself stays; beyond it the value is refused with the
    // range it takes, the old value stays and the typed text goes back into
    // its cell (the cursor on it) to be corrected.
    const QString qtyRange = QStringLiteral("数量には -999,999 から 999,999 までの数を入力してください");
    const QString priceRange = QStringLiteral("単価には -99,999,999 から 99,999,999 までの数を入力してください");
    const QString amountRange = QStringLiteral("金額には -9,999,999,999 から 9,999,999,999 までの数を入力してください");
    const QString beyond = LineAmountBeyondLimit();
    QTest::newRow("数量 upper bound") << line << r << 4 << "999999.99" << "999999.99" << "100999999" << true << none << -1 << false;
    QTest::newRow("数量 beyond upper") << line << r << 4 << "1000000" << "2.5" << "253" << false << qtyRange << 4 << true;
    QTest::newRow("数量 lower bound") << line << r << 4 << "-999999.99" << "-999999.99" << "-100999999" << true << none << -1 << false;
    QTest::newRow("数量 rounds onto the lower bound") << line << r << 4 << "-999999.991" << "-999999.99" << "-100999999" << true << none << -1 << false;
    QTest::newRow("数量 rounds beyond lower") << line << r << 4 << "-999999.995" << "2.5" << "253" << false << qtyRange << 4 << true;
    QTest::newRow("単価 lower bound") << qty << r << 6 << "-99999999.99" << "-99999999.99" << "-250000000" << true << none << -1 << false;
    QTest::newRow("単価 beyond lower") << line << r << 6 << "-100000000" << "101" << "253" << false << priceRange << 6 << true;
    QTest::newRow("単価 upper bound") << qty << r << 6 << "99999999.99" << "99999999.99" << "250000000" << true << none << -1 << false;
    QTest::newRow("単価 beyond upper") << line << r << 6 << "100000000" << "101" << "253" << false << priceRange << 6 << true;
    QTest::newRow("金額 upper bound, as typed") << line << r << 7 << "9999999999" << "9999999999" << "9999999999" << false << none << -1 << false;
    QTest::newRow("金額 beyond upper") << line << r << 7 << "10000000000" << "253" << "253" << false << amountRange << 7 << true;
    QTest::newRow("金額 lower bound") << line << r << 7 << "-9999999999" << "-9999999999" << "-9999999999" << false << none << -1 << false;
    QTest::newRow("金額 beyond lower") << line << r << 7 << "-10000000000" << "253" << "253" << false << amountRange << 7 << true;
    QTest::newRow("金額 with decimals kept as shown") << line << r << 7 << "12.5" << "13" << "13" << false << none << -1 << false;
    QTest::newRow("数量 far beyond any money value") << line << r << 4 << "123456789012345678901" << "2.5" << "253" << false << qtyRange << 4 << true;
    // A 数量 × 単価 beyond what 金額 holds is refused: never a silent 0.
    QTest::newRow("product beyond the rounding limit") << "単価=99999999.99" << r << 4 << "999999.99" << "NULL" << "NULL" << false << beyond << 4 << true;
    QTest::newRow("product below the rounding limit") << "単価=-99999999.99" << r << 4 << "999999.99" << "NULL" << "NULL" << false << beyond << 4 << true;
    QTest::newRow("product just past the 金額 limit") << "単価=10000000" << r << 4 << "1000" << "NULL" << "NULL" << false << beyond << 4 << true;
    QTest::newRow("product rounds onto 金額 bound") << "単価=9999999.9994" << r << 4 << "1000" << "1000" << "9999999999" << true << none << -1 << false;
    QTest::newRow("product rounds past 金額 bound") << "単価=9999999.9995" << r << 4 << "1000" << "NULL" << "NULL" << false << beyond << 4 << true;
    QTest::newRow("price typed beyond with the quantity") << "数量=999999.99" << r << 6 << "99999999.99" << "NULL" << "NULL" << false << beyond << 6 << true;

    // Line amount: exact decimal product, then the line rounding.
    QTest::newRow("2.01 x 250 四捨五入") << "単価=250" << r << 4 << "2.01" << "2.01" << "503" << true << none << -1 << false;
    QTest::newRow("0.29 x 100 切り捨て") << "単価=100" << "切り捨て" << 4 << "0.29" << "0.29" << "29" << true << none << -1 << false;
    QTest::newRow("2.5 x 101 四捨五入") << qty << r << 6 << "101" << "101" << "253" << true << none << -1 << false;
    QTest::newRow("2.5 x 101 切り捨て") << qty << "切り捨て" << 6 << "101" << "101" << "252" << true << none << -1 << false;
    QTest::newRow("2.5 x 101 切り上げ") << qty << "切り上げ" << 6 << "101" << "101" << "253" << true << none << -1 << false;
    QTest::newRow("-2.5 x 101 四捨五入") << nqty << r << 6 << "101" << "101" << "-253" << true << none << -1 << false;
    QTest::newRow("-2.5 x 101 切り捨て") << nqty << "切り捨て" << 6 << "101" << "101" << "-252" << true << none << -1 << false;
    QTest::newRow("-2.5 x 101 切り上げ") << nqty << "切り上げ" << 6 << "101" << "101" << "-253" << true << none << -1 << false;
    QTest::newRow("full-width digits") << qty << r << 6 << "１２３" << "123" << "308" << true << none << -1 << false;
    QTest::newRow("price typed, no quantity") << "品名=鉛筆" << r << 6 << "101" << "101" << "NULL" << true << none << -1 << false;

    // Empty and non-numeric input.
    QTest::newRow("数量 cleared") << line << r << 4 << "" << "NULL" << "NULL" << true << none << -1 << false;
    QTest::newRow("単価 cleared") << line << r << 6 << "" << "NULL" << "NULL" << true << none << -1 << false;
    QTest::newRow("金額 cleared") << line << r << 7 << "" << "NULL" << "NULL" << false << none << -1 << false;
    QTest::newRow("数量 not a number") << line << r << 4 << "abc" << "2.5" << "253" << false << "数量には数字以外使用できません" << 4 << true;
    QTest::newRow("数量 two signs") << line << r << 4 << "--5" << "2.5" << "253" << false << "数量には数字以外使用できません" << 4 << true;
    QTest::newRow("単価 not a number") << line << r << 6 << "1O1" << "101" << "253" << false << "単価には数字以外使用できません" << 6 << true;
    QTest::newRow("金額 not a number") << line << r << 7 << "12a" << "253" << "253" << false << "金額には数字以外使用できません" << 7 << true;
    // The same value typed again changes nothing stored but counts again, as any edit does.
    QTest::newRow("same 数量 again") << "品名=鉛筆;数量=2.5;単価=101;金額=300" << r << 4 << "2.50" << "2.5" << "253" << true << none << -1 << false;

    // Subtotal lines.
    const QString sub = QStringLiteral("品名= 小 計;小計=1;金額=253");
    const QString refusal = kSubtotalLineRefusal;
    QTest::newRow("subtotal 品名") << sub << r << 1 << "鉛筆" << " 小 計" << "253" << false << refusal << -1 << true;
    QTest::newRow("subtotal 数量") << sub << r << 4 << "1" << "NULL" << "253" << false << refusal << -1 << true;
    QTest::newRow("subtotal 単位") << sub << r << 5 << "個" << "NULL" << "253" << false << refusal << -1 << true;
    QTest::newRow("subtotal 単価") << sub << r << 6 << "5" << "NULL" << "253" << false << refusal << -1 << true;
    QTest::newRow("subtotal 金額 taken, then the subtotal again") << sub << r << 7 << "999" << "253" << "253" << false << none << -1 << false;
    QTest::newRow("subtotal 非課税 allowed") << sub << r << 8 << "1" << "1" << "253" << false << none << -1 << false;
}

void TestGridEditing::cellEdits()
{
    QFETCH(QString, line);
    QFETCH(QString, mode);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, edited);
    QFETCH(QString, amount);
    QFETCH(bool, changed);
    QFETCH(QString, message);
    QFETCH(int, cursor);
    QFETCH(bool, refused);

    QuotationTabFixture f;
    QVERIFY(load(f));
    f.session.設定情報.行端数 = mode;
    // Quantities and prices are shown with two places.
    f.session.設定情報.小数 = QStringLiteral("数量+単価");
    f.quotation().applyLayout(f.session.設定情報, nullptr);
    setLine(f, 1, QStringLiteral("品名=消しゴム;数量=2.5;単価=101;金額=253"));
    setLine(f, 2, line);
    const QStringList before = table(f);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    grid->setCurrentCell(1, 0);

    const bool taken = control<WorkTableModel>(f.quotation(), "wkDat")->editCell(1, col, typed);
    QCoreApplication::processEvents();

    QCOMPARE(stored(f, 2, col), edited);
    QCOMPARE(stored(f, 2, 金額), amount);
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged().value_or(false), changed);
    QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(taken, !refused);
    if (refused) QCOMPARE(table(f), before);
    if (cursor >= 0) {
        // The refused text is back in its cell, to be corrected.
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), cursor);
        QVERIFY(grid->isEditing());
        QCOMPARE(qobject_cast<QLineEdit*>(grid->editorWidget())->text(), typed);
    }
    // The model's cache and the table agree.
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->editText(1, 金額), amount == u"NULL" ? QString() : amount);
}

void TestGridEditing::enterOnAmountColumn_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toCol");
    QTest::newRow("金額 moves to the next line's 品名") << 5 << 7 << 6 << 1;
    QTest::newRow("金額 on line 100 stays on line 100") << 99 << 7 << 99 << 1;
    QTest::newRow("数量 is left to the grid") << 5 << 4 << 5 << 5;
}

void TestGridEditing::enterOnAmountColumn()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, toRow);
    QFETCH(int, toCol);
    QuotationTabFixture f;
    QVERIFY(load(f));
    control<GridView>(f.quotation(), "Grid明細")->setFocus();
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(row, col);
    QTest::keyClick(control<GridView>(f.quotation(), "Grid明細"), Qt::Key_Return);
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentRow(), toRow);
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentColumn(), toCol);
}

void TestGridEditing::inputMethodFollowsColumn()
{
    QuotationTabFixture f;
    QVERIFY(load(f));
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    const QList<std::pair<int, bool>> steps{{品名, true}, {数量, false}, {単位, true}, {単価, false},
                                            {商品区分, false}, {単位, true}, {金額, false}, {入数, false}};
    for (const auto& [col, on] : steps) {
        grid->setCurrentCell(3, col);
        QVERIFY2(grid->inputMethodEnabled() == on, qPrintable(QString::number(col)));
    }
}

void TestGridEditing::typingIntoTheGrid()
{
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.data().exec(QStringLiteral(
        "insert into 商品マスタ (品名, 単位, 単価, 非課税, ふりがな) values ('鉛筆', '本', 800000, 0, 'えんぴつ')")));
    f.session.設定情報.行端数 = QStringLiteral("四捨五入");
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.session.設定情報.小数 = QStringLiteral("数量");
    f.quotation().applyLayout(f.session.設定情報, nullptr);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    grid->setFocus();

    // 品名 through the input method, with blanks around it.
    grid->setCurrentCell(0, 品名);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("　鉛筆 "));
    QApplication::sendEvent(grid, &commit);
    QVERIFY(grid->isEditing());
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    QVERIFY(!grid->isEditing());

    // 数量, typed key by key.
    grid->setCurrentCell(0, 数量);
    QTest::keyClick(grid, Qt::Key_1);
    QVERIFY(grid->isEditing());
    QTest::keyClicks(grid->editorWidget(), QStringLiteral("2.5"));
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);

    QCOMPARE((QStringList{stored(f, 1, 品名), stored(f, 1, 単位), stored(f, 1, 数量), stored(f, 1, 単価), stored(f, 1, 金額),
                          stored(f, 1, ふりがな)}),
             (QStringList{"鉛筆", "本", "12.5", "80", "1000", "えんぴつ"}));
    QCOMPARE(control<NumberBox>(f.quotation(), "num税抜計")->value(), Currency::fromWhole(1000));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(50));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(1050));
    QCOMPARE(control<NumberBox>(f.quotation(), "num見積金額")->value(), Currency::fromWhole(1050));

    // A second line, and a 金額 beyond its limit: refused and said, the
    // typed text back in the cell, the old amount kept.
    grid->setCurrentCell(1, 品名);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QStringLiteral("消しゴム"), Qt::NoModifier);
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    grid->setCurrentCell(1, 金額);
    QTest::keyClick(grid, Qt::Key_3);
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    QCOMPARE(grid->currentRow(), 2);  // Enter on 金額: the next line's 品名
    QCOMPARE(grid->currentColumn(), int(品名));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(1053));  // 1003 and its tax 50

    grid->setCurrentCell(1, 金額);
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClicks(grid->editorWidget(), QStringLiteral("0000000000"));
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("金額には -9,999,999,999 から 9,999,999,999 までの数を入力してください")});
    QCOMPARE(stored(f, 2, 金額), QStringLiteral("3"));
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->currentColumn(), int(金額));
    QVERIFY(grid->isEditing());
    QCOMPARE(qobject_cast<QLineEdit*>(grid->editorWidget())->text(), QStringLiteral("10000000000"));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(1053));
    QCOMPARE(stored(f, 2, 品名), QStringLiteral("消しゴム"));
    // Corrected, it is taken.
    QTest::keyClick(grid->editorWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(grid->editorWidget(), QStringLiteral("7"));
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    QCOMPARE(stored(f, 2, 金額), QStringLiteral("7"));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(1057));
    QCOMPARE(f.messages.texts().size(), 1);
}

// Typing the value a cell already holds recounts the line and the totals:
// after a change of the rounding settings, that is how a user recounts.
void TestGridEditing::sameValueTypedAgainRecounts()
{
    QuotationTabFixture f;
    QVERIFY(load(f));
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.shown.taxRounding = QStringLiteral("切り上げ");
    f.session.設定情報.行端数 = QStringLiteral("切り上げ");
    f.session.設定情報.小数 = QStringLiteral("数量+単価");
    f.quotation().applyLayout(f.session.設定情報, nullptr);
    setLine(f, 1, QStringLiteral("品名=鉛筆"));
    WorkTableModel* lines = control<WorkTableModel>(f.quotation(), "wkDat");
    QVERIFY(lines->editCell(0, 数量, QStringLiteral("1.5")));
    QVERIFY(lines->editCell(0, 単価, QStringLiteral("6668")));
    QCOMPARE(stored(f, 1, 金額), QStringLiteral("10002"));  // 10002 exactly
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(501));

    // Changed on the settings tab (not stored): the next count follows it.
    f.shown.taxRounding = QStringLiteral("四捨五入");
    QVERIFY(lines->editCell(0, 単価, QStringLiteral("6668")));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(500));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(10502));

    // The line rounding is counted again as well: 1.5 × 6668.5 = 10002.75.
    QVERIFY(lines->editCell(0, 単価, QStringLiteral("6668.5")));
    QCOMPARE(stored(f, 1, 金額), QStringLiteral("10003"));
    f.session.設定情報.行端数 = QStringLiteral("切り捨て");
    QVERIFY(lines->editCell(0, 数量, QStringLiteral("1.5")));
    QCOMPARE(stored(f, 1, 金額), QStringLiteral("10002"));
    QVERIFY(f.messages.texts().isEmpty());
}

// A tab closed as a window while a cell is still being typed: the close
// commits the cell as a focus change would (the line keeps it, a new unit is
// registered), and nothing breaks as the tab goes.
void TestGridEditing::closingTheTabKeepsTheTypedCell_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("a new unit") << int(単位) << "樽" << "樽";
    QTest::newRow("a quantity") << int(数量) << "3" << "3";
}

void TestGridEditing::closingTheTabKeepsTheTypedCell()
{
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QuotationTabFixture f;
    QVERIFY(load(f));
    // A second tab on the same session, so that it can go while the session stays.
    auto* tab = new QuotationTab(f.session, f.shown, f.history);
    tab->bindGrids();
    tab->applyLayout(f.session.設定情報, nullptr);
    tab->Clear見積書(true);
    QVERIFY(activateAlone(*tab));
    GridView* grid = control<GridView>(*tab, "Grid明細");
    grid->setFocus();
    grid->setCurrentCell(0, col);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
    QVERIFY(grid->isEditing());

    delete tab;

    QCOMPARE(stored(f, 1, col), kept);
    if (col == 単位)
        QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from コードマスタ where kcode = '単位' and sname = ?"), {typed}).toInt(), 1);
}

// A typed 数量, 単価 or 金額 keeps the places its column shows (by the 小数
// setting; 金額 whole), so a line multiplies out as shown and the lines add up
// to the totals; the store and a reload keep the same values.
void TestGridEditing::typedDecimalsAreKeptAsShown_data()
{
    QTest::addColumn<QString>("decimals");  // 小数
    QTest::addColumn<QString>("typed");     // "line:column=text;..."
    QTest::addColumn<QStringList>("shown");  // 数量|単価|金額 of lines 1 to 3
    QTest::addColumn<QString>("totals");    // 税抜計|消費税|合計|見積金額 (外税 5 %, 四捨五入)

    QTest::newRow("数量+単価: 1.555 × 100.125")
        << "数量+単価" << "1:4=1.555;1:6=100.125" << QStringList{"1.56|100.13|156", "||", "||"} << "156|8|164|164";
    QTest::newRow("しない: 2.5 × 101.4")
        << "しない" << "1:4=2.5;1:6=101.4" << QStringList{"3|101|303", "||", "||"} << "303|15|318|318";
    QTest::newRow("数量: the price whole")
        << "数量" << "1:4=1.5;1:6=100.125" << QStringList{"1.5|100|150", "||", "||"} << "150|8|158|158";
    QTest::newRow("単価: the quantity whole")
        << "単価" << "1:4=1.5;1:6=100.125" << QStringList{"2|100.13|200", "||", "||"} << "200|10|210|210";
    QTest::newRow("金額 123.45, 0.5, 0.5")
        << "数量+単価" << "1:7=123.45;2:7=0.5;3:7=0.5" << QStringList{"||123", "||1", "||1"} << "125|6|131|131";
    QTest::newRow("credit 金額 -0.5")
        << "しない" << "1:7=100;2:7=-0.5" << QStringList{"||100", "||-1", "||"} << "99|5|104|104";
}

void TestGridEditing::typedDecimalsAreKeptAsShown()
{
    QFETCH(QString, decimals);
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QString, totals);
    QuotationTabFixture f;
    QVERIFY(f.open());
    f.session.設定情報.小数 = decimals;
    f.session.設定情報.行端数 = QStringLiteral("四捨五入");
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.shown.taxRounding = QStringLiteral("四捨五入");
    f.quotation().applyLayout(f.session.設定情報, nullptr);
    WorkTableModel* m = control<WorkTableModel>(f.quotation(), "wkDat");
    for (const QString& cell : typed.split(u';')) {
        const int row = cell.section(u':', 0, 0).toInt() - 1;
        const int col = cell.section(u':', 1).section(u'=', 0, 0).toInt();
        if (m->text(row, 品名).isEmpty()) QVERIFY(m->editCell(row, 品名, QStringLiteral("品%1").arg(row + 1)));
        QVERIFY(m->editCell(row, col, cell.section(u'=', 1)));
    }
    const auto screen = [&] { return QStringList{shownLine(f, 0), shownLine(f, 1), shownLine(f, 2)}; };
    QCOMPARE(screen(), shown);
    QCOMPARE(lines::shownTotals(f.quotation()), totals);
    QVERIFY(f.messages.texts().isEmpty());

    const QString number = control<QLineEdit>(f.quotation(), "txtNo")->text();
    QCOMPARE(lines::storedAmounts(f, 0), shown[0].section(u'|', 2) + u'|' + totals);
    lines::reopen(f.quotation(), number);
    QCOMPARE(screen(), shown);
    QCOMPARE(lines::shownTotals(f.quotation()), totals);
}

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
