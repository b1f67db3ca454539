#include "masters/MasterWrite.h"

#include "app/BusyPanel.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "platform/Database.h"

#include <QLoggingCategory>
#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcMasters, "velt.masters")

bool MasterBusy(const Session& session)
{
    return session.operationRunning;
}

WriteResult RunMasterWrite(Session& session, const MasterWrite& write, const WriteStatements& statements)
{
    QString error;
    bool ok = true;
    {
        BusyPanel busy(session.operationRunning, write.panel, write.label, write.busyText);
        if (!busy.active()) return WriteResult::Busy;

        std::vector<std::unique_ptr<Transaction>> transactions;
        for (Database* db : write.databases) {
            transactions.push_back(std::make_unique<Transaction>(*db));
            if (!transactions.back()->started()) {
                ok = false;
                error = db->lastError();
                break;
            }
        }
        if (ok && !statements(error)) {
            ok = false;
            if (error.isEmpty()) {
                for (Database* db : write.databases) {
                    if (!db->lastError().isEmpty()) {
                        error = db->lastError();
                        break;
                    }
                }
            }
        }
        for (std::size_t i = 0; ok && i < transactions.size(); ++i) {
            if (!transactions[i]->commit()) {
                ok = false;
                error = write.databases[int(i)]->lastError();
                if (i > 0) qCWarning(lcMasters) << "a write was committed to one database but not to the next";
            }
        }
        // Whatever was not committed rolls back here, before the box shows.
    }
    if (!ok) {
        qCWarning(lcMasters).noquote() << write.failure << error;
        session.messages().ShowFailure(write.failure, error);
        return WriteResult::Failed;
    }
    if (write.afterCommit) write.afterCommit();
    if (!write.doneCategory.isEmpty()) session.messages().ShowMessage(write.doneCategory, QStringLiteral("完了"), write.doneText);
    return WriteResult::Done;
}

bool WriteAllOrNothing(Database& db, const std::function<bool()>& writes, QString* error)
{
    Transaction tx(db);
    const bool ok = tx.started() && writes() && tx.commit();
    if (!ok) {
        if (error) *error = db.lastError();
        tx.rollback();
    }
    return ok;
}

bool WriteAsOne(Database& db, const MessageCatalog& messages, const QString& failureText,
                const std::function<bool(QString& error)>& body, BusyPanel* busy)
{
    QString bodyError;
    QString dbError;
    if (WriteAllOrNothing(db, [&] { return body(bodyError); }, &dbError)) return true;
    if (busy) busy->done();
    messages.ShowFailure(failureText, bodyError.isEmpty() ? dbError : bodyError);
    return false;
}
