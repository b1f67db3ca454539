#include "workspace/Calculation.h"
#include "StoreSamples.h"
#include "support/FindControl.h"
#include "support/QuotationLines.h"
#include "support/TabFixtures.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QtTest>

namespace {

// Lines written as "810;200x;S;;-50": an amount, "x" after it marks a tax-exempt
// line, "S" a subtotal line ("S=999" one that still holds an old amount), "" a blank line.
std::vector<CalcLine> calcLines(const QString& spec)
{
    std::vector<CalcLine> out;
    for (QString t : spec.split(QLatin1Char(';'))) {
        CalcLine l;
        if (t.startsWith(QLatin1Char('S'))) {
            l.小計 = true;
            if (t.startsWith(QStringLiteral("S="))) l.金額 = Currency::parse(t.mid(2));
        } else if (!t.isEmpty()) {
            if (t.endsWith(QLatin1Char('x'))) {
                l.非課税 = true;
                t.chop(1);
            }
            l.金額 = Currency::parse(t);
            Q_ASSERT(l.金額);
        }
        out.push_back(l);
    }
    return out;
}

// "" for an empty box, else the plain figure.
QString shown(const std::optional<Currency>& c)
{
    return c ? c->toPlainString() : QString();
}

QString shownSubtotals(const CalcResult& r)
{
    QStringList s;
    for (const auto& v : r.subtotals) s << (v ? v->toPlainString() : QStringLiteral("-"));
    return s.join(QLatin1Char(';'));
}

}  // namespace

class TestCalculation : public QObject {
    Q_OBJECT
private slots:
    void totalsAndTax_data();
    void totalsAndTax();
    void subtotalLines_data();
    void subtotalLines();
    void quotationAmountRule_data();
    void quotationAmountRule();
    void tabRecomputesOnEveryCellEdit();
    void quotationAmountKeptOrFollowed_data();
    void quotationAmountKeptOrFollowed();
    void newQuotationAmountFollowsItsTotal_data();
    void newQuotationAmountFollowsItsTotal();
    void largeTotalsKeepTheirTax_data();
    void largeTotalsKeepTheirTax();
};

