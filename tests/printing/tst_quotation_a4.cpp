// The A4 quotation: places of the header, footer and rows in twips, the
// rule-coloured controls, the tax block, number formats by 小数, paging and page
// subtotals, the total once with "¥", rows in 行番号 order, the margins LM / TM
// (held on the paper), and the PDF of a stored 100-line quotation read back
// with poppler.
#include "PrintSamples.h"
#include "support/TestFolder.h"
#include "app/CodeLists.h"
#include "platform/EraDate.h"
#include "printing/ReportRender.h"
#include "printing/RptQuotationA4.h"
#include "workspace/QuotationStore.h"

#include <QtTest>
#include <cmath>

namespace {

constexpr double kFooterTop = 16840 - 800 - 200 - 885;  // A4 842 pt high, margins 800 / 200, footer 885

ReportDocument build(const PrintSample& s)
{
    Rpt見積書A401 report(s.data, s.print, s.settings);
    return report.build(s.lines);
}

// The sample quotation of `used` lines printed with the rule colour `value`.
ReportDocument buildInColour(int used, int value)
{
    PrintSample s = PrintSamples::quotation(used);
    s.print.白紙罫線色 = value;
    return build(s);
}

// The row (from 0) a detail op belongs to on its page.
int rowOf(double top, double headerHeight) { return int(std::floor((top - headerHeight) / 620)); }

// Words of one page of a PDF, in reading order.
QList<PdfProbe::Word> wordsOn(const QList<PdfProbe::Word>& all, int page)
{
    QList<PdfProbe::Word> out;
    for (const auto& w : all)
        if (w.page == page) out.append(w);
    return out;
}

// "Page n / T": the word "Page" and, right of it on its line, "n", "/" and "T".
bool hasPageLine(const QList<PdfProbe::Word>& words, int n, int total)
{
    for (const auto& page : words) {
        if (page.text != QStringLiteral("Page")) continue;
        QList<PdfProbe::Word> right;
        for (const auto& w : words)
            if (std::abs(w.box.top() - page.box.top()) < 2 && w.box.left() > page.box.left()) right.append(w);
        std::sort(right.begin(), right.end(), [](const auto& a, const auto& b) { return a.box.left() < b.box.left(); });
        QStringList texts;
        for (const auto& w : right) texts << w.text;
        if (texts == QStringList{QString::number(n), QStringLiteral("/"), QString::number(total)}) return true;
    }
    return false;
}

}  // namespace

class TestQuotationA4 : public QObject {
    Q_OBJECT
private slots:
    void places_data();
    void places();
    void taxBlock_data();
    void taxBlock();
    void ruleColour_data();
    void ruleColour();
    void detailFormats_data();
    void detailFormats();
    void paging_data();
    void paging();
    void totalOnTheFirstPageOnly_data();
    void totalOnTheFirstPageOnly();
    void subtotalRows();
    void titleSealsAndFonts();
    void withoutASettingsRow();
    void withoutDetailRows();
    void rowsInLineNumberOrder();
    void marginsFromTheSettings_data();
    void marginsFromTheSettings();
    void pdfOfAStoredQuotation();
    void pdfColours_data();
    void pdfColours();
};

