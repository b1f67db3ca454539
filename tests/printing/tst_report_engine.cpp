// The report engine on a small layout of its own: the order of the events,
// paging, places in twips, margins held on the paper, wrapping and clipping of
// text, bold that shows on paper, number formats, colours, and the three renderers (PDF, printer,
// preview) replaying the built pages.
#include "PrintSamples.h"
#include "printing/Report.h"
#include "printing/ReportRender.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Paper A4 (842 points, 16840 twips high), margins 1000 / 1000 / 500 / 500: between the
// header (2000) and the footer (1000) there is room for 3 rows of 3500.
constexpr double kHeader = 2000;
constexpr double kRow = 3500;
constexpr double kFooter = 1000;

ReportLayout probeLayout()
{
    using namespace ReportDesign;
    const ReportFont font{QStringLiteral("ＭＳ Ｐ明朝"), 12, false};
    ReportLayout l;
    l.page.margins = QMarginsF(1000, 1000, 500, 500);
    l.pageHeader.height = kHeader;
    l.pageHeader.controls = {label(QStringLiteral("title"), 100, 200, 2000, 300, QStringLiteral("Title"), font)};
    l.detail.height = kRow;
    l.detail.controls = {
        field(QStringLiteral("value"), 0, 0, 2000, 300, font, Qt::AlignRight, QStringLiteral("#,##0"), QStringLiteral("v")),
        line(QStringLiteral("rule"), 0, kRow, 5000, kRow),
    };
    ReportControl pageNo = field(QStringLiteral("pageNo"), 0, 0, 500, 300, font);
    pageNo.pageNumber = true;
    l.pageFooter.height = kFooter;
    l.pageFooter.controls = {pageNo, frame(QStringLiteral("box"), 600, 0, 1000, 500, true)};
    return l;
}

class ProbeReport : public Report {
public:
    ProbeReport() : Report(probeLayout()) {}

    int breakEvery = 0;  // the layout asks for a new page after this many rows
    int stopAfter = 0;   // the layout stops the run after this many rows
    std::optional<QPointF> leftTop;  // left and top margins in place of the designed ones
    QPageSize::PageSizeId paper = QPageSize::A4;
    QStringList events;
    static inline int runs = 0;

protected:
    void reportStart() override
    {
        ++runs;
        events << QStringLiteral("start");
        if (leftTop) {
            layout().page.margins.setLeft(leftTop->x());
            layout().page.margins.setTop(leftTop->y());
        }
        layout().page.paper = paper;
        printed_ = onPage_ = 0;
    }
    void pageHeaderFormat() override { events << QStringLiteral("header"); }
    void detailFormat() override
    {
        events << (eof() ? QStringLiteral("format-eof") : QStringLiteral("format"));
        if (stopAfter && printed_ == stopAfter) return stop();
        if (breakEvery && onPage_ == breakEvery) {
            onPage_ = 0;
            newPage();
        }
    }
    void detailBeforePrint() override
    {
        events << QStringLiteral("print");
        ++printed_;
        ++onPage_;
    }
    void pageFooterFormat() override { events << QStringLiteral("footer"); }

private:
    int printed_ = 0;
    int onPage_ = 0;
};

QList<ReportRecord> numbers(int n)
{
    QList<ReportRecord> out;
    for (int i = 1; i <= n; ++i) out.append({{QStringLiteral("v"), QVariant::fromValue(Currency::fromWhole(i))}});
    return out;
}

// The rows of a page as "1,2,-": the value printed in each ruled row, "-" for an empty row.
QString rowsOf(const ReportPage& page)
{
    QStringList rows;
    for (const ReportLineOp* rule : page.lines(QStringLiteral("rule"))) {
        const double top = rule->line.y1() - kRow;
        QString value = QStringLiteral("-");
        for (const ReportTextOp* t : page.texts(QStringLiteral("value")))
            if (qFuzzyCompare(t->rect.top(), top)) value = t->text;
        rows << value;
    }
    return rows.join(QLatin1Char(','));
}

}  // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private slots:
    void eventOrder();
    void paging_data();
    void paging();
    void placesInTwips();
    void marginsAreHeldOnThePaper_data();
    void marginsAreHeldOnThePaper();
    void textLines_data();
    void textLines();
    void condensedLines_data();
    void condensedLines();
    void boldIsVisiblyBold_data();
    void boldIsVisiblyBold();
    void boldIsText_data();
    void boldIsText();
    void numberFormats_data();
    void numberFormats();
    void windowsColours_data();
    void windowsColours();
    void pdfOnTheLayoutsPaper_data();
    void pdfOnTheLayoutsPaper();
    void printerFullPageAndRange();
    void previewReplaysItsOwnPages();
};

