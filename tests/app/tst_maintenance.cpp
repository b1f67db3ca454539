// The data wipe and the schema upgrade of the data database.

#include "app/Maintenance.h"
#include "app/SettingsTab.h"
#include "support/SessionFixture.h"

#include <QPushButton>
#include <QtTest>

namespace {

int count(Database& db, const QString& sql)
{
    return db.scalar(sql).toInt();
}

// A data file with something in every table the wipe touches or must leave alone.
void fillBusinessData(Database& db)
{
    QVERIFY(db.exec(QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報) values ('山田商店', '〒100-0001')")));
    QVERIFY(db.exec(QStringLiteral("insert into 商品マスタ (品名, 単価) values ('鉛筆', 1000000)")));
    QVERIFY(db.exec(QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名) values (1, '山田商店')")));
    QVERIFY(db.exec(QStringLiteral("insert into 見積書 (伝票番号, 行番号, 品名) values (1, 0, '鉛筆')")));
    QVERIFY(db.exec(QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '01'")));
    QVERIFY(db.exec(QStringLiteral("insert into KivHint (FormName, CtlName, Contents) values ('Velt', 'txtNo', 'ヒント')")));
    QVERIFY(db.exec(QStringLiteral("update 印刷情報 set タイトル1 = '御見積書（改）' where 型番 = 'MA4'")));
}

// Every row of the tables the wipe touches or must leave alone: equal
// snapshots mean nothing changed (Null and an empty text told apart).
QStringList snapshot(Database& db)
{
    return TableSnapshot(db, {QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"), QStringLiteral("自社情報"),
                              QStringLiteral("見積書"), QStringLiteral("見積書ヘッダ"), QStringLiteral("コードマスタ"),
                              QStringLiteral("印刷情報"), QStringLiteral("KivHint")});
}

QString firstVersion(Database& db)
{
    return db.scalar(QStringLiteral("select \"Version\" from 自社情報 order by rowid limit 1")).toString();
}

}  // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
private slots:
    void wipeAfterConfirmation_data();
    void wipeAfterConfirmation();
    void upgradeAddsMissingColumnsAndStamps_data();
    void upgradeAddsMissingColumnsAndStamps();
    void failedColumnLeavesNoStampAndIsRetried();
};

void TestMaintenance::wipeAfterConfirmation_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("failPartWay");
    QTest::newRow("yes wipes") << true << false;
    QTest::newRow("no keeps everything") << false << false;
    QTest::newRow("failure part-way keeps everything") << true << true;
}

void TestMaintenance::wipeAfterConfirmation()
{
    QFETCH(bool, answerYes);
    QFETCH(bool, failPartWay);
    SessionFixture f;
    QVERIFY(f.open());
    SettingsTab settings(f.session);
    Database& db = f.data();
    fillBusinessData(db);
    if (failPartWay) {
        // 見積書ヘッダ is emptied after the masters and the settings row.
        QVERIFY(db.exec(QStringLiteral("create trigger refuse before delete on 見積書ヘッダ "
                                       "begin select raise(abort, 'locked'); end")));
    }
    const QStringList before = snapshot(db);
    const int slotCount = count(db, QStringLiteral("select count(*) from コードマスタ"));
    const int workLines = count(f.work(), QStringLiteral("select count(*) from w明細"));
    f.messages.clear();
    f.messages.answerNext(answerYes ? MessageAnswer::Yes : MessageAnswer::No);

    settings.cmd初期化->click();

    const auto& shown = f.messages.shown();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.first().title, QStringLiteral("確認"));
    QCOMPARE(shown.first().text, QStringLiteral("すべてのデータを初期化します。、よろしいですか"));
    if (!answerYes) {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(snapshot(db), before);
        return;
    }
    QCOMPARE(shown.size(), 2);
    if (failPartWay) {
        QCOMPARE(shown.last().title, QStringLiteral("エラー"));
        QVERIFY(!f.messages.texts().contains(QStringLiteral("すべてのデータを初期化しました")));
        QCOMPARE(snapshot(db), before);
        return;
    }
    QCOMPARE(shown.last().text, QStringLiteral("すべてのデータを初期化しました"));
    for (const char16_t* t : {u"顧客マスタ", u"商品マスタ", u"自社情報", u"見積書", u"見積書ヘッダ"})
        QCOMPARE(count(db, QStringLiteral("select count(*) from %1").arg(QString::fromUtf16(t))), 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from コードマスタ")), slotCount);
    QCOMPARE(count(db, QStringLiteral("select count(*) from コードマスタ where sname is not null")), 0);
    QCOMPARE(db.scalar(QStringLiteral("select タイトル1 from 印刷情報 where 型番 = 'MA4'")).toString(),
             QStringLiteral("御見積書（改）"));
    QCOMPARE(db.scalar(QStringLiteral("select Contents from KivHint")).toString(), QStringLiteral("ヒント"));
    QCOMPARE(count(f.work(), QStringLiteral("select count(*) from w明細")), workLines);
}

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
