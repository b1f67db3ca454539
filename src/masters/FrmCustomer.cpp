// The customer window's procedures: reading, clearing, deleting and saving
// the list, the link import, the detail panel, the postal look-up and the
// pick into the quotation.

#include "masters/FrmCustomer.h"

#include "app/BusyPanel.h"
#include "app/MessageCatalog.h"
#include "app/QuotationPort.h"
#include "app/Session.h"
#include "app/PostalLookup.h"
#include "masters/CustomerLink.h"
#include "masters/CustomerMaster.h"
#include "masters/LinkSource.h"
#include "masters/MasterWrite.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/LinkFile.h"
#include "platform/WorkTableModel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace CustomerListColumn;

namespace {

const QString kReading = QStringLiteral("読込中です････");
const QString kSaving = QStringLiteral("登録中です････");
const QString kList = QStringLiteral("顧客情報");
const QString kLinkSubject = QStringLiteral("顧客リンク参照");

}  // namespace

FrmCustomer::FrmCustomer(Session& session, QuotationPort& quotation, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frm顧客情報"), QStringLiteral("顧客情報"), 11400, 8400, parent),
      session_(session),
      quotation_(quotation)
{
    buildControls();
    connectHandlers();
    // The honorifics are offered from the start, not only after a クリア.
    fillHonorifics();
    Read顧客マスタ();
}

QString FrmCustomer::currentText(int col) const
{
    const int row = Grid顧客マスタ->currentRow();
    if (row < 0 || row >= dat顧客->rowCount()) return {};
    return dbv::text(dat顧客->value(row, col));
}

void FrmCustomer::fillHonorifics()
{
    cmb敬称->setItems({QStringLiteral("様"), QStringLiteral("御中"), QStringLiteral("殿")});
}

// ---------------------------------------------------------------- the list

void FrmCustomer::Read顧客マスタ()
{
    BusyPanel busy(session_, CnKokyakuMsg, LblKokyakuMsg, kReading);
    if (!busy.active()) return;
    Grid顧客マスタ->commitEdit();
    // The list changes only when the customers were read.
    Failure error;
    const auto rows = FindCustomers(session_.DataDb(), txt顧客名->text(), txtかな->text(), &error);
    if (rows && ReplaceCustomerWorkList(session_.WorkDb(), *rows, true, &error)) {
        dat顧客->refresh();
        return;
    }
    busy.done();
    session_.messages().ShowFailure(ListNotRead(kList), error);
}

void FrmCustomer::Clear顧客情報()
{
    if (MasterBusy(session_)) return;
    Grid顧客マスタ->commitEdit();
    if (!session_.WorkDb().exec(QStringLiteral("delete from w顧客マスタ")))
        session_.messages().ShowFailure(QStringLiteral("顧客一覧を消去できませんでした。"), session_.WorkDb().lastError());
    dat顧客->refresh();
    txtかな->clear();
    txt顧客名->clear();
    fillHonorifics();
}

void FrmCustomer::Delete顧客()
{
    if (MasterBusy(session_) || !Grid顧客マスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("指定確認"), kList)) return;

    Failure error;
    const auto ticked = ReadCustomerWorkList(session_.WorkDb(), true, &error);
    if (!ticked) {
        session_.messages().ShowFailure(QStringLiteral("顧客情報を削除できませんでした。"), error);
        return;
    }
    if (ticked->isEmpty()) return;
    QStringList names;
    for (const CustomerRow& r : *ticked) names << dbv::text(r.顧客名);
    // The rows leave the list in the same write, committed before the
    // customers' deletion: a list that cannot lose them keeps every customer
    // stored, so that no later 登録 writes a deleted customer back. The other
    // rows keep their 行.
    MasterWrite write;
    write.databases = {&session_.WorkDb(), &session_.DataDb()};
    write.failure = QStringLiteral("顧客情報を削除できませんでした。顧客マスタは変更していません。");
    const WriteResult result = RunMasterWrite(session_, write, [&](Failure& e) {
        if (!DeleteCustomers(session_.DataDb(), names, e)) return false;
        if (session_.WorkDb().exec(QStringLiteral("delete from w顧客マスタ where チェック <> 0"))) return true;
        e = session_.WorkDb().lastError();
        return false;
    });
    if (result != WriteResult::Busy) dat顧客->refresh();
}

void FrmCustomer::Entry顧客情報()
{
    if (MasterBusy(session_) || !Grid顧客マスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), kList)) return;
    const MasterWrite write = savingWrite(QStringLiteral("顧客情報を登録できませんでした。顧客マスタは変更していません。"));
    const WriteResult result = RunMasterWrite(session_, write, [this](Failure& e) {
        const auto rows = ReadCustomerWorkList(session_.WorkDb(), false, &e);
        return rows && WriteCustomers(session_.DataDb(), *rows, e);
    });
    if (result != WriteResult::Busy) dat顧客->refresh();
}

