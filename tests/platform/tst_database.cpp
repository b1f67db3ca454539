#include "platform/Database.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QtTest>

class TestFolderbase : public QObject {
    Q_OBJECT
private slots:
    void openRefusesMissingAndForeignFiles_data();
    void openRefusesMissingAndForeignFiles();
    void boundTextRoundTrips();
    void failedStatementInTransactionLeavesFileAsItWas();
    void upsertEditsFirstRowOrAdds();
    void commitNeedsTheFileInPlace_data();
    void commitNeedsTheFileInPlace();
};

void TestFolderbase::openRefusesMissingAndForeignFiles_data()
{
    QTest::addColumn<QByteArray>("content");  // empty: no file at all
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a database") << QByteArray("this is a text file, not a database\n").repeated(200);
}

void TestFolderbase::openRefusesMissingAndForeignFiles()
{
    QFETCH(QByteArray, content);
    TestFolder data{QStringList{}};
    const QString path = data.dataFolder() + QStringLiteral("VeltWork2K.mdb");
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    Database db;
    QVERIFY(!db.open(path));
    QVERIFY(!db.isOpen());
    QVERIFY(!db.lastError().isEmpty());
    if (content.isEmpty()) {
        QVERIFY2(!QFile::exists(path), "opening a missing file must not create it");
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);  // untouched
    }
}

void TestFolderbase::boundTextRoundTrips()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.dataDbPath()));
    const QString name = QStringLiteral("O'Brien \"商会\"; drop table 顧客マスタ; --");
    QVERIFY(db.exec(QStringLiteral("insert into 顧客マスタ (顧客名, 敬称) values (?, ?)"), {name, QStringLiteral("様")}));
    const auto row = db.firstRow(QStringLiteral("select 顧客名, 敬称 from 顧客マスタ where 顧客名 = ?"), {name});
    QVERIFY(row.has_value());
    QCOMPARE(row->value(0).toString(), name);
    QVERIFY(db.hasTable(QStringLiteral("顧客マスタ")));
}

void TestFolderbase::failedStatementInTransactionLeavesFileAsItWas()
{
    TestFolder data;
    {
        Database db;
        QVERIFY(db.open(data.dataDbPath()));
        QVERIFY(db.exec(QStringLiteral("insert into 商品マスタ (品名, 単価) values ('鉛筆', 1000000)")));
        Transaction t(db);
        QVERIFY(t.started());
        QVERIFY(db.exec(QStringLiteral("delete from 商品マスタ")));
        QVERIFY(db.exec(QStringLiteral("insert into 商品マスタ (品名) values ('消しゴム')")));
        QVERIFY(!db.exec(QStringLiteral("insert into no_such_table values (1)")));
        // the guard goes out of scope without commit
    }
    Database again;
    QVERIFY(again.open(data.dataDbPath()));
    const auto rows = again.rows(QStringLiteral("select 品名, 単価 from 商品マスタ"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(0).toString(), QStringLiteral("鉛筆"));
    QCOMPARE(rows[0].value(1).toLongLong(), 1000000LL);
}

void TestFolderbase::upsertEditsFirstRowOrAdds()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.dataDbPath()));
    const Fields key{{QStringLiteral("品名"), QStringLiteral("a'b")}};
    QVERIFY(db.upsert(QStringLiteral("商品マスタ"), key, {{QStringLiteral("単位"), QStringLiteral("個")}}));
    QVERIFY(db.upsert(QStringLiteral("商品マスタ"), key, {{QStringLiteral("単位"), QStringLiteral("箱")}}));
    const auto rows = db.rows(QStringLiteral("select 品名, 単位 from 商品マスタ"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(1).toString(), QStringLiteral("箱"));
}

void TestFolderbase::commitNeedsTheFileInPlace_data()
{
    QTest::addColumn<bool>("work");     // the work file (no WAL) instead of the data file
    QTest::addColumn<QString>("what");  // done to the file after it was opened
    for (const bool work : {false, true}) {
        const char* file = work ? "work" : "data";
        QTest::addRow("%s, left in place", file) << work << "keep";
        QTest::addRow("%s, deleted", file) << work << "delete";
        QTest::addRow("%s, moved", file) << work << "move";
        QTest::addRow("%s, replaced by a copy", file) << work << "replace";
    }
}

void TestFolderbase::commitNeedsTheFileInPlace()
{
    QFETCH(bool, work);
    QFETCH(QString, what);
    TestFolder data;
    const QString path = work ? data.workDbPath() : data.dataDbPath();
    const QString moved = path + QStringLiteral(".moved");
    const QString table = work ? QStringLiteral("w商品マスタ") : QStringLiteral("商品マスタ");
    Database db;
    QVERIFY(db.open(path, work ? Database::Role::Work : Database::Role::Data));
    QVERIFY(db.exec(QStringLiteral("insert into %1 (品名) values ('鉛筆')").arg(table)));
    QVERIFY(QFile::copy(path, path + QStringLiteral(".copy")));

    if (what == u"delete") QVERIFY(QFile::remove(path));
    if (what == u"move") QVERIFY(QFile::rename(path, moved));
    if (what == u"replace") QVERIFY(QFile::remove(path) && QFile::rename(path + QStringLiteral(".copy"), path));

    Transaction tx(db);
    QVERIFY(tx.started());
    // SQLite itself refuses some writes into a moved file (a rollback journal);
    // the others it takes, and the commit refuses them.
    const bool wrote = db.exec(QStringLiteral("insert into %1 (品名) values ('消しゴム')").arg(table));
    if (what == u"keep") {
        QVERIFY(wrote);
        QVERIFY2(tx.commit(), qPrintable(db.lastError().logText()));
        QVERIFY(db.fileInPlace());
        return;
    }
    QVERIFY(!wrote || !tx.commit());
    QVERIFY2(db.lastError().logText().contains(QDir::toNativeSeparators(path)), qPrintable(db.lastError().logText()));
    QVERIFY(!db.fileInPlace());
    tx.rollback();
    QVERIFY(!db.inTransaction());
    // Rolled back: the moved file does not hold the write.
    if (what == u"move") {
        Database again;
        QVERIFY(again.open(moved));
        QCOMPARE(again.scalar(QStringLiteral("select count(*) from %1 where 品名 = '消しゴム'").arg(table)).toInt(), 0);
    }
}

QTEST_MAIN(TestFolderbase)
#include "tst_database.moc"
