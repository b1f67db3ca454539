// The code-list window コード表 over a fresh data folder: the lists it offers,
// the 99 slots it loads, saving and deleting by slot code (stray and partial
// stored lists included), a list never stored, one transaction per write,
// and (from the main window) the way into the quotation tab's lists.

#include "app/Session.h"
#include "masters/FrmCode.h"
#include "masters/MasterWrite.h"
#include "platform/Controls.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/SessionFixture.h"
#include "support/WidgetText.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kUnit = QStringLiteral("単位");

// The window on the session alone.
FrmCode* openCodeWindow(SessionFixture& f)
{
    return f.openWindow<FrmCode>(QStringLiteral("Frmコード"));
}

// The window opened with the quotation tab's button.
FrmCode* openCodeWindow(MainWindowFixture& f)
{
    control<QPushButton>(f.quotation(), "cmdコード")->click();
    return qobject_cast<FrmCode*>(f.session.windows().find(QStringLiteral("Frmコード")));
}

// "code=text" of the stored rows of a list, in row order; a Null text reads "code=<null>".
QStringList storedRows(Database& data, const QString& kcode)
{
    QStringList out;
    for (const QSqlRecord& r : data.rows(QStringLiteral("select code, sname from コードマスタ where kcode = ? order by rowid"), {kcode})) {
        out << r.value(0).toString() + QLatin1Char('=') +
                   (r.value(1).isNull() ? QStringLiteral("<null>") : r.value(1).toString());
    }
    return out;
}

// The rows a list holds when it has exactly the slots "01".."99" with the given texts ("03=C").
QStringList slotRows(const QStringList& filled)
{
    QStringList out;
    for (int i = 1; i <= 99; ++i) out << QStringLiteral("%1=<null>").arg(i, 2, 10, QLatin1Char('0'));
    for (const QString& f : filled) out[f.left(2).toInt() - 1] = f;
    return out;
}

// The grid's rows as the work table holds them, in the same form.
QStringList gridRows(SessionFixture& f)
{
    QStringList out;
    for (const QSqlRecord& r : f.work().rows(QStringLiteral("select code, sname from wコードマスタ order by rowid"))) {
        out << r.value(0).toString() + QLatin1Char('=') +
                   (r.value(1).isNull() ? QStringLiteral("<null>") : r.value(1).toString());
    }
    return out;
}

// The list on screen: the window's model of wコードマスタ.
WorkTableModel* slotList(const FrmCode* w)
{
    return control<WorkTableModel>(*w, "datコード");
}

int column(FrmCode* w, const char16_t* field)
{
    return slotList(w)->columnOf(QString::fromUtf16(field));
}

// Writes a cell the way the grid's editor does.
bool editSlot(FrmCode* w, int slot, const char16_t* field, const QString& text)
{
    return slotList(w)->editCell(slot - 1, column(w, field), text);
}

const QString kDeleteQuestion = QStringLiteral("指定されたデータ を削除します。よろしいですか");

}  // namespace

class TestCodeList : public QObject {
    Q_OBJECT
private slots:
    void chooserAndSlotsOnLoad_data();
    void chooserAndSlotsOnLoad();
    void save_data();
    void save();
    void deleteTicked_data();
    void deleteTicked();
    void clearedWindowStoresNothing_data();
    void clearedWindowStoresNothing();
    void failedWriteChangesNothing_data();
    void failedWriteChangesNothing();
    void onlyTickAndTextAreEdited();
    void busyWindowStartsNothing();
    void unitTypedHereReachesQuotationList();
    void picture();
};

