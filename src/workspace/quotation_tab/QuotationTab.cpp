// The quotation tab as a whole: its construction, its layout from the
// settings, the print panel's hook, and the port other windows use.

#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/PrintPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"
#include "workspace/quotation_tab/QuotationKeeper.h"

#include "app/MessageCatalog.h"
#include "app/PrintSettings.h"
#include "app/Session.h"
#include "app/PackColumn.h"
#include "platform/JapaneseText.h"
#include "platform/GridView.h"
#include "platform/Twips.h"
#include "platform/WorkTableModel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

using namespace DetailLine;

// ---------------------------------------------------------------- the tab

QuotationTab::QuotationTab(Session& session, const ShownSettings& shownSettings, HistoryList& history, QWidget* parent)
    : QWidget(parent), session_(session), shownSettings_(shownSettings), history_(history)
{
    setObjectName(QStringLiteral("tabQuotation"));
    build();
    connectQuotationScreen();
    connectGridEditing();
    connectSubtotals();
    connectProductPanel();
    connectPrintPanel();
    // Enter in the customer box or the last term box moves into the detail grid.
    connect(header_, &HeaderPanel::leftHeader, this, [this](bool fromCustomer) {
        Grid明細->setFocus();
        if (fromCustomer) Grid明細->setCurrentColumn(DetailLine::品名);
    });
    connect(cmd閉じる, &QPushButton::clicked, this, &QuotationTab::closeClicked);
    connect(header_, &HeaderPanel::codeListClicked, this, &QuotationTab::codeListClicked);
    connect(header_, &HeaderPanel::customerMasterClicked, this, &QuotationTab::customerMasterClicked);
    connect(header_, &HeaderPanel::productMasterClicked, this, &QuotationTab::productMasterClicked);
    connect(header_, &HeaderPanel::ownNameDoubleClicked, this, &QuotationTab::ownNameDoubleClicked);
    connect(header_, &HeaderPanel::ownInfoDoubleClicked, this, &QuotationTab::ownInfoDoubleClicked);
    SyokeiLineStyle = QColor(0xE0, 0xE0, 0xE0);
}

QuotationTab::~QuotationTab() = default;

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

    // Number formats of 数量, 単価 and 金額 by the decimals setting.
    const bool quantityDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("数量");
    const bool priceDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("単価");
    wkDat->column(数量).format = quantityDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(単価).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(金額).format = QStringLiteral("#,###");

    // Captions, widths (twips), visibility and alignment.
    const struct {
        int col;
        const char16_t* caption;
        double width;
    } shown[] = {
        {品名, u"品　　名", 4500}, {入数, nullptr, 1500.095}, {数量, u"数 量", 1065.26},
        {単位, u"単位", 734.7402},  {単価, u"単 価", 1169.787}, {金額, u"金 額", 1170.835},
    };
    for (const auto& c : shown) {
        if (c.caption) wkDat->column(c.col).caption = QString::fromUtf16(c.caption);
        wkDat->column(c.col).widthTwips = qRound(c.width);
        wkDat->column(c.col).visible = true;
    }
    wkDat->column(商品区分).widthTwips = qRound(1065.26);
    for (int c : {行番号, 非課税, ふりがな, 小計}) wkDat->column(c).visible = false;
    wkDat->column(単位).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    for (int c : {単価, 数量, 金額}) wkDat->column(c).alignment = Qt::AlignRight | Qt::AlignVCenter;

    // The pack-quantity column is titled by its setting.
    const QString packCaption = PackColumnCaption(s.入数列タイトル);
    wkDat->column(入数).caption = packCaption;
    productPanel_->setPackCaption(packCaption);
    Grid明細->applyColumns();

    // The product drop-down.
    dat商品参照->column(ProductPickColumn::品名).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::入数).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単位).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単価).alignment = Qt::AlignRight | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単価).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    dat商品参照->column(ProductPickColumn::品名).caption = QStringLiteral("品　　名");
    dat商品参照->column(ProductPickColumn::単位).caption = QStringLiteral("単位");
    dat商品参照->column(ProductPickColumn::単価).caption = QStringLiteral("単 価");
    dat商品参照->column(ProductPickColumn::入数).caption = packCaption;
    dat商品参照->columnsChanged();

    if (a4) applyOwnCompanyFonts(*a4);
}

void QuotationTab::applyOwnCompanyFonts(const PrintSettingsEntry& a4)
{
    header_->applyOwnCompanyFonts(a4);
}

void QuotationTab::showOwnCompany()
{
    header_->showOwnCompany(session_.設定情報.自社名, MultiLineEdit::fromStored(session_.設定情報.自社情報));
}

// ---------------------------------------------------------------- quotation keeper

QuotationKeeper* QuotationTab::makeKeeper(QPushButton* cmd登録, QPushButton* cmd削除, QPushButton* cmd転記)
{
    QuotationKeeper::Lines lines;
    lines.commitEdit = [this] {
        if (!Grid明細 || !wkDat) return true;
        bool written = true;
        const auto failed = connect(wkDat, &WorkTableModel::writeFailed, this, [&written] { written = false; });
        Grid明細->commitEdit();
        disconnect(failed);
        return written;
    };
    lines.read = [this](QString* error) -> std::optional<QList<QuotationLine>> {
        bool ok = false;
        QList<QuotationLine> read = ReadWorkLines(session_.WorkDb, &ok);
        if (ok) return read;
        if (error) *error = session_.WorkDb.lastError();
        return std::nullopt;
    };
    lines.write = [this](const QList<QuotationLine>& written, QString* error) {
        return WriteWorkLines(session_.WorkDb, written, error);
    };
    lines.show = [this](bool loaded) {
        if (loaded) {
            DetailsChanged = false;
            Calc明細();
        }
        // Subtotal lines take their row style from the model.
        if (wkDat) wkDat->refresh();
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
    // The line being edited reaches w明細 before anything reads it.
    Grid明細->commitEdit();
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
    if (!wkDat) return false;
    Grid明細->commitEdit();
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return false;
    if (isSubtotalLine(row)) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), kSubtotalLineRefusal);
        return false;
    }
    // The given fields, in one write.
    QList<std::pair<int, QVariant>> values;
    if (!pick.品名.isEmpty()) values.append({品名, CutToShiftJis(pick.品名)});
    if (!pick.単位.isEmpty()) values.append({単位, pick.単位});
    if (pick.単価) values.append({単価, QVariant::fromValue(*pick.単価)});
    if (!pick.ふりがな.isEmpty()) values.append({ふりがな, pick.ふりがな});
    if (pick.非課税) values.append({非課税, *pick.非課税});
    if (!values.isEmpty() && !wkDat->setValues(row, values)) {
        reportLineWriteFailure();
        return false;
    }
    // A picked price counts as a typed one: the line's amount and the totals follow it.
    if (pick.単価) {
        takeLineAmount(row);
        Calc明細();
    }
    // The main window comes forward with the line's 品名 current; the
    // product window stays open behind it.
    window()->activateWindow();
    Grid明細->setFocus();
    Grid明細->setCurrentCell(row, 品名);
    return true;
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
    Grid明細->setFocus();
}
