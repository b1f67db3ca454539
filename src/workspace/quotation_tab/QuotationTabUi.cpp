// The controls of the quotation tab and their places (twips, relative to the
// tab page). Settings-dependent layout (date formats, grid columns, the seal
// boxes' places, label fonts) is applied later by applyLayout.

#include "app/UiBuild.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/PickLists.h"
#include "workspace/quotation_tab/PrintPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"


void QuotationTab::build()
{
    QWidget* p = this;
    using namespace ui;

    // ---- header (number, customer, terms, seals, totals, own company)
    header_ = new HeaderPanel(session_, p);

    // ---- detail grid with its buttons 行削除 and 小計 (placed by the part)
    grid_ = new DetailGrid(session_, shownSettings_, p);

    // ---- the other buttons, in the row of the grid's
    const double by = 8460, bh = 600;
    cmd商品詳細 = button(p, QStringLiteral("cmd商品詳細"), QStringLiteral("商品詳細"), 1980, by, 1140, bh,
                         QStringLiteral("商品詳細を開きます"));
    auto* cmd転記 = button(p, QStringLiteral("cmd転記"), QStringLiteral("転記"), 3600, by, 900, bh,
                     QStringLiteral("過去に作成した見積書から転記します"));
    cmdクリア = button(p, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 4530, by, 900, bh,
                       QStringLiteral("伝票情報を画面上から消去します。登録済みの伝票は無くなりません。"));
    auto* cmd削除 = button(p, QStringLiteral("cmd削除"), QStringLiteral("削除"), 5460, by, 900, bh,
                     QStringLiteral("画面上の伝票を削除します。一度削除するともとに戻せません。"));
    cmd印刷 = button(p, QStringLiteral("cmd印刷"), QStringLiteral("印刷"), 6390, by, 900, bh,
                     QStringLiteral("印刷サブメニューを開きます"));
    auto* cmd登録 = button(p, QStringLiteral("cmd登録"), QStringLiteral("登録"), 7860, by, 1260, bh,
                     QStringLiteral("画面上の伝票を登録保存します"));
    cmd閉じる = button(p, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 10920, by, 1260, bh,
                       QStringLiteral("見積書を終了します。伝票の登録は忘れてませんか"));

    // ---- product-detail panel (hidden; placed by applyLayout)
    productPanel_ = new ProductDetailPanel(session_, p);
    productPanel_->setGeometry(twipsRect(4080, 780, 5160, 3000));
    productPanel_->hide();

    // ---- print panel (hidden)
    printPanel_ = new PrintPanel(p);
    printPanel_->setGeometry(twipsRect(6390, 5100, 2115, 3315));
    printPanel_->hide();

    // ---- the code lists and customer names the parts pick from
    lists_ = std::make_unique<PickLists>(session_, *header_, *grid_, *productPanel_, history_);

    // ---- storing, loading, numbering, with their busy panel (hidden)
    keeper_ = makeKeeper(cmd登録, cmd削除, cmd転記);
}
