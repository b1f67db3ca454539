#include "printing/QuotationReport.h"

#include "printing/QuotationPrint.h"
#include "printing/RptQuotationA4.h"
#include "printing/RptQuotationB5.h"

#include <algorithm>
#include <cmath>

PrintedMarginOffsets PrintedMargins(const QString& layoutCode, const PrintSettingsEntry& printSettings,
                                    const SettingsRecord& settings)
{
    // Where a page of the layout starts on the paper, with the offsets and without.
    const auto origin = [&](int lm, int tm) {
        PrintSettingsEntry entry = printSettings;
        entry.LM = lm;
        entry.TM = tm;
        if (layoutCode == u"MB5"_qs) return rpt見積書B5({}, entry, settings).origin();
        return Rpt見積書A401({}, entry, settings).origin();
    };
    const QPointF moved = origin(printSettings.LM, printSettings.TM) - origin(0, 0);
    // Held below a value the nearest whole one below it, above it the nearest above.
    const auto held = [](int given, double printed) {
        if (printed < given) return int(std::floor(printed + 1e-6));
        if (printed > given) return int(std::ceil(printed - 1e-6));
        return given;
    };
    return {held(printSettings.LM, moved.x()), held(printSettings.TM, moved.y())};
}

QuotationReport::QuotationReport(ReportLayout design, int linesPerPage, PrnData見積書 data,
                                 PrintSettingsEntry printSettings, SettingsRecord settings)
    : Report(std::move(design)),
      data_(std::move(data)),
      print_(std::move(printSettings)),
      settings_(std::move(settings)),
      linesPerPage_(linesPerPage)
{
}

ReportDocument QuotationReport::build(const QList<QuotationLine>& lines)
{
    // The page count follows the used lines, but never beyond the rows there
    // are: the footer's "/ T" is the count of pages printed.
    usedLines_ = std::clamp<int>(data_.明細行数, 0, int(lines.size()));
    return run(DetailRecords(lines));
}

void QuotationReport::startQuotation(QPageSize::PageSizeId paper, const QMarginsF& margins)
{
    ReportPageSetup& page = layout().page;
    page.paper = paper;
    page.orientation = QPageLayout::Portrait;
    // LM and TM widen (or, negative, narrow) the left and top margins: they
    // move the print, the footer stays at the foot of the page.
    page.margins = margins + QMarginsF(print_.LM, print_.TM, 0, 0);

    lineCounter_ = 0;
    pagesStarted_ = 0;
    pageSubtotal_ = Currency();
}

void QuotationReport::fillHeaderTexts(const QString& blockField)
{
    control(u"txtNo"_qs).text = data_.伝票番号;
    control(u"txtCday"_qs).text = data_.日付;
    control(u"lblタイトル"_qs).text = print_.タイトル1;

    control(u"txt自社情報"_qs).text = settings_.自社情報;
    control(u"txt自社名"_qs).text = settings_.自社名;
    control(u"txt顧客名"_qs).text = data_.顧客名;
    control(u"txt敬称"_qs).text = data_.敬称;
    control(blockField).text = data_.顧客情報;
    control(u"txt有効期限"_qs).text = data_.有効期限;
    control(u"txt支払条件"_qs).text = data_.支払条件;
    control(u"txt受渡場所"_qs).text = data_.受渡場所;
    control(u"txt納期"_qs).text = data_.納期;
    control(u"txt件名"_qs).text = data_.件名;

    const QString seals[] = {data_.印鑑1, data_.印鑑2, data_.印鑑3, data_.印鑑4};
    for (int i = 0; i < 4; ++i)
        if (!seals[i].isEmpty()) control(u"txt印鑑%1"_qs.arg(i + 1)).text = seals[i];

    if (const auto total = QuotationPrint::TotalText(data_.見積金額, pagesStarted_ == 0))
        control(u"txt合計金額"_qs).text = *total;
}

