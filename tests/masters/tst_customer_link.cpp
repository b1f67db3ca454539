// The customer window's 参照: the checks of the link settings, the formats of
// the linked applications (read from SQLite link files made here; no Jet
// writer exists on this system), files that cannot be read, and the way an
// import reaches the customer master only through 登録.

#include "CustomerWindowSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFrame>

using namespace CustomerListColumn;

namespace {

QByteArray sha256(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

const QStringList kMoxelTable{
    "create table 顧客マスタ (名称 TEXT, 郵便番号 TEXT, 住所1 TEXT, 住所2 TEXT, tel TEXT, tel1 TEXT, fax TEXT, ふりがな TEXT, 敬称 TEXT)",
    "insert into 顧客マスタ values ('全部商事', '1000001', '東京都千代田区', '千代田1-1', '03-1111-2222', '03-9', '03-1111-3333', 'ぜんぶ', '御中')",
    "insert into 顧客マスタ values ('電話だけ', NULL, '', NULL, '06-1234-5678', '06-9', NULL, 'でんわ', '様')",
    "insert into 顧客マスタ values ('FAXだけ', NULL, NULL, NULL, NULL, NULL, '06-9999-0000', 'ふぁっくす', '様')",
    "insert into 顧客マスタ values ('ハイフン付', '530-0001', '大阪市北区', NULL, NULL, NULL, NULL, 'はいふん', NULL)",
    "insert into 顧客マスタ values ('六桁', '123456', NULL, '二行目だけ', NULL, NULL, NULL, 'ろっけた', '殿')",
    "insert into 顧客マスタ values ('何もなし', NULL, NULL, NULL, NULL, NULL, NULL, 'なにも', NULL)",
};

// What the Moxel rows become; telephone is tel or tel1 by the application.
QStringList moxelList(const QString& tel, const QString& onlyTel)
{
    return {
        "全部商事|〒100-0001\r\n東京都千代田区\r\n千代田1-1\r\nTEL " + tel + " FAX 03-1111-3333|ぜんぶ|御中",
        "電話だけ|TEL " + onlyTel + "|でんわ|様",
        "何もなし|<null>|なにも|<null>",
        "ハイフン付|〒530-0001\r\n大阪市北区\r\n|はいふん|<null>",
        "FAXだけ| FAX 06-9999-0000|ふぁっくす|様",
        "六桁|〒123456\r\n二行目だけ\r\n|ろっけた|殿",
    };
}

}  // namespace

class TestCustomerLink : public QObject {
    Q_OBJECT
private slots:
    void checksInOrder_data();
    void checksInOrder();
    void formats_data();
    void formats();
    void unreadableFileLeavesTheList_data();
    void unreadableFileLeavesTheList();
    void linkFileInUseSaysSo();
    void linkFileIsNeverChanged();
    void importThenSaveAddsAndUpdates();
};

void TestCustomerLink::checksInOrder_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("path");  // "<file>": a valid link file, "<dir>": a folder, "<none>": no file
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");

    QTest::newRow("no application") << "" << "" << "リンクアプリが指定されてません" << "情報";
    QTest::newRow("no application, a path") << "" << "<file>" << "リンクアプリが指定されてません" << "情報";
    QTest::newRow("no path") << "Dovan請求書" << "" << "リンクパスが指定されてません" << "情報";
    QTest::newRow("a folder") << "Dovan請求書" << "<dir>" << "顧客リンク参照がありません。確認してください。" << "ファイルチェック";
    QTest::newRow("no file") << "Dovan請求書" << "<none>" << "顧客リンク参照がありません。確認してください。" << "ファイルチェック";
    QTest::newRow("a default folder (drive path)") << "Dovan請求書" << "c:\\Dovan\\data"
                                                    << "顧客リンク参照がありません。確認してください。" << "ファイルチェック";
    QTest::newRow("no format for the application") << "Sulka" << "<file>" << "「Sulka」には読み込める顧客データがありません" << "情報";
    QTest::newRow("unknown application") << "Pralo顧客" << "<file>" << "「Pralo顧客」には読み込める顧客データがありません" << "情報";
}

