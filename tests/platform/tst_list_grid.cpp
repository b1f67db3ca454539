// The grid as the list windows use it: declared columns (tick, text, number,
// drop-down, read-only), rows by rowid, a frozen left pane, Enter to the next
// row, Japanese input per column, and a pending edit that reaches the work
// table before a button's handler reads it. The harness is the product list
// in miniature over its own work table.

#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "StoredCells.h"
#include "support/TestFolder.h"
#include "support/WidgetText.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QVBoxLayout>
#include <QtTest>

using Column = WorkTableModel::Column;
using Kind = WorkTableModel::Kind;

namespace {

const QString kList = QStringLiteral("w商品マスタ");

// Columns of w商品マスタ.
enum { Tick, Name, Category, Pack, Unit, Price, TaxFree, Reading };

void commitText(QWidget* w, const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}

void composeText(QWidget* w, const QString& text)
{
    QInputMethodEvent preedit(text, {});
    QApplication::sendEvent(w, &preedit);
}

// A double click as a hand makes it: a click, then the second press that
// the system reports as a double click.
void doubleClick(QWidget* w, const QPoint& at)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

// Where a cell's check box is drawn, in the coordinates of the view's viewport.
QPoint checkBoxOf(QTableView* view, const QModelIndex& cell)
{
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.rect = view->visualRect(cell);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view).center();
}

// The product list in miniature: its grid over w商品マスタ with two frozen
// columns, Enter in ふりがな to the next row's 品名, a 登録 button whose
// handler commits the grid's pending edit and then reads the table, a button
// that takes no focus, and a text box to move the focus to.
class Harness {
public:
    explicit Harness(int rows = 30, const QString& priceFormat = QStringLiteral("#,###"))
    {
        db.open(data.workDbPath(), Database::Role::Work);
        for (int i = 1; i <= rows; ++i) {
            db.exec(QStringLiteral("insert into w商品マスタ (チェック, 品名, 単位, 単価, 非課税, ふりがな) values (0, ?, '本', ?, 0, ?)"),
                    {QStringLiteral("商品%1").arg(i), qlonglong(i) * 12345000, QStringLiteral("しょうひん%1").arg(i)});
        }
        db.exec(QStringLiteral("insert into w単位参照 (sname) values ('本'), ('個'), ('箱')"));
        db.exec(QStringLiteral("insert into w商品区分参照 (sname) values ('文具'), ('紙')"));

        model = new WorkTableModel(db, kList, &window);
        Column taxFree = Column::tick(QStringLiteral("非課税"));
        taxFree.caption = QStringLiteral("非課税");
        taxFree.widthTwips = 700;
        declaredOk = model->declareColumns({
            Column::tick(QStringLiteral("チェック")),
            Column::text(QStringLiteral("品名"), QStringLiteral("品名"), 2400),
            Column::list(QStringLiteral("商品区分"), QStringLiteral("商品区分"), 1200, QStringLiteral("w商品区分参照")),
            Column::list(QStringLiteral("入数"), QStringLiteral("入数"), 900, QStringLiteral("w入数参照")),
            Column::list(QStringLiteral("単位"), QStringLiteral("単位"), 900, QStringLiteral("w単位参照")),
            Column::number(QStringLiteral("単価"), QStringLiteral("単価"), 1400, priceFormat),
            taxFree,
            Column::text(QStringLiteral("ふりがな"), QStringLiteral("ふりがな"), 2400),
        });

        window.setObjectName(QStringLiteral("Harness"));
        window.setWindowTitle(QStringLiteral("商品情報"));
        grid = new GridView(&window);
        grid->setObjectName(QStringLiteral("Grid商品マスタ"));
        grid->setModel(model);
        grid->setFrozenColumns(2);
        grid->setEnterToNextRow(Reading, Name);
        save = new QPushButton(QStringLiteral("登録"), &window);
        noFocus = new QPushButton(QStringLiteral("選択"), &window);
        noFocus->setFocusPolicy(Qt::NoFocus);
        other = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(save);
        layout->addWidget(noFocus);
        layout->addWidget(other);
        const auto handler = [this] {
            if (commitFirst && !grid->commitEdit()) return;
            seen = rawCell(db, kList, QStringLiteral("品名"), model->rowid(0));
            seenPrice = rawCell(db, kList, QStringLiteral("単価"), model->rowid(0));
        };
        QObject::connect(save, &QPushButton::clicked, &window, handler);
        QObject::connect(noFocus, &QPushButton::clicked, &window, handler);
        window.resize(520, 360);
    }

    bool show()
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window)) return false;
        grid->setFocus();
        return true;
    }

    QString stored(const QString& field, int row) { return rawCell(db, kList, field, model->rowid(row)); }

    TestFolder data;
    Database db;
    QWidget window;
    WorkTableModel* model = nullptr;
    GridView* grid = nullptr;
    QPushButton* save = nullptr;
    QPushButton* noFocus = nullptr;
    QLineEdit* other = nullptr;
    bool declaredOk = false;
    bool commitFirst = true;
    QString seen;       // 品名 of the first row, as the handler read it from the table
    QString seenPrice;  // 単価 of the first row, likewise
};

}  // namespace

class TestListGrid : public QObject {
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
    void listWithoutWorkTable();
    void harnessPicture();
};

void TestListGrid::declaredColumns()
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

void TestListGrid::declareRefusesUnknownNames()
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

void TestListGrid::numberColumn_data()
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

void TestListGrid::numberColumn()
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

void TestListGrid::duplicateRowsEditApart()
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

void TestListGrid::tickColumn_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("col");
    QTest::newRow("click, frozen pane") << "click" << int(Tick);
    QTest::newRow("space, frozen pane") << "space" << int(Tick);
    QTest::newRow("click, scrolling pane") << "click" << int(TaxFree);
    QTest::newRow("space, scrolling pane") << "space" << int(TaxFree);
}

void TestListGrid::tickColumn()
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

void TestListGrid::dropDownReadsTableWhenOpened()
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

void TestListGrid::readOnlyColumns_data()
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

void TestListGrid::readOnlyColumns()
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

void TestListGrid::frozenPane()
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

void TestListGrid::enterToNextRow_data()
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

void TestListGrid::enterToNextRow()
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

void TestListGrid::inputMethodPerColumn_data()
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

void TestListGrid::inputMethodPerColumn()
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

void TestListGrid::japaneseTypingStartsEdit_data()
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

void TestListGrid::japaneseTypingStartsEdit()
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

void TestListGrid::pendingEditReachesTable_data()
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

void TestListGrid::pendingEditReachesTable()
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

void TestListGrid::refusedEditStopsOnlyItsButton_data()
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

void TestListGrid::refusedEditStopsOnlyItsButton()
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

void TestListGrid::listWithoutWorkTable()
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

void TestListGrid::harnessPicture()
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

QTEST_MAIN(TestListGrid)
#include "tst_list_grid.moc"
