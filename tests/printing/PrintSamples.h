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
    QList<PrintDetailLine> lines;  // always the 100 rows of w明細
    SettingsRecord settings;
    PrintSettingsEntry print;  // the shipped "MA4" values
};

namespace PrintSamples {
// A quotation of `used` lines (0 to 100): every tenth line is a subtotal line;
// line 3 has a name too long for one printed line.
PrintSample quotation(int used);
// A line with a product name, quantity, unit, price and amount.
PrintDetailLine productLine(int number, const QString& name, const QString& quantity, const QString& unit,
                            const QString& price);
}  // namespace PrintSamples

// The control that drew an operation of a built page, and its colour.
namespace OpProbe {
QString name(const ReportOp& op);
QColor colour(const ReportOp& op);
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
// One page as an image (pdftoppm -r dpi); a null image on failure.
QImage page(const QString& pdf, int page, int dpi, QString* error = nullptr);
}  // namespace PdfProbe
