#include "masters/MasterWrite.h"

#include "app/BusyPanel.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/CellWriteFailures.h"
#include "platform/Database.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>
#include <limits>

Q_LOGGING_CATEGORY(lcMasters, "velt.masters")

bool MasterBusy(const Session& session)
{
    return session.operationRunning();
}

WriteResult RunMasterWrite(Session& session, const MasterWrite& write, const WriteStatements& statements)
{
    Failure error;
    bool ok = false;
    {
        BusyPanel busy(session, write.panel, write.label, write.busyText);
        if (!busy.active()) return WriteResult::Busy;

        // One WriteAllOrNothing per database, each around the next: the
        // statements run innermost, inside every transaction, and the first
        // database listed is committed first. A failure anywhere rolls back
        // every transaction not yet committed.
        Failure statementError;
        Failure dbError;  // the first database's failure, in the order listed
        std::function<bool()> writes = [&] { return statements(statementError); };
        for (int i = 0; i < write.databases.size(); ++i) {
            writes = [i, db = write.databases[i], inner = std::move(writes), &dbError] {
                bool innerDone = false;
                Failure e;
                if (WriteAllOrNothing(*db, [&] { return innerDone = inner(); }, &e)) return true;
                if (innerDone && i > 0) qCWarning(lcMasters) << "a write was committed to one database but not to the next";
                if (dbError.isEmpty()) dbError = e;
                return false;
            };
        }
        ok = writes();
        if (!ok) error = statementError.isEmpty() ? dbError : statementError;
        // Nothing uncommitted is left when the busy label goes, before the box shows.
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

bool WriteAllOrNothing(Database& db, const std::function<bool()>& writes, Failure* error)
{
    Transaction tx(db);
    const bool ok = tx.started() && writes() && tx.commit();
    if (!ok) {
        if (error) *error = db.lastError();
        tx.rollback();
    }
    return ok;
}

void ShowRefusedEdits(WorkTableModel* model, const MessageCatalog& messages)
{
    ShowCellWriteFailures(model, messages);
    // Queued, as the failure box is: the grid is still closing the editor.
    QObject::connect(
        model, &WorkTableModel::editRefused, model,
        [model, &messages](int, int col, const QString& text) {
            const WorkTableModel::Column& c = model->column(col);
            const QString name = c.caption.isEmpty() ? c.field : c.caption;
            if (c.kind == WorkTableModel::Kind::Money || c.kind == WorkTableModel::Kind::Integer)
                messages.ShowRefusedNumber(name, text, Currency::fromRaw(std::numeric_limits<int64_t>::min()),
                                           Currency::fromRaw(std::numeric_limits<int64_t>::max()));
            else
                messages.ShowFailure(QStringLiteral("「%1」には入力した値を使えません。セルは元の値のままです。").arg(name),
                                     Failure(MessageCatalog::ShortValue(text)));
        },
        Qt::QueuedConnection);
}

QString ListNotRead(const QString& what)
{
    return what + QStringLiteral("を読み込めませんでした。一覧は変更していません。");
}
