#pragma once
// How the master windows write: a list save, a list deletion or a hint store
// is one write. Its statements run in one transaction on each database they
// touch, while the window's busy label shows and no other storing, loading or
// listing may start. When every statement and every commit succeeded the
// window's completion box follows (if it has one); otherwise everything is
// rolled back and a failure box says what did not happen, never the
// completion box.
//
//     MasterWrite w;
//     w.databases = {&session.DataDb()};
//     w.doneCategory = QStringLiteral("登録");
//     w.doneText = QStringLiteral("ヒント");
//     w.failure = QStringLiteral("ヒントを登録できませんでした。");
//     RunMasterWrite(session, w, [&](Failure& error) { return ...statements...; });

#include "platform/Failure.h"

#include <QList>
#include <QString>
#include <functional>

class Database;
class MessageCatalog;
class QFrame;
class QLabel;
class Session;
class WorkTableModel;

struct MasterWrite {
    // The databases the statements write, each in a transaction of its own.
    // They are committed in this order once every statement succeeded; a
    // failed commit rolls back the ones not yet committed. Empty: the
    // statements are a routine that keeps its own transaction (and sets
    // error when it fails).
    QList<Database*> databases;
    // The window's busy panel and label; without them only the guard works.
    QFrame* panel = nullptr;
    QLabel* label = nullptr;
    QString busyText = QStringLiteral("登録中です････");
    // The completion box ShowMessage(doneCategory, "完了", doneText); an empty
    // category shows none.
    QString doneCategory;
    QString doneText;
    // What did not happen, for the failure box ("… できませんでした。").
    QString failure;
    // Runs once everything is committed, before the completion box (the
    // window shows what was written).
    std::function<void()> afterCommit;
};

enum class WriteResult {
    Done,    // written and committed
    Failed,  // nothing written; the failure box was shown
    Busy,    // another operation runs: nothing done, nothing shown
};

// Runs the statements; they return false at the first failure and may set
// error (by default the failed database's own words are shown).
using WriteStatements = std::function<bool(Failure& error)>;
WriteResult RunMasterWrite(Session& session, const MasterWrite& write, const WriteStatements& statements);

// True while another storing, loading or listing runs: a button handler
// returns at once, before it asks anything.
bool MasterBusy(const Session& session);

// The transaction under every master write: runs writes() inside one
// transaction on db and commits when it returns true. False, with the
// database's words in error, when the transaction could not start, a write
// failed or the commit did; then it is rolled back and nothing of it stays.
bool WriteAllOrNothing(Database& db, const std::function<bool()>& writes, Failure* error = nullptr);

// Tells the user of every edit of a list grid's cell that did not reach its
// work table: the catalogue's input warning for a value the column refuses
// (letters in a number: "単価には数字以外使用できません"), the failure box for a
// write that failed. The cell keeps its old value; a button handler whose
// commitEdit() returns false stops without a word of its own, this one is shown.
void ShowRefusedEdits(WorkTableModel* model, const MessageCatalog& messages);


// The failure text of a list or a link file that could not be read: the
// list keeps what it showed.
QString ListNotRead(const QString& what);
