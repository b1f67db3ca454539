// The grid as the list windows use it, while the user works in it: a frozen
// left pane, Enter to the next row, Japanese input per column, and a pending
// edit that reaches the work table before a button's handler reads it. The
// harness is the product list in miniature over its own work table.

#include "ListGridHarness.h"
#include "support/WidgetText.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

class TestListGridEditing : public QObject {
    Q_OBJECT
private slots:
    void frozenPane();
    void enterToNextRow_data();
    void enterToNextRow();
    void inputMethodPerColumn_data();
    void inputMethodPerColumn();
    void japaneseTypingStartsEdit_data();
    void japaneseTypingStartsEdit();
    void pendingEditReachesTable_data();
    void pendingEditReachesTable();
    void refusedEditStopsOnlyItsButton_data();
    void refusedEditStopsOnlyItsButton();
    void harnessPicture();
};

void TestListGridEditing::frozenPane()
{
    Harness h;
    QVERIFY(h.show());
    GridView* pane = h.grid->frozenPane();
    QVERIFY(pane);
    QSignalSpy clicked(h.grid, &GridView::cellClicked);
    QSignalSpy doubleClicked(h.grid, &GridView::cellDoubleClicked);
    QSignalSpy current(h.grid, &GridView::currentCellChanged);

    // Two views over one model and one selection model; the pane shows only the frozen columns.
    QCOMPARE(pane->model(), h.grid->model());
    QCOMPARE(pane->selectionModel(), h.grid->selectionModel());
    for (int c = 0; c < h.model->columnCount(); ++c) {
        QCOMPARE(pane->isColumnHidden(c), c > Name);
        QVERIFY(!h.grid->isColumnHidden(c));
    }
    QCOMPARE(pane->width(), h.grid->columnWidth(Tick) + h.grid->columnWidth(Name));
    QCOMPARE(pane->geometry().top(), h.grid->frameWidth());
    QCOMPARE(pane->viewport()->height(), h.grid->viewport()->height());

    // Far to the right and down: the frozen columns stay in view, the rows move together,
    // and the current cell is not beneath the pane.
    h.grid->setCurrentCell(25, Reading);
    QVERIFY(h.grid->horizontalScrollBar()->value() > 0);
    QVERIFY(h.grid->verticalScrollBar()->value() > 0);
    QCOMPARE(pane->verticalScrollBar()->value(), h.grid->verticalScrollBar()->value());
    QCOMPARE(pane->visualRect(h.model->index(25, Name)).top(), h.grid->visualRect(h.model->index(25, Reading)).top());
    QVERIFY(pane->visualRect(h.model->index(25, Tick)).left() == 0);
    h.grid->setCurrentCell(25, Category);
    QVERIFY(h.grid->visualRect(h.model->index(25, Category)).left() >= pane->width());
    // A frozen cell does not scroll the columns.
    const int across = h.grid->horizontalScrollBar()->value();
    h.grid->setCurrentCell(2, Name);
    QCOMPARE(h.grid->horizontalScrollBar()->value(), across);
    QCOMPARE(pane->verticalScrollBar()->value(), h.grid->verticalScrollBar()->value());

    // A click in the pane is the grid's: current cell, signal, keyboard.
    h.other->setFocus();
    const QModelIndex cell = h.model->index(4, Name);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->visualRect(cell).center());
    QCOMPARE(h.grid->currentRow(), 4);
    QCOMPARE(h.grid->currentColumn(), int(Name));
    QCOMPARE(clicked.last(), (QVariantList{4, int(Name)}));
    QCOMPARE(current.last(), (QVariantList{4, int(Name)}));
    QVERIFY(h.grid->hasFocus());

    // Typing on a frozen cell edits it in the pane, where it shows; Enter goes on to the right.
    typeText(h.grid, QStringLiteral("筆"));
    QWidget* editor = h.grid->editorWidget();
    QVERIFY(editor);
    QCOMPARE(editor->parentWidget(), pane->viewport());
    QVERIFY(editor->isVisible());
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(h.stored(QStringLiteral("品名"), 4), QStringLiteral("筆"));
    QCOMPARE(h.grid->currentColumn(), int(Category));
    QVERIFY(h.grid->hasFocus());
    // Left from the scrolling pane back into the frozen one.
    QTest::keyClick(h.grid, Qt::Key_Left);
    QCOMPARE(h.grid->currentColumn(), int(Name));

    // A double click in the pane is reported by the grid too.
    doubleClick(pane->viewport(), pane->visualRect(h.model->index(6, Name)).center());
    QCOMPARE(doubleClicked.last(), (QVariantList{6, int(Name)}));

    // Widening a frozen column widens the pane.
    h.grid->setColumnWidth(Name, 250);
    QCOMPARE(pane->columnWidth(Name), 250);
    QCOMPARE(pane->width(), h.grid->columnWidth(Tick) + 250);

    h.grid->setFrozenColumns(0);
    QVERIFY(!h.grid->frozenPane());
}