// Per page the header, then per row format and print, the footer last; the
// row that opens a page is formatted before the footer of the page before.
void TestReportEngine::eventOrder()
{
    ProbeReport r;
    const ReportDocument doc = r.run(numbers(4));
    QCOMPARE(doc.pages.size(), 2);
    QCOMPARE(r.events.join(QLatin1Char(' ')),
             QStringLiteral("start header format print format print format print format footer header print "
                            "format-eof print format-eof print format-eof footer"));
}

void TestReportEngine::paging_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("breakEvery");
    QTest::addColumn<int>("stopAfter");
    QTest::addColumn<QStringList>("pages");

    QTest::newRow("no record: one page of empty rows") << 0 << 0 << 0 << QStringList{"-,-,-"};
    QTest::newRow("records fill the page: no page of empty rows after it") << 3 << 0 << 0 << QStringList{"1,2,3"};
    QTest::newRow("one more opens a page, filled with empty rows") << 4 << 0 << 0 << QStringList{"1,2,3", "4,-,-"};
    QTest::newRow("the layout breaks every 2 rows") << 5 << 2 << 0 << QStringList{"1,2", "3,4", "5,-"};
    QTest::newRow("stop ends the run at once, the page keeps its footer")
        << 10 << 0 << 4 << QStringList{"1,2,3", "4"};
}

void TestReportEngine::paging()
{
    QFETCH(int, records);
    QFETCH(int, breakEvery);
    QFETCH(int, stopAfter);
    QFETCH(QStringList, pages);

    ProbeReport r;
    r.breakEvery = breakEvery;
    r.stopAfter = stopAfter;
    const ReportDocument doc = r.run(numbers(records));
    QStringList got;
    for (const ReportPage& p : doc.pages) got << rowsOf(p);
    QCOMPARE(got, pages);
    // Header and footer on every page, the footer with its page's number.
    for (int i = 0; i < doc.pages.size(); ++i) {
        QVERIFY(doc.pages[i].text(QStringLiteral("title")));
        QCOMPARE(doc.pages[i].text(QStringLiteral("pageNo"))->text, QString::number(i + 1));
    }
}

// Header controls where designed, detail rows one below the other under the
// header, the footer at the foot of the page inside the bottom margin.
void TestReportEngine::placesInTwips()
{
    ProbeReport r;
    const ReportDocument doc = r.run(numbers(2));
    const ReportPage& p = doc.pages.first();
    QCOMPARE(doc.origin, QPointF(1000, 1000));
    QCOMPARE(p.text(QStringLiteral("title"))->rect, QRectF(100, 200, 2000, 300));
    QCOMPARE(p.text(QStringLiteral("value"), 0)->rect, QRectF(0, kHeader, 2000, 300));
    QCOMPARE(p.text(QStringLiteral("value"), 1)->rect, QRectF(0, kHeader + kRow, 2000, 300));
    QCOMPARE(p.lines(QStringLiteral("rule"))[2]->line, QLineF(0, kHeader + 3 * kRow, 5000, kHeader + 3 * kRow));

    const double footerTop = doc.paperTwips().height() - 1000 - 500 - kFooter;
    QCOMPARE(p.text(QStringLiteral("pageNo"))->rect, QRectF(0, footerTop, 500, 300));
    const ReportFrameOp* box = p.frame(QStringLiteral("box"));
    QCOMPARE(box->rect, QRectF(600, footerTop, 1000, 500));
    QVERIFY(box->radius > 0);
    QCOMPARE(box->width, 15.0);
}

