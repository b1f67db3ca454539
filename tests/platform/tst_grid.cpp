#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/StoredCells.h"
#include "support/WidgetText.h"
#include "support/WorkDetailTable.h"
#include "platform/WorkTableModel.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QVBoxLayout>
#include <QtTest>

using Kind = WorkTableModel::Kind;

namespace {

const QString kDetail = QStringLiteral("w明細");

}  // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void rowsFollowTableOnRefresh_data();
    void rowsFollowTableOnRefresh();
    void shownText_data();
    void shownText();
    void editPipeline_data();
    void editPipeline();
    void writesFromCodeRunNoHooks();
    void typingInViewReachesTable_data();
    void typingInViewReachesTable();
    void openEditorCommits_data();
    void openEditorCommits();
    void dropDownPick_data();
    void dropDownPick();
    void checkBoxClick_data();
    void checkBoxClick();
    void rowStylePaintsRow();
    void refreshKeepsCurrentCellAndLayout();
};

void TestGrid::rowsFollowTableOnRefresh_data()
{
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<QStringList>("numbers");  // 行番号 of the rows, as shown
    QTest::newRow("values changed in place") << QStringList{"update w明細 set 行番号 = 行番号 * 1000"}
                                             << QStringList{"1,000", "2,000", "3,000", "4,000", "5,000"};
    QTest::newRow("row deleted") << QStringList{"delete from w明細 where 行番号 = 2"}
                                 << QStringList{"1", "3", "4", "5"};
    QTest::newRow("added row comes last") << QStringList{"insert into w明細 (行番号) values (0)"}
                                          << QStringList{"1", "2", "3", "4", "5", "0"};
    QTest::newRow("table order, not sorted")
        << QStringList{"delete from w明細", "insert into w明細 (行番号) values (3)",
                       "insert into w明細 (行番号) values (1)", "insert into w明細 (行番号) values (2)"}
        << QStringList{"3", "1", "2"};
}

void TestGrid::rowsFollowTableOnRefresh()
{
    QFETCH(QStringList, sql);
    QFETCH(QStringList, numbers);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    QVERIFY(db.exec(QStringLiteral("delete from w明細 where 行番号 > 5")));
    WorkTableModel& model = t.model();
    QCOMPARE(model.rowCount(), 5);

    for (const QString& s : sql) QVERIFY(db.exec(s));
    QVERIFY(model.refresh());

    const int c = model.columnOf(QStringLiteral("行番号"));
    QStringList shown;
    for (int r = 0; r < model.rowCount(); ++r) {
        shown << model.data(model.index(r, c)).toString();
        if (r > 0) QVERIFY(model.rowid(r) > model.rowid(r - 1));
    }
    QCOMPARE(shown, numbers);
}

void TestGrid::shownText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");

    const QVariant null;
    QTest::newRow("money #,###") << "単価" << Kind::Money << "#,###" << QVariant(12345000LL) << "1,235" << "1234.5";
    QTest::newRow("money Standard") << "数量" << Kind::Money << "Standard" << QVariant(12345000LL) << "1,234.50" << "1234.5";
    QTest::newRow("money negative") << "金額" << Kind::Money << "#,###" << QVariant(-98765430000LL) << "-9,876,543" << "-9876543";
    QTest::newRow("money zero") << "金額" << Kind::Money << "#,###" << QVariant(0LL) << "0" << "0";
    QTest::newRow("money NULL") << "金額" << Kind::Money << "#,###" << null << "" << "";
    QTest::newRow("integer") << "行番号" << Kind::Integer << "#,###" << QVariant(1234567LL) << "1,234,567" << "1234567";
    QTest::newRow("text") << "品名" << Kind::Text << "#,###" << QVariant("鉛筆 HB") << "鉛筆 HB" << "鉛筆 HB";
    QTest::newRow("text NULL") << "品名" << Kind::Text << "#,###" << null << "" << "";
    QTest::newRow("date") << "ふりがな" << Kind::Date << "#,###" << QVariant("2026-12-09") << "2026/12/09" << "2026/12/09";
}

void TestGrid::shownText()
{
    QFETCH(QString, field);
    QFETCH(Kind, kind);
    QFETCH(QString, format);
    QFETCH(QVariant, stored);
    QFETCH(QString, display);
    QFETCH(QString, edit);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    QVERIFY(db.exec(QStringLiteral("update w明細 set %1 = ? where 行番号 = 1").arg(Database::quoteIdent(field)), {stored}));
    WorkTableModel& model = t.model();
    const int c = model.columnOf(field);
    model.column(c).kind = kind;
    model.column(c).format = format;

    const QModelIndex i = model.index(0, c);
    QCOMPARE(model.data(i, Qt::DisplayRole).toString(), display);
    QCOMPARE(model.data(i, Qt::EditRole).toString(), edit);
    QCOMPARE(model.isNull(0, c), stored.isNull());
    QVERIFY(!model.data(i, Qt::CheckStateRole).isValid());
}

