// The B5 quotation: JIS B5 paper, places of the header, footer and rows in
// twips, ten rows a page and exactly ⌈N / 10⌉ pages, the product name cut to
// 50 Shift-JIS bytes of whole characters at 9 points, the unit cut to four
// characters, subtotal rows keeping their pack quantity, the memo in the
// footer, what of the print settings reaches the layout, the margins LM / TM
// held on the paper, and PDFs read back with poppler.
#include "PrintSamples.h"
#include "app/ProductMaster.h"
#include "printing/ReportRender.h"
#include "printing/RptQuotationB5.h"

#include <QtTest>
#include <cmath>

namespace {

// JIS B5 is 516 × 729 points (182 × 257 mm); margins top 900, bottom 200.
constexpr double kFooterTop = 729 * 20 - 900 - 200 - 1600;
constexpr double kHeader = 5240;
constexpr double kRow = 605;

ReportDocument build(const PrintSample& s)
{
    rpt見積書B5 report(s.data, s.print, s.settings);
    return report.build(s.lines);
}

// The sample with one line (line 1) as given.
PrintSample oneLine(const QuotationLine& line)
{
    PrintSample s = PrintSamples::quotation(0);
    s.lines[0] = line;
    s.data.明細行数 = 1;
    return s;
}

// The words of one line of a page, left to right, from the word `first` on.
QStringList lineFrom(const QList<PdfProbe::Word>& words, int page, const QString& first)
{
    for (const auto& start : words) {
        if (start.page != page || start.text != first) continue;
        QList<PdfProbe::Word> line;
        for (const auto& w : words)
            if (w.page == page && std::abs(w.box.top() - start.box.top()) < 3 && w.box.left() >= start.box.left())
                line.append(w);
        std::sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.box.left() < b.box.left(); });
        QStringList texts;
        for (const auto& w : line) texts << w.text;
        return texts;
    }
    return {};
}

}  // namespace

class TestQuotationB5 : public QObject {
    Q_OBJECT
private slots:
    void places_data();
    void places();
    void taxBlock_data();
    void taxBlock();
    void paging_data();
    void paging();
    void nameCut_data();
    void nameCut();
    void unitCut_data();
    void unitCut();
    void subtotalRowsKeepThePackQuantity();
    void memoAndPageSubtotal();
    void onlyTitleShiftAndRuleColourFromTheSettings();
    void marginsKeepThePageOnThePaper_data();
    void marginsKeepThePageOnThePaper();
    void pdf_data();
    void pdf();
};

void TestQuotationB5::places_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("nth");
    QTest::addColumn<QRectF>("rect");

    QTest::newRow("title") << u"lblタイトル"_qs << 0 << QRectF(6449, 0, 2055, 354);
    QTest::newRow("customer") << u"txt顧客名"_qs << 0 << QRectF(75, 1410, 4455, 420);
    QTest::newRow("customer block") << u"txt宛名情報"_qs << 0 << QRectF(71, 496, 4464, 850);
    QTest::newRow("honorific") << u"txt敬称"_qs << 0 << QRectF(4560, 1460, 700, 360);
    QTest::newRow("own company") << u"txt自社名"_qs << 0 << QRectF(5386, 1417, 3756, 567);
    QTest::newRow("own block") << u"txt自社情報"_qs << 0 << QRectF(5310, 2055, 3825, 1305);
    QTest::newRow("date") << u"txtCday"_qs << 0 << QRectF(6803, 600, 2055, 283);
    QTest::newRow("number") << u"txtNo"_qs << 0 << QRectF(6803, 950, 1134, 284);
    QTest::newRow("subject") << u"txt件名"_qs << 0 << QRectF(1150, 2268, 4100, 283);
    QTest::newRow("delivery caption") << u"Label13"_qs << 0 << QRectF(50, 3400, 1020, 285);
    QTest::newRow("seal 3") << u"txt印鑑3"_qs << 0 << QRectF(7441, 3790, 709, 213);
    QTest::newRow("pack heading") << u"lbl入数"_qs << 0 << QRectF(4110, 4961, 921, 283);
    QTest::newRow("first row's name") << u"txt品名"_qs << 0 << QRectF(30, kHeader, 3827, 567);
    QTest::newRow("second row's quantity") << u"txt数量"_qs << 1 << QRectF(5080, kHeader + kRow, 780, 567);
    QTest::newRow("tenth row's amount") << u"txt金額"_qs << 9 << QRectF(7800, kHeader + 9 * kRow, 1240, 570);
    QTest::newRow("memo") << u"txtメモ"_qs << 0 << QRectF(0, kFooterTop + 71, 5953, 1134);
    QTest::newRow("page subtotal") << u"txt小計"_qs << 0 << QRectF(7441, kFooterTop + 213, 1559, 354);
    QTest::newRow("Page :") << u"Label51"_qs << 0 << QRectF(7441, kFooterTop + 750, 567, 283);
    QTest::newRow("page number") << u"cp"_qs << 0 << QRectF(8008, kFooterTop + 750, 283, 212);
    QTest::newRow("page count") << u"tcp"_qs << 0 << QRectF(8575, kFooterTop + 750, 354, 212);
}

