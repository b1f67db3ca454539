#pragma once
// The report run: a layout (ReportLayout) and its event handlers build all
// pages at once into a display list (ReportDocument).
//
// A layout derives from Report, hands its design to the constructor and
// overrides the events it needs. run() then, on a fresh copy of the design:
//   reportStart()                       once, before the first page
//   per page:  pageHeaderFormat()       at the start of the page
//              per detail row:
//                  detailFormat()       before the row is laid out
//                  detailBeforePrint()  after it is laid out, before it prints
//              pageFooterFormat()       at the end of the page
//
// Detail rows: row i binds the fields of the detail section to record i
// (dataValue := the column's value, text := that value in the field's format).
// After the last record the rows go on with eof() true and the bound fields
// empty, so a layout can fill its last page with empty ruled rows.
//
// Paging: a row opens the next page when the detail format asks for it
// (newPage()) or when the page has no room left between header and footer.
// The run ends when stop() is called, or when a row after the last record
// would open a new page. The page footer sits at the foot of the page, inside
// the bottom margin; the top margin places the header, so a larger one leaves
// room for fewer rows.
//
// Nothing of a page leaves the paper, whatever margins the report start sets:
// the left margin is held so that the widest control stays on the paper, the
// top margin so that the header starts on the paper and the header, one row
// and the footer fit on it.

#include "platform/Currency.h"
#include "printing/ReportDocument.h"
#include "printing/ReportLayout.h"

#include <QList>

class Report {
public:
    explicit Report(ReportLayout design);
    virtual ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // Builds all pages from the records (in their order).
    ReportDocument run(const QList<ReportRecord>& records);
    // Where run() starts the pages on the paper: the report start's margins,
    // held on the paper. Nothing is laid out for it.
    QPointF origin();

protected:
    virtual void reportStart() {}
    virtual void pageHeaderFormat() {}
    virtual void detailFormat() {}
    virtual void detailBeforePrint() {}
    virtual void pageFooterFormat() {}

    // The run's working copy of the layout, for the events.
    ReportLayout& layout() { return work_; }
    // A control of the working copy. A name the layout lacks gives a scratch
    // control (and a warning), so a handler's step on it changes nothing.
    ReportControl& control(const QString& name);

    // Ends the run at once: the row being formatted and anything after it are
    // not printed; the current page is finished with its footer.
    void stop() { stopped_ = true; }
    // The row being formatted opens the next page.
    void newPage() { newPageRequested_ = true; }
    // No record is left for the row being formatted.
    bool eof() const { return eof_; }
    // The number of the page being built, from 1.
    int pageNumber() const { return pageNumber_; }
    // The detail rows that fit on a page between header and footer (at least
    // one); known from the end of the report start.
    int rowsPerPage() const { return rowsPerPage_; }

private:
    // A fresh working copy through the report start, held on the paper: the
    // document without pages.
    ReportDocument begin(bool noRecords);
    void startPage();
    void finishPage(ReportDocument& doc);
    void bind(const ReportRecord* record);
    void print(const ReportSection& section, double top);
    void holdOnPaper(const QSizeF& paper);

    ReportLayout design_;
    ReportLayout work_;
    ReportControl scratch_;
    ReportPage page_;
    double paperHeight_ = 0;
    int pageNumber_ = 0;
    int rowsPerPage_ = 1;
    bool stopped_ = false;
    bool newPageRequested_ = false;
    bool eof_ = false;
};

namespace ReportFormat {
// A number in a format of the layouts: "#" an optional digit, "0" a digit that
// always prints, "," grouping, "." the decimals ("#,##0.00", "#,###",
// "###,###,###,###"). Rounded half away from zero. With no "0" before the
// decimal point a whole part of 0 prints nothing, so "#,###" prints nothing
// for 0 and "1,235" for 1234.5.
QString number(const Currency& value, const QString& format);
// A field's text for a value: "" for Null; numbers (Currency, or text that
// reads as a number) in the format when one is given; other values as text.
QString apply(const QVariant& value, const QString& format);
// A value as a number; nothing for Null or a text that is no number.
std::optional<Currency> toCurrency(const QVariant& value);
}  // namespace ReportFormat