void TestGrid::editPipeline_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("before");  // stored before the edit
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QString>("hook");     // "", "cancel" or the text the hook puts in
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("after");    // stored after the edit ("NULL")
    QTest::addColumn<int>("edited");       // cellEdited notifications

    const QVariant null;
    const int edit = Qt::EditRole;
    QTest::newRow("money grouped") << "単価" << null << edit << QVariant("1,234") << "" << true << "12340000" << 1;
    QTest::newRow("money full-width") << "単価" << null << edit << QVariant("１２３．５") << "" << true << "1235000" << 1;
    QTest::newRow("money not a number") << "単価" << QVariant(50000LL) << edit << QVariant("abc") << "" << false << "50000" << 0;
    QTest::newRow("money emptied") << "単価" << QVariant(50000LL) << edit << QVariant("") << "" << true << "NULL" << 1;
    QTest::newRow("money same value again") << "単価" << QVariant(12340000LL) << edit << QVariant("1,234.0") << "" << true << "12340000" << 0;
    QTest::newRow("integer with decimals") << "行番号" << QVariant(7LL) << edit << QVariant("7.5") << "" << false << "7" << 0;
    QTest::newRow("text") << "品名" << null << edit << QVariant("鉛筆") << "" << true << "鉛筆" << 1;
    QTest::newRow("text emptied") << "品名" << QVariant("鉛筆") << edit << QVariant("") << "" << true << "NULL" << 1;
    QTest::newRow("text same again") << "品名" << QVariant("鉛筆") << edit << QVariant("鉛筆") << "" << true << "鉛筆" << 0;
    QTest::newRow("hook changes text") << "品名" << null << edit << QVariant("鉛筆削り器") << "鉛筆削" << true << "鉛筆削" << 1;
    QTest::newRow("hook refuses") << "品名" << QVariant("鉛筆") << edit << QVariant("消しゴム") << "cancel" << false << "鉛筆" << 0;
    QTest::newRow("hook refuses money") << "単価" << QVariant(50000LL) << edit << QVariant("9") << "cancel" << false << "50000" << 0;
    QTest::newRow("check box ticked") << "非課税" << QVariant(0LL) << int(Qt::CheckStateRole) << QVariant(int(Qt::Checked)) << "" << true << "1" << 1;
    QTest::newRow("check box refused") << "非課税" << QVariant(1LL) << int(Qt::CheckStateRole) << QVariant(int(Qt::Unchecked)) << "cancel" << false << "1" << 0;
}

void TestGrid::editPipeline()
{
    QFETCH(QString, field);
    QFETCH(QVariant, before);
    QFETCH(int, role);
    QFETCH(QVariant, input);
    QFETCH(QString, hook);
    QFETCH(bool, accepted);
    QFETCH(QString, after);
    QFETCH(int, edited);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    QVERIFY(db.exec(QStringLiteral("update w明細 set %1 = ? where 行番号 = 3").arg(Database::quoteIdent(field)), {before}));
    WorkTableModel& model = t.model();
    const int row = 2;
    const int col = model.columnOf(field);
    const QString shownBefore = model.text(row, col);
    const QString editBefore = model.editText(row, col);

    int hookCalls = 0;
    model.setBeforeCellUpdate([&](int r, int c, QString& text, bool& cancel) {
        ++hookCalls;
        QCOMPARE(r, row);
        QCOMPARE(c, col);
        if (hook == QLatin1String("cancel")) cancel = true;
        else if (!hook.isEmpty()) text = hook;
    });
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);

    QCOMPARE(model.setData(model.index(row, col), input, role), accepted);

    QCOMPARE(hookCalls, 1);
    QCOMPARE(rawCell(db, kDetail, field, model.rowid(row)), after);
    QCOMPARE(editedSpy.count(), edited);
    if (edited) QCOMPARE(editedSpy.first(), (QVariantList{row, col}));
    // The cache agrees with the table: a refusal leaves both as they were.
    WorkTableModel reread(db, kDetail);
    WorkDetailTable::giveDetailKinds(reread);
    QCOMPARE(model.editText(row, col), reread.editText(row, col));
    QCOMPARE(model.isNull(row, col), after == QLatin1String("NULL"));
    if (!accepted) {
        QCOMPARE(model.text(row, col), shownBefore);
        QCOMPARE(model.editText(row, col), editBefore);
    }
}