void TestCalculation::totalsAndTax_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("taxOn");
    QTest::addColumn<QString>("taxMode");
    QTest::addColumn<QString>("rounding");
    QTest::addColumn<QString>("net");    // 税抜計
    QTest::addColumn<QString>("tax");    // 消費税
    QTest::addColumn<QString>("total");  // 合計

    const QString down = QStringLiteral("切り捨て"), half = QStringLiteral("四捨五入"), up = QStringLiteral("切り上げ");
    const QString outer = QStringLiteral("外税"), inner = QStringLiteral("内税"), none = QStringLiteral("非課税");

    // 810: tax on top 40.5, contained 810 - 771.4286 = 38.5714.
    QTest::newRow("外税 切り捨て 810") << "500;310" << true << outer << down << "810" << "40" << "850";
    QTest::newRow("外税 四捨五入 810") << "500;310" << true << outer << half << "810" << "41" << "851";
    QTest::newRow("外税 other text rounds up") << "500;310" << true << outer << up << "810" << "41" << "851";
    QTest::newRow("外税 四捨五入 below half") << "808" << true << outer << half << "808" << "40" << "848";
    QTest::newRow("外税 other text, tiny fraction") << "801" << true << outer << up << "801" << "41" << "842";
    QTest::newRow("内税 切り捨て 810") << "810" << true << inner << down << "772" << "38" << "810";
    QTest::newRow("内税 四捨五入 810") << "810" << true << inner << half << "771" << "39" << "810";
    QTest::newRow("内税 other text 810") << "810" << true << inner << up << "771" << "39" << "810";
    QTest::newRow("内税 exact 1050") << "1050" << true << inner << up << "1000" << "50" << "1050";
    for (const QString& r : {down, half, up}) {
        QTest::newRow(qPrintable(QStringLiteral("other tax mode %1").arg(r)))
            << "500;310" << true << none << r << "810" << "" << "810";
        QTest::newRow(qPrintable(QStringLiteral("tax off 外税 %1").arg(r)))
            << "500;310" << false << outer << r << "" << "" << "810";
        QTest::newRow(qPrintable(QStringLiteral("tax off 内税 %1").arg(r)))
            << "500;310" << false << inner << r << "" << "" << "810";
    }
    QTest::newRow("empty tax mode") << "810" << true << "" << down << "810" << "" << "810";

    // Tax-exempt lines count in the total, never in the tax.
    QTest::newRow("外税 with exempt line") << "1000;200x" << true << outer << down << "1200" << "50" << "1250";
    QTest::newRow("外税 all exempt") << "500x;310x" << true << outer << up << "810" << "0" << "810";
    // Net total + tax = total, also with exempt lines.
    QTest::newRow("内税 with exempt line") << "1050;200x" << true << inner << down << "1200" << "50" << "1250";
    QTest::newRow("内税 all exempt") << "810x" << true << inner << up << "810" << "0" << "810";

    // Credit lines: a negative total is taxed; rounding goes by RoundAmount's rule for negatives.
    QTest::newRow("外税 credit 切り捨て") << "-810" << true << outer << down << "-810" << "-40" << "-850";
    QTest::newRow("外税 credit 四捨五入") << "-810" << true << outer << half << "-810" << "-41" << "-851";
    QTest::newRow("外税 credit other") << "-801" << true << outer << up << "-801" << "-41" << "-842";
    QTest::newRow("内税 credit 切り捨て") << "-810" << true << inner << down << "-772" << "-38" << "-810";
    QTest::newRow("外税 credit line in a quotation") << "1000;-190" << true << outer << down << "810" << "40" << "850";

    // Nothing to total: the net box shows 0, the others are empty, whatever the settings.
    QTest::newRow("all blank") << ";;;" << true << outer << down << "0" << "" << "";
    QTest::newRow("all blank, tax off") << ";;" << false << outer << down << "0" << "" << "";
    QTest::newRow("only subtotal lines") << "S=500;S" << true << inner << down << "0" << "" << "";
    QTest::newRow("credit cancels debit") << "810;-810" << true << outer << down << "0" << "" << "";
    // A subtotal line's old amount never counts.
    QTest::newRow("subtotal not counted") << "500;S=9999;310" << true << outer << down << "810" << "40" << "850";
    // Totals far beyond what one line holds keep their tax: never a silent 0.
    const QString big = QStringList(21, QStringLiteral("9999999999")).join(u';');
    QTest::newRow("外税 切り捨て above 200,000,000,000") << big << true << outer << down << "209999999979" << "10499999998" << "220499999977";
    QTest::newRow("外税 四捨五入 above 200,000,000,000") << big << true << outer << half << "209999999979" << "10499999999" << "220499999978";
    QTest::newRow("内税 切り捨て above 200,000,000,000") << big << true << inner << down << "199999999980" << "9999999999" << "209999999979";
    QTest::newRow("外税 credit above 200,000,000,000") << QStringList(21, QStringLiteral("-9999999999")).join(u';') << true << outer << down
                                                 << "-209999999979" << "-10499999998" << "-220499999977";
    // Amounts with decimals are summed exactly.
    QTest::newRow("decimal amounts") << "0.1;0.2;809.7" << true << outer << down << "810" << "40" << "850";
}

void TestCalculation::totalsAndTax()
{
    QFETCH(QString, lines);
    QFETCH(bool, taxOn);
    QFETCH(QString, taxMode);
    QFETCH(QString, rounding);
    QFETCH(QString, net);
    QFETCH(QString, tax);
    QFETCH(QString, total);

    const CalcResult r = CalculateQuotation(calcLines(lines), {taxOn, taxMode, rounding}, true);
    QCOMPARE(shown(r.税抜計), net);
    QCOMPARE(shown(r.消費税), tax);
    QCOMPARE(shown(r.合計), total);
    if (r.税抜計 && r.消費税 && r.合計) QCOMPARE(*r.税抜計 + *r.消費税, *r.合計);
    QCOMPARE(r.見積金額, r.合計 ? CalcResult::Amount::FollowTotal : CalcResult::Amount::Empty);
}

