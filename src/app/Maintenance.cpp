// Wiping all business data, and the schema upgrade of the data database.

#include "app/Maintenance.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMaintenance, "velt.maintenance")

bool WipeBusinessData(Database& data, Failure* error)
{
    static const QStringList statements{
        QStringLiteral("delete from 顧客マスタ"),
        QStringLiteral("delete from 商品マスタ"),
        QStringLiteral("delete from 自社情報"),
        QStringLiteral("delete from 見積書"),
        QStringLiteral("delete from 見積書ヘッダ"),
        QStringLiteral("update コードマスタ set sname = null"),
    };
    Transaction tx(data);
    bool ok = tx.started();
    for (const QString& sql : statements) {
        if (!ok) break;
        ok = data.exec(sql);
    }
    if (ok) ok = tx.commit();
    if (!ok) {
        tx.rollback();
        if (error) *error = data.lastError();
    }
    return ok;
}

bool SchemaIsCurrent(Database& data)
{
    const QString table = QStringLiteral("自社情報");
    if (!data.columns(table).contains(QStringLiteral("Version"))) return false;
    const QVariant v = data.scalar(QStringLiteral("select \"Version\" from 自社情報 order by rowid limit 1"));
    return !dbv::isNull(v) && v.toString() == SchemaStamp::Version;
}

QString ColumnTypeFor(int typeCode)
{
    switch (typeCode) {
    case 1: return QStringLiteral("INTEGER DEFAULT 0");  // yes/no: 0/1, false unless set
    case 2:
    case 3:
    case 4: return QStringLiteral("INTEGER");
    case 5: return QStringLiteral("INTEGER");  // currency: ten-thousandths
    case 6:
    case 7: return QStringLiteral("REAL");
    case 8: return QStringLiteral("TEXT");  // date: 'YYYY-MM-DD'
    case 10:
    case 12: return QStringLiteral("TEXT");  // an empty text is a valid value
    default: return {};
    }
}

SchemaUpgradeResult UpgradeSchema(Database& data, Database& work)
{
    SchemaUpgradeResult result;
    if (SchemaIsCurrent(data)) {
        result.wasCurrent = true;
        return result;
    }

    // The scratch list of table names and the 存在 flags are rebuilt in the
    // work database; they only say what this run found.
    if (!work.exec(QStringLiteral("delete from 更新テーブル名")) ||
        !work.exec(QStringLiteral("insert into 更新テーブル名 select distinct テーブル名 from テーブル更新情報 "))) {
        result.failed << QStringLiteral("更新テーブル名: ") + work.lastError().logText();
        return result;
    }
    bool ok = false;
    const QList<QSqlRecord> tables = work.rows(QStringLiteral("select テーブル名 from 更新テーブル名 order by rowid"), {}, &ok);
    if (!ok) {
        result.failed << QStringLiteral("更新テーブル名: ") + work.lastError().logText();
        return result;
    }

    for (const QSqlRecord& t : tables) {
        const QString table = dbv::text(t.value(0));
        work.exec(QStringLiteral("update テーブル更新情報 set 存在 = 0"));
        if (table.isEmpty() || !data.hasTable(table)) continue;  // tables are never created
        for (const QString& column : data.columns(table)) {
            work.exec(QStringLiteral("update テーブル更新情報 set 存在 = 1 where テーブル名 = ? and フィールド名 = ?"),
                      {table, column});
        }
        const QList<QSqlRecord> missing = work.rows(
            QStringLiteral("select フィールド名, 型, 長さ from テーブル更新情報 "
                           "where テーブル名 = ? and (存在 = 0 or 存在 is null) order by rowid"),
            {table}, &ok);
        if (!ok) {
            result.failed << table + QStringLiteral(": ") + work.lastError().logText();
            continue;
        }
        for (const QSqlRecord& m : missing) {
            const QString column = dbv::text(m.value(0));
            const QString name = table + '.' + column;
            const QString type = ColumnTypeFor(m.value(1).toInt());
            if (column.isEmpty() || type.isEmpty()) {
                result.failed << name + QStringLiteral(": unknown field type ") + m.value(1).toString();
                continue;
            }
            if (data.exec(QStringLiteral("alter table %1 add column %2 %3")
                              .arg(Database::quoteIdent(table), Database::quoteIdent(column), type))) {
                result.added << name;
            } else {
                result.failed << name + QStringLiteral(": ") + data.lastError().logText();
            }
        }
    }

    if (!result.failed.isEmpty()) {
        for (const QString& f : result.failed) qCWarning(lcMaintenance) << "schema upgrade:" << f;
        return result;
    }

    // The stamp: the first settings row, or a new one holding only the stamp.
    const Fields stamp{{QStringLiteral("Version"), SchemaStamp::Version},
                       {QStringLiteral("LastUpdate"), SchemaStamp::LastUpdate}};
    const QVariant rowid = data.scalar(QStringLiteral("select rowid from 自社情報 order by rowid limit 1"), {}, &ok);
    bool written = false;
    if (ok && rowid.isValid() && !rowid.isNull()) {
        written = data.exec(QStringLiteral("update 自社情報 set \"Version\" = ?, \"LastUpdate\" = ? where rowid = ?"),
                            {SchemaStamp::Version, SchemaStamp::LastUpdate, rowid});
    } else if (ok) {
        written = data.insert(QStringLiteral("自社情報"), stamp);
    }
    if (!written) {
        result.failed << QStringLiteral("自社情報: ") + data.lastError().logText();
        qCWarning(lcMaintenance) << "schema upgrade: stamp not written:" << data.lastError();
    }
    result.stamped = written;
    return result;
}
