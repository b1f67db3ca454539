// The print road through the main window: the print panel (opening, paper
// list, date tick, cancel), the confirmation before a print, Q-310 printing
// the A4 pages, the print data handed over from the quotation tab, previews
// that keep their own pages, and a quotation typed in the window found in the
// PDF of its preview. The hand-over alone is tst_print_hand_over.

#include "PrintRoadSupport.h"
#include "PrintSamples.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "printing/ReportRender.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/DetailLines.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QCheckBox>
#include <QFrame>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace DetailLine;

namespace {

// A main window whose print road hands its pages to a recorder.
struct PrintFixture : MainWindowFixture {
    RecordingOutput output;
    PrintHandOver& printing() { return window.printing(); }
    bool open()
    {
        if (!MainWindowFixture::open()) return false;
        printing().setOutput(&output);
        messages.clear();
        return true;
    }
    // The panel's preview or print with the paper and the date tick given.
    void run(bool print, const QString& paper = QStringLiteral("A4白紙"), bool withDate = true)
    {
        QuotationTab& q = quotation();
        control<QPushButton>(q, "cmd印刷")->click();
        control<PickOnlyComboBox>(q, "cmb用紙選択")->setText(paper);
        control<QCheckBox>(q, "chk日付印刷")->setChecked(withDate);
        (print ? control<QPushButton>(q, "cmd印刷実行") : control<QPushButton>(q, "cmdプレビュー"))->click();
    }
    // Writes cells of w明細 (see ::setLines) and shows them in the grid.
    bool setLines(const QStringList& cells)
    {
        if (!::setLines(work(), cells)) return false;
        control<WorkTableModel>(quotation(), "wkDat")->refresh();
        return true;
    }
};

// Fills the quotation header as a user would leave it before printing.
void fillHeader(QuotationTab& q, const QString& customer, const QString& memo)
{
    control<QLineEdit>(q, "txtNo")->setText(QStringLiteral("77"));
    control<DateBox>(q, "dt日付")->setDate(QDate(2024, 6, 3));
    control<TextComboBox>(q, "cmb顧客名")->setText(customer);
    control<TextComboBox>(q, "cmb敬称")->setText(QStringLiteral("御中"));
    control<MultiLineEdit>(q, "txt顧客情報")->setText(QStringLiteral("〒530-0001\r\n大阪市北区"));
    control<QLineEdit>(q, "txt件名")->setText(QStringLiteral("事務用品"));
    control<TextComboBox>(q, "cmb有効期限")->setText(QStringLiteral("1か月"));
    control<TextComboBox>(q, "cmb支払条件")->setText(QStringLiteral("月末締め"));
    control<TextComboBox>(q, "cmb受渡場所")->setText(QStringLiteral("貴社"));
    control<TextComboBox>(q, "cmb納期")->setText(QStringLiteral("即納"));
    control<MultiLineEdit>(q, "txtメモ")->setText(memo);
    for (int i = 0; i < 4; ++i) control<QLineEdit>(q, QStringLiteral("txt印鑑(%1)").arg(i))->setText(QStringLiteral("印%1").arg(i + 1));
    control<NumberBox>(q, "num税抜計")->setValue(Currency::fromWhole(1000));
    control<NumberBox>(q, "num消費税")->setValue(Currency::fromWhole(50));
    control<NumberBox>(q, "num見積金額")->setValue(Currency::fromWhole(1050));
}

// Prints the pages a preview window holds into a PDF, as its print button would.
QStringList wordsOfPreview(QPrintPreviewDialog* preview, const QString& pdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    emit preview->paintRequested(&printer);
    QStringList out;
    QString error;
    for (const PdfProbe::Word& w : PdfProbe::words(pdf, &error)) out << w.text;
    if (out.isEmpty()) qWarning() << error;
    return out;
}

}  // namespace