void TestQuotationB5::places()
{
    QFETCH(QString, name);
    QFETCH(int, nth);
    QFETCH(QRectF, rect);

    const ReportDocument doc = build(PrintSamples::quotation(100));
    QCOMPARE(doc.paper, QPageSize::JisB5);
    QCOMPARE(doc.orientation, QPageLayout::Portrait);
    QCOMPARE(doc.paperTwips(), QSizeF(516 * 20, 729 * 20));
    QCOMPARE(doc.origin, QPointF(700, 900));
    const ReportPage& page = doc.pages.first();
    const ReportTextOp* op = page.text(name, nth);
    QVERIFY2(op, qPrintable(name));
    QCOMPARE(op->rect, rect);
    // The column-heading band is moved to 4890 on every page.
    for (const ReportPage& p : doc.pages) QCOMPARE(p.frame(u"Shape2"_qs)->rect, QRectF(10, 4890, 9071, 354));
    QCOMPARE(page.lines(u"Line1"_qs).first()->width, 45.0);
}

void TestQuotationB5::taxBlock_data()
{
    QTest::addColumn<bool>("tax");
    QTest::addColumn<QStringList>("printed");  // name=text@top; "-" for not printed
    QTest::addColumn<QLineF>("totalRule");

    QTest::newRow("no tax: the message, no tax rows, the total higher")
        << false
        << QStringList{u"lbl税=-"_qs, u"lbl税抜計=-"_qs, u"txt税抜合計=-"_qs, u"txt税額=-"_qs,
                       u"Lbl税メッセージ=但し消費税は含まれていません。@4252"_qs, u"txt合計金額=\u00A57,004,550@3760"_qs,
                       u"lbl合計=合計金額@3800"_qs}
        << QLineF(80, 4100, 4150, 4100);
    QTest::newRow("tax: both tax rows with their amounts, no message")
        << true
        << QStringList{u"lbl税=税\u3000\u3000  額@4030"_qs, u"lbl税抜計=税\u3000抜\u3000計@3730"_qs,
                       u"txt税抜合計=6,671,000@3750"_qs, u"txt税額=333,550@4060"_qs, u"Lbl税メッセージ=-"_qs,
                       u"txt合計金額=\u00A57,004,550@4360"_qs, u"lbl合計=合計金額@4360"_qs}
        << QLineF(50, 4680, 4700, 4680);
}

void TestQuotationB5::taxBlock()
{
    QFETCH(bool, tax);
    QFETCH(QStringList, printed);
    QFETCH(QLineF, totalRule);

    PrintSample s = PrintSamples::quotation(100);
    s.settings.税計算 = tax;
    const ReportDocument doc = build(s);
    const ReportPage& page = doc.pages.first();
    for (const QString& entry : printed) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString rest = entry.section(QLatin1Char('='), 1);
        const QString text = rest.section(QLatin1Char('@'), 0, 0);
        const ReportTextOp* op = page.text(name);
        QCOMPARE(op ? op->text : u"-"_qs, text);
        if (rest.contains(QLatin1Char('@'))) QCOMPARE(op->rect.top(), rest.section(QLatin1Char('@'), 1).toDouble());
    }
    if (tax) {
        for (const QString& name : {u"txt税抜合計"_qs, u"txt税額"_qs, u"txt合計金額"_qs}) QCOMPARE(page.text(name)->rect.left(), 1740.0);
        QCOMPARE(page.text(u"txt合計金額"_qs)->rect.height(), 320.0);
    }
    QCOMPARE(page.lines(u"Line合計"_qs).first()->line, totalRule);
    // The header does not grow with the tax rows.
    QCOMPARE(page.text(u"txt品名"_qs)->rect.top(), kHeader);
    // The total prints once; the later pages show asterisks.
    QCOMPARE(doc.pages[1].text(u"txt合計金額"_qs)->text, u"***********"_qs);
}

