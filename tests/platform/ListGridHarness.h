#pragma once
// The grid as the list windows use it, in miniature: the product list's grid
// over its own work table (Harness), and the hands that type, compose and
// click into it.

#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "StoredCells.h"
#include "support/TestFolder.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QVBoxLayout>
#include <QtTest>

using Column = WorkTableModel::Column;
using Kind = WorkTableModel::Kind;

inline const QString kList = QStringLiteral("w商品マスタ");

// Columns of w商品マスタ.
enum { Tick, Name, Category, Pack, Unit, Price, TaxFree, Reading };

inline void commitText(QWidget* w, const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w, &commit);
}

inline void composeText(QWidget* w, const QString& text)
{
    QInputMethodEvent preedit(text, {});
    QApplication::sendEvent(w, &preedit);
}

// A double click as a hand makes it: a click, then the second press that
// the system reports as a double click.
inline void doubleClick(QWidget* w, const QPoint& at)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
}

// Where a cell's check box is drawn, in the coordinates of the view's viewport.
inline QPoint checkBoxOf(QTableView* view, const QModelIndex& cell)
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
