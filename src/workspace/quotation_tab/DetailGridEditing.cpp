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
#include "platform/NumberFormat.h"
#include "platform/WorkTableModel.h"

#include <QTimer>

using namespace DetailLine;

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
        const QString typed = text;
        const TypedNumber number = ReadTypedNumber(col, typed, shownDecimals(col));
        switch (number.input) {
        case NumberInput::Empty: text.clear(); break;  // a cleared cell holds no value
        case NumberInput::Number: {
            // 数量 and 単価 must still make a line amount 金額 can hold.
            const QString& mode = session_.設定情報.行端数;
            const bool fits = col == 数量   ? LineAmountFits(number.value, wkDat->money(row, 単価), mode)
                              : col == 単価 ? LineAmountFits(wkDat->money(row, 数量), number.value, mode)
                                            : true;
            if (!fits) {
                cancel = true;
                handBack(row, col, typed, [this] {
                    messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), LineAmountBeyondLimit());
                });
                break;
            }
            text = number.value->toPlainString();  // the value the cell shows
            break;
        }
        case NumberInput::BeyondLimit:
        case NumberInput::NotANumber: {
            cancel = true;
            const NumberLimits limits = LimitsOf(col);
            handBack(row, col, typed, [this, col, typed, limits] {
                messages().ShowRefusedNumber(wkDat->column(col).field, typed, limits.low, limits.high);
            });
            break;
        }
        }
    } else if (col == 品名) {
        text = CutToShiftJis(text);
    }
}

void DetailGrid::handBack(int row, int col, const QString& typed, const std::function<void()>& tell)
{
    // Once the grid has closed the editor: the warning, then the typed text
    // back in its cell (nothing of it was written), unless the line or the
    // window has gone meanwhile.
    const qint64 rowid = wkDat->rowid(row);
    ++handBacksPending_;
    QTimer::singleShot(0, this, [this, rowid, col, typed, tell] {
        --handBacksPending_;
        if (!isVisible()) return;
        tell();
        for (int r = 0; wkDat && r < wkDat->rowCount(); ++r) {
            if (wkDat->rowid(r) != rowid) continue;
            Grid明細->reopenEditor(r, col, typed);
            return;
        }
    });
}

int DetailGrid::shownDecimals(int col) const
{
    return NumberFormat::decimalsOf(wkDat->column(col).format);
}

void DetailGrid::Grid明細_AfterColUpdate(int row, int col)
{
    switch (col) {
    case 品名: {
        ProductLookup& r = ProductLookupRecord;
        const QString name = TrimBlanks(wkDat->text(row, 品名));
        r.品名 = name;
        Seek商品();
        if (!wkDat->setValues(row, {{品名, name},
                                    {単位, r.単位},
                                    {単価, r.単価 != Currency() ? QVariant::fromValue(r.単価) : QVariant()},
                                    {非課税, r.非課税},
                                    {ふりがな, r.ふりがな}})) {
            reportLineWriteFailure();
            break;
        }
        takeProductPrice(row);
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

void DetailGrid::takeProductPrice(int row)
{
    std::optional<Currency> price = wkDat->money(row, 単価);
    if (price) {
        // A stored price may hold more places than the column shows: the
        // line keeps it as shown, as a typed price, so the line multiplies out.
        const Currency shown = ShownValue(*price, shownDecimals(単価));
        if (shown != *price && !wkDat->setMoney(row, 単価, shown)) {
            reportLineWriteFailure();
            return;
        }
        price = shown;
    }
    const std::optional<Currency> quantity = wkDat->money(row, 数量);
    if (quantity) {
        const QString& mode = session_.設定情報.行端数;
        if (!LineAmountFits(quantity, price, mode))
            messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), LineAmountBeyondLimit());
        if (!wkDat->setMoney(row, 金額, LineAmount(quantity, price, mode))) reportLineWriteFailure();
    }
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
    // The line and the totals follow the picked price.
    takeProductPrice(row);
    Calc明細();
    Grid明細->setCurrentCell(row, 数量);
}

void DetailGrid::Grid明細_KeyDown(int& key)
{
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