void TestQuotationA4::places_data()
{
    QTest::addColumn<bool>("tax");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("nth");
    QTest::addColumn<QRectF>("rect");

    for (const bool tax : {false, true}) {
        const char* t = tax ? "tax" : "no tax";
        const double header = tax ? 5010 : 4950;
        const auto row = [&](const char* n, const QString& name, int nth, QRectF r) {
            QTest::addRow("%s: %s", t, n) << tax << name << nth << r;
        };
        row("title", u"lblタイトル"_qs, 0, {8010, 0, 1875, 360});
        row("customer", u"txt顧客名"_qs, 0, {283, 1240, 4819, 425});
        row("customer block", u"txt顧客情報"_qs, 0, {283, 445, 5882, 760});
        row("honorific", u"txt敬称"_qs, 0, {5130, 1240, 720, 360});
        row("number", u"txtNo"_qs, 0, {8008, 950, 1205, 284});
        row("date", u"txtCday"_qs, 0, {8008, 638, 2055, 283});
        row("own company", u"txt自社名"_qs, 0, {6240, 1395, 4260, 495});
        row("own block", u"txt自社情報"_qs, 0, {6236, 1984, 4323, 1347});
        row("subject caption", u"Label28"_qs, 0, {354, 2060, 1205, 283});
        row("delivery", u"txt納期"_qs, 0, {1635, 3165, 4470, 285});
        row("seal 1", u"txt印鑑1"_qs, 0, {7370, 3472, 709, 213});
        row("name heading", u"Label15"_qs, 0, {1346, 4606, 1701, 284});
        row("total", u"txt合計金額"_qs, 0, tax ? QRectF(1772, 3980, 2480, 320) : QRectF(1772, 3560, 2480, 284));
        row("total caption", u"lbl合計"_qs, 0, tax ? QRectF(354, 4000, 1347, 284) : QRectF(354, 3600, 1347, 284));
        row("first row's name", u"txt品名"_qs, 0, {120, header + 30, 4050, 615});
        row("second row's quantity", u"txt数量"_qs, 1, {5820, header + 620, 1120, 615});
        row("15th row's amount", u"txt金額"_qs, 14, {9100, header + 14 * 620 + 30, 1410, 615});
        row("page count", u"tcp"_qs, 0, {9780, kFooterTop + 354, 354, 284});
        row("page number", u"Field1"_qs, 0, {9142, kFooterTop + 354, 354, 284});
        row("page subtotal", u"txt小計"_qs, 0, {8865, kFooterTop, 1590, 285});
        row("memo", u"txtメモ"_qs, 0, {705, kFooterTop + 75, 6480, 660});
    }
    QTest::newRow("tax: pre-tax total") << true << u"txt税抜計"_qs << 0 << QRectF(1772, 3400, 2622, 283);
    QTest::newRow("tax: tax") << true << u"txt税額"_qs << 0 << QRectF(1772, 3670, 2622, 283);
    QTest::newRow("tax: tax caption") << true << u"lbl税"_qs << 0 << QRectF(354, 3730, 1347, 300);
    QTest::newRow("no tax: message") << false << u"Lbl税メッセージ"_qs << 0 << QRectF(425, 4080, 3402, 283);
}

void TestQuotationA4::places()
{
    QFETCH(bool, tax);
    QFETCH(QString, name);
    QFETCH(int, nth);
    QFETCH(QRectF, rect);

    PrintSample s = PrintSamples::quotation(100);
    s.settings.税計算 = tax;
    const ReportDocument doc = build(s);
    QCOMPARE(doc.origin, QPointF(800, 800));
    const ReportTextOp* op = doc.pages.first().text(name, nth);
    QVERIFY2(op, qPrintable(name));
    QCOMPARE(op->rect, rect);
}

void TestQuotationA4::taxBlock_data()
{
    QTest::addColumn<bool>("tax");
    QTest::addColumn<bool>("netGiven");
    QTest::addColumn<QStringList>("printed");  // name=text; text "-" for not printed
    QTest::addColumn<QLineF>("totalRule");

    QTest::newRow("no tax: message, no tax rows, the total higher")
        << false << true << QStringList{u"lbl税=-"_qs, u"lbl税抜計=-"_qs, u"txt税抜計=-"_qs, u"txt税額=-"_qs,
                                        u"Lbl税メッセージ=但し消費税は含まれていません。"_qs}
        << QLineF(283, 3910, 4320, 3910);
    QTest::newRow("tax: both tax rows, no message")
        << true << true
        << QStringList{u"lbl税=税\u3000\u3000  額"_qs, u"lbl税抜計=税\u3000抜\u3000計"_qs, u"txt税抜計=6,671,000"_qs,
                       u"txt税額=333,550"_qs, u"Lbl税メッセージ=-"_qs}
        << QLineF(283, 4310, 4860, 4310);
    QTest::newRow("tax, no pre-tax total: its field stays empty")
        << true << false << QStringList{u"txt税抜計=-"_qs, u"txt税額=333,550"_qs} << QLineF(283, 4310, 4860, 4310);
}

void TestQuotationA4::taxBlock()
{
    QFETCH(bool, tax);
    QFETCH(bool, netGiven);
    QFETCH(QStringList, printed);
    QFETCH(QLineF, totalRule);

    PrintSample s = PrintSamples::quotation(100);
    s.settings.税計算 = tax;
    if (!netGiven) s.data.税抜計.reset();
    const ReportDocument doc = build(s);
    QCOMPARE(doc.pages.size(), 7);
    for (const ReportPage& page : doc.pages) {
        for (const QString& entry : printed) {
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            const QString text = entry.section(QLatin1Char('='), 1);
            const ReportTextOp* op = page.text(name);
            QCOMPARE(op ? op->text : u"-"_qs, text);
        }
        QCOMPARE(page.lines(u"Line合計"_qs).first()->line, totalRule);
        QCOMPARE(page.frame(u"Shape4"_qs)->rect, QRectF(71, 4465, 10510, 496));
        QCOMPARE(page.lines(u"Line1"_qs).first()->width, 45.0);  // the title rule is the heavy one
        QCOMPARE(page.lines(u"Line19"_qs).first()->width, 15.0);
    }
}

