// The product-detail panel of the quotation tab: its controls, 登録, クリア
// and 閉じる.

#include "workspace/quotation_tab/ProductDetailPanel.h"

#include "app/MessageCatalog.h"
#include "app/ProductDetailFields.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "workspace/DetailLines.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcProductPanel, "velt.productpanel")

ProductDetailPanel::ProductDetailPanel(Session& session, QWidget* parent) : QFrame(parent), session_(session)
{
    using namespace ui;
    setObjectName(QStringLiteral("Cn商品詳細"));
    panelLook(this);

    QWidget* c = this;
    title(c, QStringLiteral("商品詳細"), 120, 90, 4900, 270);
    label(c, QStringLiteral("品名"), 120, 420, 900);
    txt品名詳細 = make<QLineEdit>(c, QStringLiteral("txt品名詳細"), 1080, 420, 3900, 330);
    label(c, QStringLiteral("ふりがな"), 120, 810, 900);
    txtふりがな = make<QLineEdit>(c, QStringLiteral("txtふりがな"), 1080, 810, 3900, 330);
    label(c, QStringLiteral("商品区分"), 120, 1200, 900);
    cmb商品区分詳細 = make<TextComboBox>(c, QStringLiteral("cmb商品区分詳細"), 1080, 1200, 1800, 330);
    lbl入数詳細 = label(c, QStringLiteral("入数"), 3000, 1200, 780, 330, QStringLiteral("lbl入数詳細"));
    cmb入数 = make<TextComboBox>(c, QStringLiteral("cmb入数"), 3780, 1200, 1200, 330);
    label(c, QStringLiteral("単位"), 120, 1590, 900);
    cmb単位詳細 = make<TextComboBox>(c, QStringLiteral("cmb単位詳細"), 1080, 1590, 1200, 330);
    label(c, QStringLiteral("単価"), 2520, 1590, 780);
    num単価詳細 = make<NumberBox>(c, QStringLiteral("num単価詳細"), 3300, 1590, 1680, 330);
    num単価詳細->setDisplayFormat(QStringLiteral("##,###,###"));
    cmd顧客詳細登録 = button(c, QStringLiteral("cmd顧客詳細登録"), QStringLiteral("登録"), 1080, 2220, 1200, 540,
                             QStringLiteral("商品詳細を登録します"));
    cmd顧客詳細クリア = button(c, QStringLiteral("cmd顧客詳細クリア"), QStringLiteral("クリア"), 2370, 2220, 1200, 540,
                               QStringLiteral("商品情報画面を消去します。登録済みデータは削除されません。"));
    cmd顧客詳細閉じる = button(c, QStringLiteral("cmd顧客詳細閉じる"), QStringLiteral("閉じる"), 3660, 2220, 1200, 540,
                               QStringLiteral("商品詳細画面を閉じます。"));

    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &ProductDetailPanel::cmd顧客詳細登録_Click);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &ProductDetailPanel::cmd顧客詳細クリア_Click);
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &ProductDetailPanel::cmd顧客詳細閉じる_Click);
    ReportRefusedNumbers(num単価詳細, QStringLiteral("単価"), session_.messages());
}

void ProductDetailPanel::setLine(Line line)
{
    line_ = std::move(line);
}

ProductDetailFields ProductDetailPanel::fields() const
{
    return {txt品名詳細, cmb入数, num単価詳細, cmb単位詳細, cmb商品区分詳細, txtふりがな};
}

void ProductDetailPanel::showProduct(const ProductDetail& product)
{
    show();
    raise();
    fields().show(product);
}

void ProductDetailPanel::setPackCaption(const QString& caption)
{
    lbl入数詳細->setText(caption);
}

void ProductDetailPanel::setCodeList(CodeList list, const QStringList& entries)
{
    TextComboBox* box = list == CodeList::Unit ? cmb単位詳細 : list == CodeList::Category ? cmb商品区分詳細 : cmb入数;
    box->setItems(entries);
}

void ProductDetailPanel::Entry商品詳細()
{
    const MessageCatalog& messages = session_.messages();
    if (!fields().commitTyped()) return;
    // The name is the line's: cut to what a line keeps, and the product is
    // stored under it as a stored quotation stores the line's product.
    ProductDetail product = fields().read();
    product.品名 = NormalizeProductName(product.品名);
    const QString& name = product.品名;
    if (name.isEmpty()) {
        messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("品名を記入してください"));
        txt品名詳細->setFocus();
        return;
    }
    txt品名詳細->setText(name);
    const std::optional<int> row = line_.current ? line_.current() : std::nullopt;
    if (!row) return;
    if (line_.isSubtotal(*row)) {
        messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), DetailLine::kSubtotalLineRefusal);
        return;
    }
    if (!messages.ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), name)) return;

    // The product and its code values belong together: all or nothing.
    Failure error;
    if (!StoreProductDetail(session_.DataDb(), session_.設定情報, product, &error)) {
        messages.ShowFailure(QStringLiteral("商品を登録できませんでした。明細行も変更していません。"), error);
        return;
    }

    // Into the current line.
    if (!line_.write(*row, product)) {
        qCWarning(lcProductPanel) << "detail line not written:" << session_.WorkDb().lastError();
        messages.ShowFailure(QStringLiteral("商品は登録しましたが、明細行に書き込めませんでした。"), session_.WorkDb().lastError());
    }
}

void ProductDetailPanel::cmd顧客詳細登録_Click()
{
    Entry商品詳細();
}

void ProductDetailPanel::cmd顧客詳細クリア_Click()
{
    fields().clearTyped();
    emit codeListsRequested();
}

void ProductDetailPanel::cmd顧客詳細閉じる_Click()
{
    hide();
    emit closed();
}
