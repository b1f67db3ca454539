#include "app/CellWriteFailures.h"

#include "app/MessageCatalog.h"
#include "platform/GridView.h"

void ShowCellWriteFailures(WorkTableModel* model, const MessageCatalog& messages)
{
    // Queued: a box opened inside the grid's commit would take the focus from
    // the editor that is still being closed.
    QObject::connect(
        model, &WorkTableModel::writeFailed, model,
        [&messages](int, int, const Failure& error) {
            messages.ShowFailure(QStringLiteral("入力した値を書き込めませんでした。セルは元の値のままです。"), error);
        },
        Qt::QueuedConnection);
}
