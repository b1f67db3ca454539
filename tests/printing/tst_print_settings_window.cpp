// The A4 and B5 print-settings windows over a fresh data folder: factory
// values, the load and save rules of every column, one row per layout, fonts
// of another system, a refused save, the saved A4 fonts on the quotation tab,
// and a close that drops unsaved edits.

#include "PrintSettingsWindowSupport.h"
#include "app/PrintSettings.h"
#include "support/MainWindowFixture.h"
#include "support/WidgetText.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/settings_tab/SettingsTab.h"

#include <QPushButton>

namespace {

// The layout's window opened with the settings tab's button.
SetPrnWindow* openWindow(MainWindowFixture& f, const QString& code)
{
    control<QPushButton>(f.settings(), code == QStringLiteral("MB5") ? "cmdB5" : "cmdA4")->click();
    return qobject_cast<SetPrnWindow*>(f.session.windows().find(layoutOf(code).window));
}

// The columns the windows write; the other 16 they never touch.
const QStringList& writtenColumns()
{
    static const QStringList list{"型番", "タイトル1", "TM", "LM", "自社名フォント", "自社名サイズ", "自社名太字",
                                  "顧客名フォント", "顧客名サイズ", "顧客名太字", "顧客情報サイズ", "顧客情報フォント",
                                  "自社情報フォント", "自社情報サイズ", "T1", "自社情報印刷", "白紙罫線色"};
    return list;
}

QMap<QString, QString> untouched(QMap<QString, QString> row)
{
    for (const QString& c : writtenColumns()) row.remove(c);
    return row;
}

using StoredCells = QMap<QString, QString>;

const PrintSettingsEntry* entryOf(Session& s, const QString& code)
{
    return s.printSettings(code);
}

}  // namespace

class TestPrintSettingsWindow : public QObject {
    Q_OBJECT
private slots:
    void freshFileShowsFactoryValuesAndYesAddsTheRow_data();
    void freshFileShowsFactoryValuesAndYesAddsTheRow();
    void registerReloadsWhateverTheAnswer_data();
    void registerReloadsWhateverTheAnswer();
    void loadRules_data();
    void loadRules();
    void saveRules_data();
    void saveRules();
    void fontsAndSizesOfAnotherSystemSaveBackUnchanged();
    void twoRowsOfTheLayoutTouchOnlyTheFirst();
    void eachWindowKeepsToItsOwnRow_data();
    void eachWindowKeepsToItsOwnRow();
    void refusedSaveKeepsTheRow_data();
    void refusedSaveKeepsTheRow();
    void savedA4FontsRestyleTheOwnCompanyLabels();
    void closeDropsUnsavedEdits();
};

void TestPrintSettingsWindow::freshFileShowsFactoryValuesAndYesAddsTheRow_data() { bothLayouts(); }

