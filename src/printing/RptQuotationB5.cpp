#include "printing/RptQuotationB5.h"

#include "platform/JapaneseText.h"

namespace {

using namespace ReportDesign;
using namespace QuotationDesign;

// The first n characters of a text; a character outside the basic plane
// counts as one and is never split.
QString firstCharacters(const QString& text, int n)
{
    qsizetype i = 0;
    for (int count = 0; i < text.size() && count < n; ++count)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return text.left(i);
}

// A page number: printed whole on one line ("10" is a little wider than its
// box in the substituted Gothic face and must not break).
ReportControl pageNumberField(ReportControl c)
{
    c.wrap = false;
    return c;
}

}  // namespace

ReportLayout rpt見積書B5::designedLayout()
{
    ReportLayout l;
    l.page.paper = QPageSize::JisB5;
    l.page.orientation = QPageLayout::Portrait;
    l.page.margins = QMarginsF(700, 900, 100, 200);

    l.pageHeader.height = 5240;
    l.pageHeader.controls = {
        label(u"lblタイトル"_qs, 6449, 0, 2055, 354, u"見積書"_qs, {u"ＭＳ 明朝"_qs, 18, true}, C),
        field(u"txt自社名"_qs, 5386, 1417, 3756, 567, pm(14), L),
        field(u"txt自社情報"_qs, 5310, 2055, 3825, 1305, pm(10), L),
        field(u"txt顧客名"_qs, 75, 1410, 4455, 420, pm(14.5), L),
        line(u"Line1"_qs, 0, 380, 9135, 380, 3),
        line(u"Line19"_qs, 75, 1780, 5205, 1780),
        field(u"txt敬称"_qs, 4560, 1460, 700, 360, pm(14.5), L),
        field(u"txt宛名情報"_qs, 71, 496, 4464, 850, pm(11.5), L),
        label(u"Label2"_qs, 1346, 1913, 3615, 213, u"下記のとおりお見積り申し上げます"_qs, pm(10, true), L),
        label(u"lbl合計"_qs, 71, 4323, 1346, 283, u"合計金額"_qs, pm(14.5, true), L),
        label(u"Label50"_qs, 50, 2550, 1020, 285, u"有効期限"_qs, pm(11.5), L),
        label(u"Label11"_qs, 50, 2835, 1020, 210, u"支払条件"_qs, pm(11.5), L),
        label(u"Label12"_qs, 50, 3100, 1020, 285, u"受渡場所"_qs, pm(11.5), L),
        label(u"Label13"_qs, 50, 3400, 1020, 285, u"納\u3000\u3000期"_qs, pm(11.5), L),
        field(u"txt合計金額"_qs, 1488, 4252, 2622, 283, pm(18, true), R, kWhole),
        field(u"txt有効期限"_qs, 1150, 2551, 4100, 284, pm(11.5), L),
        field(u"txt支払条件"_qs, 1150, 2835, 4100, 212, pm(11.5), L),
        field(u"txt受渡場所"_qs, 1150, 3100, 4100, 284, pm(11.5), L),
        field(u"txt納期"_qs, 1150, 3400, 4100, 283, pm(11.5), L),
        line(u"Line合計"_qs, 0, 4600, 4323, 4600),
        label(u"Lbl税メッセージ"_qs, 425, 4252, 3402, 283, u"但し消費税は含まれていません。"_qs, pm(11.5), L),
        label(u"lbl税"_qs, 71, 3898, 1346, 354, u"税\u3000\u3000  額"_qs, pm(14.5, true), L),
        field(u"txt税額"_qs, 1488, 4110, 2622, 284, pm(14.5, true), R, kWhole),
        label(u"lbl税抜計"_qs, 71, 3700, 1346, 284, u"税\u3000抜\u3000計"_qs, pm(14.5, true), L),
        field(u"txt税抜合計"_qs, 1488, 3756, 2622, 283, pm(14.5, true), R, kWhole),
        frame(u"Shape4"_qs, 5740, 3756, 3260, 900, false),
        line(u"Line45"_qs, 6591, 3756, 6591, 4650),
        line(u"Line46"_qs, 7370, 3756, 7370, 4650),
        line(u"Line34"_qs, 8150, 3756, 8150, 4650),
        line(u"Line47"_qs, 5740, 4020, 9000, 4020),
        field(u"txt印鑑1"_qs, 5811, 3790, 709, 213, pg(9), C),
        field(u"txt印鑑2"_qs, 6591, 3790, 779, 213, pg(9), C),
        field(u"txt印鑑3"_qs, 7441, 3790, 709, 213, pg(9), C),
        field(u"txt印鑑4"_qs, 8220, 3790, 709, 213, pg(9), C),
        label(u"Label28"_qs, 50, 2265, 1020, 285, u"件\u3000\u3000\u3000名"_qs, pm(11.5), L),
        field(u"txt件名"_qs, 1150, 2268, 4100, 283, pm(11.5), L),
        label(u"Label9"_qs, 6024, 600, 567, 283, u"日付"_qs, pm(11.5), L),
        label(u"Label14"_qs, 6024, 950, 567, 284, u"番号"_qs, pm(11.5), L),
        field(u"txtCday"_qs, 6803, 600, 2055, 283, pm(11.5), L),
        field(u"txtNo"_qs, 6803, 950, 1134, 284, pm(11.5), L),
        frame(u"Shape1"_qs, 5882, 550, 3189, 708, true),
        line(u"Line21"_qs, 5882, 900, 9071, 900),
        line(u"Line48"_qs, 6661, 550, 6661, 1250),
        label(u"lbl入数"_qs, 4110, 4961, 921, 283, u" 入\u3000数"_qs, pm(12, true), L),
        line(u"Line36"_qs, 3860, 4890, 3860, 5244),
        line(u"Line37"_qs, 5900, 4890, 5900, 5244),
        line(u"Line38"_qs, 6630, 4890, 6630, 5244),
        line(u"Line39"_qs, 7740, 4890, 7740, 5244),
        label(u"Label44"_qs, 1346, 4961, 1701, 283, u"\u3000品\u3000\u3000    \u3000名"_qs, pm(12, true), C),
        frame(u"Shape2"_qs, 10, 4748, 9071, 354, false),
        label(u"Label54"_qs, 5173, 4961, 638, 212, u"数量"_qs, pm(12, true), L),
        line(u"Line51"_qs, 5050, 4890, 5050, 5244),
        label(u"Label55"_qs, 5953, 4961, 567, 283, u"単位"_qs, pm(12, true), L),
        label(u"Label56"_qs, 6945, 4961, 709, 283, u"単 価"_qs, pm(12, true), L),
        label(u"Label57"_qs, 8150, 4961, 779, 212, u"金\u3000額"_qs, pm(12, true), L),
    };

    l.detail.height = 605;
    l.detail.controls = {
        line(u"Line25"_qs, 10, 600, 9071, 600),
        hidden(field(u"txt小計FL"_qs, 1984, 709, 638, 283, pg(9), L, {}, u"小計"_qs)),
        field(u"txt品名"_qs, 30, 0, 3827, 567, pm(11.5), L, {}, u"品名"_qs),
        field(u"txt数量"_qs, 5080, 0, 780, 567, pm(12), R, kTwo, u"数量"_qs),
        field(u"txt単位"_qs, 5953, 0, 620, 567, pm(12), C, {}, u"単位"_qs),
        field(u"txt単価"_qs, 6661, 0, 1063, 567, pm(12), R, kTwo, u"単価"_qs),
        field(u"txt金額"_qs, 7800, 0, 1240, 570, pm(12), R, kWhole, u"金額"_qs),
        line(u"Line26"_qs, 10, 0, 10, 600),
        line(u"Line29"_qs, 5050, 0, 5050, 600),
        line(u"Line30"_qs, 5900, 0, 5900, 600),
        line(u"Line31"_qs, 6630, 0, 6630, 600),
        line(u"Line32"_qs, 7740, 0, 7740, 600),
        line(u"Line33"_qs, 9071, 0, 9071, 600),
        line(u"Line50"_qs, 3860, 0, 3860, 600),
        field(u"txt入数"_qs, 3900, 0, 1100, 567, pm(12), L, {}, u"入数"_qs),
    };

    l.pageFooter.height = 1600;
    l.pageFooter.controls = {
        field(u"txtメモ"_qs, 0, 71, 5953, 1134, pm(11.5), L),
        label(u"Label53"_qs, 6378, 260, 850, 283, u"小\u3000計"_qs, pm(14.5), L),
        field(u"txt小計"_qs, 7441, 213, 1559, 354, pm(12), R, kWhole),
        line(u"Line49"_qs, 6300, 620, 9075, 620),
        label(u"Label51"_qs, 7441, 750, 567, 283, u"Page :"_qs, pg(11.5), L),
        label(u"Label52"_qs, 8362, 750, 213, 212, u"/"_qs, pg(11.5), L),
        pageNumberField(field(u"cp"_qs, 8008, 750, 283, 212, pg(11.5), R)),
        pageNumberField(field(u"tcp"_qs, 8575, 750, 354, 212, pg(11.5), L)),
    };
    return l;
}