void TestQuotationA4::ruleColour_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("0: black") << 0 << QColor(Qt::black);
    QTest::newRow("255: red") << 255 << QColor(255, 0, 0);
    QTest::newRow("16711680: blue") << 16711680 << QColor(0, 0, 255);
}

// The 33 rules, frames and column headings take 白紙罫線色 on every page;
// everything else stays black, "メモ" and the subtotal caption included.
void TestQuotationA4::ruleColour()
{
    QFETCH(int, value);
    QFETCH(QColor, colour);

    const QSet<QString> set{
        u"Line1"_qs,   u"Line37"_qs,  u"Line21"_qs,  u"Line合計"_qs, u"Line19"_qs, u"Line2"_qs,   u"Line4"_qs,
        u"Line5"_qs,   u"Line6"_qs,   u"Line7"_qs,   u"Line32"_qs,   u"Line36"_qs, u"Line33"_qs,  u"Line34"_qs,
        u"Line3"_qs,   u"Line25"_qs,  u"Line14"_qs,  u"Line15"_qs,   u"Line16"_qs, u"Line17"_qs,  u"Line38"_qs,
        u"Line39"_qs,  u"Line20"_qs,  u"Shape1"_qs,  u"Shape4"_qs,   u"Shape2"_qs, u"Shape3"_qs,  u"Label15"_qs,
        u"Label16"_qs, u"Label17"_qs, u"Label18"_qs, u"Label53"_qs,  u"lbl入数"_qs,
    };
    QCOMPARE(set.size(), 33);
    const ReportDocument doc = buildInColour(16, value);
    for (const ReportPage& page : doc.pages) {
        QSet<QString> coloured;
        for (const ReportOp& op : page.ops) {
            const QString name = OpProbe::name(op);
            const QColor expected = set.contains(name) ? colour : QColor(Qt::black);
            QVERIFY2(OpProbe::colour(op) == expected, qPrintable(name));
            if (set.contains(name)) coloured.insert(name);
        }
        QCOMPARE(coloured, set);
        for (const QString& black : {u"Label29"_qs, u"Label27"_qs}) {
            const ReportTextOp* op = page.text(black);
            QVERIFY2(op && op->colour == QColor(Qt::black), qPrintable(black));
        }
    }
}

void TestQuotationA4::detailFormats_data()
{
    QTest::addColumn<QString>("小数");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantityText");  // "" = not printed
    QTest::addColumn<QString>("priceText");

    QTest::newRow("数量+単価") << u"数量+単価"_qs << "1234.5" << "12800" << "1,234.50" << "12,800.00";
    QTest::newRow("数量") << u"数量"_qs << "1234.5" << "12800" << "1,234.50" << "12,800";
    QTest::newRow("単価") << u"単価"_qs << "1234.5" << "12800" << "1,235" << "12,800.00";
    QTest::newRow("しない") << u"しない"_qs << "1234.5" << "12800" << "1,235" << "12,800";
    QTest::newRow("しない: 0 prints nothing") << u"しない"_qs << "0" << "0" << "" << "";
    QTest::newRow("数量+単価: 0 prints 0.00") << u"数量+単価"_qs << "0" << "0" << "0.00" << "0.00";
    QTest::newRow("another text: the designed two decimals") << u"?"_qs << "1234.5" << "0.5" << "1,234.50" << "0.50";
}

void TestQuotationA4::detailFormats()
{
    QFETCH(QString, 小数);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, quantityText);
    QFETCH(QString, priceText);

    PrintSample s = PrintSamples::quotation(0);
    s.settings.小数 = 小数;
    s.lines[0] = PrintSamples::productLine(u"見本"_qs, quantity, u"個"_qs, price);
    s.data.明細行数 = 1;
    const ReportPage page = build(s).pages.first();
    const ReportTextOp* q = page.text(u"txt数量"_qs);
    const ReportTextOp* p = page.text(u"txt単価"_qs);
    QCOMPARE(q ? q->text : QString(), quantityText);
    QCOMPARE(p ? p->text : QString(), priceText);
    // The product name prints at 12 points, not the designed 11.5.
    QCOMPARE(page.text(u"txt品名"_qs)->font.size, 12.0);
}