void TestPrintSettingsWindow::freshFileShowsFactoryValuesAndYesAddsTheRow()
{
    QFETCH(QString, code);
    const Layout l = layoutOf(code);
    SessionFixture f;
    f.folder.prepare({QStringLiteral("DELETE FROM 印刷情報")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), l.caption);

    QCOMPARE(shown(w), (QStringList{"タイトル1=見積書", "LM=0", "TM=0", "T1=0", "自社名=/14/0", "顧客名=/14/0",
                                    "自社情報=/11", "顧客情報=/11", "自社情報印刷=1", "白紙罫線色=0", "swatch=#000000"}));
    const QStringList large{"9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "20"};
    const QStringList small{"8", "9", "10", "11", "12", "13", "14"};
    QCOMPARE(items(control<PickOnlyComboBox>(*w, "cmb自社名サイズ")), large);
    QCOMPARE(items(control<PickOnlyComboBox>(*w, "cmb顧客名サイズ")), large);
    QCOMPARE(items(control<PickOnlyComboBox>(*w, "cmb自社情報サイズ")), small);
    QCOMPARE(items(control<PickOnlyComboBox>(*w, "cmb顧客情報サイズ")), small);
    const QStringList fonts = SetPrnWindow::InstalledFonts();
    QVERIFY(!fonts.isEmpty());
    for (const QComboBox* c : fontBoxes(*w))
        QCOMPARE(items(c), fonts);
    const QString help = ReadFormHelpText(f.work(), QStringLiteral("印刷設定"), l.helpKey);
    QVERIFY(!help.isEmpty());
    QCOMPARE(control<MultiLineEdit>(*w, "txtヘルプ")->text(), help);

    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(f.messages.texts(), (QStringList{l.subject + " を登録します。よろしいですか", l.subject + " を登録しました。"}));
    const auto rows = storedRows(f.data(), code);
    QCOMPARE(rows.size(), 1);
    const QMap<QString, QString> expected{
        {"型番", "'" + code + "'"}, {"タイトル1", "'見積書'"}, {"TM", "0"}, {"LM", "0"},
        {"自社名フォント", "NULL"}, {"自社名サイズ", "14"}, {"自社名太字", "0"},
        {"顧客名フォント", "NULL"}, {"顧客名サイズ", "14"}, {"顧客名太字", "0"},
        {"顧客情報サイズ", "11"}, {"顧客情報フォント", "NULL"}, {"自社情報フォント", "NULL"}, {"自社情報サイズ", "11"},
        {"T1", "0"}, {"自社情報印刷", "1"}, {"白紙罫線色", "0"},
    };
    for (auto it = rows[0].cbegin(); it != rows[0].cend(); ++it)
        QCOMPARE(it.key() + "=" + it.value(), it.key() + "=" + expected.value(it.key(), QStringLiteral("NULL")));
    // The other layout's row stays absent.
    QCOMPARE(storedRows(f.data(), code == "MA4" ? "MB5" : "MA4").size(), 0);
    // The print settings hold the new row at once.
    const PrintSettingsEntry* e = entryOf(f.session, code);
    QVERIFY(e);
    QCOMPARE(e->タイトル1, QStringLiteral("見積書"));
}

void TestPrintSettingsWindow::registerReloadsWhateverTheAnswer_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("yes");
    QTest::newRow("A4 yes") << "MA4" << true;
    QTest::newRow("A4 no") << "MA4" << false;
    QTest::newRow("B5 yes") << "MB5" << true;
    QTest::newRow("B5 no") << "MB5" << false;
}

void TestPrintSettingsWindow::registerReloadsWhateverTheAnswer()
{
    QFETCH(QString, code);
    QFETCH(bool, yes);
    const Layout l = layoutOf(code);
    SessionFixture f;
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("新しい題"));
    // Changed behind the window's back after it loaded.
    QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET TM = 77 WHERE 型番 = ?"), {code}));
    const auto before = storedRows(f.data(), code);

    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    control<QPushButton>(*w, "cmd登録")->click();

    const PrintSettingsEntry* e = entryOf(f.session, code);
    QVERIFY(e);
    if (yes) {
        QCOMPARE(f.messages.texts().size(), 2);
        QCOMPARE(f.messages.texts().last(), l.subject + " を登録しました。");
        QCOMPARE(storedRows(f.data(), code).value(0).value("タイトル1"), QStringLiteral("'新しい題'"));
        QCOMPARE(e->タイトル1, QStringLiteral("新しい題"));
        QCOMPARE(e->TM, 0);
    } else {
        QCOMPARE(f.messages.texts(), QStringList{l.subject + " を登録します。よろしいですか"});
        QCOMPARE(storedRows(f.data(), code), before);
        QCOMPARE(control<QLineEdit>(*w, "txtタイトル1")->text(), QStringLiteral("新しい題"));  // the controls keep the edit
        QCOMPARE(e->タイトル1, QStringLiteral("見積書"));
        QCOMPARE(e->TM, 77);  // reloaded all the same
    }
}

