#include "app/PrintSettings.h"
#include "support/TestFolder.h"

#include <QtTest>

class TestPrintSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entryFollowsRowsPresent_data();
    void entryFollowsRowsPresent();
    void bothEntriesTakenGivesNone();
    void nullColumnsTakeTheirDefaults();
    void helpTextByKey_data();
    void helpTextByKey();

private:
    // A fresh data folder with both files open, and fresh entries.
    std::unique_ptr<TestFolder> data_;
    Database db_;
    Database work_;
    PrintSettingsTable table_{};
};

void TestPrintSettings::init()
{
    data_ = std::make_unique<TestFolder>();
    QVERIFY(db_.open(data_->dataDbPath()));
    QVERIFY(work_.open(data_->workDbPath(), Database::Role::Work));
    table_ = {};
}

void TestPrintSettings::cleanup()
{
    db_.close();
    work_.close();
    data_.reset();
}

// Calls in order; each expects an entry number and the layout code that entry
// then holds ("" = still free).
void TestPrintSettings::entryFollowsRowsPresent_data()
{
    QTest::addColumn<QStringList>("rowsKept");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QList<int>>("entries");
    QTest::addColumn<QStringList>("codesHeld");

    QTest::newRow("no rows: the free entry 1 stays empty and is reused")
        << QStringList{} << QStringList{"MA4", "MB5", "MA4"} << QList<int>{1, 1, 1} << QStringList{"", "", ""};
    QTest::newRow("one row: MA4 fills 1, MB5 gets the free 2 and leaves it empty")
        << QStringList{"MA4"} << QStringList{"MA4", "MB5", "MB5", "MA4"} << QList<int>{1, 2, 2, 1}
        << QStringList{"MA4", "", "", "MA4"};
    QTest::newRow("two rows: first loaded takes 1, the other 2, each keeps its entry")
        << QStringList{"MA4", "MB5"} << QStringList{"MB5", "MA4", "MB5", "MA4"} << QList<int>{1, 2, 1, 2}
        << QStringList{"MB5", "MA4", "MB5", "MA4"};
}

void TestPrintSettings::entryFollowsRowsPresent()
{
    QFETCH(QStringList, rowsKept);
    QFETCH(QStringList, calls);
    QFETCH(QList<int>, entries);
    QFETCH(QStringList, codesHeld);

    for (const QString& code : {QStringLiteral("MA4"), QStringLiteral("MB5")})
        if (!rowsKept.contains(code)) QVERIFY(db_.exec(QStringLiteral("DELETE FROM 印刷情報 WHERE 型番 = ?"), {code}));

    for (int i = 0; i < calls.size(); ++i) {
        const int n = ReadPrintSettings(db_, table_, calls[i]);
        QCOMPARE(n, entries[i]);
        QCOMPARE(table_[n].型番, codesHeld[i]);
    }
    // Entry 0 is never filled.
    QVERIFY(table_[0].isFree());
}

void TestPrintSettings::bothEntriesTakenGivesNone()
{
    QCOMPARE(ReadPrintSettings(db_, table_, QStringLiteral("MA4")), 1);
    QCOMPARE(ReadPrintSettings(db_, table_, QStringLiteral("MB5")), 2);
    const auto before = table_;
    // A code with a quote is just a code: no row, no free entry.
    QCOMPARE(ReadPrintSettings(db_, table_, QStringLiteral("M'A4")), 0);
    QCOMPARE(table_[1].型番, before[1].型番);
    QCOMPARE(table_[2].型番, before[2].型番);

    // A later call reloads its own entry from the table.
    QVERIFY(db_.exec(QStringLiteral("UPDATE 印刷情報 SET タイトル1 = ?, LM = 150 WHERE 型番 = 'MA4'"),
                                 {QStringLiteral("御見積書")}));
    QCOMPARE(ReadPrintSettings(db_, table_, QStringLiteral("MA4")), 1);
    QCOMPARE(table_[1].タイトル1, QStringLiteral("御見積書"));
    QCOMPARE(table_[1].LM, 150);
    QCOMPARE(table_[2].タイトル1, QStringLiteral("見積書"));
}

void TestPrintSettings::nullColumnsTakeTheirDefaults()
{
    // Every column but the code Null, except a size stored as text.
    QVERIFY(db_.exec(QStringLiteral("DELETE FROM 印刷情報")));
    QVERIFY(db_.exec(QStringLiteral("INSERT INTO 印刷情報 (型番, 自社名サイズ, 白紙罫線色) VALUES ('MA4', '10.5', 16711680)")));
    // Fill the entry with other values first, so a default cannot be a leftover.
    table_[1].自社名位置 = QStringLiteral("下");
    table_[1].LM = 99;
    table_[1].型番 = QStringLiteral("MA4");

    QCOMPARE(ReadPrintSettings(db_, table_, QStringLiteral("MA4")), 1);
    const PrintSettingsEntry& e = table_[1];
    QCOMPARE(e.タイトル1, QString());
    QCOMPARE(e.LM, 0);
    QCOMPARE(e.顧客名サイズ, 12.0);
    QCOMPARE(e.顧客情報サイズ, 11.0);
    QCOMPARE(e.自社名サイズ, 10.5);
    QCOMPARE(e.自社情報サイズ, 11.0);
    QCOMPARE(e.自社名太字, false);
    QCOMPARE(e.白紙罫線色, 16711680);
    QCOMPARE(e.自社名位置, QStringLiteral("上"));
    QCOMPARE(e.自社情報印刷, true);
    QCOMPARE(e.領収書自社名サイズ, 14.0);
    QCOMPARE(e.領収書自社情報サイズ, 11.0);
    QCOMPARE(e.領収書顧客名サイズ, 14.0);
    QCOMPARE(e.領収書金額サイズ, 20.0);
}

void TestPrintSettings::helpTextByKey_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("startsWith");
    QTest::newRow("A4") << "印刷設定" << "A4" << "A4 白紙に見積書を印刷する";
    QTest::newRow("B5") << "印刷設定" << "B5" << "B5 白紙（JIS B5）";
    QTest::newRow("no such key") << "印刷設定" << "A3" << "";
    QTest::newRow("key with a quote") << "印刷設定" << "A4' OR '1'='1" << "";
    QTest::newRow("other kind") << "別設定" << "A4" << "";
}

void TestPrintSettings::helpTextByKey()
{
    QFETCH(QString, kind);
    QFETCH(QString, key);
    QFETCH(QString, startsWith);
    const QString text = ReadFormHelpText(work_, kind, key);
    if (startsWith.isEmpty())
        QCOMPARE(text, QString());
    else
        QVERIFY2(text.startsWith(startsWith), qPrintable(text.left(40)));
}

QTEST_MAIN(TestPrintSettings)
#include "tst_print_settings.moc"
