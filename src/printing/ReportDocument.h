#pragma once
// The built pages of one report run: a display list of drawing operations per
// page, in twips, relative to the drawing origin (the paper's top-left corner
// moved by the left and top margins). Renderers only replay
// it, so a preview, a print and a PDF of one run show the very same pages.

#include "printing/ReportLayout.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QSizeF>
#include <variant>

// One printed line of a text: where its baseline starts (relative to the text
// box's top-left), its advance width as printed, its horizontal scale (1, or
// below 1 where a line that may not wrap is condensed into its box), and its
// glyphs as they were laid out, placed from the baseline's start (before the
// scale), so that a renderer draws them without laying the text out again.
struct ReportTextLine {
    QString text;
    QPointF baseline;
    double width = 0;
    double scaleX = 1;
    QList<QGlyphRun> glyphs;
};

struct ReportTextOp {
    QString name;   // the control that printed it
    QRectF rect;    // the control's box
    QString text;   // the whole text
    ReportFont font;
    QColor colour;
    Qt::Alignment alignment;
    QList<ReportTextLine> lines;  // what is printed, after wrapping and clipping
};

struct ReportLineOp {
    QString name;
    QLineF line;
    QColor colour;
    double width = 15;  // pen width
};

struct ReportFrameOp {
    QString name;
    QRectF rect;
    QColor colour;
    double width = 15;
    double radius = 0;  // corner radius; 0 for square corners
};

using ReportOp = std::variant<ReportTextOp, ReportLineOp, ReportFrameOp>;

struct ReportPage {
    QList<ReportOp> ops;

    // Look-ups by control name, in drawing order (detail controls print once a row).
    QList<const ReportTextOp*> texts(const QString& name) const;
    const ReportTextOp* text(const QString& name, int nth = 0) const;
    QList<const ReportLineOp*> lines(const QString& name) const;
    const ReportFrameOp* frame(const QString& name) const;
    // The texts printed in reading order of drawing (for quick checks).
    QStringList allTexts() const;
};

struct ReportDocument {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPointF origin;  // where the drawing's (0, 0) lies on the paper, twips
    QList<ReportPage> pages;

    QPageSize pageSize() const { return QPageSize(paper); }
    // The paper's size in twips, oriented.
    QSizeF paperTwips() const;
};

// Text as the pages print it: the font of a layout font (sizes in twips, so a
// painter that works in twips draws it at its size on any device) and the
// lines a text box prints.
namespace ReportText {
QFont font(const ReportFont& font);
QList<ReportTextLine> layout(const QString& text, const ReportFont& font, const QSizeF& box,
                             Qt::Alignment alignment, bool wrap);
}  // namespace ReportText

namespace ReportUnits {
constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerLineWeight = 15;  // one unit of a control's line weight
}  // namespace ReportUnits