class TestPrintRoad : public QObject {
    Q_OBJECT
private slots:
    void panelOpensAfresh();
    void confirmation_data();
    void confirmation();
    void q310PrintsTheA4Pages();
    void handOver_data();
    void handOver();
    void previewsKeepTheirOwnPages();
    void typedQuotationInThePreviewsPdf();
};

// 印刷 shows the panel with the date ticked and the paper list reset to the
// default paper, every time; the paper is only picked, never typed or deleted;
// キャンセル hides the panel and gives the detail grid the focus.
void TestPrintRoad::panelOpensAfresh()
{
    PrintFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    QVERIFY(!control<QFrame>(q, "Cn印刷選択")->isVisible());
    QCOMPARE(control<QPushButton>(q, "cmdプレビュー")->text(), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"));

    f.session.設定情報.印刷用紙 = QStringLiteral("B5白紙");
    control<QLineEdit>(q, "txt件名")->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return control<QLineEdit>(q, "txt件名")->hasFocus(); }));
    control<QPushButton>(q, "cmd印刷")->click();
    QVERIFY(control<QFrame>(q, "Cn印刷選択")->isVisible());
    QVERIFY(control<QLineEdit>(q, "txt件名")->hasFocus());  // the focus stays where it was
    QVERIFY(control<QCheckBox>(q, "chk日付印刷")->isChecked());
    QStringList items;
    for (int i = 0; i < control<PickOnlyComboBox>(q, "cmb用紙選択")->count(); ++i) items << control<PickOnlyComboBox>(q, "cmb用紙選択")->itemText(i);
    QCOMPARE(items, (QStringList{QStringLiteral("A4白紙"), QStringLiteral("B5白紙"), QStringLiteral("Q-310")}));
    QCOMPARE(control<PickOnlyComboBox>(q, "cmb用紙選択")->text(), QStringLiteral("B5白紙"));

    // Delete, typed keys and an input-method commit change nothing.
    control<PickOnlyComboBox>(q, "cmb用紙選択")->setFocus();
    QTest::keyClick(control<PickOnlyComboBox>(q, "cmb用紙選択"), Qt::Key_Delete);
    QTest::keyClicks(control<PickOnlyComboBox>(q, "cmb用紙選択"), QStringLiteral("Q-3"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("A4白紙"));
    QApplication::sendEvent(control<PickOnlyComboBox>(q, "cmb用紙選択"), &commit);
    QCOMPARE(control<PickOnlyComboBox>(q, "cmb用紙選択")->text(), QStringLiteral("B5白紙"));

    // The user unticks the date and picks Q-310, then cancels.
    control<QCheckBox>(q, "chk日付印刷")->setChecked(false);
    control<PickOnlyComboBox>(q, "cmb用紙選択")->setCurrentIndex(2);
    control<QPushButton>(q, "cmd印刷選択キャンセル")->click();
    QVERIFY(!control<QFrame>(q, "Cn印刷選択")->isVisible());
    QVERIFY(control<GridView>(q, "Grid明細")->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == control<GridView>(q, "Grid明細"));
    QVERIFY(f.output.runs.isEmpty());

    // Reopened: ticked again, the default paper again.
    control<QPushButton>(q, "cmd印刷")->click();
    QVERIFY(control<QCheckBox>(q, "chk日付印刷")->isChecked());
    QCOMPARE(control<PickOnlyComboBox>(q, "cmb用紙選択")->text(), QStringLiteral("B5白紙"));
    QCOMPARE(control<PickOnlyComboBox>(q, "cmb用紙選択")->count(), 3);
}

void TestPrintRoad::confirmation_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<int>("answer");  // MessageAnswer to the confirmation
    QTest::addColumn<int>("runs");
    QTest::newRow("print, Yes: printed") << true << int(MessageAnswer::Yes) << 1;
    QTest::newRow("print, No: nothing prepared or printed") << true << int(MessageAnswer::No) << 0;
    QTest::newRow("preview: never asks") << false << int(MessageAnswer::No) << 1;
}

