// The history tab: listing stored quotations by customer and date range,
// newest first, the count, ticking and deleting, opening from the list.

#include "StoreSamples.h"
#include "platform/GridView.h"
#include "workspace/QuotationStore.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "platform/WorkTableModel.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

void storeFixture(HistoryTabFixture& f)
{
    QVERIFY(samples::storeListed(f.data()));
}

// The tab over the stored fixture, everything listed.
void openListed(HistoryTabFixture& f)
{
    QVERIFY(f.open());
    storeFixture(f);
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    control<QPushButton>(f.history(), "cmd読込")->click();
}

// The history list's model over w履歴リスト.
WorkTableModel* historyRows(HistoryTabFixture& f)
{
    return control<WorkTableModel>(f.history(), "dat履歴");
}

QList<int> listed(HistoryTabFixture& f)
{
    QList<int> out;
    for (int r = 0; r < historyRows(f)->rowCount(); ++r) out << historyRows(f)->value(r, 1).toInt();
    return out;
}

int rowOf(HistoryTabFixture& f, int number)
{
    return listed(f).indexOf(number);
}

void clickCell(HistoryTabFixture& f, int row, int col)
{
    GridView* g = control<GridView>(f.history(), "Grid履歴リスト");
    const QRect rect = g->visualRect(historyRows(f)->index(row, col));
    QVERIFY(rect.isValid());
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
}

QList<int> storedNumbers(HistoryTabFixture& f)
{
    QList<int> out;
    for (const QSqlRecord& r : f.data().rows(QStringLiteral("select 伝票番号 from 見積書ヘッダ order by 伝票番号")))
        out << r.value(0).toInt();
    return out;
}

}  // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void listByFilter_data();
    void listByFilter();
    void tickDeleteAndOpen();
    void failedDeleteKeepsListAndQuotations();
    void tickThatCannotBeWrittenIsShown();
};

void TestHistory::listByFilter_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("count");
    // The filter's cases are tested on the query itself (tst_quotation_store);
    // these show the tab passes the filter and counts the rows with a customer.
    QTest::newRow("no filter") << "" << "" << "" << QList<int>{6, 5, 7, 4, 3, 2, 1} << 6;
    QTest::newRow("customer and range") << "甲商事" << "2024-05-02" << "2024-05-31" << QList<int>{5, 3} << 2;
    QTest::newRow("customer matching nothing") << "甲" << "" << "" << QList<int>{} << 0;
}

void TestHistory::listByFilter()
{
    QFETCH(QString, customer);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QList<int>, numbers);
    QFETCH(int, count);
    HistoryTabFixture f;
    QVERIFY(f.open());
    storeFixture(f);
    control<TextComboBox>(f.history(), "cmb履歴顧客名")->setText(customer);
    const auto date = [](const QString& iso) {
        return iso.isEmpty() ? std::nullopt : std::optional<QDate>(QDate::fromString(iso, Qt::ISODate));
    };
    control<DateBox>(f.history(), "txt開始")->setDate(date(from));
    control<DateBox>(f.history(), "txt終了")->setDate(date(to));
    control<QPushButton>(f.history(), "cmd読込")->click();
    QCOMPARE(listed(f), numbers);
    QCOMPARE(control<NumberBox>(f.history(), "num登録件数")->value(), std::optional<Currency>(Currency::fromWhole(count)));
    QCOMPARE(control<QLabel>(f.history(), "lblRirekiMsg")->text(), QStringLiteral("読込中です････"));
    QVERIFY(!control<QFrame>(f.history(), "CnRirekiMsg")->isVisible());
    // Every row arrives unticked, with its date and subject.
    for (int r = 0; r < historyRows(f)->rowCount(); ++r) {
        QVERIFY(!historyRows(f)->value(r, 0).toBool());
        QCOMPARE(historyRows(f)->text(r, 4), QStringLiteral("件名%1").arg(numbers[r]));
    }
    QVERIFY(f.messages.shown().isEmpty());
}

