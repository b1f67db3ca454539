// Binding a grid's model to a work table of the work database.

#include "workspace/quotation_tab/GridBinding.h"

WorkTableModel* BindWorkTable(QObject* owner, Database& work, WorkTableModel*& model, const QString& table,
                              const QString& name)
{
    delete model;
    model = new WorkTableModel(work, table, owner);
    model->setObjectName(name);
    model->refresh();
    return model;
}

void SetColumnKinds(WorkTableModel* m, const QList<std::pair<const char16_t*, WorkTableModel::Kind>>& list)
{
    for (const auto& [field, kind] : list) {
        const int c = m->columnOf(QString::fromUtf16(field));
        if (c >= 0) m->column(c).kind = kind;
    }
}
