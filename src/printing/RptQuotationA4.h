#pragma once
// The quotation on blank A4 paper, portrait: every page carries the header
// (title, date and number, customer, own company, terms, total, tax block,
// seal boxes, column headings), 15 ruled detail rows (fewer where a large top
// margin leaves room for fewer) and the footer (memo, page subtotal,
// "Page n / T") at the foot of the page.
//
// The report reads only what it is given: a copy of the print data, the "MA4"
// print-settings entry (title, margin offsets LM/TM, four fonts, rule
// colour) and the settings record (自社名, 自社情報, 小数, 税計算). A new
// instance per run is the normal use; a second run of one instance starts
// clean as well.

#include "printing/QuotationReport.h"

class Rpt見積書A401 : public QuotationReport {
public:
    static constexpr int kLinesPerPage = 15;
    // The top of the column-heading band (Shape4) as printed: it frames the
    // headings at the foot of the page header.
    static constexpr double kHeadingTop = 4465;

    Rpt見積書A401(PrnData見積書 data, PrintSettingsEntry printSettings, SettingsRecord settings);

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
};
