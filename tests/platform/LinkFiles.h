#pragma once
// Link files made for the link-file tests: SQLite files of given statements,
// files of given bytes, the start of a Jet file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>
#include <memory>

// Writes an SQLite file with the given statements (through a connection of
// its own that is closed before the reader sees the file).
inline bool makeSqliteFile(const QString& path, const QStringList& statements)
{
    static int counter = 0;
    const QString name = QStringLiteral("link-file-maker-%1").arg(++counter);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& s : statements) {
            if (!ok) break;
            ok = q.exec(s);
            if (!ok) qWarning() << s << q.lastError().text();
        }
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Puts content at path: "<none>" leaves no file, "<dir>" makes a folder.
inline bool place(const QString& path, const QByteArray& content)
{
    if (content == "<none>") return true;
    if (content == "<dir>") return QDir().mkpath(path);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

// The first page of a Jet file as far as the signature goes; version 0 is
// Jet 3, 1 is Jet 4. The rest is whatever the caller appends.
inline QByteArray jetHeader(char version)
{
    QByteArray h(QByteArray::fromRawData("\x00\x01\x00\x00", 4));
    h += QByteArrayLiteral("Standard Jet DB\0");
    h += version;
    return h;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

// A temporary folder per test, and SQLite link files made in it.
class LinkFolder {
public:
    bool make()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        return dir_->isValid();
    }
    QString path(const QString& name) const { return dir_->filePath(name); }
    // Makes an SQLite link file of the statements and opens it.
    template <class Link>
    bool openNew(Link& link, const QStringList& statements, const QString& name = QStringLiteral("link.mdb")) const
    {
        return makeSqliteFile(path(name), statements) && link.open(path(name));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
};
