// The controls of the quotation tab and their places (twips, relative to the
// tab page). Settings-dependent layout (date formats, grid columns, the seal
// boxes' places, label fonts) is applied later by applyLayout.

#include "platform/GridView.h"
#include "app/UiBuild.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/PrintPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"

#include <QFont>

void QuotationTab::build()
{
    QWidget* p = this;
    using namespace ui;

    // ---- header, left: number, customer
    label(p, QStringLiteral("見積番号"), 120, 120, 840);
    txtNo = make<QLineEdit>(p, QStringLiteral("txtNo"), 1020, 120, 1140, 330);
    txtNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtNo->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmd前伝票 = button(p, QStringLiteral("cmd前伝票"), QStringLiteral("前"), 2220, 120, 480, 330,
                       QStringLiteral("前伝票 : １つ前の伝票番号の伝票を表示します。"));
    cmd次伝票 = button(p, QStringLiteral("cmd次伝票"), QStringLiteral("次"), 2730, 120, 480, 330,
                       QStringLiteral("次伝票 : 次の伝票番号の伝票を表示します。"));

    cmd顧客マスタ = button(p, QStringLiteral("cmd顧客マスタ"), QStringLiteral("顧客"), 3420, 120, 840, 330,
                         QStringLiteral("顧客情報フォームを開きます"));
    cmd商品 = button(p, QStringLiteral("cmd商品"), QStringLiteral("商品"), 4290, 120, 840, 330,
                     QStringLiteral("商品情報フォームを開きます"));
    cmdコード = button(p, QStringLiteral("cmdコード"), QStringLiteral("コード"), 5160, 120, 840, 330,
                       QStringLiteral("コード登録フォームを開きます"));

    label(p, QStringLiteral("日付"), 8640, 120, 540);
    dt日付 = make<DateBox>(p, QStringLiteral("dt日付"), 9240, 120, 2235, 330);

    label(p, QStringLiteral("顧客名"), 120, 540, 840);
    cmb顧客名 = make<TextComboBox>(p, QStringLiteral("cmb顧客名"), 1020, 540, 3900, 330);
    cmb敬称 = make<TextComboBox>(p, QStringLiteral("cmb敬称"), 4950, 540, 900, 330);
    cmd顧客参照 = button(p, QStringLiteral("cmd顧客参照"), QStringLiteral("参照"), 5880, 540, 720, 330,
                         QStringLiteral("顧客参照フォームを開きます"));

    label(p, QStringLiteral("顧客情報"), 120, 960, 840);
    txt顧客情報 = make<MultiLineEdit>(p, QStringLiteral("txt顧客情報"), 1020, 960, 4830, 1020);
    cmd郵便 = button(p, QStringLiteral("cmd郵便"), QStringLiteral("郵便"), 5880, 960, 720, 330,
                     QStringLiteral("郵便番号検索フォームを開きます"));

    label(p, QStringLiteral("件名"), 120, 2040, 840);
    txt件名 = make<QLineEdit>(p, QStringLiteral("txt件名"), 1020, 2040, 4830, 330);

    label(p, QStringLiteral("有効期限"), 120, 2430, 840);
    cmb有効期限 = make<TextComboBox>(p, QStringLiteral("cmb有効期限"), 1020, 2430, 2310, 330);
    label(p, QStringLiteral("支払条件"), 3450, 2430, 840);
    cmb支払条件 = make<TextComboBox>(p, QStringLiteral("cmb支払条件"), 4320, 2430, 2280, 330);
    label(p, QStringLiteral("受渡場所"), 120, 2820, 840);
    cmb受渡場所 = make<TextComboBox>(p, QStringLiteral("cmb受渡場所"), 1020, 2820, 2310, 330);
    label(p, QStringLiteral("納期"), 3450, 2820, 840);
    cmb納期 = make<TextComboBox>(p, QStringLiteral("cmb納期"), 4320, 2820, 2280, 330);

    // ---- totals
    lbl税抜計 = label(p, QStringLiteral("税抜計"), 120, 3210, 840, 330, QStringLiteral("lbl税抜計"));
    num税抜計 = make<NumberBox>(p, QStringLiteral("num税抜計"), 1020, 3210, 1500, 330);
    Lbl消費税 = label(p, QStringLiteral("消費税"), 2640, 3210, 720, 330, QStringLiteral("Lbl消費税"));
    num消費税 = make<NumberBox>(p, QStringLiteral("num消費税"), 3360, 3210, 1260, 330);
    lbl合計 = label(p, QStringLiteral("合計"), 4740, 3210, 480, 330, QStringLiteral("lbl合計"));
    num合計 = make<NumberBox>(p, QStringLiteral("num合計"), 5220, 3210, 1380, 330);
    lbl見積金額 = label(p, QStringLiteral("見積金額"), 120, 3660, 840, 330, QStringLiteral("lbl見積金額"));
    num見積金額 = make<NumberBox>(p, QStringLiteral("num見積金額"), 1020, 3600, 1980, 375);
    {
        QFont f = num見積金額->font();
        f.setBold(true);
        num見積金額->setFont(f);
    }
    for (NumberBox* b : {num税抜計, num消費税, num合計, num見積金額}) b->setDisplayFormat(QStringLiteral("#,###"));

    // ---- own company (double-click jumps to the settings tab)
    lbl自社名 = make<QLabel>(p, QStringLiteral("lbl自社名"), 6840, 540, 5280, 420);
    lbl自社情報 = make<QLabel>(p, QStringLiteral("lbl自社情報"), 6840, 990, 5280, 1230);
    lbl自社情報->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl自社名->setToolTip(QStringLiteral("ダブルクリックで設定画面を開きます"));
    lbl自社情報->setToolTip(QStringLiteral("ダブルクリックで設定画面を開きます"));

    // ---- memo
    label(p, QStringLiteral("メモ"), 6840, 2310, 840);
    txtメモ = make<MultiLineEdit>(p, QStringLiteral("txtメモ"), 6840, 2580, 2130, 1380);

    // ---- the four seal boxes (placed by applyLayout)
    for (int i = 0; i < 8; ++i) 印鑑Line[i] = make<LineWidget>(p, QStringLiteral("印鑑Line%1").arg(i + 1), 0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        // Sits between the seal box's top edge and the rule under the titles.
        txt印鑑[i] = make<QLineEdit>(p, QStringLiteral("txt印鑑(%1)").arg(i), 0, 0, 480, 225);
        txt印鑑[i]->setFrame(false);
        txt印鑑[i]->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; padding: 0; }"));
        txt印鑑[i]->setAlignment(Qt::AlignCenter);
    }

    // ---- detail grid
    Grid明細 = make<GridView>(p, QStringLiteral("Grid明細"), 120, 4080, 12060, 4260);

    // ---- buttons
    const double by = 8460, bh = 600;
    cmd行削除 = button(p, QStringLiteral("cmd行削除"), QStringLiteral("行削除"), 120, by, 900, bh,
                       QStringLiteral("明細行のフォーカスのある行を１行削除します。"));
    cmd小計 = button(p, QStringLiteral("cmd小計"), QStringLiteral("小計"), 1050, by, 900, bh,
                     QStringLiteral("小計を計算し、明細行のフォーカスがある部分に小計行を挿入します。"));
    cmd商品詳細 = button(p, QStringLiteral("cmd商品詳細"), QStringLiteral("商品詳細"), 1980, by, 1140, bh,
                         QStringLiteral("商品詳細を開きます"));
    cmd転記 = button(p, QStringLiteral("cmd転記"), QStringLiteral("転記"), 3600, by, 900, bh,
                     QStringLiteral("過去に作成した見積書から転記します"));
    cmdクリア = button(p, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 4530, by, 900, bh,
                       QStringLiteral("伝票情報を画面上から消去します。登録済みの伝票は無くなりません。"));
    cmd削除 = button(p, QStringLiteral("cmd削除"), QStringLiteral("削除"), 5460, by, 900, bh,
                     QStringLiteral("画面上の伝票を削除します。一度削除するともとに戻せません。"));
    cmd印刷 = button(p, QStringLiteral("cmd印刷"), QStringLiteral("印刷"), 6390, by, 900, bh,
                     QStringLiteral("印刷サブメニューを開きます"));
    cmd登録 = button(p, QStringLiteral("cmd登録"), QStringLiteral("登録"), 7860, by, 1260, bh,
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

    // ---- busy panel (hidden)
    CnEntryMsg = busyPanel(p, QStringLiteral("CnEntryMsg"), QStringLiteral("EntryMsg"), 4140, 5580, &EntryMsg);
}
