// The grid as the list windows use it: its declared columns (tick, text,
// number, drop-down, read-only), rows by rowid, and a list without a work
// table. The harness is the product list in miniature over its own work table.

#include "ListGridHarness.h"
#include "support/WidgetText.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

class TestListGridColumns : public QObject {
    Q_OBJECT
private slots:
    void declaredColumns();
    void declareRefusesUnknownNames();
    void numberColumn_data();
    void numberColumn();
    void duplicateRowsEditApart();
    void tickColumn_data();
    void tickColumn();
    void dropDownReadsTableWhenOpened();
    void readOnlyColumns_data();
    void readOnlyColumns();
    void listWithoutWorkTable();
};

void TestListGridColumns::declaredColumns()
{
    Harness h;
    QVERIFY(h.declaredOk);
    const WorkTableModel& m = *h.model;
    QCOMPARE(m.column(Tick).kind, Kind::Bool);
    QCOMPARE(m.column(Tick).caption, QString());
    QCOMPARE(m.column(Price).kind, Kind::Money);
    QCOMPARE(m.column(Price).alignment, Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(m.column(TaxFree).caption, QStringLiteral("非課税"));
    // Each drop-down lists its own reference table, owned by the grid's model.
    const QList<std::pair<int, QString>> lists{{Category, "w商品区分参照"}, {Pack, "w入数参照"}, {Unit, "w単位参照"}};
    for (const auto& [col, table] : lists) {
        QVERIFY(m.column(col).dropDown);
        QCOMPARE(m.column(col).dropDown->table(), table);
        QCOMPARE(m.column(col).dropDown->parent(), h.model);
    }
    QVERIFY(!m.column(Name).dropDown);
    QCOMPARE(h.model->headerData(Reading, Qt::Horizontal).toString(), QStringLiteral("ふりがな"));
    QCOMPARE(h.model->flags(h.model->index(0, Tick)) & Qt::ItemIsUserCheckable, Qt::ItemIsUserCheckable);

    // Declaring again replaces the columns; a column not named is hidden and
    // a list built before goes with its column.
    QPointer<WorkTableModel> units = m.column(Unit).dropDown;
    QVERIFY(h.model->declareColumns({Column::text(QStringLiteral("品名"), QStringLiteral("品　名"), 3000),
                                     Column::text(QStringLiteral("単位"), QStringLiteral("単位"), 900)}));
    h.grid->applyColumns();
    QVERIFY(units.isNull());
    QCOMPARE(h.model->headerData(Name, Qt::Horizontal).toString(), QStringLiteral("品　名"));
    for (int c = 0; c < h.model->columnCount(); ++c) QCOMPARE(h.grid->isColumnHidden(c), c != Name && c != Unit);
}

void TestListGridColumns::declareRefusesUnknownNames()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.workDbPath(), Database::Role::Work));
    WorkTableModel model(db, kList);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no column 品番")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("work table without columns: w色参照")));
    QVERIFY(!model.declareColumns({Column::text(QStringLiteral("品名"), QStringLiteral("品名"), 2400),
                                   Column::text(QStringLiteral("品番"), QStringLiteral("品番"), 900),
                                   Column::list(QStringLiteral("単位"), QStringLiteral("単位"), 900, QStringLiteral("w色参照"))}));
    // What was found is declared all the same; the unit is plain text.
    QVERIFY(!model.column(Unit).dropDown);
    QVERIFY(model.column(Unit).visible);
    QCOMPARE(model.column(Name).caption, QStringLiteral("品名"));
    QVERIFY(model.column(Name).visible);
    QVERIFY(!model.column(Tick).visible);
}

void TestListGridColumns::numberColumn_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");  // ten-thousandths, as the table holds them
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edited");  // what the editor opens with

    // Whole yen: the stored decimals stay, only the display rounds.
    QTest::newRow("whole yen") << "#,###" << "1,234.5" << "12345000" << "1,235" << "1234.5";
    QTest::newRow("two decimals") << "Standard" << "1234.5" << "12345000" << "1,234.50" << "1234.5";
    QTest::newRow("full-width digits") << "#,###" << "９８０" << "9800000" << "980" << "980";
    QTest::newRow("emptied") << "Standard" << "" << "NULL" << "" << "";
    QTest::newRow("not a number: kept") << "#,###" << "abc" << "12345000" << "1,235" << "1234.5";
}

