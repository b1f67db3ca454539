#pragma once
// A realistic quotation for the report tests and the benchmark: a shop's
// customer, groups of product lines each closed by a subtotal line, one long
// product name, totals and 5 % tax that add up.

#include "app/SettingsRecord.h"
#include "app/PrintSettings.h"
#include "printing/PrnData.h"
#include "printing/ReportDocument.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>

struct PrintSample {
    PrnData見積書 data;
    QList<QuotationLine> lines;  // always the 100 rows of w明細
    SettingsRecord settings;
    PrintSettingsEntry print;  // the shipped "MA4" values
};

namespace PrintSamples {
// A quotation of `used` lines (0 to 100): every tenth line is a subtotal line;
// line 3 has a name too long for one printed line.
PrintSample quotation(int used);
// A line with a product name, quantity, unit, price and amount.
QuotationLine productLine(const QString& name, const QString& quantity, const QString& unit,
                            const QString& price);
}  // namespace PrintSamples

// The control that drew an operation of a built page, and its colour.
namespace OpProbe {
QString name(const ReportOp& op);
QColor colour(const ReportOp& op);
// What an operation covers on the paper (twips from the paper's corner): a
// text's box, a line or frame with the reach of its pen.
QRectF onPaper(const ReportOp& op, const QPointF& origin);
// The operations of the built pages that reach beyond the paper, as
// "page p: name"; empty when every page stays on it.
QStringList offPaper(const ReportDocument& doc);
// The texts a control printed on all pages, in order.
QStringList texts(const ReportDocument& doc, const QString& name);
// What is wrong with the pages of the sample quotation of 100 lines printed
// with other margins (`doc`) against it printed as designed (`plain`): a box
// off the paper, a page count other than ⌈100 / rows⌉, a page without `rows`
// ruled rows (`rule`), a page number (`pageField`) or page count ("tcp")
// other than its own, the page count elsewhere than `countTop` twips from the
// paper's top, or a row's name or amount missing or out of order. Empty when
// all is right.
QStringList pagingFaults(const ReportDocument& doc, const ReportDocument& plain, int rows, const QString& rule,
                         const QString& pageField, double countTop);
}  // namespace OpProbe

// Reading a written PDF back with poppler-utils (pdfinfo, pdftotext, pdftoppm).
namespace PdfProbe {
struct Info {
    int pages = 0;
    QSizeF pageSize;  // points, of the first page
};
struct Word {
    int page = 0;  // from 1
    QString text;
    QRectF box;  // points, top-left origin
};
// Nothing read (pages 0) when the tool fails; `error` says why.
Info info(const QString& pdf, QString* error = nullptr);
QList<Word> words(const QString& pdf, QString* error = nullptr);
// The names of the fonts the PDF embeds (pdffonts).
QStringList embeddedFonts(const QString& pdf, QString* error = nullptr);
// Built pages written to a PDF in a temporary folder and read back: its
// information and words, or the reason in `error`.
struct Printed {
    Info info;
    QList<Word> words;
    QString error;
};
Printed print(const ReportDocument& doc);
// One page as an image (pdftoppm -r dpi); a null image on failure.
QImage page(const QString& pdf, int page, int dpi, QString* error = nullptr);
}  // namespace PdfProbe
