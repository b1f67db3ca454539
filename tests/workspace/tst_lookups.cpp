// Customer look-ups of the quotation header: the stored customer behind a
// name, the Enter chain, the customer search component, the postal look-up.

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentAbi.h"
#include "platform/ComponentRegistry.h"
#include "platform/GridView.h"
#include "app/PostalLookup.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "workspace/quotation_tab/CustomerPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

void addCustomer(QuotationTabFixture& f, const QString& name, const QVariant& block, const QVariant& honorific)
{
    QVERIFY(f.data().insert(QStringLiteral("顧客マスタ"), {{QStringLiteral("顧客名"), name},
                                                               {QStringLiteral("顧客情報"), block},
                                                               {QStringLiteral("ふりがな"), QStringLiteral("よみ")},
                                                               {QStringLiteral("敬称"), honorific}}));
}

void typeInto(QComboBox* combo, const QString& text)
{
    combo->setFocus();
    combo->setEditText(text);
}

// A postal look-up that answers as told.
struct FakePostal final : PostalLookup {
    QString code, addr;
    QStringList* calls;
    FakePostal(QString c, QString a, QStringList* log) : code(std::move(c)), addr(std::move(a)), calls(log) {}
    void setDataFile(const QVariant& p) override { *calls << QStringLiteral("data:") + p.toString(); }
    void setDictionaryFile(const QVariant& p) override { *calls << QStringLiteral("dict:") + p.toString(); }
    void show() override { *calls << QStringLiteral("show"); }
    QVariant takeResult() override { *calls << QStringLiteral("take"); return {}; }
    QString postalCode() const override { return code; }
    QString address() const override { return addr; }
};

}  // namespace

class TestLookups : public QObject {
    Q_OBJECT
private slots:
    void leavingTheNameLooksUpTheCustomer_data();
    void leavingTheNameLooksUpTheCustomer();
    void enterMovesThroughTheHeader_data();
    void enterMovesThroughTheHeader();
    void customerSearchComponent();
    void customerSearchSaysWhyItCannotOpen_data();
    void customerSearchSaysWhyItCannotOpen();
    void postalLookupFillsAnEmptyBlock_data();
    void postalLookupFillsAnEmptyBlock();
    void postalLookupWithoutDictionary();
    void postalDictionarySearch_data();
    void postalDictionarySearch();
    void postalDialogHandsBackThePick();
    void shippedDictionaryIsSearchable_data();
    void shippedDictionaryIsSearchable();
};

void TestLookups::leavingTheNameLooksUpTheCustomer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("block");      // expected customer block
    QTest::addColumn<QString>("honorific");  // expected honorific
    const QString typed = QStringLiteral("手入力の住所");
    QTest::newRow("found with a block") << QStringLiteral("山田商店") << QStringLiteral("〒100-0001\r\n東京都千代田区千代田1-1")
                                        << QStringLiteral("御中");
    QTest::newRow("apostrophe in the name") << QStringLiteral("O'Brien 商会") << QStringLiteral("大阪府大阪市北区梅田")
                                            << QStringLiteral("様");
    QTest::newRow("block but no honorific") << QStringLiteral("田中") << QStringLiteral("福岡市") << QString();
    QTest::newRow("found without a block") << QStringLiteral("鈴木建設") << typed << QStringLiteral("殿");
    QTest::newRow("not found") << QStringLiteral("未登録商事") << typed << QStringLiteral("殿");
    QTest::newRow("empty name") << QString() << QString() << QStringLiteral("殿");
}

void TestLookups::leavingTheNameLooksUpTheCustomer()
{
    QFETCH(QString, name);
    QFETCH(QString, block);
    QFETCH(QString, honorific);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    addCustomer(f, QStringLiteral("山田商店"), QStringLiteral("〒100-0001\r\n東京都千代田区千代田1-1"), QStringLiteral("御中"));
    addCustomer(f, QStringLiteral("O'Brien 商会"), QStringLiteral("大阪府大阪市北区梅田"), QStringLiteral("様"));
    addCustomer(f, QStringLiteral("田中"), QStringLiteral("福岡市"), QVariant());
    addCustomer(f, QStringLiteral("鈴木建設"), QVariant(), QStringLiteral("様"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("手入力の住所"));
    control<TextComboBox>(f.quotation(), "cmb敬称")->setText(QStringLiteral("殿"));

    typeInto(control<TextComboBox>(f.quotation(), "cmb顧客名"), name);
    control<QLineEdit>(f.quotation(), "txt件名")->setFocus();  // leave the name

    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), block);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb敬称")->text(), honorific);
    QVERIFY(f.messages.shown().isEmpty());
    if (!name.isEmpty() && block != QStringLiteral("手入力の住所"))
        QCOMPARE(control<CustomerPanel>(f.quotation(), "Customer")->lookupRecord().ふりがな.toString(), QStringLiteral("よみ"));
}

