#include "printing/RptQuotationA4.h"

#include <cmath>

namespace {

using namespace ReportDesign;
using namespace QuotationDesign;

// A font of the settings entry, where it names one; a size of 0 (none stored,
// or no number) or beyond any font's size keeps the designed one.
void applyFont(ReportControl& c, const QString& family, double size)
{
    if (!family.isEmpty()) c.font.family = family;
    if (std::isfinite(size) && size > 0 && size <= 1000) c.font.size = size;
}

}  // namespace

ReportLayout Rpt見積書A401::designedLayout()
{
    ReportLayout l;
    l.page.paper = QPageSize::A4;
    l.page.orientation = QPageLayout::Portrait;
    l.page.margins = QMarginsF(800, 800, 200, 200);

    l.pageHeader.height = 4950;
    l.pageHeader.controls = {
        label(u"lblタイトル"_qs, 8010, 0, 1875, 360, u"お見積書"_qs, pg(18, true), C),
        label(u"Label2"_qs, 1630, 1720, 3614, 240, u"下記のとおりお見積り申し上げます"_qs, pm(10, true), L),
        field(u"txt自社情報"_qs, 6236, 1984, 4323, 1347, pm(10), L),
        field(u"txt自社名"_qs, 6240, 1395, 4260, 495, pm(14, true), L),
        field(u"txt顧客名"_qs, 283, 1240, 4819, 425, pm(16), L),
        label(u"lbl合計"_qs, 354, 3685, 1347, 284, u"合計金額"_qs, pm(14.5, true), L),
        line(u"Line1"_qs, 90, 380, 10580, 380, 3),
        label(u"Label9"_qs, 7016, 638, 779, 283, u"日  付"_qs, pm(11.5), L),
        label(u"Label10"_qs, 354, 2339, 1205, 283, u"有効期限"_qs, pm(11.5), L),
        label(u"Label11"_qs, 354, 2622, 1205, 260, u"支払条件"_qs, pm(11.5), L),
        label(u"Label12"_qs, 354, 2880, 1205, 250, u"受渡場所"_qs, pm(11.5), L),
        label(u"Label13"_qs, 354, 3160, 1205, 284, u"納\u3000\u3000\u3000期"_qs, pm(11.5), L),
        label(u"Label14"_qs, 7020, 970, 700, 270, u"番  号"_qs, pm(11.5), L),
        field(u"txt合計金額"_qs, 1772, 3614, 2480, 284, pm(18, true), R, kWhole),
        field(u"txtCday"_qs, 8008, 638, 2055, 283, pm(11.5), L),
        field(u"txtNo"_qs, 8008, 950, 1205, 284, pm(11.5), L),
        field(u"txt有効期限"_qs, 1635, 2340, 4470, 285, pm(11.5), L),
        field(u"txt支払条件"_qs, 1635, 2625, 4470, 260, pm(11.5), L),
        field(u"txt受渡場所"_qs, 1635, 2880, 4470, 250, pm(11.5), L),
        field(u"txt納期"_qs, 1635, 3165, 4470, 285, pm(11.5), L),
        line(u"Line合計"_qs, 285, 3900, 4635, 3900),
        line(u"Line19"_qs, 270, 1600, 5850, 1600),
        field(u"txt敬称"_qs, 5130, 1240, 720, 360, pm(16), L),
        frame(u"Shape1"_qs, 6945, 540, 3614, 709, true),
        line(u"Line21"_qs, 6930, 900, 10540, 900),
        label(u"lbl税"_qs, 354, 3750, 1347, 300, u"税\u3000\u3000  額"_qs, pm(14.5, true), L),
        field(u"txt税額"_qs, 2660, 3756, 2622, 283, pm(14.5, true), R, kWhole),
        label(u"lbl税抜計"_qs, 354, 3430, 1347, 284, u"税\u3000抜\u3000計"_qs, pm(14.5, true), L),
        field(u"txt税抜計"_qs, 1772, 3402, 2622, 283, pm(14.5, true), R, kWhole),
        frame(u"Shape2"_qs, 7299, 3402, 3260, 921, false),
        line(u"Line32"_qs, 8150, 3402, 8150, 4323),
        line(u"Line33"_qs, 8929, 3402, 8929, 4323),
        line(u"Line34"_qs, 9709, 3402, 9709, 4323),
        line(u"Line36"_qs, 7299, 3685, 10559, 3685),
        field(u"txt印鑑1"_qs, 7370, 3472, 709, 213, pg(10), C),
        field(u"txt印鑑2"_qs, 8170, 3472, 740, 213, pg(10), C),
        field(u"txt印鑑3"_qs, 9000, 3472, 709, 213, pg(10), C),
        field(u"txt印鑑4"_qs, 9780, 3472, 708, 213, pg(10), C),
        line(u"Line37"_qs, 7850, 540, 7850, 1250),
        field(u"txt顧客情報"_qs, 283, 445, 5882, 760, pm(10), L),
        label(u"Label28"_qs, 354, 2060, 1205, 283, u"件\u3000\u3000\u3000名"_qs, pm(11.5), L),
        field(u"txt件名"_qs, 1635, 2055, 4470, 285, pm(11.5), L),
        label(u"Label16"_qs, 6024, 4606, 850, 284, u"数\u3000量"_qs, pm(12, true), C),
        line(u"Line4"_qs, 5740, 4465, 5740, 4950),
        line(u"Line5"_qs, 6980, 4465, 6980, 4950),
        line(u"Line6"_qs, 7600, 4465, 7600, 4950),
        line(u"Line7"_qs, 9030, 4465, 9030, 4950),
        label(u"Label15"_qs, 1346, 4606, 1701, 284, u"\u3000品\u3000\u3000    \u3000名"_qs, pm(12, true), C),
        frame(u"Shape4"_qs, 71, 5102, 10510, 496, false),
        label(u"lbl入数"_qs, 4252, 4606, 1417, 284, u"入\u3000数"_qs, pm(12, true), C),
        label(u"Label17"_qs, 7016, 4606, 567, 284, u"単位"_qs, pm(12, true), C),
        label(u"Label18"_qs, 7866, 4606, 992, 284, u"単\u3000価"_qs, pm(12, true), C),
        label(u"Label53"_qs, 9283, 4606, 1205, 284, u"金\u3000額"_qs, pm(12, true), C),
        line(u"Line2"_qs, 4181, 4465, 4181, 4950),
        label(u"Lbl税メッセージ"_qs, 425, 4252, 3402, 283, u"但し消費税は含まれていません。"_qs, pm(11.5), L),
    };

    l.detail.height = 620;
    l.detail.controls = {
        field(u"txt品名"_qs, 120, 30, 4050, 615, pm(11.5), L, {}, u"品名"_qs),
        field(u"txt数量"_qs, 5820, 0, 1120, 615, pm(12), R, kTwo, u"数量"_qs),
        field(u"txt単位"_qs, 6990, 0, 600, 615, pm(12), C, {}, u"単位"_qs),
        field(u"txt単価"_qs, 7654, 0, 1346, 615, pm(12), R, kTwo, u"単価"_qs),
        field(u"txt金額"_qs, 9100, 30, 1410, 615, pm(12), R, kWhole, u"金額"_qs),
        line(u"Line3"_qs, 71, 0, 71, 618),
        line(u"Line14"_qs, 4181, 0, 4181, 618),
        line(u"Line16"_qs, 6980, 0, 6980, 618),
        line(u"Line17"_qs, 7600, 0, 7600, 618),
        line(u"Line38"_qs, 9030, 0, 9030, 618),
        line(u"Line39"_qs, 10560, 0, 10560, 618),
        line(u"Line25"_qs, 71, 618, 10570, 618),
        line(u"Line15"_qs, 5740, 0, 5740, 618),
        field(u"txt入数"_qs, 4252, 0, 1460, 615, pm(12), L, {}, u"入数"_qs),
        hidden(field(u"txt小計FL"_qs, 992, 567, 496, 213, pg(9), L, {}, u"小計"_qs)),
    };

    ReportControl pageNumber = field(u"Field1"_qs, 9142, 354, 354, 284, pm(11.5), R);
    pageNumber.pageNumber = true;
    l.pageFooter.height = 885;
    l.pageFooter.controls = {
        label(u"Label19"_qs, 8575, 354, 567, 284, u"Page  "_qs, pm(11.5), L),
        label(u"Label20"_qs, 9500, 354, 200, 284, u"/ "_qs, pm(11.5), L),
        pageNumber,
        field(u"tcp"_qs, 9780, 354, 354, 284, pm(11.5), L),
        label(u"Label27"_qs, 7795, 0, 992, 283, u"小\u3000計"_qs, pm(12, true), C),
        field(u"txt小計"_qs, 8865, 0, 1590, 285, pm(12, true), R, kWhole),
        line(u"Line20"_qs, 7795, 283, 10488, 283),
        field(u"txtメモ"_qs, 705, 75, 6480, 660, pm(12), L),
        label(u"Label29"_qs, 71, 71, 496, 283, u"メモ"_qs, pm(12), L),
        frame(u"Shape3"_qs, 0, 0, 638, 354, true),
    };
    return l;
}

