#include "app/CodeLists.h"

#include "platform/Database.h"

#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

Q_LOGGING_CATEGORY(lcCodeLists, "velt.codelists")

QStringList ReadCodeEntries(Database& data, const QString& kcode)
{
    bool ok = false;
    const QList<QSqlRecord> rows = data.rows(
        QStringLiteral("select sname from コードマスタ where kcode = ? and sname is not null order by code"), {kcode},
        &ok);
    if (!ok) qCWarning(lcCodeLists) << "code list" << kcode << "could not be read:" << data.lastError();
    QStringList entries;
    entries.reserve(rows.size());
    for (const QSqlRecord& r : rows) entries.append(r.value(0).toString());
    return entries;
}

bool ReplaceWorkRows(Database& work, const QString& table, const QStringList& columns, const QList<QVariantList>& rows,
                     QString* error)
{
    QString failure;
    Transaction tx(work);
    bool ok = tx.started() && work.exec(QStringLiteral("delete from ") + Database::quoteIdent(table));
    if (ok) {
        QStringList quoted;
        for (const QString& c : columns) quoted.append(Database::quoteIdent(c));
        // One statement prepared once: a list of thousands of rows is copied in a moment.
        QSqlQuery insert(work.connection());
        ok = insert.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(Database::quoteIdent(table), quoted.join(QLatin1Char(',')),
                                     QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        for (qsizetype r = 0; ok && r < rows.size(); ++r) {
            for (qsizetype i = 0; i < rows[r].size(); ++i) insert.bindValue(int(i), rows[r][i]);
            ok = insert.exec();
        }
        if (!ok) failure = insert.lastError().text();
    }
    ok = ok && tx.commit();
    if (!ok) {
        if (failure.isEmpty()) failure = work.lastError();
        tx.rollback();
        qCWarning(lcCodeLists) << "work table" << table << "could not be rebuilt:" << failure;
        if (error) *error = failure;
    }
    return ok;
}

QStringList RebuildReferenceTable(Database& data, Database& work, const QString& kcode, const QString& table)
{
    const QStringList entries = ReadCodeEntries(data, kcode);
    QList<QVariantList> rows;
    rows.reserve(entries.size());
    for (const QString& e : entries) rows.append({e});
    ReplaceWorkRows(work, table, {QStringLiteral("sname")}, rows);
    return entries;
}
