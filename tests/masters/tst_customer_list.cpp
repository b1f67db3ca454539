// The customer list's rules without the window: which customers a search
// finds and in which order, with "*" and "?" as the only wildcards.

#include "CustomerSamples.h"
#include "masters/CustomerMaster.h"
#include "platform/Database.h"
#include "support/TestFolder.h"

#include <QtTest>

namespace {

// The data file of a fresh folder holding the customers.
struct DataFile {
    explicit DataFile(const QList<QStringList>& customers)
    {
        data.open(folder.dataDbPath(), Database::Role::Data);
        QVERIFY(addCustomers(data, customers));
    }
    QStringList found(const QString& name, const QString& kana, int field = 0)
    {
        Failure error;
        const auto rows = FindCustomers(data, name, kana, &error);
        if (!rows) return {QStringLiteral("<failed: %1>").arg(error.logText())};
        QStringList out;
        for (const CustomerRow& r : *rows) out << (field == 0 ? r.顧客名 : r.ふりがな).toString();
        return out;
    }
    TestFolder folder;
    Database data;
};

}  // namespace

class TestCustomerList : public QObject {
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void readingsInJapaneseOrder();
    void failedSearchSaysSo();
};

void TestCustomerList::search_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("both empty: all, Null readings first") << "" << "" << kSearchCustomersInOrder;
    QTest::newRow("だ not under た") << "" << "た" << QStringList{"田中商店"};
    QTest::newRow("reading only, ordered") << "" << "ん"
                                            << QStringList{"O'Brien商会", "大和運輸", "田中商店", "100%商事"};
    QTest::newRow("name and reading: both must hold") << "商" << "た" << QStringList{"田中商店"};
    QTest::newRow("name inside the name") << "商" << "" << QStringList{"O'Brien商会", "田中商店", "100%商事"};
    QTest::newRow("% is a plain character") << "%" << "" << QStringList{"100%商事"};
    QTest::newRow("_ is a plain character") << "_" << "" << QStringList{"A_B工業"};
    // * stands for any text and ? for one character, in both boxes.
    QTest::newRow("* between two parts") << "田*店" << "" << QStringList{"田中商店"};
    QTest::newRow("* for no text at all") << "田中*商店" << "" << QStringList{"田中商店"};
    QTest::newRow("* alone: every name") << "*" << "" << kSearchCustomersInOrder;
    QTest::newRow("? for one character") << "田??店" << "" << QStringList{"田中商店"};
    QTest::newRow("? never for none") << "田???店" << "" << QStringList{};
    QTest::newRow("? beside a plain _") << "A?B" << "" << QStringList{"A_B工業"};
    QTest::newRow("* and ? in the reading") << "" << "た*しょ?てん" << QStringList{"田中商店"};
    QTest::newRow("* beside a plain %") << "%*事" << "" << QStringList{"100%商事"};
    QTest::newRow("a quote works") << "O'B" << "" << QStringList{"O'Brien商会"};
    QTest::newRow("Latin letters in either case") << "abc" << "" << QStringList{"ABC物産"};
    QTest::newRow("nothing found") << "該当なし" << "" << QStringList{};
}

void TestCustomerList::search()
{
    QFETCH(QString, name);
    QFETCH(QString, kana);
    QFETCH(QStringList, found);
    DataFile f(kSearchCustomers);
    QCOMPARE(f.found(name, kana), found);
}

void TestCustomerList::readingsInJapaneseOrder()
{
    DataFile f({{"ｻﾄｳ商会", "<null>", "ｻﾄｳ", "様"}, {"加藤商店", "<null>", "かとう", "様"},
                {"我藤", "<null>", "がとう", "様"}, {"カトウ電機", "<null>", "カトウ", "御中"},
                {"青山", "<null>", "あおやま", "様"}, {"ｶﾄｳ工務店", "<null>", "ｶﾄｳ", "様"},
                {"佐藤", "<null>", "さとう", "様"}, {"カーター", "<null>", "カーター", "様"}});
    // Kana type and width count last: one reading in three scripts side by
    // side, the voiced reading after them, the long-vowel mark as its vowel.
    QCOMPARE(f.found({}, {}, 1), (QStringList{"あおやま", "カーター", "かとう", "カトウ", "ｶﾄｳ", "がとう", "さとう", "ｻﾄｳ"}));
}

void TestCustomerList::failedSearchSaysSo()
{
    DataFile f({});
    QVERIFY(f.data.exec(QStringLiteral("alter table 顧客マスタ rename to 顧客マスタ旧")));
    const QStringList found = f.found(QStringLiteral("商"), {});
    QCOMPARE(found.size(), 1);
    QVERIFY2(found.first().startsWith(QStringLiteral("<failed: ")) && found.first().size() > 10, qPrintable(found.first()));
}

QTEST_MAIN(TestCustomerList)
#include "tst_customer_list.moc"
