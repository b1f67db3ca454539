// The print hand-over alone on a session, with a recording quotation: the
// paper choosing the layout and its print settings, read afresh for every
// run; the print data of a header as shown; the line count; nothing of an
// earlier quotation in a later printout; and a preview that shows a whole
// page.

#include "PrintRoadSupport.h"
#include "app/QuotationPort.h"
#include "printing/ReportDocument.h"
#include "support/RecordingQuotationPort.h"
#include "support/SessionFixture.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"

#include <QAction>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// The hand-over alone on a session: it reads the header a recording quotation
// shows and hands its pages to a recorder (or, once told, to real preview
// windows of the owner).
struct HandOverFixture : SessionFixture {
    RecordingQuotationPort quotation;
    RecordingOutput output;
    QWidget owner;
    PrintHandOver printing{session, quotation, &owner};
    bool open()
    {
        if (!SessionFixture::open()) return false;
        printing.setOutput(&output);
        return true;
    }
    // The print panel's request with the paper and the date tick given.
    void run(bool print, const QString& paper = QStringLiteral("A4白紙"), bool withDate = true)
    {
        printing.dispatch(PrintRequest{paper, print, withDate});
    }
};

// Every text the pages print.
QStringList printedTexts(const ReportDocument& doc)
{
    QStringList out;
    for (const ReportPage& page : doc.pages) out << page.allTexts();
    return out;
}

}  // namespace

class TestPrintHandOver : public QObject {
    Q_OBJECT
private slots:
    void paperChoosesTheLayout_data();
    void paperChoosesTheLayout();
    void settingsReadForEveryRun();
    void printDataOfTheShownHeader_data();
    void printDataOfTheShownHeader();
    void lineCount_data();
    void lineCount();
    void nothingOfAnEarlierQuotation();
    void previewShowsAWholePage_data();
    void previewShowsAWholePage();
};

void TestPrintHandOver::paperChoosesTheLayout_data()
{
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("pageSize");  // QPageSize::PageSizeId
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    QTest::newRow("A4白紙") << QStringLiteral("A4白紙") << int(QPageSize::A4) << "MA4" << QStringLiteral("A4の見積書");
    QTest::newRow("B5白紙") << QStringLiteral("B5白紙") << int(QPageSize::JisB5) << "MB5" << QStringLiteral("B5の見積書");
    QTest::newRow("Q-310: A4 with its settings") << QStringLiteral("Q-310") << int(QPageSize::A4) << "MA4"
                                                 << QStringLiteral("A4の見積書");
    QTest::newRow("no paper: A4") << QString() << int(QPageSize::A4) << "MA4" << QStringLiteral("A4の見積書");
    QTest::newRow("another text: A4") << QStringLiteral("b5白紙") << int(QPageSize::A4) << "MA4"
                                      << QStringLiteral("A4の見積書");
}

void TestPrintHandOver::paperChoosesTheLayout()
{
    QFETCH(QString, paper);
    QFETCH(int, pageSize);
    QFETCH(QString, code);
    QFETCH(QString, title);

    HandOverFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET タイトル1 = 'A4の見積書' WHERE 型番 = 'MA4'"),
                      QStringLiteral("UPDATE 印刷情報 SET タイトル1 = 'B5の見積書' WHERE 型番 = 'MB5'")});
    QVERIFY(f.open());
    for (const bool print : {false, true}) {
        f.output.runs.clear();
        f.run(print, paper);
        QCOMPARE(f.output.runs.size(), 1);
        const ReportDocument& doc = *f.output.runs.first().pages;
        QCOMPARE(int(doc.paper), pageSize);
        QCOMPARE(doc.pages.first().text(QStringLiteral("lblタイトル"))->text, title);
        QVERIFY(f.session.printSettingsInUse());
        QCOMPARE(f.session.printSettingsInUse()->型番, code);
    }
}