void TestCodeList::chooserAndSlotsOnLoad_data()
{
    QTest::addColumn<QString>("packTitle");
    QTest::addColumn<QStringList>("statements");  // on the data file before the window opens
    QTest::addColumn<QString>("list");            // picked after the load ("" keeps 単位)
    QTest::addColumn<QStringList>("filled");      // the slots that show a text

    QTest::newRow("shipped lists") << "入数" << QStringList{} << "" << QStringList{};
    QTest::newRow("filled slots, free slot, empty text")
        << "入数"
        << QStringList{"update コードマスタ set sname = '本' where kcode = '単位' and code = '01'",
                       "update コードマスタ set sname = '' where kcode = '単位' and code = '02'",
                       "update コードマスタ set sname = '箱' where kcode = '単位' and code = '99'"}
        << "" << QStringList{"01=本", "02=", "99=箱"};
    // Codes outside "01".."99" have no slot and are not shown; a list of only
    // some slots shows the rest empty.
    QTest::newRow("stray codes, partial list")
        << "入数"
        << QStringList{"delete from コードマスタ where kcode = '納期'",
                       "insert into コードマスタ (kcode, code, sname) values ('納期', '01', '即納'), ('納期', '7', '七'), "
                       "('納期', '100', '百'), ('納期', '03', '翌週'), ('納期', '', '空'), ('納期', NULL, '無')"}
        << "納期" << QStringList{"01=即納", "03=翌週"};
    QTest::newRow("retitled pack list, never stored") << "規格" << QStringList{} << "規格" << QStringList{};
    QTest::newRow("list name with an apostrophe")
        << "5'S"
        << QStringList{"insert into コードマスタ (kcode, code, sname) values ('5''S', '02', 'L''s')"}
        << "5'S" << QStringList{"02=L's"};
}

void TestCodeList::chooserAndSlotsOnLoad()
{
    QFETCH(QString, packTitle);
    QFETCH(QStringList, statements);
    QFETCH(QString, list);
    QFETCH(QStringList, filled);
    SessionFixture f;
    f.folder.prepare(statements);
    QVERIFY(f.open());
    f.session.設定情報.入数列タイトル = packTitle;
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    auto* cmb区分 = control<PickOnlyComboBox>(*w, "cmb区分");
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("コード表"));

    QStringList items;
    for (int i = 0; i < cmb区分->count(); ++i) items << cmb区分->itemText(i);
    QCOMPARE(items, (QStringList{"単位", "商品区分", packTitle, "有効期限", "支払条件", "受渡場所", "納期"}));
    QCOMPARE(cmb区分->text(), kUnit);
    if (!list.isEmpty()) {
        cmb区分->setCurrentIndex(items.indexOf(list));
        emit cmb区分->activated(items.indexOf(list));
        QCOMPARE(cmb区分->text(), list);
    }

    QCOMPARE(gridRows(f), slotRows(filled));
    QCOMPARE(slotList(w)->rowCount(), 99);
    QVERIFY(slotList(w)->checkedRowids(column(w, u"チェック")).isEmpty());
    QVERIFY(f.messages.shown().isEmpty());
    // Loading stores nothing.
    if (list == QStringLiteral("規格")) QVERIFY(storedRows(f.data(), list).isEmpty());
}

void TestCodeList::save_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("statements");  // on the data file before the window opens
    QTest::addColumn<QStringList>("edits");       // "slot=text" typed into the grid
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("stored");      // the filled slots afterwards; the list has exactly 99 rows

    QTest::newRow("typed slots") << "単位" << QStringList{} << QStringList{"01=本", "03=ダース", "99=箱"} << true
                                 << QStringList{"01=本", "03=ダース", "99=箱"};
    // An emptied slot is free again (Null), also one that held an empty text.
    QTest::newRow("emptied slot is Null")
        << "単位"
        << QStringList{"update コードマスタ set sname = '本' where kcode = '単位' and code in ('01', '02')",
                       "update コードマスタ set sname = '' where kcode = '単位' and code = '04'"}
        << QStringList{"02="} << true << QStringList{"01=本"};
    // Each text goes under the code the grid shows it at; stray rows go, missing slots come back.
    QTest::newRow("stray codes and a partial list")
        << "納期"
        << QStringList{"delete from コードマスタ where kcode = '納期'",
                       "insert into コードマスタ (kcode, code, sname) values ('7', '01', 'other list'), "
                       "('納期', '7', '七'), ('納期', '02', '即納'), ('納期', '100', '百'), ('納期', '05', '翌週')"}
        << QStringList{"03=月末"} << true << QStringList{"02=即納", "03=月末", "05=翌週"};
    // A list never stored is stored whole by 登録.
    QTest::newRow("never stored list") << "規格" << QStringList{} << QStringList{"02=S"} << true << QStringList{"02=S"};
    QTest::newRow("answer No")
        << "単位" << QStringList{"update コードマスタ set sname = '本' where kcode = '単位' and code = '01'"}
        << QStringList{"01=個"} << false << QStringList{"01=本"};
    QTest::newRow("list name and texts with apostrophes")
        << "5'S" << QStringList{"insert into コードマスタ (kcode, code, sname) values ('5''S', '01', 'a')"}
        << QStringList{"01=it's", "02='"} << true << QStringList{"01=it's", "02='"};
}

