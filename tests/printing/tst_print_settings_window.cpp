// The A4 and B5 print-settings windows over a fresh data folder: factory
// values, the load and save rules of every column, one row per layout, the
// colour dialog, fonts of another system, and a refused save.

#include "app/PrintSettings.h"
#include "app/SettingsTab.h"
#include "app/Dialogs.h"
#include "platform/Controls.h"
#include "printing/PrintSettingsSample.h"
#include "printing/PrintSettingsWindows.h"
#include "printing/RptQuotationA4.h"
#include "printing/RptQuotationB5.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/SessionFixture.h"
#include "support/WidgetText.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

namespace {

struct Layout {
    QString code;
    QString window;
    QString caption;
    QString subject;
    QString helpKey;
};

Layout layoutOf(const QString& code)
{
    if (code == QStringLiteral("MB5"))
        return {code, QStringLiteral("SetPrnB5"), QStringLiteral("B5白紙"), QStringLiteral("B5白紙 伝票設定"), QStringLiteral("B5")};
    return {code, QStringLiteral("SetPrnA4"), QStringLiteral("A4白紙"), QStringLiteral("A4白紙 伝票設定"), QStringLiteral("A4")};
}

// The layout's window on the session alone, as the settings tab's button opens it.
SetPrnWindow* openWindow(SessionFixture& f, const QString& code)
{
    return f.openWindow<SetPrnWindow>(layoutOf(code).window, code);
}

// The layout's window opened with the settings tab's button.
SetPrnWindow* openWindow(MainWindowFixture& f, const QString& code)
{
    (code == QStringLiteral("MB5") ? f.settings().cmdB5 : f.settings().cmdA4)->click();
    return qobject_cast<SetPrnWindow*>(f.session.windows().find(layoutOf(code).window));
}

// The A4 window opened over f and its number box of that name; nullptr when
// either is missing.
NumberBox* a4Box(SessionFixture& f, const QString& name)
{
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    return w ? w->findChild<NumberBox*>(name) : nullptr;
}

// The layout's rows in rowid order, each column as SQLite quotes it: NULL, 14,
// 10.5, 'text' (so Null, '' and 14 against '14' all differ).
QList<QMap<QString, QString>> storedRows(Database& db, const QString& code)
{
    const QStringList columns = db.columns(QStringLiteral("印刷情報"));
    QStringList quoted;
    for (const QString& c : columns) quoted << QStringLiteral("quote(%1)").arg(Database::quoteIdent(c));
    QList<QMap<QString, QString>> out;
    for (const QSqlRecord& r : db.rows(QStringLiteral("SELECT %1 FROM 印刷情報 WHERE 型番 = ? ORDER BY rowid").arg(quoted.join(u',')), {code})) {
        QMap<QString, QString> row;
        for (int i = 0; i < columns.size(); ++i) row[columns[i]] = r.value(i).toString();
        out << row;
    }
    return out;
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

QString number(const NumberBox* b) { return b->value() ? b->value()->toPlainString() : QStringLiteral("<empty>"); }

// What the window shows, one "name=value" a control.
QStringList shown(const SetPrnWindow* w)
{
    const auto tick = [](const QCheckBox* c) { return c->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); };
    return {
        "タイトル1=" + w->txtタイトル1->text(),
        "LM=" + number(w->numLM),
        "TM=" + number(w->numTM),
        "T1=" + number(w->numT1),
        "自社名=" + w->cmb自社名フォント->text() + "/" + w->cmb自社名サイズ->text() + "/" + tick(w->chk自社名太字),
        "顧客名=" + w->cmb顧客名フォント->text() + "/" + w->cmb顧客名サイズ->text() + "/" + tick(w->chk顧客名太字),
        "自社情報=" + w->cmb自社情報フォント->text() + "/" + w->cmb自社情報サイズ->text(),
        "顧客情報=" + w->cmb顧客情報フォント->text() + "/" + w->cmb顧客情報サイズ->text(),
        "自社情報印刷=" + tick(w->Chk自社情報印刷),
        "白紙罫線色=" + number(w->num白紙罫線色),
        "swatch=" + w->Pic罫線色->palette().color(QPalette::Window).name(),
    };
}

const PrintSettingsEntry* entryOf(Session& s, const QString& code)
{
    return s.printSettings(code);
}

// The colour dialog: answers with `answer` (nothing: cancelled), or, when told
// to, like OK pressed without a pick: with the colour it opened on.
class FakeColourDialog : public DialogProvider {
public:
    std::optional<int> answer;
    bool okWithoutPick = false;
    int calls = 0;
    int startColour = -1;
    QString openFile(QWidget*, const QString&, const QString&, const QStringList&, int) override { return {}; }
    std::optional<int> chooseColor(QWidget*, int start) override
    {
        ++calls;
        startColour = start;
        return okWithoutPick ? std::optional<int>(start) : answer;
    }
};

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
    void ruleColourFromTheDialog_data();
    void ruleColourFromTheDialog();
    void numberBoxesTakeTheirRanges_data();
    void numberBoxesTakeTheirRanges();
    void refusedNumberIsToldAndStopsTheSave_data();
    void refusedNumberIsToldAndStopsTheSave();
    void combosArePickOnly();
    void savedA4FontsRestyleTheOwnCompanyLabels();
    void closeDropsUnsavedEdits();
    void sampleMarksThePrintedPlaces_data();
    void sampleMarksThePrintedPlaces();
    void marginsThatDoNotFitAreTold_data();
    void marginsThatDoNotFitAreTold();
};

