// The quotation tab as a whole: its construction, its layout from the
// settings, the hooks of the product-detail and print panels, and the port
// other windows use.

#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/PickLists.h"
#include "workspace/quotation_tab/PrintPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"
#include "workspace/quotation_tab/QuotationKeeper.h"

#include "app/MessageCatalog.h"
#include "app/PrintSettings.h"
#include "app/Session.h"
#include "app/PackColumn.h"
#include "platform/Twips.h"

#include <QPushButton>

// ---------------------------------------------------------------- the tab

QuotationTab::QuotationTab(Session& session, const ShownSettings& shownSettings, HistoryList& history, QWidget* parent)
    : QWidget(parent), session_(session), shownSettings_(shownSettings), history_(history)
{
    setObjectName(QStringLiteral("tabQuotation"));
    build();
    connectQuotationScreen();
    connectProductPanel();
    connectPrintPanel();
    // Enter in the customer box or the last term box moves into the detail grid.
    connect(header_, &HeaderPanel::leftHeader, this, [this](bool fromCustomer) {
        if (fromCustomer)
            grid_->focusNameColumn();
        else
            grid_->focusGrid();
    });
    connect(cmd閉じる, &QPushButton::clicked, this, &QuotationTab::closeClicked);
    connect(header_, &HeaderPanel::codeListClicked, this, &QuotationTab::codeListClicked);
    connect(header_, &HeaderPanel::customerMasterClicked, this, &QuotationTab::customerMasterClicked);
    connect(header_, &HeaderPanel::productMasterClicked, this, &QuotationTab::productMasterClicked);
    connect(header_, &HeaderPanel::ownNameDoubleClicked, this, &QuotationTab::ownNameDoubleClicked);
    connect(header_, &HeaderPanel::ownInfoDoubleClicked, this, &QuotationTab::ownInfoDoubleClicked);
    // The detail grid's figures go to the total boxes; a code it added is listed at once.
    connect(grid_, &DetailGrid::totalsChanged, this, [this](const CalcResult& r) { header_->showTotals(r); });
    connect(grid_, &DetailGrid::codeAdded, this, &QuotationTab::Readコード表);
}

void QuotationTab::Readコード表(const QString& kind)
{
    lists_->Readコード表(kind);
}

QuotationTab::~QuotationTab()
{
    // The tab's own members go before its parts: a cell still being typed,
    // committed as the parts are closed, reaches no routine of the tab.
    grid_->disconnect(this);
}

const MessageCatalog& QuotationTab::messages() const
{
    return session_.messages();
}

void QuotationTab::applyLayout(const SettingsRecord& s, const PrintSettingsEntry* a4)
{
    // The product-detail panel.
    productPanel_->move(twips(4080), twips(780));

    // The date format by the era setting, the seal boxes.
    header_->applyLayout(s.年号 == QStringLiteral("和暦"));

    // The detail grid's columns; the panel's pack-quantity caption as the grid's.
    grid_->applyLayout(s);
    productPanel_->setPackCaption(PackColumnCaption(s.入数列タイトル));

    if (a4) applyOwnCompanyFonts(*a4);
}

void QuotationTab::bindGrids()
{
    grid_->bindGrid();
}

void QuotationTab::applyOwnCompanyFonts(const PrintSettingsEntry& a4)
{
    header_->applyOwnCompanyFonts(a4);
}

void QuotationTab::showOwnCompany()
{
    header_->showOwnCompany(session_.設定情報.自社名, MultiLineEdit::fromStored(session_.設定情報.自社情報));
}

// ---------------------------------------------------------------- product-detail panel

void QuotationTab::connectProductPanel()
{
    connect(cmd商品詳細, &QPushButton::clicked, this, &QuotationTab::cmd商品詳細_Click);
    connect(productPanel_, &ProductDetailPanel::codeListsRequested, this,
            [this] { Readコード表(QStringLiteral("すべて")); });
    connect(productPanel_, &ProductDetailPanel::closed, this, &QuotationTab::focusDetailGrid);
    ProductDetailPanel::Line line;
    line.current = [this] { return grid_->currentLine(); };
    line.isSubtotal = [this](int row) { return grid_->isSubtotalLine(row); };
    line.write = [this](int row, const ProductDetail& product) { return grid_->writeProduct(row, product); };
    productPanel_->setLine(std::move(line));
}

void QuotationTab::cmd商品詳細_Click()
{
    if (const std::optional<ProductDetail> product = grid_->currentProduct()) productPanel_->showProduct(*product);
}

// ---------------------------------------------------------------- quotation keeper

QuotationKeeper* QuotationTab::makeKeeper(QPushButton* cmd登録, QPushButton* cmd削除, QPushButton* cmd転記)
{
    QuotationKeeper::Lines lines;
    lines.commitEdit = [this] { return grid_->commitEdit(); };
    lines.read = [this](Failure* error) { return grid_->lines(error); };
    lines.write = [this](const QList<QuotationLine>& written, Failure* error) { return grid_->writeLines(written, error); };
    lines.show = [this](bool loaded) {
        grid_->showLines(loaded);
        if (loaded) keepAsUnchanged();
    };
    lines.focus = [this] { focusDetailGrid(); };
    lines.clearScreen = [this](bool all) { Clear見積書(all); };
    return new QuotationKeeper(session_, *header_, std::move(lines), cmd登録, cmd削除, cmd転記, this);
}

void QuotationTab::openNumber(const QString& number)
{
    keeper_->openNumber(number);
}

void QuotationTab::renewNumberIfStored()
{
    keeper_->renewNumberIfStored();
}

// ---------------------------------------------------------------- print panel

void QuotationTab::connectPrintPanel()
{
    connect(cmd印刷, &QPushButton::clicked, this, &QuotationTab::cmd印刷_Click);
    connect(printPanel_, &PrintPanel::printRequested, this, &QuotationTab::ExecPrn);
    connect(printPanel_, &PrintPanel::cancelled, this, &QuotationTab::focusDetailGrid);
}

void QuotationTab::resetPaperChoice()
{
    printPanel_->resetPaperChoice(session_.設定情報.印刷用紙);
}

void QuotationTab::cmd印刷_Click()
{
    printPanel_->open(session_.設定情報.印刷用紙);
}

void QuotationTab::ExecPrn(const PrintRequest& request)
{
    // The line being edited reaches w明細 before anything reads it; a value
    // refused there or in the header is not printed over (its warning says why).
    if (!grid_->commitEdit() || !header_->commitTyped()) return;
    // A print asks first (No is the default); a preview never asks.
    if (request.print && !messages().ShowMessage(QStringLiteral("印刷"), QStringLiteral("確認"), QStringLiteral("見積書")))
        return;
    if (printHandler_) printHandler_(request);
}

void QuotationTab::setPrintHandler(PrintHandler handler)
{
    printHandler_ = std::move(handler);
}

// ---------------------------------------------------------------- the port

void QuotationTab::pickCustomer(const QString& name, const QString& block)
{
    if (!name.isEmpty()) header_->setCustomerName(name);
    if (!block.isEmpty()) header_->setCustomerBlock(block);
    header_->focusCustomer();
}

bool QuotationTab::pickProduct(const ProductPick& pick)
{
    return grid_->pickProduct(pick);
}

void QuotationTab::setCustomerName(const QString& name)
{
    header_->setCustomerName(name);
}

ShownQuotation QuotationTab::shownQuotation() const
{
    ShownQuotation q;
    header_->fillShown(q);
    return q;
}

void QuotationTab::focusDetailGrid()
{
    grid_->focusGrid();
}
