#pragma once
// Renderers of built pages (ReportDocument). They replay the display list and
// never run a report again: a preview keeps the pages of its own run, however
// many runs follow it.

#include "printing/ReportDocument.h"

#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace ReportRender {

// Draws page `index` with a painter whose unit is one twip and whose (0, 0) is
// the paper's top-left corner.
void paintPage(QPainter& painter, const ReportDocument& doc, int index);

// Writes all pages to a PDF file at 1440 dpi (one unit is one twip), on the
// report's paper, no margins. False with a reason when the file cannot be
// written.
bool writePdf(const ReportDocument& doc, const QString& path, QString* error = nullptr);

// The report's paper and orientation on the printer, full page (the drawing's
// origin is the paper's corner; the report's margins are its own).
void setUpPrinter(QPrinter& printer, const ReportDocument& doc);

// Prints the pages on a printer the caller has chosen (a page range chosen in
// the print dialog is kept). False when the printer cannot be painted on.
bool print(const ReportDocument& doc, QPrinter& printer);

// Shows the pages in a print preview that does not block: the call returns at
// once, the window deletes itself when closed, and its print button prints the
// same pages.
QPrintPreviewDialog* showPreview(std::shared_ptr<const ReportDocument> doc, QWidget* parent = nullptr,
                                 const QString& title = {});

// One page as an image at the given resolution (dots per inch), on white.
QImage pageImage(const ReportDocument& doc, int index, double dpi);

}  // namespace ReportRender
