// The controls of the product window and their places (twips).

#include "app/UiBuild.h"
#include "masters/FrmProduct.h"
#include "platform/GridView.h"

#include <QFont>

void FrmProduct::build()
{
    QWidget* p = this;
    using namespace ui;

    // ---- search bar
    label(p, QStringLiteral("品　名"), 120, 120, 600);
    txt品名 = make<QLineEdit>(p, QStringLiteral("txt品名"), 720, 120, 2700, 330);
    label(p, QStringLiteral("かな"), 3540, 120, 480);
    txtかな = make<QLineEdit>(p, QStringLiteral("txtかな"), 4020, 120, 2280, 330);
    label(p, QStringLiteral("商品区分"), 6420, 120, 840);
    cmb商品区分 = make<TextComboBox>(p, QStringLiteral("cmb商品区分"), 7260, 120, 2580, 330);

    // ---- the list
    Grid商品マスタ = make<GridView>(p, QStringLiteral("Grid商品マスタ"), 120, 600, 9720, 7680);
    growWithWindow(Grid商品マスタ);

    // ---- button strip, top to bottom
    const double bx = 9960, bw = 1320, bh = 600, step = 720;
    double by = 120;
    auto strip = [&](const QString& name, const QString& caption, const QString& tip) {
        QPushButton* b = button(p, name, caption, bx, by, bw, bh, tip);
        by += step;
        return b;
    };
    cmd閉じる = strip(QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), QStringLiteral("商品情報画面を閉じます。"));
    cmd読込 = strip(QStringLiteral("cmd読込"), QStringLiteral("読込"),
                    QStringLiteral("商品情報を読込みます。品名や「かな」の一部を指定して絞り込むこともできます。"));
    cmd登録 = strip(QStringLiteral("cmd登録"), QStringLiteral("登録"), QStringLiteral("商品情報を登録します。"));
    cmd削除 = strip(QStringLiteral("cmd削除"), QStringLiteral("削除"),
                    QStringLiteral("チェックマークを付けた商品情報を削除します。複数削除もできます。"));
    cmd新規 = strip(QStringLiteral("cmd新規"), QStringLiteral("追加"), QStringLiteral("新規商品を登録します"));
    cmd詳細 = strip(QStringLiteral("cmd詳細"), QStringLiteral("詳細"), QStringLiteral("商品情報を編集します"));
    cmdクリア = strip(QStringLiteral("cmdクリア"), QStringLiteral("クリア"),
                      QStringLiteral("商品情報画面を消去します。登録済みデータは削除されません。"));
    cmd商品参照 = strip(QStringLiteral("cmd商品参照"), QStringLiteral("参照"),
                        QStringLiteral("リンク参照　指定された他のアプリの商品のデータを参照する"));
    cmd選択 = strip(QStringLiteral("cmd選択"), QStringLiteral("選択"),
                    QStringLiteral("指定された行の商品情報を見積書に記入する。"));

    // ---- detail panel (hidden), floating over the list
    Cn商品詳細 = panel(p, QStringLiteral("Cn商品詳細"), 1440, 1320, 6960, 3000);
    Cn商品詳細->hide();
    {
        QWidget* c = Cn商品詳細;
        QLabel* title = label(c, QStringLiteral("商品詳細"), 120, 90, 4800, 300);
        QFont f = title->font();
        f.setBold(true);
        title->setFont(f);
        const double lx = 120, lw = 900, fx = 1080, h = 330;
        label(c, QStringLiteral("品　名"), lx, 480, lw);
        txt品名詳細 = make<QLineEdit>(c, QStringLiteral("txt品名詳細"), fx, 480, 4200, h);
        label(c, QStringLiteral("入　数"), lx, 870, lw);
        cmb入数 = make<TextComboBox>(c, QStringLiteral("cmb入数"), fx, 870, 1800, h);
        label(c, QStringLiteral("単　価"), lx, 1260, lw);
        num単価詳細 = make<NumberBox>(c, QStringLiteral("num単価詳細"), fx, 1260, 1800, h);
        num単価詳細->setDisplayFormat(QStringLiteral("##,###,###"));
        label(c, QStringLiteral("単　位"), lx, 1650, lw);
        cmb単位詳細 = make<TextComboBox>(c, QStringLiteral("cmb単位詳細"), fx, 1650, 1800, h);
        label(c, QStringLiteral("商品区分"), lx, 2040, lw);
        cmb商品区分詳細 = make<TextComboBox>(c, QStringLiteral("cmb商品区分詳細"), fx, 2040, 2400, h);
        label(c, QStringLiteral("ふりがな"), lx, 2430, lw);
        txtふりがな = make<QLineEdit>(c, QStringLiteral("txtふりがな"), fx, 2430, 4200, h);

        const double cx = 5520, cw = 1260, ch = 540;
        cmd顧客詳細閉じる = button(c, QStringLiteral("cmd顧客詳細閉じる"), QStringLiteral("閉じる"), cx, 480, cw, ch,
                                   QStringLiteral("商品詳細画面を閉じます。"));
        cmd顧客詳細登録 = button(c, QStringLiteral("cmd顧客詳細登録"), QStringLiteral("登録"), cx, 1140, cw, ch,
                                 QStringLiteral("商品詳細を登録します"));
        cmd顧客詳細クリア = button(c, QStringLiteral("cmd顧客詳細クリア"), QStringLiteral("クリア"), cx, 1800, cw, ch,
                                   QStringLiteral("商品情報画面を消去します。登録済みデータは削除されません。"));

        // Tab stops in the order of the fields, then the panel's save.
        QWidget* order[] = {txt品名詳細, cmb入数, num単価詳細, cmb単位詳細, cmb商品区分詳細, txtふりがな,
                            cmd顧客詳細登録, cmd顧客詳細クリア, cmd顧客詳細閉じる};
        for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
        // Japanese input for the texts, not for the price.
        num単価詳細->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    // ---- busy panel (hidden)
    CnSyohinMsg = busyPanel(p, QStringLiteral("CnSyohinMsg"), QStringLiteral("LblSyohinMsg"), 2940, 3600, &LblSyohinMsg);
}