const QStringList& rpt見積書B5::ruleColouredControls()
{
    static const QStringList names{
        u"Line1"_qs,   u"Line19"_qs,  u"Line21"_qs,  u"Line45"_qs,  u"Line48"_qs,  u"Line47"_qs,  u"Line46"_qs,
        u"Line34"_qs,  u"Line36"_qs,  u"Line37"_qs,  u"Line38"_qs,  u"Line39"_qs,  u"Line51"_qs,  u"Line合計"_qs,
        u"Line25"_qs,  u"Line26"_qs,  u"Line29"_qs,  u"Line30"_qs,  u"Line31"_qs,  u"Line32"_qs,  u"Line33"_qs,
        u"Line50"_qs,  u"Line49"_qs,  u"Shape1"_qs,  u"Shape2"_qs,  u"Shape4"_qs,  u"Label44"_qs, u"Label54"_qs,
        u"Label55"_qs, u"Label56"_qs, u"Label57"_qs, u"lbl入数"_qs,
    };
    return names;
}

rpt見積書B5::rpt見積書B5(PrnData見積書 data, PrintSettingsEntry printSettings, SettingsRecord settings)
    : QuotationReport(designedLayout(), kLinesPerPage, std::move(data), std::move(printSettings), std::move(settings))
{
}