void TestQuotationB5::paging_data()
{
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("pages");
    QTest::newRow("0: one page, never \"/ 0\"") << 0 << 1;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("10") << 10 << 1;
    QTest::newRow("11") << 11 << 2;
    QTest::newRow("20") << 20 << 2;
    QTest::newRow("100: ten pages, no cleared rows") << 100 << 10;
}

// ⌈N / 10⌉ pages, at least one; "Page : p / T"; rows 10·(p−1)+1 .. 10·p on
// page p; every page 10 ruled rows.
void TestQuotationB5::paging()
{
    QFETCH(int, used);
    QFETCH(int, pages);

    const PrintSample s = PrintSamples::quotation(used);
    const ReportDocument doc = build(s);
    QCOMPARE(doc.pages.size(), pages);
    for (int p = 0; p < pages; ++p) {
        const ReportPage& page = doc.pages[p];
        QCOMPARE(page.text(u"Label51"_qs)->text, u"Page :"_qs);
        QCOMPARE(page.text(u"cp"_qs)->text, QString::number(p + 1));
        QCOMPARE(page.text(u"Label52"_qs)->text, u"/"_qs);
        QCOMPARE(page.text(u"tcp"_qs)->text, QString::number(pages));
        QCOMPARE(page.lines(u"Line25"_qs).size(), 10);
        QStringList expected, names;
        for (int r = 10 * p; r < 10 * (p + 1); ++r)
            if (!dbv::text(s.lines[r].品名).isEmpty()) expected << CutToShiftJis(dbv::text(s.lines[r].品名), 50);
        for (const ReportTextOp* t : page.texts(u"txt品名"_qs)) names << t->text;
        QCOMPARE(names, expected);
    }
}

void TestQuotationB5::nameCut_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<double>("size");

    const QString a = u"あ"_qs;
    const QString kana = u"ｱ"_qs;
    QTest::newRow("25 full-width: 50 bytes, whole at 12 points") << a.repeated(25) << a.repeated(25) << 12.0;
    QTest::newRow("26 full-width: cut to 25 at 9 points") << a.repeated(26) << a.repeated(25) << 9.0;
    QTest::newRow("\"A\" + 25 full-width: the 25th is not split") << u"A"_qs + a.repeated(25) << u"A"_qs + a.repeated(24) << 9.0;
    QTest::newRow("50 half-width katakana: whole at 12 points") << kana.repeated(50) << kana.repeated(50) << 12.0;
    QTest::newRow("51 half-width katakana: cut to 50") << kana.repeated(51) << kana.repeated(50) << 9.0;
    QTest::newRow("a short name") << u"養生費"_qs << u"養生費"_qs << 12.0;
}

void TestQuotationB5::nameCut()
{
    QFETCH(QString, name);
    QFETCH(QString, printed);
    QFETCH(double, size);

    const ReportPage page = build(oneLine(PrintSamples::productLine(name, u"1"_qs, u"個"_qs, u"100"_qs))).pages.first();
    const ReportTextOp* op = page.text(u"txt品名"_qs);
    QCOMPARE(op->text, printed);
    QCOMPARE(op->font.size, size);
    QVERIFY(ShiftJisLength(op->text) <= 50);
}

void TestQuotationB5::unitCut_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("printed");
    QTest::newRow("five characters: the first four") << u"ケース単位"_qs << u"ケース単"_qs;
    QTest::newRow("four stay") << u"ケース"_qs + u"箱"_qs << u"ケース箱"_qs;
    QTest::newRow("ASCII") << u"boxes"_qs << u"boxe"_qs;
    QTest::newRow("a character outside the basic plane counts as one") << u"𠮷𠮷𠮷𠮷𠮷"_qs << u"𠮷𠮷𠮷𠮷"_qs;
}