void TestCustomerLink::checksInOrder()
{
    QFETCH(QString, application);
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(QString, title);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    const QString file = f.folder.root() + QStringLiteral("/link.mdb");
    makeSqliteFile(f.folder, file, {"create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT)",
                                    "insert into 顧客マスタ values ('石田工務店', NULL, 'いしだ', '様')"});
    QDir().mkpath(f.folder.driveRoot() + QStringLiteral("/c/Dovan/data"));
    QString setting = path;
    if (path == u"<file>") setting = file;
    if (path == u"<dir>") setting = f.folder.root();
    if (path == u"<none>") setting = f.folder.root() + QStringLiteral("/missing.mdb");
    FrmCustomer* w = openLinkedCustomerWindow(f, application, setting);
    QVERIFY(w);
    const QStringList list = customerList(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QCOMPARE(f.messages.texts(), QStringList{message});
    QCOMPARE(f.messages.shown().first().title, title);
    QCOMPARE(customerList(f), list);
    QCOMPARE(listColumn(w, 顧客名), QStringList{"青木商店"});
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
}

void TestCustomerLink::formats_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("list");

    const QStringList plain{
        "create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT, 担当 TEXT)",
        "insert into 顧客マスタ values ('上野商事', '〒110-0005\r\n台東区上野', 'うえの', '御中', '佐藤')",
        "insert into 顧客マスタ values ('読みなし', NULL, NULL, '様', NULL)",
        "insert into 顧客マスタ values ('青木商店', '', 'あおき', NULL, NULL)",
    };
    const QStringList plainList{"読みなし|<null>|<null>|様", "青木商店|<null>|あおき|<null>",
                                "上野商事|〒110-0005\r\n台東区上野|うえの|御中"};
    QTest::newRow("Dovan: copied, by reading, Null first") << "Dovan請求書" << plain << plainList;
    QTest::newRow("Tesra: the same format") << "Tesra納品書" << plain << plainList;
    QTest::newRow("a column the file lacks stays empty")
        << "Dovan請求書"
        << QStringList{"create table 顧客マスタ (顧客名 TEXT, ふりがな TEXT)", "insert into 顧客マスタ values ('青木商店', 'あおき')"}
        << QStringList{"青木商店|<null>|あおき|<null>"};
    QTest::newRow("no rows: the list is empty")
        << "Dovan請求書" << QStringList{"create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT)"}
        << QStringList{};

    QTest::newRow("Moxel: block by parts, tel") << "Moxel顧客管理" << kMoxelTable << moxelList("03-1111-2222", "06-1234-5678");
    QTest::newRow("MoxelⅡ: tel1") << "MoxelⅡ顧客管理" << kMoxelTable << moxelList("03-9", "06-9");
    QTest::newRow("Moxel without a fax column")
        << "Moxel顧客管理"
        << QStringList{"create table 顧客マスタ (名称 TEXT, 郵便番号 TEXT, tel TEXT, ふりがな TEXT, 敬称 TEXT)",
                       "insert into 顧客マスタ values ('青木商店', 1000001, '03-1', 'あおき', '様')"}
        << QStringList{"青木商店|〒100-0001\r\nTEL 03-1|あおき|様"};

    const QStringList halvo{
        "create table 顧客マスタ (名称 TEXT, 郵便番号 TEXT, 住所1 TEXT, 住所2 TEXT, tel TEXT, fax TEXT, ふりがな TEXT, 敬称 TEXT)",
        "create table 電話番号 (名称 TEXT, code INTEGER, no INTEGER, 電話番号 TEXT)",
        "insert into 顧客マスタ values ('三回線', '1000001', '東京都千代田区', NULL, '03-0', '03-F', 'さんかい', '御中')",
        "insert into 顧客マスタ values ('住所なし', NULL, NULL, NULL, NULL, NULL, 'じゅうしょ', '様')",
        "insert into 顧客マスタ values ('電話なし', NULL, '横浜市', NULL, NULL, NULL, 'でんわ', '様')",
        "insert into 顧客マスタ values ('O''Hara', NULL, NULL, NULL, NULL, NULL, 'おはら', '様')",
        "insert into 電話番号 values ('三回線', 2, 1, '03-2000'), ('三回線', 1, 2, '03-1200'), ('三回線', 1, 1, '03-1100')",
        "insert into 電話番号 values ('住所なし', 1, 1, '045-000'), ('O''Hara', 1, 1, '011-000'), ('他社', 1, 1, '099')",
    };
    QTest::newRow("Halvo: the first telephone by code and no")
        << "Halvo顧客管理" << halvo
        << QStringList{"O'Hara|TEL 011-000\r\n|おはら|様", "三回線|〒100-0001\r\n東京都千代田区\r\nTEL 03-1100\r\n|さんかい|御中",
                       "住所なし|TEL 045-000\r\n|じゅうしょ|様", "電話なし|横浜市\r\n|でんわ|様"};
    // Telephone numbers that cannot be read leave the customers without them.
    const QStringList halvoCustomers = halvo.mid(0, 1) + halvo.mid(2, 4);
    const QStringList withoutPhones{"O'Hara|<null>|おはら|様", "三回線|〒100-0001\r\n東京都千代田区\r\n|さんかい|御中",
                                    "住所なし|<null>|じゅうしょ|様", "電話なし|横浜市\r\n|でんわ|様"};
    QTest::newRow("Halvo without a telephone table") << "Halvo顧客管理" << halvoCustomers << withoutPhones;
    QTest::newRow("Halvo, telephone table without its numbers")
        << "Halvo顧客管理"
        << halvoCustomers + QStringList{"create table 電話番号 (名称 TEXT, code INTEGER, no INTEGER)",
                                        "insert into 電話番号 values ('三回線', 1, 1)"}
        << withoutPhones;
}

