#include "DetailLinesText.h"
#include "platform/Database.h"
#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QBrush>
#include <QPushButton>
#include <QtTest>

using namespace DetailLine;

namespace {

QStringList lines(QuotationTabFixture& f)
{
    return detailLines(f.work());
}

// All columns of the line named `name`, without its 行番号.
QString fullLine(QuotationTabFixture& f, const QString& name)
{
    const auto r = f.work().firstRow(QStringLiteral("select * from w明細 where 品名 = ?"), {name});
    if (!r) return {};
    QStringList cells;
    for (int c = 1; c < r->count(); ++c) cells << (r->isNull(c) ? QStringLiteral("-") : r->value(c).toString());
    return cells.join(u'|');
}

void fill(QuotationTabFixture& f)
{
    const auto m = [](int yen) { return QVariant::fromValue(Currency::fromWhole(yen)); };
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(0, {{品名, "A"}, {金額, m(100)}}));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(1, {{品名, "B"}, {金額, m(200)}}));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(2, {{品名, "C"}}));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(3, {{品名, "D"}, {商品区分, "文具"}, {入数, "10"}, {数量, m(4)}, {単位, "個"},
                                   {単価, m(100)}, {金額, m(400)}, {非課税, true}, {ふりがな, "でぃー"}}));
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(4, {{品名, "E"}, {金額, m(500)}}));
}

}  // namespace

class TestSubtotals : public QObject {
    Q_OBJECT
private slots:
    void insertAndDeleteSequence();
    void failedMoveLeavesLinesAsTheyWere_data();
    void failedMoveLeavesLinesAsTheyWere();
};

void TestSubtotals::insertAndDeleteSequence()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(QTest::qWaitForWindowExposed(&f.tab));
    fill(f);
    f.messages.clear();
    const QString dLine = fullLine(f, QStringLiteral("D"));
    QCOMPARE(dLine, QStringLiteral("D|文具|10|40000|個|1000000|4000000|1|でぃー|0"));

    struct Step {
        const char* what;
        bool subtotal;       // cmd小計, else cmd行削除
        int line;            // current line before the click; 0 = no current line
        QString message;     // refusal, or none
        QStringList after;   // the lines from line 1 afterwards (none: unchanged)
    };
    const QStringList start{"A|100|0", "B|200|0", "C|-|0", "D|400|0", "E|500|0"};
    const QStringList one{"A|100|0", "B|200|0", "C|-|0", " 小 計|300|1", "D|400|0", "E|500|0"};
    const QStringList two{"A|100|0", "B|200|0", "C|-|0", " 小 計|300|1", "D|400|0", "E|500|0", " 小 計|900|1"};
    // The refusal rules are tested without the tab (tst_detail_lines); one
    // refusal here shows the tab reads the lines and shows the message.
    const QList<Step> steps{
        {"first subtotal sums from the top", true, 4, {}, one},
        {"second subtotal sums after the first", true, 7, {}, two},
        {"deleting a subtotal: the next one takes its lines", false, 4, {},
         {"A|100|0", "B|200|0", "C|-|0", "D|400|0", "E|500|0", " 小 計|1200|1"}},
        {"deleting line 1", false, 1, {}, {"B|200|0", "C|-|0", "D|400|0", "E|500|0", " 小 計|1100|1"}},
        {"line 100 holds a line", true, 2, "100行目に入力があるため小計は作成できません。", {}},
        {"deleting line 100", false, 100, {}, {"B|200|0", "C|-|0", "D|400|0", "E|500|0", " 小 計|1100|1"}},
        {"subtotal of one line", true, 2, {},
         {"B|200|0", " 小 計|200|1", "C|-|0", "D|400|0", "E|500|0", " 小 計|900|1"}},
        {"no current line: delete", false, 0, {}, {}},
        {"no current line: subtotal", true, 0, {}, {}},
    };

    QStringList current = expectedLines(start);
    QCOMPARE(lines(f), current);
    for (const Step& s : steps) {
        const QByteArray tag = s.what;
        if (tag == "line 100 holds a line") {
            QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(99, {{品名, "Z"}}));
            current = lines(f);
        }
        if (s.line > 0) {
            control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(s.line - 1, 数量);
        } else {
            control<GridView>(f.quotation(), "Grid明細")->setCurrentIndex(QModelIndex());
        }
        f.messages.clear();
        (s.subtotal ? control<QPushButton>(f.quotation(), "cmd小計") : control<QPushButton>(f.quotation(), "cmd行削除"))->click();

        QCOMPARE(f.messages.texts(), s.message.isEmpty() ? QStringList{} : QStringList{s.message});
        if (!s.after.isEmpty()) current = expectedLines(s.after);
        QVERIFY2(lines(f) == current, tag + "\n" + lines(f).mid(0, 8).join(u'\n').toUtf8());
        // The grid shows the table, and moved lines keep all their columns.
        QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->rowCount(), kLines);
        QCOMPARE(fullLine(f, QStringLiteral("D")), dLine);
        if (!s.after.isEmpty()) {
            QVERIFY2(control<GridView>(f.quotation(), "Grid明細")->currentRow() == s.line - 1, tag);
            QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentColumn(), int(数量));
            QCOMPARE(QApplication::focusWidget(), control<GridView>(f.quotation(), "Grid明細"));
        }
        // Subtotal lines are painted grey, the others in the grid's default.
        for (int row = 0; row < kLines; ++row) {
            const QVariant bg = control<WorkTableModel>(f.quotation(), "wkDat")->index(row, 品名).data(Qt::BackgroundRole);
            const bool grey = bg.isValid() && bg.value<QBrush>().color() == QColor(0xE0, 0xE0, 0xE0);
            QVERIFY2(grey == current[row].endsWith(u"|1"), tag);
        }
        QCOMPARE(f.work().scalar(QStringLiteral("select count(*) from w明細ソート")).toInt(), 0);
    }
}

void TestSubtotals::failedMoveLeavesLinesAsTheyWere_data()
{
    QTest::addColumn<bool>("subtotal");
    QTest::addColumn<QString>("message");
    QTest::newRow("subtotal") << true << "小計行を挿入できませんでした。";
    QTest::newRow("delete") << false << "行を削除できませんでした。";
}

void TestSubtotals::failedMoveLeavesLinesAsTheyWere()
{
    QFETCH(bool, subtotal);
    QFETCH(QString, message);
    QuotationTabFixture f;
    QVERIFY(f.open());
    fill(f);
    f.messages.clear();
    const QStringList before = lines(f);
    // The rewrite fails half-way, after w明細 was emptied.
    QVERIFY(f.work().exec(QStringLiteral(
        "create trigger fail_late before insert on w明細 when new.行番号 = 50 begin select raise(abort, 'disk full'); end")));

    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(3, 品名);
    (subtotal ? control<QPushButton>(f.quotation(), "cmd小計") : control<QPushButton>(f.quotation(), "cmd行削除"))->click();

    QCOMPARE(lines(f), before);
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY2(f.messages.shown().first().text.startsWith(message), qPrintable(f.messages.shown().first().text));
    QVERIFY(f.messages.shown().first().detail.contains(QStringLiteral("disk full")));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->rowCount(), kLines);
}

QTEST_MAIN(TestSubtotals)
#include "tst_subtotals.moc"
