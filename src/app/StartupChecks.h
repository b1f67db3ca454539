#pragma once
// What start-up does with the data files before anything is written to them:
// open both databases and check that each holds what the windows bind to.
// Every check of the files at start-up belongs here; the main window's load
// shows the problem in its error box and ends.

#include <QString>
#include <optional>

class Database;
class Session;

struct StartupProblem {
    QString file;    // the file the problem is in
    QString detail;  // what is wrong, in the user's words or the database's
};

// Opens DataDb and WorkDb of the session at its paths and checks them. On a
// problem both are closed again and nothing has been written to either file;
// otherwise both are open and configured for the run.
std::optional<StartupProblem> OpenDataFiles(Session& session);

// The work tables the windows bind their grids to, each with its columns in
// the order the windows address them; nothing when all are there, else what
// is missing ("テーブル w明細 がありません。", "テーブル w明細 に列 小計 がありません。").
std::optional<QString> CheckBoundWorkTables(Database& work);