void TestQuotationA4::paging_data()
{
    QTest::addColumn<int>("used");
    QTest::addColumn<QStringList>("subtotals");  // per page; "" = none printed

    const QString p1 = u"1,083,700"_qs;  // lines 1-9 and 11-15 (line 10 is a subtotal line)
    const QString p2 = u"917,600"_qs;    // lines 16-19 and 21-29
    QTest::newRow("0 lines: one page, no subtotal") << 0 << QStringList{""};
    QTest::newRow("1") << 1 << QStringList{"57,600"};
    QTest::newRow("15") << 15 << QStringList{p1};
    QTest::newRow("16") << 16 << QStringList{p1, "136,500"};
    QTest::newRow("30") << 30 << QStringList{p1, p2};
    QTest::newRow("31") << 31 << QStringList{p1, p2, "57,600"};
    QTest::newRow("100") << 100 << QStringList{p1, p2, p1, p2, p1, p2, "667,100"};
}

// ⌈N / 15⌉ pages, at least one; "Page p / T" with the pages printed; rows
// 15·(p−1)+1 .. 15·p on page p; every page 15 ruled rows.
void TestQuotationA4::paging()
{
    QFETCH(int, used);
    QFETCH(QStringList, subtotals);

    const PrintSample s = PrintSamples::quotation(used);
    const ReportDocument doc = build(s);
    const int total = int(subtotals.size());
    QCOMPARE(doc.pages.size(), total);
    for (int p = 0; p < total; ++p) {
        const ReportPage& page = doc.pages[p];
        QCOMPARE(page.text(u"tcp"_qs)->text, QString::number(total));
        QCOMPARE(page.text(u"Field1"_qs)->text, QString::number(p + 1));
        QCOMPARE(page.lines(u"Line25"_qs).size(), 15);
        const ReportTextOp* sub = page.text(u"txt小計"_qs);
        QCOMPARE(sub ? sub->text : QString(), subtotals[p]);
        QStringList expectedNames, names;
        for (int r = 15 * p; r < std::min<int>(15 * (p + 1), s.lines.size()); ++r)
            if (!dbv::text(s.lines[r].品名).isEmpty()) expectedNames << dbv::text(s.lines[r].品名);
        for (const ReportTextOp* t : page.texts(u"txt品名"_qs)) names << t->text;
        QCOMPARE(names, expectedNames);
        if (!names.isEmpty())
            QCOMPARE(rowOf(page.text(u"txt品名"_qs)->rect.top(), 5010), 0);  // the page's first line in its first row
    }
}

void TestQuotationA4::totalOnTheFirstPageOnly_data()
{
    QTest::addColumn<QString>("amount");  // "" = none
    QTest::addColumn<QString>("firstPage");
    QTest::addColumn<QString>("laterPages");

    QTest::newRow("an amount") << "7004550" << u"\u00A57,004,550"_qs << "***********";
    QTest::newRow("0: the yen sign alone") << "0" << u"\u00A5"_qs << "***********";
    QTest::newRow("none: nothing on any page") << "" << "" << "";
}

void TestQuotationA4::totalOnTheFirstPageOnly()
{
    QFETCH(QString, amount);
    QFETCH(QString, firstPage);
    QFETCH(QString, laterPages);

    PrintSample s = PrintSamples::quotation(40);
    s.data.見積金額 = amount.isEmpty() ? std::nullopt : Currency::parse(amount);
    const ReportDocument doc = build(s);
    QCOMPARE(doc.pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        const ReportTextOp* t = doc.pages[p].text(u"txt合計金額"_qs);
        QCOMPARE(t ? t->text : QString(), p == 0 ? firstPage : laterPages);
        if (t) QVERIFY(!t->text.contains(QLatin1Char('\\')));
    }
}

// A subtotal line prints its name and amount bold and nothing else.
void TestQuotationA4::subtotalRows()
{
    const PrintSample s = PrintSamples::quotation(15);
    const ReportPage page = build(s).pages.first();
    const auto rowOfText = [&](const ReportTextOp* t) { return rowOf(t->rect.top(), 5010); };
    for (const QString& name : {u"txt数量"_qs, u"txt単価"_qs, u"txt単位"_qs, u"txt入数"_qs})
        for (const ReportTextOp* t : page.texts(name)) QVERIFY2(rowOfText(t) != 9, qPrintable(name));
    for (const QString& name : {u"txt品名"_qs, u"txt金額"_qs}) {
        for (const ReportTextOp* t : page.texts(name)) QCOMPARE(t->font.bold, rowOfText(t) == 9);
    }
    const auto amounts = page.texts(u"txt金額"_qs);
    QCOMPARE(amounts[9]->text, u"667,100"_qs);
}