void TestListGridColumns::numberColumn()
{
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, edited);
    Harness h(3, format);
    QVERIFY(h.show());
    h.grid->setCurrentCell(0, Price);
    QTest::keyClick(h.grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(h.grid->editorWidget());
    QVERIFY(editor);
    editor->setText(typed);
    QTest::keyClick(editor, Qt::Key_Return);

    QCOMPARE(h.stored(QStringLiteral("単価"), 0), stored);
    QCOMPARE(h.model->data(h.model->index(0, Price)).toString(), shown);
    QCOMPARE(h.model->data(h.model->index(0, Price), Qt::EditRole).toString(), edited);
    QCOMPARE(h.model->data(h.model->index(0, Price), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
}

void TestListGridColumns::duplicateRowsEditApart()
{
    Harness h(0);
    // Two rows alike in every field (Nulls included), and a third.
    QVERIFY(h.db.exec(QStringLiteral("insert into w商品マスタ (品名) values (NULL), (NULL), ('定規')")));
    QVERIFY(h.model->refresh());
    QCOMPARE(h.model->rowCount(), 3);
    QVERIFY(h.show());

    h.grid->setCurrentCell(1, Name);
    typeText(h.grid, QStringLiteral("鉛筆"));
    QTest::keyClick(h.grid->editorWidget(), Qt::Key_Return);
    QTest::mouseClick(h.grid->frozenPane()->viewport(), Qt::LeftButton, {},
                      checkBoxOf(h.grid->frozenPane(), h.model->index(0, Tick)));

    QCOMPARE(h.stored(QStringLiteral("品名"), 0), QStringLiteral("NULL"));
    QCOMPARE(h.stored(QStringLiteral("品名"), 1), QStringLiteral("鉛筆"));
    QCOMPARE(h.stored(QStringLiteral("チェック"), 0), QStringLiteral("1"));
    QCOMPARE(h.stored(QStringLiteral("チェック"), 1), QStringLiteral("0"));
    QCOMPARE(h.model->checkedRowids(Tick), QList<qint64>{h.model->rowid(0)});
    QCOMPARE(h.model->checkedRowids(TaxFree), QList<qint64>{});
}

void TestListGridColumns::tickColumn_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("col");
    QTest::newRow("click, frozen pane") << "click" << int(Tick);
    QTest::newRow("space, frozen pane") << "space" << int(Tick);
    QTest::newRow("click, scrolling pane") << "click" << int(TaxFree);
    QTest::newRow("space, scrolling pane") << "space" << int(TaxFree);
}

void TestListGridColumns::tickColumn()
{
    QFETCH(QString, how);
    QFETCH(int, col);
    Harness h(5);
    QVERIFY(h.show());
    QSignalSpy edited(h.model, &WorkTableModel::cellEdited);
    QTableView* pane = col == Tick ? static_cast<QTableView*>(h.grid->frozenPane()) : h.grid;
    const QModelIndex cell = h.model->index(2, col);
    pane->scrollTo(cell);

    for (int pass = 0; pass < 2; ++pass) {
        if (how == QLatin1String("click")) {
            QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, checkBoxOf(pane, cell));
        } else {
            h.grid->setCurrentCell(2, col);
            QTest::keyClick(h.grid, Qt::Key_Space);
        }
        const bool ticked = pass == 0;
        QCOMPARE(h.stored(h.model->column(col).field, 2), ticked ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(h.model->checkedRowids(col), ticked ? QList<qint64>{h.model->rowid(2)} : QList<qint64>{});
        QCOMPARE(cell.data(Qt::CheckStateRole).toInt(), ticked ? int(Qt::Checked) : int(Qt::Unchecked));
    }
    QCOMPARE(edited.count(), 2);
    QVERIFY(!h.grid->isEditing());
    // The grid keeps the keyboard, also after a click in the frozen pane.
    QVERIFY(h.grid->hasFocus());
    QCOMPARE(h.grid->currentRow(), 2);
    QCOMPARE(h.grid->currentColumn(), col);
}

void TestListGridColumns::dropDownReadsTableWhenOpened()
{
    Harness h(5);
    QVERIFY(h.show());
    QSignalSpy picked(h.grid, &GridView::dropDownPicked);
    // Another window rebuilds the unit list; nobody tells the grid.
    QVERIFY(h.db.exec(QStringLiteral("delete from w単位参照")));
    QVERIFY(h.db.exec(QStringLiteral("insert into w単位参照 (sname) values ('枚'), ('冊')")));

    h.grid->setCurrentCell(3, Unit);
    QTest::keyClick(h.grid, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(h.grid->editorWidget());
    QVERIFY(combo);
    auto items = [combo] {
        QStringList l;
        for (int i = 0; i < combo->count(); ++i) l << combo->itemText(i);
        return l;
    };
    QCOMPARE(items(), (QStringList{"枚", "冊"}));

    // Rebuilt again while the editor is open: the list reads it when it opens,
    // and what was typed stays.
    combo->setEditText(QStringLiteral("ダース"));
    QVERIFY(h.db.exec(QStringLiteral("delete from w単位参照")));
    QVERIFY(h.db.exec(QStringLiteral("insert into w単位参照 (sname) values ('本'), ('個'), ('組')")));
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(items(), (QStringList{"本", "個", "組"}));
    QCOMPARE(combo->currentText(), QStringLiteral("ダース"));

    combo->view()->setCurrentIndex(combo->model()->index(2, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QVERIFY(!h.grid->isEditing());
    QCOMPARE(h.stored(QStringLiteral("単位"), 3), QStringLiteral("組"));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first(), (QVariantList{int(Unit), 2}));
}

void TestListGridColumns::readOnlyColumns_data()
{
    // The code list: 行番号 and code are shown, not edited.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("how");
    QTest::newRow("行番号, key") << "行番号" << "key";
    QTest::newRow("行番号, input method") << "行番号" << "ime";
    QTest::newRow("code, key") << "code" << "key";
    QTest::newRow("code, F2") << "code" << "f2";
    QTest::newRow("code, double click") << "code" << "double";
}

void TestListGridColumns::readOnlyColumns()
{
    QFETCH(QString, field);
    QFETCH(QString, how);
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.workDbPath(), Database::Role::Work));
    for (int i = 1; i <= 5; ++i)
        QVERIFY(db.exec(QStringLiteral("insert into wコードマスタ (チェック, code) values (0, ?)"), {QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))}));
    WorkTableModel model(db, QStringLiteral("wコードマスタ"));
    QVERIFY(model.declareColumns({Column::number(QStringLiteral("行番号"), QStringLiteral("行番号"), 800, QStringLiteral("####0"), Kind::Integer).asReadOnly(),
                                  Column::tick(QStringLiteral("チェック")),
                                  Column::text(QStringLiteral("code"), QStringLiteral("code"), 600).asReadOnly(),
                                  Column::text(QStringLiteral("sname"), QStringLiteral("名     称"), 3000)}));
    GridView grid;
    grid.setModel(&model);
    grid.resize(500, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowActive(&grid));
    const int col = model.columnOf(field);
    grid.setCurrentCell(1, col);
    const QString before = rawCell(db, QStringLiteral("wコードマスタ"), field, model.rowid(1));

    if (how == QLatin1String("key")) typeText(&grid, QStringLiteral("７"));
    else if (how == QLatin1String("ime")) commitText(&grid, QStringLiteral("七"));
    else if (how == QLatin1String("f2")) QTest::keyClick(&grid, Qt::Key_F2);
    else doubleClick(grid.viewport(), grid.visualRect(model.index(1, col)).center());

    QVERIFY(!grid.isEditing());
    QVERIFY(!(model.flags(model.index(1, col)) & Qt::ItemIsEditable));
    QCOMPARE(rawCell(db, QStringLiteral("wコードマスタ"), field, model.rowid(1)), before);
    // The text next to it is edited as usual.
    grid.setCurrentCell(1, model.columnOf(QStringLiteral("sname")));
    commitText(&grid, QStringLiteral("ダース"));
    QVERIFY(grid.isEditing());
    QVERIFY(grid.commitEdit());
    QCOMPARE(rawCell(db, QStringLiteral("wコードマスタ"), QStringLiteral("sname"), model.rowid(1)), QStringLiteral("ダース"));
}