void TestCodeList::save()
{
    QFETCH(QString, list);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, edits);
    QFETCH(bool, yes);
    QFETCH(QStringList, stored);
    SessionFixture f;
    f.folder.prepare(statements);
    QVERIFY(f.open());
    f.session.設定情報.入数列タイトル = list == QStringLiteral("規格") ? list : QStringLiteral("5'S");
    const QStringList otherLists = storedRows(f.data(), QStringLiteral("7")) + storedRows(f.data(), QStringLiteral("商品区分"));
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    control<PickOnlyComboBox>(*w, "cmb区分")->setText(list);
    w->Readコード表(list);
    for (const QString& e : edits) QVERIFY(editSlot(w, e.left(2).toInt(), u"sname", e.mid(3)));
    f.messages.setDefaultAnswer(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QTest::mouseClick(control<QPushButton>(*w, "cmd登録"), Qt::LeftButton);

    QStringList texts{list + QStringLiteral(" を登録します。よろしいですか")};
    if (yes) texts << list + QStringLiteral(" を登録しました。");
    QCOMPARE(f.messages.texts(), texts);
    QCOMPARE(storedRows(f.data(), list), slotRows(stored));
    // Other lists are left alone.
    QCOMPARE(storedRows(f.data(), QStringLiteral("7")) + storedRows(f.data(), QStringLiteral("商品区分")), otherLists);
}

void TestCodeList::deleteTicked_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("statements");  // on the data file before the window opens
    QTest::addColumn<QStringList>("edits");       // "slot=text" typed, not saved
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("grid");    // the filled slots the grid shows afterwards
    QTest::addColumn<QStringList>("stored");  // the stored list afterwards, row by row

    const QStringList aToF{"01=A", "02=B", "03=C", "04=D", "05=E", "06=F"};
    QStringList fill;
    for (const QString& e : aToF)
        fill << QStringLiteral("update コードマスタ set sname = '%1' where kcode = '単位' and code = '%2'").arg(e.mid(3), e.left(2));
    QList<int> all;
    for (int i = 1; i <= 99; ++i) all << i;

    QTest::newRow("ticks 02 and 05") << "単位" << fill << QStringList{} << QList<int>{2, 5} << true
                                     << QStringList{"01=A", "02=C", "03=D", "04=F"} << slotRows({"01=A", "02=C", "03=D", "04=F"});
    QTest::newRow("no tick") << "単位" << fill << QStringList{} << QList<int>{} << true << aToF << slotRows(aToF);
    QTest::newRow("all ticked") << "単位" << fill << QStringList{} << all << true << QStringList{} << slotRows({});
    // Only the ticked slots go: a free slot between texts stays where it is.
    QTest::newRow("gap kept") << "単位" << fill << QStringList{"03="} << QList<int>{1} << true
                              << QStringList{"01=B", "03=D", "04=E", "05=F"} << slotRows({"01=B", "03=D", "04=E", "05=F"});
    QTest::newRow("answer No") << "単位" << fill << QStringList{} << QList<int>{2, 5} << false << aToF << slotRows(aToF);
    // What was typed and not saved is stored with the deletion.
    QTest::newRow("unsaved edit") << "単位" << fill << QStringList{"07=G", "01=Z"} << QList<int>{2} << true
                                  << QStringList{"01=Z", "02=C", "03=D", "04=E", "05=F", "06=G"}
                                  << slotRows({"01=Z", "02=C", "03=D", "04=E", "05=F", "06=G"});
    QTest::newRow("stray and missing rows")
        << "納期"
        << QStringList{"delete from コードマスタ where kcode = '納期'",
                       "insert into コードマスタ (kcode, code, sname) values ('納期', '7', '七'), ('納期', '02', 'B'), "
                       "('納期', '04', 'D'), ('納期', '100', '百')"}
        << QStringList{} << QList<int>{2} << true << QStringList{"03=D"} << slotRows({"03=D"});
    // A list never stored stays unstored: only the grid moves up.
    QTest::newRow("never stored") << "規格" << QStringList{} << QStringList{"01=S", "02=M", "03=L"} << QList<int>{2}
                                  << true << QStringList{"01=S", "02=L"} << QStringList{};
    QTest::newRow("name with an apostrophe")
        << "5'S" << QStringList{"insert into コードマスタ (kcode, code, sname) values ('5''S', '01', 'x'), ('5''S', '02', 'y''s')"}
        << QStringList{} << QList<int>{1} << true << QStringList{"01=y's"} << slotRows({"01=y's"});
}