void TestCalculation::subtotalLines_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("subtotals");  // "-" on lines that are not subtotal lines

    QTest::newRow("sum since the previous subtotal") << "100;200;S;50;;30x;S;7"
                                                     << "-;-;300;-;-;-;80;-";
    QTest::newRow("subtotal as the first line") << "S;100;S" << "0;-;100";
    QTest::newRow("two subtotals with blanks between") << "40;S;;;S" << "-;40;-;-;0";
    QTest::newRow("old amounts are replaced, not summed") << "10;S=999;20;S=5" << "-;10;-;20";
    QTest::newRow("credit lines") << "100;-150;S" << "-;-;-50";
}

void TestCalculation::subtotalLines()
{
    QFETCH(QString, lines);
    QFETCH(QString, subtotals);
    const CalcResult r = CalculateQuotation(calcLines(lines), {true, QStringLiteral("外税"), QStringLiteral("切り捨て")}, false);
    QCOMPARE(shownSubtotals(r), subtotals);
}

// The quotation amount keeps what was loaded or typed until a quantity or
// price is typed; a total of 0 empties it in every case.
void TestCalculation::quotationAmountRule_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("taxOn");
    QTest::addColumn<bool>("detailsChanged");
    QTest::addColumn<CalcResult::Amount>("amount");
    using A = CalcResult::Amount;
    QTest::newRow("nothing typed: kept") << "500;310" << true << false << A::Keep;
    QTest::newRow("typed: follows") << "500;310" << true << true << A::FollowTotal;
    QTest::newRow("tax off, nothing typed: kept") << "810" << false << false << A::Keep;
    QTest::newRow("tax off, typed: follows") << "810" << false << true << A::FollowTotal;
    QTest::newRow("total 0, nothing typed: emptied") << "810;-810" << true << false << A::Empty;
    QTest::newRow("total 0, typed: emptied") << ";;" << true << true << A::Empty;
}

void TestCalculation::quotationAmountRule()
{
    QFETCH(QString, lines);
    QFETCH(bool, taxOn);
    QFETCH(bool, detailsChanged);
    QFETCH(CalcResult::Amount, amount);
    const CalcResult r = CalculateQuotation(calcLines(lines), {taxOn, QStringLiteral("外税"), QStringLiteral("切り捨て")}, detailsChanged);
    QCOMPARE(r.見積金額, amount);
}