void TestQuotationB5::unitCut()
{
    QFETCH(QString, unit);
    QFETCH(QString, printed);

    const ReportPage page = build(oneLine(PrintSamples::productLine(u"見本"_qs, u"1"_qs, unit, u"100"_qs))).pages.first();
    QCOMPARE(page.text(u"txt単位"_qs)->text, printed);
}

// A subtotal row prints its name and amount bold, no quantity, unit or price,
// but keeps its pack quantity; its amount is not added to the page subtotal.
void TestQuotationB5::subtotalRowsKeepThePackQuantity()
{
    PrintSample s = PrintSamples::quotation(10);
    s.lines[9].入数 = u"10個入"_qs;
    const ReportPage page = build(s).pages.first();
    const auto rowOf = [](const ReportTextOp* t) { return int((t->rect.top() - kHeader) / kRow); };

    const ReportTextOp* pack = page.texts(u"txt入数"_qs).last();
    QCOMPARE(pack->text, u"10個入"_qs);
    QCOMPARE(rowOf(pack), 9);
    for (const QString& name : {u"txt数量"_qs, u"txt単価"_qs, u"txt単位"_qs})
        for (const ReportTextOp* t : page.texts(name)) QVERIFY2(rowOf(t) != 9, qPrintable(name));
    for (const QString& name : {u"txt品名"_qs, u"txt金額"_qs})
        for (const ReportTextOp* t : page.texts(name)) QCOMPARE(t->font.bold, rowOf(t) == 9);
    QCOMPARE(page.texts(u"txt金額"_qs).last()->text, u"667,100"_qs);
    QCOMPARE(page.text(u"txt小計"_qs)->text, u"667,100"_qs);  // lines 1-9 only
}

// The memo shows on every page as on A4; an empty page prints no subtotal.
void TestQuotationB5::memoAndPageSubtotal()
{
    PrintSample s = PrintSamples::quotation(0);
    s.data.明細行数 = 25;  // more lines counted than filled: pages 2 and 3 hold no amount
    for (int n = 0; n < 5; ++n) s.lines[n] = PrintSamples::productLine(u"品%1"_qs.arg(n + 1), u"1"_qs, u"個"_qs, u"100"_qs);
    const ReportDocument doc = build(s);
    QCOMPARE(doc.pages.size(), 3);
    for (const ReportPage& page : doc.pages) QCOMPARE(page.text(u"txtメモ"_qs)->text, s.data.メモ);
    QCOMPARE(doc.pages[0].text(u"txt小計"_qs)->text, u"500"_qs);
    QVERIFY(!doc.pages[1].text(u"txt小計"_qs));
    QCOMPARE(doc.pages[1].text(u"Label53"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 14.5, false}));
}

