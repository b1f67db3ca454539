// What the main window wires between its tabs, end to end: its load lays
// both tabs out by the stored settings and shows a fresh quotation; the history tab
// opens a quotation on the quotation tab; the quotation tab empties the
// history list and fills its customer filter; the quotation tab reads the
// settings tab's boxes as they show, stored or not. Each tab alone is tested
// in tests/workspace on stand-ins for the others.

#include "workspace/settings_tab/SettingsTab.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/WidgetText.h"
#include "workspace/HistoryTab.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

// Quotation `number` for `customer`, one line, dated in May 2024.
bool store(Database& data, int number, const QString& customer)
{
    QuotationRecord q;
    q.header.伝票番号 = number;
    q.header.日付 = QDate(2024, 5, number);
    q.header.顧客名 = customer;
    q.header.件名 = QStringLiteral("件名%1").arg(number);
    QuotationLine l;
    l.品名 = QStringLiteral("品%1").arg(number);
    q.lines << l;
    return StoreQuotation(data, q, {}).ok;
}

QList<int> storedNumbers(Database& data)
{
    QList<int> out;
    for (const QSqlRecord& r : data.rows(QStringLiteral("select 伝票番号 from 見積書ヘッダ order by 伝票番号")))
        out << r.value(0).toInt();
    return out;
}

}  // namespace

class TestTabLinks : public QObject {
    Q_OBJECT
private slots:
    void loadLaysOutTheTabsAndShowsAFreshQuotation();
    void historyOpensAndQuotationDeleteEmptiesTheList();
    void quotationTabReadsTheSettingsTabAsShown();
};

// Each rule of the layout is tested on the tab alone (tst_layout); here one
// setting of each kind shows the load hands the stored settings to both tabs.
void TestTabLinks::loadLaysOutTheTabsAndShowsAFreshQuotation()
{
    MainWindowFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 自社情報 SET 年号 = '西暦', 小数 = '数量', 入数列タイトル = '規格', "
                                     "自社名 = '自社', 最大見積書番号 = 41, 印鑑タイトル2 = '承認'"),
                      QStringLiteral("UPDATE 印刷情報 SET 自社名フォント = 'ＭＳ 明朝', 自社名サイズ = 20 WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());

    QuotationTab& q = f.quotation();
    QCOMPARE(control<DateBox>(q, "dt日付")->headingFormat(), QStringLiteral("yyyy年mm月"));
    QCOMPARE(control<DateBox>(q, "dt日付")->date(), QDate::currentDate());
    QCOMPARE(control<WorkTableModel>(q, "wkDat")->column(4).format, QStringLiteral("Standard"));
    QCOMPARE(control<WorkTableModel>(q, "wkDat")->headerData(3, Qt::Horizontal).toString(), QStringLiteral("規　格"));
    QCOMPARE(control<QLabel>(q, "lbl自社名")->text(), QStringLiteral("自社"));
    QCOMPARE(control<QLabel>(q, "lbl自社名")->font().family(), QStringLiteral("ＭＳ 明朝"));
    QCOMPARE(control<QLabel>(q, "lbl自社名")->font().pointSizeF(), 20.0);
    QCOMPARE(control<DateBox>(f.history(), "txt開始")->headingFormat(), QStringLiteral("yyyy年 mm月"));
    QCOMPARE(control<WorkTableModel>(f.history(), "dat履歴")->rowCount(), 0);
    // A fresh quotation: the next number, 100 blank lines, the seal titles as the settings tab shows them.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("42"));
    QCOMPARE(control<WorkTableModel>(q, "wkDat")->rowCount(), 100);
    QCOMPARE(control<QLineEdit>(q, "txt印鑑(1)")->text(), QStringLiteral("承認"));
    QVERIFY(f.messages.shown().isEmpty());
}

