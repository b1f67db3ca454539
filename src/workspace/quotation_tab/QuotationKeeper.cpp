// The quotation keeper: storing a quotation (the required fields, the
// confirmation, and the one transaction that writes the quotation, its
// customer, products, code values and the number counter), and loading and
// deleting the quotation whose number is in txtNo (typed and committed with
// Enter, stepped by previous and next, or put there by the history list).

#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/HeaderPanel.h"

#include "app/BusyPanel.h"
#include "app/CodeLists.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/UiBuild.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcLoading, "velt.loading")

QuotationKeeper::QuotationKeeper(Session& session, HeaderPanel& header, Lines lines, QPushButton* cmd登録,
                                 QPushButton* cmd削除, QPushButton* cmd転記, QWidget* page)
    : QObject(page), session_(session), header_(header), lines_(std::move(lines))
{
    setObjectName(QStringLiteral("QuotationKeeper"));
    // Hidden; over the lines while a quotation is stored or loaded.
    CnEntryMsg = ui::busyPanel(page, QStringLiteral("CnEntryMsg"), QStringLiteral("EntryMsg"), 4140, 5580, &EntryMsg);

    connect(cmd転記, &QPushButton::clicked, this, &QuotationKeeper::cmd転記_Click);
    connect(cmd登録, &QPushButton::clicked, this, &QuotationKeeper::cmd登録_Click);
    connect(&header_, &HeaderPanel::numberCommitted, this, &QuotationKeeper::Read見積書);
    connect(cmd削除, &QPushButton::clicked, this, &QuotationKeeper::cmd削除_Click);
}

const MessageCatalog& QuotationKeeper::messages() const
{
    return session_.messages();
}

// ---------------------------------------------------------------- storing

std::optional<QuotationRecord> QuotationKeeper::screenQuotation(int number, Failure* error) const
{
    QuotationRecord q;
    q.header = header_.header();
    q.header.伝票番号 = number;
    std::optional<QList<QuotationLine>> lines = lines_.read(error);
    if (!lines) return std::nullopt;
    q.lines = std::move(*lines);
    return q;
}

void QuotationKeeper::cmd登録_Click()
{
    if (session_.operationRunning()) return;
    // A cell still being edited belongs to the quotation, and so does a date
    // or quotation amount still being typed; when they are not taken, nothing
    // is stored (their warning or the failure box tells why).
    if (!lines_.commitEdit() || !header_.commitTyped()) return;
    if (!EntryCheck()) {
        CnEntryMsg->hide();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    // What the checks passed is what is stored: the quotation is taken from
    // the screen now, so nothing that happens while the question is open (a
    // focus change, say) can change what is written.
    Failure error;
    const std::optional<QuotationRecord> quotation = screenQuotation(*ParseQuotationNumber(header_.numberText()), &error);
    if (!quotation) {
        messages().ShowFailure(QStringLiteral("見積書を登録できませんでした。"), error);
        return;
    }
    if (!confirmStore(*quotation)) return;
    Entry見積書(*quotation);
}

bool QuotationKeeper::confirmStore(const QuotationRecord& quotation)
{
    const int number = quotation.header.伝票番号;
    if (number != loadedNumber_) {
        // Storing replaces what the number holds: another quotation than the
        // one loaded is named, and kept unless the user says otherwise.
        bool ok = false;
        Failure error;
        const std::optional<QuotationHeader> stored = LoadQuotationHeader(session_.DataDb(), number, &ok, &error);
        if (!ok) {
            messages().ShowFailure(QStringLiteral("見積書を登録できませんでした。"), error);
            return false;
        }
        if (stored) {
            const QString customer = dbv::text(stored->顧客名);
            const QString named = customer.isEmpty() ? QString::number(number)
                                                     : QStringLiteral("%1（%2）").arg(number).arg(customer);
            return messages().ShowEntryMessage(QStringLiteral("置換確認"), named);
        }
    }
    return messages().ShowEntryMessage(QStringLiteral("確認"), QStringLiteral(" ") + dbv::text(quotation.header.顧客名));
}

bool QuotationKeeper::EntryCheck()
{
    if (!header_.checkRequired([this] { messages().ShowEntryMessage(QStringLiteral("チェック"), QString()); }))
        return false;
    // The number is the key of the stored quotation: a whole number in range.
    if (!ParseQuotationNumber(header_.numberText())) {
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        header_.focusNumber();
        return false;
    }
    return true;
}

void QuotationKeeper::Entry見積書(const QuotationRecord& quotation)
{
    StoreOutcome outcome;
    {
        BusyPanel busy(session_, CnEntryMsg, EntryMsg, QStringLiteral("登録中です････"));
        if (!busy.active()) return;
        // Code values join the store's transaction on the same connection.
        Database& data = session_.DataDb();
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
    lines_.clearScreen(true);
    header_.focusCustomer();
}

// ---------------------------------------------------------------- loading, deleting

void QuotationKeeper::openNumber(const QString& number)
{
    header_.setNumberText(number);
    header_.txtNo_Commit();
    lines_.focus();
}

void QuotationKeeper::Read見積書()
{
    if (session_.operationRunning()) return;
    lines_.clearScreen(false);
    BusyPanel busy(session_, CnEntryMsg, EntryMsg, QStringLiteral("読込中です･･･"));

    // All or nothing: the header and its lines are read, the lines written
    // into the grid's table, and only then is the header shown. A quotation
    // that cannot be read or written whole leaves the screen as the reset
    // left it, so a later store cannot replace its stored lines with nothing.
    const auto number = LookupQuotationNumber(header_.numberText());
    if (!number) return;
    bool ok = false;
    Failure failure;
    const std::optional<QuotationRecord> q = LoadQuotation(session_.DataDb(), *number, &ok, &failure);
    if (ok && !q) return;  // no quotation of that number: the reset screen, no message
    const bool failed = !ok || !lines_.write(q->lines, &failure);
    if (failed) {
        qCWarning(lcLoading) << "quotation" << *number << "not loaded:" << failure;
        lines_.show(false);
        busy.done();
        messages().ShowFailure(QStringLiteral("見積書 %1 を読み込めませんでした。").arg(*number), failure);
        return;
    }
    header_.showHeader(q->header);
    loadedNumber_ = *number;
    lines_.show(true);
}

void QuotationKeeper::Delete見積書()
{
    if (session_.operationRunning()) return;
    const QString text = header_.numberText();
    if (text.isEmpty()) return;
    // Only a whole number names a stored quotation ("2.0" names 2). Any other
    // text deletes nothing: say so, and keep the screen as it is.
    const auto number = WholeQuotationNumber(text);
    if (!number) {
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        header_.focusNumber();
        return;
    }
    if (!messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("伝票確認"), text)) return;
    const StoreOutcome outcome = DeleteQuotations(session_.DataDb(), {*number});
    if (!outcome.ok) {
        // Nothing was deleted: the quotation stays on screen.
        messages().ShowFailure(QStringLiteral("見積書を削除できませんでした。"), outcome.error);
        return;
    }
    lines_.clearScreen(true);
    header_.focusCustomer();
}

void QuotationKeeper::cmd削除_Click()
{
    Delete見積書();
}