void TestReportEngine::marginsAreHeldOnThePaper_data()
{
    QTest::addColumn<QPointF>("leftTop");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QStringList>("pages");
    // A4: 11900 × 16840 twips. The drawing reaches from x −7.5 (the rule's
    // pen) to 5007.5, the header starts at y 200, and the footer stands at
    // 16840 − 500 − 1000 = 15340 whatever the top margin.
    const double huge = 1e300, nan = std::numeric_limits<double>::quiet_NaN();

    QTest::newRow("as designed") << QPointF(1000, 1000) << QPointF(1000, 1000) << QStringList{"1,2,3", "4,5,-"};
    QTest::newRow("right and down: room for two rows")
        << QPointF(1300, 4000) << QPointF(1300, 4000) << QStringList{"1,2", "3,4", "5,-"};
    QTest::newRow("left and up beyond the paper: held at its edges")
        << QPointF(-1500, -1200) << QPointF(7.5, -200) << QStringList{"1,2,3", "4,5,-"};
    QTest::newRow("just on the paper") << QPointF(6892.5, 9840) << QPointF(6892.5, 9840)
                                       << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("huge: the last places on the paper, one row a page")
        << QPointF(huge, huge) << QPointF(6892.5, 9840) << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("minus huge") << QPointF(-huge, -huge) << QPointF(7.5, -200) << QStringList{"1,2,3", "4,5,-"};
    QTest::newRow("no number: 0, held") << QPointF(nan, nan) << QPointF(7.5, 0) << QStringList{"1,2,3", "4,5,-"};
}

// Left and top margins place the drawing; the footer stays at the foot of the
// page; a larger top margin leaves room for fewer rows; nothing of a page
// ever leaves the paper.
void TestReportEngine::marginsAreHeldOnThePaper()
{
    QFETCH(QPointF, leftTop);
    QFETCH(QPointF, origin);
    QFETCH(QStringList, pages);

    ProbeReport r;
    r.leftTop = leftTop;
    const ReportDocument doc = r.run(numbers(5));

    QCOMPARE(doc.origin, origin);
    QStringList got;
    for (const ReportPage& p : doc.pages) got << rowsOf(p);
    QCOMPARE(got, pages);
    QCOMPARE(OpProbe::offPaper(doc), QStringList());
    for (int i = 0; i < doc.pages.size(); ++i) {
        const ReportTextOp* pageNo = doc.pages[i].text(QStringLiteral("pageNo"));
        QCOMPARE(pageNo->text, QString::number(i + 1));
        QCOMPARE(pageNo->rect.top() + doc.origin.y(), 15340.0);
    }
    // Any margins can be rendered.
    QTemporaryDir dir;
    QVERIFY(ReportRender::writePdf(doc, dir.filePath(QStringLiteral("s.pdf"))));
    QVERIFY(!ReportRender::pageImage(doc, 0, 30).isNull());
}

// How a text box prints its text: lines wrapped at its width, whole lines up to
// its height, CR LF as a line break; captions and numbers on one line, whole
// (condensed when wider than the box: see condensedLines).
void TestReportEngine::textLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QStringList>("expected");  // the lines; "…" as the last entry: only a beginning of the text

    const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    QTest::newRow("wrapped at the width, clipped at the height")
        << kana << QSizeF(1000, 700) << true << int(Qt::AlignLeft) << QStringList{"…"};
    QTest::newRow("CR LF breaks the line") << QStringLiteral("〒150-0001\r\n東京都渋谷区") << QSizeF(4000, 1000)
                                            << true << int(Qt::AlignLeft)
                                            << QStringList{"〒150-0001", "東京都渋谷区"};
    QTest::newRow("a box lower than the font still prints its first line")
        << QStringLiteral("合計") << QSizeF(2000, 100) << true << int(Qt::AlignLeft) << QStringList{"合計"};
    QTest::newRow("a number wider than its box prints whole, condensed into it")
        << QStringLiteral("¥1,234,567,890,123") << QSizeF(1000, 300) << false << int(Qt::AlignRight)
        << QStringList{"¥1,234,567,890,123"};
}