// The tab: a typed 金額 ends in the total boxes and the subtotal lines of w明細.
void TestCalculation::tabRecomputesOnEveryCellEdit()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.shown.taxRounding = QStringLiteral("切り捨て");
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(true);

    WorkTableModel* m = control<WorkTableModel>(f.quotation(), "wkDat");
    QCOMPARE(m->rowCount(), 100);
    const int amount = m->columnOf(QStringLiteral("金額"));
    const int subtotal = m->columnOf(QStringLiteral("小計"));
    // A subtotal line at line 3 that still holds an old amount.
    QVERIFY(m->setValues(2, {{1, QStringLiteral(" 小 計")}, {subtotal, true}, {amount, QVariant::fromValue(Currency::fromWhole(999))}}));

    QVERIFY(m->editCell(0, amount, QStringLiteral("500")));
    QVERIFY(m->editCell(1, amount, QStringLiteral("310")));
    QCOMPARE(control<NumberBox>(f.quotation(), "num税抜計")->value(), Currency::fromWhole(810));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(40));
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(850));
    QCOMPARE(control<NumberBox>(f.quotation(), "num見積金額")->value(), Currency::fromWhole(850));
    // The subtotal line shows the sum, in the grid and in the table.
    QCOMPARE(m->money(2, amount), Currency::fromWhole(810));
    QCOMPARE(Currency::fromDb(f.work().scalar(QStringLiteral("select 金額 from w明細 where 行番号 = 3"))),
             Currency::fromWhole(810));

    // The tax rounding follows the settings tab's box as shown, saved or not
    // (the stand-in here; the settings tab itself in tst_tab_links).
    f.shown.taxRounding = QStringLiteral("四捨五入");
    QVERIFY(m->editCell(3, amount, QStringLiteral("0")));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(41));

    // Emptying every line empties the boxes; the net box shows 0.
    QVERIFY(m->editCell(0, amount, QString()));
    QVERIFY(m->editCell(1, amount, QString()));
    QVERIFY(m->editCell(3, amount, QString()));
    QCOMPARE(control<NumberBox>(f.quotation(), "num税抜計")->value(), Currency());
    QVERIFY(control<NumberBox>(f.quotation(), "num消費税")->isNull());
    QVERIFY(control<NumberBox>(f.quotation(), "num合計")->isNull());
    QVERIFY(control<NumberBox>(f.quotation(), "num見積金額")->isNull());
    QCOMPARE(m->money(2, amount), Currency());
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(std::nullopt);
}

void TestCalculation::quotationAmountKeptOrFollowed_data()
{
    QTest::addColumn<std::optional<bool>>("detailsChanged");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty at start: kept") << std::optional<bool>() << "12345";
    QTest::newRow("after a load: kept") << std::optional<bool>(false) << "12345";
    QTest::newRow("after a quantity edit: follows") << std::optional<bool>(true) << "850";
}

void TestCalculation::quotationAmountKeptOrFollowed()
{
    QFETCH(std::optional<bool>, detailsChanged);
    QFETCH(QString, expected);
    QuotationTabFixture f;
    QVERIFY(f.open());
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    f.shown.taxRounding = QStringLiteral("切り捨て");
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(detailsChanged);

    // A loaded quotation amount that differs from the total.
    control<NumberBox>(f.quotation(), "num見積金額")->setValue(Currency::fromWhole(12345));
    const int amount = control<WorkTableModel>(f.quotation(), "wkDat")->columnOf(QStringLiteral("金額"));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->editCell(0, amount, QStringLiteral("810")));
    QCOMPARE(shown(control<NumberBox>(f.quotation(), "num見積金額")->value()), expected);
    QCOMPARE(control<NumberBox>(f.quotation(), "num合計")->value(), Currency::fromWhole(850));

    // A total of 0 empties it in every case.
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->editCell(0, amount, QString()));
    QVERIFY(control<NumberBox>(f.quotation(), "num見積金額")->isNull());
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(std::nullopt);
}

namespace {

// Opens the tab, active, with the tax computed by `mode` and rounded by 四捨五入.
bool openTaxed(QuotationTabFixture& f, const QString& mode)
{
    if (!f.open() || !f.activate()) return false;
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = mode;
    f.shown.taxRounding = QStringLiteral("四捨五入");
    return true;
}

}  // namespace

// A new quotation's quotation amount follows its total, also when only
// amounts are typed; a loaded one keeps its stored amount until a quantity or
// price is typed. Shown, stored and reloaded alike.
void TestCalculation::newQuotationAmountFollowsItsTotal_data()
{
    QTest::addColumn<QString>("before");  // "fresh", "stored" (one stored first), "loaded" (stored 見積金額 40000)
    QTest::addColumn<QString>("typed");   // on line 1: "column=text;..."
    QTest::addColumn<QString>("amount");  // 見積金額 shown, stored and reloaded ("" for none)
    QTest::newRow("new quotation, an amount alone") << "fresh" << "7=50000" << "52500";
    QTest::newRow("the next new quotation after a store") << "stored" << "7=50000" << "52500";
    QTest::newRow("new quotation, the amount emptied again") << "fresh" << "7=50000;7=" << "";
    QTest::newRow("loaded, an amount typed: the stored one stays") << "loaded" << "7=50000" << "40000";
    QTest::newRow("loaded, 数量 and 単価 typed: follows") << "loaded" << "4=2;6=25000" << "52500";
}