void TestPrintSettingsWindow::loadRules_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QStringList>("expected");

    // Before 読込 the window shows: title "前", LM/TM/T1 5, fonts "前", sizes 9 and 8,
    // both bold boxes ticked, 自社情報印刷 clear, colour 255 (red).
    QTest::newRow("Null: defaults, bold boxes and colour kept, company block printed")
        << "タイトル1 = NULL, LM = NULL, TM = NULL, T1 = NULL, 自社名フォント = NULL, 自社名サイズ = NULL, "
           "自社名太字 = NULL, 顧客名フォント = NULL, 顧客名サイズ = NULL, 顧客名太字 = NULL, 自社情報フォント = NULL, "
           "自社情報サイズ = NULL, 顧客情報フォント = NULL, 顧客情報サイズ = NULL, 自社情報印刷 = NULL, 白紙罫線色 = NULL"
        << QStringList{"タイトル1=見積書", "LM=0", "TM=0", "T1=0", "自社名=/14/1", "顧客名=/14/1", "自社情報=/12",
                       "顧客情報=/12", "自社情報印刷=1", "白紙罫線色=255", "swatch=#ff0000"};
    QTest::newRow("zeros: size defaults, boxes cleared, black")
        << "タイトル1 = '', LM = 0, TM = 0, T1 = 0, 自社名フォント = '', 自社名サイズ = 0, 自社名太字 = 0, "
           "顧客名フォント = '', 顧客名サイズ = 0, 顧客名太字 = 0, 自社情報フォント = '', 自社情報サイズ = 0, "
           "顧客情報フォント = '', 顧客情報サイズ = 0, 自社情報印刷 = 0, 白紙罫線色 = 0"
        << QStringList{"タイトル1=", "LM=0", "TM=0", "T1=0", "自社名=/14/0", "顧客名=/14/0", "自社情報=/12",
                       "顧客情報=/12", "自社情報印刷=0", "白紙罫線色=0", "swatch=#000000"};
    QTest::newRow("values as stored")
        << "タイトル1 = 'O''Neil 御見積書', LM = -120, TM = 99999, T1 = 7, 自社名フォント = 'IPAPMincho', "
           "自社名サイズ = 16, 自社名太字 = 1, 顧客名フォント = 'IPAGothic', 顧客名サイズ = 10.5, 顧客名太字 = -1, "
           "自社情報フォント = 'IPAMincho', 自社情報サイズ = '13', 顧客情報フォント = 'IPAPGothic', 顧客情報サイズ = 9, "
           "自社情報印刷 = -1, 白紙罫線色 = 16711680"
        << QStringList{"タイトル1=O'Neil 御見積書", "LM=-120", "TM=99999", "T1=7", "自社名=IPAPMincho/16/1",
                       "顧客名=IPAGothic/10.5/1", "自社情報=IPAMincho/13", "顧客情報=IPAPGothic/9", "自社情報印刷=1",
                       "白紙罫線色=16711680", "swatch=#0000ff"};
}

void TestPrintSettingsWindow::loadRules()
{
    QFETCH(QString, set);
    QFETCH(QStringList, expected);
    SessionFixture f;
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("前"));
    for (const char* box : {"numLM", "numTM", "numT1"}) control<NumberBox>(*w, box)->setValue(Currency::fromWhole(5));
    for (PickOnlyComboBox* c : fontBoxes(*w)) c->setText(QStringLiteral("前"));
    for (const char* box : {"cmb自社名サイズ", "cmb顧客名サイズ"}) control<PickOnlyComboBox>(*w, box)->setText(QStringLiteral("9"));
    for (const char* box : {"cmb自社情報サイズ", "cmb顧客情報サイズ"}) control<PickOnlyComboBox>(*w, box)->setText(QStringLiteral("8"));
    control<QCheckBox>(*w, "chk自社名太字")->setChecked(true);
    control<QCheckBox>(*w, "chk顧客名太字")->setChecked(true);
    control<QCheckBox>(*w, "Chk自社情報印刷")->setChecked(false);
    FakeColourDialog dialog;
    dialog.answer = 255;
    f.session.setDialogs(&dialog);
    QTest::mouseDClick(control<QLabel>(*w, "Pic罫線色"), Qt::LeftButton);
    f.session.setDialogs(nullptr);

    QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET ") + set + QStringLiteral(" WHERE 型番 = 'MA4'")));
    control<QPushButton>(*w, "cmd読込")->click();
    QCOMPARE(shown(w), expected);
    QVERIFY(f.messages.shown().isEmpty());
}

void TestPrintSettingsWindow::saveRules_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<StoredCells>("expected");

    QTest::newRow("empty inputs") << true
        << StoredCells{{"タイトル1", "''"}, {"TM", "NULL"}, {"LM", "NULL"}, {"自社名フォント", "NULL"},
                                  {"自社名サイズ", "14"}, {"自社名太字", "0"}, {"顧客名フォント", "NULL"},
                                  {"顧客名サイズ", "14"}, {"顧客名太字", "0"}, {"顧客情報サイズ", "11"},
                                  {"顧客情報フォント", "NULL"}, {"自社情報フォント", "NULL"}, {"自社情報サイズ", "12"},
                                  {"T1", "0"}, {"自社情報印刷", "0"}, {"白紙罫線色", "NULL"}};
    QTest::newRow("picked values, a title with an apostrophe") << false
        << StoredCells{{"タイトル1", "'O''Neil''s 見積書'"}, {"TM", "99999"}, {"LM", "-99999"},
                                  {"自社名フォント", "'F0'"}, {"自社名サイズ", "20"}, {"自社名太字", "1"},
                                  {"顧客名フォント", "'F1'"}, {"顧客名サイズ", "9"}, {"顧客名太字", "1"},
                                  {"顧客情報サイズ", "14"}, {"顧客情報フォント", "'F3'"}, {"自社情報フォント", "'F2'"},
                                  {"自社情報サイズ", "8"}, {"T1", "12"}, {"自社情報印刷", "1"}, {"白紙罫線色", "65280"}};
}

