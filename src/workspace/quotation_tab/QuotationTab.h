#pragma once
// The quotation tab of the main window: the header of one quotation and its
// 100 detail lines on the work table w明細, the totals and the subtotal lines.
// The header panel (HeaderPanel: number, customer and its look-ups, terms,
// seals, totals, own company), the quotation keeper (QuotationKeeper:
// numbering, storing, loading and deleting), the product-detail panel
// (ProductDetailPanel) and the print panel (PrintPanel) are parts it owns.
// Its controls are private; other windows reach it through QuotationPort, the
// frame through its public routines and its signals.
//
// Controls carry their own names as objectName ("txtNo", "Grid明細", ...);
// tests find them by these names.

#include "app/QuotationPort.h"
#include "platform/Controls.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationStore.h"

#include <QColor>
#include <QVariant>
#include <QWidget>
#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class GridView;
class HeaderPanel;
class HistoryList;
class MessageCatalog;
class PrintPanel;
class ProductDetailPanel;
class QuotationKeeper;
class Session;
class ShownSettings;
class WorkTableModel;
struct PrintSettingsEntry;
struct SettingsRecord;

class QuotationTab : public QWidget, public QuotationPort {
    Q_OBJECT
public:
    QuotationTab(Session& session, const ShownSettings& shownSettings, HistoryList& history, QWidget* parent = nullptr);
    ~QuotationTab() override;

    // ---- Layout from the settings (the main window's FormInit) -------------------
    // The grids' models over their work tables.
    void bindGrids();
    // Date format, seal boxes, detail grid and product list by the settings,
    // the product-detail panel's place, and the own-company labels in the
    // fonts of the A4 layout (entry: nothing keeps the designed fonts).
    void applyLayout(const SettingsRecord& settings, const PrintSettingsEntry* a4);
    // The own-company labels in the fonts of the A4 layout's entry (again after
    // the A4 print settings were saved).
    void applyOwnCompanyFonts(const PrintSettingsEntry& a4);
    // The own-company captions from the settings record.
    void showOwnCompany();

    // ---- Quotation screen -----------------------------------------------------------
    void Clear明細ワーク();
    void Clear見積書(bool all);
    void SetDD品名();
    void Readコード表(const QString& kind);
    void Calc明細();
    // The stored quotations changed behind the screen (a data conversion):
    // a new quotation on screen whose number is now stored takes a free one
    // (QuotationKeeper::renewNumberIfStored).
    void renewNumberIfStored();

    // ---- Detail grid editing, subtotals ---------------------------------------------
    void Seek商品();
    void Create小計();
    void LineDelete();
    void cmd小計_Click();
    void cmd行削除_Click();
    // The detail grid's handlers on wkDat and Grid明細.
    void Grid明細_BeforeColUpdate(int row, int col, QString& text, bool& cancel);
    void Grid明細_AfterColUpdate(int row, int col);
    void Grid明細_Recommitted(int row, int col);
    void Grid明細_ComboSelect(int col, int sourceRow);
    void Grid明細_KeyDown(int& key);
    void Grid明細_RowColChange(int row, int col);
    // True when row `row` of w明細 (0-based: line row + 1) is a subtotal line,
    // whose 品名, 数量, 単位 and 単価 no writer may change (refused with
    // DetailLine::kSubtotalLineRefusal as ("その他", "注意", ...)).
    bool isSubtotalLine(int row) const;

    // The history tab's open: the number into txtNo, committed, the grid focused.
    void openNumber(const QString& number);

    // ---- Product-detail panel ---------------------------------------------------------
    // Opens the product-detail panel on the current line (not on a subtotal line).
    void cmd商品詳細_Click();

    // ---- Print panel ----------------------------------------------------------------
    // The one way a print request leaves this tab: the frame sets the handler.
    void setPrintHandler(PrintHandler handler);

    // ---- What the frame opens ---------------------------------------------------------
signals:
    void closeClicked();           // cmd閉じる
    void codeListClicked();        // cmdコード
    void customerMasterClicked();  // cmd顧客マスタ
    void productMasterClicked();   // cmd商品
    void ownNameDoubleClicked();   // lbl自社名
    void ownInfoDoubleClicked();   // lbl自社情報

public:
    // ---- QuotationPort --------------------------------------------------------------
    void pickCustomer(const QString& name, const QString& block) override;
    bool pickProduct(const ProductPick& pick) override;
    void setCustomerName(const QString& name) override;
    ShownQuotation shownQuotation() const override;
    void focusDetailGrid() override;

    // ---- State of the tab ------------------------------------------------------------
    // Empty at start; True once a quantity or unit price was typed since the
    // last load: the quotation amount then follows the total.
    std::optional<bool> DetailsChanged;
    ProductLookup ProductLookupRecord;
    // Background of subtotal lines in the detail grid.
    QColor SyokeiLineStyle;

private:
    void build();
    // ---- The screen reset and the print panel: handlers of the tab's own controls
    void AddCmb顧客名();
    void cmdクリア_Click();
    // Opens the panel: the date ticked, the paper list rebuilt with the default paper.
    void cmd印刷_Click();
    // The panel's request: a print asks for confirmation first and stops on
    // No; then the request (paper, print or preview, date or not) goes to the handler.
    void ExecPrn(const PrintRequest& request);

    // Each area's source file connects its own controls.
    void connectQuotationScreen();
    void connectGridEditing();
    void connectDetailGrid();
    void connectSubtotals();
    void connectProductPanel();
    void connectPrintPanel();
    // What the quotation keeper reads and writes of the detail lines and the screen.
    QuotationKeeper* makeKeeper(QPushButton* cmd登録, QPushButton* cmd削除, QPushButton* cmd転記);

    const MessageCatalog& messages() const;
    // A write of w明細 that a handler made for the user's edit or pick failed:
    // the failure box with the database's words.
    void reportLineWriteFailure() const;
    // The line's 数量 or 単価 changed, typed or picked: its 金額 becomes
    // 数量 × 単価 by the line rounding, and the quotation amount follows the
    // total again (DetailsChanged). The caller recomputes the totals.
    void takeLineAmount(int row);
    // The paper list "A4白紙", "B5白紙", "Q-310" with the default paper of the settings.
    void resetPaperChoice();

    HeaderPanel* header_ = nullptr;
    QuotationKeeper* keeper_ = nullptr;
    ProductDetailPanel* productPanel_ = nullptr;  // Cn商品詳細
    PrintPanel* printPanel_ = nullptr;            // Cn印刷選択

    // Detail grid and its lists (models are bound by bindGrids). The
    // drop-downs of the detail grid (DD商品参照, DD商品区分, DD入数, DD単位参照)
    // show the rows and columns of dat商品参照, dat商品区分, dat入数参照 and dat単位参照.
    GridView* Grid明細 = nullptr;
    WorkTableModel* wkDat = nullptr;
    WorkTableModel* dat商品参照 = nullptr;
    WorkTableModel* dat単位参照 = nullptr;
    WorkTableModel* dat入数参照 = nullptr;
    WorkTableModel* dat商品区分 = nullptr;

    // Buttons
    QPushButton* cmd行削除 = nullptr;
    QPushButton* cmd小計 = nullptr;
    QPushButton* cmd商品詳細 = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd印刷 = nullptr;
    QPushButton* cmd閉じる = nullptr;
    QPushButton* cmd顧客マスタ = nullptr;
    QPushButton* cmd商品 = nullptr;
    QPushButton* cmdコード = nullptr;


    Session& session_;
    const ShownSettings& shownSettings_;
    HistoryList& history_;
    PrintHandler printHandler_;
};
