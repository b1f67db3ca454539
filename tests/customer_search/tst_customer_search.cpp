// The customer search: kana initials, the free-text and kana searches over
// 顧客マスタ, the list and its limit, picking, closing, and the component's
// FormShow / SetRetVal.

#include "customer_search/ClsPelmar.h"
#include "CustomerSearchSupport.h"
#include "customer_search/FrmPelmar.h"
#include "customer_search/ModPelmar.h"
#include "platform/JapaneseOrder.h"
#include "support/FindControl.h"
#include "support/TestFolder.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>
#include <algorithm>

namespace {

const QString kNull = QStringLiteral("<null>");

QVariant nullable(const QString& s)
{
    return s == kNull ? QVariant() : QVariant(s);
}

// Customers of the free-text searches.
QList<CustomerFixtureRow> textCustomers()
{
    return {
        {u"山田商店"_qs, u"〒530-0001\r\n大阪府大阪市北区梅田1-1\r\nTEL 06-1234-5678"_qs, u"やまだしょうてん"_qs},
        {u"山本書店"_qs, u"〒100-0001\r\n東京都千代田区千代田1-1\r\nTEL 03-1111-2222"_qs, u"やまもとしょてん"_qs},
        {u"山田工業"_qs, u"〒530-0002\r\n大阪府大阪市北区曽根崎2-2"_qs, u"やまだこうぎょう"_qs},
        {u"100%工房"_qs, u"東京都港区"_qs, u"ひゃくぱーせんとこうぼう"_qs},
        {u"A_B商会"_qs, u"東京都台東区"_qs, u"えーびーしょうかい"_qs},
        {u"AxB商会"_qs, u"東京都墨田区"_qs, u"えーえっくすびーしょうかい"_qs},
        {u"O'Brien 商会"_qs, u"神奈川県横浜市"_qs, u"おぶらいえんしょうかい"_qs},
        {u"読みなし商事"_qs, u"千葉県千葉市"_qs, QVariant()},
    };
}

// Customers of the kana-initial searches.
QList<CustomerFixtureRow> kanaCustomers()
{
    return {
        {u"河田商店"_qs, {}, u"かわた"_qs},   {u"カワタ電機"_qs, {}, u"カワタ"_qs}, {u"ｶﾜﾀ工務店"_qs, {}, u"ｶﾜﾀ"_qs},
        {u"学校用品"_qs, {}, u"がっこう"_qs}, {u"赤井商事"_qs, {}, u"あかい"_qs},   {u"加商会"_qs, {}, u"か"_qs},
        {u"井上"_qs, {}, u"いのうえ"_qs},     {u"石井"_qs, {}, u"イシイ"_qs},       {u"江戸屋"_qs, {}, u"えど"_qs},
        {u"榎本"_qs, {}, u"エノモト"_qs},     {u"恵比寿堂"_qs, {}, u"ｴﾋﾞｽ"_qs},     {u"ゑびや"_qs, {}, u"ゑびや"_qs},
        {u"ヱビス酒店"_qs, {}, u"ヱビス"_qs}, {u"小野"_qs, {}, u"をの"_qs},         {u"尾田"_qs, {}, u"ｦﾀﾞ"_qs},
        {u"読みなし"_qs, {}, QVariant()},
    };
}

// The names the grid lists, without its trailing empty row (which must be there).
QStringList listedNames(FrmPelmar& dialog)
{
    QAbstractItemModel* m = control<QTableView>(dialog, "Grid参照")->model();
    QStringList names;
    if (m->rowCount() == 0) return {u"<no rows>"_qs};
    for (int r = 0; r < m->rowCount() - 1; ++r) names << m->index(r, 0).data().toString();
    const int last = m->rowCount() - 1;
    if (!m->index(last, 0).data().toString().isEmpty() || !m->index(last, 1).data().toString().isEmpty())
        names << u"<no empty row>"_qs;
    return names;
}

// A dialog over a fresh data file with the given customers, loaded.
struct SearchFixture {
    TestFolder data;
    FrmPelmar dialog;
    explicit SearchFixture(const QList<CustomerFixtureRow>& customers)
    {
        QString error;
        ok = insertCustomers(data.dataDbPath(), customers, &error);
        if (!ok) qWarning() << error;
        ModPelmar::DataPath = data.dataDbPath();
        ok = ok && dialog.Form_Load();
    }
    // Shows the dialog with an earlier pick in the shared result.
    bool showAfterAnEarlierPick()
    {
        ModPelmar::RetVal = QStringLiteral("前回の結果");
        dialog.show();
        return QTest::qWaitForWindowExposed(&dialog);
    }
    bool ok = false;
};

QPushButton* kanaButton(FrmPelmar& dialog, int index)
{
    return dialog.findChild<QPushButton*>(QStringLiteral("cmd50(%1)").arg(index));
}

}  // namespace