// A print-settings change saved between two runs applies to the next one.
void TestPrintHandOver::settingsReadForEveryRun()
{
    HandOverFixture f;
    QVERIFY(f.open());
    for (const QString& paper : {QStringLiteral("A4白紙"), QStringLiteral("B5白紙")}) {
        const QString code = paper == QStringLiteral("A4白紙") ? QStringLiteral("MA4") : QStringLiteral("MB5");
        QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET タイトル1 = '初め', LM = 0 WHERE 型番 = ?"), {code}));
        f.run(false, paper);
        QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET タイトル1 = '次', LM = 300 WHERE 型番 = ?"), {code}));
        f.run(false, paper);
        const ReportDocument& before = *f.output.runs[f.output.runs.size() - 2].pages;
        const ReportDocument& after = *f.output.runs.last().pages;
        QCOMPARE(before.pages.first().text(QStringLiteral("lblタイトル"))->text, QStringLiteral("初め"));
        QCOMPARE(after.pages.first().text(QStringLiteral("lblタイトル"))->text, QStringLiteral("次"));
        QCOMPARE(after.origin.x() - before.origin.x(), 300.0);
    }
}

// The print data of a header as shown: the date only when it is to be
// printed and the box holds one, a total only when its box shows a text.
void TestPrintHandOver::printDataOfTheShownHeader_data()
{
    QTest::addColumn<bool>("withDate");
    QTest::addColumn<bool>("dated");       // the date box holds a date
    QTest::addColumn<QString>("shown");    // num見積金額 as it shows; "" empty
    QTest::addColumn<QString>("date");     // handed
    QTest::addColumn<QString>("amount");   // handed; "<null>" for Null

    QTest::newRow("ticked: the date as shown") << true << true << "1,050" << "令和06年06月03日" << "1050";
    QTest::newRow("unticked: no date") << false << true << "1,050" << "" << "1050";
    QTest::newRow("ticked, the date box empty: no date") << true << false << "1,050" << "" << "1050";
    QTest::newRow("an empty total hands Null") << true << true << "" << "令和06年06月03日" << "<null>";
    QTest::newRow("a total of 0 hands 0") << true << true << "0" << "令和06年06月03日" << "0";
}

void TestPrintHandOver::printDataOfTheShownHeader()
{
    QFETCH(bool, withDate);
    QFETCH(bool, dated);
    QFETCH(QString, shown);
    QFETCH(QString, date);
    QFETCH(QString, amount);
    ShownQuotation q;
    q.txtNo = QStringLiteral("77");
    if (dated) q.日付 = QDate(2024, 6, 3);
    q.日付表示 = dated ? QStringLiteral("令和06年06月03日") : QString();
    q.印鑑 = {QStringLiteral("印1"), QString(), QStringLiteral("印3"), QStringLiteral("印4")};
    q.税抜計 = {QStringLiteral("1,000"), Currency::fromWhole(1000)};
    q.消費税 = {QStringLiteral("50"), Currency::fromWhole(50)};
    // What an empty box holds is not handed, whatever value it keeps.
    q.見積金額 = {shown, shown.isEmpty() ? Currency::fromWhole(9) : *Currency::parse(QString(shown).remove(u','))};

    const QStringList handed = members(PrintDataFrom(q, withDate));
    QCOMPARE(handed[0], QStringLiteral("77"));
    QCOMPARE(handed[1], date);
    QCOMPARE(handed.mid(4, 3), (QStringList{"1000", "50", amount}));
    QCOMPARE(handed.mid(14, 4), (QStringList{"印1", "", "印3", "印4"}));
    QCOMPARE(handed.last(), QStringLiteral("0"));  // the line count is the run's
}

