// The product window: listing, saving and deleting the product list, the
// detail panel, the code lists behind its drop-downs, the link import and
// the pick into the quotation.

#include "masters/FrmProduct.h"

#include "app/BusyPanel.h"
#include "app/CodeLists.h"
#include "app/MessageCatalog.h"
#include "app/ProductDetailFields.h"
#include "app/QuotationPort.h"
#include "app/Session.h"
#include "masters/LinkSource.h"
#include "masters/MasterWrite.h"
#include "masters/ProductLink.h"
#include "masters/ProductList.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcProductWindow, "velt.productwindow")

using Column = WorkTableModel::Column;
namespace P = ProductColumn;

namespace {

const QString kReading = QStringLiteral("読込中です････");
const QString kSaving = QStringLiteral("登録中です････");
const QString kLinkSubject = QStringLiteral("商品リンク参照");

// Enter (and, for a text box, Down) moves the focus from one box to the next.
void leaveOnEnter(QWidget* from, QWidget* to, bool down)
{
    KeyHook::install(from, [to, down](int& key, Qt::KeyboardModifiers) {
        if (key == VKey::Enter || (down && key == 40)) {
            to->setFocus();
            key = 0;
        }
    });
}

}  // namespace

FrmProduct::FrmProduct(Session& session, QuotationPort& quotation, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm商品情報"), QStringLiteral("商品情報"), 11400, 8400, parent),
      session_(session),
      quotation_(quotation)
{
    build();
    connectControls();
    // The load.
    FormInit();
    Clear商品情報();
    Read商品マスタ();
}

void FrmProduct::connectControls()
{
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);
    connect(cmd読込, &QPushButton::clicked, this, &FrmProduct::Read商品マスタ);
    connect(cmd登録, &QPushButton::clicked, this, &FrmProduct::Entry商品情報);
    connect(cmd削除, &QPushButton::clicked, this, &FrmProduct::Delete商品);
    connect(cmd新規, &QPushButton::clicked, this, &FrmProduct::cmd新規_Click);
    connect(cmd詳細, &QPushButton::clicked, this, &FrmProduct::cmd詳細_Click);
    connect(cmdクリア, &QPushButton::clicked, this, [this] {
        if (!MasterBusy(session_)) Clear商品情報();
    });
    connect(cmd商品参照, &QPushButton::clicked, this, &FrmProduct::Read商品リンク);
    connect(cmd選択, &QPushButton::clicked, this, &FrmProduct::cmd選択_Click);
    connect(Grid商品マスタ, &GridView::cellDoubleClicked, this, [this] { cmd選択_Click(); });
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &FrmProduct::cmd顧客詳細閉じる_Click);
    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &FrmProduct::Entry商品詳細);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &FrmProduct::Clear商品詳細);

    // The panel's Enter chain: 品名 → 入数 → 単価 → 単位 → 商品区分 → ふりがな → 登録.
    leaveOnEnter(txt品名詳細, cmb入数, true);
    leaveOnEnter(cmb入数, num単価詳細, false);
    leaveOnEnter(num単価詳細, cmb単位詳細, true);
    leaveOnEnter(cmb単位詳細, cmb商品区分詳細, false);
    leaveOnEnter(cmb商品区分詳細, txtふりがな, false);
    leaveOnEnter(txtふりがな, cmd顧客詳細登録, true);
    ReportRefusedNumbers(num単価詳細, QStringLiteral("単価"), session_.messages());
}

// ---------------------------------------------------------------- the list