class TestCustomerSearch : public QObject {
    Q_OBJECT
private slots:
    void convertKanaInitial_data();
    void convertKanaInitial();
    void kanaButtons();
    void kanaSearch_data();
    void kanaSearch();
    void kanaSearchShowsNotice();
    void freeTextSearch_data();
    void freeTextSearch();
    void listStopsAt1000();
    void pick_data();
    void pick();
    void closeWithoutPick_data();
    void closeWithoutPick();
    void clearMovesFocusOnly();
    void readsWithoutWriting();
    void formShowHandsBackThePick();
    void secondSearchWhileOneIsOpen();
    void formShowRefusesAFileItCannotRead_data();
    void formShowRefusesAFileItCannotRead();
};

void TestCustomerSearch::convertKanaInitial_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("katakana");
    QTest::addColumn<QString>("halfWidth");
    QTest::newRow("あ") << u"あ"_qs << u"ア"_qs << u"ｱ"_qs;
    QTest::newRow("か") << u"か"_qs << u"カ"_qs << u"ｶ"_qs;
    QTest::newRow("も") << u"も"_qs << u"モ"_qs << u"ﾓ"_qs;
    // Letters repeated in the や and わ rows resolve to the あ row.
    QTest::newRow("い") << u"い"_qs << u"イ"_qs << u"ｲ"_qs;
    QTest::newRow("う") << u"う"_qs << u"ウ"_qs << u"ｳ"_qs;
    QTest::newRow("え") << u"え"_qs << u"エ"_qs << u"ｴ"_qs;
    QTest::newRow("ゑ") << u"ゑ"_qs << u"ヱ"_qs << u"ｴ"_qs;
    QTest::newRow("を") << u"を"_qs << u"ヲ"_qs << u"ｦ"_qs;
    QTest::newRow("ん") << u"ん"_qs << u"ン"_qs << u"ﾝ"_qs;
    QTest::newRow("ゐ") << u"ゐ"_qs << kNull << kNull;
    QTest::newRow("ideographic space") << u"　"_qs << kNull << kNull;
    QTest::newRow("katakana is no initial") << u"カ"_qs << kNull << kNull;
    QTest::newRow("voiced is no initial") << u"が"_qs << kNull << kNull;
    QTest::newRow("empty") << QString() << kNull << kNull;
}

void TestCustomerSearch::convertKanaInitial()
{
    QFETCH(QString, letter);
    QFETCH(QString, katakana);
    QFETCH(QString, halfWidth);
    QVariant k = u"old"_qs, h = u"old"_qs;
    ModPelmar::ConvertKanaInitial(letter, k, h);
    QCOMPARE(k, nullable(katakana));
    QCOMPARE(h, nullable(halfWidth));
}

