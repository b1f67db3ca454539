#pragma once
// A table model over one work table (a scratch table of the work database).
//
// Work tables have no key: rows are addressed by SQLite rowid and shown in
// rowid order. All rows are held in memory; refresh() re-reads the table after
// a window changed it with SQL.
//
// Every edit is written to the table at once (one UPDATE per edit, bound
// values), so SQL that runs right after an edit sees it.
//
// Cell values, as value() returns them and setValue() takes them, by the
// column's kind (platform/ColumnValue.h; a work table has no other kinds):
//   Text     QString
//   Integer  qlonglong
//   Money    Currency (QVariant::fromValue<Currency>); stored as INTEGER
//            ten-thousandths. setValue() refuses a plain number for a Money
//            column, so a count of yen is never taken for ten-thousandths.
//   Bool     bool (stored 0/1; any non-zero reads as true, NULL as false)
//   Date     QDate (stored 'YYYY-MM-DD'); text that is no date comes back as QString
//   NULL     an invalid QVariant (every kind but Bool)
//
// The user's edits (setData from the view, or editCell) go through the edit
// path: before-update hook (may change the text or refuse it), conversion by
// kind, write, cache, dataChanged, and cellEdited when the value changed.
// Writes from code (setValue, setText, setValues, setMoney) run no hooks and
// send no cellEdited.

#include "platform/ColumnValue.h"
#include "platform/Currency.h"
#include "platform/Failure.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <utility>

class Database;

class WorkTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Kind = ColumnKind;

    struct Column {
        QString field;
        Kind kind = Kind::Text;
        QString caption;                                 // header text; the field name by default
        QString format = QStringLiteral("#,###");        // Money / Integer display (NumberFormat)
        // A number whose display shows no digit but 0 shows as an empty cell
        // (as "#,###" does in the list windows); the value itself is kept.
        bool zeroAsBlank = false;
        QString dateFormat = QStringLiteral("yyyy/mm/dd");  // Date display and edit (EraDate)
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        bool visible = true;
        int widthTwips = 1200;
        bool readOnly = false;
        // A list to pick the cell's value from: the source's column 0 becomes the value.
        // The grid re-reads the source each time the list opens.
        QPointer<WorkTableModel> dropDown;
        // Japanese input while this column is current and in its editor; nothing
        // leaves it to the grid's own setting (GridView::setInputMethodEnabled).
        std::optional<bool> inputMethod;
        // A reference table of the same database listed in the drop-down:
        // declareColumns() builds the dropDown model over it.
        QString dropDownTable;

        // The columns of the list windows, as declareColumns() takes them.
        // A tick box without caption, Japanese input off.
        static Column tick(const QString& field);
        // Text, Japanese input on.
        static Column text(const QString& field, const QString& caption, int widthTwips);
        // A number (Money by default) right-aligned in a display format ("#,###",
        // "Standard", ...), Japanese input off.
        static Column number(const QString& field, const QString& caption, int widthTwips,
                             const QString& format, Kind kind = Kind::Money);
        // Text that may also be picked from a list of referenceTable's column 0.
        static Column list(const QString& field, const QString& caption, int widthTwips,
                           const QString& referenceTable);
        Column asReadOnly() const;
        Column withInputMethod(bool on) const;
    };

    // May change the text the user entered, or refuse it (cancel = true).
    using BeforeCellUpdate = std::function<void(int row, int col, QString& text, bool& cancel)>;
    // Background of a row; nothing for the default.
    using RowStyle = std::function<std::optional<QColor>(int row)>;

    WorkTableModel(Database& db, const QString& table, QObject* parent = nullptr);

    Database& database() const { return db_; }
    QString table() const { return table_; }

    // Re-reads all rows. False (cache unchanged) when the read fails.
    bool refresh();

    // Declares the shown columns by field, in any order: each takes its
    // descriptor, every column not named is hidden, and a column with a
    // dropDownTable gets a drop-down model over that table (owned by this
    // model). False, with a warning, when a field or a reference table is
    // not in the database; the columns found are declared all the same.
    // Call GridView::applyColumns() after it.
    bool declareColumns(const QList<Column>& columns);

    // Column descriptors; call columnsChanged() (or GridView::applyColumns) after changing them.
    Column& column(int col) { return columns_[col]; }
    const Column& column(int col) const { return columns_[col]; }
    int columnOf(const QString& field) const;  // -1 when there is none
    // Tells attached views that captions, alignment or kinds changed.
    void columnsChanged();

    void setBeforeCellUpdate(BeforeCellUpdate hook) { beforeCellUpdate_ = std::move(hook); }
    void setRowStyle(RowStyle hook);

    // Reading (row and col must be in range; out of range gives null / "").
    QVariant value(int row, int col) const;
    std::optional<Currency> money(int row, int col) const;  // Money and Integer columns
    QString text(int row, int col) const;      // as shown: formatted, "" for NULL, "" for Bool
    QString editText(int row, int col) const;  // as edited: Money plain ("1234.5"), Text as stored
    bool isNull(int row, int col) const;
    qint64 rowid(int row) const;
    // The rowids of the rows whose Bool column col is ticked, in row order.
    QList<qint64> checkedRowids(int col) const;

    // Writes from code: written at once, no hooks, no cellEdited.
    bool setValue(int row, int col, const QVariant& value);
    bool setMoney(int row, int col, std::optional<Currency> value);
    bool setText(int row, int col, const QString& text);  // converted by the column's kind
    bool setValues(int row, const QList<std::pair<int, QVariant>>& values);  // one UPDATE

    // The user's edit of one cell: before-update hook, conversion, write,
    // cellEdited when the value changed and notify is true. Bool cells take
    // "1"/"0" (any non-zero number or "true" is true). False when refused by
    // the hook, not convertible (editRefused then) or not written
    // (writeFailed then); nothing changed.
    bool editCell(int row, int col, const QString& text, bool notify = true);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The user changed a cell's value (after it was written).
    void cellEdited(int row, int col);
    // A user's edit that committed the value the cell already held (typed
    // again): nothing changed in the table, but a screen that recounts after
    // every edit still wants to know.
    void cellRecommitted(int row, int col);
    // The user's edit of a cell could not be written to the work table (the
    // file is read-only, the disk full, the row gone): the cell keeps its old
    // value, and the window must tell the user (error: why, as the database
    // said it).
    void writeFailed(int row, int col, const Failure& error);
    // The user's edit of a cell is no value of the column's kind ("12O0" for
    // a number): the cell keeps its old value, and the window must tell the
    // user. (A refusal of the before-update hook is the hook's to tell.)
    void editRefused(int row, int col, const QString& text);

private:
    bool inRange(int row, int col) const;
    const QVariant& stored(int row, int col) const { return cells_[row * columns_.size() + col]; }
    // Typed text / a value from code -> the stored form (ColumnValue::stored
    // of the kind's own value); nothing when it does not convert.
    std::optional<QVariant> storedFromText(int col, const QString& text) const;
    std::optional<QVariant> storedFromValue(int col, const QVariant& value) const;
    bool sameStored(int col, const QVariant& a, const QVariant& b) const;
    bool write(int row, const QList<std::pair<int, QVariant>>& storedValues);

    Database& db_;
    QString table_;
    QString selectSql_;
    QList<Column> columns_;
    QList<qint64> rowids_;
    QList<QVariant> cells_;  // row-major, columns_.size() per row; values as the database holds them
    BeforeCellUpdate beforeCellUpdate_;
    RowStyle rowStyle_;
    Failure writeError_;  // why the last write() failed
};
