// The detail grid: its controls, its models over the work tables and their
// layout by the settings, the lines as the tab reaches them, the product
// drop-down list, and products written into the current line.

#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/GridBinding.h"

#include "app/CodeLists.h"
#include "app/MessageCatalog.h"
#include "app/PackColumn.h"
#include "app/QuotationPort.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "platform/GridView.h"
#include "platform/JapaneseText.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDetailLines, "velt.quotation")
Q_LOGGING_CATEGORY(lcProductList, "velt.picklists")

using namespace DetailLine;
using Kind = WorkTableModel::Kind;

namespace {

// The part's top left on the tab page, in twips; places below are given
// relative to the tab page and taken from here.
constexpr double kLeft = 120;
constexpr double kTop = 4080;

}  // namespace

DetailGrid::DetailGrid(Session& session, const ShownSettings& shownSettings, QWidget* parent)
    : QWidget(parent), session_(session), shownSettings_(shownSettings)
{
    using namespace ui;
    setObjectName(QStringLiteral("DetailGrid"));
    // Down to the foot of the buttons under the grid.
    setGeometry(twipsRect(kLeft, kTop, 12060, 8460 + 600 - kTop));

    Grid明細 = make<GridView>(this, QStringLiteral("Grid明細"), 120 - kLeft, 4080 - kTop, 12060, 4260);
    const double by = 8460 - kTop, bh = 600;
    cmd行削除 = button(this, QStringLiteral("cmd行削除"), QStringLiteral("行削除"), 120 - kLeft, by, 900, bh,
                       QStringLiteral("明細行のフォーカスのある行を１行削除します。"));
    cmd小計 = button(this, QStringLiteral("cmd小計"), QStringLiteral("小計"), 1050 - kLeft, by, 900, bh,
                     QStringLiteral("小計を計算し、明細行のフォーカスがある部分に小計行を挿入します。"));

    connectEditing();
    connect(cmd小計, &QPushButton::clicked, this, &DetailGrid::cmd小計_Click);
    connect(cmd行削除, &QPushButton::clicked, this, &DetailGrid::cmd行削除_Click);
}

const MessageCatalog& DetailGrid::messages() const
{
    return session_.messages();
}

// ---------------------------------------------------------------- layout

void DetailGrid::bindGrid()
{
    // Pick lists of the grid.
    BindWorkTable(this, session_.WorkDb(), dat商品参照, QStringLiteral("w商品参照"), QStringLiteral("dat商品参照"));
    SetColumnKinds(dat商品参照, {{u"単価", Kind::Money}, {u"非課税", Kind::Bool}});
    BindWorkTable(this, session_.WorkDb(), dat単位参照, QStringLiteral("w単位参照"), QStringLiteral("dat単位参照"));
    BindWorkTable(this, session_.WorkDb(), dat入数参照, QStringLiteral("w入数参照"), QStringLiteral("dat入数参照"));
    BindWorkTable(this, session_.WorkDb(), dat商品区分, QStringLiteral("w商品区分参照"), QStringLiteral("dat商品区分"));

    // The detail lines.
    BindWorkTable(this, session_.WorkDb(), wkDat, QStringLiteral("w明細"), QStringLiteral("wkDat"));
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
    connectModel();
}