void FrmProduct::FormInit()
{
    dat商品 = new WorkTableModel(session_.WorkDb(), QStringLiteral("w商品マスタ"), this);
    dat商品->setObjectName(QStringLiteral("dat商品"));
    // Whole yen when no decimals are shown ("#,###": a price that comes to 0
    // shows an empty cell), else two decimals; the stored value keeps its
    // decimals either way.
    const bool wholeYen = session_.設定情報.小数 == QStringLiteral("しない");
    Column price = Column::number(QStringLiteral("単価"), QStringLiteral("単価"), 1300,
                                  wholeYen ? QStringLiteral("#,###") : QStringLiteral("Standard"));
    price.zeroAsBlank = wholeYen;
    Column taxFree = Column::tick(QStringLiteral("非課税"));
    taxFree.caption = QStringLiteral("非課税");
    taxFree.widthTwips = 700;
    if (!dat商品->declareColumns({
            Column::tick(QStringLiteral("チェック")),
            Column::text(QStringLiteral("品名"), QStringLiteral("品名"), 2700),
            Column::list(QStringLiteral("商品区分"), QStringLiteral("商品区分"), 1200, QStringLiteral("w商品区分参照")),
            Column::list(QStringLiteral("入数"), QStringLiteral("入数"), 900, QStringLiteral("w入数参照")),
            Column::list(QStringLiteral("単位"), QStringLiteral("単位"), 900, QStringLiteral("w単位参照")),
            price,
            taxFree,
            Column::text(QStringLiteral("ふりがな"), QStringLiteral("ふりがな"), 2400),
        }))
        qCWarning(lcProductWindow) << "the product list lacks columns of w商品マスタ";
    // A double click picks the row; typing or F2 edits a cell.
    Grid商品マスタ->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    Grid商品マスタ->setModel(dat商品);
    ShowRefusedEdits(dat商品, session_.messages());
    Grid商品マスタ->setFrozenColumns(2);
    Grid商品マスタ->setEnterToNextRow(P::ふりがな, P::品名);
}

void FrmProduct::showList()
{
    dat商品->refresh();
    // A list that has rows has a current one, as a bound grid has: 詳細 and
    // 選択 work on it without a click first.
    if (Grid商品マスタ->currentRow() < 0 && dat商品->rowCount() > 0) Grid商品マスタ->setCurrentCell(0, P::品名);
}

void FrmProduct::Clear商品情報()
{
    Grid商品マスタ->commitEdit();
    txtかな->clear();
    txt品名->clear();
    cmb商品区分->setText(QString());
    Readコード表(QStringLiteral("すべて"));
    // The list only; the master is not touched.
    if (!session_.WorkDb().exec(QStringLiteral("delete from w商品マスタ")))
        qCWarning(lcProductWindow) << "product list not emptied:" << session_.WorkDb().lastError();
    showList();
}

void FrmProduct::Read商品マスタ()
{
    BusyPanel busy(session_, CnSyohinMsg, LblSyohinMsg, kReading);
    if (!busy.active()) return;
    Grid商品マスタ->commitEdit();
    ProductFilter filter;
    filter.品名 = txt品名->text();
    filter.かな = txtかな->text();
    filter.商品区分 = cmb商品区分->text();
    Failure error;
    const bool ok = FillProductList(session_.DataDb(), session_.WorkDb(), filter, session_.設定情報.商品表示順, &error);
    showList();
    busy.done();
    if (!ok) session_.messages().ShowFailure(ListNotRead(QStringLiteral("商品情報")), error);
}

void FrmProduct::Entry商品情報()
{
    if (MasterBusy(session_) || !Grid商品マスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), QStringLiteral("商品情報")))
        return;
    // The list's save keeps its own transaction.
    MasterWrite write;
    write.panel = CnSyohinMsg;
    write.label = LblSyohinMsg;
    write.busyText = kSaving;
    write.failure = QStringLiteral("商品情報を登録できませんでした。商品マスタは変更していません。");
    RunMasterWrite(session_, write, [this](Failure& e) { return SaveProductList(session_.DataDb(), session_.WorkDb(), &e); });
}

void FrmProduct::Delete商品()
{
    if (MasterBusy(session_) || !Grid商品マスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("指定確認"), QStringLiteral("商品情報")))
        return;
    // The deletion keeps its own transactions; a failed one deletes no product.
    MasterWrite write;
    write.failure = QStringLiteral("商品情報を削除できませんでした。商品マスタは変更していません。");
    if (RunMasterWrite(session_, write, [this](Failure& e) {
            return DeleteTickedProducts(session_.DataDb(), session_.WorkDb(), &e);
        }) != WriteResult::Busy)
        showList();
}

void FrmProduct::Readコード表(const QString& kind)
{
    const QString all = QStringLiteral("すべて");
    struct Section {
        QString kcode;
        QString table;
        TextComboBox* panelCombo;   // its typed text goes with the list
        TextComboBox* searchCombo;  // keeps its text
    };
    const Section sections[] = {
        {QStringLiteral("単位"), QStringLiteral("w単位参照"), cmb単位詳細, nullptr},
        {QStringLiteral("商品区分"), QStringLiteral("w商品区分参照"), cmb商品区分詳細, cmb商品区分},
        // Pack quantities are kept under the kind the 入数列タイトル setting names.
        {PackCodeKind(session_.設定情報), QStringLiteral("w入数参照"), cmb入数, nullptr},
    };
    for (const Section& s : sections) {
        if (kind != s.kcode && kind != all) continue;
        const QStringList entries = RebuildReferenceTable(session_.DataDb(), session_.WorkDb(), s.kcode, s.table);
        s.panelCombo->setItems(entries);
        s.panelCombo->setText(QString());
        if (s.searchCombo) s.searchCombo->setItems(entries);
    }
}

