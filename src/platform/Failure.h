#pragma once
// Why something failed, in the two parts a failure box shows apart:
// - said: the program's own words (a sentence naming a file, a table, a
//   value, and the reason in Japanese); a box shows them whole, whatever
//   characters they hold;
// - engine: what the engine said (SQLite's result code and words, libmdb's
//   warnings, the loader's words), for the box's details only.
// A failure is made where it happens, by the one who knows which part is
// which; nothing sorts a text into these parts afterwards.
//
// The reason, chosen from the engine's result code, is said in Japanese
// (ReasonSentence) as part of `said`, and kept as `reason` for callers that
// act on it (start-up refuses a damaged file).

#include <QDebug>
#include <QMetaType>
#include <QString>

struct sqlite3;

enum class FailureReason {
    None,         // no reason known beyond the words
    DiskFull,     // SQLITE_FULL
    InUse,        // SQLITE_BUSY, SQLITE_LOCKED: another program holds the file
    Damaged,      // SQLITE_CORRUPT, SQLITE_NOTADB, a damaged Jet file
    NotWritable,  // SQLITE_READONLY, SQLITE_CANTOPEN, SQLITE_PERM
    Missing,      // no file at the path
};

struct Failure {
    QString said;
    QString engine;
    FailureReason reason = FailureReason::None;

    Failure() = default;
    // The program's own words only.
    explicit Failure(QString words) : said(std::move(words)) {}
    Failure(QString words, QString engineWords, FailureReason why = FailureReason::None)
        : said(std::move(words)), engine(std::move(engineWords)), reason(why)
    {
    }

    // A failure SQLite reported: its result code (primary or extended) and
    // its words. said is the reason's sentence (nothing for a code that
    // names no reason the user can act on, such as a refused constraint).
    static Failure sqlite(int resultCode, const QString& text);
    // The last failure of an SQLite connection: its extended result code and
    // words (engine words only when there is no connection).
    static Failure sqlite(sqlite3* connection);
    // The reason's sentence, and the engine's words for the details.
    static Failure because(FailureReason reason, const QString& engineWords = {});

    bool isEmpty() const { return said.isEmpty() && engine.isEmpty(); }
    // The program's own words put before what is said already.
    Failure& prepend(const QString& words);
    // Everything in one line, for logs and test output (never for a box).
    QString logText() const;
};

// The Japanese sentence of a reason: what happened and what the user can do.
QString ReasonSentence(FailureReason reason);
// The reason an SQLite result code (primary or extended) names.
FailureReason ReasonOfSqliteCode(int resultCode);

QDebug operator<<(QDebug debug, const Failure& failure);

Q_DECLARE_METATYPE(Failure)