void TestReportEngine::textLines()
{
    QFETCH(QString, text);
    QFETCH(QSizeF, box);
    QFETCH(bool, wrap);
    QFETCH(int, alignment);
    QFETCH(QStringList, expected);

    const ReportFont font{QStringLiteral("ＭＳ Ｐ明朝"), 12, false};
    const QList<ReportTextLine> lines = ReportText::layout(text, font, box, Qt::Alignment(alignment), wrap);
    QStringList got;
    for (const ReportTextLine& l : lines) got << l.text;

    if (expected == QStringList{"…"}) {
        QVERIFY2(got.size() >= 2, qPrintable(got.join('|')));
        QVERIFY(text.startsWith(got.join(QString())));
        QVERIFY(got.join(QString()).size() < text.size());
        double bottom = 0;
        for (const ReportTextLine& l : lines) {
            QVERIFY(l.width <= box.width() + 0.5);
            bottom = l.baseline.y();
        }
        QVERIFY(bottom <= box.height());
    } else {
        QCOMPARE(got, expected);
    }
    if (alignment & Qt::AlignRight)
        for (const ReportTextLine& l : lines) QVERIFY(std::abs(l.baseline.x() + l.width - box.width()) < 0.5);
}

// A line that may not wrap and is wider than its box is condensed to the box's
// width (trailing blanks do not count); anything that fits, or may wrap, prints
// at its own width.
void TestReportEngine::condensedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("boxWidth");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<bool>("condensed");

    QTest::newRow("a caption wider than its box") << QStringLiteral("件\u3000\u3000\u3000名") << 1020.0 << false << true;
    QTest::newRow("a caption that fits") << QStringLiteral("件\u3000\u3000\u3000名") << 1300.0 << false << false;
    QTest::newRow("trailing blanks take no room") << QStringLiteral("Page        ") << 600.0 << false << false;
    QTest::newRow("a page number a little too wide") << QStringLiteral("10") << 270.0 << false << true;
    QTest::newRow("text that wraps is never condensed") << QStringLiteral("件\u3000\u3000\u3000名") << 1020.0 << true << false;
}

void TestReportEngine::condensedLines()
{
    QFETCH(QString, text);
    QFETCH(double, boxWidth);
    QFETCH(bool, wrap);
    QFETCH(bool, condensed);

    const ReportFont font{QStringLiteral("ＭＳ Ｐ明朝"), 11.5, false};
    for (const auto alignment : {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter}) {
        const QList<ReportTextLine> lines = ReportText::layout(text, font, QSizeF(boxWidth, 300), alignment, wrap);
        QVERIFY(!lines.isEmpty());
        for (const ReportTextLine& l : lines) {
            QCOMPARE(l.scaleX < 1, condensed);
            if (condensed) {
                // Condensed to fill the box exactly, from its left edge.
                QCOMPARE(l.baseline.x(), 0.0);
                QCOMPARE(l.width, boxWidth);
                QVERIFY(l.scaleX > 0.5);
            }
        }
    }
}

void TestReportEngine::boldIsVisiblyBold_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("alignment");

    QTest::newRow("P Mincho, a caption") << u"ＭＳ Ｐ明朝"_qs << 14.5 << u"合計金額"_qs << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("P Mincho, an amount") << u"ＭＳ Ｐ明朝"_qs << 18.0 << u"\u00A57,004,550"_qs
                                         << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("P Mincho, kana") << u"ＭＳ Ｐ明朝"_qs << 10.0 << u"下記のとおりお見積り申し上げます"_qs
                                    << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("Mincho, the B5 title") << u"ＭＳ 明朝"_qs << 18.0 << u"見積書"_qs << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("P Gothic, the A4 title") << u"ＭＳ Ｐゴシック"_qs << 18.0 << u"お見積書"_qs
                                            << Qt::Alignment(Qt::AlignHCenter);
}