void TestLookups::enterMovesThroughTheHeader_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("column");  // grid column afterwards
    QTest::newRow("customer name into 品名") << QStringLiteral("cmb顧客名") << QStringLiteral("Grid明細") << 1;
    QTest::newRow("有効期限") << QStringLiteral("cmb有効期限") << QStringLiteral("cmb支払条件") << 4;
    QTest::newRow("支払条件") << QStringLiteral("cmb支払条件") << QStringLiteral("cmb受渡場所") << 4;
    QTest::newRow("受渡場所") << QStringLiteral("cmb受渡場所") << QStringLiteral("cmb納期") << 4;
    QTest::newRow("納期 keeps the column") << QStringLiteral("cmb納期") << QStringLiteral("Grid明細") << 4;
}

void TestLookups::enterMovesThroughTheHeader()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, column);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    control<GridView>(f.quotation(), "Grid明細")->setCurrentCell(2, 4);
    auto* source = f.tab.findChild<QComboBox*>(from);
    QVERIFY(source);
    source->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QWidget* target = f.tab.findChild<QWidget*>(to);
    QVERIFY2(focus == target || target->isAncestorOf(focus), qPrintable(focus->objectName()));
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentColumn(), column);
    QCOMPARE(control<GridView>(f.quotation(), "Grid明細")->currentRow(), 2);
}

void TestLookups::customerSearchComponent()
{
    QuotationTabFixture f;  // its own component registry in the test folder
    const ComponentRegistry& registry = f.session.components();
    QVERIFY(registry.registryFile().startsWith(f.folder.root()));
    const QString log = f.folder.root() + QStringLiteral("/search.log");
    qputenv("VELT_FAKE_LOG", log.toUtf8());
    QVERIFY(f.open());
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("入力中の名前"));

    // Not registered: a message, and the name stays.
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("注意"));
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("入力中の名前"));
    f.messages.clear();

    QString error;
    QVERIFY2(registry.registerLibrary(QStringLiteral(FAKE_CUSTOMER_SEARCH), &error), qPrintable(error));
    QVERIFY(!registry.libraryFor(QString::fromLatin1(ClsPelmarInterface::ClassId)).isEmpty());

    // A pick fills the name; the component gets the data file and colour set 1 (16-bit).
    qputenv("VELT_FAKE_PICK", QStringLiteral("O'Brien 商会").toUtf8());
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("O'Brien 商会"));
    QFile logged(log);
    QVERIFY(logged.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(logged.readAll()).trimmed(), f.folder.dataDbPath() + QStringLiteral("|1|short|0"));

    // Closing without a pick leaves the name as it was, though the component
    // still holds the earlier pick.
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("別の名前"));
    qunsetenv("VELT_FAKE_PICK");
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("別の名前"));

    // A picked empty row gives an empty name.
    qputenv("VELT_FAKE_PICK", QByteArray());
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QString());
    QVERIFY(f.messages.shown().isEmpty());

    // Unregistered again: the message comes back.
    QVERIFY(registry.unregisterLibrary(QStringLiteral(FAKE_CUSTOMER_SEARCH)));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("残る名前"));
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("残る名前"));

    // Registered, but its library is gone: a message as well.
    QVERIFY(component_abi::registerClass(registry.registryFile(), QString::fromLatin1(ClsPelmarInterface::ClassId),
                                         f.folder.root() + QStringLiteral("/missing.so")));
    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("残る名前"));

    qunsetenv("VELT_FAKE_PICK");
    qunsetenv("VELT_FAKE_LOG");
}

// The customer search that cannot open says which of its causes it is,
// naming the file; the loader's own words go to the box's details.
void TestLookups::customerSearchSaysWhyItCannotOpen_data()
{
    QTest::addColumn<QString>("state");  // of the registry file
    QTest::addColumn<QString>("says");   // with <library> and <registry> for the files
    QTest::newRow("no registry file") << "none" << "顧客検索コンポーネントが登録されていないため、顧客参照を開けません。";
    QTest::newRow("library missing") << "missing"
                                     << "顧客検索コンポーネントのライブラリ「<library>」が見つからないため、顧客参照を開けません。";
    QTest::newRow("not a library") << "text"
                                   << "顧客検索コンポーネントとして登録されたファイル「<library>」が顧客検索のライブラリではないため、"
                                      "顧客参照を開けません。";
    QTest::newRow("registry file damaged") << "damaged"
                                           << "コンポーネントの登録ファイル「<registry>」が壊れているため、顧客参照を開けません。";
}

