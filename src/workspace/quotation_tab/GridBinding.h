#pragma once
// Binding a grid's model to a work table of the work database.

#include "platform/WorkTableModel.h"

#include <QList>
#include <QString>
#include <utility>

class Database;

// Replaces model by a new model over the work table (read at once), owned by owner.
WorkTableModel* BindWorkTable(QObject* owner, Database& work, WorkTableModel*& model, const QString& table,
                              const QString& name);
// Sets the kinds of the named columns (columns the table lacks are passed over).
void SetColumnKinds(WorkTableModel* m, const QList<std::pair<const char16_t*, WorkTableModel::Kind>>& list);
