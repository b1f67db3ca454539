#pragma once
// What a table copy of the data conversion did, and the closing message of
// a run that names what was not copied.

#include "platform/Failure.h"

#include <QList>
#include <QMap>
#include <QString>

// Why a quotation was left out whole: neither its header nor a line of it
// was written. In the order the message names them.
enum class LeftOut {
    EmptyKey,  // a line of it without its customer's name
    BadKey,    // a line of it whose key does not fit its column
    Conflict,  // the current file holds another quotation under its number
    NoHeader,  // the older file has lines of it but no header
    NoLines,   // the older lines could not be read
};

// What one table copy did.
struct TableOutcome {
    explicit TableOutcome(const QString& name = {}) : table(name) {}

    QString table;
    bool missing = false;  // the older file has no such table: nothing done
    Failure failure;       // not empty: nothing of the table was written, and why
    int read = 0;          // rows of the older table
    int copied = 0;        // rows added or updated
    int emptyKeys = 0;     // skipped: a key field Null or empty
    int badKeys = 0;       // skipped: a key value that does not fit its column
    int badCodes = 0;      // skipped: a code outside "01".."99"
    int leftOut = 0;       // skipped: rows of quotations left out whole
    // The quotations left out whole by number, ascending, under the first
    // reason found; both quotation tables' outcomes hold them.
    QMap<LeftOut, QList<qint64>> quotationsLeftOut;
    int refused = 0;       // values left unwritten in rows written: they do not fit their column

    // Every row read was copied and nothing failed.
    bool complete() const;
    // One line for the user: what was read, copied and skipped, or why not
    // (in the program's words; the engine's are failure.engine).
    QString summaryLine() const;
};

// The message after a run: "コンバートが終了しました", followed by a line per
// table when any table is not complete, and the quotations left out whole,
// by reason and number.
QString ConversionMessage(const QList<TableOutcome>& outcomes);
