#pragma once
// The write of a list window's save or deletion: one transaction on one
// database, all or nothing.

#include "platform/Database.h"

#include <QString>

// Runs writes() inside one transaction on db and commits when it returns
// true. False, with the database's words in error, when the transaction
// could not start, a write failed or the commit did; then it is rolled back
// and nothing of it stays.
template <typename Writes>
bool WriteAllOrNothing(Database& db, Writes&& writes, QString* error = nullptr)
{
    Transaction tx(db);
    const bool ok = tx.started() && writes() && tx.commit();
    if (!ok) {
        if (error) *error = db.lastError();
        tx.rollback();
    }
    return ok;
}