const QStringList& Rpt見積書A401::ruleColouredControls()
{
    static const QStringList names{
        u"Line1"_qs,   u"Line37"_qs,  u"Line21"_qs, u"Line合計"_qs, u"Line19"_qs,  u"Line2"_qs,   u"Line4"_qs,
        u"Line5"_qs,   u"Line6"_qs,   u"Line7"_qs,  u"Line32"_qs,   u"Line36"_qs,  u"Line33"_qs,  u"Line34"_qs,
        u"Line3"_qs,   u"Line25"_qs,  u"Line14"_qs, u"Line15"_qs,   u"Line16"_qs,  u"Line17"_qs,  u"Line38"_qs,
        u"Line39"_qs,  u"Line20"_qs,  u"Shape1"_qs, u"Shape4"_qs,   u"Shape2"_qs,  u"Shape3"_qs,  u"Label15"_qs,
        u"Label16"_qs, u"Label17"_qs, u"Label18"_qs, u"Label53"_qs, u"lbl入数"_qs,
    };
    return names;
}

Rpt見積書A401::Rpt見積書A401(PrnData見積書 data, PrintSettingsEntry printSettings, SettingsRecord settings)
    : QuotationReport(designedLayout(), kLinesPerPage, std::move(data), std::move(printSettings), std::move(settings))
{
}

