#include "app/MessageCatalog.h"
#include "app/Dialogs.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/WidgetText.h"
#include "workspace/HistoryTab.h"
#include "workspace/settings_tab/SettingsTab.h"
#include "frame/Velt.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QSignalSpy>
#include <QtTest>

namespace {

QList<QSqlRecord> settingsRows(SessionFixture& f) { return f.data().rows(QStringLiteral("SELECT * FROM 自社情報")); }

// The settings tab on a session over a fresh data folder, loaded as the main
// window's load loads it: cleared, then the stored row read.
struct SettingsFixture : SessionFixture {
    bool open()
    {
        if (!SessionFixture::open()) return false;
        tab.Clear設定();
        tab.Read設定();
        return true;
    }
    SettingsTab& settings() { return tab; }
    SettingsTab tab{session};
};

void pick(PickOnlyComboBox* box, const QString& text)
{
    const int i = box->findText(text, Qt::MatchExactly);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

class FakeDialogs : public DialogProvider {
public:
    QString answer;
    int calls = 0;
    QStringList filters;
    QString folder;
    QString title;
    QString openFile(QWidget*, const QString& t, const QString& f, const QStringList& nf, int) override
    {
        ++calls;
        title = t;
        folder = f;
        filters = nf;
        return answer;
    }
    std::optional<int> chooseColor(QWidget*, int) override { return std::nullopt; }
};

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

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void emptyTableShowsFactoryValuesAndSaveAddsOneRow();
    void storedRowReadBackIntoTabAndRecord();
    void saveAfterYesOnlyAndReloads_data();
    void saveAfterYesOnlyAndReloads();
    void failedSaveShowsFailureAndKeepsRow_data();
    void failedSaveShowsFailureAndKeepsRow();
    void clearResetsTabAndSixMembersOnly();
    void pickProposesDefaultFolder_data();
    void pickProposesDefaultFolder();
    void pathButton_data();
    void pathButton();
    void wipeAfterConfirmation_data();
    void wipeAfterConfirmation();
};

void TestSettings::emptyTableShowsFactoryValuesAndSaveAddsOneRow()
{
    SettingsFixture f;
    f.folder.prepare({QStringLiteral("DELETE FROM 自社情報")});
    QVERIFY(f.open());

    // The tab shows the factory values ...
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb年号")), (QStringList{"和暦", "西暦"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb税端数")), (QStringList{"四捨五入", "切り捨て", "切り上げ"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb行端数")), (QStringList{"四捨五入", "切り捨て", "切り上げ"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb税区分")), (QStringList{"外税", "内税", "非課税"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb印刷用紙")), (QStringList{"A4白紙", "B5白紙"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb小数")), (QStringList{"しない", "数量+単価", "数量", "単価"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb商品表示順")), (QStringList{"品名順", "ふりがな順"}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb顧客リンクアプリ")),
             (QStringList{"Dovan請求書", "Tesra納品書", "Moxel顧客管理", "MoxelⅡ顧客管理", "Sulka", ""}));
    QCOMPARE(items(control<PickOnlyComboBox>(f.settings(), "cmb商品リンクアプリ")),
             (QStringList{"Dovan請求書", "Tesra納品書", "Sulka"}));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb年号")->text(), QStringLiteral("和暦"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb税区分")->text(), QStringLiteral("外税"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb小数")->text(), QStringLiteral("しない"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb印刷用紙")->text(), QStringLiteral("A4白紙"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb顧客リンクアプリ")->text(), QString());
    for (const char* name : {"chk税計算", "Chk商品自動登録", "Chk納期自動登録"})
        QVERIFY(control<QCheckBox>(f.settings(), name)->isChecked());

    // ... while the record holds the no-row defaults; links, flags and seals stay unset.
    const SettingsRecord& r = f.session.設定情報;
    QCOMPARE(r.税区分, QStringLiteral("内税"));
    QCOMPARE(r.年号, QStringLiteral("和暦"));
    QCOMPARE(r.税端数, QStringLiteral("四捨五入"));
    QCOMPARE(r.行端数, QStringLiteral("四捨五入"));
    QCOMPARE(r.小数, QStringLiteral("しない"));
    QCOMPARE(r.印刷用紙, QStringLiteral("A4白紙"));
    QCOMPARE(r.入数列タイトル, QStringLiteral("入数"));
    QCOMPARE(r.商品表示順, QStringLiteral("品名順"));
    QVERIFY(r.税計算);
    QVERIFY(r.顧客リンクアプリ.isEmpty() && r.商品リンクパス.isEmpty() && r.印鑑タイトル1.isEmpty());
    QVERIFY(!r.商品登録 && !r.納期登録);

    // 登録 adds exactly one row with what the tab shows; a second one edits it.
    control<QPushButton>(f.settings(), "cmd設定登録")->click();
    QCOMPARE(settingsRows(f).size(), 1);
    QCOMPARE(settingsRows(f)[0].value(u"税区分"_qs).toString(), QStringLiteral("外税"));
    QVERIFY(settingsRows(f)[0].value(u"顧客リンクアプリ"_qs).isNull());
    QCOMPARE(settingsRows(f)[0].value(u"入数列タイトル"_qs).toString(), QStringLiteral("入数"));  // empty box
    QCOMPARE(settingsRows(f)[0].value(u"自社名"_qs).toString(), QString());
    QVERIFY(!settingsRows(f)[0].value(u"自社名"_qs).isNull());
    QCOMPARE(f.session.設定情報.税区分, QStringLiteral("外税"));
    control<QLineEdit>(f.settings(), "txt自社名")->setText(QStringLiteral("二回目"));
    control<QPushButton>(f.settings(), "cmd設定登録")->click();
    QCOMPARE(settingsRows(f).size(), 1);
    QCOMPARE(settingsRows(f)[0].value(u"自社名"_qs).toString(), QStringLiteral("二回目"));
    QCOMPARE(f.messages.texts().count(QStringLiteral("設定 を登録しました。")), 2);
}

