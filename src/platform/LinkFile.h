#pragma once
// Reads the database file of a linked application or of the program's older
// generation (a "link file"), read-only.
//
// The backend is chosen by the file's signature:
// - "Standard Jet DB" at byte 4: a Jet file (.mdb of Access 97 = Jet 3 or
//   Access 2000 = Jet 4), read through libmdb (mdbtools) in a reader process
//   of the program's own (velt_jet_reader, beside the program), held to the
//   limits of ReaderLimits. Jet 3 text is in the code page the file's header
//   names (932, Shift-JIS, when it names none), Jet 4 text is Unicode.
//   A damaged Jet file is a failure, never a shorter table: a file cut
//   short, a catalog or table with fewer or more rows than its definition
//   records, a definition that cannot be read, anything libmdb warns about,
//   and a reader that stops making progress, crashes or runs out of memory.
// - "SQLite format 3" at byte 0: an SQLite file of the same tables and
//   columns, opened read-only (no journal, no WAL file is ever created).
// - anything else: not a database.
// The file is never changed.
//
// Values come back typed, the same way from both backends:
//   text, memo                 QString
//   byte, integer, long        qint64
//   single, double, decimal    double
//   currency                   Currency (exact; LinkFile::toCurrency reads it)
//   yes/no                     bool (Jet stores -1 for yes)
//   date/time                  QDateTime, with its time of day to the
//                              millisecond (an SQLite text holding only a
//                              date gives a QDate)
//   binary                     QByteArray
//   Null                       a null QVariant
// An SQLite link file says a column's kind by its declared type, in Jet's
// words or SQLite's (ColumnKindOf, platform/ColumnValue.h): TEXT/MEMO/CHAR,
// INTEGER/LONG/BYTE, DOUBLE/SINGLE/REAL, CURRENCY/MONEY (REAL, integer or
// decimal text), YESNO/BOOLEAN/BIT (0/1 or -1), DATETIME/DATE (text
// "yyyy-MM-dd[ HH:mm:ss[.zzz]]", "/" also allowed), BLOB/BINARY; a column
// without a declared type gives what is stored. A value that does not fit
// its column's kind is an error, never a guess. Values are read as
// ColumnValue::read reads them, the same for the data conversion.
//
// Every failure (missing file, not a database, locked or damaged file,
// missing table or column, unreadable value) names the file or the table and
// is reported through error() and failure(): the program's words for the
// user, the engine's (SQLite's, libmdb's, the system's) apart for the
// details; nothing throws or aborts.
//
// Names of tables and columns are matched without regard to ASCII case, as
// Jet does. A caller that needs a filter filters the rows.
// A Jet file is read while events other than user input run (the windows
// repaint; their own busy guards keep clicks out).

#include "platform/ColumnValue.h"
#include "platform/Currency.h"
#include "platform/Failure.h"
#include "platform/StoredValue.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class LinkFileBackend;

// A row of a link table: its values by column name.
class LinkRow {
public:
    // True when the table has the column (a Null value still counts).
    bool has(const QString& column) const;
    // The value of the column; a null QVariant for Null and for a column the
    // table lacks (has() tells them apart).
    QVariant value(const QString& column) const;
    QVariant value(qsizetype index) const { return index >= 0 && index < values_.size() ? values_[index] : QVariant(); }
    const QVariantList& values() const { return values_; }
    const QStringList& columns() const;

private:
    friend class LinkCursor;
    friend class HeldCursor;
    struct Header {
        QStringList columns;
        QHash<QString, qsizetype> byName;  // exact and case-folded names
        qsizetype indexOf(const QString& name) const;
    };
    std::shared_ptr<const Header> header_;
    QVariantList values_;
};

// The rows of one table, and its columns in the file's order.
struct LinkTable {
    QString name;          // as the file spells it
    QStringList columns;
    QList<LinkRow> rows;

    bool hasColumn(const QString& column) const;
};

// The row a read of LinkFile::forEachRow stands on, read column by column
// as they are asked for. It is good only while `row` runs: the read moves on
// when `row` returns, and what it lent of the row (StoredValue::lend) with
// it.
class LinkCursor {
public:
    virtual ~LinkCursor() = default;
    LinkCursor(const LinkCursor&) = delete;
    LinkCursor& operator=(const LinkCursor&) = delete;

    // The table's columns in the file's order.
    const QStringList& columns() const { return header_->columns; }

    // The value of column i as rows() gives it. Nothing when it does not fit
    // its column's kind: the read then fails with BadValue naming it, once
    // `row` returns.
    virtual std::optional<QVariant> value(qsizetype i) = 0;
    // The whole row, every value as value() gives it; nothing (the read
    // fails as above) when one does not fit.
    virtual std::optional<LinkRow> row();

    enum class Stored {
        Fits,
        Refused,     // the value does not fit `kind`: out is left as it was
        Unreadable,  // value(i) gives nothing: the read fails as above
    };
    // The value of column i in the form a column of `kind` stores it,
    // ColumnValue::stored(value(i), kind), into `out`: a text may be lent
    // from the row.
    virtual Stored stored(qsizetype i, ColumnKind kind, StoredValue& out);