void QuotationReport::arrangeTaxBlock(const TaxBlock& places)
{
    ReportControl& total = control(u"txt合計金額"_qs);
    ReportControl& totalLabel = control(u"lbl合計"_qs);
    ReportControl& totalRule = control(u"Line合計"_qs);
    ReportControl& taxLabel = control(u"lbl税"_qs);
    ReportControl& netLabel = control(u"lbl税抜計"_qs);
    ReportControl& message = control(u"Lbl税メッセージ"_qs);
    if (!settings_.税計算) {
        taxLabel.visible = false;
        netLabel.visible = false;
        message.visible = true;
        message.rect.moveTop(places.without.messageTop);
        total.rect.moveTop(places.without.totalTop);
        totalLabel.rect.moveTop(places.without.totalLabelTop);
        totalRule.line = places.without.totalRule;
        return;
    }
    ReportControl& net = control(places.netField);
    ReportControl& tax = control(u"txt税額"_qs);
    taxLabel.visible = true;
    netLabel.visible = true;
    message.visible = false;
    for (ReportControl* c : {&net, &tax, &total}) c->rect.moveLeft(places.with.amountsLeft);
    net.rect.moveTop(places.with.netTop);
    tax.rect.moveTop(places.with.taxTop);
    total.rect.moveTop(places.with.totalTop);
    total.rect.setHeight(places.with.totalHeight);
    totalLabel.rect.moveTop(places.with.totalLabelTop);
    taxLabel.rect.moveTop(places.with.taxLabelTop);
    netLabel.rect.moveTop(places.with.netLabelTop);
    totalRule.line = places.with.totalRule;
    if (data_.税抜計) net.text = ReportFormat::number(*data_.税抜計, u"#,###"_qs);
    if (data_.消費税) tax.text = ReportFormat::number(*data_.消費税, u"#,###"_qs);
}

void QuotationReport::colourRules(const QStringList& names)
{
    const QColor rule = ReportColour::fromWindows(print_.白紙罫線色);
    for (const QString& name : names) control(name).colour = rule;
}

void QuotationReport::endPageHeader()
{
    ++pagesStarted_;
    pageSubtotal_ = Currency();
}

void QuotationReport::formatDetailNumbers()
{
    const QuotationPrint::DetailFormats formats = QuotationPrint::FormatsFor(settings_.小数);
    for (const auto& [name, format] : {std::pair{u"txt数量"_qs, formats.数量}, std::pair{u"txt単価"_qs, formats.単価}}) {
        ReportControl& c = control(name);
        c.format = format;
        c.text = ReportFormat::apply(c.dataValue, format);
    }
}

int QuotationReport::rowsOnAPage() const
{
    // A top margin that leaves room for fewer rows than designed gives fewer.
    return std::min(linesPerPage_, rowsPerPage());
}

int QuotationReport::totalPages() const
{
    return QuotationPrint::PageCount(usedLines_, rowsOnAPage());
}

bool QuotationReport::placeRow()
{
    if (lineCounter_ < rowsOnAPage()) return true;
    if (pagesStarted_ < totalPages()) {
        lineCounter_ = 0;
        newPage();
        return true;
    }
    stop();
    return false;
}

void QuotationReport::finishRow(bool keepPackOnSubtotal)
{
    const bool subtotalRow = control(u"txt小計FL"_qs).dataValue.toBool();
    control(u"txt品名"_qs).font.bold = subtotalRow;
    control(u"txt金額"_qs).font.bold = subtotalRow;
    if (subtotalRow) {
        for (const QString& name : {u"txt単価"_qs, u"txt単位"_qs, u"txt数量"_qs}) control(name).text.clear();
        if (!keepPackOnSubtotal) control(u"txt入数"_qs).text.clear();
    } else if (const auto amount = ReportFormat::toCurrency(control(u"txt金額"_qs).dataValue)) {
        // Subtotal lines are never added: the page subtotal sums the ordinary lines.
        pageSubtotal_ += *amount;
    }
    ++lineCounter_;
}

void QuotationReport::fillFooter(const QString& subtotalFormat)
{
    control(u"txtメモ"_qs).text = data_.メモ;
    control(u"txt小計"_qs).text = ReportFormat::number(pageSubtotal_, subtotalFormat);
    control(u"tcp"_qs).text = QString::number(totalPages());
}

void QuotationReport::clearDetailFields()
{
    for (ReportControl& c : layout().detail.controls) {
        if (!c.name.startsWith(u"txt"_qs)) continue;
        c.dataValue = 0;
        c.text.clear();
    }
}
