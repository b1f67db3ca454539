#pragma once
// The quotation tab of the main window: one quotation on screen and its code
// lists. The header panel (HeaderPanel: number, customer and its look-ups,
// terms, seals, totals, own company), the detail grid (DetailGrid: the 100
// lines on the work table w明細, their editing, subtotals and totals), the
// quotation keeper (QuotationKeeper: numbering, storing, loading and
// deleting), the pick lists (PickLists: code lists and customer names), the product-detail panel (ProductDetailPanel) and the print panel
// (PrintPanel) are parts it owns. Its controls are private; other windows
// reach it through QuotationPort, the frame through its public routines and
// its signals.
//
// Controls carry their own names as objectName ("txtNo", "Grid明細", ...);
// tests find them by these names.

#include "app/QuotationPort.h"
#include "workspace/QuotationStore.h"

#include <QWidget>
#include <memory>
#include <optional>

class QPushButton;
class DetailGrid;
class HeaderPanel;
class HistoryList;
class MessageCatalog;
class PrintPanel;
class ProductDetailPanel;
class PickLists;
class QuotationKeeper;
class Session;
class ShownSettings;
struct PrintSettingsEntry;
struct SettingsRecord;

class QuotationTab : public QWidget, public QuotationPort {
    Q_OBJECT
public:
    QuotationTab(Session& session, const ShownSettings& shownSettings, HistoryList& history, QWidget* parent = nullptr);
    ~QuotationTab() override;

    // ---- Layout from the settings (the main window's FormInit) -------------------
    // The detail grid's models over their work tables.
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
    void Clear見積書(bool all);
    // The code lists of kind `kind` ("すべて": all) into the parts (PickLists).
    void Readコード表(const QString& kind);
    // The stored quotations changed behind the screen (a data conversion):
    // a new quotation on screen whose number is now stored takes a free one
    // (QuotationKeeper::renewNumberIfStored).
    void renewNumberIfStored();

    // The history tab's open: the number into txtNo, committed, the grid focused.
    void openNumber(const QString& number);
    // The quotation on screen differs from what the last reset, load or store
    // left (the number aside), or holds typed text not yet taken.
    bool holdsUnsavedChanges() const;

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

private:
    void build();
    // ---- The screen reset and the print panel: handlers of the tab's own controls
    void cmdクリア_Click();
    // Opens the panel: the date ticked, the paper list rebuilt with the default paper.
    void cmd印刷_Click();
    // The panel's request: a print asks for confirmation first and stops on
    // No; then the request (paper, print or preview, date or not) goes to the handler.
    void ExecPrn(const PrintRequest& request);

    // Each area's source file connects its own controls.
    void connectQuotationScreen();
    void connectProductPanel();
    void connectPrintPanel();
    // What the quotation keeper reads and writes of the detail lines and the screen.
    QuotationKeeper* makeKeeper(QPushButton* cmd登録, QPushButton* cmd削除, QPushButton* cmd転記);

    const MessageCatalog& messages() const;
    // The screen as it stands counts as unchanged (after a reset or a load).
    void keepAsUnchanged();
    // The paper list "A4白紙", "B5白紙", "Q-310" with the default paper of the settings.
    void resetPaperChoice();

    HeaderPanel* header_ = nullptr;
    DetailGrid* grid_ = nullptr;                  // Grid明細 and its lines
    QuotationKeeper* keeper_ = nullptr;
    ProductDetailPanel* productPanel_ = nullptr;  // Cn商品詳細
    PrintPanel* printPanel_ = nullptr;            // Cn印刷選択
    std::unique_ptr<PickLists> lists_;
    // The quotation as the last reset or load left it; nothing when its lines
    // could not be read.
    std::optional<QuotationRecord> unchanged_;

    // Buttons
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