// The same text regular and bold in boxes of one size, drawn at 300 dpi both
// as an image and through a PDF: the bold one carries at least 1.3 times the
// ink, on the same baseline, and stays inside its box as the regular one does.
// It carries more ink too than the regular face made bold by Qt (the same
// outlines drawn twice, a little apart): such a faint bold gives a thin Mincho
// face 1.3 times its ink in a PDF, and barely shows on paper.
void TestReportEngine::boldIsVisiblyBold()
{
    QFETCH(QString, family);
    QFETCH(double, size);
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, alignment);

    const QRectF regularBox(1000, 1000, 5000, size * 20 * 1.2);
    const QRectF boldBox = regularBox.translated(0, 2000);
    const QRectF faintBox = boldBox.translated(0, 2000);
    ReportPage page;
    for (const bool bold : {false, true}) {
        const ReportFont font{family, size, bold};
        const QRectF box = bold ? boldBox : regularBox;
        page.ops.append(ReportTextOp{bold ? u"bold"_qs : u"regular"_qs, box, text, font, Qt::black, alignment,
                                     ReportText::layout(text, font, box.size(), alignment, false)});
    }
    ReportDocument doc;
    doc.pages = {page};
    const QList<ReportTextLine>& regularLines = page.text(u"regular"_qs)->lines;
    const QList<ReportTextLine>& boldLines = page.text(u"bold"_qs)->lines;
    QCOMPARE(boldLines.size(), 1);
    QCOMPARE(boldLines[0].baseline.y(), regularLines[0].baseline.y());
    // The regular lines in the faint bold, on a painter in twips.
    const auto drawFaint = [&](QPainter& p) {
        QFont faint = ReportText::font({family, size, false});
        faint.setBold(true);
        p.setFont(faint);
        p.setPen(Qt::black);
        for (const ReportTextLine& line : regularLines) p.drawText(faintBox.topLeft() + line.baseline, line.text);
    };

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"bold.pdf"_qs);
    QVERIFY(ReportRender::writePdf(doc, pdf));
    const QString faintPdf = dir.filePath(u"faint.pdf"_qs);
    {
        QPdfWriter writer(faintPdf);
        writer.setResolution(int(ReportUnits::kTwipsPerInch));
        writer.setPageLayout(QPageLayout(doc.pageSize(), doc.orientation, QMarginsF(0, 0, 0, 0)));
        QPainter p(&writer);
        drawFaint(p);
    }
    QImage image = ReportRender::pageImage(doc, 0, 300);
    {
        QPainter p(&image);
        p.scale(300 / ReportUnits::kTwipsPerInch, 300 / ReportUnits::kTwipsPerInch);
        drawFaint(p);
    }
    QString error;
    const QImage fromPdf = PdfProbe::page(pdf, 1, 300, &error);
    QVERIFY2(!fromPdf.isNull(), qPrintable(error));
    const QImage faintFromPdf = PdfProbe::page(faintPdf, 1, 300, &error);
    QVERIFY2(!faintFromPdf.isNull(), qPrintable(error));
    const struct {
        const char* how;
        QImage image;
        QImage faint;
    } renderings[] = {{"image", image, image}, {"PDF", fromPdf, faintFromPdf}};

    const double dots = 300 / ReportUnits::kTwipsPerInch;
    for (const auto& r : renderings) {
        // Dark dots around a box (a box's height above and below it), and the
        // rows and columns they span, relative to the box.
        struct Ink {
            int dots = 0;
            QRect extent;
        };
        const auto inkAround = [&](const QImage& image, const QRectF& box) {
            const QRect area = QRectF(box.left() * dots, (box.top() - box.height()) * dots, box.width() * dots,
                                      box.height() * 3 * dots).toAlignedRect();
            Ink ink;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (qGray(image.pixel(x, y)) < 128) {
                        ++ink.dots;
                        ink.extent |= QRect(x, y, 1, 1);
                    }
            ink.extent.translate(-QPointF(box.left() * dots, box.top() * dots).toPoint());
            return ink;
        };
        const Ink regular = inkAround(r.image, regularBox);
        const Ink bold = inkAround(r.image, boldBox);
        const Ink faint = inkAround(r.faint, faintBox);
        QVERIFY2(regular.dots > 0 && faint.dots > 0, r.how);
        QVERIFY2(bold.dots >= 1.3 * regular.dots && bold.dots >= 1.05 * faint.dots,
                 qPrintable(u"%1: bold %2 dots, regular %3, faint bold %4"_qs.arg(QLatin1String(r.how))
                                .arg(bold.dots)
                                .arg(regular.dots)
                                .arg(faint.dots)));
        // Both inside their boxes.
        const QRect inside(0, 0, int(regularBox.width() * dots), int(regularBox.height() * dots));
        QVERIFY2(inside.contains(regular.extent), r.how);
        QVERIFY2(inside.contains(bold.extent), r.how);
    }
}