void TestCustomerSearch::kanaButtons()
{
    FrmPelmar dialog;
    // The kana buttons in the order the dialog made them: button i is named cmd50(i).
    const QList<QPushButton*> made =
        dialog.findChildren<QPushButton*>(QRegularExpression(QStringLiteral("^cmd50\\(")), Qt::FindDirectChildrenOnly);
    QCOMPARE(made.size(), 50);
    QString captions;
    for (int i = 0; i < 50; ++i) {
        QPushButton* b = kanaButton(dialog, i);
        QVERIFY2(b, qPrintable(QString::number(i)));
        QCOMPARE(b, made[i]);
        captions += b->text();
    }
    QCOMPARE(captions, u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやいゆえよらりるれろわゐゑを　"_qs);
    QVERIFY(!kanaButton(dialog, 50));
}

void TestCustomerSearch::kanaSearch_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("names");  // empty: every customer with a reading
    const QStringList か{u"加商会"_qs, u"河田商店"_qs, u"カワタ電機"_qs, u"ｶﾜﾀ工務店"_qs};
    // Readings in Japanese order: イシイ before いのうえ, whatever the kana type.
    const QStringList い{u"石井"_qs, u"井上"_qs};
    const QStringList え{u"江戸屋"_qs, u"榎本"_qs, u"恵比寿堂"_qs};
    QTest::newRow("か: hiragana, katakana, half-width; not が or a later か") << 5 << か;
    QTest::newRow("い of the あ row") << 1 << い;
    QTest::newRow("い of the や row") << 36 << い;
    QTest::newRow("え of the あ row") << 3 << え;
    QTest::newRow("え of the や row") << 38 << え;
    QTest::newRow("ゑ") << 47 << QStringList{u"恵比寿堂"_qs, u"ヱビス酒店"_qs, u"ゑびや"_qs};
    QTest::newRow("を") << 48 << QStringList{u"尾田"_qs, u"小野"_qs};
    QTest::newRow("ゐ lists every reading") << 46 << QStringList();
    QTest::newRow("blank lists every reading") << 49 << QStringList();
    QTest::newRow("nobody") << 0 << QStringList{u"赤井商事"_qs};
}

void TestCustomerSearch::kanaSearch()
{
    QFETCH(int, button);
    QFETCH(QStringList, names);
    const QList<CustomerFixtureRow> customers = kanaCustomers();
    SearchFixture f(customers);
    QVERIFY(f.ok);
    if (names.isEmpty()) {
        QList<CustomerFixtureRow> withReading;
        std::copy_if(customers.begin(), customers.end(), std::back_inserter(withReading),
                     [](const CustomerFixtureRow& r) { return !r.ふりがな.isNull(); });
        std::sort(withReading.begin(), withReading.end(),
                  [](const auto& a, const auto& b) { return JapaneseLess{}(a.ふりがな.toString(), b.ふりがな.toString()); });
        for (const auto& r : withReading) names << r.顧客名;
        QCOMPARE(names.size(), customers.size() - 1);
    }
    control<QLineEdit>(f.dialog, "txt顧客名")->setText(u"残る"_qs);
    kanaButton(f.dialog, button)->click();
    QCOMPARE(listedNames(f.dialog), names);
    QCOMPARE(control<QLineEdit>(f.dialog, "txt顧客名")->text(), u"残る"_qs);  // the boxes are not touched
}

void TestCustomerSearch::kanaSearchShowsNotice()
{
    SearchFixture f(kanaCustomers());
    QVERIFY(f.ok);
    auto* Msg検索中 = control<QFrame>(f.dialog, "Msg検索中");
    // The notice is visible while the search reads, and only for a kana search.
    struct Watch : QObject {
        QList<QEvent::Type> seen;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Show || e->type() == QEvent::Hide) seen << e->type();
            return false;
        }
    } watch;
    f.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
    QCOMPARE(Msg検索中->findChild<QLabel*>()->text(), u"検索中です･･･"_qs);
    Msg検索中->installEventFilter(&watch);
    control<QPushButton>(f.dialog, "cmd検索")->click();
    QVERIFY(watch.seen.isEmpty());
    kanaButton(f.dialog, 5)->click();
    QCOMPARE(watch.seen, (QList<QEvent::Type>{QEvent::Show, QEvent::Hide}));
    QVERIFY(Msg検索中->isHidden());
}

