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
// words or SQLite's: TEXT/MEMO/CHAR, INTEGER/LONG/BYTE, DOUBLE/SINGLE/REAL,
// CURRENCY/MONEY (REAL, integer or decimal text), YESNO/BOOLEAN/BIT (0/1 or
// -1), DATETIME/DATE (text "yyyy-MM-dd[ HH:mm:ss[.zzz]]", "/" also allowed),
// BLOB/BINARY; a column without a declared type gives what is stored. A
// value that does not fit its column's kind is an error, never a guess.
// Whole numbers, yes/no, currency and date texts are read as
// platform/JetValue.h reads them, the same for the data conversion.
//
// Every failure (missing file, not a database, locked or damaged file,
// missing table or column, unreadable value) names the file or the table and
// is reported through error() and failure(): the program's words for the
// user, the engine's (SQLite's, libmdb's, the system's) apart for the
// details; nothing throws or aborts.
//
// Names of tables and columns are matched without regard to ASCII case, as
// Jet does. Rows are read whole; a caller that needs a filter filters them.
// A Jet file is read while events other than user input run (the windows
// repaint; their own busy guards keep clicks out).

#include "platform/Currency.h"
#include "platform/Failure.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class LinkFileBackend;
struct sqlite3_stmt;

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
    friend class LinkFile;
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
    // The rows of the table in the file's order, handed to `row` one at a
    // time without holding the table; `row` returns false to stop. False on
    // failure (as rows()) and when `row` stopped the read. A failure can come
    // after some rows were handed over (damage found further on, or a row
    // count that differs from the table's definition at the end): rows are
    // final only when this returns true, so write them where a false undoes
    // them (a transaction).
    bool forEachRow(const QString& table, const std::function<bool(const LinkRow&)>& row);
    // The rows of rows(table, orderBy), in the same order, handed over as
    // forEachRow(table, row) hands them (no order: that one). An SQLite file
    // is read in that order by SQLite itself, so memory stays flat whatever
    // the table's size (when a column holds values whose SQL order could
    // differ, it is read as rows() reads it). A Jet file's table is read
    // whole into a temporary file on disk and ordered there, so memory stays
    // flat too; its rows are handed over only once the whole table has been
    // read without a failure.
    bool forEachRow(const QString& table, const QStringList& orderBy, const std::function<bool(const LinkRow&)>& row);

    // A link value as Currency, as JetValue::currency reads it: Currency
    // itself, a whole number, a double (rounded to four decimals once) or
    // decimal text. Nothing for Null and for anything else.
    static std::optional<Currency> toCurrency(const QVariant& value);

    // For a reader that converts an SQLite file's values itself, without a
    // LinkRow per row: the kind a column declares (as listed above; Any
    // when it declares none) and a row as SQLite holds it.
    enum class StoredKind { Any, Text, Integer, Real, Money, YesNo, DateTime, Binary };
    struct StoredRow {
        sqlite3_stmt* statement;          // standing on the row; columns in the table's order
        const QList<StoredKind>& kinds;
        const QStringList& columns;
    };
    static constexpr int kNext = -1, kStop = -2;
    enum class StoredRead { Done, Failed, Unavailable };
    // The rows forEachRow(table, orderBy, ...) hands over, in the same
    // order, as stored: `row` returns kNext, kStop, or the index of a column
    // whose value does not fit its kind (the read then fails with BadValue,
    // as forEachRow does). Unavailable, before any row and without an error,
    // when the file is not SQLite, orderBy is empty, or SQLite cannot give
    // the order (forEachRow then reads the table whole); Failed as forEachRow
    // fails, or when `row` stopped.
    StoredRead forEachStoredRow(const QString& table, const QStringList& orderBy,
                                const std::function<int(const StoredRow&)>& row);
    // The value at column i of a stored row as forEachRow hands it; nothing
    // when it does not fit the kind.
    static std::optional<QVariant> linkValue(sqlite3_stmt* statement, int i, StoredKind kind);
    // The text at column i of a stored row as forEachRow reads it.
    static QString storedText(sqlite3_stmt* statement, int i);
    // Whether text stored as these bytes reads as storedText() reads it,
    // character for character: valid UTF-8 without U+FFFE or U+FFFF
    // (SQLite reads those two as U+FFFD).
    static bool readsAsStored(QByteArrayView utf8);

private:
    bool fail(Error error, const Failure& failure);
    // The table's name as the file spells it and the places of the order
    // columns; nothing (error set) when the table or a column is missing.
    std::optional<std::pair<QString, QList<qsizetype>>> orderColumns(const QString& table, const QStringList& orderBy);
    QString resolveTable(const QString& table) const;
    static std::shared_ptr<const LinkRow::Header> header(const QStringList& columns);
    // forEachRow(table, orderBy, row) for a file SQLite does not read: the
    // table read whole onto disk, then handed over in order
    // (LinkFileScratch.cpp). Nothing, before any row is handed over and
    // without an error, when a value cannot be ordered there as rows()
    // orders it or the temporary file cannot be used.
    std::optional<bool> forEachOrderedOnDisk(const QString& table, const QList<qsizetype>& order,
                                             const std::function<bool(const LinkRow&)>& row);

    std::unique_ptr<LinkFileBackend> backend_;
    Format format_ = Format::None;
    QString path_;
    Error error_ = Error::None;
    Failure failure_;
    ReaderLimits limits_;
};