void TestHistory::tickDeleteAndOpen()
{
    HistoryTabFixture f;
    openListed(f);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(listed(f).size(), 7);

    // A click in the tick column toggles the tick in w履歴リスト; a second click clears it.
    clickCell(f, rowOf(f, 6), 0);
    QVERIFY(historyRows(f)->value(rowOf(f, 6), 0).toBool());
    clickCell(f, rowOf(f, 6), 0);
    QVERIFY(!historyRows(f)->value(rowOf(f, 6), 0).toBool());
    clickCell(f, rowOf(f, 5), 0);
    clickCell(f, rowOf(f, 3), 0);
    QCOMPARE(f.work().scalar(QStringLiteral("select group_concat(伝票番号) from "
                                                   "(select 伝票番号 from w履歴リスト where チェック <> 0 order by 伝票番号)"))
                 .toString(),
             QStringLiteral("3,5"));

    // Answered No: nothing happens.
    f.messages.clear();
    f.messages.answerNext(MessageAnswer::No);
    control<QPushButton>(f.history(), "cmd履歴削除")->click();
    QCOMPARE(storedNumbers(f), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(listed(f).size(), 7);
    // Yes: both ticked quotations go, lines included; the rest of the list and the count stay.
    control<QPushButton>(f.history(), "cmd履歴削除")->click();
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown()[1].text, QStringLiteral("指定された 見積書 を削除します。よろしいですか"));
    QCOMPARE(storedNumbers(f), (QList<int>{1, 2, 4, 6, 7}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 in (3, 5)")).toInt(), 0);
    QCOMPARE(listed(f), (QList<int>{6, 7, 4, 2, 1}));
    QCOMPARE(control<NumberBox>(f.history(), "num登録件数")->value(), std::optional<Currency>(Currency::fromWhole(6)));

    // A click on any other column asks the frame to open that quotation (the
    // opening itself is the main window's test, tst_tab_links).
    clickCell(f, rowOf(f, 4), 3);
    QCOMPARE(f.opened, QStringList{QStringLiteral("4")});

    // Emptied from the quotation tab (a deletion there, a reset): the list
    // goes, the date filters and the count stay.
    control<DateBox>(f.history(), "txt終了")->setDate(QDate(2024, 12, 31));
    f.history().cmd読込_Click();
    QCOMPARE(listed(f).size(), 5);
    static_cast<HistoryList&>(f.history()).Clear履歴();
    QCOMPARE(historyRows(f)->rowCount(), 0);
    QCOMPARE(f.work().scalar(QStringLiteral("select count(*) from w履歴リスト")).toInt(), 0);
    QCOMPARE(control<DateBox>(f.history(), "txt終了")->date(), std::optional<QDate>(QDate(2024, 12, 31)));
    // 7 has no customer
    QCOMPARE(control<NumberBox>(f.history(), "num登録件数")->value(), std::optional<Currency>(Currency::fromWhole(4)));

    // Clearing empties the list, the filters and the count box.
    control<TextComboBox>(f.history(), "cmb履歴顧客名")->setText(QStringLiteral("甲商事"));
    control<DateBox>(f.history(), "txt開始")->setDate(QDate(2024, 1, 1));
    control<QPushButton>(f.history(), "cmd履歴クリア")->click();
    QCOMPARE(historyRows(f)->rowCount(), 0);
    QCOMPARE(f.work().scalar(QStringLiteral("select count(*) from w履歴リスト")).toInt(), 0);
    QCOMPARE(control<TextComboBox>(f.history(), "cmb履歴顧客名")->text(), QString());
    QVERIFY(control<DateBox>(f.history(), "txt開始")->isNull());
    QVERIFY(control<DateBox>(f.history(), "txt終了")->isNull());
    QVERIFY(control<NumberBox>(f.history(), "num登録件数")->isNull());
    QCOMPARE(control<NumberBox>(f.history(), "num登録件数")->text(), QString());
}

void TestHistory::failedDeleteKeepsListAndQuotations()
{
    HistoryTabFixture f;
    QVERIFY(f.open());
    storeFixture(f);
    QVERIFY(f.data().exec(QStringLiteral(
        "create trigger keep before delete on 見積書ヘッダ when old.伝票番号 = 3 begin select raise(abort, 'locked'); end")));
    f.history().cmd読込_Click();
    historyRows(f)->setValue(rowOf(f, 5), 0, true);
    historyRows(f)->setValue(rowOf(f, 3), 0, true);
    f.messages.clear();
    f.history().Delete履歴();
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown()[1].title, QStringLiteral("エラー"));
    QVERIFY(f.messages.shown()[1].detail.contains(QStringLiteral("locked")));
    // One transaction: 5 was not deleted either, and the list still shows both ticked.
    QCOMPARE(storedNumbers(f), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 5")).toInt(), 1);
    QCOMPARE(listed(f).size(), 7);
    QVERIFY(historyRows(f)->value(rowOf(f, 5), 0).toBool());
    QVERIFY(historyRows(f)->value(rowOf(f, 3), 0).toBool());
}

// A tick that w履歴リスト does not take is not shown as ticked, and the failure
// box says so (a deletion would not see it).
void TestHistory::tickThatCannotBeWrittenIsShown()
{
    HistoryTabFixture f;
    openListed(f);
    if (QTest::currentTestFailed()) return;
    QVERIFY(f.work().exec(QStringLiteral(
        "create temp trigger refuse before update on w履歴リスト begin select raise(abort, 'read-only file'); end")));
    f.messages.clear();

    clickCell(f, rowOf(f, 6), 0);

    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown()[0].title, QStringLiteral("エラー"));
    QVERIFY(f.messages.shown()[0].detail.contains(QStringLiteral("read-only file")));
    QVERIFY(!historyRows(f)->value(rowOf(f, 6), 0).toBool());
    QCOMPARE(f.work().scalar(QStringLiteral("select count(*) from w履歴リスト where チェック <> 0")).toInt(), 0);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