void TestCustomerSearch::freeTextSearch_data()
{
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("all boxes empty: everybody by reading")
        << "" << "" << "" << ""
        << QStringList{u"読みなし商事"_qs, u"AxB商会"_qs, u"A_B商会"_qs, u"O'Brien 商会"_qs,
                       u"100%工房"_qs, u"山田工業"_qs, u"山田商店"_qs, u"山本書店"_qs};
    QTest::newRow("reading") << u"やまだ"_qs << "" << "" << "" << QStringList{u"山田工業"_qs, u"山田商店"_qs};
    QTest::newRow("phone inside the block") << "" << u"06-1234"_qs << "" << "" << QStringList{u"山田商店"_qs};
    QTest::newRow("address inside the block") << "" << "" << "" << u"大阪市北区"_qs
                                                << QStringList{u"山田工業"_qs, u"山田商店"_qs};
    QTest::newRow("two boxes: both must hold") << "" << "" << u"山"_qs << u"大阪"_qs
                                                << QStringList{u"山田工業"_qs, u"山田商店"_qs};
    QTest::newRow("three boxes") << u"しょう"_qs << "" << u"山"_qs << u"大阪"_qs << QStringList{u"山田商店"_qs};
    QTest::newRow("four boxes") << u"やま"_qs << u"TEL"_qs << u"店"_qs << u"東京"_qs << QStringList{u"山本書店"_qs};
    QTest::newRow("* stands for any text") << "" << "" << u"山*店"_qs << "" << QStringList{u"山田商店"_qs, u"山本書店"_qs};
    QTest::newRow("? stands for one letter") << "" << "" << u"山?商"_qs << "" << QStringList{u"山田商店"_qs};
    QTest::newRow("% is a plain letter") << "" << "" << u"%"_qs << "" << QStringList{u"100%工房"_qs};
    QTest::newRow("_ is a plain letter") << "" << "" << u"A_B"_qs << "" << QStringList{u"A_B商会"_qs};
    QTest::newRow("an apostrophe is found") << "" << "" << u"O'Brien"_qs << "" << QStringList{u"O'Brien 商会"_qs};
    QTest::newRow("latin letters in either case") << "" << u"tel 06"_qs << u"商"_qs << "" << QStringList{u"山田商店"_qs};
    QTest::newRow("a backslash is a plain letter") << "" << "" << u"\\"_qs << "" << QStringList();
    QTest::newRow("nothing found") << "" << "" << u"存在しない"_qs << "" << QStringList();
}

void TestCustomerSearch::freeTextSearch()
{
    QFETCH(QString, kana);
    QFETCH(QString, phone);
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QStringList, names);
    const auto customers = textCustomers();
    SearchFixture f(customers);
    QVERIFY(f.ok);
    auto* Grid参照 = control<QTableView>(f.dialog, "Grid参照");
    control<QLineEdit>(f.dialog, "txtかな")->setText(kana);
    control<QLineEdit>(f.dialog, "txt電話番号")->setText(phone);
    control<QLineEdit>(f.dialog, "txt顧客名")->setText(name);
    control<QLineEdit>(f.dialog, "txt住所1")->setText(address);
    control<QPushButton>(f.dialog, "cmd検索")->click();
    QCOMPARE(listedNames(f.dialog), names);
    // The address column shows the customer block; the first row is current.
    if (!names.isEmpty()) {
        const auto it = std::find_if(customers.begin(), customers.end(), [&](auto& c) { return c.顧客名 == names.first(); });
        QCOMPARE(Grid参照->model()->index(0, 1).data().toString(), it->顧客情報.toString().replace(u"\r\n"_qs, u" "_qs));
        QCOMPARE(Grid参照->currentIndex().row(), 0);
    }
    QCOMPARE(Grid参照->model()->headerData(0, Qt::Horizontal).toString(), u"名称"_qs);
    QCOMPARE(Grid参照->model()->headerData(1, Qt::Horizontal).toString(), u"住所1"_qs);
}

