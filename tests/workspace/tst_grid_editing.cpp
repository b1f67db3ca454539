#include "platform/Database.h"
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

    // Limits: a bound itself stays; beyond it the cell is emptied, the cursor returns.
    QTest::newRow("数量 upper bound") << line << r << 4 << "999999.99" << "999999.99" << "100999999" << true << none << -1 << false;
    QTest::newRow("数量 beyond upper") << line << r << 4 << "1000000" << "NULL" << "NULL" << true << none << 4 << false;
    QTest::newRow("数量 lower bound") << line << r << 4 << "-999999.99" << "-999999.99" << "-100999999" << true << none << -1 << false;
    QTest::newRow("数量 beyond lower by a fraction") << line << r << 4 << "-999999.991" << "NULL" << "NULL" << true << none << 4 << false;
    QTest::newRow("単価 lower bound") << qty << r << 6 << "-99999999.99" << "-99999999.99" << "-250000000" << true << none << -1 << false;
    QTest::newRow("単価 beyond lower") << line << r << 6 << "-100000000" << "NULL" << "NULL" << true << none << 6 << false;
    QTest::newRow("単価 upper bound") << qty << r << 6 << "99999999.99" << "99999999.99" << "250000000" << true << none << -1 << false;
    QTest::newRow("単価 beyond upper") << line << r << 6 << "100000000" << "NULL" << "NULL" << true << none << 6 << false;
    QTest::newRow("金額 upper bound, as typed") << line << r << 7 << "9999999999" << "9999999999" << "9999999999" << false << none << -1 << false;
    QTest::newRow("金額 beyond upper") << line << r << 7 << "10000000000" << "NULL" << "NULL" << false << none << 7 << false;
    QTest::newRow("金額 lower bound") << line << r << 7 << "-9999999999" << "-9999999999" << "-9999999999" << false << none << -1 << false;
    QTest::newRow("金額 beyond lower") << line << r << 7 << "-10000000000" << "NULL" << "NULL" << false << none << 7 << false;
    QTest::newRow("金額 with decimals stays unrounded") << line << r << 7 << "12.5" << "12.5" << "12.5" << false << none << -1 << false;
    QTest::newRow("数量 far beyond any money value") << line << r << 4 << "123456789012345678901" << "NULL" << "NULL" << true << none << 4 << false;
    // A product beyond ±9999999999.99 gives 金額 0, the rounding's limit.
    QTest::newRow("product beyond the rounding limit") << "単価=99999999.99" << r << 4 << "999999.99" << "999999.99" << "0" << true << none << -1 << false;
    QTest::newRow("product below the rounding limit") << "単価=-99999999.99" << r << 4 << "999999.99" << "999999.99" << "0" << true << none << -1 << false;
    QTest::newRow("product just past the rounding limit") << "単価=10000000" << r << 4 << "1000" << "1000" << "0" << true << none << -1 << false;
    QTest::newRow("product rounds onto 金額 bound") << "単価=9999999.9994" << r << 4 << "1000" << "1000" << "9999999999" << true << none << -1 << false;
    QTest::newRow("product rounds past 金額 bound") << "単価=9999999.9995" << r << 4 << "1000" << "1000" << "NULL" << true << none << -1 << false;

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
    QTest::newRow("数量 not a number") << line << r << 4 << "abc" << "2.5" << "253" << false << none << -1 << true;
    QTest::newRow("単価 not a number") << line << r << 6 << "1O1" << "101" << "253" << false << none << -1 << true;
    QTest::newRow("金額 not a number") << line << r << 7 << "x" << "253" << "253" << false << none << -1 << true;
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
    setLine(f, 1, QStringLiteral("品名=消しゴム;数量=2.5;単価=101;金額=253"));
    setLine(f, 2, line);
    const QStringList before = table(f);
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(1, 0);

    const bool taken = control<WorkTableModel>(f.quotation(), "wkDat")->editCell(1, col, typed);
    QCoreApplication::processEvents();

    QCOMPARE(stored(f, 2, col), edited);
    QCOMPARE(stored(f, 2, 金額), amount);
    QCOMPARE(control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged().value_or(false), changed);
    QCOMPARE(f.messages.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(taken, !refused);
    if (refused) QCOMPARE(table(f), before);
    if (cursor >= 0) QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentColumn(), cursor);
    // The model's cache and the table agree.
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->editText(1, 金額), amount == u"NULL" ? QString() : amount);
}

void TestGridEditing::productLookup_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");  // 品名, 単位, 単価, 非課税, ふりがな

    QTest::newRow("trimmed half- and full-width blanks")
        << QStringLiteral("　 鉛筆 　") << QStringList{"鉛筆", "本", "80", "0", "えんぴつ"};
    QTest::newRow("apostrophe in the name")
        << QStringLiteral(" O'Brien's ペン　") << QStringList{"O'Brien's ペン", "本", "150", "1", "NULL"};
    QTest::newRow("price 0 leaves 単価 empty")
        << QStringLiteral("見本") << QStringList{"見本", "個", "NULL", "0", "みほん"};
    QTest::newRow("no unit, no price in the master")
        << QStringLiteral("切手") << QStringList{"切手", "NULL", "NULL", "1", "きって"};
    QTest::newRow("not found") << QStringLiteral("消しゴム") << QStringList{"消しゴム", "NULL", "NULL", "0", "NULL"};
    QTest::newRow("emptied") << QString() << QStringList{"NULL", "NULL", "NULL", "0", "NULL"};
    QTest::newRow("blanks only") << QStringLiteral("　 ") << QStringList{"NULL", "NULL", "NULL", "0", "NULL"};
    QTest::newRow("cut to 50 bytes, then looked up")
        << QStringLiteral("あ").repeated(26) << QStringList{QStringLiteral("あ").repeated(25), "NULL", "NULL", "0", "NULL"};
}

void TestGridEditing::productLookup()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, after);

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
    // Quantity, amount, category and pack quantity stay; nothing counts as a quantity edit.
    QCOMPARE((QStringList{stored(f, 3, 数量), stored(f, 3, 金額), stored(f, 3, 商品区分), stored(f, 3, 入数)}),
             (QStringList{"3", "2997", "文具", "12"}));
    QVERIFY(!control<DetailGrid>(f.quotation(), "DetailGrid")->detailsChanged().has_value());
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

    // A second line, and a 金額 beyond its limit: emptied, the cursor stays on it.
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
    QCOMPARE(stored(f, 2, 金額), QStringLiteral("NULL"));
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->currentColumn(), int(金額));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(1050));
    QCOMPARE(stored(f, 2, 品名), QStringLiteral("消しゴム"));
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

#include "tst_grid_editing.moc"