// Of the settings entry only タイトル1, LM / TM and the rule colour are used:
// the fonts stay as designed; the 32 rules, frames and headings take the
// colour, everything else stays black, the subtotal caption included.
void TestQuotationB5::onlyTitleShiftAndRuleColourFromTheSettings()
{
    PrintSample s = PrintSamples::quotation(15);
    s.print.型番 = u"MB5"_qs;
    s.print.タイトル1 = u"御見積書"_qs;
    s.print.LM = 150;
    s.print.TM = -100;
    s.print.白紙罫線色 = 255;
    s.print.顧客名フォント = u"ＭＳ Ｐゴシック"_qs;
    s.print.顧客名サイズ = 30;
    s.print.自社名フォント = u"ＭＳ Ｐゴシック"_qs;
    s.print.自社名サイズ = 30;
    s.print.顧客情報サイズ = 30;
    s.print.自社情報サイズ = 30;
    const ReportDocument doc = build(s);
    QCOMPARE(doc.origin, QPointF(850, 800));

    const QSet<QString> set{
        u"Line1"_qs,   u"Line19"_qs,  u"Line21"_qs,  u"Line45"_qs,  u"Line48"_qs,  u"Line47"_qs,  u"Line46"_qs,
        u"Line34"_qs,  u"Line36"_qs,  u"Line37"_qs,  u"Line38"_qs,  u"Line39"_qs,  u"Line51"_qs,  u"Line合計"_qs,
        u"Line25"_qs,  u"Line26"_qs,  u"Line29"_qs,  u"Line30"_qs,  u"Line31"_qs,  u"Line32"_qs,  u"Line33"_qs,
        u"Line50"_qs,  u"Line49"_qs,  u"Shape1"_qs,  u"Shape2"_qs,  u"Shape4"_qs,  u"Label44"_qs, u"Label54"_qs,
        u"Label55"_qs, u"Label56"_qs, u"Label57"_qs, u"lbl入数"_qs,
    };
    QCOMPARE(set.size(), 32);
    for (const ReportPage& page : doc.pages) {
        QCOMPARE(page.text(u"lblタイトル"_qs)->text, u"御見積書"_qs);
        QCOMPARE(page.text(u"lblタイトル"_qs)->font, (ReportFont{u"ＭＳ 明朝"_qs, 18, true}));
        QCOMPARE(page.text(u"txt顧客名"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 14.5, false}));
        QCOMPARE(page.text(u"txt自社名"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 14, false}));
        QCOMPARE(page.text(u"txt宛名情報"_qs)->font.size, 11.5);
        QCOMPARE(page.text(u"txt自社情報"_qs)->font.size, 10.0);
        QSet<QString> coloured;
        for (const ReportOp& op : page.ops) {
            const QString name = OpProbe::name(op);
            QVERIFY2(OpProbe::colour(op) == (set.contains(name) ? QColor(255, 0, 0) : QColor(Qt::black)), qPrintable(name));
            if (set.contains(name)) coloured.insert(name);
        }
        QCOMPARE(coloured, set);
        // The subtotal caption is no heading: it stays black.
        QCOMPARE(page.text(u"Label53"_qs)->colour, QColor(Qt::black));
    }

    // An empty entry (no "MB5" row): no title, the base margins, black rules.
    s.print = PrintSettingsEntry{};
    const ReportDocument plain = build(s);
    QCOMPARE(plain.origin, QPointF(700, 900));
    QVERIFY(!plain.pages.first().text(u"lblタイトル"_qs));
    QCOMPARE(plain.pages.first().lines(u"Line1"_qs).first()->colour, QColor(Qt::black));
}

void TestQuotationB5::marginsKeepThePageOnThePaper_data()
{
    QTest::addColumn<int>("LM");
    QTest::addColumn<int>("TM");
    QTest::addColumn<QPointF>("origin");  // left and top margin as printed
    QTest::addColumn<int>("rows");        // rows a page
    QTest::addColumn<bool>("pdf");        // also read the PDF back

    // JIS B5 is 10320 × 14580 twips; the footer stands at 14580 − 200 − 1600 =
    // 12780, the header is 5240 high, a row 605: a top margin t leaves room for
    // ⌊(7540 − t) / 605⌋ rows, 10 at most, and at most 6935 leaves room for
    // one. The drawing reaches from x −22.5 to 9157.5 (the heavy title rule),
    // so the left margin stays within 22.5 .. 1162.5.
    QTest::newRow("none") << 0 << 0 << QPointF(700, 900) << 10 << true;
    QTest::newRow("TM 590: ten rows still fit") << 0 << 590 << QPointF(700, 1490) << 10 << false;
    QTest::newRow("TM 591: nine") << 0 << 591 << QPointF(700, 1491) << 9 << false;
    QTest::newRow("TM 900: the footer stays, nine rows") << 0 << 900 << QPointF(700, 1800) << 9 << true;
    QTest::newRow("TM 2000: seven rows") << 300 << 2000 << QPointF(1000, 2900) << 7 << false;
    QTest::newRow("TM 99999: one row a page") << 0 << 99999 << QPointF(700, 6935) << 1 << false;
    QTest::newRow("LM 462: the widest box still inside") << 462 << 0 << QPointF(1162, 900) << 10 << false;
    QTest::newRow("LM 99999: the widest box at the paper's edge") << 99999 << 0 << QPointF(1162.5, 900) << 10 << false;
    QTest::newRow("lowest: held at the paper's corner") << -99999 << -99999 << QPointF(22.5, 0) << 10 << false;
}