void TestCustomerSearch::listStopsAt1000()
{
    // 1001 customers whose readings all begin with か, written in a shuffled
    // order: 1000 in hiragana and one in half-width katakana, which comes
    // first in Japanese order (and would be left out in code-point order).
    QList<CustomerFixtureRow> customers;
    for (int i = 0; i < 1000; ++i)
        customers.append({QStringLiteral("顧客%1").arg(i, 4, 10, QChar(u'0')), QStringLiteral("住所%1").arg(i),
                          QStringLiteral("か%1").arg(i, 4, 10, QChar(u'0'))});
    customers.append({u"ｶ商店"_qs, u"住所"_qs, u"ｶ"_qs});
    std::shuffle(customers.begin(), customers.end(), *QRandomGenerator::global());
    SearchFixture f(customers);
    QVERIFY(f.ok);
    for (QPushButton* search : {control<QPushButton>(f.dialog, "cmd検索"), kanaButton(f.dialog, 5)}) {
        search->click();
        const QStringList names = listedNames(f.dialog);
        QCOMPARE(names.size(), 1000);
        QCOMPARE(names.first(), u"ｶ商店"_qs);
        QCOMPARE(names[1], u"顧客0000"_qs);
        QCOMPARE(names.last(), u"顧客0998"_qs);
    }
}

void TestCustomerSearch::pick_data()
{
    QTest::addColumn<int>("row");  // -1: no search, no row
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("result");
    QTest::newRow("first row with 選択") << 0 << false << u"山田工業"_qs;
    QTest::newRow("second row with a double click") << 1 << true << u"山田商店"_qs;
    QTest::newRow("trailing empty row") << 2 << false << QString();
    QTest::newRow("before any search") << -1 << false << QString();
}