void TestQuotationA4::titleSealsAndFonts()
{
    PrintSample s = PrintSamples::quotation(3);
    s.print.タイトル1.clear();
    s.data.印鑑2.clear();
    s.print.顧客名フォント = u"ＭＳ Ｐゴシック"_qs;
    s.print.顧客名サイズ = 20;
    s.print.自社名フォント.clear();
    s.print.自社名サイズ = 0;
    s.print.顧客情報サイズ = std::nan("");
    s.print.自社情報サイズ = 10.5;
    const ReportPage page = build(s).pages.first();

    QVERIFY(!page.text(u"lblタイトル"_qs));  // an empty title prints none
    QCOMPARE(page.text(u"txt印鑑1"_qs)->text, u"承認"_qs);
    QVERIFY(!page.text(u"txt印鑑2"_qs));  // an empty seal title leaves its box empty
    QCOMPARE(page.text(u"txt印鑑3"_qs)->text, u"担当"_qs);
    QCOMPARE(page.text(u"txt顧客名"_qs)->font, (ReportFont{u"ＭＳ Ｐゴシック"_qs, 20, false}));
    QCOMPARE(page.text(u"txt自社名"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 14, true}));  // designed, bold kept
    QCOMPARE(page.text(u"txt顧客情報"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 10, false}));
    QCOMPARE(page.text(u"txt自社情報"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 10.5, false}));
    QCOMPARE(page.text(u"txt敬称"_qs)->text, u"様"_qs);
    QCOMPARE(page.text(u"Label15"_qs)->text, u"\u3000品\u3000\u3000    \u3000名"_qs);
}

// A fresh database without an "MA4" row leaves the entry empty: no title, the
// base margins, the designed fonts, black rules.
void TestQuotationA4::withoutASettingsRow()
{
    PrintSample s = PrintSamples::quotation(20);
    s.print = PrintSettingsEntry{};
    const ReportDocument doc = build(s);
    QCOMPARE(doc.pages.size(), 2);
    QCOMPARE(doc.origin, QPointF(800, 800));
    const ReportPage& page = doc.pages.first();
    QVERIFY(!page.text(u"lblタイトル"_qs));
    QCOMPARE(page.text(u"txt顧客名"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 16, false}));
    QCOMPARE(page.text(u"txt顧客情報"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 10, false}));
    QCOMPARE(page.text(u"txt自社名"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 14, true}));
    QCOMPARE(page.text(u"txt自社情報"_qs)->font, (ReportFont{u"ＭＳ Ｐ明朝"_qs, 10, false}));
    QCOMPARE(page.lines(u"Line1"_qs).first()->colour, QColor(Qt::black));
}

// No row of w明細 could be read: one page of empty ruled rows that counts
// itself, not the pages the line count would have given.
void TestQuotationA4::withoutDetailRows()
{
    PrintSample s = PrintSamples::quotation(40);
    Rpt見積書A401 report(s.data, s.print, s.settings);
    const ReportDocument doc = report.build({});
    QCOMPARE(doc.pages.size(), 1);
    const ReportPage& page = doc.pages.first();
    QCOMPARE(page.lines(u"Line25"_qs).size(), 15);
    QVERIFY(page.texts(u"txt品名"_qs).isEmpty());
    QCOMPARE(page.text(u"tcp"_qs)->text, u"1"_qs);
}

// w明細 holding its rows in another order still prints them by 行番号.
void TestQuotationA4::rowsInLineNumberOrder()
{
    TestFolder data;
    Database work;
    QVERIFY(work.open(data.workDbPath(), Database::Role::Work));
    QVERIFY(work.exec(u"DELETE FROM w明細"_qs));
    for (int n = 100; n >= 1; --n)
        QVERIFY(work.exec(u"INSERT INTO w明細 (行番号, 品名, 金額, 小計) VALUES (?, ?, ?, 0)"_qs,
                          {n, n <= 20 ? QVariant(u"品%1"_qs.arg(n)) : QVariant(), n <= 20 ? QVariant(n * 10000) : QVariant()}));
    bool ok = false;
    const QList<QuotationLine> lines = ReadDetailWorkRows(work, &ok);
    QVERIFY(ok);
    QCOMPARE(lines.size(), 100);
    for (int i = 0; i < 100; ++i) QCOMPARE(lines[i].品名, i < 20 ? QVariant(u"品%1"_qs.arg(i + 1)) : QVariant());

    PrintSample s = PrintSamples::quotation(0);
    s.data.明細行数 = 20;
    Rpt見積書A401 report(s.data, s.print, s.settings);
    const ReportDocument doc = report.build(lines);
    QCOMPARE(doc.pages.size(), 2);
    QStringList names;
    for (const ReportPage& page : doc.pages)
        for (const ReportTextOp* t : page.texts(u"txt品名"_qs)) names << t->text;
    QStringList expected;
    for (int n = 1; n <= 20; ++n) expected << u"品%1"_qs.arg(n);
    QCOMPARE(names, expected);
    QCOMPARE(doc.pages[1].text(u"txt小計"_qs)->text, u"90"_qs);  // 16 + 17 + 18 + 19 + 20
}

