#include "app/QuotationPort.h"
#include "platform/Database.h"
#include "support/QuotationLines.h"
#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace DetailLine;

namespace {

const char* const kFields[] = {"行番号", "品名", "商品区分", "入数", "数量", "単位", "単価", "金額", "非課税", "ふりがな", "小計"};

// A stored cell of w明細 as text: "NULL", money and 数量 as plain decimals.
QString stored(QuotationTabFixture& f, int line, int col)
{
    const QVariant v = f.work().scalar(
        QStringLiteral("select %1 from w明細 where 行番号 = ?").arg(Database::quoteIdent(QString::fromUtf8(kFields[col]))),
        {line});
    if (dbv::isNull(v)) return QStringLiteral("NULL");
    if (col == 数量 || col == 単価 || col == 金額) return Currency::fromDb(v)->toPlainString();
    return v.toString();
}

QStringList table(QuotationTabFixture& f)
{
    QStringList rows;
    for (const QSqlRecord& r : f.work().rows(QStringLiteral("select * from w明細 order by rowid"))) {
        QStringList cells;
        for (int c = 0; c < r.count(); ++c) cells << (r.isNull(c) ? QStringLiteral("NULL") : r.value(c).toString());
        rows << cells.join(u'|');
    }
    return rows;
}

QVariant money(const char* text)
{
    return QVariant::fromValue(*Currency::parse(QString::fromUtf8(text)));
}

// Sets line `line` (1-based) from "field=value" pairs; money fields take decimals.
void setLine(QuotationTabFixture& f, int line, const QString& spec)
{
    QList<std::pair<int, QVariant>> values;
    for (const QString& pair : spec.split(u';', Qt::SkipEmptyParts)) {
        const QString field = pair.section(u'=', 0, 0);
        const QString value = pair.section(u'=', 1);
        const int col = control<WorkTableModel>(f.quotation(), "wkDat")->columnOf(field);
        QVERIFY2(col >= 0, qPrintable(field));
        if (col == 数量 || col == 単価 || col == 金額)
            values.append({col, money(value.toUtf8().constData())});
        else if (col == 非課税 || col == 小計)
            values.append({col, value == u"1"});
        else
            values.append({col, value});
    }
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(line - 1, values));
}

// The cells 数量|単価|金額 of line row (0-based) as the grid shows them; a
// cell whose value is not the one it shows reads "shown≠kept".
QString shownLine(QuotationTabFixture& f, int row)
{
    WorkTableModel* m = control<WorkTableModel>(f.quotation(), "wkDat");
    QStringList out;
    for (int c : {数量, 単価, 金額}) {
        const QString shown = m->text(row, c);
        const std::optional<Currency> kept = m->money(row, c);
        const std::optional<Currency> read = shown.isEmpty() ? std::nullopt : Currency::parse(shown);
        out << (read != kept ? shown + u'≠' + (kept ? kept->toPlainString() : QString())
                             : kept ? kept->toPlainString() : QString());
    }
    return out.join(u'|');
}

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

// Opens the tab with nothing typed yet and no box shown.
bool load(QuotationTabFixture& f)
{
    if (!f.open()) return false;
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(std::nullopt);
    f.messages.clear();
    return true;
}

}  // namespace

class TestGridEditing : public QObject {
    Q_OBJECT
private slots:
    void nameLength_data();
    void nameLength();
    void cellEdits_data();
    void cellEdits();
    void productLookup_data();
    void productLookup();
    void pickFromProductList_data();
    void pickFromProductList();
    void enterOnAmountColumn_data();
    void enterOnAmountColumn();
    void newCodesAreRegistered_data();
    void newCodesAreRegistered();
    void inputMethodFollowsColumn();
    void typingIntoTheGrid();
    void sameValueTypedAgainRecounts();
    void cellThatCannotBeWrittenIsShown_data();
    void cellThatCannotBeWrittenIsShown();
    void cellOnAFullDiskSaysSo();
    void closingTheTabKeepsTheTypedCell_data();
    void closingTheTabKeepsTheTypedCell();
    void refusedInputIsSaidKeptAndNotStored_data();
    void refusedInputIsSaidKeptAndNotStored();
    void typedDecimalsAreKeptAsShown_data();
    void typedDecimalsAreKeptAsShown();
    void productPriceRecountsTheLine_data();
    void productPriceRecountsTheLine();
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

void TestGridEditing::productLookup_data()
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

void TestGridEditing::productLookup()
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

void TestGridEditing::pickFromProductList_data()
{
    QTest::addColumn<bool>("subtotal");
    QTest::newRow("ordinary line") << false;
    QTest::newRow("subtotal line") << true;
}

void TestGridEditing::pickFromProductList()
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

void TestGridEditing::newCodesAreRegistered_data()
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

void TestGridEditing::newCodesAreRegistered()
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

// A typed cell that w明細 does not take (here a trigger stands in for a full
// disk or a file made read-only) keeps its old value and says so in the
// failure box; nothing follows from the edit.
void TestGridEditing::cellThatCannotBeWrittenIsShown_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::newRow("数量") << int(数量) << "3";
    QTest::newRow("単価") << int(単価) << "120";
    QTest::newRow("品名") << int(品名) << "机";
}

