#include "printing/Report.h"

#include "platform/NumberFormat.h"

#include <QLoggingCategory>
#include <algorithm>
#include <cmath>
#include <limits>

Q_LOGGING_CATEGORY(lcReport, "velt.report")

Report::Report(ReportLayout design) : design_(std::move(design)) {}

Report::~Report() = default;

ReportControl& Report::control(const QString& name)
{
    if (ReportControl* c = work_.find(name)) return *c;
    qCWarning(lcReport) << "the layout has no control" << name;
    scratch_ = ReportControl{};
    return scratch_;
}

ReportDocument Report::begin(bool noRecords)
{
    work_ = design_;
    pageNumber_ = 0;
    stopped_ = false;
    newPageRequested_ = false;
    eof_ = noRecords;

    reportStart();

    ReportDocument doc;
    doc.paper = work_.page.paper;
    doc.orientation = work_.page.orientation;
    const QSizeF paper = doc.paperTwips();
    paperHeight_ = paper.height();
    holdOnPaper(paper);
    doc.origin = QPointF(work_.page.margins.left(), work_.page.margins.top());
    return doc;
}

QPointF Report::origin()
{
    return begin(true).origin;
}

ReportDocument Report::run(const QList<ReportRecord>& records)
{
    ReportDocument doc = begin(records.isEmpty());
    startPage();
    int onPage = 0;
    for (qsizetype i = 0; !stopped_; ++i) {
        eof_ = i >= records.size();
        bind(eof_ ? nullptr : &records[i]);
        newPageRequested_ = false;
        detailFormat();
        if (stopped_) break;
        if (onPage > 0 && (newPageRequested_ || onPage >= rowsPerPage_)) {
            // The records are used up: no page of empty rows alone.
            if (eof_) break;
            finishPage(doc);
            startPage();
            onPage = 0;
        }
        detailBeforePrint();
        if (stopped_) break;
        print(work_.detail, work_.pageHeader.height + onPage * work_.detail.height);
        ++onPage;
    }
    finishPage(doc);
    return doc;
}

void Report::startPage()
{
    ++pageNumber_;
    page_ = ReportPage{};
    pageHeaderFormat();
    print(work_.pageHeader, 0);
}

void Report::finishPage(ReportDocument& doc)
{
    pageFooterFormat();
    const ReportPageSetup& s = work_.page;
    print(work_.pageFooter, paperHeight_ - s.margins.top() - s.margins.bottom() - work_.pageFooter.height);
    doc.pages.append(std::move(page_));
    page_ = ReportPage{};
}

namespace {

// The extent of a section's drawing: the boxes of its texts and frames and
// its lines, strokes included (square caps reach half the pen beyond an end).
struct Extent {
    double left = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();

    bool empty() const { return left > right; }
    void add(const ReportSection& section)
    {
        for (const ReportControl& c : section.controls) {
            const double pen = c.lineWeight * ReportUnits::kTwipsPerLineWeight / 2;
            QRectF r;
            switch (c.kind) {
            case ReportControlKind::Line:
                r = QRectF(c.line.p1(), c.line.p2()).normalized().adjusted(-pen, -pen, pen, pen);
                break;
            case ReportControlKind::Frame:
            case ReportControlKind::RoundedFrame:
                r = c.rect.normalized().adjusted(-pen, -pen, pen, pen);
                break;
            case ReportControlKind::Label:
            case ReportControlKind::Field:
                r = c.rect.normalized();
                break;
            }
            left = std::min(left, r.left());
            right = std::max(right, r.right());
            top = std::min(top, r.top());
        }
    }
};

double numberOrZero(double v) { return std::isnan(v) ? 0.0 : v; }

}  // namespace

