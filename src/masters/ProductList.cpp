#include "masters/ProductList.h"

#include "app/CodeLists.h"
#include "app/ProductMaster.h"
#include "platform/SearchCondition.h"
#include "masters/MasterWrite.h"
#include "platform/Database.h"

#include <QSqlError>
#include <QSqlRecord>

namespace {

// The seven product fields, in the order of both tables.
const QStringList kFields{QStringLiteral("品名"), QStringLiteral("商品区分"), QStringLiteral("入数"),
                          QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税"),
                          QStringLiteral("ふりがな")};
const QString kFieldList = kFields.join(QStringLiteral(", "));

}  // namespace

bool FillProductList(Database& data, Database& work, const ProductFilter& filter, const QString& order, Failure* error)
{
    QStringList conditions;
    QVariantList binds;
    AddContainsCondition(conditions, binds, QStringLiteral("品名"), filter.品名);
    AddContainsCondition(conditions, binds, QStringLiteral("ふりがな"), filter.かな);
    if (!filter.商品区分.isEmpty()) {
        conditions << QStringLiteral("商品区分 = ?");
        binds << filter.商品区分;
    }
    QString sql = QStringLiteral("select ") + kFieldList + QStringLiteral(" from 商品マスタ");
    if (!conditions.isEmpty()) sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    sql += ProductListOrderBy(order);

    // Read first; the list changes only when everything was read.
    auto products = data.query(sql, binds);
    if (!products) {
        if (error) *error = data.lastError();
        return false;
    }
    QList<QVariantList> rows;
    while (products->next()) {
        QVariantList row;
        row.reserve(7);
        for (int c = 0; c < 7; ++c) row.append(products->value(c));
        rows.append(std::move(row));
    }
    if (products->lastError().isValid()) {
        if (error) *error = SqlFailure(products->lastError());
        return false;
    }
    return ReplaceWorkRows(work, QStringLiteral("w商品マスタ"), kFields, rows, error);
}

bool SaveProductList(Database& data, Database& work, Failure* error)
{
    bool ok = false;
    const QList<QSqlRecord> rows =
        work.rows(QStringLiteral("select ") + kFieldList + QStringLiteral(" from w商品マスタ order by rowid"), {}, &ok);
    if (!ok) {
        if (error) *error = work.lastError();
        return false;
    }
    return WriteAllOrNothing(data, [&] {
        std::optional<QHash<QString, qint64>> untrimmed = ProductsUnderUntrimmedNames(data);
        if (!untrimmed) return false;
        for (const QSqlRecord& r : rows) {
            const QString name = ProductMasterName(dbv::text(r.value(0)));
            if (name.isEmpty()) continue;
            if (!AdoptUntrimmedName(data, *untrimmed, name)) return false;
            Fields values{{r.fieldName(0), name}};
            for (int c = 1; c < r.count(); ++c) values.append({r.fieldName(c), r.value(c)});
            if (!data.upsert(QStringLiteral("商品マスタ"), {{QStringLiteral("品名"), name}}, values)) return false;
        }
        return true;
    }, error);
}

bool DeleteTickedProducts(Database& data, Database& work, Failure* error)
{
    bool ok = false;
    const QList<QSqlRecord> ticked =
        work.rows(QStringLiteral("select 品名 from w商品マスタ where チェック <> 0"), {}, &ok);
    if (!ok) {
        if (error) *error = work.lastError();
        return false;
    }
    if (ticked.isEmpty()) return true;
    // The list's rows go in a transaction of the work file that is committed
    // before the products' deletion: a list that cannot lose them leaves the
    // products stored (a later 登録 must not write deleted products back),
    // and a deletion that fails after the list lost them only hides stored
    // products until the next 読込.
    Failure statementError;
    Failure workError;
    Failure dataError;
    bool listDone = false;
    const bool done = WriteAllOrNothing(data, [&] {
        return listDone = WriteAllOrNothing(work, [&] {
            for (const QSqlRecord& r : ticked) {
                if (dbv::isNull(r.value(0))) continue;  // a row without a name names no product
                if (!data.exec(QStringLiteral("delete from 商品マスタ where 品名 = ?"), {r.value(0).toString()})) {
                    statementError = data.lastError();
                    return false;
                }
            }
            if (work.exec(QStringLiteral("delete from w商品マスタ where チェック <> 0"))) return true;
            statementError = work.lastError();
            return false;
        }, &workError);
    }, &dataError);
    if (!done && error) *error = !statementError.isEmpty() ? statementError : !listDone ? workError : dataError;
    return done;
}