// One row per window: the layout code in the column "code".
void bothLayouts()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("A4") << "MA4";
    QTest::newRow("B5") << "MB5";
}

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
    QCOMPARE(items(w->cmb自社名サイズ), large);
    QCOMPARE(items(w->cmb顧客名サイズ), large);
    QCOMPARE(items(w->cmb自社情報サイズ), small);
    QCOMPARE(items(w->cmb顧客情報サイズ), small);
    const QStringList fonts = SetPrnWindow::InstalledFonts();
    QVERIFY(!fonts.isEmpty());
    for (const QComboBox* c : {w->cmb自社名フォント, w->cmb顧客名フォント, w->cmb自社情報フォント, w->cmb顧客情報フォント})
        QCOMPARE(items(c), fonts);
    const QString help = ReadFormHelpText(f.work(), QStringLiteral("印刷設定"), l.helpKey);
    QVERIFY(!help.isEmpty());
    QCOMPARE(w->txtヘルプ->text(), help);

    w->cmd登録->click();
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
    w->txtタイトル1->setText(QStringLiteral("新しい題"));
    // Changed behind the window's back after it loaded.
    QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET TM = 77 WHERE 型番 = ?"), {code}));
    const auto before = storedRows(f.data(), code);

    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    w->cmd登録->click();

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
        QCOMPARE(w->txtタイトル1->text(), QStringLiteral("新しい題"));  // the controls keep the edit
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
    w->txtタイトル1->setText(QStringLiteral("前"));
    for (NumberBox* b : {w->numLM, w->numTM, w->numT1}) b->setValue(Currency::fromWhole(5));
    for (PickOnlyComboBox* c : {w->cmb自社名フォント, w->cmb顧客名フォント, w->cmb自社情報フォント, w->cmb顧客情報フォント})
        c->setText(QStringLiteral("前"));
    for (PickOnlyComboBox* c : {w->cmb自社名サイズ, w->cmb顧客名サイズ}) c->setText(QStringLiteral("9"));
    for (PickOnlyComboBox* c : {w->cmb自社情報サイズ, w->cmb顧客情報サイズ}) c->setText(QStringLiteral("8"));
    w->chk自社名太字->setChecked(true);
    w->chk顧客名太字->setChecked(true);
    w->Chk自社情報印刷->setChecked(false);
    FakeColourDialog dialog;
    dialog.answer = 255;
    f.session.setDialogs(&dialog);
    QTest::mouseDClick(w->Pic罫線色, Qt::LeftButton);
    f.session.setDialogs(nullptr);

    QVERIFY(f.data().exec(QStringLiteral("UPDATE 印刷情報 SET ") + set + QStringLiteral(" WHERE 型番 = 'MA4'")));
    w->cmd読込->click();
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
    PickOnlyComboBox* fontBoxes[] = {w->cmb自社名フォント, w->cmb顧客名フォント, w->cmb自社情報フォント, w->cmb顧客情報フォント};
    if (empty) {
        w->txtタイトル1->setText(QString());
        for (NumberBox* b : {w->numLM, w->numTM, w->numT1, w->num白紙罫線色}) b->setNull();
        for (PickOnlyComboBox* c : fontBoxes) c->setText(QString());
        for (PickOnlyComboBox* c : {w->cmb自社名サイズ, w->cmb顧客名サイズ, w->cmb自社情報サイズ, w->cmb顧客情報サイズ})
            c->setText(QString());
        w->Chk自社情報印刷->setChecked(false);
    } else {
        w->txtタイトル1->setText(QStringLiteral("O'Neil's 見積書"));
        QVERIFY(w->numLM->setTextValue(QStringLiteral("-99999")));
        QVERIFY(w->numTM->setTextValue(QStringLiteral("99999")));
        QVERIFY(w->numT1->setTextValue(QStringLiteral("12")));
        QVERIFY(w->num白紙罫線色->setTextValue(QStringLiteral("65280")));
        for (int i = 0; i < 4; ++i) {
            fontBoxes[i]->setCurrentIndex(i % fonts.size());
            emit fontBoxes[i]->activated(i % fonts.size());
            expected[expected.key(QStringLiteral("'F%1'").arg(i))] = "'" + fonts[i % fonts.size()] + "'";
        }
        w->cmb自社名サイズ->setText(QStringLiteral("20"));
        w->cmb顧客名サイズ->setText(QStringLiteral("9"));
        w->cmb自社情報サイズ->setText(QStringLiteral("8"));
        w->cmb顧客情報サイズ->setText(QStringLiteral("14"));
        w->chk自社名太字->setChecked(true);
        w->chk顧客名太字->setChecked(true);
    }
    w->cmd登録->click();
    QCOMPARE(f.messages.texts().last(), QStringLiteral("A4白紙 伝票設定 を登録しました。"));

    const auto rows = storedRows(f.data(), QStringLiteral("MA4"));
    QCOMPARE(rows.size(), 1);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(it.key() + "=" + rows[0].value(it.key()), it.key() + "=" + it.value());
    QCOMPARE(untouched(rows[0]), untouched(before[0]));

    // An empty 顧客情報サイズ is stored as 11 and comes back as 11; an empty
    // 自社情報サイズ as 12.
    w->cmd読込->click();
    if (empty) {
        QCOMPARE(w->cmb顧客情報サイズ->text(), QStringLiteral("11"));
        QCOMPARE(w->cmb自社情報サイズ->text(), QStringLiteral("12"));
        QCOMPARE(w->num白紙罫線色->isNull(), true);  // a Null colour leaves the box as it was
    } else {
        QCOMPARE(w->txtタイトル1->text(), QStringLiteral("O'Neil's 見積書"));
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
    QCOMPARE(w->cmb自社名フォント->text(), QStringLiteral("ＭＳ Ｐ明朝"));
    QCOMPARE(w->cmb自社名フォント->findText(QStringLiteral("ＭＳ Ｐ明朝")), -1);  // not installed here
    QCOMPARE(w->cmb顧客名フォント->text(), QStringLiteral("MS UI Gothic"));
    QCOMPARE(w->cmb自社名サイズ->text(), QStringLiteral("25"));
    QCOMPARE(w->cmb顧客名サイズ->text(), QStringLiteral("10.5"));
    QCOMPARE(w->cmb自社情報サイズ->text(), QStringLiteral("ふつう"));
    QCOMPARE(w->cmb顧客情報サイズ->text(), QStringLiteral("7"));
    const auto before = storedRows(f.data(), QStringLiteral("MA4"));

    w->cmd登録->click();
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
    QCOMPARE(w->txtタイトル1->text(), QStringLiteral("一番目"));
    QCOMPARE(w->numLM->value(), Currency::fromWhole(0));
    const auto before = storedRows(f.data(), QStringLiteral("MA4"));
    QCOMPARE(before.size(), 2);

    w->txtタイトル1->setText(QStringLiteral("変更"));
    w->cmd登録->click();
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
    QCOMPARE(a4->txtタイトル1->text(), QStringLiteral("A4の題"));
    QCOMPARE(b5->txtタイトル1->text(), QStringLiteral("B5の題"));
    QCOMPARE(b5->numLM->value(), Currency::fromWhole(20));
    SetPrnWindow* saver = saving == "MA4" ? a4 : b5;
    SetPrnWindow* bystander = saving == "MA4" ? b5 : a4;
    const auto otherBefore = storedRows(f.data(), other);

    saver->txtタイトル1->setText(QStringLiteral("変更"));
    saver->numLM->setValue(Currency::fromWhole(99));
    saver->cmd登録->click();

    QCOMPARE(storedRows(f.data(), saving).value(0).value("タイトル1"), QStringLiteral("'変更'"));
    QCOMPARE(storedRows(f.data(), other), otherBefore);
    QCOMPARE(bystander->txtタイトル1->text(), saving == "MA4" ? QStringLiteral("B5の題") : QStringLiteral("A4の題"));
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

    w->txtタイトル1->setText(QStringLiteral("変更"));
    w->chk自社名太字->setChecked(true);
    w->cmd登録->click();

    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    const QString failure = f.messages.texts().last();
    QVERIFY2(failure.startsWith(l.subject + " を登録できませんでした。"), qPrintable(failure));
    const QString engine = f.messages.shown().last().detail;
    QVERIFY2(engine.contains(readOnly ? QStringLiteral("readonly") : QStringLiteral("locked")), qPrintable(engine));
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("印刷情報")}), before);
    QVERIFY(!f.data().inTransaction());
    QCOMPARE(w->txtタイトル1->text(), QStringLiteral("変更"));  // the edit is still there to retry
}