void TestSettings::storedRowReadBackIntoTabAndRecord()
{
    MainWindowFixture f;
    f.folder.prepare({QStringLiteral(
        "UPDATE 自社情報 SET 自社名 = 'O''Hara 商会', 自社情報 = '〒100-0001' || char(13, 10) || '東京都千代田区', "
        "年号 = '西暦', 税端数 = '切り上げ', 税区分 = '非課税', 印刷用紙 = 'B5白紙', 小数 = '数量', 行端数 = NULL, "
        "税計算 = 0, 商品登録 = NULL, 商品区分登録 = 0, 納期登録 = 1, "
        "顧客リンクアプリ = 'Moxel顧客管理', 顧客リンクパス = '/srv/moxeldata.mdb', "
        "商品リンクアプリ = 'Zentra販売・仕入・在庫管理', 商品リンクパス = NULL, 商品表示順 = 'ふりがな順', "
        "入数列タイトル = '規格', 印鑑タイトル1 = '社長', 印鑑タイトル2 = NULL, 印鑑タイトル3 = '', 印鑑タイトル4 = '担当'")});
    f.window.show();
    QVERIFY(f.open());

    const SettingsRecord& r = f.session.設定情報;
    QCOMPARE(control<QLineEdit>(f.settings(), "txt自社名")->text(), QStringLiteral("O'Hara 商会"));
    QCOMPARE(control<MultiLineEdit>(f.settings(), "txt自社情報")->text(), QStringLiteral("〒100-0001\r\n東京都千代田区"));
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社名")->text(), QStringLiteral("O'Hara 商会"));
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社情報")->text(), QStringLiteral("〒100-0001\n東京都千代田区"));
    QCOMPARE(r.自社情報, QStringLiteral("〒100-0001\r\n東京都千代田区"));
    const QList<std::pair<const char*, QString>> boxes{
        {"cmb年号", "西暦"}, {"cmb税端数", "切り上げ"}, {"cmb税区分", "非課税"}, {"cmb印刷用紙", "B5白紙"},
        {"cmb小数", "数量"}, {"cmb商品表示順", "ふりがな順"}, {"cmb顧客リンクアプリ", "Moxel顧客管理"},
        // a stored text outside the list is shown as it is
        {"cmb商品リンクアプリ", "Zentra販売・仕入・在庫管理"}};
    for (const auto& [box, text] : boxes) QCOMPARE(control<PickOnlyComboBox>(f.settings(), box)->text(), text);
    QCOMPARE(r.年号, QStringLiteral("西暦"));
    QCOMPARE(r.税端数, QStringLiteral("切り上げ"));
    QCOMPARE(r.税区分, QStringLiteral("非課税"));
    QCOMPARE(r.印刷用紙, QStringLiteral("B5白紙"));
    QCOMPARE(r.小数, QStringLiteral("数量"));
    QCOMPARE(r.商品リンクアプリ, QStringLiteral("Zentra販売・仕入・在庫管理"));
    // The stored path was written after its application.
    QCOMPARE(control<QLineEdit>(f.settings(), "txt顧客リンクパス")->text(), QStringLiteral("/srv/moxeldata.mdb"));
    QCOMPARE(r.顧客リンクパス, QStringLiteral("/srv/moxeldata.mdb"));
    QCOMPARE(control<QLineEdit>(f.settings(), "txt商品リンクパス")->text(), QString());
    QCOMPARE(r.入数列タイトル, QStringLiteral("規格"));
    QCOMPARE(control<TextComboBox>(f.settings(), "cmb入数列タイトル")->text(), QStringLiteral("規格"));
    QCOMPARE(control<QLineEdit>(f.settings(), "txt印鑑タイトル1")->text(), QStringLiteral("社長"));
    QCOMPARE(control<QLineEdit>(f.settings(), "txt印鑑タイトル2")->text(), QString());
    QCOMPARE(r.印鑑タイトル4, QStringLiteral("担当"));
    // Yes/no: 0 clears, Null ticks, 1 ticks.
    QVERIFY(!control<QCheckBox>(f.settings(), "chk税計算")->isChecked() && !r.税計算);
    QVERIFY(control<QCheckBox>(f.settings(), "Chk商品自動登録")->isChecked() && r.商品登録);
    QVERIFY(!control<QCheckBox>(f.settings(), "Chk商品区分自動登録")->isChecked() && !r.商品区分登録);
    QVERIFY(control<QCheckBox>(f.settings(), "Chk納期自動登録")->isChecked() && r.納期登録);

    // A Null line rounding sets the record and leaves the box as it shows.
    QCOMPARE(r.行端数, QStringLiteral("四捨五入"));
    control<PickOnlyComboBox>(f.settings(), "cmb行端数")->setText(QStringLiteral("切り捨て"));
    f.settings().Read設定();
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb行端数")->text(), QStringLiteral("切り捨て"));
    QCOMPARE(f.session.設定情報.行端数, QStringLiteral("四捨五入"));
}

