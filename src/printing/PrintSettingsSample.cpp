#include "printing/PrintSettingsSample.h"

#include "printing/RptQuotationA4.h"
#include "printing/RptQuotationB5.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

// ---------------------------------------------------------------- the two sheets

namespace {

// The controls of a sheet that the two layouts name differently.
struct SheetNames {
    QString customerBlock;
    QString dateDivider;
    QString netTotal;
    QString sealBox;
    QStringList sealRules;
    QString headingBand;
    QString pageCaption;  // the first control of "Page n / T"
};

const ReportControl& controlOf(const ReportLayout& l, const QString& name)
{
    static const ReportControl none;
    const ReportControl* c = l.find(name);
    Q_ASSERT_X(c, "SampleSheet", qPrintable(name));
    return c ? *c : none;
}

QRectF rectOf(const ReportLayout& l, const QString& name) { return controlOf(l, name).rect; }
QLineF lineOf(const ReportLayout& l, const QString& name) { return controlOf(l, name).line; }

SampleSheet sheetOf(const QString& paperName, const ReportLayout& l, double headingTop, int rows, const SheetNames& n)
{
    SampleSheet s;
    s.paperName = paperName;
    s.paper = QPageSize(l.page.paper).size(QPageSize::Millimeter) * (1440 / 25.4);
    s.margins = l.page.margins;
    s.title = rectOf(l, u"lblタイトル"_qs);
    s.titleRule = lineOf(l, u"Line1"_qs);
    s.customerBlock = rectOf(l, n.customerBlock);
    s.customerName = rectOf(l, u"txt顧客名"_qs);
    s.honorific = rectOf(l, u"txt敬称"_qs);
    s.nameRule = lineOf(l, u"Line19"_qs);
    s.greeting = rectOf(l, u"Label2"_qs);
    s.dateBox = rectOf(l, u"Shape1"_qs);
    s.dateBoxRules = {lineOf(l, u"Line21"_qs), lineOf(l, n.dateDivider)};
    s.companyName = rectOf(l, u"txt自社名"_qs);
    s.companyBlock = rectOf(l, u"txt自社情報"_qs);
    s.termsLeft = rectOf(l, u"Label28"_qs).left();
    for (const QString& name : {u"txt件名"_qs, u"txt有効期限"_qs, u"txt支払条件"_qs, u"txt受渡場所"_qs, u"txt納期"_qs})
        s.terms << rectOf(l, name);
    for (const QString& name : {u"lbl税抜計"_qs, n.netTotal, u"lbl税"_qs, u"txt税額"_qs, u"lbl合計"_qs, u"txt合計金額"_qs})
        s.totals |= rectOf(l, name);
    s.sealBox = rectOf(l, n.sealBox);
    for (const QString& name : n.sealRules) s.sealRules << lineOf(l, name);

    // The heading band where the report puts it, down to where the rows begin.
    const QRectF band = rectOf(l, n.headingBand);
    s.heading = QRectF(band.left(), headingTop, band.width(), l.pageHeader.height - headingTop);
    // The detail section's vertical rules between its outer two.
    for (const ReportControl& c : l.detail.controls)
        if (c.kind == ReportControlKind::Line && c.line.x1() == c.line.x2()) s.columns << c.line.x1();
    std::sort(s.columns.begin(), s.columns.end());
    if (s.columns.size() >= 2) s.columns = s.columns.mid(1, s.columns.size() - 2);
    s.rowHeight = l.detail.height;
    s.rows = rows;

    // The footer sits at the foot of the page, inside the bottom margin.
    s.footerTop = s.paper.height() - s.margins.top() - s.margins.bottom() - l.pageFooter.height;
    s.memo = rectOf(l, u"txtメモ"_qs);
    s.pageNumber = rectOf(l, n.pageCaption).united(rectOf(l, u"tcp"_qs));
    return s;
}

}  // namespace

const SampleSheet& SampleSheet::a4()
{
    static const SampleSheet s = sheetOf(u"A4"_qs, Rpt見積書A401::designedLayout(), Rpt見積書A401::kHeadingTop,
                                         Rpt見積書A401::kLinesPerPage,
                                         {
                                             .customerBlock = u"txt顧客情報"_qs,
                                             .dateDivider = u"Line37"_qs,
                                             .netTotal = u"txt税抜計"_qs,
                                             .sealBox = u"Shape2"_qs,
                                             .sealRules = {u"Line32"_qs, u"Line33"_qs, u"Line34"_qs, u"Line36"_qs},
                                             .headingBand = u"Shape4"_qs,
                                             .pageCaption = u"Label19"_qs,
                                         });
    return s;
}

