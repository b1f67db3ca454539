#pragma once
// A write of a master list that belongs together (a list save, a deletion of
// ticked rows): one transaction of the data database, all or nothing. On
// failure it is rolled back and the failure message says what was not done,
// with the database's own words; no completion message follows it.

#include <QString>
#include <functional>

class BusyPanel;
class Database;
class MessageCatalog;

// Runs body inside one transaction of db and commits it. body returns false
// (with error set to what went wrong) when a statement failed. False, after
// the rollback and the message ("その他", "失敗") of failureText, when the
// transaction could not start, body failed or the commit failed. A busy
// label (when given) is taken down before the message.
bool WriteAsOne(Database& db, const MessageCatalog& messages, const QString& failureText,
                const std::function<bool(QString& error)>& body, BusyPanel* busy = nullptr);
