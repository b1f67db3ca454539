#include "app/ProductMaster.h"

#include "app/CodeLists.h"
#include "app/SettingsRecord.h"
#include "platform/Database.h"

#include <QSqlRecord>

QString NormalizeProductName(const QString& name)
{
    return CutToShiftJis(TrimBlanks(name));
}

QString ProductMasterName(const QString& name)
{
    return TrimBlanks(name);
}

std::optional<QHash<QString, qint64>> ProductsUnderUntrimmedNames(Database& data)
{
    bool ok = false;
    const QList<QSqlRecord> rows = data.rows(QStringLiteral("select rowid, 品名 from 商品マスタ "
                                                            "where 品名 <> trim(品名, ' 　') order by rowid"),
                                             {}, &ok);
    if (!ok) return std::nullopt;
    QHash<QString, qint64> out;
    for (const QSqlRecord& r : rows) {
        const QString name = ProductMasterName(r.value(1).toString());
        if (!name.isEmpty() && !out.contains(name)) out.insert(name, r.value(0).toLongLong());
    }
    return out;
}

bool AdoptUntrimmedName(Database& data, QHash<QString, qint64>& untrimmed, const QString& name)
{
    const auto it = untrimmed.constFind(name);
    if (it == untrimmed.cend()) return true;
    const qint64 rowid = *it;
    untrimmed.erase(it);
    return data.exec(QStringLiteral("update 商品マスタ set 品名 = ? where rowid = ? "
                                    "and not exists (select 1 from 商品マスタ where 品名 = ?)"),
                     {name, rowid, name});
}

QString ProductListOrderBy(const QString& setting)
{
    return setting == QStringLiteral("品名順") ? QStringLiteral(" order by 品名 collate japanese, ふりがな collate japanese")
                                             : QStringLiteral(" order by ふりがな collate japanese, 品名 collate japanese");
}

bool StoreProductDetail(Database& data, const SettingsRecord& settings, const ProductDetail& product, Failure* error)
{
    // Afterwards a code value is in its list, or the list has no free slot
    // left; a list that could not be written fails the store.
    auto offer = [&data](const QString& kcode, const QString& value) {
        return value.isEmpty() || AutoEntryCode(data, kcode, value) != CodeEntry::Failed;
    };
    Transaction tx(data);
    std::optional<QHash<QString, qint64>> untrimmed = tx.started() ? ProductsUnderUntrimmedNames(data) : std::nullopt;
    const Fields values{{QStringLiteral("品名"), product.品名},
                        {QStringLiteral("入数"), dbv::textOrNull(product.入数)},
                        {QStringLiteral("単価"), Currency::toDb(product.単価)},
                        {QStringLiteral("単位"), dbv::textOrNull(product.単位)},
                        {QStringLiteral("商品区分"), dbv::textOrNull(product.商品区分)},
                        {QStringLiteral("ふりがな"), dbv::textOrNull(product.ふりがな)}};
    const bool ok = tx.started() && !product.品名.isEmpty() && untrimmed
                    && AdoptUntrimmedName(data, *untrimmed, product.品名)
                    && data.upsert(QStringLiteral("商品マスタ"), {{QStringLiteral("品名"), product.品名}}, values)
                    && offer(PackCodeKind(settings), product.入数) && offer(QStringLiteral("単位"), product.単位)
                    && offer(QStringLiteral("商品区分"), product.商品区分) && tx.commit();
    if (!ok) {
        if (error) *error = data.lastError();
        tx.rollback();
    }
    return ok;
}
