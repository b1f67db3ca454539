// The product list's rules: listing 商品マスタ into w商品マスタ by the search
// bar's filters and order, saving the list back, deleting the ticked
// products, and importing a linked application's products.

#include "ProductSamples.h"
#include "app/ProductMaster.h"
#include "app/SettingsRecord.h"
#include "masters/ProductLink.h"
#include "masters/ProductList.h"
#include "platform/Database.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QSqlRecord>
#include <QtTest>

namespace {

// The data and work files of a fresh folder, 商品マスタ holding the samples.
struct Files {
    Files()
    {
        folder.prepare(samples::kProducts);
        data.open(folder.dataDbPath(), Database::Role::Data);
        work.open(folder.workDbPath(), Database::Role::Work);
    }
    QStringList names()
    {
        QStringList out;
        for (const QSqlRecord& r : work.rows(QStringLiteral("select 品名 from w商品マスタ order by rowid")))
            out << r.value(0).toString();
        return out;
    }
    QStringList list() { return TableSnapshot(work, {QStringLiteral("w商品マスタ")}); }
    QStringList master() { return TableSnapshot(data, {QStringLiteral("商品マスタ")}); }
    void putList(const QStringList& values)
    {
        for (const QString& v : values)
            QVERIFY2(work.exec(QStringLiteral("insert into w商品マスタ values (%1)").arg(v)), qPrintable(work.lastError().logText()));
    }

    TestFolder folder;
    Database data;
    Database work;
};

// A product name of 60 characters (120 bytes of Shift-JIS).
const QString kLongName = QStringLiteral("特注").repeated(30);

const QString kByName = QStringLiteral("品名順");
const QString kByReading = QStringLiteral("ふりがな順");

}  // namespace

class TestProductList : public QObject {
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void listingInJapaneseOrder_data();
    void listingInJapaneseOrder();
    void listingCopiesEveryField();
    void failedListingKeepsTheList();
    void save();
    void namesStoredWithBlanksAreEdited();
    void saveRefusedPartWayWritesNothing();
    void deleteTicked();
    void linkColumns_data();
    void linkColumns();
    void linkImport_data();
    void linkImport();
    void linkImportTwice();
};

void TestProductList::listing_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("names");

    // Names in Japanese order: kanji by the Japanese character set (鉛, 消, 赤).
    QTest::newRow("all, by name then reading")
        << kByName << "" << "" << ""
        << QStringList{"100%ジュース", "O'Neil ペン", "コピー用紙", "鉛筆", "消しゴム", "赤鉛筆"};
    QTest::newRow("all, by reading (Null first)")
        << kByReading << "" << "" << ""
        << QStringList{"100%ジュース", "赤鉛筆", "鉛筆", "O'Neil ペン", "消しゴム", "コピー用紙"};
    QTest::newRow("an unset order reads by reading")
        << "" << "" << "" << "" << QStringList{"100%ジュース", "赤鉛筆", "鉛筆", "O'Neil ペン", "消しゴム", "コピー用紙"};
    QTest::newRow("part of the name") << kByName << "鉛筆" << "" << "" << QStringList{"鉛筆", "赤鉛筆"};
    QTest::newRow("part of the reading") << kByName << "" << "ー" << "" << QStringList{"O'Neil ペン", "コピー用紙"};
    QTest::newRow("category is exact") << kByName << "" << "" << "文具" << QStringList{"O'Neil ペン", "鉛筆", "赤鉛筆"};
    QTest::newRow("part of a category finds nothing") << kByName << "" << "" << "文" << QStringList{};
    QTest::newRow("filters together") << kByName << "赤" << "えんぴつ" << "文具" << QStringList{"赤鉛筆"};
    QTest::newRow("filters together, none fits") << kByName << "赤" << "えんぴつ" << "紙" << QStringList{};
    QTest::newRow("a quote") << kByName << "'" << "" << "" << QStringList{"O'Neil ペン"};
    QTest::newRow("% is a letter") << kByName << "%" << "" << "" << QStringList{"100%ジュース"};
    QTest::newRow("_ is a letter") << kByName << "_" << "" << "" << QStringList{};
    // * stands for any text and ? for one character, in the name and the reading.
    QTest::newRow("* between two parts") << kByName << "コ*紙" << "" << "" << QStringList{"コピー用紙"};
    QTest::newRow("* for no text") << kByName << "鉛*筆" << "" << "" << QStringList{"鉛筆", "赤鉛筆"};
    QTest::newRow("? for one character") << kByName << "消?ゴ" << "" << "" << QStringList{"消しゴム"};
    QTest::newRow("? never for none") << kByName << "鉛?筆" << "" << "" << QStringList{};
    QTest::newRow("* in the reading") << kByName << "" << "あ*つ" << "" << QStringList{"赤鉛筆"};
    QTest::newRow("? in the reading") << kByName << "" << "え?ぴ" << "" << QStringList{"鉛筆", "赤鉛筆"};
    QTest::newRow("* beside a plain %") << kByName << "0*%" << "" << "" << QStringList{"100%ジュース"};
    QTest::newRow("blanks are not trimmed") << kByName << " ペン" << "" << "" << QStringList{"O'Neil ペン"};
    QTest::newRow("Latin letters in either case") << kByName << "o'NEIL" << "" << "" << QStringList{"O'Neil ペン"};
}

