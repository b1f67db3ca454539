#pragma once
// The print road from the quotation tab to paper. A print request of the
// print panel goes to the A4 or the B5 hand-over, which
//   1. reads w明細 once and keeps its used lines,
//   2. fills the print data PrnData見積書 afresh from the quotation as shown
//      (read through the quotation port) and the count of those lines,
//   3. re-reads the layout's print settings ("MA4" or "MB5") into the
//      session's entries, so a change saved in a print-settings window
//      applies to the next run,
//   4. builds the pages of those lines with a new report of the layout,
//   5. previews them (a window that does not block and keeps its own pages)
//      or prints them after the printer is chosen.

#include "app/QuotationPort.h"
#include "printing/PrnData.h"
#include "printing/ReportOutput.h"

#include <functional>
#include <memory>

class Database;
class QuotationReport;
class Session;
struct PrintSettingsEntry;
struct SettingsRecord;

// The used lines of w明細 (UsedLineCount), the count a store keeps too, so a
// line after a blank one is printed and a reload prints as the screen did.
// 0 when the table cannot be read.
int GetLineNum見積明細(Database& workDb);

// The print data of the quotation as shown; 明細行数 is left 0. The date is
// the date box's display text when `withDate` and the box holds a date, ""
// otherwise; a total whose box shows no text is Null.
PrnData見積書 PrintDataFrom(const ShownQuotation& shown, bool withDate);

class PrintHandOver {
public:
    PrintHandOver(Session& session, const QuotationPort& quotation, QWidget* owner = nullptr);
    ~PrintHandOver();
    PrintHandOver(const PrintHandOver&) = delete;
    PrintHandOver& operator=(const PrintHandOver&) = delete;

    // The paper "B5白紙" goes to the B5 layout; "A4白紙", "Q-310" and any
    // other text to the A4 layout.
    void dispatch(const PrintRequest& request);

    // sw: print (false: preview); sw2: print the date.
    void SetPrnData見積書A4(bool sw, bool sw2);
    void SetPrnData見積書B5(bool sw, bool sw2);

    // The print data of the latest run (empty before the first).
    const PrnData見積書& PrnData() const { return prnData_; }

    // Where the pages go; nullptr: Qt's preview and print dialog.
    void setOutput(ReportOutput* output);
    // Closes the preview windows this road opened that are still open.
    void closePreviews();

private:
    using ReportFactory =
        std::function<std::unique_ptr<QuotationReport>(PrnData見積書, PrintSettingsEntry, SettingsRecord)>;
    void run(const QString& layoutCode, bool sw, bool sw2, const ReportFactory& makeReport);
    ReportOutput& output();

    Session& session_;
    const QuotationPort& quotation_;
    QtReportOutput qtOutput_;
    ReportOutput* output_ = nullptr;
    PrnData見積書 prnData_;
};
