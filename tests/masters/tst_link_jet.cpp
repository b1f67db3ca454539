// The customer and product link imports from real Jet files (Access 97 and
// Access 2000, made by the test Jet writer) in every application format, and
// damaged copies of such files, which must end the import with a message and
// leave the list as it was.

#include "CustomerWindowSupport.h"
#include "ProductSamples.h"
#include "masters/ProductLink.h"
#include "platform/Currency.h"
#include "support/JetDamage.h"

#include <QFrame>

using namespace CustomerListColumn;
using jet::Kind;

Q_DECLARE_METATYPE(jet::Version)
Q_DECLARE_METATYPE(jet::Damage)
Q_DECLARE_METATYPE(QList<jet::Table>)

namespace {

const jet::Version kVersions[] = {jet::Version::Jet3, jet::Version::Jet4};
QString nameOf(jet::Version v) { return v == jet::Version::Jet3 ? QStringLiteral("Access 97") : QStringLiteral("Access 2000"); }

// A table of text columns unless the name says otherwise ("単価:C", "非課税:Y", "code:I").
jet::Table table(const QString& name, const QStringList& columns, const QList<QVariantList>& rows)
{
    jet::Table t{name, {}, rows};
    for (const QString& c : columns) {
        const QStringList parts = c.split(QLatin1Char(':'));
        Kind kind = Kind::Text;
        if (parts.value(1) == u"C") kind = Kind::Currency;
        if (parts.value(1) == u"Y") kind = Kind::YesNo;
        if (parts.value(1) == u"I") kind = Kind::Integer;
        if (parts.value(1) == u"M") kind = Kind::Memo;
        t.columns.append({parts[0], kind});
    }
    return t;
}

const QVariant N;  // Null

bool writeJet(const QString& path, jet::Version version, const QList<jet::Table>& tables, jet::Layout* layout = nullptr)
{
    QString error;
    const bool ok = jet::writeFile(path, version, tables, &error, layout);
    if (!ok) qWarning().noquote() << error;
    return ok;
}

jet::Table moxelCustomers(const QString& telephone)
{
    return table(QStringLiteral("顧客マスタ"),
                 {"名称", "郵便番号", "住所1", "住所2", telephone, "fax", "ふりがな", "敬称", "備考:M"},
                 {{"髙橋①㈱", "1000001", "東京都千代田区", "千代田1-1", "03-1111-2222", "03-1111-3333", "たかはし", "御中", "長い備考"},
                  {"電話だけ", N, "", N, "06-1234-5678", N, "でんわ", "様", N},
                  {"FAXだけ", N, N, N, N, "06-9999-0000", "ふぁっくす", "様", N},
                  {"ﾊﾝｶｸ表示", "530-0001", "大阪市北区", N, N, N, "はんかく", N, N}});
}

const QStringList kMoxelList{
    "髙橋①㈱|〒100-0001\r\n東京都千代田区\r\n千代田1-1\r\nTEL 03-1111-2222 FAX 03-1111-3333|たかはし|御中",
    "電話だけ|TEL 06-1234-5678|でんわ|様",
    "ﾊﾝｶｸ表示|〒530-0001\r\n大阪市北区\r\n|はんかく|<null>",
    "FAXだけ| FAX 06-9999-0000|ふぁっくす|様",
};

// Many customers of the plain format, so that the table spans several pages.
jet::Table manyCustomers()
{
    jet::Table t = table(QStringLiteral("顧客マスタ"), {"顧客名", "顧客情報:M", "ふりがな", "敬称"}, {});
    for (int i = 0; i < 300; ++i)
        t.rows.append({QStringLiteral("顧客%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("東京都千代田区%1番地").arg(i),
                       QStringLiteral("こきゃく%1").arg(i, 3, 10, QLatin1Char('0')), "様"});
    return t;
}

// The products of samples::linkProducts() as a Jet table; withPack: with 入数.
jet::Table linkProducts(bool withPack, int more = 0)
{
    const auto yen = [](qint64 raw) { return QVariant::fromValue(Currency::fromRaw(raw)); };
    QList<QVariantList> rows{{"ノート", "10", "冊", yen(1505000), false, "のーと", "x"},
                             {"切手", N, "枚", yen(840000), true, "きって", "x"},
                             {"封筒", "100", "束", yen(12345678), true, N, "x"},
                             {"のり", N, N, yen(0), false, "のり", "x"}};
    for (int i = 0; i < more; ++i)
        rows.append({QStringLiteral("商品%1").arg(i, 4, 10, QLatin1Char('0')), "12", "本", yen(1000000 + i), false,
                     QStringLiteral("しょうひん%1").arg(i, 4, 10, QLatin1Char('0')), "x"});
    if (!withPack)
        for (QVariantList& r : rows) r.removeAt(1);
    QStringList columns{"品名", "入数", "単位", "単価:C", "非課税:Y", "ふりがな", "備考"};
    if (!withPack) columns.removeAt(1);
    return table(QStringLiteral("商品マスタ"), columns, rows);
}

// A data and a work file, the product list holding one row of its own.
struct ProductFiles {
    ProductFiles()
    {
        folder.prepare(samples::kProducts);
        work.open(folder.workDbPath(), Database::Role::Work);
        work.exec(QStringLiteral("insert into w商品マスタ values (1, '前の一覧', NULL, NULL, NULL, NULL, NULL, NULL)"));
    }
    QStringList list() { return TableSnapshot(work, {QStringLiteral("w商品マスタ")}); }
    TestFolder folder;
    Database work;
};

}  // namespace

class TestLinkJet : public QObject {
    Q_OBJECT
private slots:
    void customerFormats_data();
    void customerFormats();
    void damagedCustomerFile_data();
    void damagedCustomerFile();
    void productFormats_data();
    void productFormats();
    void damagedProductFile_data();
    void damagedProductFile();

private:
    static void versionsAndDamages();
};

void TestLinkJet::versionsAndDamages()
{
    QTest::addColumn<jet::Version>("version");
    QTest::addColumn<jet::Damage>("damage");
    for (jet::Version v : kVersions)
        for (jet::Damage d : jet::allDamages())
            QTest::newRow(qPrintable(nameOf(v) + QStringLiteral(", ") + jet::nameOf(d))) << v << d;
}

void TestLinkJet::customerFormats_data()
{
    QTest::addColumn<jet::Version>("version");
    QTest::addColumn<QString>("application");
    QTest::addColumn<QList<jet::Table>>("tables");
    QTest::addColumn<QStringList>("list");

    const jet::Table plain = table(QStringLiteral("顧客マスタ"), {"顧客名", "顧客情報:M", "ふりがな", "敬称", "担当"},
                                   {{"上野商事", "〒110-0005\r\n台東区上野", "うえの", "御中", "佐藤"},
                                    {"読みなし", N, N, "様", N},
                                    {"髙橋①㈱", "ソ能表～", "たかはし", "様", N}});
    const QStringList plainList{"読みなし|<null>|<null>|様", "上野商事|〒110-0005\r\n台東区上野|うえの|御中",
                                "髙橋①㈱|ソ能表～|たかはし|様"};
    const jet::Table halvo = table(QStringLiteral("顧客マスタ"), {"名称", "郵便番号", "住所1", "住所2", "ふりがな", "敬称"},
                                   {{"三回線", "1000001", "東京都千代田区", N, "さんかい", "御中"},
                                    {"電話なし", N, "横浜市", N, "でんわ", "様"}});
    const jet::Table phones = table(QStringLiteral("電話番号"), {"名称", "code:I", "no:I", "電話番号"},
                                    {{"三回線", 2, 1, "03-2000"}, {"三回線", 1, 2, "03-1200"}, {"三回線", 1, 1, "03-1100"},
                                     {"他社", 1, 1, "099"}});
    for (jet::Version v : kVersions) {
        const QString on = QStringLiteral(", ") + nameOf(v);
        QTest::newRow(qPrintable("Dovan請求書" + on)) << v << "Dovan請求書" << QList<jet::Table>{plain} << plainList;
        QTest::newRow(qPrintable("Tesra納品書" + on)) << v << "Tesra納品書" << QList<jet::Table>{plain} << plainList;
        QTest::newRow(qPrintable("Moxel顧客管理" + on)) << v << "Moxel顧客管理" << QList<jet::Table>{moxelCustomers("tel")} << kMoxelList;
        QTest::newRow(qPrintable("MoxelⅡ顧客管理" + on)) << v << "MoxelⅡ顧客管理" << QList<jet::Table>{moxelCustomers("tel1")} << kMoxelList;
        QTest::newRow(qPrintable("Halvo顧客管理" + on))
            << v << "Halvo顧客管理" << QList<jet::Table>{halvo, phones}
            << QStringList{"三回線|〒100-0001\r\n東京都千代田区\r\nTEL 03-1100\r\n|さんかい|御中", "電話なし|横浜市\r\n|でんわ|様"};
    }
}

void TestLinkJet::customerFormats()
{
    QFETCH(jet::Version, version);
    QFETCH(QString, application);
    QFETCH(QList<jet::Table>, tables);
    QFETCH(QStringList, list);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    QVERIFY(writeJet(path, version, tables));
    const QByteArray hash = FileHash(path);
    FrmCustomer* w = openLinkedCustomerWindow(f, application, path);
    QVERIFY(w);
    const QStringList master = customerMaster(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QVERIFY2(f.messages.shown().isEmpty(), qPrintable(f.messages.texts().join('\n')));
    QCOMPARE(listRows(w), list);
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QCOMPARE(customerMaster(f), master);
    QCOMPARE(FileHash(path), hash);
}

void TestLinkJet::damagedCustomerFile_data() { versionsAndDamages(); }

void TestLinkJet::damagedCustomerFile()
{
    QFETCH(jet::Version, version);
    QFETCH(jet::Damage, damage);
    CustomerWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(addCustomers(f.data(), {{"青木商店", "<null>", "あおき", "様"}}));
    // A name with a blank and parentheses is named whole.
    const QString path = f.folder.root() + QStringLiteral("/顧客 (2).mdb");
    jet::Layout layout;
    QVERIFY(writeJet(path, version, {manyCustomers()}, &layout));
    QVERIFY(layout.dataPages.value(QStringLiteral("顧客マスタ")).size() > 1);
    QVERIFY(jet::damage(path, layout, QStringLiteral("顧客マスタ"), damage));
    const QByteArray hash = FileHash(path);
    FrmCustomer* w = openLinkedCustomerWindow(f, QStringLiteral("Dovan請求書"), path);
    QVERIFY(w);
    const QStringList list = customerList(f);

    control<QPushButton>(*w, "cmdリンク参照")->click();

    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("エラー"));
    QVERIFY(f.messages.texts().first().startsWith(QStringLiteral("顧客リンク参照を読み込めませんでした。一覧は変更していません。")));
    QVERIFY2(f.messages.texts().first().contains(QStringLiteral("壊れている可能性")), qPrintable(f.messages.texts().first()));
    QVERIFY2(f.messages.texts().first().contains(QStringLiteral("「顧客 (2).mdb」")), qPrintable(f.messages.texts().first()));
    // libmdb's own warnings are in the details, never in the text.
    QVERIFY2(!f.messages.texts().first().contains(QStringLiteral("warning"), Qt::CaseInsensitive),
             qPrintable(f.messages.texts().first()));
    if (damage == jet::Damage::ZeroedPage)
        QVERIFY2(f.messages.shown().first().detail.contains(QStringLiteral("warning")),
                 qPrintable(f.messages.shown().first().detail));
    QCOMPARE(customerList(f), list);
    QCOMPARE(listColumn(w, 顧客名), QStringList{"青木商店"});
    QVERIFY(control<QFrame>(*w, "CnKokyakuMsg")->isHidden());
    QCOMPARE(FileHash(path), hash);
}

void TestLinkJet::productFormats_data()
{
    QTest::addColumn<jet::Version>("version");
    QTest::addColumn<QString>("application");
    QTest::addColumn<bool>("withPack");
    for (jet::Version v : kVersions) {
        const QString on = QStringLiteral(", ") + nameOf(v);
        QTest::newRow(qPrintable("Dovan請求書" + on)) << v << "Dovan請求書" << true;
        QTest::newRow(qPrintable("Tesra請求書" + on)) << v << "Tesra請求書" << true;
        QTest::newRow(qPrintable("Grevo請求書" + on)) << v << "Grevo請求書" << false;
    }
}

void TestLinkJet::productFormats()
{
    QFETCH(jet::Version, version);
    QFETCH(QString, application);
    QFETCH(bool, withPack);
    ProductFiles f;
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    QVERIFY(writeJet(path, version, {linkProducts(withPack)}));
    const QByteArray hash = FileHash(path);

    const ProductLinkResult result = ImportProductLink(path, ProductLinkColumns(application), f.work);

    QVERIFY2(result.ok, qPrintable(result.error.logText()));
    QCOMPARE(result.rows, 4);
    QCOMPARE(f.list(), samples::importedRows(withPack));
    QCOMPARE(FileHash(path), hash);
}

void TestLinkJet::damagedProductFile_data() { versionsAndDamages(); }

void TestLinkJet::damagedProductFile()
{
    QFETCH(jet::Version, version);
    QFETCH(jet::Damage, damage);
    ProductFiles f;
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    jet::Layout layout;
    QVERIFY(writeJet(path, version, {linkProducts(true, 300)}, &layout));
    QVERIFY(layout.dataPages.value(QStringLiteral("商品マスタ")).size() > 1);
    QVERIFY(jet::damage(path, layout, QStringLiteral("商品マスタ"), damage));
    const QByteArray hash = FileHash(path);
    const QStringList before = f.list();

    const ProductLinkResult result = ImportProductLink(path, ProductLinkColumns(QStringLiteral("Dovan請求書")), f.work);

    QVERIFY2(!result.ok, "a damaged link file imported as if complete");
    QVERIFY2(result.error.logText().contains(QStringLiteral("壊れている可能性")), qPrintable(result.error.logText()));
    QCOMPARE(f.list(), before);
    QCOMPARE(FileHash(path), hash);
}

QTEST_MAIN(TestLinkJet)
#include "tst_link_jet.moc"