void TestProductList::listing()
{
    QFETCH(QString, order);
    QFETCH(QString, name);
    QFETCH(QString, reading);
    QFETCH(QString, category);
    QFETCH(QStringList, names);
    Files f;
    f.putList({QStringLiteral("1, '前の一覧', NULL, NULL, NULL, NULL, NULL, NULL")});
    Failure error;
    QVERIFY2(FillProductList(f.data, f.work, {name, reading, category}, order, &error), qPrintable(error.logText()));
    QCOMPARE(f.names(), names);
}

void TestProductList::listingInJapaneseOrder_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("names");
    // Kana type and width count last, voicing after the letters, the
    // long-vowel mark as its vowel: かさ, カサ and ｶｻ side by side.
    QTest::newRow("品名順") << kByName << QStringList{"カーテン", "かさ", "カサ", "ｶｻ", "がさ", "ｶｻ立て"};
    QTest::newRow("ふりがな順") << kByReading << QStringList{"かさ", "カサ", "ｶｻ", "がさ", "ｶｻ立て", "カーテン"};
}

void TestProductList::listingInJapaneseOrder()
{
    QFETCH(QString, order);
    QFETCH(QStringList, names);
    Files f;
    QVERIFY(f.data.exec(QStringLiteral("delete from 商品マスタ")));
    QVERIFY(f.data.exec(QStringLiteral(
        "insert into 商品マスタ (品名, ふりがな) values ('ｶｻ立て', 'ｶｻﾀﾃ'), ('がさ', 'がさ'), ('カサ', 'カサ'), "
        "('カーテン', 'まく'), ('ｶｻ', 'ｶｻ'), ('かさ', 'かさ')")));
    QVERIFY(FillProductList(f.data, f.work, {}, order));
    QCOMPARE(f.names(), names);
}

void TestProductList::listingCopiesEveryField()
{
    Files f;
    QVERIFY(FillProductList(f.data, f.work, {QStringLiteral("用紙"), {}, {}}, kByName));
    QVERIFY(FillProductList(f.data, f.work, {QStringLiteral("ジュース"), {}, {}}, kByName));
    // Unticked; Null stays Null, 0 stays 0.
    QCOMPARE(f.list(), QStringList{"w商品マスタ|0|'100%ジュース'|'飲料'|<null>|'本'|0|0|<null>"});
    QVERIFY(FillProductList(f.data, f.work, {QStringLiteral("用紙"), {}, {}}, kByName));
    QCOMPARE(f.list(), QStringList{"w商品マスタ|0|'コピー用紙'|'紙'|'500'|'冊'|12345000|1|'こぴーようし'"});
}