void TestCustomerSearch::pick()
{
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    QFETCH(QString, result);
    SearchFixture f(textCustomers());
    QVERIFY(f.ok);
    auto* Grid参照 = control<QTableView>(f.dialog, "Grid参照");
    QVERIFY(f.showAfterAnEarlierPick());
    if (row >= 0) {
        control<QLineEdit>(f.dialog, "txt住所1")->setText(u"大阪"_qs);
        control<QPushButton>(f.dialog, "cmd検索")->click();
        QCOMPARE(Grid参照->model()->rowCount(), 3);
        if (!doubleClick) Grid参照->setCurrentIndex(Grid参照->model()->index(row, 1));
    }
    if (doubleClick) {
        const QPoint at = Grid参照->visualRect(Grid参照->model()->index(row, 1)).center();
        QTest::mouseClick(Grid参照->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(Grid参照->viewport(), Qt::LeftButton, {}, at);
    } else {
        control<QPushButton>(f.dialog, "cmd選択")->click();
    }
    QVERIFY(f.dialog.picked());
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(ModPelmar::RetVal.toString(), result);
    QVERIFY(!ModPelmar::RetVal.isNull());
    QVERIFY(!ModPelmar::IsDatabaseOpen());
}

void TestCustomerSearch::closeWithoutPick_data()
{
    QTest::addColumn<QString>("target");  // Esc pressed here; "cmd閉じる" is clicked
    for (const char* c : {"txtかな", "txt電話番号", "txt顧客名", "txt住所1", "Grid参照", "cmd検索", "cmd50(5)"})
        QTest::newRow((QByteArray("Esc in ") + c).constData()) << QString::fromUtf8(c);
    QTest::newRow("閉じる") << u"cmd閉じる"_qs;
}

void TestCustomerSearch::closeWithoutPick()
{
    QFETCH(QString, target);
    SearchFixture f(textCustomers());
    QVERIFY(f.ok);
    QVERIFY(f.showAfterAnEarlierPick());
    control<QPushButton>(f.dialog, "cmd検索")->click();
    auto* w = f.dialog.findChild<QWidget*>(target);
    QVERIFY(w);
    if (target == u"cmd閉じる"_qs) {
        static_cast<QPushButton*>(w)->click();
    } else {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    }
    QVERIFY(!f.dialog.isVisible());
    QVERIFY(!f.dialog.picked());
    QCOMPARE(ModPelmar::RetVal.toString(), u"前回の結果"_qs);
    QVERIFY(!ModPelmar::IsDatabaseOpen());
}

void TestCustomerSearch::clearMovesFocusOnly()
{
    SearchFixture f(textCustomers());
    QVERIFY(f.ok);
    f.dialog.show();
    QApplication::setActiveWindow(&f.dialog);
    QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
    control<QLineEdit>(f.dialog, "txtかな")->setText(u"やま"_qs);
    control<QLineEdit>(f.dialog, "txt顧客名")->setText(u"山"_qs);
    control<QPushButton>(f.dialog, "cmd検索")->click();
    const QStringList before = listedNames(f.dialog);
    QCOMPARE(before.size(), 3);
    control<QPushButton>(f.dialog, "cmdクリア")->click();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(control<QLineEdit>(f.dialog, "txt電話番号")));
    QCOMPARE(control<QLineEdit>(f.dialog, "txtかな")->text(), u"やま"_qs);
    QCOMPARE(control<QLineEdit>(f.dialog, "txt顧客名")->text(), u"山"_qs);
    QCOMPARE(listedNames(f.dialog), before);
    QVERIFY(f.dialog.isVisible());
}

void TestCustomerSearch::readsWithoutWriting()
{
    SearchFixture f(textCustomers());
    QVERIFY(f.ok);
    const QByteArray before = FileHash(f.data.dataDbPath());
    QVERIFY(!before.isEmpty());
    control<QLineEdit>(f.dialog, "txt顧客名")->setText(u"O'Brien"_qs);
    control<QPushButton>(f.dialog, "cmd検索")->click();
    kanaButton(f.dialog, 49)->click();
    // The dialog's connection refuses writes.
    {
        QSqlQuery write(QSqlDatabase::database(QStringLiteral("PrjPelmar"), false));
        QVERIFY(!write.exec(QStringLiteral("delete from 顧客マスタ")));
    }
    control<QPushButton>(f.dialog, "cmd閉じる")->click();
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("PrjPelmar")));
    QCOMPARE(FileHash(f.data.dataDbPath()), before);
}

void TestCustomerSearch::formShowHandsBackThePick()
{
    TestFolder data;
    QVERIFY(insertCustomers(data.dataDbPath(), textCustomers()));
    // Two searches in a row, each with its own object: the second pick is what
    // the caller reads. pcDataMode and pcColorSet make no difference.
    const QList<std::pair<QString, QVariant>> picks{{u"山本書店"_qs, QVariant()}, {u"100%工房"_qs, QVariant(u"何でも"_qs)}};
    for (const auto& [name, anything] : picks) {
        ClsPelmar search;
        search.setPcDataFile(data.dataDbPath());
        search.setPcColorSet(anything);
        search.setPcDataMode(anything);
        SearchDriver driver([name = name](QWidget* w) {
            auto* d = qobject_cast<FrmPelmar*>(w);
            control<QLineEdit>(*d, "txt顧客名")->setText(name);
            control<QPushButton>(*d, "cmd検索")->click();
            control<QPushButton>(*d, "cmd選択")->click();
        });
        QVERIFY(search.FormShow());
        QVERIFY(driver.ran());
        QVERIFY(search.SetRetVal().isNull());
        QCOMPARE(search.pc顧客名().toString(), name);
        QCOMPARE(ModPelmar::DataPath.toString(), data.dataDbPath());
    }
    // A search closed without a pick hands back nothing, not the earlier pick.
    ClsPelmar search;
    search.setPcDataFile(data.dataDbPath());
    SearchDriver driver([](QWidget* d) { QTest::keyClick(control<QLineEdit>(*d, "txtかな"), Qt::Key_Escape); });
    QVERIFY(!search.FormShow());
    QVERIFY(driver.ran());
    search.SetRetVal();
    QVERIFY(!search.pc顧客名().isValid());
    QVERIFY(!ModPelmar::IsDatabaseOpen());
}