void Rpt見積書A401::reportStart()
{
    startQuotation(QPageSize::A4, QMarginsF(800, 800, 200, 200));
    layout().pageHeader.height = settings().税計算 ? 5010 : 4950;
    layout().detail.height = 620;
    control(u"Shape4"_qs).rect.moveTop(kHeadingTop);
}

void Rpt見積書A401::pageHeaderFormat()
{
    fillHeaderTexts(u"txt顧客情報"_qs);

    TaxBlock places;
    places.netField = u"txt税抜計"_qs;
    places.without = {4080, 3560, 3600, QLineF(283, 3910, 4320, 3910)};
    places.with = {1772, 3400, 3670, 3980, 320, 4000, 3730, 3430, QLineF(283, 4310, 4860, 4310)};
    arrangeTaxBlock(places);

    const PrintSettingsEntry& print = printSettings();
    applyFont(control(u"txt自社名"_qs), print.自社名フォント, print.自社名サイズ);
    applyFont(control(u"txt自社情報"_qs), print.自社情報フォント, print.自社情報サイズ);
    applyFont(control(u"txt顧客名"_qs), print.顧客名フォント, print.顧客名サイズ);
    applyFont(control(u"txt顧客情報"_qs), print.顧客情報フォント, print.顧客情報サイズ);

    colourRules(ruleColouredControls());
    endPageHeader();
}

void Rpt見積書A401::detailFormat()
{
    formatDetailNumbers();
    control(u"txt品名"_qs).font.size = 12;
    if (!placeRow()) return;
    if (eof()) clearDetailFields();
}

void Rpt見積書A401::detailBeforePrint()
{
    finishRow(false);
}

void Rpt見積書A401::pageFooterFormat()
{
    fillFooter(u"###,###,###,###"_qs);
}
