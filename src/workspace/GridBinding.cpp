// Binds the grids of the main window to their work tables: one model per work
// table of the work database, the column kinds, and the drop-down lists of the
// detail grid. Captions, widths and formats that depend on the settings are
// set by FormInit afterwards.

#include "GridView.h"
#include "Velt.h"
#include "WorkTableModel.h"

namespace {

using Kind = WorkTableModel::Kind;

WorkTableModel* bind(Velt* owner, WorkTableModel*& model, const QString& table, const QString& name)
{
    delete model;
    model = new WorkTableModel(ModVelt::WorkDb, table, owner);
    model->setObjectName(name);
    model->refresh();
    return model;
}

void kinds(WorkTableModel* m, const QList<std::pair<const char16_t*, Kind>>& list)
{
    for (const auto& [field, kind] : list) {
        const int c = m->columnOf(QString::fromUtf16(field));
        if (c >= 0) m->column(c).kind = kind;
    }
}

}  // namespace

void Velt::bindGrids()
{
    // Pick lists of the detail grid.
    bind(this, dat商品参照, QStringLiteral("w商品参照"), QStringLiteral("dat商品参照"));
    kinds(dat商品参照, {{u"単価", Kind::Money}, {u"非課税", Kind::Bool}});
    bind(this, dat単位参照, QStringLiteral("w単位参照"), QStringLiteral("dat単位参照"));
    bind(this, dat入数参照, QStringLiteral("w入数参照"), QStringLiteral("dat入数参照"));
    bind(this, dat商品区分, QStringLiteral("w商品区分参照"), QStringLiteral("dat商品区分"));

    // The detail lines.
    bind(this, wkDat, QStringLiteral("w明細"), QStringLiteral("wkDat"));
    kinds(wkDat, {{u"行番号", Kind::Integer},
                  {u"数量", Kind::Money},
                  {u"単価", Kind::Money},
                  {u"金額", Kind::Money},
                  {u"非課税", Kind::Bool},
                  {u"小計", Kind::Bool}});
    wkDat->column(1).dropDown = dat商品参照;
    wkDat->column(2).dropDown = dat商品区分;
    wkDat->column(3).dropDown = dat入数参照;
    wkDat->column(5).dropDown = dat単位参照;
    for (int c : {4, 6, 7}) wkDat->column(c).alignment = Qt::AlignRight | Qt::AlignVCenter;
    // Subtotal lines are painted in their own style.
    const int subtotal = wkDat->columnOf(QStringLiteral("小計"));
    wkDat->setRowStyle([this, subtotal](int row) -> std::optional<QColor> {
        if (wkDat->value(row, subtotal).toBool() && ModVelt::SyokeiLineStyle.isValid()) return ModVelt::SyokeiLineStyle;
        return std::nullopt;
    });
    Grid明細->setModel(wkDat);
    connectDetailGrid();

    // The history list.
    bind(this, dat履歴, QStringLiteral("w履歴リスト"), QStringLiteral("dat履歴"));
    kinds(dat履歴, {{u"チェック", Kind::Bool}, {u"伝票番号", Kind::Integer}, {u"日付", Kind::Date}});
    const QList<std::pair<QString, int>> history{{QString(), 450},
                                                 {QStringLiteral("伝票番号"), 1200},
                                                 {QStringLiteral("日  付"), 1500},
                                                 {QStringLiteral("顧  客  名"), 4200},
                                                 {QStringLiteral("件       名"), 4200}};
    for (int c = 0; c < dat履歴->columnCount() && c < history.size(); ++c) {
        dat履歴->column(c).caption = history[c].first;
        dat履歴->column(c).widthTwips = history[c].second;
        dat履歴->column(c).readOnly = true;  // the tick is toggled by the list's click handler
    }
    dat履歴->column(1).alignment = Qt::AlignRight | Qt::AlignVCenter;
    Grid履歴リスト->setModel(dat履歴);
    Grid履歴リスト->applyColumns();
}