void Report::holdOnPaper(const QSizeF& paper)
{
    QMarginsF& m = work_.page.margins;
    m = QMarginsF(numberOrZero(m.left()), numberOrZero(m.top()), numberOrZero(m.right()), numberOrZero(m.bottom()));

    // Left: the widest control ends on the paper; where the drawing is wider
    // than the paper, its left edge stays on it.
    Extent all;
    for (const ReportSection* section : {&work_.pageHeader, &work_.detail, &work_.pageFooter}) all.add(*section);
    double left = m.left();
    if (all.empty()) {
        left = std::clamp(left, 0.0, paper.width());
    } else {
        left = std::min(left, paper.width() - all.right);
        left = std::max(left, -all.left);
    }

    // Top: the header, one row and the footer fit above the bottom margin, and
    // the header's first control starts on the paper.
    Extent header;
    header.add(work_.pageHeader);
    const double footerTop = paper.height() - m.bottom() - work_.pageFooter.height;  // from the paper's top
    double top = std::min(m.top(), footerTop - work_.pageHeader.height - work_.detail.height);
    top = std::max(top, header.empty() ? 0.0 : -header.top);

    m.setLeft(left);
    m.setTop(top);
    const double room = footerTop - top - work_.pageHeader.height;
    const double rows = std::floor(room / std::max(1.0, work_.detail.height));
    rowsPerPage_ = rows >= 1 ? static_cast<int>(std::min(rows, 1.0e6)) : 1;
}

void Report::bind(const ReportRecord* record)
{
    for (ReportControl& c : work_.detail.controls) {
        if (c.dataField.isEmpty()) continue;
        c.dataValue = record ? record->value(c.dataField) : QVariant();
        c.text = ReportFormat::apply(c.dataValue, c.format);
    }
}

void Report::print(const ReportSection& section, double top)
{
    for (const ReportControl& c : section.controls) {
        if (!c.visible) continue;
        switch (c.kind) {
        case ReportControlKind::Label:
        case ReportControlKind::Field: {
            const QString text = c.pageNumber ? QString::number(pageNumber_) : c.text;
            if (text.isEmpty()) break;
            const QRectF box = c.rect.translated(0, top);
            page_.ops.append(ReportTextOp{c.name, box, text, c.font, c.colour, c.alignment,
                                          ReportText::layout(text, c.font, box.size(), c.alignment, c.wrap)});
            break;
        }
        case ReportControlKind::Line:
            page_.ops.append(ReportLineOp{c.name, c.line.translated(0, top), c.colour,
                                          c.lineWeight * ReportUnits::kTwipsPerLineWeight});
            break;
        case ReportControlKind::Frame:
        case ReportControlKind::RoundedFrame: {
            const QRectF box = c.rect.translated(0, top);
            const double radius =
                c.kind == ReportControlKind::RoundedFrame ? std::min({100.0, box.width() / 4, box.height() / 4}) : 0;
            page_.ops.append(ReportFrameOp{c.name, box, c.colour, c.lineWeight * ReportUnits::kTwipsPerLineWeight,
                                           radius});
            break;
        }
        }
    }
}

namespace ReportFormat {

QString number(const Currency& value, const QString& format)
{
    const int dot = format.indexOf(QLatin1Char('.'));
    const int decimals = NumberFormat::decimalsOf(format);
    const QString s = value.toString(decimals, format.contains(QLatin1Char(',')));
    const QString wholePattern = dot >= 0 ? format.left(dot) : format;
    if (wholePattern.contains(QLatin1Char('0'))) return s;
    // No digit is required before the point: a whole part of 0 prints none.
    const bool negative = s.startsWith(QLatin1Char('-'));
    const QString body = negative ? s.mid(1) : s;
    if (body != QLatin1String("0") && !body.startsWith(QLatin1String("0."))) return s;
    if (decimals == 0) return {};
    return (negative ? QStringLiteral("-") : QString()) + body.mid(1);
}

std::optional<Currency> toCurrency(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) return std::nullopt;
    if (value.metaType() == QMetaType::fromType<Currency>()) return value.value<Currency>();
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return Currency::fromWhole(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return Currency::fromDouble(value.toDouble());
    case QMetaType::Bool:
        return Currency::fromWhole(value.toBool() ? -1 : 0);
    default:
        return Currency::parse(value.toString());
    }
}

QString apply(const QVariant& value, const QString& format)
{
    if (!value.isValid() || value.isNull()) return {};
    if (value.metaType().id() == QMetaType::Bool) return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    const bool isText = value.metaType().id() == QMetaType::QString;
    if (!format.isEmpty() || !isText) {
        if (const auto c = toCurrency(value)) return format.isEmpty() ? c->toPlainString() : number(*c, format);
    }
    return value.toString();
}

}  // namespace ReportFormat