void TestSettings::saveAfterYesOnlyAndReloads_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes stores") << true;
    QTest::newRow("no stores nothing") << false;
}

void TestSettings::saveAfterYesOnlyAndReloads()
{
    QFETCH(bool, yes);
    SettingsFixture f;
    QVERIFY(f.open());
    const QSqlRecord before = settingsRows(f).value(0);

    control<QLineEdit>(f.settings(), "txt自社名")->setText(QStringLiteral("株式会社 O'Neil"));
    control<MultiLineEdit>(f.settings(), "txt自社情報")->setText(QStringLiteral("一行目\r\n二行目"));
    control<PickOnlyComboBox>(f.settings(), "cmb税区分")->setText(QString());  // an empty choice stores its default
    control<PickOnlyComboBox>(f.settings(), "cmb小数")->setText(QStringLiteral("数量+単価"));
    control<TextComboBox>(f.settings(), "cmb入数列タイトル")->setText(QStringLiteral("ケース"));
    control<PickOnlyComboBox>(f.settings(), "cmb顧客リンクアプリ")->setText(QStringLiteral("Dovan請求書"));
    control<QLineEdit>(f.settings(), "txt顧客リンクパス")->setText(QStringLiteral("/srv/dovan.mdb"));
    control<QCheckBox>(f.settings(), "Chk単位自動登録")->setChecked(false);
    control<QLineEdit>(f.settings(), "txt印鑑タイトル3")->setText(QStringLiteral("検印"));

    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    QSignalSpy read(&f.settings(), &SettingsTab::settingsRead);
    control<QPushButton>(f.settings(), "cmd設定登録")->click();

    QCOMPARE(f.messages.shown().first().title, QStringLiteral("登録の確認"));
    QCOMPARE(f.messages.shown().first().text, QStringLiteral("設定 を登録します。よろしいですか"));
    const QList<QSqlRecord> rows = settingsRows(f);
    QCOMPARE(rows.size(), 1);
    if (!yes) {
        QCOMPARE(f.messages.shown().size(), 1);
        for (int i = 0; i < before.count(); ++i) QCOMPARE(rows[0].value(i), before.value(i));
        // The reload brings the tab back to the stored row.
        QCOMPARE(control<QLineEdit>(f.settings(), "txt自社名")->text(), before.value(u"自社名"_qs).toString());
        QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb小数")->text(), before.value(u"小数"_qs).toString());
        QCOMPARE(f.session.設定情報.小数, before.value(u"小数"_qs).toString());
        return;
    }
    QCOMPARE(f.messages.texts().last(), QStringLiteral("設定 を登録しました。"));
    const QSqlRecord& row = rows[0];
    QCOMPARE(row.value(u"自社名"_qs).toString(), QStringLiteral("株式会社 O'Neil"));
    QCOMPARE(row.value(u"自社情報"_qs).toString(), QStringLiteral("一行目\r\n二行目"));
    QCOMPARE(row.value(u"税区分"_qs).toString(), QStringLiteral("内税"));
    QCOMPARE(row.value(u"小数"_qs).toString(), QStringLiteral("数量+単価"));
    QCOMPARE(row.value(u"入数列タイトル"_qs).toString(), QStringLiteral("ケース"));
    QCOMPARE(row.value(u"顧客リンクアプリ"_qs).toString(), QStringLiteral("Dovan請求書"));
    QCOMPARE(row.value(u"顧客リンクパス"_qs).toString(), QStringLiteral("/srv/dovan.mdb"));
    QVERIFY(row.value(u"商品リンクアプリ"_qs).isNull());
    QCOMPARE(row.value(u"単位登録"_qs).toInt(), 0);
    QCOMPARE(row.value(u"税計算"_qs).toInt(), 1);
    QCOMPARE(row.value(u"印鑑タイトル3"_qs).toString(), QStringLiteral("検印"));
    // Columns owned elsewhere are untouched.
    QCOMPARE(row.value(u"最大見積書番号"_qs), before.value(u"最大見積書番号"_qs));
    QCOMPARE(row.value(u"Version"_qs), before.value(u"Version"_qs));
    // The reload brings the stored values into the record, and tells the
    // quotation tab's captions (the main window connects them).
    QCOMPARE(f.session.設定情報.税区分, QStringLiteral("内税"));
    QCOMPARE(f.session.設定情報.入数列タイトル, QStringLiteral("ケース"));
    QCOMPARE(f.session.設定情報.自社名, QStringLiteral("株式会社 O'Neil"));
    QCOMPARE(read.count(), 1);
}