void TestTabLinks::historyOpensAndQuotationDeleteEmptiesTheList()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(store(f.data(), 3, QStringLiteral("甲商事")));
    QVERIFY(store(f.data(), 4, QStringLiteral("乙's 工業")));
    HistoryTab& h = f.history();
    control<QTabWidget>(f.window, "SSTab1")->setCurrentIndex(1);
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    control<DateBox>(h, "txt終了")->setDate(QDate(2024, 12, 31));
    control<QPushButton>(h, "cmd読込")->click();
    QCOMPARE(control<WorkTableModel>(h, "dat履歴")->rowCount(), 2);
    QCOMPARE(control<WorkTableModel>(h, "dat履歴")->value(0, 1).toInt(), 4);  // newest first

    // A click on a row (not its tick) opens that quotation on the quotation tab.
    const QRect cell = control<GridView>(h, "Grid履歴リスト")->visualRect(control<WorkTableModel>(h, "dat履歴")->index(0, 3));
    QVERIFY(cell.isValid());
    QTest::mouseClick(control<GridView>(h, "Grid履歴リスト")->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(control<QTabWidget>(f.window, "SSTab1")->currentIndex(), 0);
    QCOMPARE(control<QLineEdit>(f.quotation(), "txtNo")->text(), QStringLiteral("4"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("乙's 工業"));
    QCOMPARE(control<QLineEdit>(f.quotation(), "txt件名")->text(), QStringLiteral("件名4"));
    QCOMPARE(dbv::text(ReadWorkLines(f.work())[0].品名), QStringLiteral("品4"));

    // Deleting it on the quotation tab empties the history list; its filter and count stay.
    f.messages.answerNext(MessageAnswer::Yes);
    control<QuotationKeeper>(f.quotation(), "QuotationKeeper")->cmd削除_Click();
    QCOMPARE(storedNumbers(f.data()), QList<int>{3});
    QCOMPARE(control<WorkTableModel>(h, "dat履歴")->rowCount(), 0);
    QCOMPARE(control<DateBox>(h, "txt終了")->date(), std::optional<QDate>(QDate(2024, 12, 31)));
    QCOMPARE(control<NumberBox>(h, "num登録件数")->value(), std::optional<Currency>(Currency::fromWhole(2)));
}

void TestTabLinks::quotationTabReadsTheSettingsTabAsShown()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.data().exec(QStringLiteral("insert into 顧客マスタ (顧客名, ふりがな) values ('新顧客', 'しん')")));
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");

    // The tax rounding of the settings tab's box, not stored.
    control<PickOnlyComboBox>(f.settings(), "cmb税端数")->setText(QStringLiteral("切り捨て"));
    WorkTableModel* lines = control<WorkTableModel>(f.quotation(), "wkDat");
    const int amount = lines->columnOf(QStringLiteral("金額"));
    QVERIFY(lines->editCell(0, amount, QStringLiteral("810")));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(40));
    control<PickOnlyComboBox>(f.settings(), "cmb税端数")->setText(QStringLiteral("四捨五入"));
    QVERIFY(lines->editCell(0, amount, QStringLiteral("810")));
    QCOMPARE(control<NumberBox>(f.quotation(), "num消費税")->value(), Currency::fromWhole(41));

    // A full reset takes the seal titles typed there, and hands the customer
    // names to the history tab's filter.
    for (int i = 0; i < 4; ++i)
        control<QLineEdit>(f.settings(), QStringLiteral("txt印鑑タイトル%1").arg(i + 1))->setText(QStringLiteral("印%1").arg(i + 1));
    control<QPushButton>(f.quotation(), "cmdクリア")->click();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))->text(), QStringLiteral("印%1").arg(i + 1));
    QVERIFY(items(control<TextComboBox>(f.history(), "cmb履歴顧客名")).contains(QStringLiteral("新顧客")));
    QVERIFY(f.messages.shown().isEmpty());
}

QTEST_MAIN(TestTabLinks)
#include "tst_tab_links.moc"
