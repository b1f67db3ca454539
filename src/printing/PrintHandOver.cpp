#include "printing/PrintHandOver.h"

#include "app/DetailWorkTable.h"
#include "app/Session.h"
#include "printing/RptQuotationA4.h"
#include "printing/RptQuotationB5.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPrint, "velt.print")

int GetLineNum見積明細(Database& workDb)
{
    bool ok = false;
    const QList<QuotationLine> lines = ReadDetailWorkRows(workDb, &ok);
    if (!ok) qCWarning(lcPrint) << "the detail lines could not be counted:" << workDb.lastError();
    return UsedLineCount(lines);
}

PrnData見積書 PrintDataFrom(const ShownQuotation& shown, bool withDate)
{
    const auto amount = [](const ShownQuotation::Amount& a) {
        return a.text.isEmpty() ? std::nullopt : a.value;
    };
    PrnData見積書 d;
    d.伝票番号 = shown.txtNo;
    d.日付 = withDate && shown.日付 ? shown.日付表示 : QString();
    d.顧客情報 = shown.顧客情報;
    d.顧客名 = shown.顧客名;
    d.件名 = shown.件名;
    d.支払条件 = shown.支払条件;
    d.受渡場所 = shown.受渡場所;
    d.納期 = shown.納期;
    d.有効期限 = shown.有効期限;
    d.印鑑1 = shown.印鑑[0];
    d.印鑑2 = shown.印鑑[1];
    d.印鑑3 = shown.印鑑[2];
    d.印鑑4 = shown.印鑑[3];
    d.メモ = shown.メモ;
    d.敬称 = shown.敬称;
    d.税抜計 = amount(shown.税抜計);
    d.消費税 = amount(shown.消費税);
    d.見積金額 = amount(shown.見積金額);
    return d;
}

PrintHandOver::PrintHandOver(Session& session, const QuotationPort& quotation, QWidget* owner)
    : session_(session), quotation_(quotation), qtOutput_(owner)
{
}

PrintHandOver::~PrintHandOver() = default;

void PrintHandOver::setOutput(ReportOutput* output)
{
    output_ = output;
}

void PrintHandOver::closePreviews()
{
    qtOutput_.closePreviews();
}

ReportOutput& PrintHandOver::output()
{
    return output_ ? *output_ : qtOutput_;
}

void PrintHandOver::dispatch(const PrintRequest& request)
{
    if (request.paper == QStringLiteral("B5白紙")) SetPrnData見積書B5(request.print, request.withDate);
    else SetPrnData見積書A4(request.print, request.withDate);
}

void PrintHandOver::SetPrnData見積書A4(bool sw, bool sw2)
{
    run(QStringLiteral("MA4"), sw, sw2, [](PrnData見積書 d, PrintSettingsEntry p, SettingsRecord s) {
        return std::make_unique<Rpt見積書A401>(std::move(d), std::move(p), std::move(s));
    });
}

void PrintHandOver::SetPrnData見積書B5(bool sw, bool sw2)
{
    run(QStringLiteral("MB5"), sw, sw2, [](PrnData見積書 d, PrintSettingsEntry p, SettingsRecord s) {
        return std::make_unique<rpt見積書B5>(std::move(d), std::move(p), std::move(s));
    });
}

void PrintHandOver::run(const QString& layoutCode, bool sw, bool sw2, const ReportFactory& makeReport)
{
    // Every member is written afresh: nothing of an earlier quotation can
    // reach this printout.
    // One read of w明細: the used lines are what is printed and what is counted.
    bool ok = false;
    const QList<QuotationLine> lines = ReadDetailWorkRows(session_.WorkDb(), &ok);
    if (!ok) qCWarning(lcPrint) << "the detail lines could not be read:" << session_.WorkDb().lastError();
    const int used = UsedLineCount(lines);
    prnData_ = PrintDataFrom(quotation_.shownQuotation(), sw2);
    prnData_.明細行数 = qint16(used);

    const PrintSettingsEntry* entry = session_.reloadPrintSettings(layoutCode);
    const PrintSettingsEntry settings = entry ? *entry : PrintSettingsEntry{};

    // A new report per run; the pages it built outlive it.
    const std::unique_ptr<QuotationReport> report = makeReport(prnData_, settings, session_.設定情報);
    auto pages = std::make_shared<const ReportDocument>(report->build(lines.first(used)));
    if (!sw) {
        output().preview(std::move(pages), QStringLiteral("印刷プレビュー"));
    } else if (!output().print(std::move(pages))) {
        qCInfo(lcPrint) << "the quotation was not printed (cancelled, or the printer failed)";
    }
}