void TestLookups::customerSearchSaysWhyItCannotOpen()
{
    QFETCH(QString, state);
    QFETCH(QString, says);
    QuotationTabFixture f;
    const QString registry = f.session.components().registryFile();
    const QString library = f.folder.root() + (state == u"text" ? QStringLiteral("/notes (old).so") : QStringLiteral("/missing.so"));
    const QString clsid = QString::fromLatin1(ClsPelmarInterface::ClassId);
    if (state == u"missing" || state == u"text") QVERIFY(component_abi::registerClass(registry, clsid, library));
    if (state == u"text") {
        QFile notes(library);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a library\n") > 0);
    }
    if (state == u"damaged") {
        QVERIFY(component_abi::registerClass(registry, clsid, library));
        QFile damaged(registry);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate) && damaged.write("{\"classes\": {\"{") > 0);
    }
    QVERIFY(f.open());
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("入力中の名前"));

    control<QPushButton>(f.quotation(), "cmd顧客参照")->click();

    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("注意"));
    says.replace(QStringLiteral("<library>"), QDir::toNativeSeparators(library));
    says.replace(QStringLiteral("<registry>"), QDir::toNativeSeparators(registry));
    QCOMPARE(box.text, says);
    QVERIFY(!box.detail.isEmpty());
    QCOMPARE(control<TextComboBox>(f.quotation(), "cmb顧客名")->text(), QStringLiteral("入力中の名前"));
}

void TestLookups::postalLookupFillsAnEmptyBlock_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("after");
    const QString addr = QStringLiteral("東京都千代田区千代田");
    QTest::newRow("seven digits into an empty block")
        << QString() << QStringLiteral("1000001") << QStringLiteral("〒100-0001\r\n") + addr;
    QTest::newRow("hyphenated code unchanged")
        << QString() << QStringLiteral("100-0001") << QStringLiteral("〒100-0001\r\n") + addr;
    QTest::newRow("filled block left alone") << QStringLiteral("既存の住所") << QStringLiteral("1000001")
                                             << QStringLiteral("既存の住所");
    QTest::newRow("nothing chosen") << QString() << QString() << QString();
}

void TestLookups::postalLookupFillsAnEmptyBlock()
{
    QFETCH(QString, before);
    QFETCH(QString, code);
    QFETCH(QString, after);
    QuotationTabFixture f;
    QVERIFY(f.open());
    QStringList calls;
    f.session.setPostalLookupFactory([&] {
        return std::make_unique<FakePostal>(code, QStringLiteral("東京都千代田区千代田"), &calls);
    });
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(before);
    control<QPushButton>(f.quotation(), "cmd郵便")->click();
    QCOMPARE(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text(), after);
    QCOMPARE(calls, (QStringList{QStringLiteral("data:") + f.folder.dataDbPath(), QStringLiteral("dict:") + f.folder.postalPath(),
                                 QStringLiteral("show"), QStringLiteral("take")}));
    QVERIFY(f.messages.shown().isEmpty());
}

void TestLookups::postalLookupWithoutDictionary()
{
    QuotationTabFixture f({QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb")});
    QVERIFY(f.open());
    bool created = false;
    f.session.setPostalLookupFactory([&] {
        created = true;
        return std::unique_ptr<PostalLookup>();
    });
    control<QPushButton>(f.quotation(), "cmd郵便")->click();
    QVERIFY(!created);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("郵便番号辞書がありません。確認してください。")});
    QVERIFY(control<MultiLineEdit>(f.quotation(), "txt顧客情報")->text().isEmpty());
}

void TestLookups::postalDictionarySearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("code prefix") << QStringLiteral("910")
                                 << QStringList{QStringLiteral("9100001"), QStringLiteral("9100002"), QStringLiteral("9100003")};
    QTest::newRow("full code with hyphen") << QStringLiteral("910-0002") << QStringList{QStringLiteral("9100002")};
    QTest::newRow("full-width digits") << QStringLiteral("９１００００１") << QStringList{QStringLiteral("9100001")};
    QTest::newRow("address text") << QStringLiteral("架空町") << QStringList{QStringLiteral("9100002")};
    QTest::newRow("reading") << QStringLiteral("ｶｸｳ") << QStringList{QStringLiteral("9100002")};
    QTest::newRow("apostrophe") << QStringLiteral("O'Hara") << QStringList{QStringLiteral("9100003")};
    QTest::newRow("wildcard is literal") << QStringLiteral("%") << QStringList{};
    QTest::newRow("empty query") << QString() << QStringList{};
}