void TestListGridEditing::enterToNextRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("editing");  // Enter in an open editor
    QTest::addColumn<bool>("swallow");  // the key-down hook swallows Enter
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toCol");

    QTest::newRow("ふりがな to the next row's 品名") << 1 << int(Reading) << false << false << 2 << int(Name);
    QTest::newRow("from an editor") << 1 << int(Reading) << true << false << 2 << int(Name);
    QTest::newRow("last row stays") << 4 << int(Reading) << false << false << 4 << int(Name);
    QTest::newRow("last row, from an editor") << 4 << int(Reading) << true << false << 4 << int(Name);
    QTest::newRow("other column: to the right") << 1 << int(Unit) << false << false << 1 << int(Price);
    QTest::newRow("frozen column: to the right") << 1 << int(Name) << true << false << 1 << int(Category);
    QTest::newRow("swallowed by the hook") << 1 << int(Reading) << false << true << 1 << int(Reading);
}

void TestListGridEditing::enterToNextRow()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(bool, editing);
    QFETCH(bool, swallow);
    QFETCH(int, toRow);
    QFETCH(int, toCol);
    Harness h(5);
    QVERIFY(h.show());
    h.grid->setKeyDown([swallow](int& key) {
        if (swallow && key == 13) key = 0;
    });
    h.grid->setCurrentCell(row, col);
    QWidget* target = h.grid;
    if (editing) {
        typeText(h.grid, QStringLiteral("ぶん"));
        target = h.grid->editorWidget();
        QVERIFY(target);
    }
    QTest::keyClick(target, Qt::Key_Return);

    QCOMPARE(h.grid->currentRow(), toRow);
    QCOMPARE(h.grid->currentColumn(), toCol);
    QVERIFY(!h.grid->isEditing());
    QVERIFY(h.grid->hasFocus());
    if (editing) QCOMPARE(h.stored(h.model->column(col).field, row), QStringLiteral("ぶん"));
}

void TestListGridEditing::inputMethodPerColumn_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("on");
    QTest::newRow("tick") << int(Tick) << false;
    QTest::newRow("品名 (frozen)") << int(Name) << true;
    QTest::newRow("単位 (drop-down)") << int(Unit) << true;
    QTest::newRow("単価") << int(Price) << false;
    QTest::newRow("非課税") << int(TaxFree) << false;
    QTest::newRow("ふりがな") << int(Reading) << true;
}

void TestListGridEditing::inputMethodPerColumn()
{
    QFETCH(int, col);
    QFETCH(bool, on);
    Harness h(5);
    QVERIFY(h.show());
    // Start from the other setting, so the move has to switch it.
    h.grid->setCurrentCell(0, on ? Price : Name);
    QCOMPARE(h.grid->inputMethodEnabled(), !on);

    h.grid->setCurrentCell(1, col);
    QCOMPARE(h.grid->inputMethodEnabled(), on);
    QCOMPARE(h.grid->testAttribute(Qt::WA_InputMethodEnabled), on);
    QCOMPARE(h.grid->frozenPane()->testAttribute(Qt::WA_InputMethodEnabled), on);
    QCOMPARE(h.grid->inputMethodHints().testFlag(Qt::ImhPreferLatin), !on);
    if (h.model->column(col).kind == Kind::Bool) return;

    // The editor follows its column, wherever it opens.
    QTest::keyClick(h.grid, Qt::Key_F2);
    QWidget* editor = h.grid->editorWidget();
    QVERIFY(editor);
    QCOMPARE(editor->testAttribute(Qt::WA_InputMethodEnabled), on);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) QCOMPARE(combo->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled), on);
}

