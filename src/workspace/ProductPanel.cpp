// The product-detail panel of the quotation tab: the product fields of the
// current detail line in larger boxes, stored into 商品マスタ (with new code
// values) and written back into the line.

#include "app/MessageCatalog.h"
#include "app/ProductDetailFields.h"
#include "app/Session.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "workspace/DetailLines.h"
#include "workspace/QuotationTab.h"

#include <QFrame>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcProductPanel, "velt.productpanel")

using namespace DetailLine;

namespace {

ProductDetailFields fieldsOf(const QuotationTab& q)
{
    return {q.txt品名詳細, q.cmb入数, q.num単価詳細, q.cmb単位詳細, q.cmb商品区分詳細, q.txtふりがな};
}

}  // namespace

void QuotationTab::connectProductPanel()
{
    connect(cmd商品詳細, &QPushButton::clicked, this, &QuotationTab::cmd商品詳細_Click);
    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細登録_Click);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細クリア_Click);
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細閉じる_Click);
    ReportRefusedNumbers(num単価詳細, QStringLiteral("単価"), messages());
}

void QuotationTab::cmd商品詳細_Click()
{
    if (!wkDat) return;
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return;
    if (isSubtotalLine(row)) return;  // subtotal lines have no product
    Cn商品詳細->show();
    Cn商品詳細->raise();
    auto text = [&](int col) { return dbv::text(wkDat->value(row, col)); };
    fieldsOf(*this).show({text(品名), text(入数), wkDat->money(row, 単価), text(単位), text(商品区分), text(ふりがな)});
}

void QuotationTab::Entry商品詳細()
{
    if (!fieldsOf(*this).commitTyped()) return;
    // The name is the line's: cut to what a line keeps, and the product is
    // stored under it as a stored quotation stores the line's product.
    ProductDetail product = fieldsOf(*this).read();
    product.品名 = NormalizeProductName(product.品名);
    const QString& name = product.品名;
    if (name.isEmpty()) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("品名を記入してください"));
        txt品名詳細->setFocus();
        return;
    }
    txt品名詳細->setText(name);
    const int row = std::max(0, Grid明細->currentRow());
    if (!wkDat || row >= wkDat->rowCount()) return;
    if (isSubtotalLine(row)) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), DetailLine::kSubtotalLineRefusal);
        return;
    }
    if (!messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), name)) return;

    // The product and its code values belong together: all or nothing.
    QString error;
    if (!StoreProductDetail(session_.DataDb, session_.設定情報, product, &error)) {
        messages().ShowFailure(QStringLiteral("商品を登録できませんでした。明細行も変更していません。"), error);
        return;
    }

    // Into the current line; its price counts as a typed one, so the line's
    // amount and the totals follow it.
    const bool written = wkDat->setValues(row, {{品名, name},
                                                {入数, dbv::textOrNull(product.入数)},
                                                {単価, product.単価 ? QVariant::fromValue(*product.単価) : QVariant()},
                                                {単位, dbv::textOrNull(product.単位)},
                                                {商品区分, dbv::textOrNull(product.商品区分)},
                                                {ふりがな, dbv::textOrNull(product.ふりがな)}});
    if (!written) {
        qCWarning(lcProductPanel) << "detail line not written:" << session_.WorkDb.lastError();
        messages().ShowFailure(QStringLiteral("商品は登録しましたが、明細行に書き込めませんでした。"), session_.WorkDb.lastError());
        return;
    }
    takeLineAmount(row);
    Calc明細();
}

void QuotationTab::cmd顧客詳細登録_Click()
{
    Entry商品詳細();
}

void QuotationTab::cmd顧客詳細クリア_Click()
{
    fieldsOf(*this).clearTyped();
    Readコード表(QStringLiteral("すべて"));
}

void QuotationTab::cmd顧客詳細閉じる_Click()
{
    Cn商品詳細->hide();
    Grid明細->setFocus();
}
