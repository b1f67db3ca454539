#include "masters/MasterWrite.h"

#include "app/BusyPanel.h"
#include "app/MessageCatalog.h"
#include "platform/Database.h"

bool WriteAsOne(Database& db, const MessageCatalog& messages, const QString& failureText,
                const std::function<bool(QString& error)>& body, BusyPanel* busy)
{
    QString error;
    bool ok = false;
    {
        Transaction t(db);
        if (!t.started()) {
            error = db.lastError();
        } else if (!body(error)) {
            t.rollback();
        } else {
            ok = t.commit();
            if (!ok) error = db.lastError();
        }
    }
    if (ok) return true;
    if (busy) busy->done();
    messages.ShowFailure(failureText, error);
    return false;
}
