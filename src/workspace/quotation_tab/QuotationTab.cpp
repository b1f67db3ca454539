// The quotation tab as a whole: its construction, its layout from the
// settings, the print panel's hook, and the port other windows use.

#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/PrintPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"

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

// ---------------------------------------------------------------- LineWidget

LineWidget::LineWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::setEnds(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    const QPoint a = twipsPoint(x1, y1);
    const QPoint b = twipsPoint(x2, y2);
    setGeometry(QRect(a, b).normalized().adjusted(0, 0, 1, 1));
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    const QPoint a = twipsPoint(x1_, y1_) - pos();
    const QPoint b = twipsPoint(x2_, y2_) - pos();
    p.drawLine(a, b);
}

// ---------------------------------------------------------------- the tab

QuotationTab::QuotationTab(Session& session, const ShownSettings& shownSettings, HistoryList& history, QWidget* parent)
    : QWidget(parent), session_(session), shownSettings_(shownSettings), history_(history)
{
    setObjectName(QStringLiteral("tabQuotation"));
    build();
    connectQuotationScreen();
    connectNumbering();
    connectGridEditing();
    connectSubtotals();
    connectStoring();
    connectLoading();
    connectProductPanel();
    connectCustomerLookup();
    connectPrintPanel();
    connect(cmd閉じる, &QPushButton::clicked, this, &QuotationTab::closeClicked);
    connect(cmdコード, &QPushButton::clicked, this, &QuotationTab::codeListClicked);
    connect(cmd顧客マスタ, &QPushButton::clicked, this, &QuotationTab::customerMasterClicked);
    connect(cmd商品, &QPushButton::clicked, this, &QuotationTab::productMasterClicked);
    lbl自社名->installEventFilter(this);
    lbl自社情報->installEventFilter(this);
    SyokeiLineStyle = QColor(0xE0, 0xE0, 0xE0);
}

QuotationTab::~QuotationTab() = default;

bool QuotationTab::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick && (o == lbl自社名 || o == lbl自社情報)) {
        emit(o == lbl自社名 ? ownNameDoubleClicked() : ownInfoDoubleClicked());
        return true;
    }
    return QWidget::eventFilter(o, e);
}

const MessageCatalog& QuotationTab::messages() const
{
    return session_.messages();
}

namespace {

void placeLeftWidth(QWidget* w, double left, double width)
{
    w->setGeometry(twips(left), w->y(), twips(width), w->height());
}

}  // namespace

void QuotationTab::applyLayout(const SettingsRecord& s, const PrintSettingsEntry* a4)
{
    // The product-detail panel.
    productPanel_->move(twips(4080), twips(780));

    // The date format by the era setting.
    if (s.年号 == QStringLiteral("和暦")) {
        dt日付->setFormats(QStringLiteral("gggee年mm月dd日"), QStringLiteral("gggee年mm月"));
        placeLeftWidth(dt日付, 9240, 2235);
    } else {
        dt日付->setFormats(QStringLiteral("yyyy年mm月dd日"), QStringLiteral("yyyy年mm月"));
        placeLeftWidth(dt日付, 9610, 1755);
    }

    // The seal boxes: eight lines and four title boxes from two origins.
    const double ox = 3200, oy = 220;
    const double lines[8][4] = {
        // X1, X2, Y1, Y2
        {5900, 8270, 2700, 2700}, {5900, 8270, 3000, 3000}, {5900, 8280, 3460, 3460}, {5900, 5900, 2700, 3460},
        {6480, 6480, 2700, 3460}, {7080, 7080, 2700, 3480}, {7680, 7680, 2700, 3460}, {8260, 8260, 2700, 3480},
    };
    for (int i = 0; i < 8; ++i)
        印鑑Line[i]->setEnds(ox + lines[i][0], oy + lines[i][2], ox + lines[i][1], oy + lines[i][3]);
    const double sealLeft[4] = {6000, 6600, 7200, 7800};
    for (int i = 0; i < 4; ++i) txt印鑑[i]->move(twips(ox + sealLeft[i]), twips(oy + 2760));

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
    // Only what the entry names is set; the rest comes from the tab, so a
    // font or size no longer named goes back to the designed one.
    auto apply = [](QLabel* label, const QString& family, double size) {
        QFont f;
        if (!family.isEmpty()) f.setFamily(family);
        if (size > 0) f.setPointSizeF(size);
        label->setFont(f);
    };
    apply(lbl自社名, a4.自社名フォント, a4.自社名サイズ);
    apply(lbl自社情報, a4.自社情報フォント, a4.自社情報サイズ);
}

void QuotationTab::showOwnCompany()
{
    lbl自社名->setText(session_.設定情報.自社名);
    lbl自社情報->setText(MultiLineEdit::fromStored(session_.設定情報.自社情報));
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
    if (!name.isEmpty()) cmb顧客名->setText(name);
    if (!block.isEmpty()) txt顧客情報->setText(block);
    cmb顧客名->setFocus();
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
    cmb顧客名->setText(name);
}

ShownQuotation QuotationTab::shownQuotation() const
{
    ShownQuotation q;
    q.txtNo = txtNo->text();
    q.日付 = dt日付->date();
    q.日付表示 = dt日付->text();
    q.顧客名 = cmb顧客名->text();
    q.顧客情報 = txt顧客情報->text();
    q.件名 = txt件名->text();
    q.メモ = txtメモ->text();
    for (int i = 0; i < 4; ++i) q.印鑑[i] = txt印鑑[i]->text();
    q.有効期限 = cmb有効期限->text();
    q.支払条件 = cmb支払条件->text();
    q.受渡場所 = cmb受渡場所->text();
    q.納期 = cmb納期->text();
    q.敬称 = cmb敬称->text();
    auto amount = [](const NumberBox* box) { return ShownQuotation::Amount{box->displayText(), box->value()}; };
    q.税抜計 = amount(num税抜計);
    q.消費税 = amount(num消費税);
    q.見積金額 = amount(num見積金額);
    return q;
}

void QuotationTab::focusDetailGrid()
{
    Grid明細->setFocus();
}