void TestQuotationA4::marginsFromTheSettings_data()
{
    QTest::addColumn<QVariant>("LM");
    QTest::addColumn<QVariant>("TM");
    QTest::addColumn<QPointF>("origin");  // left and top margin as printed
    QTest::addColumn<int>("rows");        // rows a page
    QTest::addColumn<bool>("pdf");        // also read the PDF back

    // A4 is 11900 × 16840 twips; the footer stands at 16840 − 200 − 885 =
    // 15755, the header (税計算 on) is 5010 high, a row 620: a top margin t
    // leaves room for ⌊(10745 − t) / 620⌋ rows, 15 at most, and at most 10125
    // leaves room for one. The drawing reaches from x −7.5 (the memo frame's
    // pen) to 10602.5 (the heavy title rule), so the left margin stays within
    // 7.5 .. 1297.5.
    QTest::newRow("none") << QVariant(0) << QVariant(0) << QPointF(800, 800) << 15 << true;
    QTest::newRow("Null") << QVariant() << QVariant() << QPointF(800, 800) << 15 << false;
    QTest::newRow("right, up") << QVariant(300) << QVariant(-200) << QPointF(1100, 600) << 15 << true;
    QTest::newRow("TM 600: the footer stays, 15 rows still fit")
        << QVariant(0) << QVariant(600) << QPointF(800, 1400) << 15 << true;
    QTest::newRow("TM 1000: 14 rows") << QVariant(0) << QVariant(1000) << QPointF(800, 1800) << 14 << true;
    QTest::newRow("TM 3000: 11 rows") << QVariant(250) << QVariant(3000) << QPointF(1050, 3800) << 11 << false;
    QTest::newRow("TM 9325: the last that leaves room for a row")
        << QVariant(0) << QVariant(9325) << QPointF(800, 10125) << 1 << false;
    QTest::newRow("TM 99999: one row a page") << QVariant(0) << QVariant(99999) << QPointF(800, 10125) << 1 << false;
    QTest::newRow("LM 497: the widest box still inside")
        << QVariant(497) << QVariant(0) << QPointF(1297, 800) << 15 << false;
    QTest::newRow("LM 99999: the widest box at the paper's edge")
        << QVariant(99999) << QVariant(0) << QPointF(1297.5, 800) << 15 << false;
    QTest::newRow("negative sums: held at the paper's corner")
        << QVariant(-5000) << QVariant(-3000) << QPointF(7.5, 0) << 15 << true;
    QTest::newRow("lowest") << QVariant(-99999) << QVariant(-99999) << QPointF(7.5, 0) << 15 << false;
    QTest::newRow("no numbers") << QVariant(u"abc"_qs) << QVariant(u"1cm"_qs) << QPointF(800, 800) << 15 << false;
    QTest::newRow("huge") << QVariant(1e30) << QVariant(-1e300) << QPointF(1297.5, 0) << 15 << false;
    QTest::newRow("not a number") << QVariant(u"nan"_qs) << QVariant(u"inf"_qs) << QPointF(800, 800) << 15 << false;
}

