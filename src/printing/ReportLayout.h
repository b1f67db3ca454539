#pragma once
// A report described as data: the paper, three sections (page header, detail,
// page footer) and their controls (labels, fields, lines, frames), every place
// in twips (1/1440 inch) relative to its section.
//
// A layout is a plain value: a report copies its design at the start of every
// run, and the run's events change the copy (captions, texts, visibility,
// places, colours, fonts), so one design serves any number of runs.

#include <QColor>
#include <QHash>
#include <QLineF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <vector>

// A font as a layout names it: the face ("ＭＳ Ｐ明朝"; the Windows names are
// substituted to the IPA fonts), the size in points and the weight.
struct ReportFont {
    QString family;
    double size = 10;
    bool bold = false;

    bool operator==(const ReportFont&) const = default;
};

enum class ReportControlKind {
    Label,         // prints its caption (text)
    Field,         // prints its text: bound to a data column, set by the events, or the page number
    Line,          // from line.p1() to line.p2()
    Frame,         // rectangle with square corners
    RoundedFrame,  // rectangle with rounded corners
};

struct ReportControl {
    QString name;
    ReportControlKind kind = ReportControlKind::Label;
    QRectF rect;   // left, top, width, height (labels, fields, frames)
    QLineF line;   // end points (lines)

    QString text;         // caption of a label, text of a field
    QVariant dataValue;   // value of a field: the bound column's value or what the events put there
    QString dataField;    // the data column a field is bound to ("" = unbound)
    QString format;       // number format of a field's value ("#,##0", "#,##0.00", "#,###")
    bool pageNumber = false;  // the field shows the number of the page being built

    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor colour = Qt::black;  // text of labels and fields, lines, outlines of frames
    bool visible = true;
    // Text wider than the control breaks onto further lines (at word boundaries,
    // inside a word only when the word alone is too wide); lines that fall below
    // the control's height are not printed. A control that does not wrap (a
    // label's caption, a number) prints on one line, whole: when it is wider
    // than its box it is condensed to the box's width.
    bool wrap = true;
    double lineWeight = 1;  // lines and frames: 1 = 15 twips
};

struct ReportSection {
    QString name;
    double height = 0;
    std::vector<ReportControl> controls;
};

// Paper, orientation and margins (twips). The layout is laid out inside the
// margins: the left and top margins place the drawing (they may be given
// negative or beyond the paper; the run holds them to what keeps the page on
// the paper), the bottom margin places the page footer.
struct ReportPageSetup {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins;
};

struct ReportLayout {
    ReportPageSetup page;
    ReportSection pageHeader{QStringLiteral("PageHeader"), 0, {}};
    ReportSection detail{QStringLiteral("Detail"), 0, {}};
    ReportSection pageFooter{QStringLiteral("PageFooter"), 0, {}};

    // The control of that name in any section; nullptr when there is none.
    ReportControl* find(const QString& name);
    const ReportControl* find(const QString& name) const;
};

namespace ReportColour {
// A Windows colour value (R + G·256 + B·65536): 255 is red, 16711680 blue.
// A value outside 0..0xFFFFFF is no colour of that kind and gives black.
QColor fromWindows(qint64 value);
}  // namespace ReportColour

// Builders for layout descriptions: place, caption and font in the order a
// layout table gives them.
namespace ReportDesign {
ReportControl label(const QString& name, double left, double top, double width, double height,
                    const QString& caption, const ReportFont& font, Qt::Alignment align = Qt::AlignLeft);
ReportControl field(const QString& name, double left, double top, double width, double height,
                    const ReportFont& font, Qt::Alignment align = Qt::AlignLeft,
                    const QString& format = {}, const QString& dataField = {});
ReportControl line(const QString& name, double x1, double y1, double x2, double y2, double weight = 1);
ReportControl frame(const QString& name, double left, double top, double width, double height, bool rounded);
}  // namespace ReportDesign

// A data row of a report: column name → value (text as QString, numbers as
// Currency, yes/no as bool, Null as an invalid QVariant).
using ReportRecord = QHash<QString, QVariant>;
