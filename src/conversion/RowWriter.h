#pragma once
// How a table copy writes its rows: the update and the insert of one set of
// the fields it writes, run through SQLite directly (one or two statements
// per row of a long copy).

#include "conversion/TableCopy.h"
#include "platform/SqliteStatement.h"

#include <optional>
#include <span>
#include <vector>

namespace tablecopy {

// When rows are gathered (the key index needs no rowid of a row added), new
// rows are kept, their texts held (StoredValue::keep), and inserted kBatch
// at a time: one statement of many rows costs SQLite less than as many
// statements. Gathered rows are written by flush(), which the copy calls
// before anything else reads or writes the table.
class RowWriter {
public:
    static constexpr int kBatch = 32;

    RowWriter(Database& data, const CopyRule& rule, const QList<qsizetype>& fields, bool gather);

    // Updates the row at rowid, or adds one when there is none (and sets
    // rowid to the new row's, unless the row is gathered).
    bool write(const Slots& values, std::optional<qint64>& rowid, Failure& error);
    // Inserts the rows gathered, in the order they came.
    bool flush(Failure& error);

private:
    // Binds the values of the fields of each row, then `last` when it is
    // given, and runs the statement.
    bool run(SqliteStatement& statement, std::span<const Slots* const> rows, std::optional<qint64> last,
             Failure& error);

    QList<qsizetype> fields_;
    bool gathering_ = false;
    std::optional<SqliteStatement> update_, insert_, batch_;
    std::vector<Slots> gathered_;
};

}  // namespace tablecopy
