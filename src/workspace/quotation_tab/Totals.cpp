// The quotation tab's totals: Calc明細 reads the committed lines of w明細,
// shows the figures of CalculateQuotation in the total boxes and writes the
// amounts of the subtotal lines.

#include "workspace/Calculation.h"
#include "workspace/DetailLines.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include "app/Session.h"
#include "app/ShownSettings.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCalc, "velt.calc")

void QuotationTab::Calc明細()
{
    header_->clearTotals();

    Database& db = session_.WorkDb;
    std::vector<CalcLine> lines;
    std::vector<qint64> rowids;
    std::vector<std::optional<Currency>> stored;
    lines.reserve(DetailLine::kLines);
    rowids.reserve(DetailLine::kLines);
    stored.reserve(DetailLine::kLines);
    if (auto q = db.query(QStringLiteral("select rowid, 金額, 非課税, 小計 from w明細 order by 行番号"))) {
        while (q->next()) {
            CalcLine line;
            line.金額 = Currency::fromDb(q->value(1));
            line.非課税 = dbv::toBool(q->value(2));
            line.小計 = dbv::toBool(q->value(3));
            rowids.push_back(q->value(0).toLongLong());
            stored.push_back(line.金額);
            lines.push_back(line);
        }
    } else {
        // A sum that cannot be read counts as 0.
        qCWarning(lcCalc) << "detail lines could not be read:" << db.lastError();
    }

    CalcSettings settings;
    settings.税計算 = session_.設定情報.税計算;
    settings.税区分 = session_.設定情報.税区分;
    // The rounding mode as shown on the settings tab, stored or not.
    settings.税端数 = shownSettings_.shownTaxRounding();
    const CalcResult r = CalculateQuotation(lines, settings, DetailsChanged.value_or(false));

    header_->showTotals(r);

    // The subtotal lines, all in one transaction; only those whose amount changed are written.
    QList<std::pair<qint64, Currency>> writes;
    for (size_t i = 0; i < lines.size(); ++i)
        if (r.subtotals[i] && stored[i] != r.subtotals[i]) writes.append({rowids[i], *r.subtotals[i]});
    if (!writes.isEmpty()) {
        Transaction tx(db);
        bool ok = tx.started();
        for (const auto& [rowid, amount] : writes) {
            if (!ok) break;
            ok = db.exec(QStringLiteral("update w明細 set 金額 = ? where rowid = ?"),
                         {Currency::toDb(amount), rowid});
        }
        if (!ok || !tx.commit()) qCWarning(lcCalc) << "subtotal lines could not be written:" << db.lastError();
    }
    if (wkDat) wkDat->refresh();
}