void TestCustomerLink::formats()
{
    QFETCH(QString, application);
    QFETCH(QStringList, file);
    QFETCH(QStringList, list);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"既存顧客", "<null>", "きぞん", "様"}}));
    // The Tesra file lies under a drive path, as the settings may name it.
    const bool drivePath = application == u"Tesra納品書";
    const QString path = drivePath ? f.folder.driveRoot() + QStringLiteral("/c/Tesra/data/tesra.mdb")
                                   : f.folder.root() + QStringLiteral("/link.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    makeSqliteFile(f.folder, path, file);
    FrmCustomer* w = openLinkedCustomerWindow(f, application, drivePath ? QStringLiteral("c:\\Tesra\\data\\tesra.mdb") : path);
    QVERIFY(w);
    const QStringList master = customerMaster(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QCOMPARE(listRows(w), list);
    QCOMPARE(listColumn(w, 行), QStringList(list.size(), QStringLiteral("<null>")));  // imported rows have no number
    QCOMPARE(listColumn(w, チェック), QStringList(list.size(), QStringLiteral("false")));
    QVERIFY(f.messages.shown().isEmpty());
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QCOMPARE(customerMaster(f), master);  // nothing reaches the master before 登録
}

void TestCustomerLink::unreadableFileLeavesTheList_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QByteArray>("bytes");     // the file's content, when not an SQLite file
    QTest::addColumn<QStringList>("file");     // else the statements of the SQLite file

    QByteArray jet(QByteArray::fromRawData("\x00\x01\x00\x00", 4));
    jet += QByteArrayLiteral("Standard Jet DB\0");
    jet += '\0';
    jet += QByteArray(2048 - jet.size(), '\x5a');
    QTest::newRow("not a database") << "Dovan請求書" << QByteArray("顧客一覧\n青木商店\n") << QStringList{};
    QTest::newRow("Jet signature, damaged") << "Dovan請求書" << jet << QStringList{};
    QTest::newRow("no customer table") << "Dovan請求書" << QByteArray()
                                       << QStringList{"create table 得意先 (顧客名 TEXT, ふりがな TEXT)"};
    QTest::newRow("no reading column") << "Moxel顧客管理" << QByteArray()
                                       << QStringList{"create table 顧客マスタ (名称 TEXT, tel TEXT)",
                                                      "insert into 顧客マスタ values ('青木', '03')"};
}

