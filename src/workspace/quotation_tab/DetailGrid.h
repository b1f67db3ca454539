#pragma once
// The detail grid of the quotation tab: Grid明細 over the 100 lines of the
// work table w明細 (model wkDat), the grid's drop-down lists, the rules laid
// over the user's cell edits, the subtotal and line-delete buttons under the
// grid, and the totals of the lines. Its controls are private; the tab reaches
// the lines through the routines below and shows the totals it announces.
//
// The part spans the grid and its two buttons (from twips 120, 4080 of the
// tab page); the tab's other buttons in that row, to the right of the part's,
// are made after it and so lie on top of its empty area.

#include "app/ProductMaster.h"
#include "workspace/Calculation.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

class QPushButton;
class Database;
class GridView;
class MessageCatalog;
class Session;
class ShownSettings;
class WorkTableModel;
struct ProductPick;
struct SettingsRecord;

class DetailGrid : public QWidget {
    Q_OBJECT
public:
    DetailGrid(Session& session, const ShownSettings& shownSettings, QWidget* parent);

    // The code lists behind the grid's drop-downs (w単位参照, w商品区分参照, w入数参照).
    enum class CodeList { Unit, Category, Pack };  // 単位, 商品区分, 入数

    // ---- Layout ----------------------------------------------------------------
    // The models over w明細 and the drop-down tables, the column kinds and
    // the grid's handlers on them.
    void bindGrid();
    // Number formats, captions, widths, visibility and alignment of the
    // columns and of the product drop-down by the settings.
    void applyLayout(const SettingsRecord& settings);

    // ---- The lines -------------------------------------------------------------
    // Rebuilds w明細 as 100 empty lines.
    void Clear明細ワーク();
    // The lines of w明細 in line order; nothing (error set) when they cannot be read.
    std::optional<QList<QuotationLine>> lines(Failure* error) const;
    // Replaces the lines of w明細 (all or nothing); false (error set) when
    // they could not be written. The grid shows them once showLines is called.
    bool writeLines(const QList<QuotationLine>& lines, Failure* error);
    // The grid reads w明細 again. `loaded`: the lines are a stored
    // quotation's, just loaded: the totals are computed, and the quotation
    // amount stays the stored one until a quantity or price is typed.
    void showLines(bool loaded);
    // The cell being edited goes into w明細. False when the grid refused it
    // or w明細 did not take it (its warning or the failure box says why).
    bool commitEdit();
    // A cell is being typed (its editor holds text other than the cell's,
    // or a refused text is on its way back into its cell).
    bool cellBeingTyped() const;
    void focusGrid();
    // The focus into the grid, on the 品名 column of the current line.
    void focusNameColumn();
    // Recomputes the totals and the amount of every subtotal line from the
    // committed lines of w明細, and announces them with totalsChanged.
    void Calc明細();
    // Empty at start; True once a quantity or unit price was typed since the
    // last load: the quotation amount then follows the total. A load sets False.
    std::optional<bool> detailsChanged() const { return DetailsChanged; }
    void setDetailsChanged(std::optional<bool> changed) { DetailsChanged = changed; }

    // ---- Drop-down lists -------------------------------------------------------
    // Rebuilds the product list w商品参照 from the product master.
    void SetDD品名();
    // A code list's work table was rebuilt: its drop-down reads it again.
    void refreshCodeList(CodeList list);

    // ---- Products written into the current line ----------------------------------
    // The other windows' pick (the tab's port): the given fields into the
    // current line, the main window forward with the line's 品名 current.
    // False (with the refusal on a subtotal line) when nothing was written.
    bool pickProduct(const ProductPick& pick);
    // The current line for the product-detail panel; nothing when there is none.
    std::optional<int> currentLine() const;
    // The product of the current line; nothing on a subtotal line or without a line.
    std::optional<ProductDetail> currentProduct() const;
    // The panel's stored product into line `row`; its price counts as a typed
    // one. False when the line could not be written.
    bool writeProduct(int row, const ProductDetail& product);
    // True when row `row` of w明細 (0-based: line row + 1) is a subtotal line,
    // whose 品名, 数量, 単位 and 単価 no writer may change (refused with
    // DetailLine::kSubtotalLineRefusal as ("その他", "注意", ...)).
    bool isSubtotalLine(int row) const;