void TestPrintSettingsWindow::ruleColourFromTheDialog_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("typed");  // typed into num白紙罫線色 before the double-click; "" none
    QTest::addColumn<bool>("okWithoutPick");
    QTest::addColumn<std::optional<int>>("answer");
    QTest::addColumn<int>("start");  // the colour the dialog opens on
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<QString>("stored");

    // The stored colour is R 0x20, G 0x40, B 0x60: 6307872 as a Windows colour value.
    for (const char* code : {"MA4", "MB5"}) {
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", code, what) << QString::fromLatin1(code);
        };
        row("cancelled: nothing changes") << "" << false << std::optional<int>() << 6307872 << "#204060" << "6307872";
        row("OK without a pick: nothing changes") << "" << true << std::optional<int>() << 6307872 << "#204060"
                                                  << "6307872";
        row("pure red") << "" << false << std::optional<int>(255) << 6307872 << "#ff0000" << "255";
        row("white, the largest value") << "" << false << std::optional<int>(16777215) << 6307872 << "#ffffff"
                                        << "16777215";
        // A typed number is the colour that is saved: the dialog opens on it,
        // and OK without a pick brings the swatch to it.
        row("typed, then OK without a pick") << "65280" << true << std::optional<int>() << 65280 << "#00ff00"
                                             << "65280";
        row("typed, then cancelled") << "65280" << false << std::optional<int>() << 65280 << "#204060" << "65280";
    }
}

