#include "support/TestFolder.h"

#include "platform/Database.h"

#include <QDir>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlRecord>
#include <QtTest>

TestFolder::TestFolder(const QStringList& copyFiles)
{
    if (!dir_.isValid()) return;
    QDir().mkpath(dataFolder());
    QDir().mkpath(driveRoot());
    for (const QString& f : copyFiles) copyShipped(f, dataFolder() + f);
}

QStringList TestFolder::allFiles()
{
    return {QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb"), QStringLiteral("yubin2000.mdb")};
}

QString TestFolder::builtDataDir()
{
    return QStringLiteral(VELT_BUILT_DATA_DIR);
}

QString TestFolder::programFolder() const
{
    return dir_.path() + QStringLiteral("/prog");
}

QString TestFolder::dataFolder() const
{
    return programFolder() + QStringLiteral("/data/");
}

QString TestFolder::driveRoot() const
{
    return dir_.path() + QStringLiteral("/drives");
}

QString TestFolder::shippedSource(const QString& name)
{
    // The full postal dictionary is 17 MB: tests get a few areas of it.
    if (name == QStringLiteral("yubin2000.mdb")) return QStringLiteral(VELT_TEST_POSTAL_DICTIONARY);
    return builtDataDir() + '/' + name;
}

bool TestFolder::copyShipped(const QString& name, const QString& dest)
{
    QFile::remove(dest);
    if (!QFile::copy(shippedSource(name), dest)) return false;
    // Copies of read-only build outputs must be writable.
    QFile::setPermissions(dest, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

void TestFolder::prepare(const QStringList& statements, const QString& path) const
{
    Database db;
    QVERIFY2(db.open(path.isEmpty() ? dataDbPath() : path, Database::Role::Data, false), qPrintable(db.lastError().logText()));
    for (const QString& s : statements) QVERIFY2(db.exec(s), qPrintable(s + QStringLiteral(": ") + db.lastError().logText()));
}

namespace {

QStringList renderRows(Database& db, const QString& sql, bool& ok)
{
    QStringList out;
    for (const QSqlRecord& r : db.rows(sql, {}, &ok)) {
        QStringList cells;
        for (int i = 0; i < r.count(); ++i) {
            const QVariant v = r.value(i);
            if (r.isNull(i))
                cells << QStringLiteral("<null>");
            else if (v.typeId() == QMetaType::QString)
                cells << QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
            else
                cells << v.toString();
        }
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

}  // namespace

QStringList QueryCells(Database& db, const QString& sql)
{
    bool ok = false;
    QStringList out = renderRows(db, sql, ok);
    if (!ok) out << QStringLiteral("<failed: %1>").arg(db.lastError().logText());
    return out;
}

QStringList TableSnapshot(Database& db, const QStringList& tables)
{
    QStringList out;
    for (const QString& table : tables) {
        bool ok = false;  // a missing table has no rows
        for (const QString& row :
             renderRows(db, QStringLiteral("select * from %1 order by rowid").arg(Database::quoteIdent(table)), ok))
            out << table + QLatin1Char('|') + row;
    }
    return out;
}

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
