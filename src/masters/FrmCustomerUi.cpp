// The customer window's controls, their places (twips), captions and tool
// tips, the list's columns, and the keys of the grid and the detail panel.

#include "masters/FrmCustomer.h"

#include "app/Session.h"
#include "platform/InputMethod.h"
#include "app/UiBuild.h"
#include "masters/CustomerMaster.h"
#include "masters/MasterWrite.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"

#include <QPainter>
#include <QPixmap>
#include <QTextCursor>

using namespace ui;
using namespace CustomerListColumn;
using Column = WorkTableModel::Column;

namespace {

// The picture of the postal look-up button: the postal mark.
QIcon postalIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 30, 30), 4));
    p.drawLine(7, 7, 25, 7);
    p.drawLine(7, 14, 25, 14);
    p.drawLine(16, 14, 16, 27);
    return QIcon(pixmap);
}

// Enter and Down move to the next control, Up to the previous one. In a box
// of several lines Enter starts a new line and the arrows move between the
// lines, leaving the box only from its first or last line.
void moveFocusByKeys(QWidget* box, QWidget* previous, QWidget* next)
{
    auto* lines = qobject_cast<QPlainTextEdit*>(box);
    KeyHook::install(box, [=](int& key, Qt::KeyboardModifiers) {
        const bool up = key == 38;
        const bool down = key == 40 || (key == VKey::Enter && !lines);
        if (!up && !down) return;
        if (lines) {
            QTextCursor c = lines->textCursor();
            if (c.movePosition(up ? QTextCursor::Up : QTextCursor::Down)) return;
        }
        QWidget* target = up ? previous : next;
        if (!target) return;
        target->setFocus();
        key = 0;
    });
}

}  // namespace

void FrmCustomer::buildControls()
{
    label(this, QStringLiteral("顧客名"), 120, 120, 720);
    txt顧客名 = make<QLineEdit>(this, QStringLiteral("txt顧客名"), 840, 120, 2880, 330);
    label(this, QStringLiteral("かな"), 3840, 120, 480);
    txtかな = make<QLineEdit>(this, QStringLiteral("txtかな"), 4320, 120, 2160, 330);
    cmd読込 = button(this, QStringLiteral("cmd読込"), QStringLiteral("読込"), 6600, 90, 960, 390,
                     QStringLiteral("顧客情報を明細に読込みます。顧客名や「かな」の一部でも絞り込めます。"));
    cmdクリア = button(this, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 7620, 90, 960, 390,
                       QStringLiteral("顧客情報画面を消去します。登録済みデータは削除されません。"));
    cmdリンク参照 = button(this, QStringLiteral("cmdリンク参照"), QStringLiteral("参照"), 10320, 90, 960, 390,
                          QStringLiteral("リンク参照　指定された他のアプリの顧客データを参照する"));

    dat顧客 = new WorkTableModel(session_.WorkDb(), QStringLiteral("w顧客マスタ"), this);
    dat顧客->setObjectName(QStringLiteral("dat顧客"));
    dat顧客->declareColumns({
        // The running number is the list's own; Japanese input is off only in the tick column.
        Column::number(QStringLiteral("行"), QStringLiteral("行"), 600, QStringLiteral("####0"), WorkTableModel::Kind::Integer)
            .asReadOnly()
            .withInputMethod(true),
        Column::tick(QStringLiteral("チェック")),
        Column::text(QStringLiteral("顧客名"), QStringLiteral("顧客名"), 2700),
        Column::text(QStringLiteral("顧客情報"), QStringLiteral("顧客情報"), 4200),
        Column::text(QStringLiteral("ふりがな"), QStringLiteral("ふりがな"), 2100),
        Column::text(QStringLiteral("敬称"), QStringLiteral("敬称"), 800),
    });
    Grid顧客マスタ = make<GridView>(this, QStringLiteral("Grid顧客マスタ"), 120, 600, 11160, 6900);
    growWithWindow(Grid顧客マスタ);
    Grid顧客マスタ->setModel(dat顧客);
    ShowRefusedEdits(dat顧客, session_.messages());
    Grid顧客マスタ->applyColumns();
    // Enter in 敬称 goes on to the next customer's name.
    Grid顧客マスタ->setEnterToNextRow(敬称, 顧客名);

    cmd選択 = button(this, QStringLiteral("cmd選択"), QStringLiteral("選択"), 120, 7680, 1080, 450);
    cmd詳細 = button(this, QStringLiteral("cmd詳細"), QStringLiteral("詳細"), 1260, 7680, 1080, 450);
    cmd新規 = button(this, QStringLiteral("cmd新規"), QStringLiteral("追加"), 2400, 7680, 1080, 450,
                     QStringLiteral("新規顧客を登録します"));
    cmd削除 = button(this, QStringLiteral("cmd削除"), QStringLiteral("削除"), 7800, 7680, 1080, 450,
                     QStringLiteral("チェックマークのある行の顧客データを削除します。"));
    cmd登録 = button(this, QStringLiteral("cmd登録"), QStringLiteral("登録"), 9000, 7680, 1080, 450,
                     QStringLiteral("顧客一覧から顧客情報を登録します"));
    cmd閉じる = button(this, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 10200, 7680, 1080, 450,
                       QStringLiteral("顧客情報画面を閉じます。"));

    buildDetailPanel();
    CnKokyakuMsg = busyPanel(this, QStringLiteral("CnKokyakuMsg"), QStringLiteral("LblKokyakuMsg"), 3660, 3300, &LblKokyakuMsg);
}

