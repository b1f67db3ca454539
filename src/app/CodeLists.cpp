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
                     Failure* error)
{
    Failure failure;
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
        if (!ok) failure = SqlFailure(insert.lastError());
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

CodeEntry AutoEntryCode(Database& db, const QString& kcode, const QString& value)
{
    if (value.isEmpty()) return CodeEntry::Failed;
    bool ok = false;
    const QList<QSqlRecord> codeRows =
        db.rows(QStringLiteral("SELECT rowid, sname FROM コードマスタ WHERE kcode = ? ORDER BY code, rowid"), {kcode}, &ok);
    if (!ok) {
        qCWarning(lcCodeLists) << "code list" << kcode << "not read:" << db.lastError();
        return CodeEntry::Failed;
    }
    for (const QSqlRecord& r : codeRows) {
        const QVariant sname = r.value(1);
        if (!dbv::isNull(sname) && sname.toString() == value) return CodeEntry::AlreadyPresent;
    }
    for (const QSqlRecord& r : codeRows) {
        if (!dbv::isNull(r.value(1))) continue;
        // The slot must still be free when it is written.
        if (!db.exec(QStringLiteral("UPDATE コードマスタ SET sname = ? WHERE rowid = ? AND sname IS NULL"),
                     {value, r.value(0)})) {
            qCWarning(lcCodeLists) << "code" << value << "of" << kcode << "not written:" << db.lastError();
            return CodeEntry::Failed;
        }
        return db.changes() == 1 ? CodeEntry::Added : CodeEntry::Failed;
    }
    return CodeEntry::ListFull;
}

bool RaiseQuotationCounter(Database& db, qint64 number, Failure& error)
{
    Statement find(db, QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"));
    if (!find.run({})) {
        error = find.error();
        return false;
    }
    std::optional<Statement> write;
    QVariantList binds{number};
    if (find.query().next()) {
        const QVariant rowid = find.query().value(0);
        const QVariant stored = find.query().value(1);
        find.query().finish();
        bool whole = false;
        const qint64 current = dbv::text(stored).trimmed().toLongLong(&whole);
        if (whole && current >= number) return true;
        write.emplace(db, QStringLiteral("update 自社情報 set 最大見積書番号 = ? where rowid = ?"));
        binds << rowid;
    } else {
        write.emplace(db, QStringLiteral("insert into 自社情報 (最大見積書番号) values (?)"));
    }
    if (write->run(binds)) return true;
    error = write->error();
    return false;
}