void TestSettings::failedSaveShowsFailureAndKeepsRow_data()
{
    QTest::addColumn<bool>("rowExists");
    QTest::newRow("editing the row") << true;
    QTest::newRow("adding the row") << false;
}

void TestSettings::failedSaveShowsFailureAndKeepsRow()
{
    QFETCH(bool, rowExists);
    SettingsFixture f;
    QStringList setup{
        QStringLiteral("CREATE TRIGGER refuse_update BEFORE UPDATE ON 自社情報 BEGIN SELECT RAISE(ABORT, 'locked'); END"),
        QStringLiteral("CREATE TRIGGER refuse_insert BEFORE INSERT ON 自社情報 BEGIN SELECT RAISE(ABORT, 'locked'); END")};
    if (!rowExists) setup.prepend(QStringLiteral("DELETE FROM 自社情報"));
    f.folder.prepare(setup);
    QVERIFY(f.open());
    const QList<QSqlRecord> before = settingsRows(f);

    control<QLineEdit>(f.settings(), "txt自社名")->setText(QStringLiteral("変更後"));
    control<QPushButton>(f.settings(), "cmd設定登録")->click();

    const QStringList texts = f.messages.texts();
    QVERIFY(!texts.contains(QStringLiteral("設定 を登録しました。")));
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    QVERIFY2(f.messages.shown().last().detail.contains(QStringLiteral("locked")), qPrintable(f.messages.shown().last().detail));
    const QList<QSqlRecord> after = settingsRows(f);
    QCOMPARE(after.size(), before.size());
    for (int r = 0; r < after.size(); ++r)
        for (int i = 0; i < after[r].count(); ++i) QCOMPARE(after[r].value(i), before[r].value(i));
    QVERIFY(!f.data().inTransaction());
}