const SampleSheet& SampleSheet::b5()
{
    static const SampleSheet s = sheetOf(u"B5"_qs, rpt見積書B5::designedLayout(), rpt見積書B5::kHeadingTop,
                                         rpt見積書B5::kLinesPerPage,
                                         {
                                             .customerBlock = u"txt宛名情報"_qs,
                                             .dateDivider = u"Line48"_qs,
                                             .netTotal = u"txt税抜合計"_qs,
                                             .sealBox = u"Shape4"_qs,
                                             .sealRules = {u"Line45"_qs, u"Line46"_qs, u"Line34"_qs, u"Line47"_qs},
                                             .headingBand = u"Shape2"_qs,
                                             .pageCaption = u"Label51"_qs,
                                         });
    return s;
}

// ---------------------------------------------------------------- the picture

namespace {

const QColor kRule(40, 40, 40);
const QColor kText(150, 150, 150);
const QColor kStrongText(90, 90, 90);
const QColor kGuide(70, 120, 200);

// A line of text on the sample: a bar of the text's height and of a share of
// the width, so the sample reads as a printout without legible words.
void textBar(QPainter& p, const QRectF& r, double share, const QColor& c, double heightShare = 0.45)
{
    const double h = std::max(1.0, r.height() * heightShare);
    p.fillRect(QRectF(r.left(), r.center().y() - h / 2, r.width() * share, h), c);
}

}  // namespace

SamplePicture::SamplePicture(const SampleSheet& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(pal);
}

double SamplePicture::scale() const
{
    const double pad = 6;
    return std::min((width() - 2 * pad) / sheet_.paper.width(), (height() - 2 * pad) / sheet_.paper.height());
}