void TestReportEngine::boldIsText_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("P Mincho") << u"ＭＳ Ｐ明朝"_qs;
    QTest::newRow("Mincho") << u"ＭＳ 明朝"_qs;
    QTest::newRow("P Gothic") << u"ＭＳ Ｐゴシック"_qs;
    QTest::newRow("Gothic") << u"ＭＳ ゴシック"_qs;
}

// Bold text is text of a bold face the PDF embeds, and reads back as it was
// printed: kanji that share their glyph with a Kangxi radical (見 ⾒, 小 ⼩,
// 金 ⾦, 入 ⼊, 日 ⽇) come back as the kanji, the ideographic space as itself.
void TestReportEngine::boldIsText()
{
    QFETCH(QString, family);
    const QString text = u"見積書の小計\u3000合計金額と入数の日付"_qs;
    const ReportFont font{family, 14, true};
    const QRectF box(1000, 1000, 8000, 400);
    ReportPage page;
    page.ops.append(ReportTextOp{u"bold"_qs, box, text, font, Qt::black, Qt::AlignLeft,
                                 ReportText::layout(text, font, box.size(), Qt::AlignLeft, false)});
    ReportDocument doc;
    doc.pages = {page};

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"bold.pdf"_qs);
    QVERIFY(ReportRender::writePdf(doc, pdf));
    QString error;
    QStringList words;
    for (const PdfProbe::Word& w : PdfProbe::words(pdf, &error)) words << w.text;
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(words.join(u'\u3000'), text);
    const QStringList fonts = PdfProbe::embeddedFonts(pdf, &error);
    QVERIFY2(fonts.size() == 1 && fonts.first().contains(u"Bold"_qs), qPrintable(fonts.join(u", "_qs) + error));
}

void TestReportEngine::numberFormats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    const auto c = [](const char* s) { return QVariant::fromValue(*Currency::parse(QString::fromLatin1(s))); };

    QTest::newRow("#,### prints nothing for 0") << c("0") << "#,###" << "";
    QTest::newRow("#,### rounds half away from zero") << c("1234.5") << "#,###" << "1,235";
    QTest::newRow("#,### keeps the sign") << c("-1234") << "#,###" << "-1,234";
    QTest::newRow("#,##0 prints 0") << c("0") << "#,##0" << "0";
    QTest::newRow("#,##0.00 two decimals") << c("1234.5") << "#,##0.00" << "1,234.50";
    QTest::newRow("#,##0.00 of 0") << c("0") << "#,##0.00" << "0.00";
    QTest::newRow("long grouping") << c("1234567890123") << "###,###,###,###" << "1,234,567,890,123";
    QTest::newRow("Null prints nothing") << QVariant() << "#,##0" << "";
    QTest::newRow("text that reads as a number") << QVariant(QStringLiteral("2500")) << "#,##0" << "2,500";
    QTest::newRow("text that is no number stays") << QVariant(QStringLiteral("一式")) << "#,##0" << "一式";
    QTest::newRow("no format: the plain number") << c("12.50") << "" << "12.5";
}

void TestReportEngine::numberFormats()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(ReportFormat::apply(value, format), text);
}

void TestReportEngine::windowsColours_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("0 black") << qint64(0) << QColor(0, 0, 0);
    QTest::newRow("255 red") << qint64(255) << QColor(255, 0, 0);
    QTest::newRow("65280 green") << qint64(65280) << QColor(0, 255, 0);
    QTest::newRow("16711680 blue") << qint64(16711680) << QColor(0, 0, 255);
    QTest::newRow("mixed") << qint64(0x336699) << QColor(0x99, 0x66, 0x33);
    QTest::newRow("-1 is no colour: black") << qint64(-1) << QColor(0, 0, 0);
    QTest::newRow("beyond 24 bits: black") << qint64(0x1000000) << QColor(0, 0, 0);
}

void TestReportEngine::windowsColours()
{
    QFETCH(qint64, value);
    QFETCH(QColor, colour);
    QCOMPARE(ReportColour::fromWindows(value), colour);
}