void TestCalculation::newQuotationAmountFollowsItsTotal()
{
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, amount);
    QuotationTabFixture f;
    QVERIFY(openTaxed(f, QStringLiteral("外税")));
    QuotationTab& q = f.quotation();
    WorkTableModel* m = control<WorkTableModel>(q, "wkDat");
    if (before == u"stored") {
        QVERIFY(m->editCell(0, 1, QStringLiteral("机")));
        QVERIFY(m->editCell(0, 7, QStringLiteral("100")));
        lines::storedAmounts(f, 0);
    } else if (before == u"loaded") {
        QuotationHeader h = samples::header(8, QStringLiteral("乙商店"));
        h.見積金額 = samples::yen(40000);
        QuotationLine line;
        line.品名 = QStringLiteral("工事一式");
        line.金額 = samples::yen(10000);
        QVERIFY(StoreQuotation(f.data(), {h, {line}}, samples::codesOf(f.data())).ok);
        lines::reopen(q, QStringLiteral("8"));
        QCOMPARE(control<NumberBox>(q, "num見積金額")->value(), samples::yen(40000));
    }
    if (m->text(0, 1).isEmpty()) QVERIFY(m->editCell(0, 1, QStringLiteral("工事一式")));
    for (const QString& cell : typed.split(u';')) QVERIFY(m->editCell(0, cell.section(u'=', 0, 0).toInt(), cell.section(u'=', 1)));

    const auto shown = [&] { return lines::shownTotals(q).section(u'|', 3); };
    QCOMPARE(shown(), amount);
    const QString number = control<QLineEdit>(q, "txtNo")->text();
    QCOMPARE(lines::storedAmounts(f, 0).section(u'|', 4), amount);
    lines::reopen(q, number);
    QCOMPARE(shown(), amount);
}

// Large totals (100 lines of 9,999,999,999) keep their tax on screen, in the
// store and after a reload.
void TestCalculation::largeTotalsKeepTheirTax_data()
{
    QTest::addColumn<QString>("mode");    // 税区分
    QTest::addColumn<QString>("totals");  // 税抜計|消費税|合計|見積金額 (四捨五入)
    QTest::newRow("外税") << "外税" << "999999999900|49999999995|1049999999895|1049999999895";
    QTest::newRow("内税") << "内税" << "952380952286|47619047614|999999999900|999999999900";
}

void TestCalculation::largeTotalsKeepTheirTax()
{
    QFETCH(QString, mode);
    QFETCH(QString, totals);
    QuotationTabFixture f;
    QVERIFY(openTaxed(f, mode));
    QuotationTab& q = f.quotation();
    QuotationLine line;
    line.品名 = QStringLiteral("設備一式");
    line.金額 = samples::yen(9999999999);
    QVERIFY(WriteWorkLines(f.work(), QList<QuotationLine>(100, line)));
    control<WorkTableModel>(q, "wkDat")->refresh();
    // The last line typed again: the lines are counted.
    QVERIFY(control<WorkTableModel>(q, "wkDat")->editCell(99, 7, QStringLiteral("9999999999")));

    QCOMPARE(lines::shownTotals(q), totals);
    const QString number = control<QLineEdit>(q, "txtNo")->text();
    QCOMPARE(lines::storedAmounts(f, 99), QStringLiteral("9999999999|") + totals);
    lines::reopen(q, number);
    QCOMPARE(lines::shownTotals(q), totals);
}

QTEST_MAIN(TestCalculation)
#include "tst_calculation.moc"
