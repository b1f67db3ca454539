// The history tab: listing stored quotations by customer and date range,
// newest first, the count, ticking and deleting, opening from the list.

#include "GridView.h"
#include "ModVelt.h"
#include "QuotationStore.h"
#include "TestSupport.h"
#include "Velt.h"
#include "WorkTableModel.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

struct Stored {
    int number;
    QString date;
    QString customer;  // "" = stored without a customer name
};

// Dates in May cover both bounds, a tie (3 and 4 on the 15th), a stored time
// of day (5) and a quotation without a customer name (7).
const QList<Stored> kFixture{
    {1, "2024-04-30", "甲商事"}, {2, "2024-05-01", "乙's 工業"}, {3, "2024-05-15", "甲商事"},
    {4, "2024-05-15", "乙's 工業"}, {5, "2024-05-31", "甲商事"},   {6, "2024-06-01", "甲商事"},
    {7, "2024-05-20", ""},
};

void storeFixture()
{
    for (const Stored& s : kFixture) {
        QuotationRecord q;
        q.header.伝票番号 = s.number;
        q.header.日付 = QDate::fromString(s.date, Qt::ISODate);
        q.header.顧客名 = s.customer.isEmpty() ? QVariant() : QVariant(s.customer);
        q.header.件名 = QStringLiteral("件名%1").arg(s.number);
        QuotationLine l;
        l.品名 = QStringLiteral("品%1").arg(s.number);
        q.lines << l;
        QVERIFY(StoreQuotation(ModVelt::DataDb, q, {}).ok);
    }
    QVERIFY(ModVelt::DataDb.exec(QStringLiteral("update 見積書ヘッダ set 日付 = '2024-05-31 15:30:00' where 伝票番号 = 5")));
}

QList<int> listed(Velt& w)
{
    QList<int> out;
    for (int r = 0; r < w.dat履歴->rowCount(); ++r) out << w.dat履歴->value(r, 1).toInt();
    return out;
}

int rowOf(Velt& w, int number)
{
    return listed(w).indexOf(number);
}

void clickCell(Velt& w, int row, int col)
{
    GridView* g = w.Grid履歴リスト;
    const QRect rect = g->visualRect(w.dat履歴->index(row, col));
    QVERIFY(rect.isValid());
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
}

QList<int> storedNumbers()
{
    QList<int> out;
    for (const QSqlRecord& r : ModVelt::DataDb.rows(QStringLiteral("select 伝票番号 from 見積書ヘッダ order by 伝票番号")))
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
};

void TestHistory::listByFilter_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("count");
    QTest::newRow("no filter") << "" << "" << "" << QList<int>{6, 5, 7, 4, 3, 2, 1} << 6;
    QTest::newRow("customer") << "甲商事" << "" << "" << QList<int>{6, 5, 3, 1} << 4;
    QTest::newRow("customer with apostrophe") << "乙's 工業" << "" << "" << QList<int>{4, 2} << 2;
    QTest::newRow("date range, both ends included") << "" << "2024-05-01" << "2024-05-31" << QList<int>{5, 7, 4, 3, 2} << 4;
    QTest::newRow("last date only") << "" << "" << "2024-05-15" << QList<int>{4, 3, 2, 1} << 4;
    QTest::newRow("first date only") << "" << "2024-05-31" << "" << QList<int>{6, 5} << 2;
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
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    storeFixture();
    w.cmb履歴顧客名->setText(customer);
    w.txt開始->setDate(from.isEmpty() ? std::nullopt : std::optional<QDate>(QDate::fromString(from, Qt::ISODate)));
    w.txt終了->setDate(to.isEmpty() ? std::nullopt : std::optional<QDate>(QDate::fromString(to, Qt::ISODate)));
    w.cmd読込->click();
    QCOMPARE(listed(w), numbers);
    QCOMPARE(w.num登録件数->value(), std::optional<Currency>(Currency::fromWhole(count)));
    QCOMPARE(w.lblRirekiMsg->text(), QStringLiteral("読込中です････"));
    QVERIFY(!w.CnRirekiMsg->isVisible());
    // Every row arrives unticked, with its date and subject.
    for (int r = 0; r < w.dat履歴->rowCount(); ++r) {
        QVERIFY(!w.dat履歴->value(r, 0).toBool());
        QCOMPARE(w.dat履歴->text(r, 4), QStringLiteral("件名%1").arg(numbers[r]));
    }
    QVERIFY(data.messages().shown().isEmpty());
}