void TestListGridColumns::listWithoutWorkTable()
{
    // A result list filled by the program (names and addresses), not bound to
    // a table: the grid shows it, reports the picked row and edits nothing.
    QStandardItemModel results(3, 2);
    const QStringList names{"青木商店", "石田工務店", ""};
    for (int r = 0; r < 3; ++r) results.setItem(r, 0, new QStandardItem(names[r]));
    GridView grid;
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setModel(&results);
    QSignalSpy clicked(&grid, &GridView::cellClicked);
    QSignalSpy doubleClicked(&grid, &GridView::cellDoubleClicked);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowActive(&grid));

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(results.index(1, 1)).center());
    QCOMPARE(clicked.last(), (QVariantList{1, 1}));
    QCOMPARE(grid.currentRow(), 1);
    QCOMPARE(results.index(grid.currentRow(), 0).data().toString(), QStringLiteral("石田工務店"));
    doubleClick(grid.viewport(), grid.visualRect(results.index(2, 0)).center());
    QCOMPARE(doubleClicked.last(), (QVariantList{2, 0}));
    commitText(&grid, QStringLiteral("あ"));
    typeText(&grid, QStringLiteral("い"));
    QVERIFY(!grid.isEditing());
    QCOMPARE(results.index(2, 0).data().toString(), QString());
}

QTEST_MAIN(TestListGridColumns)
#include "tst_list_grid_columns.moc"