void TestListGridEditing::japaneseTypingStartsEdit_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("how");  // "key": a key with text; "commit": an input method's commit;
                                       // "compose": a composition first, then its commit
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("before");  // what the cell held

    const QList<std::pair<const char*, int>> columns{{"品名 (frozen)", Name}, {"単位 (drop-down)", Unit}, {"ふりがな", Reading}};
    for (const auto& [name, col] : columns) {
        QTest::addRow("%s, key", name) << col << "key" << "鉛" << "本";
        QTest::addRow("%s, commit", name) << col << "commit" << "鉛筆" << "本";
        QTest::addRow("%s, compose", name) << col << "compose" << "消しゴム" << "本";
    }
}

void TestListGridEditing::japaneseTypingStartsEdit()
{
    QFETCH(int, col);
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, before);
    Harness h(5);
    const QString field = h.model->column(col).field;
    QVERIFY(h.db.exec(QStringLiteral("update w商品マスタ set %1 = ?").arg(Database::quoteIdent(field)), {before}));
    QVERIFY(h.model->refresh());
    QVERIFY(h.show());
    h.grid->setCurrentCell(2, col);
    QVERIFY(!h.grid->isEditing());

    if (how == QLatin1String("key")) {
        typeText(h.grid, text);
    } else if (how == QLatin1String("commit")) {
        commitText(h.grid, text);
    } else {
        composeText(h.grid, QStringLiteral("けしごむ"));
        QVERIFY(h.grid->isEditing());
        // The input method goes on with the widget that has the focus now.
        commitText(QApplication::focusWidget(), text);
    }

    // The typed text replaces what the cell held, and Enter stores it.
    QVERIFY(h.grid->isEditing());
    QWidget* editor = h.grid->editorWidget();
    auto* combo = qobject_cast<QComboBox*>(editor);
    QCOMPARE(combo ? combo->currentText() : qobject_cast<QLineEdit*>(editor)->text(), text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!h.grid->isEditing());
    QCOMPARE(h.stored(field, 2), text);
    QCOMPARE(h.stored(field, 1), before);
}

void TestListGridEditing::pendingEditReachesTable_data()
{
    QTest::addColumn<QString>("button");     // "save" takes the focus, "noFocus" does not
    QTest::addColumn<bool>("commitFirst");   // the handler calls commitEdit() first
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");       // 品名 the handler finds
    QTest::addColumn<QString>("price");      // 単価 the handler finds

    QTest::newRow("focus moves to the button") << "save" << false << int(Name) << "鉛筆" << "鉛筆" << "12345000";
    QTest::newRow("button without focus, commit call") << "noFocus" << true << int(Name) << "鉛筆" << "鉛筆" << "12345000";
    QTest::newRow("number, commit call") << "noFocus" << true << int(Price) << "250" << "商品1" << "2500000";
    QTest::newRow("number, focus moves") << "save" << false << int(Price) << "250" << "商品1" << "2500000";
    // A value the cell refuses: the handler stops, the cell keeps its value.
    QTest::newRow("refused number, commit call") << "noFocus" << true << int(Price) << "abc" << "" << "";
}

void TestListGridEditing::pendingEditReachesTable()
{
    QFETCH(QString, button);
    QFETCH(bool, commitFirst);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, price);
    Harness h(3);
    h.commitFirst = commitFirst;
    QVERIFY(h.show());
    h.grid->setCurrentCell(0, col);
    typeText(h.grid, typed);
    QVERIFY(h.grid->isEditing());

    QTest::mouseClick(button == QLatin1String("save") ? h.save : h.noFocus, Qt::LeftButton);

    QCOMPARE(h.seen, name);
    QCOMPARE(h.seenPrice, price);
    QVERIFY(!h.grid->isEditing());
    if (name.isEmpty()) QCOMPARE(h.stored(QStringLiteral("単価"), 0), QStringLiteral("12345000"));
}