void TestSettings::clearResetsTabAndSixMembersOnly()
{
    SettingsFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 自社情報 SET 自社名 = '甲', 税区分 = '内税', 税端数 = '切り捨て', 行端数 = '切り上げ', "
                                  "税計算 = 0, 入数列タイトル = '規格', 顧客リンクアプリ = 'Sulka', 顧客リンクパス = '/p'")});
    QVERIFY(f.open());
    const QSqlRecord before = settingsRows(f).value(0);

    control<QPushButton>(f.settings(), "cmd設定クリア")->click();
    QCOMPARE(control<QLineEdit>(f.settings(), "txt自社名")->text(), QString());
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb税区分")->text(), QStringLiteral("外税"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb税端数")->text(), QStringLiteral("四捨五入"));
    QCOMPARE(control<PickOnlyComboBox>(f.settings(), "cmb顧客リンクアプリ")->text(), QString());
    QCOMPARE(control<QLineEdit>(f.settings(), "txt顧客リンクパス")->text(), QString());
    QVERIFY(control<QCheckBox>(f.settings(), "chk税計算")->isChecked());
    QCOMPARE(control<TextComboBox>(f.settings(), "cmb入数列タイトル")->text(), QStringLiteral("規格"));  // not touched
    const SettingsRecord& r = f.session.設定情報;
    QCOMPARE(r.税区分, QStringLiteral("外税"));
    QCOMPARE(r.行端数, QStringLiteral("四捨五入"));
    QVERIFY(r.税計算);
    QCOMPARE(r.税端数, QStringLiteral("切り捨て"));  // keeps its value
    QCOMPARE(r.自社名, QStringLiteral("甲"));
    QVERIFY(f.messages.shown().isEmpty());
    const QSqlRecord after = settingsRows(f).value(0);
    for (int i = 0; i < after.count(); ++i) QCOMPARE(after.value(i), before.value(i));
}

void TestSettings::pickProposesDefaultFolder_data()
{
    QTest::addColumn<bool>("customers");
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("expected");  // drive path, "" = empty, "=" = unchanged

    QTest::newRow("customer Moxel") << true << "Moxel顧客管理" << "c:\\KokyakuMoxel\\data";
    QTest::newRow("customer MoxelⅡ") << true << "MoxelⅡ顧客管理" << "c:\\KokyakuMoxel2\\data";
    QTest::newRow("customer Dovan replaces a chosen file") << true << "Dovan請求書" << "c:\\Dovan\\data";
    QTest::newRow("customer Tesra") << true << "Tesra納品書" << "c:\\Tesra\\data";
    QTest::newRow("customer Sulka unchanged") << true << "Sulka" << "=";
    QTest::newRow("customer empty entry empties") << true << "" << "";
    QTest::newRow("product Sulka") << false << "Sulka" << "c:\\Pralo\\data";
    QTest::newRow("product Dovan unchanged") << false << "Dovan請求書" << "=";
}

void TestSettings::pickProposesDefaultFolder()
{
    QFETCH(bool, customers);
    QFETCH(QString, application);
    QFETCH(QString, expected);
    SettingsFixture f;
    QVERIFY(f.open());
    auto* box = control<PickOnlyComboBox>(f.settings(), customers ? "cmb顧客リンクアプリ" : "cmb商品リンクアプリ");
    auto* path = control<QLineEdit>(f.settings(), customers ? "txt顧客リンクパス" : "txt商品リンクパス");
    box->setText(QStringLiteral("Tesra納品書"));
    path->setText(QStringLiteral("/chosen/file.mdb"));

    pick(box, application);
    const QString want = expected == u"=" ? QStringLiteral("/chosen/file.mdb")
                                          : (expected.isEmpty() ? QString() : f.session.mapDrivePath(expected));
    QCOMPARE(path->text(), want);
    if (!want.isEmpty() && expected != u"=") QVERIFY(want.startsWith(f.folder.driveRoot()));
    // Nothing is stored by a pick.
    QVERIFY(settingsRows(f).value(0).value(customers ? u"顧客リンクパス"_qs : u"商品リンクパス"_qs).isNull());
}

