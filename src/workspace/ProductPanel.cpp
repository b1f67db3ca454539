// The product-detail panel of the quotation tab: the product fields of the
// current detail line in larger boxes, stored into 商品マスタ (with new code
// values) and written back into the line.

#include "workspace/ProductPanel.h"

#include "workspace/DetailLines.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/SharedRoutines.h"
#include "workspace/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QFrame>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcProductPanel, "velt.productpanel")

using namespace DetailLine;

namespace {

// Offers a value to its code list. Afterwards it is in the list, or the list
// has no free slot left; a list that could not be written is a failure (false).
bool registerCode(Database& db, const QString& kcode, const QString& value)
{
    return AutoEntryCode(db, kcode, value) != CodeEntry::Failed;
}

}  // namespace

QString NormalizeProductName(const QString& name)
{
    return CutToShiftJis(DetailLine::TrimBlanks(name), DetailLine::kNameBytes);
}

void QuotationTab::connectProductPanel()
{
    connect(cmd商品詳細, &QPushButton::clicked, this, &QuotationTab::cmd商品詳細_Click);
    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細登録_Click);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細クリア_Click);
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &QuotationTab::cmd顧客詳細閉じる_Click);
}

void QuotationTab::cmd商品詳細_Click()
{
    if (!wkDat) return;
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return;
    auto cell = [&](int col) { return wkDat->value(row, col); };
    if (isSubtotalLine(row)) return;  // subtotal lines have no product
    Cn商品詳細->show();
    Cn商品詳細->raise();
    txt品名詳細->setText(dbv::text(cell(品名)));
    cmb入数->setText(dbv::text(cell(入数)));
    num単価詳細->setValue(wkDat->money(row, 単価));
    cmb単位詳細->setText(dbv::text(cell(単位)));
    cmb商品区分詳細->setText(dbv::text(cell(商品区分)));
    txtふりがな->setText(dbv::text(cell(ふりがな)));
}

void QuotationTab::Entry商品詳細()
{
    const QString name = NormalizeProductName(txt品名詳細->text());
    if (name.isEmpty()) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("品名を記入してください"));
        txt品名詳細->setFocus();
        return;
    }
    txt品名詳細->setText(name);
    const int row = std::max(0, Grid明細->currentRow());
    if (!wkDat || row >= wkDat->rowCount()) return;
    if (isSubtotalLine(row)) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), DetailLine::kSubtotalLineRefusal);
        return;
    }
    if (!messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), name)) return;

    const QString pack = cmb入数->text();
    const QString unit = cmb単位詳細->text();
    const QString category = cmb商品区分詳細->text();
    const QString reading = txtふりがな->text();
    const std::optional<Currency> price = num単価詳細->value();

    // The product and its code values belong together: all or nothing.
    {
        Database& db = session_.DataDb;
        Transaction tx(db);
        const Fields values{{QStringLiteral("品名"), name},
                            {QStringLiteral("入数"), dbv::textOrNull(pack)},
                            {QStringLiteral("単価"), Currency::toDb(price)},
                            {QStringLiteral("単位"), dbv::textOrNull(unit)},
                            {QStringLiteral("商品区分"), dbv::textOrNull(category)},
                            {QStringLiteral("ふりがな"), dbv::textOrNull(reading)}};
        bool ok = tx.started() && db.upsert(QStringLiteral("商品マスタ"), {{QStringLiteral("品名"), name}}, values);
        if (ok && !pack.isEmpty()) ok = registerCode(db, PackCodeKind(session_.設定情報), pack);
        if (ok && !unit.isEmpty()) ok = registerCode(db, QStringLiteral("単位"), unit);
        if (ok && !category.isEmpty()) ok = registerCode(db, QStringLiteral("商品区分"), category);
        if (ok) ok = tx.commit();
        if (!ok) {
            const QString error = db.lastError();
            tx.rollback();
            messages().ShowFailure(QStringLiteral("商品を登録できませんでした。明細行も変更していません。"), error);
            return;
        }
    }

    // Into the current line, without recomputing amounts or totals.
    const bool written = wkDat->setValues(row, {{品名, name},
                                                {入数, dbv::textOrNull(pack)},
                                                {単価, price ? QVariant::fromValue(*price) : QVariant()},
                                                {単位, dbv::textOrNull(unit)},
                                                {商品区分, dbv::textOrNull(category)},
                                                {ふりがな, dbv::textOrNull(reading)}});
    if (!written) {
        qCWarning(lcProductPanel) << "detail line not written:" << session_.WorkDb.lastError();
        messages().ShowFailure(QStringLiteral("商品は登録しましたが、明細行に書き込めませんでした。"), session_.WorkDb.lastError());
    }
}

void QuotationTab::cmd顧客詳細登録_Click()
{
    Entry商品詳細();
}

void QuotationTab::cmd顧客詳細クリア_Click()
{
    txt品名詳細->clear();
    cmb入数->setText(QString());
    num単価詳細->setNull();
    txtふりがな->clear();
    Readコード表(QStringLiteral("すべて"));
}

void QuotationTab::cmd顧客詳細閉じる_Click()
{
    Cn商品詳細->hide();
    Grid明細->setFocus();
}