void TestGrid::writesFromCodeRunNoHooks()
{
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    WorkTableModel& model = t.model();
    const int c品名 = model.columnOf(QStringLiteral("品名"));
    const int c単価 = model.columnOf(QStringLiteral("単価"));
    const int c金額 = model.columnOf(QStringLiteral("金額"));
    const int c小計 = model.columnOf(QStringLiteral("小計"));
    int hookCalls = 0;
    model.setBeforeCellUpdate([&](int, int, QString&, bool& cancel) {
        ++hookCalls;
        cancel = true;
    });
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);
    QSignalSpy changedSpy(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(model.setValue(0, c単価, QVariant::fromValue(Currency::fromRaw(2505000))));
    QVERIFY(model.setText(0, c品名, QStringLiteral("鉛筆")));
    QVERIFY(model.setValues(1, {{c金額, QVariant::fromValue(Currency::fromWhole(1000))}, {c小計, true}, {c品名, QString()}}));
    // A bare number is no money value: it would be ambiguous (yen or ten-thousandths).
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("money cell takes a Currency")));
    QVERIFY(!model.setValue(2, c単価, 250));

    QCOMPARE(hookCalls, 0);
    QCOMPARE(editedSpy.count(), 0);
    QCOMPARE(changedSpy.count(), 3);
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("単価"), model.rowid(0)), QStringLiteral("2505000"));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("品名"), model.rowid(0)), QStringLiteral("鉛筆"));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("金額"), model.rowid(1)), QStringLiteral("10000000"));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("小計"), model.rowid(1)), QStringLiteral("1"));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("品名"), model.rowid(1)), QStringLiteral("NULL"));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("単価"), model.rowid(2)), QStringLiteral("NULL"));
    QCOMPARE(model.money(0, c単価), std::optional(Currency::fromRaw(2505000)));
    QCOMPARE(model.value(1, c小計).toBool(), true);
    QCOMPARE(model.text(1, c金額), QStringLiteral("1,000"));
}

void TestGrid::typingInViewReachesTable_data()
{
    QTest::addColumn<bool>("inputMethod");  // typed as an input method's commit, else as a key with text
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("swallowEnter");
    QTest::addColumn<QString>("afterEnter");  // current column after Enter

    // 商品区分 and 小計 are hidden: Enter skips 商品区分, and ふりがな is the last visible column.
    QTest::newRow("key, Enter moves right") << false << "品名" << "鉛筆" << false << "入数";
    QTest::newRow("input method, Enter moves right") << true << "品名" << "消しゴム" << false << "入数";
    QTest::newRow("hook swallows Enter") << false << "品名" << "鉛筆" << true << "品名";
    QTest::newRow("last visible column") << true << "ふりがな" << "えんぴつ" << false << "ふりがな";
}

void TestGrid::typingInViewReachesTable()
{
    QFETCH(bool, inputMethod);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, swallowEnter);
    QFETCH(QString, afterEnter);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    WorkTableModel& model = t.model();
    model.column(model.columnOf(QStringLiteral("商品区分"))).visible = false;
    model.column(model.columnOf(QStringLiteral("小計"))).visible = false;
    GridView view;
    view.setModel(&model);
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);

    const int row = 4;
    const int col = model.columnOf(field);
    QStringList keysSeen;
    QString storedAtEnter;
    view.setKeyDown([&](int& key) {
        keysSeen << QString::number(key);
        if (key == 13) {
            storedAtEnter = rawCell(db, kDetail, field, model.rowid(row));
            if (swallowEnter) key = 0;
        }
    });
    view.resize(900, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    view.setCurrentCell(row, col);

    if (inputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(&view, &commit);
    } else {
        typeText(&view, text);
    }
    QVERIFY(view.isEditing());
    auto* editor = qobject_cast<QLineEdit*>(view.editorWidget());
    QVERIFY(editor);
    QCOMPARE(editor->text(), text);
    QTest::keyClick(editor, Qt::Key_Return);

    // The hook saw each key once (a typed key with no code of its own as -1;
    // an input method's commit is no key), and Enter after the value was in the table.
    const QStringList keys = inputMethod ? QStringList{"13"} : QStringList{"-1", "13"};
    QCOMPARE(keysSeen, keys);
    QCOMPARE(storedAtEnter, text);
    QVERIFY(!view.isEditing());
    QCOMPARE(rawCell(db, kDetail, field, model.rowid(row)), text);
    QCOMPARE(editedSpy.count(), 1);
    QCOMPARE(view.currentRow(), row);
    QCOMPARE(view.currentColumn(), model.columnOf(afterEnter));
}

