#include "masters/CustomerMaster.h"

#include "app/SharedRoutines.h"
#include "platform/Database.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>

Q_LOGGING_CATEGORY(lcCustomers, "velt.customers")

namespace {

void setError(QString* out, const QString& text)
{
    qCWarning(lcCustomers).noquote() << text;
    if (out) *out = text;
}

QVariant textOrNull(const QVariant& v)
{
    return dbv::textOrNull(dbv::text(v));
}

}  // namespace

std::optional<QList<CustomerRow>> FindCustomers(Database& data, const QString& nameText, const QString& kanaText,
                                                QString* error)
{
    QStringList conditions;
    QVariantList binds;
    if (!nameText.isEmpty()) {
        conditions << QStringLiteral("顧客名 like ? escape '\\'");
        binds << QLatin1Char('%') + LikeLiteral(nameText) + QLatin1Char('%');
    }
    if (!kanaText.isEmpty()) {
        conditions << QStringLiteral("ふりがな like ? escape '\\'");
        binds << QLatin1Char('%') + LikeLiteral(kanaText) + QLatin1Char('%');
    }
    QString sql = QStringLiteral("select 顧客名, 顧客情報, ふりがな, 敬称 from 顧客マスタ");
    if (!conditions.isEmpty()) sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    sql += QStringLiteral(" order by ふりがな, rowid");
    auto q = data.query(sql, binds);
    if (!q) {
        setError(error, data.lastError());
        return std::nullopt;
    }
    QList<CustomerRow> rows;
    while (q->next()) rows.append({q->value(0), q->value(1), q->value(2), q->value(3)});
    if (q->lastError().isValid()) {
        setError(error, q->lastError().text());
        return std::nullopt;
    }
    return rows;
}

bool ReplaceCustomerWorkList(Database& work, const QList<CustomerRow>& rows, bool numbered, QString* error)
{
    Transaction t(work);
    if (!t.started() || !work.exec(QStringLiteral("delete from w顧客マスタ"))) {
        setError(error, work.lastError());
        return false;
    }
    QSqlQuery insert(work.connection());
    if (!insert.prepare(QStringLiteral(
            "insert into w顧客マスタ (行, チェック, 顧客名, 顧客情報, ふりがな, 敬称) values (?, 0, ?, ?, ?, ?)"))) {
        setError(error, insert.lastError().text());
        return false;
    }
    qlonglong number = 0;
    for (const CustomerRow& r : rows) {
        insert.bindValue(0, numbered ? QVariant(++number) : QVariant());
        insert.bindValue(1, textOrNull(r.顧客名));
        insert.bindValue(2, textOrNull(r.顧客情報));
        insert.bindValue(3, textOrNull(r.ふりがな));
        insert.bindValue(4, textOrNull(r.敬称));
        if (!insert.exec()) {
            setError(error, insert.lastError().text());
            return false;
        }
    }
    if (!t.commit()) {
        setError(error, work.lastError());
        return false;
    }
    return true;
}

std::optional<QList<CustomerRow>> ReadCustomerWorkList(Database& work, bool tickedOnly, QString* error)
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

bool WriteCustomers(Database& data, const QList<CustomerRow>& rows, QString& error)
{
    for (const CustomerRow& r : rows) {
        const QString name = dbv::text(r.顧客名);
        if (name.isEmpty()) continue;
        const bool ok = data.upsert(QStringLiteral("顧客マスタ"), {{QStringLiteral("顧客名"), name}},
                                    {{QStringLiteral("顧客情報"), textOrNull(r.顧客情報)},
                                     {QStringLiteral("ふりがな"), textOrNull(r.ふりがな)},
                                     {QStringLiteral("敬称"), textOrNull(r.敬称)}});
        if (!ok) {
            error = data.lastError();
            return false;
        }
    }
    return true;
}

bool DeleteCustomers(Database& data, const QStringList& names, QString& error)
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
