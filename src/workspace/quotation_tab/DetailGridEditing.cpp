// Editing the detail grid: the rules laid over the user's cell edits (limits,
// product look-up, code registration, line amount, protected subtotal lines),
// the product pick, Enter on the amount column and Japanese input by column.

#include "workspace/quotation_tab/DetailGrid.h"

#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/CodeLists.h"
#include "platform/Controls.h"
#include "platform/InputMethod.h"
#include "app/CellWriteFailures.h"
#include "platform/JapaneseText.h"
#include "platform/WorkTableModel.h"

#include <QPoint>
#include <QTimer>

using namespace DetailLine;

namespace {

// A cell the cursor must go back to once the grid has finished its own move
// (a value beyond its limit was emptied). Kept on the grid itself.
const char* const kReturnCell = "veltReturnCell";

void returnToCell(GridView* grid, int row, int col)
{
    grid->setProperty(kReturnCell, QPoint(col, row));
    grid->setCurrentCell(row, col);
    QTimer::singleShot(0, grid, [grid, row, col] {
        grid->setProperty(kReturnCell, QVariant());
        grid->setCurrentCell(row, col);
    });
}

}  // namespace

void DetailGrid::connectEditing()
{
    connect(Grid明細, &GridView::dropDownPicked, this, &DetailGrid::Grid明細_ComboSelect);
    connect(Grid明細, &GridView::currentCellChanged, this, &DetailGrid::Grid明細_RowColChange);
    Grid明細->setKeyDown([this](int& key) { Grid明細_KeyDown(key); });
}

void DetailGrid::connectModel()
{
    wkDat->setBeforeCellUpdate([this](int row, int col, QString& text, bool& cancel) {
        Grid明細_BeforeColUpdate(row, col, text, cancel);
    });
    connect(wkDat, &WorkTableModel::cellEdited, this, &DetailGrid::Grid明細_AfterColUpdate, Qt::UniqueConnection);
    connect(wkDat, &WorkTableModel::cellRecommitted, this, &DetailGrid::Grid明細_Recommitted, Qt::UniqueConnection);
    // A typed value or a pick that w明細 did not take is never dropped without a word.
    ShowCellWriteFailures(wkDat, messages());
}

void DetailGrid::reportLineWriteFailure() const
{
    messages().ShowFailure(QStringLiteral("明細行に書き込めませんでした。"), session_.WorkDb().lastError());
}

void DetailGrid::Grid明細_BeforeColUpdate(int row, int col, QString& text, bool& cancel)
{
    if (isSubtotalLine(row)) {
        if (col == 品名 || col == 数量 || col == 単位 || col == 単価) {
            cancel = true;
            messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), kSubtotalLineRefusal);
        }
        return;
    }
    if (IsNumberColumn(col)) {
        switch (ClassifyNumber(col, text)) {
        case NumberInput::Number: break;
        case NumberInput::Empty: text.clear(); break;  // a cleared cell holds no value
        case NumberInput::BeyondLimit:
            text.clear();
            returnToCell(Grid明細, row, col);
            break;
        case NumberInput::NotANumber: cancel = true; break;  // the old value stays
        }
    } else if (col == 品名) {
        text = CutToShiftJis(text);
    }
}

void DetailGrid::Grid明細_AfterColUpdate(int row, int col)
{
    switch (col) {
    case 品名: {
        ProductLookup& r = ProductLookupRecord;
        const QString name = TrimBlanks(wkDat->text(row, 品名));
        r.品名 = name;
        Seek商品();
        // The line amount stays as it is until 数量 or 単価 is edited.
        if (!wkDat->setValues(row, {{品名, name},
                                    {単位, r.単位},
                                    {単価, r.単価 != Currency() ? QVariant::fromValue(r.単価) : QVariant()},
                                    {非課税, r.非課税},
                                    {ふりがな, r.ふりがな}}))
            reportLineWriteFailure();
        break;
    }
    case 商品区分:
    case 入数:
    case 単位: {
        const QString kind = col == 商品区分 ? QStringLiteral("商品区分")
                             : col == 入数   ? PackCodeKind(session_.設定情報)
                                             : QStringLiteral("単位");
        const QString text = wkDat->text(row, col);
        if (!text.isEmpty() && AutoEntryCode(session_.DataDb(), kind, text) == CodeEntry::Added) emit codeAdded(kind);
        break;
    }
    case 数量:
    case 単価:
        takeLineAmount(row);
        break;
    default: break;
    }
    // Every edit is in w明細 already (the model writes at once).
    Calc明細();
}

void DetailGrid::Grid明細_Recommitted(int row, int col)
{
    // The same value typed again still counts again: the rounding or tax
    // settings may have changed since the line was last counted.
    if (col == 数量 || col == 単価) takeLineAmount(row);
    Calc明細();
}

void DetailGrid::takeLineAmount(int row)
{
    if (!wkDat->setMoney(row, 金額, LineAmount(wkDat->money(row, 数量), wkDat->money(row, 単価), session_.設定情報.行端数)))
        reportLineWriteFailure();
    DetailsChanged = true;
}

void DetailGrid::Grid明細_ComboSelect(int col, int sourceRow)
{
    if (col != 品名 || !dat商品参照 || !wkDat) return;
    const int row = Grid明細->currentRow();
    if (row < 0 || isSubtotalLine(row) || sourceRow < 0 || sourceRow >= dat商品参照->rowCount()) return;
    const auto pick = [this, sourceRow](int c) { return dat商品参照->value(sourceRow, c); };
    if (!wkDat->setValues(row, {{品名, CutToShiftJis(dbv::text(pick(ProductPickColumn::品名)))},
                                {商品区分, pick(ProductPickColumn::商品区分)},
                                {入数, pick(ProductPickColumn::入数)},
                                {単位, pick(ProductPickColumn::単位)},
                                {単価, pick(ProductPickColumn::単価)},
                                {非課税, pick(ProductPickColumn::非課税)},
                                {ふりがな, pick(ProductPickColumn::ふりがな)}})) {
        reportLineWriteFailure();
        return;
    }
    // The picked price counts as a typed one: the line and the totals follow it.
    takeLineAmount(row);
    Calc明細();
    Grid明細->setCurrentCell(row, 数量);
}

void DetailGrid::Grid明細_KeyDown(int& key)
{
    // A value beyond its limit was emptied: the cursor stays on it.
    if (Grid明細->property(kReturnCell).isValid()) {
        key = 0;
        return;
    }
    if (key != VKey::Enter || Grid明細->currentColumn() != 金額) return;
    const int row = Grid明細->currentRow();
    if (row < 0 || !wkDat) return;
    key = 0;
    Grid明細->setCurrentCell(std::min(row + 1, wkDat->rowCount() - 1), 品名);
}

void DetailGrid::Grid明細_RowColChange(int, int col)
{
    SetImeOpen(Grid明細, col == 品名 || col == 単位);
}

void DetailGrid::Seek商品()
{
    LookupProduct(session_.DataDb(), ProductLookupRecord);
}