void TestPrintSettingsWindow::saveRules()
{
    QFETCH(bool, empty);
    QFETCH(StoredCells, expected);
    SessionFixture f;
    // The columns the window does not carry hold values of their own.
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET タイトル2 = '残す', T2 = 3, TM1 = 4, 自社名位置 = '下', "
                                     "領収書金額フォント = 'IPAMincho', 領収書金額サイズ = 24 WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    const auto before = storedRows(f.data(), QStringLiteral("MA4"));

    const QStringList fonts = SetPrnWindow::InstalledFonts();
    QVERIFY(fonts.size() >= 1);
    const QList<PickOnlyComboBox*> fontLists = fontBoxes(*w);
    if (empty) {
        control<QLineEdit>(*w, "txtタイトル1")->setText(QString());
        for (const char* box : {"numLM", "numTM", "numT1", "num白紙罫線色"}) control<NumberBox>(*w, box)->setNull();
        for (PickOnlyComboBox* c : fontLists) c->setText(QString());
        for (PickOnlyComboBox* c : sizeBoxes(*w)) c->setText(QString());
        control<QCheckBox>(*w, "Chk自社情報印刷")->setChecked(false);
    } else {
        control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("O'Neil's 見積書"));
        QVERIFY(control<NumberBox>(*w, "numLM")->setTextValue(QStringLiteral("-99999")));
        QVERIFY(control<NumberBox>(*w, "numTM")->setTextValue(QStringLiteral("99999")));
        QVERIFY(control<NumberBox>(*w, "numT1")->setTextValue(QStringLiteral("12")));
        QVERIFY(control<NumberBox>(*w, "num白紙罫線色")->setTextValue(QStringLiteral("65280")));
        for (int i = 0; i < 4; ++i) {
            fontLists[i]->setCurrentIndex(i % fonts.size());
            emit fontLists[i]->activated(i % fonts.size());
            expected[expected.key(QStringLiteral("'F%1'").arg(i))] = "'" + fonts[i % fonts.size()] + "'";
        }
        control<PickOnlyComboBox>(*w, "cmb自社名サイズ")->setText(QStringLiteral("20"));
        control<PickOnlyComboBox>(*w, "cmb顧客名サイズ")->setText(QStringLiteral("9"));
        control<PickOnlyComboBox>(*w, "cmb自社情報サイズ")->setText(QStringLiteral("8"));
        control<PickOnlyComboBox>(*w, "cmb顧客情報サイズ")->setText(QStringLiteral("14"));
        control<QCheckBox>(*w, "chk自社名太字")->setChecked(true);
        control<QCheckBox>(*w, "chk顧客名太字")->setChecked(true);
    }
    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(f.messages.texts().last(), QStringLiteral("A4白紙 伝票設定 を登録しました。"));

    const auto rows = storedRows(f.data(), QStringLiteral("MA4"));
    QCOMPARE(rows.size(), 1);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(it.key() + "=" + rows[0].value(it.key()), it.key() + "=" + it.value());
    QCOMPARE(untouched(rows[0]), untouched(before[0]));

    // An empty 顧客情報サイズ is stored as 11 and comes back as 11; an empty
    // 自社情報サイズ as 12.
    control<QPushButton>(*w, "cmd読込")->click();
    if (empty) {
        QCOMPARE(control<PickOnlyComboBox>(*w, "cmb顧客情報サイズ")->text(), QStringLiteral("11"));
        QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社情報サイズ")->text(), QStringLiteral("12"));
        QCOMPARE(control<NumberBox>(*w, "num白紙罫線色")->isNull(), true);  // a Null colour leaves the box as it was
    } else {
        QCOMPARE(control<QLineEdit>(*w, "txtタイトル1")->text(), QStringLiteral("O'Neil's 見積書"));
    }
}