void TestCodeList::deleteTicked()
{
    QFETCH(QString, list);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, edits);
    QFETCH(QList<int>, ticks);
    QFETCH(bool, yes);
    QFETCH(QStringList, grid);
    QFETCH(QStringList, stored);
    SessionFixture f;
    f.folder.prepare(statements);
    QVERIFY(f.open());
    f.session.設定情報.入数列タイトル = list == QStringLiteral("規格") ? list : QStringLiteral("5'S");
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    WorkTableModel* datコード = slotList(w);
    control<PickOnlyComboBox>(*w, "cmb区分")->setText(list);
    w->Readコード表(list);
    const QStringList before = gridRows(f);
    for (const QString& e : edits) QVERIFY(editSlot(w, e.left(2).toInt(), u"sname", e.mid(3)));
    for (int slot : ticks) QVERIFY(editSlot(w, slot, u"チェック", QStringLiteral("1")));
    f.messages.setDefaultAnswer(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QTest::mouseClick(control<QPushButton>(*w, "cmd行削除"), Qt::LeftButton);

    // The question, and no completion box.
    QCOMPARE(f.messages.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(f.messages.shown().first().defaultButton, MessageBoxSpec::Default::No);
    QCOMPARE(storedRows(f.data(), list), stored);
    if (!yes) {
        QCOMPARE(datコード->checkedRowids(column(w, u"チェック")).size(), ticks.size());
        QCOMPARE(gridRows(f), before);
        return;
    }
    QCOMPARE(gridRows(f), slotRows(grid));
    QCOMPARE(datコード->rowCount(), 99);
    QVERIFY(datコード->checkedRowids(column(w, u"チェック")).isEmpty());
}

void TestCodeList::clearedWindowStoresNothing_data()
{
    QTest::addColumn<bool>("readFails");
    QTest::newRow("クリア") << false;
    // A list that cannot be read leaves the window as クリア does, never 99
    // empty slots that 登録 would store over the list.
    QTest::newRow("a list that cannot be read") << true;
}

void TestCodeList::clearedWindowStoresNothing()
{
    QFETCH(bool, readFails);
    SessionFixture f;
    f.folder.prepare({QStringLiteral("update コードマスタ set sname = '文具' where kcode = '商品区分' and code = '01'")});
    QVERIFY(f.open());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    auto* cmb区分 = control<PickOnlyComboBox>(*w, "cmb区分");
    QVERIFY(editSlot(w, 1, u"sname", QStringLiteral("本")));
    QVERIFY(editSlot(w, 1, u"チェック", QStringLiteral("1")));
    const QStringList before = TableSnapshot(f.data(), {QStringLiteral("コードマスタ")});

    if (readFails) {
        QVERIFY(f.data().exec(QStringLiteral("alter table コードマスタ rename to コードマスタ控え")));
        emit cmb区分->activated(1);
        QVERIFY(f.data().exec(QStringLiteral("alter table コードマスタ控え rename to コードマスタ")));
        QCOMPARE(f.messages.shown().size(), 1);
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("エラー"));
        QVERIFY2(f.messages.texts().first().startsWith(QStringLiteral("商品区分 を読み込めませんでした。")),
                 qPrintable(f.messages.texts().first()));
        f.messages.clear();
    } else {
        QTest::mouseClick(control<QPushButton>(*w, "cmdクリア"), Qt::LeftButton);
    }
    QCOMPARE(cmb区分->text(), QString());
    QStringList rows;
    for (int i = 1; i <= 98; ++i) rows << QStringLiteral("%1=<null>").arg(i);
    QCOMPARE(gridRows(f), rows);

    QTest::mouseClick(control<QPushButton>(*w, "cmd行削除"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(*w, "cmd登録"), Qt::LeftButton);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("コードマスタ")}), before);

    // Choosing a list loads it again.
    emit cmb区分->activated(1);
    QCOMPARE(cmb区分->text(), QStringLiteral("商品区分"));
    QCOMPARE(gridRows(f), slotRows({"01=文具"}));
}

