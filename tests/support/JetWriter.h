#pragma once
// A small writer of Jet database files (.mdb) for the tests: Jet 3 (Access 97,
// 2 KB pages) and Jet 4 (Access 2000, 4 KB pages), written from the file
// format's public description. It writes what a reader needs and nothing
// more: the header page, the system catalog MSysObjects with one entry per
// table, a table definition page per table, data pages, long-value pages for
// memos, and the usage maps that list each table's pages. No indexes, no
// properties, no relations.
//
// Text: Jet 3 text is written in the code page the header names (932,
// Shift-JIS, unless told otherwise); a character the code page lacks is an
// error. Jet 4 text is UCS-2 little-endian, uncompressed.
//
// Values by column kind (a null QVariant is Null in any column):
//   Text, Memo          QString (an empty text stays an empty text)
//   Long, Integer, Byte whole numbers (out of range is an error)
//   Double, Single      numbers
//   Currency            Currency, a whole number of yen, a double (rounded
//                       to four decimals) or decimal text
//   DateTime            QDateTime (to the millisecond) or QDate
//   YesNo               bool; Jet keeps yes/no in the row's null mask, so a
//                       Null yes/no reads back as No
//
// Rows are written as they are added; only the page being filled stays in
// memory, so large files (the conversion benchmark's) are cheap to make.

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace jet {

enum class Version { Jet3, Jet4 };
enum class Kind { Text, Memo, Long, Integer, Byte, Double, Single, Currency, DateTime, YesNo };

struct Column {
    QString name;
    Kind kind = Kind::Text;
};

struct Table {
    QString name;
    QList<Column> columns;
    QList<QVariantList> rows;
};

// Where the writer put things, for tests that damage a file on purpose.
struct Layout {
    int pageSize = 0;
    int pageCount = 0;
    QHash<QString, int> definitionPage;    // table name -> its table definition page
    QHash<QString, QList<int>> dataPages;  // table name -> its data pages, in order
    QList<int> catalogPages;               // data pages of MSysObjects
};

class Writer {
public:
    explicit Writer(Version version, int codePage = 932);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Creates the file (replacing any). False with error() on failure; every
    // later call then fails too.
    bool begin(const QString& path);
    // A new table; its index for addRow, -1 on failure.
    int addTable(const QString& name, const QList<Column>& columns);
    // One row: a value per column, in the columns' order.
    bool addRow(int table, const QVariantList& values);
    // Writes the catalog, the usage maps and the table definitions, closes
    // the file.
    bool finish();

    QString error() const;
    const Layout& layout() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Writes a whole file in one call. False (error in *error) on failure.
bool writeFile(const QString& path, Version version, const QList<Table>& tables, QString* error = nullptr,
               Layout* layout = nullptr, int codePage = 932);

}  // namespace jet