void TestHistory::tickDeleteAndOpen()
{
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    storeFixture();
    w.SSTab1->setCurrentIndex(1);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.cmd読込->click();
    QCOMPARE(listed(w).size(), 7);

    // A click in the tick column toggles the tick in w履歴リスト; a second click clears it.
    clickCell(w, rowOf(w, 6), 0);
    QVERIFY(w.dat履歴->value(rowOf(w, 6), 0).toBool());
    clickCell(w, rowOf(w, 6), 0);
    QVERIFY(!w.dat履歴->value(rowOf(w, 6), 0).toBool());
    clickCell(w, rowOf(w, 5), 0);
    clickCell(w, rowOf(w, 3), 0);
    QCOMPARE(ModVelt::WorkDb.scalar(QStringLiteral("select group_concat(伝票番号) from "
                                                   "(select 伝票番号 from w履歴リスト where チェック <> 0 order by 伝票番号)"))
                 .toString(),
             QStringLiteral("3,5"));

    // Answered No: nothing happens.
    data.messages().clear();
    data.messages().answerNext(MessageAnswer::No);
    w.cmd履歴削除->click();
    QCOMPARE(storedNumbers(), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(listed(w).size(), 7);
    // Yes: both ticked quotations go, lines included; the rest of the list and the count stay.
    w.cmd履歴削除->click();
    QCOMPARE(data.messages().shown().size(), 2);
    QCOMPARE(data.messages().shown()[1].text, QStringLiteral("指定された 見積書 を削除します。よろしいですか"));
    QCOMPARE(storedNumbers(), (QList<int>{1, 2, 4, 6, 7}));
    QCOMPARE(ModVelt::DataDb.scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 in (3, 5)")).toInt(), 0);
    QCOMPARE(listed(w), (QList<int>{6, 7, 4, 2, 1}));
    QCOMPARE(w.num登録件数->value(), std::optional<Currency>(Currency::fromWhole(6)));

    // A click on any other column opens that quotation on the quotation tab.
    clickCell(w, rowOf(w, 4), 3);
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    QCOMPARE(w.txtNo->text(), QStringLiteral("4"));
    QCOMPARE(w.cmb顧客名->text(), QStringLiteral("乙's 工業"));
    QCOMPARE(w.txt件名->text(), QStringLiteral("件名4"));
    QCOMPARE(dbv::text(ReadWorkLines(ModVelt::WorkDb)[0].品名), QStringLiteral("品4"));

    // Deleting on the quotation tab empties the list; the date filters and the count stay.
    w.txt終了->setDate(QDate(2024, 12, 31));
    w.cmd読込_Click();
    QCOMPARE(listed(w).size(), 5);
    data.messages().answerNext(MessageAnswer::Yes);
    w.cmd削除_Click();
    QCOMPARE(storedNumbers(), (QList<int>{1, 2, 6, 7}));
    QCOMPARE(w.dat履歴->rowCount(), 0);
    QCOMPARE(w.txt終了->date(), std::optional<QDate>(QDate(2024, 12, 31)));
    QCOMPARE(w.num登録件数->value(), std::optional<Currency>(Currency::fromWhole(4)));  // 7 has no customer

    // Clearing empties the list, the filters and the count box.
    w.cmb履歴顧客名->setText(QStringLiteral("甲商事"));
    w.txt開始->setDate(QDate(2024, 1, 1));
    w.cmd履歴クリア->click();
    QCOMPARE(w.dat履歴->rowCount(), 0);
    QCOMPARE(ModVelt::WorkDb.scalar(QStringLiteral("select count(*) from w履歴リスト")).toInt(), 0);
    QCOMPARE(w.cmb履歴顧客名->text(), QString());
    QVERIFY(w.txt開始->isNull());
    QVERIFY(w.txt終了->isNull());
    QVERIFY(w.num登録件数->isNull());
    QCOMPARE(w.num登録件数->text(), QString());
}

void TestHistory::failedDeleteKeepsListAndQuotations()
{
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    storeFixture();
    QVERIFY(ModVelt::DataDb.exec(QStringLiteral(
        "create trigger keep before delete on 見積書ヘッダ when old.伝票番号 = 3 begin select raise(abort, 'locked'); end")));
    w.cmd読込_Click();
    w.dat履歴->setValue(rowOf(w, 5), 0, true);
    w.dat履歴->setValue(rowOf(w, 3), 0, true);
    data.messages().clear();
    w.Delete履歴();
    QCOMPARE(data.messages().shown().size(), 2);
    QCOMPARE(data.messages().shown()[1].title, QStringLiteral("エラー"));
    QVERIFY(data.messages().shown()[1].text.contains(QStringLiteral("locked")));
    // One transaction: 5 was not deleted either, and the list still shows both ticked.
    QCOMPARE(storedNumbers(), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(ModVelt::DataDb.scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 5")).toInt(), 1);
    QCOMPARE(listed(w).size(), 7);
    QVERIFY(w.dat履歴->value(rowOf(w, 5), 0).toBool());
    QVERIFY(w.dat履歴->value(rowOf(w, 3), 0).toBool());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