MasterWrite FrmCustomer::savingWrite(const QString& failure)
{
    MasterWrite write;
    write.databases = {&session_.DataDb()};
    write.panel = CnKokyakuMsg;
    write.label = LblKokyakuMsg;
    write.busyText = kSaving;
    write.failure = failure;
    return write;
}

// ---------------------------------------------------------------- link import

void FrmCustomer::Read顧客リンク()
{
    if (MasterBusy(session_)) return;
    const QString application = session_.設定情報.顧客リンクアプリ;
    const CustomerLinkFormat format = CustomerLinkFormatOf(application);
    const std::optional<QString> file = LinkFileToRead(
        session_, {application, session_.設定情報.顧客リンクパス, kLinkSubject, QStringLiteral("顧客"),
                   format != CustomerLinkFormat::None});
    if (!file) return;

    BusyPanel busy(session_, CnKokyakuMsg, LblKokyakuMsg, kReading);
    if (!busy.active()) return;
    Grid顧客マスタ->commitEdit();
    // The file is read whole first; the list changes only when that worked.
    Failure error;
    std::optional<QList<CustomerRow>> customers;
    {
        LinkFile link;
        if (link.open(*file))
            customers = ReadLinkedCustomers(link, format, &error);
        else
            error = link.failure();
    }
    if (customers && ReplaceCustomerWorkList(session_.WorkDb(), *customers, false, &error)) {
        dat顧客->refresh();
        return;
    }
    busy.done();
    session_.messages().ShowFailure(ListNotRead(kLinkSubject), error);
}

// ---------------------------------------------------------------- detail panel

void FrmCustomer::cmd詳細_Click()
{
    Grid顧客マスタ->commitEdit();
    Cn顧客詳細->show();
    Cn顧客詳細->raise();
    txt顧客名詳細->setText(currentText(顧客名));
    txt顧客情報->setText(currentText(顧客情報));
    txtふりがな->setText(currentText(ふりがな));
    cmb敬称->setText(currentText(敬称));
    // Intended: the focus goes to the search box txt顧客名, not into the panel (追加 focuses the panel).
    txt顧客名->setFocus();
}

void FrmCustomer::cmd新規_Click()
{
    Cn顧客詳細->show();
    Cn顧客詳細->raise();
    txt顧客名詳細->clear();
    txt顧客情報->setText(QString());
    txtふりがな->clear();
    cmb敬称->setText(QString());
    txt顧客名詳細->setFocus();
}

void FrmCustomer::cmd顧客詳細クリア_Click()
{
    txt顧客名詳細->clear();
    txt顧客情報->setText(QString());
    txtふりがな->clear();
    fillHonorifics();
    cmb敬称->setText(QStringLiteral("様"));
    txt顧客名詳細->setFocus();
}

void FrmCustomer::cmd顧客詳細閉じる_Click()
{
    Cn顧客詳細->hide();
    Grid顧客マスタ->setFocus();
}

void FrmCustomer::cmd顧客詳細登録_Click()
{
    if (MasterBusy(session_)) return;
    const QString name = txt顧客名詳細->text();
    if (name.isEmpty()) {
        session_.messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("顧客名を記入してください"));
        txt顧客名詳細->setFocus();
        return;
    }
    if (!session_.messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), name)) return;
    const CustomerRow customer{name, txt顧客情報->text(), txtふりがな->text(), cmb敬称->text()};
    // On failure the panel stays open with what was typed.
    if (RunMasterWrite(session_, savingWrite(QStringLiteral("%1 を登録できませんでした。").arg(MessageCatalog::ShortValue(name))),
                       [&](Failure& e) { return WriteCustomers(session_.DataDb(), {customer}, e); }) != WriteResult::Done)
        return;
    Read顧客マスタ();
    // The stored customer becomes the current row, when the search boxes let it into the list.
    Grid顧客マスタ->setCurrentIndex(QModelIndex());
    for (int row = 0; row < dat顧客->rowCount(); ++row) {
        if (dbv::text(dat顧客->value(row, 顧客名)) == name) {
            Grid顧客マスタ->setCurrentCell(row, 顧客名);
            break;
        }
    }
    Cn顧客詳細->hide();
    Grid顧客マスタ->setFocus();
}

void FrmCustomer::cmd郵便_Click()
{
    const std::optional<QString> block = LookUpPostalBlock(session_);
    if (block && txt顧客情報->text().isEmpty()) txt顧客情報->setText(*block);
}

// ---------------------------------------------------------------- the pick

void FrmCustomer::cmd選択_Click()
{
    if (!Grid顧客マスタ->commitEdit()) return;
    quotation_.pickCustomer(currentText(顧客名), currentText(顧客情報));
    close();
}