void TestPrintHandOver::lineCount_data()
{
    QTest::addColumn<QStringList>("cells");  // "n:column=value" in w明細
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stored");         // the lines a store keeps
    QTest::addColumn<int>("a4Pages");

    const auto named = [](std::initializer_list<int> lines) {
        QStringList out;
        for (int n : lines) out << QStringLiteral("%1:品名=品%1").arg(n);
        return out;
    };
    QTest::newRow("no line") << QStringList{} << 0 << 0 << 1;
    QTest::newRow("three, a blank one, two more") << named({1, 2, 3, 5, 6}) << 6 << 6 << 1;
    QTest::newRow("the first line blank, a later one filled") << named({5}) << 5 << 5 << 1;
    QTest::newRow("an amount without a name counts")
        << QStringList{QStringLiteral("1:品名=品1"), QStringLiteral("2:金額=500")} << 2 << 2 << 1;
    QTest::newRow("an amount of 0 is an amount")
        << QStringList{QStringLiteral("1:品名=品1"), QStringLiteral("2:金額=0")} << 2 << 2 << 1;
    QTest::newRow("a last line with only a quantity and a unit counts")
        << QStringList{QStringLiteral("1:品名=品1"), QStringLiteral("3:数量=2"), QStringLiteral("3:単位=箱")} << 3 << 3 << 1;
    QTest::newRow("a name of blanks does not")
        << QStringList{QStringLiteral("1:品名=品1"), QStringLiteral("4:品名=  \u3000 ")} << 1 << 1 << 1;
    // An empty text (not Null) as name is a line that holds something: the
    // print counts it and a store keeps it.
    QTest::newRow("an empty name counts")
        << QStringList{QStringLiteral("1:品名=品1"), QStringLiteral("4:品名=''")} << 4 << 4 << 1;
    QTest::newRow("a line on the next page after blank ones") << named({1, 16}) << 16 << 16 << 2;
    QTest::newRow("the last line") << named({100}) << 100 << 100 << 7;
}

// The count runs to the last line that holds anything, as a store keeps the
// lines; the pages follow it, so no line is dropped that the totals include.
void TestPrintHandOver::lineCount()
{
    QFETCH(QStringList, cells);
    QFETCH(int, count);
    QFETCH(int, stored);
    QFETCH(int, a4Pages);

    HandOverFixture f;
    QVERIFY(f.open());
    QVERIFY(setLines(f.work(), cells));
    QCOMPARE(GetLineNum見積明細(f.work()), count);
    QCOMPARE(UsedLineCount(ReadWorkLines(f.work())), stored);
    f.run(false);
    QCOMPARE(int(f.printing.PrnData().明細行数), count);
    const ReportDocument& doc = *f.output.runs.last().pages;
    QCOMPARE(doc.pages.size(), a4Pages);
    const QStringList printed = printedTexts(doc);
    for (const QString& cell : cells)
        if (cell.contains(QStringLiteral(":品名=品"))) QVERIFY2(printed.contains(cell.section(QLatin1Char('='), 1)), qPrintable(cell));
}

// A run after another takes nothing from it: every member is written afresh.
void TestPrintHandOver::nothingOfAnEarlierQuotation()
{
    HandOverFixture f;
    QVERIFY(f.open());
    ShownQuotation& shown = f.quotation.shown;
    shown = {.txtNo = QStringLiteral("77"), .日付 = QDate(2024, 6, 3), .日付表示 = QStringLiteral("令和06年06月03日"),
             .顧客名 = QStringLiteral("甲商事"), .顧客情報 = QStringLiteral("〒530-0001\r\n大阪市北区"),
             .件名 = QStringLiteral("事務用品"), .メモ = QStringLiteral("甲商事へのメモ"),
             .印鑑 = {QStringLiteral("印1"), QStringLiteral("印2"), QStringLiteral("印3"), QStringLiteral("印4")},
             .有効期限 = QStringLiteral("1か月"), .支払条件 = QStringLiteral("月末締め"), .受渡場所 = QStringLiteral("貴社"),
             .納期 = QStringLiteral("即納"), .敬称 = QStringLiteral("御中"),
             .税抜計 = {QStringLiteral("1,000"), Currency::fromWhole(1000)},
             .消費税 = {QStringLiteral("50"), Currency::fromWhole(50)},
             .見積金額 = {QStringLiteral("1,050"), Currency::fromWhole(1050)}};
    QVERIFY(setLines(f.work(), {QStringLiteral("1:品名=りんご"), QStringLiteral("1:金額=1000")}));
    f.run(false, QStringLiteral("B5白紙"));
    QCOMPARE(f.printing.PrnData().メモ, QStringLiteral("甲商事へのメモ"));

    // Everything emptied on screen: an empty header, no line.
    shown = ShownQuotation{};
    QVERIFY(f.work().exec(QStringLiteral("UPDATE w明細 SET 品名 = NULL, 金額 = NULL")));
    for (const QString& paper : {QStringLiteral("B5白紙"), QStringLiteral("A4白紙")}) {
        f.run(false, paper);
        QStringList empty(18, QString());
        empty[4] = empty[5] = empty[6] = QStringLiteral("<null>");
        empty << QStringLiteral("0");
        QCOMPARE(members(f.printing.PrnData()), empty);
        const QStringList printed = printedTexts(*f.output.runs.last().pages);
        for (const QString& old : {QStringLiteral("甲商事"), QStringLiteral("甲商事へのメモ"), QStringLiteral("りんご"),
                                   QStringLiteral("印1"), QStringLiteral("77")})
            QVERIFY2(!printed.contains(old), qPrintable(old));
    }
}