void TestPrintRoad::confirmation()
{
    QFETCH(bool, print);
    QFETCH(int, answer);
    QFETCH(int, runs);

    PrintFixture f;
    QVERIFY(f.open());
    fillHeader(f.quotation(), QStringLiteral("甲商事"), QString());
    f.messages.setDefaultAnswer(MessageAnswer(answer));
    f.run(print);

    QVERIFY(!control<QFrame>(f.quotation(), "Cn印刷選択")->isVisible());  // hidden whatever happened
    QCOMPARE(f.output.runs.size(), runs);
    if (runs) QCOMPARE(f.output.runs.first().print, print);
    // The print data is filled only by a run.
    QCOMPARE(f.printing().PrnData().顧客名, runs ? QStringLiteral("甲商事") : QString());
    if (!print) {
        QVERIFY(f.messages.shown().isEmpty());
        return;
    }
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("印刷の確認"));
    QCOMPARE(box.text, QStringLiteral("見積書を印刷します。よろしいですか"));
    QCOMPARE(box.buttons, MessageBoxSpec::Buttons::YesNo);
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Question);
    QCOMPARE(box.defaultButton, MessageBoxSpec::Default::No);
}

// Q-310, the model of a preprinted form, prints the A4 layout with the A4
// settings: a preview and a print of it give pages that are A4白紙's to the
// byte of their PDF (but for the time it was written).
void TestPrintRoad::q310PrintsTheA4Pages()
{
    PrintFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET タイトル1 = '御見積書', LM = 300, TM = -200, 白紙罫線色 = 255, "
                                     "顧客名フォント = 'ＭＳ Ｐゴシック', 顧客名サイズ = 18 WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());
    fillHeader(f.quotation(), QStringLiteral("甲商事"), QStringLiteral("よろしくお願いします"));
    QStringList cells;
    for (int n = 1; n <= 20; ++n)
        cells << QStringLiteral("%1:品名=品目%1").arg(n) << QStringLiteral("%1:金額=%2").arg(n).arg(100 * n);
    cells << QStringLiteral("21:品名=小計") << QStringLiteral("21:小計=1") << QStringLiteral("21:金額=21000");
    QVERIFY(f.setLines(cells));

    QTemporaryDir dir;
    const auto pdfOf = [&](const ReportDocument& doc, const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!ReportRender::writePdf(doc, path) || !file.open(QIODevice::ReadOnly)) return QByteArray();
        static const QRegularExpression written(QStringLiteral("/CreationDate \\(D:[0-9Z+'-]*\\)"));
        return QString::fromLatin1(file.readAll()).replace(written, QString()).toLatin1();
    };
    for (const bool print : {false, true}) {
        f.messages.setDefaultAnswer(MessageAnswer::Yes);
        f.output.runs.clear();
        f.run(print, QStringLiteral("A4白紙"));
        f.run(print, QStringLiteral("Q-310"));
        QCOMPARE(f.output.runs.size(), 2);
        const ReportDocument& a4 = *f.output.runs[0].pages;
        const ReportDocument& q310 = *f.output.runs[1].pages;
        QCOMPARE(a4.pages.size(), 2);
        QCOMPARE(a4.pages.first().text(QStringLiteral("lblタイトル"))->text, QStringLiteral("御見積書"));
        const QByteArray expected = pdfOf(a4, QStringLiteral("a4.pdf"));
        QVERIFY(!expected.isEmpty());
        QVERIFY2(pdfOf(q310, QStringLiteral("q310.pdf")) == expected, print ? "print" : "preview");
    }
}

