#include "printing/ReportLayout.h"

namespace {

template <typename L, typename C>
C* findIn(L& layout, const QString& name)
{
    for (auto* section : {&layout.pageHeader, &layout.detail, &layout.pageFooter})
        for (auto& c : section->controls)
            if (c.name == name) return &c;
    return nullptr;
}

}  // namespace

ReportControl* ReportLayout::find(const QString& name)
{
    return findIn<ReportLayout, ReportControl>(*this, name);
}

const ReportControl* ReportLayout::find(const QString& name) const
{
    return findIn<const ReportLayout, const ReportControl>(*this, name);
}

namespace ReportColour {

QColor fromWindows(qint64 value)
{
    if (value < 0 || value > 0xFFFFFF) return QColor(Qt::black);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

}  // namespace ReportColour

namespace ReportDesign {

namespace {
ReportControl textControl(ReportControlKind kind, const QString& name, double left, double top, double width,
                          double height, const ReportFont& font, Qt::Alignment align)
{
    ReportControl c;
    c.name = name;
    c.kind = kind;
    c.rect = QRectF(left, top, width, height);
    c.font = font;
    c.alignment = align;
    return c;
}
}  // namespace

ReportControl label(const QString& name, double left, double top, double width, double height,
                    const QString& caption, const ReportFont& font, Qt::Alignment align)
{
    ReportControl c = textControl(ReportControlKind::Label, name, left, top, width, height, font, align);
    c.text = caption;
    // A caption is printed whole on its line: a cut caption would read as another word.
    c.wrap = false;
    return c;
}

ReportControl field(const QString& name, double left, double top, double width, double height,
                    const ReportFont& font, Qt::Alignment align, const QString& format, const QString& dataField)
{
    ReportControl c = textControl(ReportControlKind::Field, name, left, top, width, height, font, align);
    c.format = format;
    c.dataField = dataField;
    // A number never breaks: a cut-off digit would print a different amount.
    c.wrap = format.isEmpty();
    return c;
}

ReportControl line(const QString& name, double x1, double y1, double x2, double y2, double weight)
{
    ReportControl c;
    c.name = name;
    c.kind = ReportControlKind::Line;
    c.line = QLineF(x1, y1, x2, y2);
    c.lineWeight = weight;
    return c;
}

ReportControl frame(const QString& name, double left, double top, double width, double height, bool rounded)
{
    ReportControl c;
    c.name = name;
    c.kind = rounded ? ReportControlKind::RoundedFrame : ReportControlKind::Frame;
    c.rect = QRectF(left, top, width, height);
    return c;
}

}  // namespace ReportDesign