void TestPrintSettingsWindow::fontsAndSizesOfAnotherSystemSaveBackUnchanged()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET 自社名フォント = 'ＭＳ Ｐ明朝', 顧客名フォント = 'MS UI Gothic', "
                                     "自社名サイズ = 25, 顧客名サイズ = 10.5, 自社情報サイズ = 'ふつう', 顧客情報サイズ = 7 "
                                     "WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社名フォント")->text(), QStringLiteral("ＭＳ Ｐ明朝"));
    // not installed here
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社名フォント")->findText(QStringLiteral("ＭＳ Ｐ明朝")), -1);
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb顧客名フォント")->text(), QStringLiteral("MS UI Gothic"));
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社名サイズ")->text(), QStringLiteral("25"));
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb顧客名サイズ")->text(), QStringLiteral("10.5"));
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社情報サイズ")->text(), QStringLiteral("ふつう"));
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb顧客情報サイズ")->text(), QStringLiteral("7"));
    const auto before = storedRows(f.data(), QStringLiteral("MA4"));

    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(f.messages.texts().last(), QStringLiteral("A4白紙 伝票設定 を登録しました。"));
    QCOMPARE(storedRows(f.data(), QStringLiteral("MA4")), before);
}

void TestPrintSettingsWindow::twoRowsOfTheLayoutTouchOnlyTheFirst()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET タイトル1 = '一番目' WHERE 型番 = 'MA4'"),
                      QStringLiteral("INSERT INTO 印刷情報 (型番, タイトル1, LM, 自社名サイズ) VALUES ('MA4', '二番目', 300, 9)")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    QCOMPARE(control<QLineEdit>(*w, "txtタイトル1")->text(), QStringLiteral("一番目"));
    QCOMPARE(control<NumberBox>(*w, "numLM")->value(), Currency::fromWhole(0));
    const auto before = storedRows(f.data(), QStringLiteral("MA4"));
    QCOMPARE(before.size(), 2);

    control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("変更"));
    control<QPushButton>(*w, "cmd登録")->click();
    const auto after = storedRows(f.data(), QStringLiteral("MA4"));
    QCOMPARE(after.size(), 2);
    QCOMPARE(after[0].value("タイトル1"), QStringLiteral("'変更'"));
    QCOMPARE(after[1], before[1]);
}

// The window named by the row saves; the other one is open beside it.
void TestPrintSettingsWindow::eachWindowKeepsToItsOwnRow_data() { bothLayouts(); }

void TestPrintSettingsWindow::eachWindowKeepsToItsOwnRow()
{
    QFETCH(QString, code);
    const QString saving = code;
    const QString other = saving == "MA4" ? QStringLiteral("MB5") : QStringLiteral("MA4");
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET タイトル1 = 'A4の題', LM = 10 WHERE 型番 = 'MA4'"),
                      QStringLiteral("UPDATE 印刷情報 SET タイトル1 = 'B5の題', LM = 20 WHERE 型番 = 'MB5'")});
    QVERIFY(f.open());
    SetPrnWindow* a4 = openWindow(f, QStringLiteral("MA4"));
    SetPrnWindow* b5 = openWindow(f, QStringLiteral("MB5"));
    QVERIFY(a4 && b5 && a4 != b5);
    QVERIFY(a4->isVisible() && b5->isVisible());
    QCOMPARE(control<QLineEdit>(*a4, "txtタイトル1")->text(), QStringLiteral("A4の題"));
    QCOMPARE(control<QLineEdit>(*b5, "txtタイトル1")->text(), QStringLiteral("B5の題"));
    QCOMPARE(control<NumberBox>(*b5, "numLM")->value(), Currency::fromWhole(20));
    SetPrnWindow* saver = saving == "MA4" ? a4 : b5;
    SetPrnWindow* bystander = saving == "MA4" ? b5 : a4;
    const auto otherBefore = storedRows(f.data(), other);

    control<QLineEdit>(*saver, "txtタイトル1")->setText(QStringLiteral("変更"));
    control<NumberBox>(*saver, "numLM")->setValue(Currency::fromWhole(99));
    control<QPushButton>(*saver, "cmd登録")->click();

    QCOMPARE(storedRows(f.data(), saving).value(0).value("タイトル1"), QStringLiteral("'変更'"));
    QCOMPARE(storedRows(f.data(), other), otherBefore);
    QCOMPARE(control<QLineEdit>(*bystander, "txtタイトル1")->text(),
             saving == "MA4" ? QStringLiteral("B5の題") : QStringLiteral("A4の題"));
    QCOMPARE(entryOf(f.session, saving)->LM, 99);
}