void TestSettings::pathButton_data()
{
    QTest::addColumn<bool>("customers");
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("answer");

    QTest::newRow("customer Moxel") << true << "Moxel顧客管理"
                                    << QStringList{"MDB ファイル(*.mdb) (moxeldata.mdb)"} << "/d/moxeldata.mdb";
    QTest::newRow("customer MoxelⅡ") << true << "MoxelⅡ顧客管理"
                                     << QStringList{"MDB ファイル(*.mdb) (moxel2data.mdb)"} << "/d/moxel2data.mdb";
    QTest::newRow("customer Sulka: all files") << true << "Sulka" << QStringList{} << "/d/x.mdb";
    QTest::newRow("customer cancelled") << true << "Dovan請求書" << QStringList{} << "";
    QTest::newRow("product Sulka") << false << "Sulka" << QStringList{"MDB ファイル(*.mdb) (Pralodata.mdb)"}
                                   << "/d/Pralodata.mdb";
    QTest::newRow("product Zentra from a stored row")
        << false << "Zentra販売・仕入・在庫管理" << QStringList{"MDB ファイル(*.mdb) (zentradata.mdb)"} << "/d/z.mdb";
    QTest::newRow("product Sorvin from a stored row")
        << false << "Sorvin販売・仕入管理" << QStringList{"MDB ファイル(*.mdb) (sorvindata.mdb)"} << "";
    QTest::newRow("product Tesra: all files") << false << "Tesra納品書" << QStringList{} << "/d/t.mdb";
    QTest::newRow("customer none chosen") << true << "" << QStringList{} << "";
    QTest::newRow("product none chosen") << false << "" << QStringList{} << "";
}

void TestSettings::pathButton()
{
    QFETCH(bool, customers);
    QFETCH(QString, application);
    QFETCH(QStringList, filters);
    QFETCH(QString, answer);
    SettingsFixture f;
    FakeDialogs fake;
    fake.answer = answer;
    f.session.setDialogs(&fake);
    QVERIFY(f.open());
    f.tab.show();
    f.tab.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.tab));
    auto* box = control<PickOnlyComboBox>(f.settings(), customers ? "cmb顧客リンクアプリ" : "cmb商品リンクアプリ");
    auto* path = control<QLineEdit>(f.settings(), customers ? "txt顧客リンクパス" : "txt商品リンクパス");
    box->setText(application);
    path->setText(QStringLiteral("/before.mdb"));

    control<QPushButton>(f.settings(), customers ? "cmd顧客リンクパス" : "cmd商品リンクパス")->click();

    const QString subject = customers ? QStringLiteral("顧客") : QStringLiteral("商品");
    if (application.isEmpty()) {
        QCOMPARE(fake.calls, 0);
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown()[0].title, QStringLiteral("入力注意"));
        QVERIFY(f.messages.texts()[0].startsWith(subject + QStringLiteral("リンクアプリ名が")));
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(path->text(), QStringLiteral("/before.mdb"));
        return;
    }
    QCOMPARE(fake.calls, 1);
    QCOMPARE(fake.title, subject + QStringLiteral("リンクパスを指定する"));
    QCOMPARE(fake.filters, filters);
    QCOMPARE(fake.folder, f.session.mapDrivePath(QStringLiteral("c:\\")));
    QCOMPARE(path->text(), answer.isEmpty() ? QStringLiteral("/before.mdb") : answer);
    QVERIFY(f.messages.shown().isEmpty());
}

void TestSettings::wipeAfterConfirmation_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("failPartWay");
    QTest::newRow("yes wipes") << true << false;
    QTest::newRow("no keeps everything") << false << false;
    QTest::newRow("failure part-way keeps everything") << true << true;
}

void TestSettings::wipeAfterConfirmation()
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

    control<QPushButton>(settings, "cmd初期化")->click();

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

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