void TestPrintSettingsWindow::ruleColourFromTheDialog()
{
    QFETCH(QString, code);
    QFETCH(QString, typed);
    QFETCH(bool, okWithoutPick);
    QFETCH(std::optional<int>, answer);
    QFETCH(int, start);
    QFETCH(QString, swatch);
    QFETCH(QString, stored);
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET 白紙罫線色 = 6307872 WHERE 型番 = '%1'").arg(code)});
    QVERIFY(f.open());
    FakeColourDialog dialog;
    dialog.answer = answer;
    dialog.okWithoutPick = okWithoutPick;
    f.session.setDialogs(&dialog);
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    QCOMPARE(w->Pic罫線色->palette().color(QPalette::Window).name(), QStringLiteral("#204060"));
    QCOMPARE(w->Pic罫線色->toolTip(), QStringLiteral("ここをダブルクリックして色を指定"));
    if (!typed.isEmpty()) QVERIFY(w->num白紙罫線色->setTextValue(typed));

    QTest::mouseDClick(w->Pic罫線色, Qt::LeftButton);
    QCOMPARE(dialog.calls, 1);
    QCOMPARE(dialog.startColour, start);
    QCOMPARE(w->Pic罫線色->palette().color(QPalette::Window).name(), swatch);
    QCOMPARE(w->num白紙罫線色->value()->toPlainString(), stored);
    w->cmd登録->click();
    QCOMPARE(storedRows(f.data(), code).value(0).value("白紙罫線色"), stored);
    f.session.setDialogs(nullptr);
}