void TestCustomerLink::unreadableFileLeavesTheList()
{
    QFETCH(QString, application);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, file);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}, {"石田工務店", "<null>", "いしだ", "様"}}));
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    if (file.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    } else {
        makeSqliteFile(f.folder, path, file);
    }
    FrmCustomer* w = openLinkedCustomerWindow(f, application, path);
    QVERIFY(w);
    QVERIFY(listModel(w)->editCell(0, 顧客情報, QStringLiteral("未登録の編集")));
    const QStringList list = customerList(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QCOMPARE(customerList(f), list);
    QCOMPARE(listColumn(w, 顧客名), (QStringList{"青木商店", "石田工務店"}));
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("エラー"));
    QVERIFY(f.messages.texts().first().startsWith(QStringLiteral("顧客リンク参照を読み込めませんでした。一覧は変更していません。\n\n")));
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
}

// A link file that another program holds (a connection in an exclusive
// transaction): the box names the file and says it is in use, SQLite's
// words in its details; the list stays.
void TestCustomerLink::linkFileInUseSaysSo()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    const QString path = f.folder.root() + QStringLiteral("/cust.db");
    makeSqliteFile(f.folder, path, {"create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT)",
                                     "insert into 顧客マスタ values ('青木商店', NULL, 'あおき', '様')"});
    Database other;
    QVERIFY(other.open(path, Database::Role::Data, false));
    QVERIFY(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    FrmCustomer* w = openLinkedCustomerWindow(f, QStringLiteral("Dovan請求書"), path);
    QVERIFY(w);
    const QStringList list = customerList(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.text, QStringLiteral("顧客リンク参照を読み込めませんでした。一覧は変更していません。\n\n「cust.db」を読み込めません。\n"
                                      "ファイルがほかのプログラムで使用中です。そのプログラムを閉じてから、もう一度やり直してください。"));
    QVERIFY2(box.detail.contains(QStringLiteral("database is locked")), qPrintable(box.detail));
    QCOMPARE(customerList(f), list);
    QVERIFY(other.exec(QStringLiteral("ROLLBACK")));
}

void TestCustomerLink::linkFileIsNeverChanged()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    const QString path = f.folder.root() + QStringLiteral("/link/moxeldata.mdb");
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    makeSqliteFile(f.folder, path, kMoxelTable);
    const QByteArray before = sha256(path);
    FrmCustomer* w = openLinkedCustomerWindow(f, QStringLiteral("Moxel顧客管理"), path);
    QVERIFY(w);

    control<QPushButton>(*w, "cmdリンク参照")->click();
    QCOMPARE(listModel(w)->rowCount(), kMoxelTable.size() - 1);
    f.messages.answerNext(MessageAnswer::Yes);
    control<QPushButton>(*w, "cmd登録")->click();

    QCOMPARE(sha256(path), before);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"moxeldata.mdb"});  // no journal left beside it
}

void TestCustomerLink::importThenSaveAddsAndUpdates()
{
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "旧住所", "あおき", "様"}, {"リンク外商店", "住所", "りんくがい", "様"}}));
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    makeSqliteFile(f.folder, path, {"create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT)",
                                    "insert into 顧客マスタ values ('青木商店', '新住所', 'あおき', '御中')",
                                    "insert into 顧客マスタ values ('新規商店', NULL, 'しんき', '様')"});
    FrmCustomer* w = openLinkedCustomerWindow(f, QStringLiteral("Dovan請求書"), path);
    QVERIFY(w);

    control<QPushButton>(*w, "cmdリンク参照")->click();
    f.messages.answerNext(MessageAnswer::Yes);
    control<QPushButton>(*w, "cmd登録")->click();

    QCOMPARE(customerMaster(f), (QStringList{"顧客マスタ|'青木商店'|'新住所'|'あおき'|'御中'",
                                             "顧客マスタ|'リンク外商店'|'住所'|'りんくがい'|'様'",
                                             "顧客マスタ|'新規商店'|<null>|'しんき'|'様'"}));
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("顧客情報 を登録します。よろしいですか")});
}

QTEST_MAIN(TestCustomerLink)
#include "tst_customer_link.moc"
