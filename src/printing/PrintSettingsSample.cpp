#include "printing/PrintSettingsSample.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

// ---------------------------------------------------------------- the two sheets

const SampleSheet& SampleSheet::a4()
{
    static const SampleSheet s{
        .paperName = QStringLiteral("A4"),
        .paper = {11906, 16838},
        .margin = {800, 800},
        .title = {8010, 0, 1875, 360},
        .titleRule = {90, 380, 10580, 380},
        .customerBlock = {283, 445, 5882, 760},
        .customerName = {283, 1240, 4819, 425},
        .honorific = {5130, 1240, 720, 360},
        .nameRule = {270, 1600, 5850, 1600},
        .greeting = {1630, 1720, 3614, 240},
        .dateBox = {6945, 540, 3614, 709},
        .dateBoxDivider = 7850,
        .companyName = {6240, 1395, 4260, 495},
        .companyBlock = {6236, 1984, 4323, 1347},
        .termRows = {2055, 2340, 2625, 2880, 3165},
        .termRowHeight = 285,
        .termsRight = 6105,
        .totals = {354, 3402, 4928, 500},
        .sealBox = {7299, 3402, 3260, 921},
        .sealColumns = {8150, 8929, 9709},
        .sealHeadBottom = 3685,
        .heading = {71, 4465, 10510, 485},
        .columns = {4181, 5740, 6980, 7600, 9030},
        .rowHeight = 620,
        .rows = 15,
        .footerHeight = 885,
    };
    return s;
}

const SampleSheet& SampleSheet::b5()
{
    static const SampleSheet s{
        .paperName = QStringLiteral("B5"),
        .paper = {10318, 14570},
        .margin = {700, 900},
        .title = {6449, 0, 2055, 354},
        .titleRule = {0, 380, 9135, 380},
        .customerBlock = {71, 496, 4464, 850},
        .customerName = {75, 1410, 4455, 420},
        .honorific = {4560, 1460, 700, 360},
        .nameRule = {75, 1780, 5205, 1780},
        .greeting = {1346, 1913, 3615, 213},
        .dateBox = {5882, 550, 3189, 708},
        .dateBoxDivider = 6661,
        .companyName = {5386, 1417, 3756, 567},
        .companyBlock = {5310, 2055, 3825, 1305},
        .termRows = {2265, 2550, 2835, 3100, 3400},
        .termRowHeight = 285,
        .termsRight = 5250,
        .totals = {71, 3700, 4252, 900},
        .sealBox = {5740, 3756, 3260, 900},
        .sealColumns = {6591, 7370, 8150},
        .sealHeadBottom = 4020,
        .heading = {10, 4890, 9071, 354},
        .columns = {3860, 5050, 5900, 6630, 7740},
        .rowHeight = 605,
        .rows = 10,
        .footerHeight = 1600,
    };
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
    return pageRect().topLeft() + QPointF((sheet_.margin.x() + t.x()) * s, (sheet_.margin.y() + t.y()) * s);
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
    p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    const double divider = map(QPointF(s.dateBoxDivider, 0)).x();
    p.drawLine(QPointF(divider, box.top()), QPointF(divider, box.bottom()));
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
    for (double top : s.termRows) {
        const QRectF row = map(QRectF(s.customerBlock.left(), top, s.termsRight - s.customerBlock.left(), s.termRowHeight));
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
    const QRectF seal = map(s.sealBox);
    p.drawRect(seal);
    for (double x : s.sealColumns) {
        const double px = map(QPointF(x, 0)).x();
        p.drawLine(QPointF(px, seal.top()), QPointF(px, seal.bottom()));
    }
    const double sealHead = map(QPointF(0, s.sealHeadBottom)).y();
    p.drawLine(QPointF(seal.left(), sealHead), QPointF(seal.right(), sealHead));

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
    const double footerTop = s.heading.bottom() + s.rows * s.rowHeight;
    const QRectF memo = map(QRectF(s.heading.left(), footerTop + 70, s.heading.width() * 0.6, s.footerHeight * 0.6));
    textBar(p, memo, 0.7, kText, 0.3);
    const QRectF pageNo = map(QRectF(s.heading.right() - 1200, footerTop + 70, 1200, 300));
    textBar(p, pageNo, 1.0, kText, 0.6);
}