// LM and TM from 印刷情報, whatever they hold, move the print within the
// paper: the footer stays at the foot of every page, a larger top margin
// leaves room for fewer rows and gives as many more pages, "Page n / T"
// counts them exactly, and every row of the quotation prints once, in order.
void TestQuotationA4::marginsFromTheSettings()
{
    QFETCH(QVariant, LM);
    QFETCH(QVariant, TM);
    QFETCH(QPointF, origin);
    QFETCH(int, rows);
    QFETCH(bool, pdf);

    TestFolder data;
    Database db;
    QVERIFY(db.open(data.dataDbPath()));
    QVERIFY(db.exec(u"UPDATE 印刷情報 SET LM = ?, TM = ? WHERE 型番 = 'MA4'"_qs, {LM, TM}));
    PrintSettingsTable table{};
    const int n = ReadPrintSettings(db, table, u"MA4"_qs);
    QVERIFY(n > 0);

    PrintSample s = PrintSamples::quotation(100);
    const ReportDocument plain = build(s);
    s.print = table[n];
    const ReportDocument doc = build(s);
    QCOMPARE(doc.origin, origin);
    const QStringList faults = OpProbe::pagingFaults(doc, plain, rows, u"Line25"_qs, u"Field1"_qs, 15755.0 + 354);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_qs)));
    for (const ReportPage& page : doc.pages)  // the footer's rule at the foot of every page too
        QCOMPARE(page.lines(u"Line20"_qs).first()->line.y1() + doc.origin.y(), 15755.0 + 283);
    const int total = int(doc.pages.size());
    if (!pdf) return;

    const PdfProbe::Printed printed = PdfProbe::print(doc);
    QVERIFY2(printed.error.isEmpty(), qPrintable(printed.error));
    QCOMPARE(printed.info.pages, total);
    const QList<PdfProbe::Word>& words = printed.words;
    for (int p = 1; p <= total; ++p) QVERIFY2(hasPageLine(wordsOn(words, p), p, total), qPrintable(QString::number(p)));
    if (origin == QPointF(1100, 600)) {
        // The print moved: the title 15 points right and 10 up of its place.
        const auto title = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text == u"見積書"_qs; });
        QVERIFY(title != words.end());
        QVERIFY(title->box.top() < (800 + 360) / 20.0 - 10);
        QVERIFY(title->box.left() > (800 + 8010) / 20.0 + 15);
    }
}

// The PDF of a quotation that was stored, loaded back into w明細 and printed.
void TestQuotationA4::pdfOfAStoredQuotation()
{
    TestFolder data;
    Database db, work;
    QVERIFY(db.open(data.dataDbPath()));
    QVERIFY(work.open(data.workDbPath(), Database::Role::Work));

    const PrintSample sample = PrintSamples::quotation(100);
    QuotationRecord q;
    q.header.伝票番号 = 1024;
    q.header.日付 = QDate(2024, 12, 9);
    q.header.顧客名 = sample.data.顧客名;
    q.header.顧客情報 = sample.data.顧客情報;
    q.header.敬称 = sample.data.敬称;
    q.header.件名 = sample.data.件名;
    q.header.有効期限 = sample.data.有効期限;
    q.header.支払条件 = sample.data.支払条件;
    q.header.受渡場所 = sample.data.受渡場所;
    q.header.納期 = sample.data.納期;
    q.header.メモ = sample.data.メモ;
    q.header.税抜計 = sample.data.税抜計;
    q.header.消費税 = sample.data.消費税;
    q.header.合計 = q.header.見積金額 = sample.data.見積金額;
    q.header.印鑑 = {sample.data.印鑑1, sample.data.印鑑2, sample.data.印鑑3, u""_qs};
    q.lines = sample.lines;
    const StoreOutcome stored =
        StoreQuotation(db, q, [&db](const QString& kcode, const QString& value) { return AutoEntryCode(db, kcode, value); });
    QVERIFY2(stored.ok, qPrintable(stored.error.logText()));
    const auto loaded = LoadQuotation(db, 1024);
    QVERIFY(loaded);
    QCOMPARE(loaded->lines.size(), 100);
    QVERIFY(WriteWorkLines(work, loaded->lines));

    // What the hand-over gives the report.
    const QuotationHeader& h = loaded->header;
    PrnData見積書 d;
    d.伝票番号 = QString::number(h.伝票番号);
    d.日付 = EraDate::format(*h.日付, u"gggee年mm月dd日"_qs);
    d.顧客名 = h.顧客名.toString();
    d.顧客情報 = h.顧客情報.toString();
    d.敬称 = h.敬称.toString();
    d.件名 = h.件名.toString();
    d.有効期限 = h.有効期限.toString();
    d.支払条件 = h.支払条件.toString();
    d.受渡場所 = h.受渡場所.toString();
    d.納期 = h.納期.toString();
    d.メモ = h.メモ.toString();
    d.税抜計 = h.税抜計;
    d.消費税 = h.消費税;
    d.見積金額 = h.見積金額;
    d.印鑑1 = h.印鑑[0].toString();
    d.印鑑2 = h.印鑑[1].toString();
    d.印鑑3 = h.印鑑[2].toString();
    d.明細行数 = 100;
    PrintSettingsTable table{};
    const int entry = ReadPrintSettings(db, table, u"MA4"_qs);
    QVERIFY(entry > 0);

    Rpt見積書A401 report(d, table[entry], sample.settings);
    const ReportDocument doc = report.build(ReadDetailWorkRows(work));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"quotation.pdf"_qs);
    QString error;
    QVERIFY2(ReportRender::writePdf(doc, pdf, &error), qPrintable(error));

    const PdfProbe::Info info = PdfProbe::info(pdf, &error);
    QVERIFY2(info.pages, qPrintable(error));
    QCOMPARE(info.pages, 7);
    QCOMPARE(info.pageSize, QSizeF(595, 842));

    const auto all = PdfProbe::words(pdf, &error);
    const auto first = wordsOn(all, 1);
    QStringList texts;
    for (const auto& w : first) texts << w.text;
    // The title "見積書" of the shipped settings, centred in its box at the top.
    const auto title = std::find_if(first.begin(), first.end(), [](const auto& w) { return w.text == u"見積書"_qs; });
    QVERIFY2(title != first.end(), qPrintable(texts.join(' ')));
    QVERIFY(std::abs(title->box.center().x() - (800 + 8010 + 1875 / 2.0) / 20) < 2);
    // (Within a hundredth of a point: the bold face's em is 1000 units, the regular one's 2048.)
    QVERIFY(title->box.top() >= 40 - 0.01 && title->box.bottom() <= 40 + 360 / 20.0 + 4);
    // The total with the yen sign, once.
    QVERIFY2(texts.contains(u"\u00A57,004,550"_qs), qPrintable(texts.join(' ')));
    QVERIFY(!texts.contains(u"***********"_qs));
    // The customer's name at its place: left 283, top 1240 (twips, plus the margins).
    const auto name = std::find_if(first.begin(), first.end(), [](const auto& w) { return w.text == u"株式会社"_qs; });
    QVERIFY(name != first.end());
    QVERIFY(std::abs(name->box.left() - (800 + 283) / 20.0) < 1.5);
    QVERIFY(name->box.top() >= (800 + 1240) / 20.0 && name->box.top() < (800 + 1240 + 425) / 20.0);
    QVERIFY(hasPageLine(first, 1, 7));

    const auto last = wordsOn(all, 7);
    QVERIFY(hasPageLine(last, 7, 7));
    QVERIFY(std::any_of(last.begin(), last.end(), [](const auto& w) { return w.text == u"***********"_qs; }));
    QVERIFY(std::none_of(all.begin(), all.end(), [](const auto& w) { return w.text.contains(QLatin1Char('\\')); }));
}

