// Storing a quotation: the required fields, the confirmation, and the one
// transaction that writes the quotation, its customer, products, code values
// and the number counter.

#include "BusyPanel.h"
#include "GridView.h"
#include "MessageCatalog.h"
#include "QuotationStore.h"
#include "SharedRoutines.h"
#include "Velt.h"

#include <QPushButton>

namespace {

// The header as the quotation tab shows it.
QuotationHeader headerFromScreen(const Velt& w, int number)
{
    QuotationHeader h;
    h.伝票番号 = number;
    h.日付 = w.dt日付->date();
    h.顧客名 = w.cmb顧客名->text();
    h.顧客情報 = w.txt顧客情報->text();
    h.敬称 = w.cmb敬称->text();
    h.メモ = dbv::textOrNull(w.txtメモ->text());
    h.件名 = dbv::textOrNull(w.txt件名->text());
    h.有効期限 = dbv::textOrNull(w.cmb有効期限->text());
    h.支払条件 = dbv::textOrNull(w.cmb支払条件->text());
    h.受渡場所 = dbv::textOrNull(w.cmb受渡場所->text());
    h.納期 = dbv::textOrNull(w.cmb納期->text());
    h.消費税 = w.num消費税->value();
    h.税抜計 = w.num税抜計->value();
    h.合計 = w.num合計->value();
    h.見積金額 = w.num見積金額->value();
    for (int i = 0; i < 4; ++i) h.印鑑[i] = w.txt印鑑[i]->text();
    return h;
}

}  // namespace

void Velt::connectStoring()
{
    connect(cmd登録, &QPushButton::clicked, this, &Velt::cmd登録_Click);
}

void Velt::cmd登録_Click()
{
    if (BusyPanel::busy()) return;
    // A cell still being edited belongs to the quotation.
    if (Grid明細) Grid明細->commitEdit();
    if (!EntryCheck()) {
        CnEntryMsg->hide();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    if (!ShowEntryMessage(QStringLiteral("確認"), QStringLiteral(" ") + cmb顧客名->text())) return;
    Entry見積書();
}

bool Velt::EntryCheck()
{
    QWidget* empty = nullptr;
    if (txtNo->text().isEmpty())
        empty = txtNo;
    else if (dt日付->isNull())
        empty = dt日付->lineEdit();
    else if (cmb顧客名->text().isEmpty())
        empty = cmb顧客名;
    if (empty) {
        ShowEntryMessage(QStringLiteral("チェック"), QString());
        empty->setFocus();
        return false;
    }
    // The number is the key of the stored quotation: a whole number in range.
    if (!ParseQuotationNumber(txtNo->text())) {
        ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setFocus();
        return false;
    }
    return true;
}

void Velt::Entry見積書()
{
    const auto number = ParseQuotationNumber(txtNo->text());
    if (!number) {
        ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setFocus();
        return;
    }
    StoreOutcome outcome;
    {
        BusyPanel busy(CnEntryMsg, EntryMsg, QStringLiteral("登録中です････"));
        if (!busy.active()) return;
        QuotationRecord q;
        q.header = headerFromScreen(*this, *number);
        bool ok = false;
        q.lines = ReadWorkLines(ModVelt::WorkDb, &ok);
        if (!ok) {
            outcome = {false, ModVelt::WorkDb.lastError()};
        } else {
            // Code values join the store's transaction on the same connection.
            outcome = StoreQuotation(ModVelt::DataDb, q, [](const QString& kcode, const QString& value) {
                AutoEntryCode(ModVelt::DataDb, kcode, value);
            });
        }
    }
    if (!outcome.ok) {
        // Nothing was written; the quotation stays on screen to be stored again.
        ShowFailure(QStringLiteral("見積書を登録できませんでした。"), outcome.error);
        return;
    }
    ShowEntryMessage(QStringLiteral("完了"), QStringLiteral(" ") + cmb顧客名->text());
    Clear見積書(true);
    cmb顧客名->setFocus();
}

// StoreQuotation registers the customer and the products inside the store's
// transaction; these two register them on their own.
void Velt::AutoEntry顧客マスタ(const QString& name)
{
    QuotationHeader h;
    h.顧客名 = name;
    h.顧客情報 = txt顧客情報->text();
    h.敬称 = cmb敬称->text();
    const StoreOutcome outcome = RegisterCustomer(ModVelt::DataDb, h);
    if (!outcome.ok) ShowFailure(QStringLiteral("顧客を登録できませんでした。"), outcome.error);
}

void Velt::AutoEntry商品()
{
    const StoreOutcome outcome = RegisterProducts(ModVelt::DataDb, ReadWorkLines(ModVelt::WorkDb));
    if (!outcome.ok) ShowFailure(QStringLiteral("商品を登録できませんでした。"), outcome.error);
}