    // True when the row is held in memory, its values read already (a table
    // read whole, or through a temporary file); false when the values are
    // read from the file's own row as they are asked for.
    virtual bool held() const = 0;

protected:
    explicit LinkCursor(const QStringList& columns);
    explicit LinkCursor(std::shared_ptr<const LinkRow::Header> header) : header_(std::move(header)) {}
    // The clock of the row the read stands on, for what a cursor lends.
    const RowClock& clock() const { return *clock_; }
    std::shared_ptr<const LinkRow::Header> header_;

private:
    friend class LinkFile;
    const RowClock* clock_ = nullptr;
};

class LinkFile {
public:
    enum class Format { None, Jet3, Jet4, SQLite };
    enum class Error {
        None,
        NotFound,      // no file at the path (or a folder)
        NotADatabase,  // neither signature
        Unreadable,    // a database that cannot be read: locked, damaged, no access
        NoTable,
        NoColumn,
        BadValue,      // a value that does not fit its column's kind
    };

    // What the reader process of a Jet file may take: a read with no data
    // for silenceMs, or a reader above memoryBytes of address space, ends as
    // a damaged file.
    struct ReaderLimits {
        int silenceMs = 20000;
        qint64 memoryBytes = qint64(512) * 1024 * 1024;
    };

    // How forEachRow keeps the order asked for.
    enum class Order {
        // In that order, whatever it takes: an SQLite file is ordered by
        // SQLite itself while it is read, so memory stays flat (a table
        // whose values SQL could order otherwise is read whole and ordered
        // as rows() orders it); a Jet file's table is read whole into a
        // temporary file on disk and ordered there, so memory stays flat
        // too, and its rows are handed over only once the whole table has
        // been read without a failure.
        Required,
        // In that order when SQLite gives it as it reads the file, else in
        // the file's order.
        Preferred,
    };

    LinkFile();
    ~LinkFile();
    LinkFile(const LinkFile&) = delete;
    LinkFile& operator=(const LinkFile&) = delete;

    // The format the file's first bytes announce; None for any other file
    // and for a file that cannot be read.
    static Format detect(const QString& path);

    // The limits of the Jet reader process; they apply from the next open().
    void setReaderLimits(const ReaderLimits& limits) { limits_ = limits; }

    // Opens the file read-only. False (with error()) when it cannot be opened
    // or its list of tables cannot be read.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return backend_ != nullptr; }
    Format format() const { return format_; }
    QString path() const { return path_; }

    Error error() const { return error_; }
    const Failure& failure() const { return failure_; }
    // The failure in one line, for logs.
    QString errorText() const { return failure_.logText(); }

    // Tables of the file (user tables; for SQLite, tables and views).
    QStringList tables() const;
    bool hasTable(const QString& table) const;
    // The table's columns in the file's order; nothing (NoTable) when missing.
    std::optional<QStringList> columns(const QString& table);
    // All rows of the table, in the file's order or, when orderBy names
    // columns, ordered by them (ascending, Null first, then numbers, dates
    // and texts; texts in Japanese order, platform/JapaneseOrder.h; rows
    // that compare equal keep the file's order). Nothing on failure: NoTable, NoColumn for an order
    // column the table lacks, Unreadable, BadValue.
    std::optional<LinkTable> rows(const QString& table, const QStringList& orderBy = {});
    // The rows of the table, in the file's order or, when orderBy names
    // columns, in the order of rows(table, orderBy) as `order` keeps it,
    // handed to `row` one at a time without holding the table; `row`
    // returns false to stop. False on failure (as rows(), and a value `row`
    // asked for that does not fit its kind) and when `row` stopped the read.
    // A failure can come after some rows were handed over (damage found
    // further on, a value that does not fit, or a row count that differs
    // from the table's definition at the end): rows are final only when this
    // returns true, so write them where a false undoes them (a transaction).
    bool forEachRow(const QString& table, const QStringList& orderBy, const std::function<bool(LinkCursor&)>& row,
                    Order order = Order::Required);

    // A link value as Currency, as JetValue::currency reads it: Currency
    // itself, a whole number, a double (rounded to four decimals once) or
    // decimal text. Nothing for Null and for anything else.
    static std::optional<Currency> toCurrency(const QVariant& value);

private:
    bool fail(Error error, const Failure& failure);
    struct OrderColumns {
        QString table;  // as the file spells it
        QStringList columns;
        QList<qsizetype> places;  // of the order columns
    };
    // The table and the places of its order columns; nothing (error set)
    // when the table or a column is missing.
    std::optional<OrderColumns> orderColumns(const QString& table, const QStringList& orderBy);
    QString resolveTable(const QString& table) const;

    std::unique_ptr<LinkFileBackend> backend_;
    Format format_ = Format::None;
    QString path_;
    Error error_ = Error::None;
    Failure failure_;
    ReaderLimits limits_;
    RowClock clock_;  // ticks with every row handed over, and at the end of each read
};