void TestPrintSettingsWindow::refusedSaveKeepsTheRow_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<bool>("readOnly");
    const QStringList triggers{
        "CREATE TRIGGER refuse_update BEFORE UPDATE ON 印刷情報 BEGIN SELECT RAISE(ABORT, 'locked'); END",
        "CREATE TRIGGER refuse_insert BEFORE INSERT ON 印刷情報 BEGIN SELECT RAISE(ABORT, 'locked'); END"};
    QTest::newRow("A4 row refused by a trigger") << "MA4" << triggers << false;
    QTest::newRow("B5 row added, refused by a trigger") << "MB5" << (QStringList{"DELETE FROM 印刷情報"} + triggers) << false;
    QTest::newRow("A4 on a file that cannot be written") << "MA4" << QStringList{} << true;
}

void TestPrintSettingsWindow::refusedSaveKeepsTheRow()
{
    QFETCH(QString, code);
    QFETCH(QStringList, setup);
    QFETCH(bool, readOnly);
    const Layout l = layoutOf(code);
    SessionFixture f;
    f.folder.prepare(setup);
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    // The session's connection made read-only: SQLite refuses every write as it
    // does on a read-only file (file modes do not stop the root user).
    if (readOnly) QVERIFY(f.data().exec(QStringLiteral("PRAGMA query_only = 1")));
    const QStringList before = TableSnapshot(f.data(), {QStringLiteral("印刷情報")});

    control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("変更"));
    control<QCheckBox>(*w, "chk自社名太字")->setChecked(true);
    control<QPushButton>(*w, "cmd登録")->click();

    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    const QString failure = f.messages.texts().last();
    QVERIFY2(failure.startsWith(l.subject + " を登録できませんでした。"), qPrintable(failure));
    const QString engine = f.messages.shown().last().detail;
    QVERIFY2(engine.contains(readOnly ? QStringLiteral("readonly") : QStringLiteral("locked")), qPrintable(engine));
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("印刷情報")}), before);
    QVERIFY(!f.data().inTransaction());
    QCOMPARE(control<QLineEdit>(*w, "txtタイトル1")->text(), QStringLiteral("変更"));  // the edit is still there to retry
}

void TestPrintSettingsWindow::savedA4FontsRestyleTheOwnCompanyLabels()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QLabel* name = control<QLabel>(f.quotation(), "lbl自社名");
    QLabel* block = control<QLabel>(f.quotation(), "lbl自社情報");
    const QFont designed = name->font();
    const QStringList fonts = SetPrnWindow::InstalledFonts();
    QString family;
    for (const QString& candidate : fonts)
        if (candidate != designed.family()) family = candidate;
    QVERIFY(!family.isEmpty());

    SetPrnWindow* a4 = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(a4);
    control<PickOnlyComboBox>(*a4, "cmb自社名フォント")->setText(family);
    control<PickOnlyComboBox>(*a4, "cmb自社名サイズ")->setText(QStringLiteral("20"));
    control<PickOnlyComboBox>(*a4, "cmb自社情報サイズ")->setText(QStringLiteral("8"));
    control<QPushButton>(*a4, "cmd登録")->click();
    QCOMPARE(name->font().family(), family);
    QCOMPARE(name->font().pointSizeF(), 20.0);
    QCOMPARE(block->font().pointSizeF(), 8.0);

    // The B5 layout's fonts are not the labels'.
    SetPrnWindow* b5 = openWindow(f, QStringLiteral("MB5"));
    QVERIFY(b5);
    control<PickOnlyComboBox>(*b5, "cmb自社名サイズ")->setText(QStringLiteral("9"));
    control<QPushButton>(*b5, "cmd登録")->click();
    QCOMPARE(name->font().pointSizeF(), 20.0);

    // A font taken away again gives the label back its designed face.
    control<PickOnlyComboBox>(*a4, "cmb自社名フォント")->setText(QString());
    control<QPushButton>(*a4, "cmd登録")->click();
    QCOMPARE(name->font().family(), designed.family());
    QCOMPARE(name->font().pointSizeF(), 20.0);
}

void TestPrintSettingsWindow::closeDropsUnsavedEdits()
{
    SessionFixture f;
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    QPointer<SetPrnWindow> first = w;
    control<QLineEdit>(*w, "txtタイトル1")->setText(QStringLiteral("保存しない"));
    control<QPushButton>(*w, "cmd閉じる")->click();
    QTRY_VERIFY(first.isNull());
    w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    QCOMPARE(control<QLineEdit>(*w, "txtタイトル1")->text(), QStringLiteral("見積書"));
    QVERIFY(f.messages.shown().isEmpty());
}

QTEST_MAIN(TestPrintSettingsWindow)
#include "tst_print_settings_window.moc"