void TestGrid::openEditorCommits_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("window calls commitEdit") << "commitEdit";
    QTest::newRow("focus leaves the grid") << "focus";
    QTest::newRow("another cell clicked") << "click";
}

void TestGrid::openEditorCommits()
{
    QFETCH(QString, how);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    WorkTableModel& model = t.model();
    const int c品名 = model.columnOf(QStringLiteral("品名"));
    QWidget window;
    auto* view = new GridView(&window);
    auto* other = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    layout->addWidget(other);
    view->setModel(&model);
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);
    window.resize(900, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    view->setCurrentCell(0, c品名);
    typeText(view, QStringLiteral("定規"));
    QVERIFY(view->isEditing());

    if (how == QLatin1String("commitEdit")) {
        QVERIFY(view->commitEdit());
    } else if (how == QLatin1String("focus")) {
        other->setFocus();
    } else {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model.index(3, c品名)).center());
    }

    QTRY_VERIFY(!view->isEditing());
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("品名"), model.rowid(0)), QStringLiteral("定規"));
    QCOMPARE(editedSpy.count(), 1);
}

void TestGrid::dropDownPick_data()
{
    // "pick" from the open list; "type" a name that is in the list, or turn
    // the "wheel" over the closed box, and press Enter.
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<QString>("offered");  // the text the before-update hook sees
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("picked");  // dropDownPicked notifications
    QTest::addColumn<int>("edited");  // cellEdited notifications

    QTest::newRow("pick") << "pick" << false << "消しゴム" << "消しゴム" << 1 << 0;
    QTest::newRow("pick refused") << "pick" << true << "消しゴム" << "NULL" << 0 << 0;
    QTest::newRow("typed name from the list") << "type" << false << "消しゴム" << "消しゴム" << 0 << 1;
    QTest::newRow("wheel over the closed box") << "wheel" << false << "鉛筆" << "鉛筆" << 0 << 1;
}

void TestGrid::dropDownPick()
{
    QFETCH(QString, how);
    QFETCH(bool, refuse);
    QFETCH(QString, offered);
    QFETCH(QString, stored);
    QFETCH(int, picked);
    QFETCH(int, edited);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    QVERIFY(db.exec(QStringLiteral("insert into w商品参照 (品名, 単位, 単価) values ('鉛筆', '本', 800000), ('定規', '本', 1500000)")));
    WorkTableModel products(db, QStringLiteral("w商品参照"));
    products.column(products.columnOf(QStringLiteral("単価"))).kind = Kind::Money;
    products.column(products.columnOf(QStringLiteral("ふりがな"))).visible = false;
    WorkTableModel& model = t.model();
    const int c品名 = model.columnOf(QStringLiteral("品名"));
    model.column(c品名).dropDown = &products;
    GridView view;
    view.setModel(&model);
    QStringList hookTexts;
    model.setBeforeCellUpdate([&](int, int, QString& text, bool& cancel) {
        hookTexts << text;
        cancel = refuse;
    });
    QSignalSpy pickedSpy(&view, &GridView::dropDownPicked);
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);
    view.resize(900, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    view.setCurrentCell(6, c品名);

    // The list follows its source's refresh.
    QVERIFY(db.exec(QStringLiteral("insert into w商品参照 (品名, 単位, 単価) values ('消しゴム', '個', 1000000)")));
    QVERIFY(products.refresh());

    QTest::keyClick(&view, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(view.editorWidget());
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    if (how == QLatin1String("pick")) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        combo->view()->setCurrentIndex(products.index(2, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    } else if (how == QLatin1String("type")) {
        combo->setEditText(QStringLiteral("消しゴム"));
        QTest::keyClick(combo, Qt::Key_Return);
    } else {
        const QPointF at = combo->rect().center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentText(), QStringLiteral("鉛筆"));
        QTest::keyClick(combo, Qt::Key_Return);
    }

    QVERIFY(!view.isEditing());
    QCOMPARE(hookTexts, QStringList{offered});
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("品名"), model.rowid(6)), stored);
    QCOMPARE(pickedSpy.count(), picked);
    if (picked) QCOMPARE(pickedSpy.first(), (QVariantList{c品名, 2}));
    QCOMPARE(editedSpy.count(), edited);
}

