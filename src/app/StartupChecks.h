#pragma once
// What start-up does with the data files before anything is written to them:
// check that both files and their folder can be written, that neither is cut
// short, open both databases and check that each holds every table and
// column the program reads and writes. Every check of the files at start-up
// belongs here; the main window's load shows the problem in the start-up
// error box and ends. So it does when the load's own first reads meet a
// damaged file (DamageMetByTheLoad).

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

// After the main window's load: the first failure of the load's reads that
// found a data or work file damaged (the settings row, the code lists, the
// names of the pick lists are read there), as the start-up problem of that
// file; nothing when the load met no damage.
std::optional<StartupProblem> DamageMetByTheLoad(Session& session);

// A table a file must hold with its columns, as the shipped file holds them
// (data/*.sql builds both). byPlace: a table the windows bind a grid to,
// which addresses its columns by place; they must stand in this order.
struct RequiredTable {
    QString table;
    QStringList columns;
    bool byPlace = false;
};

// The tables the data file (Role::Data) or the work file (Role::Work) must hold.
const QList<RequiredTable>& RequiredTables(Database::Role file);

// Nothing when the database holds every required table of the file with
// every column (those bound by place in their places); else the first thing
// wrong: a missing table ("テーブル w明細 がありません。"), a missing column
// ("テーブル 見積書ヘッダ に列 件名 がありません。"), a column in another place
// ("テーブル w明細 の列 金額 が 11 番目にあります (8 番目にあるはずの列です)。"),
// when it holds none of the tables, that it is not a database of this program
// (an emptied file, a database of other tables), or what SQLite said when the
// list of its tables cannot be read.
std::optional<Failure> CheckRequiredTables(Database& db, Database::Role file);

// Nothing when the SQLite file at path is as long as its header says;
// else that it is cut short (damaged). A file that is no SQLite file is left
// to the open that follows.
std::optional<Failure> CheckFileLength(const QString& path);
