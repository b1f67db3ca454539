// Binds the grids of the quotation tab to their work tables: one model per
// work table of the work database, the column kinds, and the drop-down lists
// of the detail grid. Captions, widths and formats that depend on the settings
// are set by applyLayout afterwards.

#include "workspace/quotation_tab/GridBinding.h"

#include "app/Session.h"
#include "platform/GridView.h"
#include "workspace/quotation_tab/QuotationTab.h"

using namespace DetailLine;
using Kind = WorkTableModel::Kind;

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

void QuotationTab::bindGrids()
{
    // Pick lists of the detail grid.
    BindWorkTable(this, session_.WorkDb, dat商品参照, QStringLiteral("w商品参照"), QStringLiteral("dat商品参照"));
    SetColumnKinds(dat商品参照, {{u"単価", Kind::Money}, {u"非課税", Kind::Bool}});
    BindWorkTable(this, session_.WorkDb, dat単位参照, QStringLiteral("w単位参照"), QStringLiteral("dat単位参照"));
    BindWorkTable(this, session_.WorkDb, dat入数参照, QStringLiteral("w入数参照"), QStringLiteral("dat入数参照"));
    BindWorkTable(this, session_.WorkDb, dat商品区分, QStringLiteral("w商品区分参照"), QStringLiteral("dat商品区分"));

    // The detail lines.
    BindWorkTable(this, session_.WorkDb, wkDat, QStringLiteral("w明細"), QStringLiteral("wkDat"));
    SetColumnKinds(wkDat, {{u"行番号", Kind::Integer},
                  {u"数量", Kind::Money},
                  {u"単価", Kind::Money},
                  {u"金額", Kind::Money},
                  {u"非課税", Kind::Bool},
                  {u"小計", Kind::Bool}});
    wkDat->column(品名).dropDown = dat商品参照;
    wkDat->column(商品区分).dropDown = dat商品区分;
    wkDat->column(入数).dropDown = dat入数参照;
    wkDat->column(単位).dropDown = dat単位参照;
    for (int c : {数量, 単価, 金額}) wkDat->column(c).alignment = Qt::AlignRight | Qt::AlignVCenter;
    // Subtotal lines are painted in their own style.
    wkDat->setRowStyle([this](int row) -> std::optional<QColor> {
        if (wkDat->value(row, 小計).toBool() && SyokeiLineStyle.isValid()) return SyokeiLineStyle;
        return std::nullopt;
    });
    Grid明細->setModel(wkDat);
    connectDetailGrid();
}