void rpt見積書B5::reportStart()
{
    startQuotation(QPageSize::JisB5, QMarginsF(700, 900, 100, 200));
    // The header's height does not follow 税計算 here.
    layout().pageHeader.height = 5240;
    layout().detail.height = 605;
    layout().pageFooter.height = 1600;
}

void rpt見積書B5::pageHeaderFormat()
{
    fillHeaderTexts(u"txt宛名情報"_qs);
    // The column-heading band.
    control(u"Shape2"_qs).rect.moveTop(kHeadingTop);

    TaxBlock places;
    places.netField = u"txt税抜合計"_qs;
    places.without = {4252, 3760, 3800, QLineF(80, 4100, 4150, 4100)};
    places.with = {1740, 3750, 4060, 4360, 320, 4360, 4030, 3730, QLineF(50, 4680, 4700, 4680)};
    arrangeTaxBlock(places);

    endPageHeader();
    colourRules(ruleColouredControls());
}

void rpt見積書B5::detailFormat()
{
    formatDetailNumbers();

    // A name beyond 50 Shift-JIS bytes prints its first 50 (whole characters) smaller.
    ReportControl& name = control(u"txt品名"_qs);
    name.font.size = 12;
    if (ShiftJisLength(name.text) > kNameBytes) {
        name.text = CutToShiftJis(name.text, kNameBytes);
        name.font.size = 9;
    }

    if (!placeRow()) return;
    if (eof()) {
        clearDetailFields();
        return;
    }
    ReportControl& unit = control(u"txt単位"_qs);
    if (!unit.text.isEmpty()) unit.text = firstCharacters(unit.text, kUnitCharacters);
}

void rpt見積書B5::detailBeforePrint()
{
    // A subtotal row keeps its pack quantity on this paper.
    finishRow(true);
}

void rpt見積書B5::pageFooterFormat()
{
    fillFooter(u"#,###"_qs);
    control(u"cp"_qs).text = QString::number(pagesStarted());
}
