#pragma once
// A fresh program folder per test: a temporary folder with a copy of the
// shipped database files in its data folder, and a drive root for the
// fixed Windows drive paths. Nothing global is changed.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class Database;

class TestFolder {
public:
    // copyFiles: which of the shipped files to put into the data folder
    // (default: all three).
    explicit TestFolder(const QStringList& copyFiles = allFiles());

    static QStringList allFiles();
    static QString builtDataDir();
    // Copies a shipped file to dest (any path). The postal dictionary is a
    // small one with the same schema and the codes 100xxxx (Tokyo Chiyoda),
    // 530xxxx (Osaka Kita) and 900xxxx (Naha) of the shipped one, which
    // builtDataDir() holds whole.
    static bool copyShipped(const QString& name, const QString& dest);
    static QString shippedSource(const QString& name);

    bool isValid() const { return dir_.isValid(); }
    QString root() const { return dir_.path(); }
    // <root>/prog: the program folder; its data folder is <root>/prog/data/.
    QString programFolder() const;
    QString dataFolder() const;  // ends with '/'
    QString dataDbPath() const { return dataFolder() + QStringLiteral("VeltData2K.mdb"); }
    QString workDbPath() const { return dataFolder() + QStringLiteral("VeltWork2K.mdb"); }
    QString postalPath() const { return dataFolder() + QStringLiteral("yubin2000.mdb"); }
    QString driveRoot() const;

    // Runs statements on a file of the folder (the data file when path is
    // empty), before a window opens it. A statement that fails fails the test.
    void prepare(const QStringList& statements, const QString& path = {}) const;

private:
    QTemporaryDir dir_;
};

// Every row of the tables, one text a row: "table|cell|cell|...", rows in
// rowid order. A Null cell reads <null> and a text cell stands in quotes, so
// an empty text ('') and Null differ, and so do 1 and '1'.
QStringList TableSnapshot(Database& db, const QStringList& tables);
// The rows of a query the same way, without the table's name: "cell|cell|...".
// A failed query gives one row "<failed: ...>".
QStringList QueryCells(Database& db, const QString& sql);

// The SHA-256 of a file's bytes, to show that a file was left as it was;
// empty when the file cannot be read.
QByteArray FileHash(const QString& path);
