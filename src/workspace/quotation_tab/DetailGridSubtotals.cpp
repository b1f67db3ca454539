// Subtotal lines and line deletion, the two buttons under the detail grid
// that change the line structure of the quotation on screen, and the totals:
// Calc明細 reads the committed lines of w明細, announces the figures of
// CalculateQuotation and writes the amounts of the subtotal lines.

#include "workspace/quotation_tab/DetailGrid.h"

#include "workspace/Calculation.h"
#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "workspace/TabLinks.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCalc, "velt.calc")

using namespace DetailLine;

namespace {

LineCells cellsOf(const WorkTableModel& m, int row)
{
    LineCells c;
    c.subtotal = m.value(row, 小計).toBool();
    c.nameEmpty = TrimBlanks(m.text(row, 品名)).isEmpty();
    c.holdsAnything = c.subtotal || m.value(row, 非課税).toBool();
    for (int col = 品名; col <= ふりがな && !c.holdsAnything; ++col) {
        if (col != 非課税 && !m.text(row, col).isEmpty()) c.holdsAnything = true;
    }
    return c;
}

// The line number of the grid's current row; 0 when there is none.
int currentLineNumber(const GridView* grid, const WorkTableModel* m)
{
    const int row = grid->currentRow();
    if (!m || row < 0) return 0;
    const QVariant n = m->value(row, 行番号);
    return n.isValid() ? n.toInt() : 0;
}

// After a rebuild: the cursor on line n, in the column it was in.
void putCursorBack(GridView* grid, const WorkTableModel* m, int n, int col)
{
    int row = std::clamp(n - 1, 0, m->rowCount() - 1);
    for (int r = 0; r < m->rowCount(); ++r) {
        if (m->value(r, 行番号).toInt() == n) {
            row = r;
            break;
        }
    }
    grid->setCurrentCell(row, col < 0 ? 品名 : col);
}

}  // namespace

void DetailGrid::Create小計()
{
    // A cell being typed goes first; a value refused there stops the insertion.
    if (!wkDat || !Grid明細->commitEdit()) return;
    const int row = Grid明細->currentRow();
    const int n = currentLineNumber(Grid明細, wkDat);
    if (n == 0) return;
    const int rows = wkDat->rowCount();
    std::optional<LineCells> prev;
    std::optional<LineCells> next;
    if (row > 0) prev = cellsOf(*wkDat, row - 1);
    if (row + 1 < rows) next = cellsOf(*wkDat, row + 1);
    const auto refusal = SubtotalRefusal(n, cellsOf(*wkDat, row), prev, next, cellsOf(*wkDat, rows - 1));
    if (refusal) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), *refusal);
        return;
    }
    changeLines(n, InsertSubtotalLine, QStringLiteral("小計行を挿入できませんでした。"));
}

void DetailGrid::LineDelete()
{
    if (!wkDat || !Grid明細->commitEdit()) return;
    const int n = currentLineNumber(Grid明細, wkDat);
    if (n == 0) return;
    changeLines(n, DeleteLine, QStringLiteral("行を削除できませんでした。"));
}

void DetailGrid::changeLines(int n, bool (*change)(Database&, int, Failure*), const QString& failure)
{
    const int col = Grid明細->currentColumn();
    Failure error;
    const bool ok = change(session_.WorkDb(), n, &error);
    wkDat->refresh();
    if (!ok) {
        messages().ShowFailure(failure, error);
        return;
    }
    putCursorBack(Grid明細, wkDat, n, col);
    Calc明細();
    Grid明細->setFocus();
}

void DetailGrid::cmd小計_Click()
{
    Create小計();
}

void DetailGrid::cmd行削除_Click()
{
    LineDelete();
}

void DetailGrid::Calc明細()
{
    Database& db = session_.WorkDb();
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

    emit totalsChanged(r);

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
    refresh();
}
