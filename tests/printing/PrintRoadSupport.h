#pragma once
// What the print-road tests share: a recorder of what the hand-over sends to
// the preview window and the printer, the detail lines written into w明細,
// and the print data read back as texts.

#include "printing/PrintHandOver.h"
#include "printing/ReportOutput.h"
#include "platform/Currency.h"
#include "platform/Database.h"

#include <memory>

// Keeps what the hand-over sends to the preview window and the printer.
class RecordingOutput : public ReportOutput {
public:
    struct Run {
        bool print = false;
        std::shared_ptr<const ReportDocument> pages;
    };
    void preview(std::shared_ptr<const ReportDocument> pages, const QString&) override { runs.append({false, pages}); }
    bool print(std::shared_ptr<const ReportDocument> pages) override
    {
        runs.append({true, pages});
        return true;
    }
    QList<Run> runs;
};

// Writes cells of w明細: "n:column=value" entries, value "''" an empty text.
inline bool setLines(Database& work, const QStringList& cells)
{
    for (const QString& cell : cells) {
        const int n = cell.section(QLatin1Char(':'), 0, 0).toInt();
        const QString column = cell.section(QLatin1Char(':'), 1).section(QLatin1Char('='), 0, 0);
        const QString value = cell.section(QLatin1Char('='), 1);
        QVariant v = value == QStringLiteral("''") ? QVariant(QStringLiteral("")) : QVariant(value);
        if (column == QStringLiteral("金額") || column == QStringLiteral("数量")) v = Currency::toDb(Currency::parse(value));
        if (!work.exec(QStringLiteral("UPDATE w明細 SET %1 = ? WHERE 行番号 = ?").arg(column), {v, n})) return false;
    }
    return true;
}

// Every member of the print data as text: "<null>" for a missing amount.
inline QStringList members(const PrnData見積書& d)
{
    const auto money = [](const std::optional<Currency>& c) { return c ? c->toPlainString() : QStringLiteral("<null>"); };
    return {d.伝票番号, d.日付,   d.顧客名, d.顧客情報, money(d.税抜計), money(d.消費税), money(d.見積金額),
            d.件名,    d.有効期限, d.支払条件, d.受渡場所, d.納期,          d.メモ,           d.敬称,
            d.印鑑1,   d.印鑑2,   d.印鑑3,  d.印鑑4,    QString::number(d.明細行数)};
}