void TestPrintRoad::handOver_data()
{
    QTest::addColumn<QString>("era");        // 年号 of the settings
    QTest::addColumn<bool>("withDate");      // chk日付印刷
    QTest::addColumn<QDate>("date");         // invalid: the date box empty
    QTest::addColumn<QString>("amount");     // num見積金額: "" empty
    QTest::addColumn<QString>("printedDate");
    QTest::addColumn<QString>("handedAmount");  // "<null>" for Null

    const QDate d(2024, 6, 3);
    QTest::newRow("和暦, ticked") << "和暦" << true << d << "1050" << QStringLiteral("令和06年06月03日") << "1050";
    QTest::newRow("西暦, ticked") << "西暦" << true << d << "1050" << QStringLiteral("2024年06月03日") << "1050";
    QTest::newRow("unticked: no date") << "和暦" << false << d << "1050" << "" << "1050";
    QTest::newRow("an empty total hands Null") << "西暦" << true << d << "" << QStringLiteral("2024年06月03日") << "<null>";
}

// The record takes the header as the tab shows it, the same for A4 and B5;
// empty texts are handed as "".
void TestPrintRoad::handOver()
{
    QFETCH(QString, era);
    QFETCH(bool, withDate);
    QFETCH(QDate, date);
    QFETCH(QString, amount);
    QFETCH(QString, printedDate);
    QFETCH(QString, handedAmount);

    PrintFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 自社情報 SET 年号 = '%1'").arg(era)});
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    fillHeader(q, QStringLiteral("O'Hara 株式会社"), QStringLiteral("一行目\r\n二行目"));
    control<DateBox>(q, "dt日付")->setDate(date.isValid() ? std::optional<QDate>(date) : std::nullopt);
    control<TextComboBox>(q, "cmb支払条件")->setText(QString());
    control<QLineEdit>(q, QStringLiteral("txt印鑑(%1)").arg(1))->setText(QString());
    control<NumberBox>(q, "num見積金額")->setValue(amount.isEmpty() ? std::nullopt : Currency::parse(amount));
    QVERIFY(f.setLines({QStringLiteral("1:品名=鉛筆"), QStringLiteral("2:品名=消しゴム")}));

    const QStringList expected{QStringLiteral("77"),
                               printedDate,
                               QStringLiteral("O'Hara 株式会社"),
                               QStringLiteral("〒530-0001\r\n大阪市北区"),
                               QStringLiteral("1000"),
                               QStringLiteral("50"),
                               handedAmount,
                               QStringLiteral("事務用品"),
                               QStringLiteral("1か月"),
                               QString(),
                               QStringLiteral("貴社"),
                               QStringLiteral("即納"),
                               QStringLiteral("一行目\r\n二行目"),
                               QStringLiteral("御中"),
                               QStringLiteral("印1"),
                               QString(),
                               QStringLiteral("印3"),
                               QStringLiteral("印4"),
                               QStringLiteral("2")};
    for (const QString& paper : {QStringLiteral("B5白紙"), QStringLiteral("A4白紙")}) {
        f.run(false, paper, withDate);
        QCOMPARE(members(f.printing().PrnData()), expected);
        // What the pages print of it: the date where the date goes, the customer block.
        const ReportPage& page = f.output.runs.last().pages->pages.first();
        const ReportTextOp* printed = page.text(QStringLiteral("txtCday"));
        QCOMPARE(printed ? printed->text : QString(), printedDate);
        const QString block = paper == QStringLiteral("B5白紙") ? QStringLiteral("txt宛名情報") : QStringLiteral("txt顧客情報");
        QCOMPARE(page.text(block)->text, QStringLiteral("〒530-0001\r\n大阪市北区"));
    }
}

