// The product-detail panel of the quotation tab: the product fields of the
// current detail line in larger boxes, stored into 商品マスタ (with new code
// values) and written back into the line.

#include "ProductPanel.h"

#include "DetailLines.h"
#include "GridView.h"
#include "MessageCatalog.h"
#include "SharedRoutines.h"
#include "Velt.h"
#include "WorkTableModel.h"

#include <QFrame>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcProductPanel, "velt.productpanel")

namespace {

// The pack-quantity code kind: the one the 入数列タイトル setting names.
QString packKind()
{
    const QString k = ModVelt::設定情報.入数列タイトル;
    return k.isEmpty() ? QStringLiteral("入数") : k;
}

// Offers a value to its code list. Afterwards it is in the list, or the list
// has no free slot left; anything else is a failed write (false).
bool registerCode(Database& db, const QString& kcode, const QString& value)
{
    AutoEntryCode(db, kcode, value);
    bool ok = false;
    const QVariant held =
        db.scalar(QStringLiteral("select count(*) from コードマスタ where kcode = ? and sname = ?"), {kcode, value}, &ok);
    if (!ok) return false;
    if (held.toInt() > 0) return true;
    return db.scalar(QStringLiteral("select count(*) from コードマスタ where kcode = ? and sname is null"), {kcode}, &ok)
                   .toInt() == 0 &&
           ok;
}

}  // namespace

QString NormalizeProductName(const QString& name)
{
    return DetailLine::CutToShiftJis(DetailLine::TrimBlanks(name));
}

void Velt::connectProductPanel()
{
    connect(cmd商品詳細, &QPushButton::clicked, this, &Velt::cmd商品詳細_Click);
    connect(cmd顧客詳細登録, &QPushButton::clicked, this, &Velt::cmd顧客詳細登録_Click);
    connect(cmd顧客詳細クリア, &QPushButton::clicked, this, &Velt::cmd顧客詳細クリア_Click);
    connect(cmd顧客詳細閉じる, &QPushButton::clicked, this, &Velt::cmd顧客詳細閉じる_Click);
}

void Velt::cmd商品詳細_Click()
{
    if (!wkDat) return;
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return;
    auto cell = [&](const char16_t* field) { return wkDat->value(row, wkDat->columnOf(QString::fromUtf16(field))); };
    if (dbv::toBool(cell(u"小計"))) return;  // subtotal lines have no product
    Cn商品詳細->show();
    Cn商品詳細->raise();
    txt品名詳細->setText(dbv::text(cell(u"品名")));
    cmb入数->setText(dbv::text(cell(u"入数")));
    num単価詳細->setValue(wkDat->money(row, wkDat->columnOf(QStringLiteral("単価"))));
    cmb単位詳細->setText(dbv::text(cell(u"単位")));
    cmb商品区分詳細->setText(dbv::text(cell(u"商品区分")));
    txtふりがな->setText(dbv::text(cell(u"ふりがな")));
}

void Velt::Entry商品詳細()
{
    const QString name = NormalizeProductName(txt品名詳細->text());
    if (name.isEmpty()) {
        ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("品名を記入してください"));
        txt品名詳細->setFocus();
        return;
    }
    txt品名詳細->setText(name);
    const int row = std::max(0, Grid明細->currentRow());
    if (!wkDat || row >= wkDat->rowCount()) return;
    const int subtotalCol = wkDat->columnOf(QStringLiteral("小計"));
    if (dbv::toBool(wkDat->value(row, subtotalCol))) {
        ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), DetailLine::kSubtotalLineRefusal);
        return;
    }
    if (!ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), name)) return;

    const QString pack = cmb入数->text();
    const QString unit = cmb単位詳細->text();
    const QString category = cmb商品区分詳細->text();
    const QString reading = txtふりがな->text();
    const std::optional<Currency> price = num単価詳細->value();

    // The product and its code values belong together: all or nothing.
    {
        Database& db = ModVelt::DataDb;
        Transaction tx(db);
        const Fields values{{QStringLiteral("品名"), name},
                            {QStringLiteral("入数"), dbv::textOrNull(pack)},
                            {QStringLiteral("単価"), Currency::toDb(price)},
                            {QStringLiteral("単位"), dbv::textOrNull(unit)},
                            {QStringLiteral("商品区分"), dbv::textOrNull(category)},
                            {QStringLiteral("ふりがな"), dbv::textOrNull(reading)}};
        bool ok = tx.started() && db.upsert(QStringLiteral("商品マスタ"), {{QStringLiteral("品名"), name}}, values);
        if (ok && !pack.isEmpty()) ok = registerCode(db, packKind(), pack);
        if (ok && !unit.isEmpty()) ok = registerCode(db, QStringLiteral("単位"), unit);
        if (ok && !category.isEmpty()) ok = registerCode(db, QStringLiteral("商品区分"), category);
        if (ok) ok = tx.commit();
        if (!ok) {
            const QString error = db.lastError();
            tx.rollback();
            ShowFailure(QStringLiteral("商品を登録できませんでした。明細行も変更していません。"), error);
            return;
        }
    }

    // Into the current line, without recomputing amounts or totals.
    auto col = [&](const char16_t* field) { return wkDat->columnOf(QString::fromUtf16(field)); };
    const bool written = wkDat->setValues(row, {{col(u"品名"), name},
                                                {col(u"入数"), dbv::textOrNull(pack)},
                                                {col(u"単価"), price ? QVariant::fromValue(*price) : QVariant()},
                                                {col(u"単位"), dbv::textOrNull(unit)},
                                                {col(u"商品区分"), dbv::textOrNull(category)},
                                                {col(u"ふりがな"), dbv::textOrNull(reading)}});
    if (!written) {
        qCWarning(lcProductPanel) << "detail line not written:" << ModVelt::WorkDb.lastError();
        ShowFailure(QStringLiteral("商品は登録しましたが、明細行に書き込めませんでした。"), ModVelt::WorkDb.lastError());
    }
}

void Velt::cmd顧客詳細登録_Click()
{
    Entry商品詳細();
}

void Velt::cmd顧客詳細クリア_Click()
{
    txt品名詳細->clear();
    cmb入数->setText(QString());
    num単価詳細->setNull();
    txtふりがな->clear();
    Readコード表(QStringLiteral("すべて"));
}

void Velt::cmd顧客詳細閉じる_Click()
{
    Cn商品詳細->hide();
    Grid明細->setFocus();
}