void TestGridEditing::cellThatCannotBeWrittenIsShown()
{
    QFETCH(int, col);
    QFETCH(QString, typed);
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.work().exec(QStringLiteral(
        "create temp trigger refuse before update on w明細 begin select raise(abort, 'the disk is full'); end")));
    const QStringList before = table(f);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    grid->setFocus();

    grid->setCurrentCell(0, col);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
    QVERIFY(grid->isEditing());
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY2(box.text.contains(QStringLiteral("書き込めませんでした")), qPrintable(box.text));
    QVERIFY2(box.detail.contains(QStringLiteral("the disk is full")), qPrintable(box.text));
    QVERIFY(!grid->isEditing());
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->isNull(0, col));
    QCOMPARE(table(f), before);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown().size(), 1);
}

// A cell whose write needs room the work file cannot get (SQLite's
// max_page_count holds it at its size; the write adds a large row beside
// it): the box says the disk is full, SQLite's words in its details.
void TestGridEditing::cellOnAFullDiskSaysSo()
{
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.work().exec(QStringLiteral("PRAGMA max_page_count = %1")
                              .arg(f.work().scalar(QStringLiteral("PRAGMA page_count")).toLongLong())));
    QVERIFY(f.work().exec(QStringLiteral("create temp trigger grow after update on w明細 "
                                         "begin insert into w明細ソート (品名) values (zeroblob(200000)); end")));
    const QStringList before = table(f);
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    grid->setFocus();

    grid->setCurrentCell(0, 品名);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QStringLiteral("机"), Qt::NoModifier);
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);

    QTRY_COMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.text, QStringLiteral("入力した値を書き込めませんでした。セルは元の値のままです。\n\n"
                                      "ディスクの空き容量が足りません。空き容量を増やしてから、もう一度やり直してください。"));
    QVERIFY2(box.detail.contains(QStringLiteral("database or disk is full")), qPrintable(box.detail));
    QCOMPARE(table(f), before);
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestGridEditing)
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

// What the grid's number cells, the quotation amount and the date refuse is
// said with the field's warning, stays on screen to be corrected, and is never
// stored: 登録 stops over it (and says it again). Corrected, it is taken,
// stored and reloaded.
void TestGridEditing::refusedInputIsSaidKeptAndNotStored_data()
{
    QTest::addColumn<QString>("field");      // a grid column, "見積金額" or "日付"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("corrected");  // typed then
    QTest::addColumn<QString>("kept");       // what is stored and reloaded from it

    const QString qtyDigits = QStringLiteral("数量には数字以外使用できません");
    const QString date = QStringLiteral("正しい日付が指定されていません。確認してください");
    QTest::newRow("数量 12a") << "数量" << "12a" << qtyDigits << "3" << "3";
    QTest::newRow("数量 --5") << "数量" << "--5" << qtyDigits << "3" << "3";
    QTest::newRow("単価 --5") << "単価" << "--5" << "単価には数字以外使用できません" << "600" << "600";
    QTest::newRow("金額 12a") << "金額" << "12a" << "金額には数字以外使用できません" << "900" << "900";
    QTest::newRow("数量 over its limit")
        << "数量" << "1000000" << "数量には -999,999 から 999,999 までの数を入力してください" << "4" << "4";
    QTest::newRow("単価 over its limit")
        << "単価" << "100000000" << "単価には -99,999,999 から 99,999,999 までの数を入力してください" << "700" << "700";
    QTest::newRow("見積金額 12a") << "見積金額" << "12a" << "見積金額には数字以外使用できません" << "5000" << "5000";
    QTest::newRow("見積金額 --5") << "見積金額" << "--5" << "見積金額には数字以外使用できません" << "5000" << "5000";
    QTest::newRow("日付 2026/2/30") << "日付" << "2026/2/30" << date << "2026/2/28" << "2026-02-28";
    QTest::newRow("日付 2026/13/01") << "日付" << "2026/13/01" << date << "2026/12/01" << "2026-12-01";
    QTest::newRow("日付 0000/01/01") << "日付" << "0000/01/01" << date << "2001/01/01" << "2001-01-01";
}