// LM and TM move the print within the paper: the footer stays at the foot of
// every page, a larger top margin leaves room for fewer rows and gives as many
// more pages, "Page : n / T" counts them exactly, and every row prints once.
void TestQuotationB5::marginsKeepThePageOnThePaper()
{
    QFETCH(int, LM);
    QFETCH(int, TM);
    QFETCH(QPointF, origin);
    QFETCH(int, rows);
    QFETCH(bool, pdf);

    PrintSample s = PrintSamples::quotation(100);
    s.print.型番 = u"MB5"_qs;
    const ReportDocument plain = build(s);
    s.print.LM = LM;
    s.print.TM = TM;
    const ReportDocument doc = build(s);
    QCOMPARE(doc.origin, origin);
    const QStringList faults = OpProbe::pagingFaults(doc, plain, rows, u"Line25"_qs, u"cp"_qs, 12780.0 + 750);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_qs)));
    const int total = int(doc.pages.size());
    if (!pdf) return;

    const PdfProbe::Printed printed = PdfProbe::print(doc);
    QVERIFY2(printed.error.isEmpty(), qPrintable(printed.error));
    QCOMPARE(printed.info.pages, total);
    for (int p = 1; p <= total; ++p)
        QCOMPARE(lineFrom(printed.words, p, u"Page"_qs),
                 (QStringList{u"Page"_qs, u":"_qs, QString::number(p), u"/"_qs, QString::number(total)}));
}

void TestQuotationB5::pdf_data()
{
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("pages");
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("10") << 10 << 1;
    QTest::newRow("11") << 11 << 2;
    QTest::newRow("100") << 100 << 10;
}

// The PDF: JIS B5 pages, the title and the total at their places on page 1,
// "Page : p / T" on every page.
void TestQuotationB5::pdf()
{
    QFETCH(int, used);
    QFETCH(int, pages);

    PrintSample s = PrintSamples::quotation(used);
    s.print.タイトル1 = u"見積書"_qs;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"b5.pdf"_qs);
    QString error;
    QVERIFY2(ReportRender::writePdf(build(s), pdf, &error), qPrintable(error));

    const PdfProbe::Info info = PdfProbe::info(pdf, &error);
    QVERIFY2(info.pages, qPrintable(error));
    QCOMPARE(info.pages, pages);
    QVERIFY(std::abs(info.pageSize.width() - 516) < 1 && std::abs(info.pageSize.height() - 729) < 1);

    const auto words = PdfProbe::words(pdf, &error);
    const auto title = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text == u"見積書"_qs; });
    QVERIFY(title != words.end());
    QCOMPARE(title->page, 1);
    QVERIFY(std::abs(title->box.center().x() - (700 + 6449 + 2055 / 2.0) / 20) < 2);
    // (Within a hundredth of a point: the bold face's em is 1000 units, the regular one's 2048.)
    QVERIFY(title->box.top() >= 900 / 20.0 - 0.01 && title->box.bottom() <= (900 + 354) / 20.0 + 4);

    // The total with the yen sign, right-aligned in its box (tax rows shown: left 1740, top 4360).
    const auto total = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text.startsWith(u"\u00A5"_qs); });
    QVERIFY(total != words.end());
    QCOMPARE(total->page, 1);
    QCOMPARE(total->text, used ? u"\u00A5"_qs + ReportFormat::number(*s.data.見積金額, u"#,###"_qs) : u"\u00A5"_qs);
    QVERIFY(std::abs(total->box.right() - (700 + 1740 + 2622) / 20.0) < 2);
    QVERIFY(total->box.top() >= (900 + 4360) / 20.0 - 1 && total->box.bottom() <= (900 + 4360 + 320) / 20.0 + 4);

    for (int p = 1; p <= pages; ++p)
        QCOMPARE(lineFrom(words, p, u"Page"_qs), (QStringList{u"Page"_qs, u":"_qs, QString::number(p), u"/"_qs,
                                                               QString::number(pages)}));
}

QTEST_MAIN(TestQuotationB5)
#include "tst_quotation_b5.moc"