void DetailGrid::applyLayout(const SettingsRecord& s)
{
    // Number formats of 数量, 単価 and 金額 by the decimals setting.
    const bool quantityDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("数量");
    const bool priceDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("単価");
    wkDat->column(数量).format = quantityDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(単価).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(金額).format = QStringLiteral("#,###");

    // Captions, widths (twips), visibility and alignment.
    const struct {
        int col;
        const char16_t* caption;
        double width;
    } shown[] = {
        {品名, u"品　　名", 4500}, {入数, nullptr, 1500.095}, {数量, u"数 量", 1065.26},
        {単位, u"単位", 734.7402},  {単価, u"単 価", 1169.787}, {金額, u"金 額", 1170.835},
    };
    for (const auto& c : shown) {
        if (c.caption) wkDat->column(c.col).caption = QString::fromUtf16(c.caption);
        wkDat->column(c.col).widthTwips = qRound(c.width);
        wkDat->column(c.col).visible = true;
    }
    wkDat->column(商品区分).widthTwips = qRound(1065.26);
    for (int c : {行番号, 非課税, ふりがな, 小計}) wkDat->column(c).visible = false;
    wkDat->column(単位).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    for (int c : {単価, 数量, 金額}) wkDat->column(c).alignment = Qt::AlignRight | Qt::AlignVCenter;

    // The pack-quantity column is titled by its setting.
    const QString packCaption = PackColumnCaption(s.入数列タイトル);
    wkDat->column(入数).caption = packCaption;
    Grid明細->applyColumns();

    // The product drop-down.
    dat商品参照->column(ProductPickColumn::品名).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::入数).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単位).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単価).alignment = Qt::AlignRight | Qt::AlignVCenter;
    dat商品参照->column(ProductPickColumn::単価).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    dat商品参照->column(ProductPickColumn::品名).caption = QStringLiteral("品　　名");
    dat商品参照->column(ProductPickColumn::単位).caption = QStringLiteral("単位");
    dat商品参照->column(ProductPickColumn::単価).caption = QStringLiteral("単 価");
    dat商品参照->column(ProductPickColumn::入数).caption = packCaption;
    dat商品参照->columnsChanged();
}

// ---------------------------------------------------------------- the lines

void DetailGrid::Clear明細ワーク()
{
    // All or nothing: the table never ends up with fewer than the 100 lines.
    Database& db = session_.WorkDb();
    {
        Transaction tx(db);
        bool ok = tx.started() && db.exec(QStringLiteral("delete from w明細"));
        for (int i = 0; ok && i < kLines; ++i)
            ok = db.exec(QStringLiteral("insert into w明細 (行番号, 非課税, 品名, 単価, 数量, 金額, 小計) "
                                        "values (?, 0, null, null, null, null, 0)"),
                         {i + 1});
        if (!ok || !tx.commit()) qCWarning(lcDetailLines) << "detail lines could not be rebuilt:" << db.lastError();
    }
    refresh();
}

std::optional<QList<QuotationLine>> DetailGrid::lines(Failure* error) const
{
    bool ok = false;
    QList<QuotationLine> read = ReadWorkLines(session_.WorkDb(), &ok);
    if (ok) return read;
    if (error) *error = session_.WorkDb().lastError();
    return std::nullopt;
}

bool DetailGrid::writeLines(const QList<QuotationLine>& lines, Failure* error)
{
    return WriteWorkLines(session_.WorkDb(), lines, error);
}

void DetailGrid::showLines(bool loaded)
{
    // The grid reads w明細 again (subtotal lines take their row style from
    // the model): Calc明細 does so once it has written the subtotal amounts.
    if (loaded) {
        DetailsChanged = false;
        Calc明細();
    } else {
        refresh();
    }
}

void DetailGrid::refresh()
{
    if (wkDat) wkDat->refresh();
}

bool DetailGrid::commitEdit()
{
    // False also for a value refused as the focus left the grid for the
    // button whose handler asks.
    return !wkDat || Grid明細->commitEdit();
}

bool DetailGrid::cellBeingTyped() const
{
    return handBacksPending_ > 0 || Grid明細->editorChanged();
}

void DetailGrid::focusGrid()
{
    Grid明細->setFocus();
}

void DetailGrid::focusNameColumn()
{
    Grid明細->setFocus();
    Grid明細->setCurrentColumn(品名);
}

// ---------------------------------------------------------------- drop-down lists