void TestListGridEditing::refusedEditStopsOnlyItsButton_data()
{
    QTest::addColumn<QString>("before");     // what the user does before pressing 登録
    QTest::addColumn<bool>("writeFails");    // the table refuses the write (else the price refuses the text)
    QTest::addColumn<bool>("stops");         // 登録's handler stops

    // Pressing the button takes the focus from the editor: the refused value
    // stops the handler of that press instead of leaving it the old value.
    QTest::newRow("value refused as the press takes the focus") << "" << false << true;
    QTest::newRow("write failed as the press takes the focus") << "" << true << true;
    // The refusal came before, and the user has been told: the button works.
    QTest::newRow("refused on leaving for another box") << "other" << false << false;
    QTest::newRow("refused by Enter in the grid") << "enter" << false << false;
    QTest::newRow("write failed on leaving for another box") << "other" << true << false;
}

void TestListGridEditing::refusedEditStopsOnlyItsButton()
{
    QFETCH(QString, before);
    QFETCH(bool, writeFails);
    QFETCH(bool, stops);
    Harness h(3);
    if (writeFails)
        QVERIFY(h.db.exec(QStringLiteral("create temp trigger refuse before update on w商品マスタ "
                                         "begin select raise(abort, 'the disk is full'); end")));
    QSignalSpy refused(h.model, &WorkTableModel::editRefused);
    QSignalSpy failed(h.model, &WorkTableModel::writeFailed);
    QVERIFY(h.show());
    const int col = writeFails ? Name : Price;
    const QString typed = writeFails ? QStringLiteral("鉛筆") : QStringLiteral("12O0");
    h.grid->setCurrentCell(0, col);
    typeText(h.grid, typed);
    QVERIFY(h.grid->isEditing());
    if (before == QLatin1String("other")) QTest::mouseClick(h.other, Qt::LeftButton);
    if (before == QLatin1String("enter")) QTest::keyClick(h.grid->editorWidget(), Qt::Key_Return);

    QTest::mouseClick(h.save, Qt::LeftButton);

    // One refusal, reported once, wherever it happened.
    QCOMPARE(refused.size(), writeFails ? 0 : 1);
    QCOMPARE(failed.size(), writeFails ? 1 : 0);
    if (!writeFails) QCOMPARE(refused.first(), (QVariantList{0, int(Price), typed}));
    QCOMPARE(h.seen, stops ? QString() : QStringLiteral("商品1"));
    QVERIFY(!h.grid->isEditing());
    QCOMPARE(h.stored(QStringLiteral("品名"), 0), QStringLiteral("商品1"));
    QCOMPARE(h.stored(QStringLiteral("単価"), 0), QStringLiteral("12345000"));

    // The next press works on what the table holds.
    QTest::mouseClick(h.save, Qt::LeftButton);
    QCOMPARE(h.seen, QStringLiteral("商品1"));
    QCOMPARE(refused.size() + failed.size(), 1);
}

void TestListGridEditing::harnessPicture()
{
    Harness h;
    QVERIFY(h.show());
    QVERIFY(h.db.exec(QStringLiteral("update w商品マスタ set チェック = 1, 商品区分 = '文具', 非課税 = 1 where 品名 = '商品2'")));
    QVERIFY(h.model->refresh());
    h.grid->setCurrentCell(3, Reading);
    const QImage image = h.window.grab().toImage();
    // Keep copies to look at when asked: the list, and a frozen cell being typed into.
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(image.save(QDir(dir).filePath(QStringLiteral("list_grid.png"))));

    // The frozen pane paints its own cells: the 品名 of the current row is there
    // while the grid is scrolled to the right.
    QVERIFY(h.grid->horizontalScrollBar()->value() > 0);
    GridView* pane = h.grid->frozenPane();
    const QRect nameCell = pane->visualRect(h.model->index(3, Name));
    QVERIFY(nameCell.isValid());
    QVERIFY(pane->viewport()->rect().contains(nameCell.center()));

    h.grid->setCurrentCell(4, Name);
    typeText(h.grid, QStringLiteral("鉛筆"));
    QVERIFY(h.grid->editorWidget());
    if (!dir.isEmpty()) QVERIFY(h.window.grab().save(QDir(dir).filePath(QStringLiteral("list_grid_editing.png"))));
}

QTEST_MAIN(TestListGridEditing)
#include "tst_list_grid_editing.moc"
