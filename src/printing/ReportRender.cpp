#include "printing/ReportRender.h"

#include <QLoggingCategory>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <functional>

Q_LOGGING_CATEGORY(lcReportRender, "velt.report.render")

namespace ReportRender {

namespace {

QPen penOf(const QColor& colour, double width)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    return pen;
}

struct Painter {
    QPainter& p;
    // A recording device (the print preview) keeps text as text only when it
    // is given as text; every other device takes the glyphs as they were laid
    // out, without laying the text out again.
    bool glyphs = p.paintEngine() && p.paintEngine()->type() != QPaintEngine::Picture;

    void operator()(const ReportTextOp& op) const
    {
        // Bold text is text as regular text is, in the bold face the font
        // names (Fonts::boldFamily): a PDF keeps it searchable and copyable.
        if (!glyphs) p.setFont(ReportText::font(op.font));
        // Text takes its colour from the pen; the pen of a rule of that colour
        // serves, so that a device keeps one pen for rules and text alike.
        p.setPen(penOf(op.colour, ReportUnits::kTwipsPerLineWeight));
        for (const ReportTextLine& line : op.lines) {
            // Each line from its baseline, condensed where the layout says so.
            QPointF at = op.rect.topLeft() + line.baseline;
            const bool condensed = line.scaleX != 1;
            if (condensed) {
                p.save();
                p.translate(at);
                p.scale(line.scaleX, 1);
                at = QPointF(0, 0);
            }
            if (glyphs)
                for (const QGlyphRun& run : line.glyphs) p.drawGlyphRun(at, run);
            else
                p.drawText(at, line.text);
            if (condensed) p.restore();
        }
    }
    void operator()(const ReportLineOp& op) const
    {
        p.setPen(penOf(op.colour, op.width));
        p.drawLine(op.line);
    }
    void operator()(const ReportFrameOp& op) const
    {
        p.setPen(penOf(op.colour, op.width));
        p.setBrush(Qt::NoBrush);
        if (op.radius > 0) p.drawRoundedRect(op.rect, op.radius, op.radius);
        else p.drawRect(op.rect);
    }
};

// Paints the pages on a device whose painter is already active; `scale` turns
// twips into device units.
void paintPages(QPainter& painter, const ReportDocument& doc, double scaleX, double scaleY, int from, int to,
                const std::function<bool()>& newPage)
{
    for (int i = from; i <= to; ++i) {
        if (i > from && !newPage()) break;
        painter.save();
        painter.scale(scaleX, scaleY);
        paintPage(painter, doc, i);
        painter.restore();
    }
}

}  // namespace

void paintPage(QPainter& painter, const ReportDocument& doc, int index)
{
    if (index < 0 || index >= doc.pages.size()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Negative margins cannot be given to a printer: the drawing is moved instead.
    painter.translate(doc.origin);
    const Painter draw{painter};
    for (const ReportOp& op : doc.pages[index].ops) std::visit(draw, op);
    painter.restore();
}

bool writePdf(const ReportDocument& doc, const QString& path, QString* error)
{
    QPdfWriter writer(path);
    writer.setResolution(int(ReportUnits::kTwipsPerInch));
    writer.setCreator(QStringLiteral("PrjVelt"));
    writer.setPageLayout(QPageLayout(doc.pageSize(), doc.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error) *error = QStringLiteral("%1 を書き込めません。").arg(path);
        qCWarning(lcReportRender) << "cannot write" << path;
        return false;
    }
    if (!doc.pages.isEmpty())
        paintPages(painter, doc, 1, 1, 0, int(doc.pages.size()) - 1, [&] { return writer.newPage(); });
    return painter.end();
}

void setUpPrinter(QPrinter& printer, const ReportDocument& doc)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(doc.pageSize(), doc.orientation, QMarginsF(0, 0, 0, 0)));
}

bool print(const ReportDocument& doc, QPrinter& printer)
{
    setUpPrinter(printer, doc);
    if (doc.pages.isEmpty()) return true;
    int from = 0;
    int to = int(doc.pages.size()) - 1;
    if (printer.fromPage() > 0) from = std::min(printer.fromPage() - 1, to);
    if (printer.toPage() > 0) to = std::min(printer.toPage() - 1, to);
    QPainter painter;
    if (!painter.begin(&printer)) {
        qCWarning(lcReportRender) << "cannot paint on the printer" << printer.printerName();
        return false;
    }
    const double sx = printer.logicalDpiX() / ReportUnits::kTwipsPerInch;
    const double sy = printer.logicalDpiY() / ReportUnits::kTwipsPerInch;
    paintPages(painter, doc, sx, sy, from, to, [&] { return printer.newPage(); });
    return painter.end();
}

QPrintPreviewDialog* showPreview(std::shared_ptr<const ReportDocument> doc, QWidget* parent, const QString& title)
{
    auto* dialog = new QPrintPreviewDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    if (!title.isEmpty()) dialog->setWindowTitle(title);
    setUpPrinter(*dialog->printer(), *doc);
    // The dialog keeps its own share of the pages.
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [doc](QPrinter* printer) { print(*doc, *printer); });
    dialog->show();
    return dialog;
}

QImage pageImage(const ReportDocument& doc, int index, double dpi)
{
    const QSizeF size = doc.paperTwips() * (dpi / ReportUnits::kTwipsPerInch);
    QImage image(qMax(1, qRound(size.width())), qMax(1, qRound(size.height())), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(dpi / ReportUnits::kTwipsPerInch, dpi / ReportUnits::kTwipsPerInch);
    paintPage(painter, doc, index);
    return image;
}

}  // namespace ReportRender
