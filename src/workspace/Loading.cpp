// Loading, browsing and deleting a quotation: a stored quotation is opened
// through its number in txtNo (typed, stepped by previous and next, or put
// there by the history list).

#include "BusyPanel.h"
#include "GridView.h"
#include "MessageCatalog.h"
#include "QuotationStore.h"
#include "Velt.h"

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

QString textOf(const QVariant& v)
{
    return dbv::text(v);
}

}  // namespace

void Velt::connectLoading()
{
    // A typed number is committed by Enter or by leaving the box; a number put
    // there from code loads nothing by itself (setText clears isModified).
    connect(txtNo, &QLineEdit::editingFinished, this, [this] {
        if (!txtNo->isModified()) return;
        txtNo->setModified(false);
        txtNo_Commit();
    });
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
    connect(cmd次伝票, &QPushButton::clicked, this, &Velt::cmd次伝票_Click);
    connect(cmd前伝票, &QPushButton::clicked, this, &Velt::cmd前伝票_Click);
    connect(cmd削除, &QPushButton::clicked, this, &Velt::cmd削除_Click);
}

void Velt::txtNo_EnterKey(int& key)
{
    if (key == VKey::Enter) cmb顧客名->setFocus();
}

void Velt::txtNo_Commit()
{
    if (txtNo->text().isEmpty()) return;
    if (!ParseNumericText(txtNo->text())) {
        // Nothing is loaded: the lines on screen stay.
        ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setText(QString());
        txtNo->setFocus();
        return;
    }
    Read見積書();
}

void Velt::Read見積書()
{
    if (BusyPanel::busy()) return;
    Clear見積書(false);
    BusyPanel busy(CnEntryMsg, EntryMsg, QStringLiteral("読込中です･･･"));
    if (!Read見積書ヘッダ()) return;

    const auto number = LookupQuotationNumber(txtNo->text());
    bool ok = false;
    const QList<QuotationLine> lines = number ? LoadQuotationLines(ModVelt::DataDb, *number, &ok) : QList<QuotationLine>{};
    if (!ok) qCWarning(lcLoading) << "lines of quotation" << txtNo->text() << "not read";
    if (!WriteWorkLines(ModVelt::WorkDb, lines)) qCWarning(lcLoading) << "w明細 not filled:" << ModVelt::WorkDb.lastError();
    ModVelt::DetailsChanged = false;
    Calc明細();
    // The grid shows the loaded lines; subtotal lines take their row style from the model.
    if (wkDat) wkDat->refresh();
}

bool Velt::Read見積書ヘッダ()
{
    const auto number = LookupQuotationNumber(txtNo->text());
    if (!number) return false;
    bool ok = false;
    const auto h = LoadQuotationHeader(ModVelt::DataDb, *number, &ok);
    if (!ok) qCWarning(lcLoading) << "header of quotation" << *number << "not read:" << ModVelt::DataDb.lastError();
    if (!h) return false;
    dt日付->setDate(h->日付);
    if (!dbv::isNull(h->顧客名)) cmb顧客名->setText(textOf(h->顧客名));
    if (!dbv::isNull(h->顧客情報)) txt顧客情報->setText(textOf(h->顧客情報));
    cmb敬称->setText(textOf(h->敬称));
    num消費税->setValue(h->消費税);
    num税抜計->setValue(h->税抜計);
    num合計->setValue(h->合計);
    num見積金額->setValue(h->見積金額);
    txtメモ->setText(textOf(h->メモ));
    txt件名->setText(textOf(h->件名));
    cmb有効期限->setText(textOf(h->有効期限));
    cmb支払条件->setText(textOf(h->支払条件));
    cmb受渡場所->setText(textOf(h->受渡場所));
    cmb納期->setText(textOf(h->納期));
    for (int i = 0; i < 4; ++i) txt印鑑[i]->setText(textOf(h->印鑑[i]));
    return true;
}

void Velt::Delete見積書()
{
    if (BusyPanel::busy()) return;
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    // The number is read the way a load reads it, so the quotation deleted is
    // the one that was opened ("2.0" opened quotation 2).
    const auto number = LookupQuotationNumber(text);
    if (!number) {
        // Nothing can be deleted under this text: say so rather than clear the
        // screen as if a quotation had gone.
        ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setFocus();
        return;
    }
    if (!ShowMessage(QStringLiteral("削除"), QStringLiteral("伝票確認"), text)) return;
    const StoreOutcome outcome = DeleteQuotations(ModVelt::DataDb, {*number});
    if (!outcome.ok) {
        // Nothing was deleted: the quotation stays on screen.
        ShowFailure(QStringLiteral("見積書を削除できませんでした。"), outcome.error);
        return;
    }
    Clear見積書(true);
    cmb顧客名->setFocus();
}

void Velt::cmd次伝票_Click()
{
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    const auto value = ParseNumericText(text);
    if (!value) return;
    txtNo->setText(numberText(*value + 1));
    Read見積書();
    cmb顧客名->setFocus();
}

void Velt::cmd前伝票_Click()
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

void Velt::cmd削除_Click()
{
    Delete見積書();
}