// ---------------------------------------------------------------- the detail panel

ProductDetailFields FrmProduct::fields() const
{
    return {txt品名詳細, cmb入数, num単価詳細, cmb単位詳細, cmb商品区分詳細, txtふりがな};
}

void FrmProduct::cmd新規_Click()
{
    Cn商品詳細->show();
    Cn商品詳細->raise();
    Clear商品詳細();
    txt品名詳細->setFocus();
}

void FrmProduct::cmd詳細_Click()
{
    Grid商品マスタ->commitEdit();
    Cn商品詳細->show();
    Cn商品詳細->raise();
    const int row = Grid商品マスタ->currentRow();
    // No current row (an empty list): the fields come up empty.
    auto text = [&](int col) { return dat商品->text(row, col); };
    fields().show({text(P::品名), text(P::入数), dat商品->money(row, P::単価), text(P::単位), text(P::商品区分),
                   text(P::ふりがな)});
}

void FrmProduct::Clear商品詳細()
{
    fields().clearTyped();
    Readコード表(QStringLiteral("すべて"));
}

void FrmProduct::cmd顧客詳細閉じる_Click()
{
    Cn商品詳細->hide();
    Grid商品マスタ->setFocus();
}

void FrmProduct::Entry商品詳細()
{
    if (MasterBusy(session_) || !fields().commitTyped()) return;
    const MessageCatalog& messages = session_.messages();
    const ProductDetail product = fields().read();
    if (product.品名.isEmpty()) {
        messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("品名を記入してください"));
        txt品名詳細->setFocus();
        return;
    }
    txt品名詳細->setText(product.品名);
    if (!messages.ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), product.品名)) return;
    // The product and its code values in one transaction of their own.
    MasterWrite write;
    write.failure = QStringLiteral("%1 を登録できませんでした。").arg(MessageCatalog::ShortValue(product.品名));
    if (RunMasterWrite(session_, write, [&](Failure& e) {
            return StoreProductDetail(session_.DataDb(), session_.設定情報, product, &e);
        }) != WriteResult::Done)
        return;
    // The list shows the stored product; the panel stays open with its values.
    Read商品マスタ();
}

// ---------------------------------------------------------------- link import

void FrmProduct::Read商品リンク()
{
    if (MasterBusy(session_)) return;
    const QString application = session_.設定情報.商品リンクアプリ;
    const QStringList columns = ProductLinkColumns(application);
    const std::optional<QString> file =
        LinkFileToRead(session_, {application, session_.設定情報.商品リンクパス, kLinkSubject, QStringLiteral("商品"),
                                  !columns.isEmpty()});
    if (!file) return;
    BusyPanel busy(session_, CnSyohinMsg, LblSyohinMsg, kReading);
    if (!busy.active()) return;
    Grid商品マスタ->commitEdit();
    const ProductLinkResult result = ImportProductLink(*file, columns, session_.WorkDb());
    showList();
    busy.done();
    if (!result.ok) session_.messages().ShowFailure(ListNotRead(kLinkSubject), result.error);
}

// ---------------------------------------------------------------- the pick

void FrmProduct::cmd選択_Click()
{
    if (!Grid商品マスタ->commitEdit()) return;
    const int row = Grid商品マスタ->currentRow();
    if (row < 0 || row >= dat商品->rowCount()) return;
    // The stored price, not its display: the list may show it rounded, and 0 is a price.
    ProductPick pick;
    pick.品名 = dat商品->text(row, P::品名);
    pick.単位 = dat商品->text(row, P::単位);
    pick.単価 = dat商品->money(row, P::単価);
    pick.ふりがな = dat商品->text(row, P::ふりがな);
    if (!dat商品->isNull(row, P::非課税)) pick.非課税 = dat商品->value(row, P::非課税).toBool();
    quotation_.pickProduct(pick);
}