void TestQuotationA4::pdfColours_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("255: red rules") << 255 << "red";
    QTest::newRow("16711680: blue rules") << 16711680 << "blue";
}

// Pixel probes at 144 dpi (one pixel is 10 twips): the rules take the colour,
// the title stays black.
void TestQuotationA4::pdfColours()
{
    QFETCH(int, value);
    QFETCH(QString, expected);

    const ReportDocument doc = buildInColour(5, value);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"colour.pdf"_qs);
    QVERIFY(ReportRender::writePdf(doc, pdf));
    QString error;
    const QImage image = PdfProbe::page(pdf, 1, 144, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(1190, 1684));

    const auto kindOf = [](QRgb c) {
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        if (r > 150 && g < 110 && b < 110) return u"red"_qs;
        if (b > 150 && r < 110 && g < 110) return u"blue"_qs;
        if (r < 110 && g < 110 && b < 110 && std::abs(r - b) < 30 && std::abs(r - g) < 30) return u"black"_qs;
        return u"other"_qs;
    };
    // The most saturated pixel in a small window around a place given in twips.
    const auto probe = [&](double xTwips, double yTwips, int reach) {
        const int cx = int((800 + xTwips) / 10), cy = int((800 + yTwips) / 10);
        QRgb best = qRgb(255, 255, 255);
        for (int y = cy - reach; y <= cy + reach; ++y)
            for (int x = cx - reach; x <= cx + reach; ++x) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) + qGreen(c) + qBlue(c) < qRed(best) + qGreen(best) + qBlue(best)) best = c;
            }
        return kindOf(best);
    };
    QCOMPARE(probe(5000, 380, 3), expected);           // Line1, under the title
    QCOMPARE(probe(3000, 1600, 2), expected);          // Line19, under the customer
    QCOMPARE(probe(71, 5010 + 300, 2), expected);      // Line3, the detail's left edge
    QCOMPARE(probe(5000, 5010 + 618, 2), expected);    // Line25, under the first row
    QCOMPARE(probe(8500, kFooterTop + 283, 2), expected);  // Line20, under the page subtotal
    // Title and customer name black.
    QCOMPARE(probe(8010 + 1875 / 2.0, 180, 8), u"black"_qs);
    QCOMPARE(probe(600, 1240 + 200, 8), u"black"_qs);
}

QTEST_MAIN(TestQuotationA4)
#include "tst_quotation_a4.moc"
