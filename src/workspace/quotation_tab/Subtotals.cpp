// Subtotal lines and line deletion: the two buttons under the detail grid that
// change the line structure of the quotation on screen.

#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QPushButton>

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
int currentLine(const GridView* grid, const WorkTableModel* m)
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

void QuotationTab::connectSubtotals()
{
    connect(cmd小計, &QPushButton::clicked, this, &QuotationTab::cmd小計_Click);
    connect(cmd行削除, &QPushButton::clicked, this, &QuotationTab::cmd行削除_Click);
}

void QuotationTab::Create小計()
{
    if (!wkDat) return;
    Grid明細->commitEdit();
    const int row = Grid明細->currentRow();
    const int n = currentLine(Grid明細, wkDat);
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
    const int col = Grid明細->currentColumn();
    QString error;
    const bool ok = InsertSubtotalLine(session_.WorkDb, n, &error);
    wkDat->refresh();
    if (!ok) {
        messages().ShowFailure(QStringLiteral("小計行を挿入できませんでした。"), error);
        return;
    }
    putCursorBack(Grid明細, wkDat, n, col);
    Calc明細();
    Grid明細->setFocus();
}

void QuotationTab::LineDelete()
{
    if (!wkDat) return;
    Grid明細->commitEdit();
    const int n = currentLine(Grid明細, wkDat);
    if (n == 0) return;
    const int col = Grid明細->currentColumn();
    QString error;
    const bool ok = DeleteLine(session_.WorkDb, n, &error);
    wkDat->refresh();
    if (!ok) {
        messages().ShowFailure(QStringLiteral("行を削除できませんでした。"), error);
        return;
    }
    putCursorBack(Grid明細, wkDat, n, col);
    Calc明細();
    Grid明細->setFocus();
}

void QuotationTab::cmd小計_Click()
{
    Create小計();
}

void QuotationTab::cmd行削除_Click()
{
    LineDelete();
}