void TestCustomerSearch::secondSearchWhileOneIsOpen()
{
    TestFolder data;
    QVERIFY(insertCustomers(data.dataDbPath(), textCustomers()));
    ClsPelmar first;
    first.setPcDataFile(data.dataDbPath());
    SearchDriver driver([&data](QWidget* w) {
        // A second search started meanwhile is refused and leaves the open one working.
        ClsPelmar second;
        second.setPcDataFile(data.dataDbPath());
        QVERIFY(!second.FormShow());
        auto* d = qobject_cast<FrmPelmar*>(w);
        control<QLineEdit>(*d, "txt顧客名")->setText(u"山本"_qs);
        control<QPushButton>(*d, "cmd検索")->click();
        control<QPushButton>(*d, "cmd選択")->click();
    });
    QVERIFY(first.FormShow());
    QVERIFY(driver.ran());
    first.SetRetVal();
    QCOMPARE(first.pc顧客名().toString(), u"山本書店"_qs);
}

void TestCustomerSearch::formShowRefusesAFileItCannotRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");  // "%1" stands for the file's path
    const QString cannotOpen = u"顧客データのファイルを開けません。\n%1\n"_qs;
    QTest::newRow("missing") << u"missing.mdb"_qs << cannotOpen + u"ファイルが見つかりません。"_qs;
    QTest::newRow("no database") << u"text.mdb"_qs << cannotOpen + u"顧客マスタを読み込めません。"_qs;
    QTest::newRow("no customer table") << u"VeltWork2K.mdb"_qs << cannotOpen + u"顧客マスタを読み込めません。"_qs;
    QTest::newRow("a folder") << u"."_qs << cannotOpen + u"ファイルが見つかりません。"_qs;
    QTest::newRow("no path") << QString() << u"顧客データのファイルが指定されていません。"_qs;
}

void TestCustomerSearch::formShowRefusesAFileItCannotRead()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    TestFolder data;
    QFile text(data.dataFolder() + u"text.mdb"_qs);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a database\n");
    text.close();
    // The component's own box, recorded instead of shown.
    QList<std::pair<QString, QString>> shown;
    ModPelmar::SetMessageSink([&shown](const QString& title, const QString& t) { shown.append({title, t}); });
    const auto restore = qScopeGuard([] { ModPelmar::SetMessageSink({}); });

    SearchDriver driver([](QWidget* d) { d->close(); });
    ClsPelmar search;
    const QString path = file.isEmpty() ? QString() : data.dataFolder() + file;
    search.setPcDataFile(file.isEmpty() ? QVariant() : QVariant(path));
    QVERIFY(!search.FormShow());
    QTest::qWait(50);
    QVERIFY(!driver.ran());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first, u"顧客参照"_qs);
    QCOMPARE(shown.first().second, message.contains(u"%1"_qs) ? message.arg(path) : message);
    search.SetRetVal();
    QVERIFY(!search.pc顧客名().isValid());
    QVERIFY(!ModPelmar::IsDatabaseOpen());
    QVERIFY(!QFile::exists(data.dataFolder() + u"missing.mdb"_qs));
}

QTEST_MAIN(TestCustomerSearch)
#include "tst_customer_search.moc"