void TestCodeList::failedWriteChangesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("trigger");  // refuses one row part-way
    QTest::addColumn<QString>("failure");

    QTest::newRow("save, insert refused") << "cmd登録"
                                          << "before insert on コードマスタ when new.code = '50'"
                                          << "単位 を登録できませんでした。";
    QTest::newRow("delete, insert refused") << "cmd行削除"
                                            << "before insert on コードマスタ when new.code = '50'"
                                            << "指定されたデータを削除できませんでした。";
    QTest::newRow("delete, grid refused") << "cmd行削除"
                                          << "before insert on wコードマスタソート when new.code = '50'"
                                          << "指定されたデータを削除できませんでした。";
}

void TestCodeList::failedWriteChangesNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, trigger);
    QFETCH(QString, failure);
    SessionFixture f;
    const QString create = QStringLiteral("create trigger refuse %1 begin select raise(abort, 'refused'); end").arg(trigger);
    f.folder.prepare({QStringLiteral("update コードマスタ set sname = code where kcode = '単位' and code <= '05'")});
    if (trigger.contains(QStringLiteral("wコードマスタ"))) f.folder.prepare({create}, f.folder.workDbPath());
    else f.folder.prepare({create});
    QVERIFY(f.open());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    QVERIFY(editSlot(w, 2, u"チェック", QStringLiteral("1")));
    QVERIFY(editSlot(w, 4, u"sname", QStringLiteral("四")));
    const QStringList stored = storedRows(f.data(), kUnit);
    const QStringList grid = gridRows(f);

    QTest::mouseClick(w->findChild<QPushButton*>(button), Qt::LeftButton);

    QCOMPARE(f.messages.shown().size(), 2);  // the question, then the failure
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    QVERIFY2(f.messages.texts().last().startsWith(failure), qPrintable(f.messages.texts().last()));
    QVERIFY(f.messages.shown().last().detail.contains(QStringLiteral("refused")));
    QCOMPARE(storedRows(f.data(), kUnit), stored);
    QCOMPARE(gridRows(f), grid);
    QCOMPARE(slotList(w)->checkedRowids(column(w, u"チェック")).size(), 1);
    QVERIFY(!f.session.operationRunning());
}

void TestCodeList::onlyTickAndTextAreEdited()
{
    SessionFixture f;
    QVERIFY(f.open());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    const QList<std::pair<const char16_t*, Qt::ItemFlags>> columns{
        {u"行番号", {}}, {u"チェック", Qt::ItemIsUserCheckable}, {u"code", {}}, {u"sname", Qt::ItemIsEditable}};
    for (const auto& [field, edit] : columns) {
        const Qt::ItemFlags flags = slotList(w)->flags(slotList(w)->index(2, column(w, field)));
        QCOMPARE(flags & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable), edit);
    }
    // Typing over a code changes nothing; the row of the slot stays the slot.
    QVERIFY(!editSlot(w, 3, u"code", QStringLiteral("77")));
    QVERIFY(!editSlot(w, 3, u"行番号", QStringLiteral("1")));
    QCOMPARE(gridRows(f), slotRows({}));
}

void TestCodeList::busyWindowStartsNothing()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("update コードマスタ set sname = '本' where kcode = '単位' and code = '01'")});
    QVERIFY(f.open());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    QVERIFY(editSlot(w, 1, u"チェック", QStringLiteral("1")));
    QVERIFY(editSlot(w, 2, u"sname", QStringLiteral("箱")));
    const QStringList stored = TableSnapshot(f.data(), {QStringLiteral("コードマスタ")});
    const QStringList grid = gridRows(f);

    // Another operation runs (its busy label shows).
    f.session.setOperationRunning(true);
    for (const char* button : {"cmd登録", "cmd行削除", "cmdクリア"}) QTest::mouseClick(control<QPushButton>(*w, button), Qt::LeftButton);
    auto* cmb区分 = control<PickOnlyComboBox>(*w, "cmb区分");
    emit cmb区分->activated(1);
    QCOMPARE(cmb区分->text(), kUnit);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(gridRows(f), grid);
    QCOMPARE(TableSnapshot(f.data(), {QStringLiteral("コードマスタ")}), stored);
    // A write asked for meanwhile is refused as well, without a box.
    bool ran = false;
    MasterWrite write;
    write.databases = {&f.data()};
    write.doneCategory = QStringLiteral("登録");
    QCOMPARE(RunMasterWrite(f.session, write, [&ran](Failure&) { return ran = true; }), WriteResult::Busy);
    QVERIFY(!ran);
    QVERIFY(f.messages.shown().isEmpty());

    f.session.setOperationRunning(false);
    QTest::mouseClick(control<QPushButton>(*w, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts().last(), QStringLiteral("単位 を登録しました。"));
    QCOMPARE(storedRows(f.data(), kUnit), slotRows({"01=本", "02=箱"}));
}

