// The quotation tab as other windows see it: the picks of the customer and
// product windows, the customer search's name, what the print hand-over
// reads, and the one hook through which a print request leaves the tab.

#include "app/QuotationPort.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "support/QuotationLines.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace DetailLine;


class TestQuotationPort : public QObject {
    Q_OBJECT
private slots:
    void pickCustomer_data();
    void pickCustomer();
    void pickProductIntoTheCurrentLine_data();
    void pickProductIntoTheCurrentLine();
    void shownQuotationForPrinting();
    void printRequestsGoThroughTheHook();
};

void TestQuotationPort::pickCustomer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("nameAfter");
    QTest::addColumn<QString>("blockAfter");
    QTest::newRow("name and block") << "乙社" << "大阪市\r\n北区" << "乙社" << "大阪市\r\n北区";
    QTest::newRow("name only: the block stays") << "乙社" << "" << "乙社" << "東京都";
    QTest::newRow("block only: the name stays") << "" << "大阪市" << "甲社" << "大阪市";
    QTest::newRow("nothing") << "" << "" << "甲社" << "東京都";
}

void TestQuotationPort::pickCustomer()
{
    QFETCH(QString, name);
    QFETCH(QString, block);
    QFETCH(QString, nameAfter);
    QFETCH(QString, blockAfter);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("甲社"));
    control<MultiLineEdit>(q, "txt顧客情報")->setText(QStringLiteral("東京都"));
    control<QLineEdit>(q, "txt件名")->setFocus();

    QuotationPort& port = q;
    port.pickCustomer(name, block);

    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), nameAfter);
    QCOMPARE(control<MultiLineEdit>(q, "txt顧客情報")->text(), blockAfter);
    QTRY_VERIFY(control<TextComboBox>(q, "cmb顧客名")->hasFocus() || control<TextComboBox>(q, "cmb顧客名")->isAncestorOf(QApplication::focusWidget()));
    // The customer search's result replaces the name as it is, an empty one too.
    port.setCustomerName(QString());
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QString());
    QVERIFY(f.messages.shown().isEmpty());
}

void TestQuotationPort::pickProductIntoTheCurrentLine_data()
{
    QTest::addColumn<bool>("subtotal");
    QTest::addColumn<QStringList>("after");  // line 3 afterwards
    // The price is kept as the column shows it (no decimals by default), so the line multiplies out.
    QTest::newRow("an ordinary line takes the given fields, 金額 follows the price as shown")
        << false << QStringList{"定規", "文具", "12", "4", "本", "1201", "4804", "1", "じょうぎ"};
    QTest::newRow("a subtotal line refuses")
        << true << QStringList{" 小 計", "<null>", "<null>", "<null>", "<null>", "<null>", "40", "0", "<null>"};
}

void TestQuotationPort::pickProductIntoTheCurrentLine()
{
    QFETCH(bool, subtotal);
    QFETCH(QStringList, after);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    QVERIFY(WriteWorkLines(f.work(), {QuotationLine{}, QuotationLine{}, lines::occupied(subtotal)}));
    control<WorkTableModel>(q, "wkDat")->refresh();
    control<NumberBox>(q, "num合計")->setValue(Currency::fromWhole(7));
    control<GridView>(q, "Grid明細")->setCurrentCell(2, 数量);
    control<QLineEdit>(q, "txt件名")->setFocus();

    // As the product window hands it over: an empty reading is not written.
    ProductPick pick;
    pick.品名 = QStringLiteral("定規");
    pick.単位 = QStringLiteral("本");
    pick.単価 = Currency::parse(QStringLiteral("1200.5"));
    pick.非課税 = true;
    const bool taken = static_cast<QuotationPort&>(q).pickProduct(pick);

    QCOMPARE(taken, !subtotal);
    QCOMPARE(lines::cells(f.work(), 2), after);
    if (subtotal) {
        QCOMPARE(control<NumberBox>(q, "num合計")->value(), Currency::fromWhole(7));  // nothing recomputed
        QCOMPARE(f.messages.texts(), QStringList{kSubtotalLineRefusal});
        return;
    }
    // The totals as after a typed price; the line is tax-exempt.
    QCOMPARE(control<NumberBox>(q, "num合計")->value(), Currency::fromWhole(4804));
    QCOMPARE(control<NumberBox>(q, "num消費税")->value(), Currency());
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(control<GridView>(q, "Grid明細")->currentRow(), 2);
    QCOMPARE(control<GridView>(q, "Grid明細")->currentColumn(), int(品名));
    QTRY_VERIFY(control<GridView>(q, "Grid明細")->hasFocus() || control<GridView>(q, "Grid明細")->isAncestorOf(QApplication::focusWidget()));
}

