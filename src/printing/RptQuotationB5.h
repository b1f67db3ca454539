#pragma once
// The quotation on blank B5 paper (JIS B5, 182 × 257 mm), portrait: the same
// design as the A4 layout in a smaller frame. Every page carries the header
// (title, date and number, customer, own company, terms, total, tax block,
// seal boxes, column headings), 10 ruled detail rows (fewer where a large top
// margin leaves room for fewer) and the footer (memo, page subtotal,
// "Page : n / T") at the foot of the page.
//
// What differs from A4: product names longer than 50 Shift-JIS bytes print
// cut to 50 (whole characters) at 9 points, units print their first four
// characters, a subtotal row keeps its pack quantity, and of the "MB5"
// print-settings entry only the title, the margin offsets LM/TM and the
// rule colour are used: the layout always prints its designed fonts.

#include "printing/QuotationReport.h"

class rpt見積書B5 : public QuotationReport {
public:
    static constexpr int kLinesPerPage = 10;
    static constexpr int kNameBytes = 50;  // 品名 printed whole up to this many Shift-JIS bytes
    static constexpr int kUnitCharacters = 4;
    // The top of the column-heading band (Shape2) as printed on every page.
    static constexpr double kHeadingTop = 4890;

    rpt見積書B5(PrnData見積書 data, PrintSettingsEntry printSettings, SettingsRecord settings);

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
