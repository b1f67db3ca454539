// Loading, browsing and deleting a quotation: a stored quotation is opened
// through its number in txtNo (typed and committed with Enter, stepped by
// previous and next, or put there by the history list).

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "app/BusyPanel.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLoggingCategory>
#include <QPushButton>
#include <cmath>

Q_LOGGING_CATEGORY(lcLoading, "velt.loading")

namespace {

// A stepped number as text: whole numbers without a decimal point.
QString numberText(double v)
{
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

}  // namespace

void QuotationTab::connectLoading()
{
    // A typed number is committed by Enter alone. Leaving the box (Tab, a
    // click, a message box taking the focus) loads nothing, so nothing on
    // screen is replaced behind the user's back; a number put there from code
    // loads nothing by itself (setText clears isModified).
    KeyHook::install(txtNo, [this](int& key, Qt::KeyboardModifiers) {
        if (key != VKey::Enter) return;
        if (txtNo->isModified()) {
            txtNo->setModified(false);
            txtNo_Commit();
            // After the digits-only warning the box is empty and keeps the focus.
            if (txtNo->text().isEmpty()) {
                key = 0;
                return;
            }
        }
        txtNo_EnterKey(key);
    });
    connect(cmd次伝票, &QPushButton::clicked, this, &QuotationTab::cmd次伝票_Click);
    connect(cmd前伝票, &QPushButton::clicked, this, &QuotationTab::cmd前伝票_Click);
    connect(cmd削除, &QPushButton::clicked, this, &QuotationTab::cmd削除_Click);
}

void QuotationTab::txtNo_EnterKey(int& key)
{
    if (key == VKey::Enter) cmb顧客名->setFocus();
}

void QuotationTab::txtNo_Commit()
{
    if (txtNo->text().isEmpty()) return;
    if (!ParseNumericText(txtNo->text())) {
        // Nothing is loaded: the lines on screen stay.
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setText(QString());
        txtNo->setFocus();
        return;
    }
    Read見積書();
}

void QuotationTab::openNumber(const QString& number)
{
    txtNo->setText(number);
    txtNo_Commit();
    Grid明細->setFocus();
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
    const auto number = LookupQuotationNumber(txtNo->text());
    if (!number) return;
    bool ok = false;
    QString failure;
    const std::optional<QuotationRecord> q = LoadQuotation(session_.DataDb, *number, &ok, &failure);
    if (ok && !q) return;  // no quotation of that number: the reset screen, no message
    const bool failed = !ok || !WriteWorkLines(session_.WorkDb, q->lines, &failure);
    if (failed) {
        qCWarning(lcLoading) << "quotation" << *number << "not loaded:" << failure;
        if (wkDat) wkDat->refresh();
        busy.done();
        messages().ShowFailure(QStringLiteral("見積書 %1 を読み込めませんでした。").arg(*number), failure);
        return;
    }
    Read見積書ヘッダ(q->header);
    loadedNumber_ = *number;
    DetailsChanged = false;
    Calc明細();
    // The grid shows the loaded lines; subtotal lines take their row style from the model.
    if (wkDat) wkDat->refresh();
}

void QuotationTab::Read見積書ヘッダ(const QuotationHeader& h)
{
    dt日付->setDate(h.日付);
    if (!dbv::isNull(h.顧客名)) cmb顧客名->setText(dbv::text(h.顧客名));
    if (!dbv::isNull(h.顧客情報)) txt顧客情報->setText(dbv::text(h.顧客情報));
    cmb敬称->setText(dbv::text(h.敬称));
    num消費税->setValue(h.消費税);
    num税抜計->setValue(h.税抜計);
    num合計->setValue(h.合計);
    num見積金額->setValue(h.見積金額);
    txtメモ->setText(dbv::text(h.メモ));
    txt件名->setText(dbv::text(h.件名));
    cmb有効期限->setText(dbv::text(h.有効期限));
    cmb支払条件->setText(dbv::text(h.支払条件));
    cmb受渡場所->setText(dbv::text(h.受渡場所));
    cmb納期->setText(dbv::text(h.納期));
    for (int i = 0; i < 4; ++i) txt印鑑[i]->setText(dbv::text(h.印鑑[i]));
}

void QuotationTab::Delete見積書()
{
    if (session_.operationRunning()) return;
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    // Only a whole number names a stored quotation ("2.0" names 2). Any other
    // text deletes nothing: say so, and keep the screen as it is.
    const auto number = WholeQuotationNumber(text);
    if (!number) {
        messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setFocus();
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
    cmb顧客名->setFocus();
}

void QuotationTab::cmd次伝票_Click()
{
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    const auto value = ParseNumericText(text);
    if (!value) return;
    txtNo->setText(numberText(*value + 1));
    Read見積書();
    cmb顧客名->setFocus();
}

void QuotationTab::cmd前伝票_Click()
{
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    const auto value = ParseNumericText(text);
    if (!value) return;
    double v = *value - 1;
    if (v < 1) v = 1;
    txtNo->setText(numberText(v));
    Read見積書();
    cmb顧客名->setFocus();
}

void QuotationTab::cmd削除_Click()
{
    Delete見積書();
}