void TestQuotationPort::shownQuotationForPrinting()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    control<QLineEdit>(q, "txtNo")->setText(QStringLiteral("12"));
    control<DateBox>(q, "dt日付")->setDate(QDate(2024, 6, 3));
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("O'Hara 株式会社"));
    control<TextComboBox>(q, "cmb敬称")->setText(QStringLiteral("御中"));
    control<MultiLineEdit>(q, "txt顧客情報")->setText(QStringLiteral("〒530-0001\r\n大阪市北区"));
    control<QLineEdit>(q, "txt件名")->setText(QStringLiteral("机"));
    control<MultiLineEdit>(q, "txtメモ")->setText(QStringLiteral("一行目\r\n二行目"));
    control<TextComboBox>(q, "cmb有効期限")->setText(QStringLiteral("1か月"));
    control<TextComboBox>(q, "cmb支払条件")->setText(QString());
    control<TextComboBox>(q, "cmb受渡場所")->setText(QStringLiteral("現地"));
    control<TextComboBox>(q, "cmb納期")->setText(QStringLiteral("即納"));
    for (int i = 0; i < 4; ++i) control<QLineEdit>(q, QStringLiteral("txt印鑑(%1)").arg(i))->setText(i == 1 ? QString() : QStringLiteral("印%1").arg(i));
    control<NumberBox>(q, "num税抜計")->setValue(Currency::fromWhole(3000));
    control<NumberBox>(q, "num消費税")->setValue(Currency());
    control<NumberBox>(q, "num見積金額")->setNull();

    const ShownQuotation s = static_cast<const QuotationPort&>(q).shownQuotation();
    QCOMPARE(s.txtNo, QStringLiteral("12"));
    QCOMPARE(s.日付, std::optional<QDate>(QDate(2024, 6, 3)));
    QCOMPARE(s.日付表示, QStringLiteral("令和06年06月03日"));  // the era format the layout set
    QCOMPARE(s.顧客名, QStringLiteral("O'Hara 株式会社"));
    QCOMPARE(s.敬称, QStringLiteral("御中"));
    QCOMPARE(s.顧客情報, QStringLiteral("〒530-0001\r\n大阪市北区"));
    QCOMPARE(s.件名, QStringLiteral("机"));
    QCOMPARE(s.メモ, QStringLiteral("一行目\r\n二行目"));
    QCOMPARE(s.有効期限, QStringLiteral("1か月"));
    QCOMPARE(s.支払条件, QString());
    QCOMPARE(s.受渡場所, QStringLiteral("現地"));
    QCOMPARE(s.納期, QStringLiteral("即納"));
    QCOMPARE(s.印鑑, (std::array<QString, 4>{QStringLiteral("印0"), QString(), QStringLiteral("印2"), QStringLiteral("印3")}));
    QCOMPARE(s.税抜計.text, QStringLiteral("3,000"));
    QCOMPARE(s.税抜計.value, std::optional<Currency>(Currency::fromWhole(3000)));
    // A box showing 0 hands 0; an empty box hands nothing.
    QCOMPARE(s.消費税.text, QStringLiteral("0"));
    QCOMPARE(s.消費税.value, std::optional<Currency>(Currency()));
    QCOMPARE(s.見積金額.text, QString());
    QVERIFY(!s.見積金額.value);
}

void TestQuotationPort::printRequestsGoThroughTheHook()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    // Without a handler the panel's buttons hand nothing over.
    q.setPrintHandler({});
    control<QPushButton>(q, "cmd印刷実行")->click();
    f.messages.clear();

    QList<PrintRequest> requests;
    q.setPrintHandler([&](const PrintRequest& r) { requests << r; });
    control<PickOnlyComboBox>(q, "cmb用紙選択")->setText(QStringLiteral("B5白紙"));
    control<QCheckBox>(q, "chk日付印刷")->setChecked(false);
    control<QPushButton>(q, "cmdプレビュー")->click();
    control<QCheckBox>(q, "chk日付印刷")->setChecked(true);
    control<PickOnlyComboBox>(q, "cmb用紙選択")->setText(QStringLiteral("Q-310"));
    control<QPushButton>(q, "cmd印刷実行")->click();

    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].paper, QStringLiteral("B5白紙"));
    QVERIFY(!requests[0].print);
    QVERIFY(!requests[0].withDate);
    QCOMPARE(requests[1].paper, QStringLiteral("Q-310"));
    QVERIFY(requests[1].print);
    QVERIFY(requests[1].withDate);
    // Only the print asked first.
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("見積書を印刷します。よろしいですか")});

    // A quotation amount the box refused and still shows is not printed over:
    // its warning comes again instead.
    QVERIFY(f.activate());
    auto* amount = control<NumberBox>(q, "num見積金額");
    amount->setFocus();
    QTest::keyClicks(amount, QStringLiteral("12a"));
    QTest::keyClick(amount, Qt::Key_Return);
    QCoreApplication::processEvents();
    f.messages.clear();
    control<QPushButton>(q, "cmdプレビュー")->click();
    QCoreApplication::processEvents();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("見積金額には数字以外使用できません")});
    QCOMPARE(amount->text(), QStringLiteral("12a"));
}

QTEST_MAIN(TestQuotationPort)
#include "tst_quotation_port.moc"