void TestGridEditing::refusedInputIsSaidKeptAndNotStored()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QFETCH(QString, corrected);
    QFETCH(QString, kept);
    QuotationTabFixture f;
    QVERIFY(load(f));
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    f.session.設定情報.年号 = QStringLiteral("西暦");
    q.applyLayout(f.session.設定情報, nullptr);
    setLine(f, 1, QStringLiteral("品名=鉛筆;数量=2;単価=500;金額=1000"));
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("甲商店"));
    control<DateBox>(q, "dt日付")->setDate(QDate(2024, 6, 3));
    control<NumberBox>(q, "num見積金額")->setValue(Currency::fromWhole(1050));
    const QString number = control<QLineEdit>(q, "txtNo")->text();
    GridView* grid = control<GridView>(q, "Grid明細");
    auto* amount = control<NumberBox>(q, "num見積金額");
    QLineEdit* dateEdit = control<DateBox>(q, "dt日付")->lineEdit();
    const int col = control<WorkTableModel>(q, "wkDat")->columnOf(field);
    const QStringList lines = table(f);

    // Typed, then Enter.
    QLineEdit* box = field == u"見積金額" ? amount : field == u"日付" ? dateEdit : nullptr;
    if (box) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        grid->setFocus();
        grid->setCurrentCell(0, col);
        QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    }
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), QStringList{warning});
    // The typed text stays on screen; nothing of it was taken.
    const auto shownText = [&] {
        return box ? box->text() : grid->isEditing() ? qobject_cast<QLineEdit*>(grid->editorWidget())->text() : QString();
    };
    QCOMPARE(shownText(), typed);
    QCOMPARE(table(f), lines);
    QCOMPARE(amount->value(), std::optional<Currency>(Currency::fromWhole(1050)));
    QCOMPARE(control<DateBox>(q, "dt日付")->date(), std::optional<QDate>(QDate(2024, 6, 3)));

    // 登録 stores nothing and says why again; the text stays.
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), (QStringList{warning, warning}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ")).toInt(), 0);
    QCOMPARE(shownText(), typed);

    // Corrected, it is taken, stored and reloaded.
    QLineEdit* editor = box ? box : qobject_cast<QLineEdit*>(grid->editorWidget());
    QVERIFY(editor);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, corrected);
    QTest::keyClick(editor, Qt::Key_Return);
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(q, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts().size(), 2);  // the question and 登録完了
    const auto saved = LoadQuotation(f.data(), number.toInt());
    QVERIFY(saved);
    const QuotationLine line = saved->lines.value(0);
    const QString storedValue = field == u"見積金額" ? saved->header.見積金額->toPlainString()
                                : field == u"日付"   ? saved->header.日付->toString(Qt::ISODate)
                                : field == u"数量"   ? line.数量->toPlainString()
                                : field == u"単価"   ? line.単価->toPlainString()
                                                     : line.金額->toPlainString();
    QCOMPARE(storedValue, kept);
    lines::reopen(f.quotation(), number);
    if (field == u"見積金額")
        QCOMPARE(amount->value()->toPlainString(), kept);
    else if (field == u"日付")
        QCOMPARE(control<DateBox>(q, "dt日付")->date()->toString(Qt::ISODate), kept);
    else
        QCOMPARE(stored(f, 1, col), kept);
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

// However a line's product and price are set (its 品名 typed, a pick from the
// list, the product window, the product-detail panel), the line's 金額, the
// totals and what is stored follow the price alike: a line with a 数量 takes
// 数量 × 単価 (none without a price), a line of an amount alone keeps it.
void TestGridEditing::productPriceRecountsTheLine_data()
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

void TestGridEditing::productPriceRecountsTheLine()
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

#include "tst_grid_editing.moc"