void TestReportEngine::pdfOnTheLayoutsPaper_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<QSizeF>("points");
    QTest::newRow("A4") << int(QPageSize::A4) << QSizeF(595, 842);
    QTest::newRow("JIS B5, 182 x 257 mm") << int(QPageSize::JisB5) << QSizeF(516, 729);
}

void TestReportEngine::pdfOnTheLayoutsPaper()
{
    QFETCH(int, paper);
    QFETCH(QSizeF, points);

    ProbeReport r;
    r.paper = QPageSize::PageSizeId(paper);
    const ReportDocument doc = r.run(numbers(7));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    QString error;
    QVERIFY2(ReportRender::writePdf(doc, pdf, &error), qPrintable(error));
    const PdfProbe::Info info = PdfProbe::info(pdf, &error);
    QVERIFY2(info.pages > 0, qPrintable(error));
    QCOMPARE(info.pages, doc.pages.size());
    QVERIFY(std::abs(info.pageSize.width() - points.width()) < 0.5);
    QVERIFY(std::abs(info.pageSize.height() - points.height()) < 0.5);

    // One unit is one twip: the title sits at margin + place.
    const auto words = PdfProbe::words(pdf, &error);
    const auto title = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text == "Title"; });
    QVERIFY(title != words.end());
    QVERIFY(std::abs(title->box.left() - (1000 + 100) / 20.0) < 1);

    // A file that cannot be written says so.
    QVERIFY(!ReportRender::writePdf(doc, dir.filePath(QStringLiteral("missing/folder/r.pdf")), &error));
    QVERIFY(!error.isEmpty());
}

// The printer gets the paper corner as origin at its own resolution, and a
// page range chosen in the print dialog.
void TestReportEngine::printerFullPageAndRange()
{
    ProbeReport r;
    const ReportDocument doc = r.run(numbers(7));
    QCOMPARE(doc.pages.size(), 3);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setFromTo(2, 2);
    QVERIFY(ReportRender::print(doc, printer));

    QString error;
    const PdfProbe::Info info = PdfProbe::info(pdf, &error);
    QCOMPARE(info.pages, 1);
    QVERIFY(std::abs(info.pageSize.width() - 595) < 0.5);  // the report's A4, not the printer's Letter
    const auto words = PdfProbe::words(pdf, &error);
    QStringList texts;
    for (const auto& w : words) texts << w.text;
    QVERIFY2(texts.contains(QStringLiteral("Title")), qPrintable(texts.join(' ')));
    QVERIFY2(texts.contains(QStringLiteral("2")) && !texts.contains(QStringLiteral("1")), qPrintable(texts.join(' ')));
    for (const auto& w : words)
        if (w.text == QStringLiteral("Title")) QVERIFY(std::abs(w.box.left() - 55) < 1);
}

// A preview shows the pages of its own run: it never runs the report again,
// and a later run leaves an open preview as it was.
void TestReportEngine::previewReplaysItsOwnPages()
{
    ProbeReport::runs = 0;
    auto first = std::make_shared<const ReportDocument>(ProbeReport().run(numbers(4)));
    auto second = std::make_shared<const ReportDocument>(ProbeReport().run(numbers(10)));
    QCOMPARE(ProbeReport::runs, 2);

    QPointer<QPrintPreviewDialog> a = ReportRender::showPreview(first, nullptr, QStringLiteral("A"));
    QPointer<QPrintPreviewDialog> b = ReportRender::showPreview(second, nullptr, QStringLiteral("B"));
    first.reset();
    second.reset();
    QVERIFY(a->isVisible() && !a->isModal());
    auto* wa = a->findChild<QPrintPreviewWidget*>();
    auto* wb = b->findChild<QPrintPreviewWidget*>();
    QVERIFY(wa && wb);
    for (int i = 0; i < 2; ++i) {
        wa->updatePreview();
        wb->updatePreview();
        QCOMPARE(wa->pageCount(), 2);
        QCOMPARE(wb->pageCount(), 4);
    }
    QCOMPARE(ProbeReport::runs, 2);
    a->close();
    b->close();
    QTRY_VERIFY(a.isNull() && b.isNull());
}

QTEST_MAIN(TestReportEngine)
#include "tst_report_engine.moc"