void TestGrid::checkBoxClick_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("editable") << false;
    QTest::newRow("read-only") << true;
}

void TestGrid::checkBoxClick()
{
    QFETCH(bool, readOnly);
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    WorkTableModel& model = t.model();
    const int col = model.columnOf(QStringLiteral("非課税"));
    model.column(col).readOnly = readOnly;
    GridView view;
    view.setModel(&model);
    int hookCalls = 0;
    model.setBeforeCellUpdate([&](int, int, QString&, bool&) { ++hookCalls; });
    QSignalSpy editedSpy(&model, &WorkTableModel::cellEdited);
    QSignalSpy clickedSpy(&view, &GridView::cellClicked);
    view.resize(900, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QModelIndex cell = model.index(1, col);
    QStyleOptionViewItem option;
    option.initFrom(view.viewport());
    option.rect = view.visualRect(cell);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = view.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());

    QCOMPARE(clickedSpy.count(), 1);
    QCOMPARE(clickedSpy.first(), (QVariantList{1, col}));
    QCOMPARE(rawCell(db, kDetail, QStringLiteral("非課税"), model.rowid(1)), readOnly ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(hookCalls, readOnly ? 0 : 1);
    QCOMPARE(editedSpy.count(), readOnly ? 0 : 1);
    QCOMPARE(model.data(cell, Qt::CheckStateRole).toInt(), readOnly ? int(Qt::Unchecked) : int(Qt::Checked));
}

void TestGrid::rowStylePaintsRow()
{
    WorkDetailTable t;
    QVERIFY(t.opened);
    WorkTableModel& model = t.model();
    const int c小計 = model.columnOf(QStringLiteral("小計"));
    const QColor grey(0xD3, 0xD3, 0xD3);
    model.setRowStyle([&](int row) -> std::optional<QColor> {
        if (model.value(row, c小計).toBool()) return grey;
        return std::nullopt;
    });
    GridView view;
    view.setModel(&model);
    view.resize(900, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentCell(0, 0);

    // Marking a line as a subtotal repaints the whole line, not only the cell written.
    QSignalSpy changedSpy(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setValue(3, c小計, true));
    QCOMPARE(changedSpy.count(), 1);
    QCOMPARE(changedSpy.first().at(0).toModelIndex(), model.index(3, 0));
    QCOMPARE(changedSpy.first().at(1).toModelIndex(), model.index(3, model.columnCount() - 1));
    const int c品名 = model.columnOf(QStringLiteral("品名"));
    auto pixelOf = [&](int row) {
        const QImage image = view.viewport()->grab().toImage();
        return image.pixelColor(view.visualRect(model.index(row, c品名)).center());
    };
    QTRY_COMPARE(pixelOf(3), grey);
    QVERIFY(pixelOf(2) != grey);
    QCOMPARE(model.data(model.index(3, c品名), Qt::BackgroundRole).value<QBrush>().color(), grey);
    QVERIFY(!model.data(model.index(2, c品名), Qt::BackgroundRole).isValid());
}

void TestGrid::refreshKeepsCurrentCellAndLayout()
{
    WorkDetailTable t;
    QVERIFY(t.opened);
    Database& db = t.db;
    WorkTableModel& model = t.model();
    const int c品名 = model.columnOf(QStringLiteral("品名"));
    const int c商品区分 = model.columnOf(QStringLiteral("商品区分"));
    model.column(c商品区分).visible = false;
    model.column(c品名).widthTwips = 3000;
    GridView view;
    view.setModel(&model);
    view.resize(900, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentCell(80, c品名);
    QSignalSpy currentSpy(&view, &GridView::currentCellChanged);

    // Fewer rows: the model resets; the grid stays on the same cell and keeps its columns.
    QVERIFY(db.exec(QStringLiteral("delete from w明細 where 行番号 = 1")));
    QVERIFY(model.refresh());
    QCOMPARE(model.rowCount(), 99);
    QCOMPARE(view.currentRow(), 80);
    QCOMPARE(view.currentColumn(), c品名);
    QCOMPARE(currentSpy.count(), 0);
    QVERIFY(view.isColumnHidden(c商品区分));
    QCOMPARE(view.columnWidth(c品名), 200);

    // Rows cut below the current one: the grid moves to the last row.
    QVERIFY(db.exec(QStringLiteral("delete from w明細 where 行番号 > 50")));
    QVERIFY(model.refresh());
    QCOMPARE(view.currentRow(), 48);
    QCOMPARE(currentSpy.count(), 1);
    QCOMPARE(currentSpy.first(), (QVariantList{48, c品名}));
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