void TestPrintSettingsWindow::numberBoxesTakeTheirRanges_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");  // the value after typing; "refused" keeps the old one

    QTest::newRow("LM lowest") << "numLM" << "-99999" << "-99999";
    QTest::newRow("LM below") << "numLM" << "-100000" << "refused";
    QTest::newRow("TM highest") << "numTM" << "99999" << "99999";
    QTest::newRow("TM above") << "numTM" << "100000" << "refused";
    QTest::newRow("T1 fraction shown and kept whole") << "numT1" << "12.5" << "13";
    QTest::newRow("colour white") << "num白紙罫線色" << "16777215" << "16777215";
    QTest::newRow("colour beyond any colour") << "num白紙罫線色" << "16777216" << "refused";
    QTest::newRow("colour old maximum") << "num白紙罫線色" << "999999999" << "refused";
    QTest::newRow("colour negative") << "num白紙罫線色" << "-1" << "refused";
}

void TestPrintSettingsWindow::numberBoxesTakeTheirRanges()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    SessionFixture f;
    QVERIFY(f.open());
    NumberBox* b = a4Box(f, box);
    QVERIFY(b);
    const QString old = number(b);
    QCOMPARE(b->setTextValue(typed), value != "refused");
    QCOMPARE(number(b), value == "refused" ? old : value);
}

// A number a box refuses is told where it is typed, naming the field and
// what it takes; the 登録 pressed over it asks nothing and stores nothing.
void TestPrintSettingsWindow::refusedNumberIsToldAndStopsTheSave_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("LM letters") << "numLM" << "abc" << "レフトマージン(LM)には数字以外使用できません";
    QTest::newRow("TM too large") << "numTM" << "123456"
                                  << "トップマージン(TM)には -99,999 から 99,999 までの数を入力してください";
    QTest::newRow("T1 exponent") << "numT1" << "1e400" << "Ｔ1には数字以外使用できません";
    QTest::newRow("colour negative") << "num白紙罫線色" << "-5"
                                     << "白紙用紙の罫線の色には 0 から 16,777,215 までの数を入力してください";
}

void TestPrintSettingsWindow::refusedNumberIsToldAndStopsTheSave()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    SessionFixture f;
    QVERIFY(f.open());
    NumberBox* b = a4Box(f, box);
    QVERIFY(b);
    auto* w = qobject_cast<SetPrnWindow*>(b->window());
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    const QString old = number(b);
    const auto stored = storedRows(f.data(), QStringLiteral("MA4"));
    b->setFocus();
    QTest::keyClicks(b, typed);
    f.messages.clear();
    QTest::mouseClick(w->cmd登録, Qt::LeftButton);

    QTRY_COMPARE(f.messages.texts(), QStringList{message});
    QCOMPARE(number(b), old);
    QCOMPARE(storedRows(f.data(), QStringLiteral("MA4")), stored);
}

