#pragma once
// The quotation on blank A4 paper, portrait: every page carries the header
// (title, date and number, customer, own company, terms, total, tax block,
// seal boxes, column headings), 15 ruled detail rows and the footer (memo,
// page subtotal, "Page n / T").
//
// The report reads only what it is given: a copy of the print data, the "MA4"
// print-settings entry (title, print-position shift LM/TM, four fonts, rule
// colour) and the settings record (自社名, 自社情報, 小数, 税計算). A new
// instance per run is the normal use; a second run of one instance starts
// clean as well.

#include "app/SettingsRecord.h"
#include "app/PrintSettings.h"
#include "printing/PrnData.h"
#include "printing/Report.h"

class Rpt見積書A401 : public Report {
public:
    static constexpr int kLinesPerPage = 15;

    Rpt見積書A401(PrnData見積書 data, PrintSettingsEntry printSettings, SettingsRecord settings);

    // Builds the pages over the rows of w明細 (in 行番号 order): exactly
    // ⌈明細行数 / 15⌉ pages, at least one; page p shows rows 15·(p−1)+1 to
    // 15·p, the last page filled with empty ruled rows.
    ReportDocument build(const QList<PrintDetailLine>& lines);

    // The layout as designed, before any event changed it.
    static ReportLayout designedLayout();
    // The controls drawn in the rule colour (白紙罫線色).
    static const QStringList& ruleColouredControls();

protected:
    void reportStart() override;
    void pageHeaderFormat() override;
    void detailFormat() override;
    void detailBeforePrint() override;
    void pageFooterFormat() override;

private:
    void clearDetailFields();

    PrnData見積書 data_;
    PrintSettingsEntry print_;
    SettingsRecord settings_;

    int usedLines_ = 0;  // 明細行数, held to the rows there are
    int lineCounter_ = 0;
    int totalPages_ = 1;
    int pagesStarted_ = 0;
    Currency pageSubtotal_;
};