void TestPrintHandOver::previewShowsAWholePage_data()
{
    QTest::addColumn<QString>("paper");
    QTest::newRow("A4白紙") << QStringLiteral("A4白紙");
    QTest::newRow("B5白紙") << QStringLiteral("B5白紙");
}

// The preview opens so that a whole page can be read: most of the screen's
// height, inside the screen, the whole page in view at that height, and every
// button of its toolbar shown (none behind the toolbar's overflow).
void TestPrintHandOver::previewShowsAWholePage()
{
    QFETCH(QString, paper);
    HandOverFixture f;
    QVERIFY(f.open());
    f.printing.setOutput(nullptr);
    f.run(false, paper);
    const auto previews = f.owner.findChildren<QPrintPreviewDialog*>();
    QCOMPARE(previews.size(), 1);
    QPrintPreviewDialog* preview = previews.first();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    const QRect available = preview->screen()->availableGeometry();
    QVERIFY2(preview->height() >= available.height() * 8 / 10 && available.contains(preview->frameGeometry()),
             qPrintable(QStringLiteral("%1 × %2 at (%3, %4) on %5 × %6")
                            .arg(preview->width()).arg(preview->height()).arg(preview->x()).arg(preview->y())
                            .arg(available.width()).arg(available.height())));

    const QAction* fitPage = preview->findChild<QAction*>(QStringLiteral("fitPageAction"));
    QVERIFY(fitPage && fitPage->isChecked());
    const QGraphicsView* view = preview->findChild<QGraphicsView*>();
    QVERIFY(view && view->scene());
    QRect page;
    for (const QGraphicsItem* item : view->scene()->items()) {
        const QRect shown = view->mapFromScene(item->sceneBoundingRect()).boundingRect();
        if (shown.height() > page.height()) page = shown;
    }
    QVERIFY2(page.height() >= available.height() * 2 / 3 && view->viewport()->rect().contains(page),
             qPrintable(QStringLiteral("page %1 × %2 at (%3, %4) in a view of %5 × %6")
                            .arg(page.width()).arg(page.height()).arg(page.x()).arg(page.y())
                            .arg(view->viewport()->width()).arg(view->viewport()->height())));

    const QToolBar* bar = preview->findChild<QToolBar*>();
    QVERIFY(bar);
    const QToolButton* overflow = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbarext_button"));
    QVERIFY(!overflow || !overflow->isVisible());
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) continue;
        const QWidget* button = bar->widgetForAction(action);
        QVERIFY2(button && button->isVisible() && bar->rect().contains(button->geometry()), qPrintable(action->text()));
    }
    preview->close();
}

QTEST_MAIN(TestPrintHandOver)
#include "tst_print_hand_over.moc"
