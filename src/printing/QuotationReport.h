#pragma once
// What the two quotation layouts (A4 and B5) share: their sources (a copy of
// the print data, one print-settings entry, the settings record), the report
// state (line counter, page count, pages started, page subtotal) and the
// steps of their events that are alike. A layout hands over its design and
// its lines per page, and calls these steps from its events with the names
// and places that differ.

#include "app/PrintSettings.h"
#include "app/SettingsRecord.h"
#include "printing/PrnData.h"
#include "printing/Report.h"

#include <QLineF>
#include <QMarginsF>

// The faces, alignments and formats both layouts are designed with.
namespace QuotationDesign {
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kWhole = QStringLiteral("#,##0");
inline const QString kTwo = QStringLiteral("#,##0.00");
constexpr Qt::Alignment L = Qt::AlignLeft;
constexpr Qt::Alignment R = Qt::AlignRight;
constexpr Qt::Alignment C = Qt::AlignHCenter;
inline ReportFont pm(double size, bool bold = false) { return {kPMincho, size, bold}; }
inline ReportFont pg(double size, bool bold = false) { return {kPGothic, size, bold}; }
inline ReportControl hidden(ReportControl c)
{
    c.visible = false;
    return c;
}
}  // namespace QuotationDesign

// LM and TM as a print of the layout of `layoutCode` ("MB5" the B5 layout, any
// other the A4 one) takes them with these settings: as they are given, or,
// where one would push the print off the paper or leave the page no room for
// a row (Report), the whole value nearest to it that the print is held to.
struct PrintedMarginOffsets {
    int LM = 0;
    int TM = 0;
};
PrintedMarginOffsets PrintedMargins(const QString& layoutCode, const PrintSettingsEntry& printSettings,
                                    const SettingsRecord& settings);

class QuotationReport : public Report {
public:
    // Builds the pages over the lines it is given (in line order): exactly
    // ⌈明細行数 / n⌉ pages, at least one, where n is the designed lines per
    // page, or fewer where a large top margin leaves room for fewer; page p
    // shows rows n·(p−1)+1 to n·p, the last page filled with empty ruled rows.
    ReportDocument build(const QList<QuotationLine>& lines);

protected:
    QuotationReport(ReportLayout design, int linesPerPage, PrnData見積書 data, PrintSettingsEntry printSettings,
                    SettingsRecord settings);

    // ---- report start
    // Paper, portrait, the layout's base margins with LM / TM of the settings
    // entry added to the left and top ones; the report state back to its start.
    void startQuotation(QPageSize::PageSizeId paper, const QMarginsF& margins);

    // ---- page header
    // Number, date, title (タイトル1: an empty one prints none), own company,
    // customer and honorific, the customer block into `blockField`, the
    // terms, subject, the seal titles that are not empty, and the total: "¥"
    // and the amount on the first page, asterisks on the later ones.
    void fillHeaderTexts(const QString& blockField);

    // Places of the tax block, in twips: with 税計算 off the tax rows hide and
    // the message shows; with it on the tax rows show with their amounts.
    struct TaxBlock {
        QString netField;  // the pre-tax total's field
        struct {
            double messageTop, totalTop, totalLabelTop;
            QLineF totalRule;
        } without;
        struct {
            double amountsLeft, netTop, taxTop, totalTop, totalHeight;
            double totalLabelTop, taxLabelTop, netLabelTop;
            QLineF totalRule;
        } with;
    };
    void arrangeTaxBlock(const TaxBlock& places);

    // The controls of the rule-coloured set take 白紙罫線色.
    void colourRules(const QStringList& names);

    // The end of every page header: one more page started, its subtotal 0.
    void endPageHeader();

    // ---- detail format
    // 数量 and 単価 in the formats of the 小数 setting.
    void formatDetailNumbers();
    // The paging rule: a full page makes this row open the next page, or,
    // after the quotation's last page, ends the run. False when it ended.
    bool placeRow();

    // ---- detail before print
    // A subtotal row prints 品名 and 金額 bold and no quantity, unit or price
    // (its pack quantity too unless `keepPackOnSubtotal`); an ordinary row
    // adds its amount to the page subtotal. Then the row is counted.
    void finishRow(bool keepPackOnSubtotal);

    // ---- page footer
    // The memo, the page subtotal in `subtotalFormat` (0 prints nothing) and
    // the page count.
    void fillFooter(const QString& subtotalFormat);

    // Every detail field ("txt…") empty: the rows after the last record.
    void clearDetailFields();

    const PrnData見積書& data() const { return data_; }
    const PrintSettingsEntry& printSettings() const { return print_; }
    const SettingsRecord& settings() const { return settings_; }
    int pagesStarted() const { return pagesStarted_; }

private:
    // Rows a page holds: the designed lines per page, or fewer where the
    // page has room for fewer.
    int rowsOnAPage() const;
    // The pages the quotation prints: the used lines over the rows a page holds.
    int totalPages() const;

    PrnData見積書 data_;
    PrintSettingsEntry print_;
    SettingsRecord settings_;
    int linesPerPage_;

    int usedLines_ = 0;  // 明細行数, held to the rows there are
    int lineCounter_ = 0;
    int pagesStarted_ = 0;
    Currency pageSubtotal_;
};
