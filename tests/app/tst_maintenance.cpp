// The schema upgrade of the data database.

#include "app/Maintenance.h"
#include "support/SessionFixture.h"

#include <QtTest>

namespace {

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

QString firstVersion(Database& db)
{
    return db.scalar(QStringLiteral("select \"Version\" from 自社情報 order by rowid limit 1")).toString();
}

}  // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
private slots:
    void upgradeAddsMissingColumnsAndStamps_data();
    void upgradeAddsMissingColumnsAndStamps();
    void failedColumnLeavesNoStampAndIsRetried();
};

void TestMaintenance::upgradeAddsMissingColumnsAndStamps_data()
{
    // How the settings row looks before the upgrade, and whether the upgrade runs.
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<bool>("runs");
    QTest::newRow("current stamp: nothing changes") << QStringLiteral("update 自社情報 set Version = '2.00'") << false;
    QTest::newRow("older stamp") << QStringLiteral("update 自社情報 set Version = '1.50'") << true;
    QTest::newRow("higher stamp") << QStringLiteral("update 自社情報 set Version = '3.00'") << true;
    QTest::newRow("null stamp") << QStringLiteral("update 自社情報 set Version = null") << true;
    QTest::newRow("no settings row") << QStringLiteral("delete from 自社情報") << true;
    QTest::newRow("no Version column") << QStringLiteral("alter table 自社情報 drop column Version") << true;
}

void TestMaintenance::upgradeAddsMissingColumnsAndStamps()
{
    QFETCH(QString, prepare);
    QFETCH(bool, runs);
    TestFolder data;
    Database db;
    Database work;
    QVERIFY(db.open(data.dataDbPath()));
    QVERIFY(work.open(data.workDbPath(), Database::Role::Work));
    QVERIFY(db.exec(prepare));
    // An older data file: listed columns of several tables missing, one of
    // them holding data the upgrade must keep.
    QVERIFY(db.exec(QStringLiteral("insert into 商品マスタ (品名, 単価) values ('鉛筆', 1000000)")));
    for (const char* sql : {"alter table 見積書 drop column ふりがな", "alter table 見積書 drop column 小計",
                            "alter table 商品マスタ drop column ふりがな", "alter table 見積書ヘッダ drop column 件名",
                            "alter table 自社情報 drop column LastUpdate"})
        QVERIFY(db.exec(QString::fromUtf8(sql)));
    // A listed table that the data file does not have is not created.
    QVERIFY(work.exec(QStringLiteral("insert into テーブル更新情報 (テーブル名, フィールド名, 型, 長さ) values ('旧テーブル', 'x', 10, 10)")));
    const QString settingsBefore = db.rows(QStringLiteral("select * from 自社情報")).isEmpty() ? QString() : QStringLiteral("row");

    const SchemaUpgradeResult r = UpgradeSchema(db, work);

    QCOMPARE(r.wasCurrent, !runs);
    if (!runs) {
        QVERIFY(!db.columns(QStringLiteral("見積書")).contains(QStringLiteral("ふりがな")));
        return;
    }
    QVERIFY2(r.failed.isEmpty(), qPrintable(r.failed.join('\n')));
    QVERIFY(r.stamped);
    QVERIFY(db.columns(QStringLiteral("見積書")).contains(QStringLiteral("ふりがな")));
    QVERIFY(db.columns(QStringLiteral("見積書")).contains(QStringLiteral("小計")));
    QVERIFY(db.columns(QStringLiteral("商品マスタ")).contains(QStringLiteral("ふりがな")));
    QVERIFY(db.columns(QStringLiteral("見積書ヘッダ")).contains(QStringLiteral("件名")));
    QVERIFY(!db.hasTable(QStringLiteral("旧テーブル")));
    QCOMPARE(db.scalar(QStringLiteral("select 単価 from 商品マスタ where 品名 = '鉛筆'")).toLongLong(), 1000000LL);
    // Yes/no columns read false on old rows; text columns take an empty text.
    QVERIFY(db.exec(QStringLiteral("insert into 見積書 (伝票番号, ふりがな) values (9, '')")));
    QCOMPARE(db.scalar(QStringLiteral("select 小計 from 見積書 where 伝票番号 = 9")).toInt(), 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from 自社情報")), 1);
    QCOMPARE(firstVersion(db), QStringLiteral("2.00"));
    QCOMPARE(db.scalar(QStringLiteral("select LastUpdate from 自社情報")).toString(), QStringLiteral("2005/01/06"));
    if (settingsBefore.isEmpty())  // a row holding only the stamp
        QVERIFY(dbv::isNull(db.scalar(QStringLiteral("select 年号 from 自社情報"))));
    else
        QCOMPARE(db.scalar(QStringLiteral("select 年号 from 自社情報")).toString(), QStringLiteral("和暦"));
    // A second run finds the schema current.
    QVERIFY(UpgradeSchema(db, work).wasCurrent);
}

void TestMaintenance::failedColumnLeavesNoStampAndIsRetried()
{
    SessionFixture f;
    QVERIFY(f.open());
    Database& db = f.data();
    Database& work = f.work();
    QVERIFY(db.exec(QStringLiteral("update 自社情報 set Version = '1.00'")));
    QVERIFY(db.exec(QStringLiteral("alter table 商品マスタ drop column ふりがな")));
    // A listed column that cannot be added as it stands (a type nobody knows).
    QVERIFY(work.exec(QStringLiteral("insert into テーブル更新情報 (テーブル名, フィールド名, 型, 長さ) values ('商品マスタ', '規格', 99, 0)")));

    SchemaUpgradeResult r = UpgradeSchema(db, work);
    QVERIFY(!r.stamped);
    QCOMPARE(r.failed.size(), 1);
    QVERIFY(db.columns(QStringLiteral("商品マスタ")).contains(QStringLiteral("ふりがな")));
    QVERIFY(!db.columns(QStringLiteral("商品マスタ")).contains(QStringLiteral("規格")));
    QCOMPARE(firstVersion(db), QStringLiteral("1.00"));

    // Once the list is right, the next run adds the column and stamps.
    QVERIFY(work.exec(QStringLiteral("update テーブル更新情報 set 型 = 10, 長さ = 40 where フィールド名 = '規格'")));
    r = UpgradeSchema(db, work);
    QVERIFY(r.stamped && r.failed.isEmpty());
    QVERIFY(db.columns(QStringLiteral("商品マスタ")).contains(QStringLiteral("規格")));
    QCOMPARE(firstVersion(db), QStringLiteral("2.00"));
    QVERIFY(f.messages.shown().isEmpty());
}

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