    // The product look-up of the last 品名 typed.
    const ProductLookup& productLookupRecord() const { return ProductLookupRecord; }

signals:
    // The figures of the last Calc明細, for the total boxes.
    void totalsChanged(const CalcResult& result);
    // A typed 商品区分, 入数 or 単位 value was added to the code list of `kind`.
    void codeAdded(const QString& kind);

private:
    // ---- Handlers of the grid and its buttons ------------------------------------
    void Seek商品();
    void Create小計();
    void LineDelete();
    void cmd小計_Click();
    void cmd行削除_Click();
    // The grid's handlers on wkDat and Grid明細.
    void Grid明細_BeforeColUpdate(int row, int col, QString& text, bool& cancel);
    void Grid明細_AfterColUpdate(int row, int col);
    void Grid明細_Recommitted(int row, int col);
    void Grid明細_ComboSelect(int col, int sourceRow);
    void Grid明細_KeyDown(int& key);
    void Grid明細_RowColChange(int row, int col);

    void connectEditing();
    void connectModel();
    // The grid reads w明細 again (it was written behind the model).
    void refresh();
    const MessageCatalog& messages() const;
    // A write of w明細 that a handler made for the user's edit or pick failed:
    // the failure box with the database's words.
    void reportLineWriteFailure() const;
    // The line's 数量 or 単価 was typed: its 金額 becomes 数量 × 単価 by the
    // line rounding (none when either is empty), and the quotation amount
    // follows the total again (DetailsChanged). The caller recomputes the totals.
    void takeLineAmount(int row);
    // A product's price was written into the line (a typed 品名, a pick from
    // the list, the product window or the product-detail panel), all alike:
    // the price is kept as its column shows it, as a typed price is; a
    // line with a 数量 takes 数量 × 単価 as its 金額 (none without a price), a
    // line without one keeps its 金額 (an amount typed on its own); the
    // quotation amount follows the total again. The caller recomputes the totals.
    void takeProductPrice(int row);
    // A typed value the grid refused: once the grid has closed the editor,
    // `tell` says why and the typed text goes back into its cell for
    // correction. Nothing of it is written.
    void handBack(int row, int col, const QString& typed, const std::function<void()>& tell);
    // The places a number column shows by its display format: a typed value
    // is kept to them, so the value kept is the value shown.
    int shownDecimals(int col) const;
    // Changes the line structure at line n in w明細 (a subtotal line inserted,
    // a line deleted) and reads it again; then the failure box, or the cursor
    // back on line n in its column, the totals recomputed and the grid focused.
    void changeLines(int n, bool (*change)(Database& work, int n, Failure* error), const QString& failure);

    Session& session_;
    const ShownSettings& shownSettings_;

    GridView* Grid明細 = nullptr;
    QPushButton* cmd行削除 = nullptr;
    QPushButton* cmd小計 = nullptr;
    // Models are bound by bindGrid. The drop-downs of the grid (DD商品参照,
    // DD商品区分, DD入数, DD単位参照) show the rows and columns of
    // dat商品参照, dat商品区分, dat入数参照 and dat単位参照.
    WorkTableModel* wkDat = nullptr;
    WorkTableModel* dat商品参照 = nullptr;
    WorkTableModel* dat単位参照 = nullptr;
    WorkTableModel* dat入数参照 = nullptr;
    WorkTableModel* dat商品区分 = nullptr;

    std::optional<bool> DetailsChanged;
    // Refused texts handed back to their cells, not yet there.
    int handBacksPending_ = 0;
    ProductLookup ProductLookupRecord;
    // Background of subtotal lines.
    QColor SyokeiLineStyle = QColor(0xE0, 0xE0, 0xE0);
};