void TestPrintSettingsWindow::combosArePickOnly()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET 自社名フォント = 'IPAGothic' WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    const QStringList before = shown(w);
    for (PickOnlyComboBox* c : {w->cmb自社名フォント, w->cmb顧客名フォント, w->cmb自社情報フォント, w->cmb顧客情報フォント,
                                w->cmb自社名サイズ, w->cmb顧客名サイズ, w->cmb自社情報サイズ, w->cmb顧客情報サイズ}) {
        QTest::keyClicks(c, QStringLiteral("x1"));
        QTest::keyClick(c, Qt::Key_Backspace);
    }
    for (PickOnlyComboBox* c : {w->cmb自社名サイズ, w->cmb顧客名サイズ, w->cmb自社情報サイズ, w->cmb顧客情報サイズ})
        QTest::keyClick(c, Qt::Key_Delete);
    QCOMPARE(shown(w), before);

    // Delete in a font box takes the font away (stored as none).
    QTest::keyClick(w->cmb自社名フォント, Qt::Key_Delete);
    QCOMPARE(w->cmb自社名フォント->text(), QString());
    w->cmd登録->click();
    QCOMPARE(storedRows(f.data(), QStringLiteral("MA4")).value(0).value("自社名フォント"), QStringLiteral("NULL"));
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
    a4->cmb自社名フォント->setText(family);
    a4->cmb自社名サイズ->setText(QStringLiteral("20"));
    a4->cmb自社情報サイズ->setText(QStringLiteral("8"));
    a4->cmd登録->click();
    QCOMPARE(name->font().family(), family);
    QCOMPARE(name->font().pointSizeF(), 20.0);
    QCOMPARE(block->font().pointSizeF(), 8.0);

    // The B5 layout's fonts are not the labels'.
    SetPrnWindow* b5 = openWindow(f, QStringLiteral("MB5"));
    QVERIFY(b5);
    b5->cmb自社名サイズ->setText(QStringLiteral("9"));
    b5->cmd登録->click();
    QCOMPARE(name->font().pointSizeF(), 20.0);

    // A font taken away again gives the label back its designed face.
    a4->cmb自社名フォント->setText(QString());
    a4->cmd登録->click();
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
    w->txtタイトル1->setText(QStringLiteral("保存しない"));
    w->cmd閉じる->click();
    QTRY_VERIFY(first.isNull());
    w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    QCOMPARE(w->txtタイトル1->text(), QStringLiteral("見積書"));
    QVERIFY(f.messages.shown().isEmpty());
}

void TestPrintSettingsWindow::sampleMarksThePrintedPlaces_data() { bothLayouts(); }

// The four frames on the sample surround the places where the layout prints
// the four text blocks, and no caption sits on another frame.
void TestPrintSettingsWindow::sampleMarksThePrintedPlaces()
{
    QFETCH(QString, code);
    SessionFixture f;
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    const bool b5 = code == QStringLiteral("MB5");
    const ReportLayout layout = b5 ? rpt見積書B5::designedLayout() : Rpt見積書A401::designedLayout();
    const QList<std::pair<SampleMark*, QStringList>> marks{
        {w->Frame1, {u"txt自社名"_qs}},
        {w->Frame2, {u"txt自社情報"_qs}},
        {w->Frame3, {b5 ? u"txt宛名情報"_qs : u"txt顧客情報"_qs}},
        {w->Frame4, {u"txt顧客名"_qs, u"txt敬称"_qs}},
    };
    const QRect page = w->Picture1->pageRect().toAlignedRect();
    for (const auto& [mark, controls] : marks) {
        QRectF printed;
        for (const QString& name : controls) printed |= w->Picture1->map(layout.find(name)->rect);
        const QRect outline = mark->outline();
        QVERIFY2(outline.contains(printed.toRect()), qPrintable(mark->caption()));
        QVERIFY2(printed.toAlignedRect().adjusted(-1, -1, 1, 1).contains(outline), qPrintable(mark->caption()));
        QVERIFY(page.contains(mark->captionRect()));
        for (const auto& [other, unused] : marks) {
            if (other == mark) continue;
            const QString pair = mark->caption() + QStringLiteral(" / ") + other->caption();
            QVERIFY2(!outline.intersects(other->outline()), qPrintable(pair));
            QVERIFY2(!mark->captionRect().intersects(other->outline()), qPrintable(pair));
            QVERIFY2(!mark->captionRect().intersects(other->captionRect()), qPrintable(pair));
        }
    }
}