void TestCodeList::unitTypedHereReachesQuotationList()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));

    // Slot 03 of 単位, typed through the grid.
    GridView* grid = control<GridView>(*w, "Gridコードマスタ");
    grid->setFocus();
    grid->setCurrentCell(2, column(w, u"sname"));
    typeText(grid, QStringLiteral("ダース"));
    QVERIFY(grid->isEditing());
    QTest::keyClick(grid->editorWidget(), Qt::Key_Return);
    // Enter went on to the next slot's text.
    QCOMPARE(grid->currentRow(), 3);
    QTest::mouseClick(control<QPushButton>(*w, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), (QStringList{"単位 を登録します。よろしいですか", "単位 を登録しました。"}));
    QCOMPARE(storedRows(f.data(), kUnit), slotRows({"03=ダース"}));

    // The quotation tab re-reads its lists (a new quotation) and offers the unit.
    QVERIFY(f.activate());
    control<QPushButton>(f.quotation(), "cmdクリア")->click();
    GridView* details = control<GridView>(f.quotation(), "Grid明細");
    details->setFocus();
    details->setCurrentCell(0, 5);  // 単位
    QTest::keyClick(details, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(details->editorWidget());
    QVERIFY(combo);
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    QStringList units;
    for (int i = 0; i < combo->count(); ++i) units << combo->itemText(i);
    QCOMPARE(units, QStringList{QStringLiteral("ダース")});
    combo->hidePopup();
}

void TestCodeList::picture()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("update コードマスタ set sname = '本' where kcode = '単位' and code = '01'"),
                      QStringLiteral("update コードマスタ set sname = '個' where kcode = '単位' and code = '02'"),
                      QStringLiteral("update コードマスタ set sname = 'ダース' where kcode = '単位' and code = '03'")});
    QVERIFY(f.open());
    FrmCode* w = openCodeWindow(f);
    QVERIFY(w);
    QVERIFY(editSlot(w, 2, u"チェック", QStringLiteral("1")));
    const QImage image = w->grab().toImage();
    QVERIFY(!image.isNull());
    // Kept to look at when asked.
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(image.save(QDir(dir).filePath(QStringLiteral("code_list.png"))));
    // Captions and tool-tips as the user reads them.
    const QList<std::pair<const char*, QStringList>> buttons{
        {"cmdクリア", {"クリア", "伝票情報を画面上から消去します。登録済みの伝票は無くなりません。"}},
        {"cmd行削除", {"行削除", "明細行のフォーカスのある行を１行削除します。"}},
        {"cmd登録", {"登録", "左明細のコードを登録します。"}},
        {"cmd閉じる", {"閉じる", "コード登録画面を終了します。"}}};
    for (const auto& [name, texts] : buttons) {
        const QPushButton* b = control<QPushButton>(*w, name);
        QCOMPARE((QStringList{b->text(), b->toolTip()}), texts);
    }
    QCOMPARE(control<QLabel>(*w, "Label1")->text(), QStringLiteral("区分"));
    QStringList captions;
    for (int c = 0; c < slotList(w)->columnCount(); ++c)
        if (!control<GridView>(*w, "Gridコードマスタ")->isColumnHidden(c))
            captions << slotList(w)->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, (QStringList{"行番号", "", "code", "名     称"}));
    // Every control lies inside the window.
    for (const char* name : {"cmb区分", "Gridコードマスタ", "cmd閉じる"})
        QVERIFY(w->rect().contains(placeIn(*w, control<QWidget>(*w, name))));
}

QTEST_MAIN(TestCodeList)
#include "tst_code_list.moc"
