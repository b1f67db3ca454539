#include "masters/CustomerMaster.h"

#include "app/CodeLists.h"
#include "platform/SearchCondition.h"
#include "platform/Database.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcCustomers, "velt.customers")

namespace {

void setError(Failure* out, const Failure& failure)
{
    qCWarning(lcCustomers).noquote() << failure;
    if (out) *out = failure;
}

}  // namespace

std::optional<QList<CustomerRow>> FindCustomers(Database& data, const QString& nameText, const QString& kanaText,
                                                Failure* error)
{
    QStringList conditions;
    QVariantList binds;
    AddContainsCondition(conditions, binds, QStringLiteral("顧客名"), nameText);
    AddContainsCondition(conditions, binds, QStringLiteral("ふりがな"), kanaText);
    QString sql = QStringLiteral("select 顧客名, 顧客情報, ふりがな, 敬称 from 顧客マスタ");
    if (!conditions.isEmpty()) sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    sql += QStringLiteral(" order by ふりがな collate japanese, rowid");
    auto q = data.query(sql, binds);
    if (!q) {
        setError(error, data.lastError());
        return std::nullopt;
    }
    QList<CustomerRow> rows;
    while (q->next()) rows.append({q->value(0), q->value(1), q->value(2), q->value(3)});
    if (q->lastError().isValid()) {
        setError(error, SqlFailure(q->lastError()));
        return std::nullopt;
    }
    return rows;
}

bool ReplaceCustomerWorkList(Database& work, const QList<CustomerRow>& rows, bool numbered, Failure* error)
{
    QList<QVariantList> values;
    values.reserve(rows.size());
    qlonglong number = 0;
    for (const CustomerRow& r : rows) {
        values.append({numbered ? QVariant(++number) : QVariant(), dbv::fromBool(false), dbv::textOrNull(r.顧客名),
                       dbv::textOrNull(r.顧客情報), dbv::textOrNull(r.ふりがな), dbv::textOrNull(r.敬称)});
    }
    return ReplaceWorkRows(work, QStringLiteral("w顧客マスタ"),
                           {QStringLiteral("行"), QStringLiteral("チェック"), QStringLiteral("顧客名"),
                            QStringLiteral("顧客情報"), QStringLiteral("ふりがな"), QStringLiteral("敬称")},
                           values, error);
}

std::optional<QList<CustomerRow>> ReadCustomerWorkList(Database& work, bool tickedOnly, Failure* error)
{
    QString sql = QStringLiteral("select 顧客名, 顧客情報, ふりがな, 敬称 from w顧客マスタ");
    if (tickedOnly) sql += QStringLiteral(" where チェック <> 0");
    sql += QStringLiteral(" order by rowid");
    auto q = work.query(sql);
    if (!q) {
        setError(error, work.lastError());
        return std::nullopt;
    }
    QList<CustomerRow> rows;
    while (q->next()) rows.append({q->value(0), q->value(1), q->value(2), q->value(3)});
    return rows;
}

bool WriteCustomers(Database& data, const QList<CustomerRow>& rows, Failure& error)
{
    for (const CustomerRow& r : rows) {
        const QString name = dbv::text(r.顧客名);
        if (name.isEmpty()) continue;
        const bool ok = data.upsert(QStringLiteral("顧客マスタ"), {{QStringLiteral("顧客名"), name}},
                                    {{QStringLiteral("顧客情報"), dbv::textOrNull(r.顧客情報)},
                                     {QStringLiteral("ふりがな"), dbv::textOrNull(r.ふりがな)},
                                     {QStringLiteral("敬称"), dbv::textOrNull(r.敬称)}});
        if (!ok) {
            error = data.lastError();
            return false;
        }
    }
    return true;
}

bool DeleteCustomers(Database& data, const QStringList& names, Failure& error)
{
    for (const QString& name : names) {
        if (name.isEmpty()) continue;
        if (!data.exec(QStringLiteral("delete from 顧客マスタ where 顧客名 = ?"), {name})) {
            error = data.lastError();
            return false;
        }
    }
    return true;
}