void TestPrintSettingsWindow::marginsThatDoNotFitAreTold_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("lm");
    QTest::addColumn<int>("tm");
    QTest::addColumn<int>("printedLm");
    QTest::addColumn<int>("printedTm");
    QTest::newRow("A4: margins that fit") << "MA4" << 497 << 600 << 497 << 600;
    QTest::newRow("A4: LM 1440") << "MA4" << 1440 << 0 << 497 << 0;
    QTest::newRow("A4: TM 99999") << "MA4" << 0 << 99999 << 0 << 9325;
    QTest::newRow("A4: both beyond the paper's corner") << "MA4" << -99999 << -99999 << -792 << -800;
    QTest::newRow("B5: LM 1440, TM 20000") << "MB5" << 1440 << 20000 << 462 << 6035;
}

// A stored margin that would push the print off the paper (or leave a page no
// room for a row) is told under the margins, with the value the print holds
// it to; so is one typed, and the note goes when the margins fit.
void TestPrintSettingsWindow::marginsThatDoNotFitAreTold()
{
    QFETCH(QString, code);
    QFETCH(int, lm);
    QFETCH(int, tm);
    QFETCH(int, printedLm);
    QFETCH(int, printedTm);

    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET LM = %1, TM = %2 WHERE 型番 = '%3'").arg(lm).arg(tm).arg(code)});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    QStringList expected;
    if (printedLm != lm)
        expected << QStringLiteral("LM %1 は用紙に収まらないため、印刷では %2 になります。").arg(lm).arg(printedLm);
    if (printedTm != tm)
        expected << QStringLiteral("TM %1 は用紙に収まらないため、印刷では %2 になります。").arg(tm).arg(printedTm);
    QCOMPARE(w->lblマージン注意->text(), expected.join(u'\n'));

    // The print is where the note says: as with the values it names (the
    // widest box may end half a twip short of the paper's edge).
    PrintSettingsEntry given;
    given.LM = lm;
    given.TM = tm;
    PrintSettingsEntry held = given;
    held.LM = printedLm;
    held.TM = printedTm;
    const auto origin = [&](const PrintSettingsEntry& e) {
        if (code == u"MB5"_qs) return rpt見積書B5({}, e, f.session.設定情報).build({}).origin;
        return Rpt見積書A401({}, e, f.session.設定情報).build({}).origin;
    };
    const QPointF off = origin(given) - origin(held);
    QVERIFY2(std::abs(off.x()) < 1 && std::abs(off.y()) < 1, qPrintable(u"%1, %2"_qs.arg(off.x()).arg(off.y())));

    // Typed margins are told as well; ones that fit clear the note.
    w->numLM->setValue(Currency::fromWhole(50000));
    QVERIFY(w->lblマージン注意->text().startsWith(u"LM 50000 は用紙に収まらないため"_qs));
    w->numLM->setValue(Currency::fromWhole(0));
    w->numTM->setValue(Currency::fromWhole(0));
    QCOMPARE(w->lblマージン注意->text(), QString());
}

QTEST_MAIN(TestPrintSettingsWindow)
#include "tst_print_settings_window.moc"
