#pragma once
// What start-up does with the data files before anything is written to them:
// check that both files and their folder can be written, open both
// databases and check that each holds the tables the program needs. Every
// check of the files at start-up belongs here; the main window's load shows
// the problem in the start-up error box and ends.

#include "platform/Database.h"
#include "platform/Failure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class MessageCatalog;
class Session;

struct StartupProblem {
    QString file;    // the file (or folder) the problem is in
    Failure detail;  // what is wrong: the program's words, the engine's apart
    QString headline = QStringLiteral("データベースを開けません。");
};

// Shows the start-up error box: the headline, the file and what the detail
// says; the engine's words in the box's details.
void ShowStartupProblem(const MessageCatalog& messages, const StartupProblem& problem);

// Checks the folder and the files of the session and opens DataDb and WorkDb
// at their paths. On a problem both are closed again and nothing has been
// written to either file or created in the folder; otherwise both are open
// and configured for the run.
std::optional<StartupProblem> OpenDataFiles(Session& session);

// A table a file must hold. columns: the leading columns of a table the
// windows bind a grid to, in the order they address them; empty for a table
// only read and written by name.
struct RequiredTable {
    QString table;
    QStringList columns;
};

// The tables the data file (Role::Data) or the work file (Role::Work) must hold.
const QList<RequiredTable>& RequiredTables(Database::Role file);

// Nothing when the database holds every required table of the file with its
// columns in their places; else the first thing wrong: a missing table
// ("テーブル w明細 がありません。"), a missing column ("テーブル w明細 に列 小計
// がありません。"), a column in another place ("テーブル w明細 の列 金額 が 11
// 番目にあります (8 番目にあるはずの列です)。"), or, when it holds none of the
// tables, that it is not a database of this program (an emptied file, a
// database of other tables), or what SQLite said when the list of its
// tables cannot be read.
std::optional<Failure> CheckRequiredTables(Database& db, Database::Role file);