void TestLookups::postalDictionarySearch()
{
    QFETCH(QString, query);
    QFETCH(QStringList, codes);
    TestFolder data;
    Database dict;
    QVERIFY(dict.open(data.postalPath(), Database::Role::Data, false));
    QVERIFY(dict.exec(QStringLiteral("delete from 郵便番号辞書")));
    QVERIFY(dict.exec(QStringLiteral(
        "insert into 郵便番号辞書 (郵便番号, 都道府県, 市区町村, 町域, 都道府県カナ, 市区町村カナ, 町域カナ) values "
        "('9100002', '福井県', '試験市', '架空町', 'ﾌｸｲｹﾝ', 'ｼｹﾝｼ', 'ｶｸｳﾁｮｳ'),"
        "('9100001', '福井県', '試験市', '本町', 'ﾌｸｲｹﾝ', 'ｼｹﾝｼ', 'ﾎﾝﾏﾁ'),"
        "('9100003', '福井県', '試験市', 'O''Hara通', null, null, null),"
        "('9200001', '石川県', '見本市', '本町', null, null, null)")));
    bool ok = false;
    QStringList found;
    for (const PostalEntry& e : SearchPostalDictionary(dict, query, 500, &ok)) found << e.郵便番号;
    QVERIFY(ok);
    QCOMPARE(found, codes);
}

void TestLookups::postalDialogHandsBackThePick()
{
    TestFolder data;
    {
        Database dict;
        QVERIFY(dict.open(data.postalPath(), Database::Role::Data, false));
        QVERIFY(dict.exec(QStringLiteral("delete from 郵便番号辞書")));
        QVERIFY(dict.exec(QStringLiteral("insert into 郵便番号辞書 (郵便番号, 都道府県, 市区町村, 町域) "
                                         "values ('9100002', '福井県', '試験市', '架空町')")));
    }
    PostalLookupDialog dialog(data.postalPath());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* txt検索 = control<QLineEdit>(dialog, "txt検索");
    txt検索->setFocus();
    txt検索->setText(QStringLiteral("910-0002"));
    // Enter in the search box searches and leaves the dialog open.
    QTest::keyClick(txt検索, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.QDialog::result(), int(QDialog::Rejected));
    const auto* lst結果 = control<QTableWidget>(dialog, "lst結果");
    QCOMPARE(lst結果->rowCount(), 1);
    QCOMPARE(lst結果->item(0, 0)->text(), QStringLiteral("910-0002"));
    dialog.pick();
    QCOMPARE(dialog.result().郵便番号, QStringLiteral("9100002"));
    QCOMPARE(dialog.result().住所, QStringLiteral("福井県試験市架空町"));
    QCOMPARE(dialog.QDialog::result(), int(QDialog::Accepted));
}

void TestLookups::shippedDictionaryIsSearchable_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("code");     // of the first entry found
    QTest::addColumn<QString>("address");
    QTest::newRow("Tokyo by code") << QStringLiteral("100-0001") << QStringLiteral("1000001") << QStringLiteral("東京都千代田区千代田");
    QTest::newRow("Osaka by code") << QStringLiteral("5300001") << QStringLiteral("5300001") << QStringLiteral("大阪府大阪市北区梅田");
    QTest::newRow("by reading") << QStringLiteral("ｵｵｻｶｼｷﾀｸｳﾒﾀﾞ") << QStringLiteral("5300001") << QStringLiteral("大阪府大阪市北区梅田");
    QTest::newRow("Naha by address") << QStringLiteral("那覇市") << QStringLiteral("9000000") << QStringLiteral("沖縄県那覇市");
    QTest::newRow("Sapporo by code") << QStringLiteral("0600001") << QStringLiteral("0600001") << QStringLiteral("北海道札幌市中央区北一条西");
    QTest::newRow("a code of several town areas") << QStringLiteral("0288401") << QStringLiteral("0288401")
                                                  << QStringLiteral("岩手県下閉伊郡田野畑村一の渡");
}

void TestLookups::shippedDictionaryIsSearchable()
{
    QFETCH(QString, query);
    QFETCH(QString, code);
    QFETCH(QString, address);
    // The dictionary the build ships (the fixture copies only a few areas of it).
    Database dict;
    QVERIFY(dict.open(TestFolder::builtDataDir() + QStringLiteral("/yubin2000.mdb"), Database::Role::Data, false));
    QVERIFY(dict.scalar(QStringLiteral("select count(distinct 郵便番号) from 郵便番号辞書")).toInt() > 120000);
    bool ok = false;
    const QList<PostalEntry> found = SearchPostalDictionary(dict, query, 10, &ok);
    QVERIFY(ok);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first().郵便番号, code);
    QCOMPARE(found.first().住所, address);
}

QTEST_MAIN(TestLookups)
#include "tst_lookups.moc"