void DetailGrid::SetDD品名()
{
    const QStringList columns{QStringLiteral("品名"), QStringLiteral("商品区分"), QStringLiteral("入数"),
                              QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税"),
                              QStringLiteral("ふりがな")};
    const QString order = ProductListOrderBy(session_.設定情報.商品表示順);
    bool ok = false;
    const QList<QSqlRecord> products = session_.DataDb().rows(
        QStringLiteral("select 品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ "
                       "where 品名 is not null") + order,
        {}, &ok);
    if (!ok) qCWarning(lcProductList) << "products could not be read:" << session_.DataDb().lastError();
    QList<QVariantList> rows;
    rows.reserve(products.size());
    for (const QSqlRecord& r : products) {
        QVariantList values;
        for (int c = 0; c < columns.size(); ++c) values.append(r.value(c));
        rows.append(values);
    }
    ReplaceWorkRows(session_.WorkDb(), QStringLiteral("w商品参照"), columns, rows);
    if (dat商品参照) dat商品参照->refresh();
}

void DetailGrid::refreshCodeList(CodeList list)
{
    WorkTableModel* m = list == CodeList::Unit ? dat単位参照 : list == CodeList::Category ? dat商品区分 : dat入数参照;
    if (m) m->refresh();
}

// ---------------------------------------------------------------- products into the line

bool DetailGrid::pickProduct(const ProductPick& pick)
{
    // A cell being typed goes first; a value refused there stops the pick.
    if (!wkDat || !Grid明細->commitEdit()) return false;
    const int row = std::max(0, Grid明細->currentRow());
    if (row >= wkDat->rowCount()) return false;
    if (isSubtotalLine(row)) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"), kSubtotalLineRefusal);
        return false;
    }
    // The given fields, in one write.
    QList<std::pair<int, QVariant>> values;
    if (!pick.品名.isEmpty()) values.append({品名, CutToShiftJis(pick.品名)});
    if (!pick.単位.isEmpty()) values.append({単位, pick.単位});
    if (pick.単価) values.append({単価, QVariant::fromValue(*pick.単価)});
    if (!pick.ふりがな.isEmpty()) values.append({ふりがな, pick.ふりがな});
    if (pick.非課税) values.append({非課税, *pick.非課税});
    if (!values.isEmpty() && !wkDat->setValues(row, values)) {
        reportLineWriteFailure();
        return false;
    }
    // The line's amount and the totals follow a picked price.
    if (pick.単価) {
        takeProductPrice(row);
        Calc明細();
    }
    // The main window comes forward with the line's 品名 current; the
    // product window stays open behind it.
    window()->activateWindow();
    Grid明細->setFocus();
    Grid明細->setCurrentCell(row, 品名);
    return true;
}

std::optional<int> DetailGrid::currentLine() const
{
    const int row = std::max(0, Grid明細->currentRow());
    if (!wkDat || row >= wkDat->rowCount()) return std::nullopt;
    return row;
}

std::optional<ProductDetail> DetailGrid::currentProduct() const
{
    const std::optional<int> line = currentLine();
    if (!line || isSubtotalLine(*line)) return std::nullopt;  // subtotal lines have no product
    const int row = *line;
    auto text = [&](int col) { return dbv::text(wkDat->value(row, col)); };
    return ProductDetail{text(品名), text(入数), wkDat->money(row, 単価), text(単位), text(商品区分), text(ふりがな)};
}

bool DetailGrid::writeProduct(int row, const ProductDetail& product)
{
    const bool written = wkDat->setValues(row, {{品名, product.品名},
                                                {入数, dbv::textOrNull(product.入数)},
                                                {単価, product.単価 ? QVariant::fromValue(*product.単価) : QVariant()},
                                                {単位, dbv::textOrNull(product.単位)},
                                                {商品区分, dbv::textOrNull(product.商品区分)},
                                                {ふりがな, dbv::textOrNull(product.ふりがな)}});
    if (!written) return false;
    // The line's amount and the totals follow the price.
    takeProductPrice(row);
    Calc明細();
    return true;
}

bool DetailGrid::isSubtotalLine(int row) const
{
    return wkDat && wkDat->value(row, 小計).toBool();
}
