// The controls of the history tab and their places (twips). The filter boxes'
// widths and places follow the era setting (FormInit).

#include "GridView.h"
#include "UiBuild.h"
#include "Velt.h"


void Velt::buildHistoryTab()
{
    QWidget* p = tabHistory;
    using namespace ui;

    label(p, QStringLiteral("顧客名"), 120, 120, 780);
    cmb履歴顧客名 = make<TextComboBox>(p, QStringLiteral("cmb履歴顧客名"), 945, 120, 5205, 330);

    label(p, QStringLiteral("期間"), 120, 540, 780);
    txt開始 = make<DateBox>(p, QStringLiteral("txt開始"), 945, 540, 2370, 330);
    Label28 = label(p, QStringLiteral("～"), 3450, 540, 300, 330, QStringLiteral("Label28"));
    txt終了 = make<DateBox>(p, QStringLiteral("txt終了"), 3780, 540, 2370, 330);

    label(p, QStringLiteral("登録件数"), 120, 960, 780);
    num登録件数 = make<NumberBox>(p, QStringLiteral("num登録件数"), 945, 960, 1200, 330);
    num登録件数->setDisplayFormat(QStringLiteral("###,###"));
    num登録件数->setReadOnly(true);

    const double bt = 120, bh = 780;
    cmd読込 = button(p, QStringLiteral("cmd読込"), QStringLiteral("読込"), 6480, bt, 1020, bh,
                     QStringLiteral("登録済み伝票を条件により表示します。"));
    cmd履歴クリア = button(p, QStringLiteral("cmd履歴クリア"), QStringLiteral("クリア"), 7560, bt, 1020, bh,
                           QStringLiteral("読込条件と明細行儀面を消去します。登録済みの伝票は削除されません。"));
    cmd履歴削除 = button(p, QStringLiteral("cmd履歴削除"), QStringLiteral("削除"), 8640, bt, 1020, bh,
                         QStringLiteral("チェックマークのある伝票を削除します。マークは複数可能です。"));
    cmd見積書 = button(p, QStringLiteral("cmd見積書"), QStringLiteral("見積書"), 9720, bt, 1020, bh);
    cmd履歴閉じる = button(p, QStringLiteral("cmd履歴閉じる"), QStringLiteral("閉じる"), 10920, bt, 1260, bh);

    Grid履歴リスト = make<GridView>(p, QStringLiteral("Grid履歴リスト"), 120, 1440, 12060, 7620);

    CnRirekiMsg = busyPanel(p, QStringLiteral("CnRirekiMsg"), QStringLiteral("lblRirekiMsg"), 4140, 4200, &lblRirekiMsg);
}