void FrmCustomer::buildDetailPanel()
{
    Cn顧客詳細 = panel(this, QStringLiteral("Cn顧客詳細"), 5160, 1320, 5880, 4680);
    QWidget* p = Cn顧客詳細;
    title(p, QStringLiteral("顧客詳細"), 120, 90, 2400, 360);

    label(p, QStringLiteral("顧客名"), 120, 600, 900);
    txt顧客名詳細 = make<QLineEdit>(p, QStringLiteral("txt顧客名詳細"), 1080, 600, 4620, 330);
    QLabel* blockCaption = label(p, QStringLiteral("　顧客　　　情報"), 120, 1020, 720, 600);
    blockCaption->setWordWrap(true);
    blockCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txt顧客情報 = make<MultiLineEdit>(p, QStringLiteral("txt顧客情報"), 1080, 1020, 4620, 1860);
    cmd郵便 = button(p, QStringLiteral("cmd郵便"), QString(), 300, 1800, 480, 480, QStringLiteral("郵便番号検索フォームを開きます"));
    cmd郵便->setIcon(postalIcon());
    cmd郵便->setIconSize(QSize(22, 22));
    label(p, QStringLiteral("ふりがな"), 120, 3000, 900);
    txtふりがな = make<QLineEdit>(p, QStringLiteral("txtふりがな"), 1080, 3000, 4620, 330);
    label(p, QStringLiteral("敬称"), 120, 3420, 900);
    cmb敬称 = make<TextComboBox>(p, QStringLiteral("cmb敬称"), 1080, 3420, 1500, 330);
    cmb敬称->setText(QStringLiteral("様"));
    SetImeOpen(cmb敬称, true);

    cmd顧客詳細登録 = button(p, QStringLiteral("cmd顧客詳細登録"), QStringLiteral("登録"), 1080, 4020, 1080, 450,
                             QStringLiteral("顧客詳細を登録します"));
    cmd顧客詳細クリア = button(p, QStringLiteral("cmd顧客詳細クリア"), QStringLiteral("クリア"), 2280, 4020, 1080, 450,
                               QStringLiteral("顧客情報画面を消去します。登録済みデータは削除されません。"));
    cmd顧客詳細閉じる = button(p, QStringLiteral("cmd顧客詳細閉じる"), QStringLiteral("閉じる"), 4620, 4020, 1080, 450,
                               QStringLiteral("顧客情報画面を閉じます"));
    Cn顧客詳細->hide();

    moveFocusByKeys(txt顧客名詳細, nullptr, txt顧客情報);
    moveFocusByKeys(txt顧客情報, txt顧客名詳細, txtふりがな);
    moveFocusByKeys(txtふりがな, txt顧客情報, cmb敬称);
}

void FrmCustomer::connectHandlers()
{
    connect(cmd読込, &QPushButton::clicked, this, &FrmCustomer::Read顧客マスタ);
    connect(cmdクリア, &QPushButton::clicked, this, &FrmCustomer::Clear顧客情報);
    connect(cmd削除, &QPushButton::clicked, this, &FrmCustomer::Delete顧客);
    connect(cmd登録, &QPushButton::clicked, this, &FrmCustomer::Entry顧客情報);
    connect(cmdリンク参照, &QPushButton::clicked, this, &FrmCustomer::Read顧客リンク);
    connect(cmd選択, &QPushButton::clicked, this, &FrmCustomer::cmd選択_Click);
    connect(Grid顧客マスタ, &GridView::cellDoubleClicked, this, &FrmCustomer::cmd選択_Click);
    connect(cmd詳細, &QPushButton::clicked, this, &FrmCustomer::cmd詳細_Click);
    connect(cmd新規, &QPushButton::clicked, this, &FrmCustomer::cmd新規_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);
    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &FrmCustomer::cmd顧客詳細登録_Click);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &FrmCustomer::cmd顧客詳細クリア_Click);
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &FrmCustomer::cmd顧客詳細閉じる_Click);
    connect(cmd郵便, &QPushButton::clicked, this, &FrmCustomer::cmd郵便_Click);
}