void TestProductList::failedListingKeepsTheList()
{
    Files f;
    QVERIFY(FillProductList(f.data, f.work, {QStringLiteral("鉛筆"), {}, {}}, kByName));
    const QStringList before = f.list();
    QVERIFY(f.data.exec(QStringLiteral("alter table 商品マスタ rename column ふりがな to よみ")));
    Failure error;
    QVERIFY(!FillProductList(f.data, f.work, {}, kByName, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(f.list(), before);
}

void TestProductList::save()
{
    Files f;
    QVERIFY(f.data.exec(QStringLiteral("delete from 商品マスタ where 品名 <> '鉛筆' and 品名 <> '消しゴム'")));
    f.putList({
        // An existing product: every field written, the tax flag too; the tick is not stored.
        QStringLiteral("1, '鉛筆', '筆記具', '6', 'ダース', 9876500, 1, 'えんぴつ'"),
        // A new product; then one listed twice: the later row wins.
        QStringLiteral("0, '定規', NULL, NULL, '本', 0, 0, 'じょうぎ'"),
        QStringLiteral("0, 'のり', '文具', NULL, '本', 1000000, 0, 'のり'"),
        QStringLiteral("0, NULL, '文具', NULL, '個', 100, 0, 'ななし'"),
        QStringLiteral("0, '', '文具', NULL, '個', 100, 0, 'から'"),
        QStringLiteral("0, '　 ', '文具', NULL, '個', 100, 0, 'くうはく'"),
        QStringLiteral("0, 'のり', '事務用品', '2', '個', 1500000, 1, 'のり'"),
        // A long name is kept whole (no quotation-line limit), without blanks at its ends.
        QStringLiteral("0, '　%1 ', NULL, NULL, NULL, 100, 0, 'ながい'").arg(kLongName),
        QStringLiteral("0, ' 消しゴム', '文具用品', NULL, '箱', 600000, 0, 'けしごむ'"),
    });
    Failure error;
    QVERIFY2(SaveProductList(f.data, f.work, &error), qPrintable(error.logText()));
    // 消しゴム is listed under its name with a blank before it: the same product.
    QCOMPARE(f.master(), (QStringList{"商品マスタ|'鉛筆'|'筆記具'|'6'|'ダース'|9876500|1|'えんぴつ'",
                                      "商品マスタ|'消しゴム'|'文具用品'|<null>|'箱'|600000|0|'けしごむ'",
                                      "商品マスタ|'定規'|<null>|<null>|'本'|0|0|'じょうぎ'",
                                      "商品マスタ|'のり'|'事務用品'|'2'|'個'|1500000|1|'のり'",
                                      QStringLiteral("商品マスタ|'%1'|<null>|<null>|<null>|100|0|'ながい'").arg(kLongName)}));
    // An empty list writes nothing.
    QVERIFY(f.work.exec(QStringLiteral("delete from w商品マスタ")));
    const QStringList before = f.master();
    QVERIFY(SaveProductList(f.data, f.work));
    QCOMPARE(f.master(), before);
}

void TestProductList::namesStoredWithBlanksAreEdited()
{
    // Older data may hold names with blanks at their ends; writing the
    // product under its name edits it rather than adding a second one.
    Files f;
    QVERIFY(f.data.exec(QStringLiteral("delete from 商品マスタ")));
    QVERIFY(f.data.exec(QStringLiteral("insert into 商品マスタ (品名, 単価, 非課税) values "
                                       "(' 定規　', 1, 1), ('のり ', 2, 0), ('のり', 3, 0)")));
    f.putList({QStringLiteral("0, '　定規 ', NULL, NULL, '本', 100, 1, 'じょうぎ'"),
               QStringLiteral("0, 'のり', NULL, NULL, NULL, 300, 0, 'のり'")});
    Failure error;
    QVERIFY2(SaveProductList(f.data, f.work, &error), qPrintable(error.logText()));
    // 定規 takes its name; のり has its name already, so 'のり ' is left alone.
    QCOMPARE(f.master(), (QStringList{"商品マスタ|'定規'|<null>|<null>|'本'|100|1|'じょうぎ'",
                                      "商品マスタ|'のり '|<null>|<null>|<null>|2|0|<null>",
                                      "商品マスタ|'のり'|<null>|<null>|<null>|300|0|'のり'"}));

    // The detail panel's store the same way; the product keeps its 非課税.
    QVERIFY(f.data.exec(QStringLiteral("insert into 商品マスタ (品名, 単価, 非課税) values ('　消しゴム', 5, 1)")));
    ProductDetail eraser;
    eraser.品名 = QStringLiteral("消しゴム");
    eraser.単価 = Currency::fromWhole(60);
    QVERIFY2(StoreProductDetail(f.data, SettingsRecord{}, eraser, &error), qPrintable(error.logText()));
    QCOMPARE(f.master().size(), 4);
    QCOMPARE(f.master().last(), QStringLiteral("商品マスタ|'消しゴム'|<null>|<null>|<null>|600000|1|<null>"));
}

void TestProductList::saveRefusedPartWayWritesNothing()
{
    Files f;
    QVERIFY(f.data.exec(QStringLiteral("create trigger refuse before insert on 商品マスタ when new.品名 = '壊れ物' "
                                       "begin select raise(abort, 'refused by the test'); end")));
    const QStringList before = f.master();
    f.putList({QStringLiteral("0, '鉛筆', '文具', '12', '本', 1, 0, 'えんぴつ'"),
               QStringLiteral("0, '新品', NULL, NULL, NULL, NULL, 0, NULL"),
               QStringLiteral("0, '壊れ物', NULL, NULL, NULL, NULL, 0, NULL")});
    Failure error;
    QVERIFY(!SaveProductList(f.data, f.work, &error));
    QVERIFY2(error.logText().contains(QStringLiteral("refused by the test")), qPrintable(error.logText()));
    QCOMPARE(f.master(), before);
}

void TestProductList::deleteTicked()
{
    Files f;
    QVERIFY(FillProductList(f.data, f.work, {}, kByName));
    // Nothing ticked: nothing happens.
    const QStringList master = f.master();
    const QStringList list = f.list();
    QVERIFY(DeleteTickedProducts(f.data, f.work));
    QCOMPARE(f.master(), master);
    QCOMPARE(f.list(), list);

    QVERIFY(f.work.exec(QStringLiteral("update w商品マスタ set チェック = 1 where 品名 in ('鉛筆', 'O''Neil ペン')")));
    // A deletion refused part-way deletes nothing, and the list keeps its ticks.
    QVERIFY(f.data.exec(QStringLiteral("create trigger refuse before delete on 商品マスタ when old.品名 = '鉛筆' "
                                       "begin select raise(abort, 'refused by the test'); end")));
    const QStringList ticked = f.list();
    Failure error;
    QVERIFY(!DeleteTickedProducts(f.data, f.work, &error));
    QVERIFY2(error.logText().contains(QStringLiteral("refused by the test")), qPrintable(error.logText()));
    QCOMPARE(f.master(), master);
    QCOMPARE(f.list(), ticked);

    QVERIFY(f.data.exec(QStringLiteral("drop trigger refuse")));
    QVERIFY2(DeleteTickedProducts(f.data, f.work, &error), qPrintable(error.logText()));
    QCOMPARE(f.names(), (QStringList{"100%ジュース", "コピー用紙", "消しゴム", "赤鉛筆"}));
    QCOMPARE(f.data.scalar(QStringLiteral("select group_concat(品名, ',') from (select 品名 from 商品マスタ order by rowid)")).toString(),
             QStringLiteral("赤鉛筆,コピー用紙,100%ジュース,消しゴム"));
}

void TestProductList::linkColumns_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("columns");
    const QStringList all{"品名", "入数", "単位", "単価", "非課税", "ふりがな"};
    QTest::newRow("Dovan請求書") << "Dovan請求書" << all;
    QTest::newRow("Tesra請求書") << "Tesra請求書" << all;
    QTest::newRow("Tesra納品書, as Tesra請求書") << "Tesra納品書" << all;
    QTest::newRow("Grevo請求書, without 入数") << "Grevo請求書" << QStringList{"品名", "単位", "単価", "非課税", "ふりがな"};
    QTest::newRow("Sulka has none") << "Sulka" << QStringList{};
    QTest::newRow("names are exact") << "dovan請求書" << QStringList{};
}

void TestProductList::linkColumns()
{
    QFETCH(QString, application);
    QFETCH(QStringList, columns);
    QCOMPARE(ProductLinkColumns(application), columns);
}

void TestProductList::linkImport_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("file");  // statements; the first word "text:" writes a text file
    QTest::addColumn<QStringList>("rows");  // the list afterwards; empty: unchanged
    QTest::addColumn<QString>("error");     // part of the message

    const QStringList noPack{"単位", "単価", "非課税"};
    QTest::newRow("Dovan請求書") << "Dovan請求書" << samples::linkProducts() << samples::importedRows(true) << "";
    QTest::newRow("Grevo請求書, a file without 入数")
        << "Grevo請求書" << samples::linkProducts(noPack) << samples::importedRows(false) << "";
    QTest::newRow("Grevo請求書 leaves 入数 unread")
        << "Grevo請求書" << samples::linkProducts() << samples::importedRows(false) << "";
    QTest::newRow("a missing column") << "Tesra納品書" << samples::linkProducts(noPack) << QStringList{}
                                      << "列「入数」がありません";
    QTest::newRow("no product table") << "Dovan請求書" << QStringList{"create table 顧客マスタ (顧客名 TEXT)"}
                                      << QStringList{} << "テーブル「商品マスタ」がありません";
    QTest::newRow("a price that is no amount")
        << "Dovan請求書"
        << QStringList{"create table 商品マスタ (品名, 入数, 単位, 単価, 非課税, ふりがな)",
                       "insert into 商品マスタ values ('ノート', NULL, NULL, 'たかい', 0, 'のーと')"}
        << QStringList{} << "「たかい」";
    QTest::newRow("a yes/no that is none")
        << "Dovan請求書"
        << QStringList{"create table 商品マスタ (品名, 入数, 単位, 単価, 非課税, ふりがな)",
                       "insert into 商品マスタ values ('ノート', NULL, NULL, 1, 'はい', 'のーと')"}
        << QStringList{} << "「はい」";
    QTest::newRow("not a database") << "Dovan請求書" << QStringList{"text:品名,単価"} << QStringList{}
                                    << "データベースファイルではありません";
    // Empty texts are stored as Null, as typed ones are; a yes kept as -1 in
    // a column not declared yes/no is a yes all the same.
    QTest::newRow("empty texts, -1 in a whole-number column")
        << "Dovan請求書"
        << QStringList{"create table 商品マスタ (品名 TEXT, 入数 TEXT, 単位 TEXT, 単価 CURRENCY, 非課税 INTEGER, ふりがな TEXT)",
                       "insert into 商品マスタ values ('ノート', '', '', 100, -1, '')",
                       "insert into 商品マスタ values ('', '10', '冊', NULL, 0, 'の')"}
        << QStringList{"w商品マスタ|0|'ノート'|<null>|<null>|<null>|1000000|1|<null>",
                       "w商品マスタ|0|<null>|<null>|'10'|'冊'|<null>|0|'の'"}
        << "";
    QTest::newRow("a long name kept whole, without blanks at its ends")
        << "Dovan請求書"
        << QStringList{"create table 商品マスタ (品名 TEXT, 入数 TEXT, 単位 TEXT, 単価 CURRENCY, 非課税 INTEGER, ふりがな TEXT)",
                       QStringLiteral("insert into 商品マスタ values ('　%1 ', NULL, NULL, 1, 0, 'ながい')").arg(kLongName)}
        << QStringList{QStringLiteral("w商品マスタ|0|'%1'|<null>|<null>|<null>|10000|0|'ながい'").arg(kLongName)} << "";
    QTest::newRow("-1 in a column without a type")
        << "Dovan請求書"
        << QStringList{"create table 商品マスタ (品名, 入数, 単位, 単価, 非課税, ふりがな)",
                       "insert into 商品マスタ values ('ノート', NULL, NULL, 100, -1, 'のーと')"}
        << QStringList{"w商品マスタ|0|'ノート'|<null>|<null>|<null>|1000000|1|'のーと'"} << "";
}

