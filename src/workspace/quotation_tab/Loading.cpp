// Loading, browsing and deleting a quotation: a stored quotation is opened
// through its number in txtNo (typed and committed with Enter, stepped by
// previous and next, or put there by the history list).

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "app/BusyPanel.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcLoading, "velt.loading")

void QuotationTab::connectLoading()
{
    connect(header_, &HeaderPanel::numberCommitted, this, &QuotationTab::Read見積書);
    connect(cmd削除, &QPushButton::clicked, this, &QuotationTab::cmd削除_Click);
}

void QuotationTab::openNumber(const QString& number)
{
    header_->setNumberText(number);
    header_->txtNo_Commit();
    grid_->focusGrid();
}

void QuotationTab::Read見積書()
{
    if (session_.operationRunning()) return;
    Clear見積書(false);
    BusyPanel busy(session_, CnEntryMsg, EntryMsg, QStringLiteral("読込中です･･･"));

    // All or nothing: the header and its lines are read, the lines written
    // into w明細, and only then is the header shown. A quotation that cannot
    // be read or written whole leaves the screen as the reset left it, so a
    // later store cannot replace its stored lines with nothing.
    const auto number = LookupQuotationNumber(header_->numberText());
    if (!number) return;
    bool ok = false;
    QString failure;
    const std::optional<QuotationRecord> q = LoadQuotation(session_.DataDb, *number, &ok, &failure);
    if (ok && !q) return;  // no quotation of that number: the reset screen, no message
    const bool failed = !ok || !grid_->writeLines(q->lines, &failure);
    if (failed) {
        qCWarning(lcLoading) << "quotation" << *number << "not loaded:" << failure;
        grid_->showLines(false);
        busy.done();
        messages().ShowFailure(QStringLiteral("見積書 %1 を読み込めませんでした。").arg(*number), failure);
        return;
    }
    header_->showHeader(q->header);
    loadedNumber_ = *number;
    grid_->showLines(true);
}

void QuotationTab::Delete見積書()
{
    if (session_.operationRunning()) return;
    const QString text = header_->numberText();
    if (text.isEmpty()) return;
    // Only a whole number names a stored quotation ("2.0" names 2). Any other
    // text deletes nothing: say so, and keep the screen as it is.
    const auto number = WholeQuotationNumber(text);
    if (!number) {
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        header_->focusNumber();
        return;
    }
    if (!messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("伝票確認"), text)) return;
    const StoreOutcome outcome = DeleteQuotations(session_.DataDb, {*number});
    if (!outcome.ok) {
        // Nothing was deleted: the quotation stays on screen.
        messages().ShowFailure(QStringLiteral("見積書を削除できませんでした。"), outcome.error);
        return;
    }
    Clear見積書(true);
    header_->focusCustomer();
}

void QuotationTab::cmd削除_Click()
{
    Delete見積書();
}
