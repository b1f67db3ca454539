// Storing a quotation: the required fields, the confirmation, and the one
// transaction that writes the quotation, its customer, products, code values
// and the number counter.

#include "app/BusyPanel.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "workspace/QuotationStore.h"
#include "app/CodeLists.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QPushButton>

void QuotationTab::connectStoring()
{
    connect(cmd登録, &QPushButton::clicked, this, &QuotationTab::cmd登録_Click);
}

std::optional<QuotationRecord> QuotationTab::screenQuotation(int number, QString* error) const
{
    QuotationRecord q;
    q.header = header_->header();
    q.header.伝票番号 = number;
    std::optional<QList<QuotationLine>> lines = grid_->lines(error);
    if (!lines) return std::nullopt;
    q.lines = std::move(*lines);
    return q;
}

void QuotationTab::cmd登録_Click()
{
    if (session_.operationRunning()) return;
    // A cell still being edited belongs to the quotation; when w明細 does not
    // take it, nothing is stored (the failure box tells why).
    if (!grid_->commitEdit()) return;
    if (!EntryCheck()) {
        CnEntryMsg->hide();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    // What the checks passed is what is stored: the quotation is taken from
    // the screen now, so nothing that happens while the question is open (a
    // focus change, say) can change what is written.
    QString error;
    const std::optional<QuotationRecord> quotation = screenQuotation(*ParseQuotationNumber(header_->numberText()), &error);
    if (!quotation) {
        messages().ShowFailure(QStringLiteral("見積書を登録できませんでした。"), error);
        return;
    }
    if (!messages().ShowEntryMessage(QStringLiteral("確認"), QStringLiteral(" ") + dbv::text(quotation->header.顧客名))) return;
    Entry見積書(*quotation);
}

bool QuotationTab::EntryCheck()
{
    QWidget* empty = header_->firstEmptyRequired();
    if (empty) {
        messages().ShowEntryMessage(QStringLiteral("チェック"), QString());
        empty->setFocus();
        return false;
    }
    // The number is the key of the stored quotation: a whole number in range.
    if (!ParseQuotationNumber(header_->numberText())) {
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        header_->focusNumber();
        return false;
    }
    return true;
}

void QuotationTab::Entry見積書(const QuotationRecord& quotation)
{
    StoreOutcome outcome;
    {
        BusyPanel busy(session_, CnEntryMsg, EntryMsg, QStringLiteral("登録中です････"));
        if (!busy.active()) return;
        // Code values join the store's transaction on the same connection.
        Database& data = session_.DataDb;
        outcome = StoreQuotation(data, quotation, [&data](const QString& kcode, const QString& value) {
            return AutoEntryCode(data, kcode, value);
        });
    }
    if (!outcome.ok) {
        // Nothing was written; the quotation stays on screen to be stored again.
        messages().ShowFailure(QStringLiteral("見積書を登録できませんでした。"), outcome.error);
        return;
    }
    messages().ShowEntryMessage(QStringLiteral("完了"), QStringLiteral(" ") + dbv::text(quotation.header.顧客名));
    Clear見積書(true);
    header_->focusCustomer();
}