// Each preview is a window of its own that does not block and keeps its own
// pages: left open, it still shows and prints its quotation after another
// was previewed.
void TestPrintRoad::previewsKeepTheirOwnPages()
{
    PrintFixture f;
    QVERIFY(f.open());
    f.printing().setOutput(nullptr);  // the real preview window
    QuotationTab& q = f.quotation();

    fillHeader(q, QStringLiteral("甲商事"), QString());
    QVERIFY(f.setLines({QStringLiteral("1:品名=りんご")}));
    f.run(false, QStringLiteral("A4白紙"));
    fillHeader(q, QStringLiteral("乙商店"), QString());
    QVERIFY(f.setLines({QStringLiteral("1:品名=みかん")}));
    f.run(false, QStringLiteral("B5白紙"));

    const auto previews = f.window.findChildren<QPrintPreviewDialog*>();
    QCOMPARE(previews.size(), 2);
    for (QPrintPreviewDialog* p : previews) QVERIFY(p->isVisible() && !p->isModal());
    QTemporaryDir dir;
    const QStringList first = wordsOfPreview(previews[0], dir.filePath(QStringLiteral("first.pdf")));
    const QStringList second = wordsOfPreview(previews[1], dir.filePath(QStringLiteral("second.pdf")));
    QVERIFY2(first.contains(QStringLiteral("甲商事")) && first.contains(QStringLiteral("りんご")), qPrintable(first.join(' ')));
    QVERIFY(!first.contains(QStringLiteral("乙商店")) && !first.contains(QStringLiteral("みかん")));
    QVERIFY2(second.contains(QStringLiteral("乙商店")) && second.contains(QStringLiteral("みかん")), qPrintable(second.join(' ')));
    QCOMPARE(PdfProbe::info(dir.filePath(QStringLiteral("second.pdf"))).pageSize.toSize(), QSize(516, 729));

    // Closing the main window closes them.
    QList<QPointer<QPrintPreviewDialog>> open(previews.begin(), previews.end());
    f.window.close();
    QTRY_VERIFY(std::all_of(open.begin(), open.end(), [](const auto& p) { return p.isNull(); }));
}

// A quotation typed in the main window, previewed, its preview printed to PDF:
// the customer, the line and the total are there.
void TestPrintRoad::typedQuotationInThePreviewsPdf()
{
    PrintFixture f;
    QVERIFY(f.open());
    f.printing().setOutput(nullptr);
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();

    control<TextComboBox>(q, "cmb顧客名")->setFocus();
    QTest::sendKeyEvent(QTest::Click, control<TextComboBox>(q, "cmb顧客名")->lineEdit(), Qt::Key_unknown, QStringLiteral("山田商店"), Qt::NoModifier);
    GridView* grid = control<GridView>(q, "Grid明細");
    grid->setFocus();
    grid->setCurrentCell(0, 品名);
    QInputMethodEvent name;
    name.setCommitString(QStringLiteral("色鉛筆"));
    QApplication::sendEvent(grid, &name);
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    const auto type = [&](int col, const QString& digits) {
        grid->setCurrentCell(0, col);
        QTest::keyClicks(grid, digits.left(1));  // the first key opens the editor
        QTest::keyClicks(grid->editorWidget(), digits.mid(1));
        QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    };
    type(数量, QStringLiteral("12"));
    type(単価, QStringLiteral("380"));
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("山田商店"));
    const std::optional<Currency> total = control<NumberBox>(q, "num見積金額")->value();
    QVERIFY(total && *total >= Currency::fromWhole(4560));

    control<QPushButton>(q, "cmd印刷")->click();
    control<QPushButton>(q, "cmdプレビュー")->click();
    const auto previews = f.window.findChildren<QPrintPreviewDialog*>();
    QCOMPARE(previews.size(), 1);
    QTemporaryDir dir;
    const QStringList words = wordsOfPreview(previews.first(), dir.filePath(QStringLiteral("typed.pdf")));
    QVERIFY2(words.contains(QStringLiteral("山田商店")), qPrintable(words.join(' ')));
    QVERIFY(words.contains(QStringLiteral("色鉛筆")));
    QVERIFY(words.contains(QStringLiteral("4,560")));
    QVERIFY(words.contains(QStringLiteral("\u00A5") + total->toString(0, true)));
    previews.first()->close();
}

QTEST_MAIN(TestPrintRoad)
#include "tst_print_road.moc"