QRectF SamplePicture::pageRect() const
{
    const double s = scale();
    const QSizeF size(sheet_.paper.width() * s, sheet_.paper.height() * s);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QPointF SamplePicture::map(const QPointF& t) const
{
    const double s = scale();
    return pageRect().topLeft() + QPointF((sheet_.margins.left() + t.x()) * s, (sheet_.margins.top() + t.y()) * s);
}

QRectF SamplePicture::map(const QRectF& t) const
{
    return QRectF(map(t.topLeft()), map(t.bottomRight()));
}

void SamplePicture::paintEvent(QPaintEvent*)
{
    const SampleSheet& s = sheet_;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The sheet with a shadow.
    const QRectF page = pageRect();
    p.fillRect(page.translated(3, 3), QColor(60, 60, 60));
    p.fillRect(page, Qt::white);

    // Where the base margins end (the margin settings move everything from here).
    const QPointF origin = map(QPointF(0, 0));
    p.setPen(QPen(kGuide, 1, Qt::DashLine));
    p.drawLine(QPointF(origin.x(), page.top()), QPointF(origin.x(), page.bottom()));
    p.drawLine(QPointF(page.left(), origin.y()), QPointF(page.right(), origin.y()));

    const QPen rule(kRule, 1);
    const auto line = [&](const QLineF& l) { p.drawLine(map(l.p1()), map(l.p2())); };

    // Title and its thick rule.
    const QRectF title = map(s.title);
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(std::max(6, int(title.height() * 1.1)));
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(title.adjusted(-20, -4, 20, 4), Qt::AlignCenter, QStringLiteral("見積書"));
    p.setPen(QPen(kRule, 2));
    line(s.titleRule);

    // Customer block, name with honorific and rule, greeting.
    const QRectF block = map(s.customerBlock);
    for (int i = 0; i < 3; ++i)
        textBar(p, QRectF(block.left(), block.top() + i * block.height() / 3, block.width(), block.height() / 3),
                i == 0 ? 0.35 : 0.55, kText);
    textBar(p, map(s.customerName), 0.7, kStrongText, 0.6);
    textBar(p, map(s.honorific), 0.6, kStrongText, 0.6);
    p.setPen(rule);
    line(s.nameRule);
    textBar(p, map(s.greeting), 1.0, kText, 0.6);

    // Date and number box.
    const QRectF box = map(s.dateBox);
    p.setPen(rule);
    p.drawRoundedRect(box, 3, 3);
    for (const QLineF& l : s.dateBoxRules) line(l);
    const double divider = map(s.dateBoxRules.last().p1()).x();
    for (int i = 0; i < 2; ++i) {
        const QRectF half(divider + 3, box.top() + i * box.height() / 2, box.right() - divider - 6, box.height() / 2);
        textBar(p, half, i == 0 ? 0.8 : 0.4, kText);
    }

    // Own company.
    textBar(p, map(s.companyName), 0.75, kStrongText, 0.6);
    const QRectF company = map(s.companyBlock);
    for (int i = 0; i < 4; ++i)
        textBar(p, QRectF(company.left(), company.top() + i * company.height() / 5, company.width(), company.height() / 5),
                i == 0 ? 0.5 : 0.8, kText);

    // Terms: caption, value and a rule under each row.
    for (const QRectF& value : s.terms) {
        const QRectF row = map(QRectF(s.termsLeft, value.top(), value.right() - s.termsLeft, value.height()));
        textBar(p, row, 0.18, kStrongText);
        textBar(p, row.adjusted(row.width() * 0.24, 0, 0, 0), 0.5, kText);
        p.setPen(QPen(kRule, 0.5));
        p.drawLine(row.bottomLeft(), row.bottomRight());
    }

    // Totals: three rows, the last one ruled.
    const QRectF totals = map(s.totals);
    for (int i = 0; i < 3; ++i) {
        const QRectF row(totals.left(), totals.top() + i * totals.height() / 3, totals.width(), totals.height() / 3);
        textBar(p, row, 0.25, kStrongText, 0.55);
        textBar(p, row.adjusted(row.width() * 0.55, 0, 0, 0), 0.9, kStrongText, 0.55);
    }
    p.setPen(rule);
    p.drawLine(totals.bottomLeft(), totals.bottomRight());

    // Seal boxes.
    p.drawRect(map(s.sealBox));
    for (const QLineF& l : s.sealRules) line(l);

    // Detail headings, rows and column rules.
    const QRectF heading = map(s.heading);
    const QRectF table = map(QRectF(s.heading.left(), s.heading.top(), s.heading.width(),
                                    s.heading.height() + s.rows * s.rowHeight));
    p.fillRect(heading, QColor(235, 235, 235));
    p.drawRect(table);
    p.drawLine(heading.bottomLeft(), heading.bottomRight());
    for (double x : s.columns) {
        const double px = map(QPointF(x, 0)).x();
        p.drawLine(QPointF(px, table.top()), QPointF(px, table.bottom()));
    }
    p.setPen(QPen(kRule, 0.5));
    for (int r = 1; r < s.rows; ++r) {
        const double y = heading.bottom() + r * (table.bottom() - heading.bottom()) / s.rows;
        p.drawLine(QPointF(table.left(), y), QPointF(table.right(), y));
    }
    for (int r = 0; r < 3; ++r) {
        const double rowH = (table.bottom() - heading.bottom()) / s.rows;
        const QRectF name(table.left() + 3, heading.bottom() + r * rowH, map(QPointF(s.columns.first(), 0)).x() - table.left() - 6, rowH);
        textBar(p, name, 0.6 - r * 0.1, kText, 0.35);
    }

    // Footer: memo and page number.
    // Two lines of memo, each of the height of a line of text.
    const double memoLine = 300;
    for (int i = 0; i < 2; ++i) {
        const QRectF row(s.memo.left(), s.footerTop + s.memo.top() + i * memoLine, s.memo.width(), memoLine);
        textBar(p, map(row), i == 0 ? 0.7 : 0.4, kText);
    }
    textBar(p, map(s.pageNumber.translated(0, s.footerTop)), 1.0, kText, 0.6);
}

// ---------------------------------------------------------------- the marks

namespace {
const QColor kMark(0xd0, 0, 0);
}  // namespace

SampleMark::SampleMark(const QString& caption, const QRect& outline, CaptionEdge edge, SamplePicture* picture)
    : QWidget(picture), caption_(caption), outline_(outline)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);
    // The caption sits on the edge, a little in from the left corner, so the
    // line runs through its middle as on a group box.
    const QFontMetrics fm(small);
    const QSize size(fm.horizontalAdvance(caption_) + 2, fm.height());
    const int edgeY = edge == CaptionEdge::Top ? outline_.top() : outline_.bottom();
    captionRect_ = QRect(QPoint(outline_.left() + 4, edgeY - size.height() / 2), size);
    setGeometry(outline_.united(captionRect_));
}

void SampleMark::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.translate(-geometry().topLeft());
    p.setPen(QPen(kMark, 1));
    p.drawRect(outline_.adjusted(0, 0, -1, -1));
    p.fillRect(captionRect_, Qt::white);
    p.drawText(captionRect_, Qt::AlignCenter, caption_);
}