void TestProductList::linkImport()
{
    QFETCH(QString, application);
    QFETCH(QStringList, file);
    QFETCH(QStringList, rows);
    QFETCH(QString, error);
    Files f;
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    if (file.value(0).startsWith(QStringLiteral("text:"))) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(file[0].mid(5).toUtf8());
    } else {
        samples::writeLinkFile(f.folder, path, file);
    }
    f.putList({QStringLiteral("1, '前の一覧', NULL, NULL, NULL, NULL, NULL, NULL")});
    const QStringList before = f.list();

    const ProductLinkResult result = ImportProductLink(path, ProductLinkColumns(application), f.work);

    QCOMPARE(result.ok, error.isEmpty());
    QVERIFY2(result.error.logText().contains(error), qPrintable(result.error.logText()));
    QCOMPARE(f.list(), rows.isEmpty() ? before : rows);
    QCOMPARE(result.rows, int(rows.size()));
}

void TestProductList::linkImportTwice()
{
    Files f;
    const QString path = f.folder.root() + QStringLiteral("/link.mdb");
    samples::writeLinkFile(f.folder, path, samples::linkProducts());
    const QStringList columns = ProductLinkColumns(QStringLiteral("Tesra請求書"));
    QVERIFY(ImportProductLink(path, columns, f.work).ok);
    QVERIFY(ImportProductLink(path, columns, f.work).ok);
    QCOMPARE(f.list(), samples::importedRows(true));
}

QTEST_MAIN(TestProductList)
#include "tst_product_list.moc"
