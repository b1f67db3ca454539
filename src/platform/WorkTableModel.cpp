#include "platform/WorkTableModel.h"

#include "platform/Database.h"
#include "platform/EraDate.h"
#include "platform/NumberFormat.h"

#include <QBrush>
#include <QDate>
#include <QLoggingCategory>
#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcGrid, "velt.grid")

namespace {

// Largest whole number Currency can hold (ten-thousandths in int64).
constexpr qlonglong kMaxWhole = std::numeric_limits<int64_t>::max() / Currency::kScale;

QVariant normalized(const QVariant& v)
{
    return dbv::isNull(v) ? QVariant() : v;
}

}  // namespace

WorkTableModel::WorkTableModel(Database& db, const QString& table, QObject* parent)
    : QAbstractTableModel(parent), db_(db), table_(table)
{
    selectSql_ = QStringLiteral("select rowid, * from %1 order by rowid").arg(Database::quoteIdent(table));
    const auto info = db_.rows(QStringLiteral("select name, type from pragma_table_info(?) order by cid"), {table});
    if (info.isEmpty()) qCWarning(lcGrid).noquote() << "work table without columns:" << table;
    for (const QSqlRecord& r : info) {
        Column c;
        c.field = r.value(0).toString();
        c.caption = c.field;
        // A first guess from the declared type; the window sets the real kinds.
        if (r.value(1).toString().compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0) {
            c.kind = Kind::Integer;
            c.alignment = Qt::AlignRight | Qt::AlignVCenter;
        }
        columns_.append(c);
    }
    refresh();
}

bool WorkTableModel::refresh()
{
    auto q = db_.query(selectSql_);
    if (!q) return false;
    const int n = columns_.size();
    QList<qint64> rowids;
    QList<QVariant> cells;
    rowids.reserve(rowids_.size());
    cells.reserve(cells_.size());
    while (q->next()) {
        rowids.append(q->value(0).toLongLong());
        for (int c = 0; c < n; ++c) cells.append(normalized(q->value(c + 1)));
    }
    // Compared element by element: QList's == in Qt 6.4 hands memcmp a null
    // pointer for an empty list, which UndefinedBehaviorSanitizer reports.
    if (std::equal(rowids.cbegin(), rowids.cend(), rowids_.cbegin(), rowids_.cend())) {
        // Same rows: keep the views' current cell, selection and scroll position.
        cells_ = std::move(cells);
        if (!rowids_.isEmpty() && n > 0) emit dataChanged(index(0, 0), index(rowids_.size() - 1, n - 1));
        return true;
    }
    beginResetModel();
    rowids_ = std::move(rowids);
    cells_ = std::move(cells);
    endResetModel();
    return true;
}

// ---------------------------------------------------------------- columns

WorkTableModel::Column WorkTableModel::Column::tick(const QString& field)
{
    Column c;
    c.field = field;
    c.kind = Kind::Bool;
    c.widthTwips = 400;
    c.inputMethod = false;
    return c;
}

WorkTableModel::Column WorkTableModel::Column::text(const QString& field, const QString& caption, int widthTwips)
{
    Column c;
    c.field = field;
    c.caption = caption;
    c.widthTwips = widthTwips;
    c.inputMethod = true;
    return c;
}

WorkTableModel::Column WorkTableModel::Column::number(const QString& field, const QString& caption, int widthTwips,
                                                      const QString& format, Kind kind)
{
    Column c = text(field, caption, widthTwips);
    c.kind = kind;
    c.format = format;
    c.alignment = Qt::AlignRight | Qt::AlignVCenter;
    c.inputMethod = false;
    return c;
}

WorkTableModel::Column WorkTableModel::Column::list(const QString& field, const QString& caption, int widthTwips,
                                                    const QString& referenceTable)
{
    Column c = text(field, caption, widthTwips);
    c.dropDownTable = referenceTable;
    return c;
}

WorkTableModel::Column WorkTableModel::Column::asReadOnly() const
{
    Column c = *this;
    c.readOnly = true;
    return c;
}

WorkTableModel::Column WorkTableModel::Column::withInputMethod(bool on) const
{
    Column c = *this;
    c.inputMethod = on;
    return c;
}

bool WorkTableModel::declareColumns(const QList<Column>& declared)
{
    bool ok = true;
    for (Column& c : columns_) c.visible = false;
    for (const Column& d : declared) {
        const int col = columnOf(d.field);
        if (col < 0) {
            qCWarning(lcGrid).noquote() << table_ << ": no column" << d.field;
            ok = false;
            continue;
        }
        Column& c = columns_[col];
        // A list this model built for an earlier declaration goes with it.
        if (c.dropDown && c.dropDown->parent() == this && c.dropDown != d.dropDown) delete c.dropDown.data();
        c = d;
        if (!d.dropDownTable.isEmpty() && !d.dropDown) {
            auto* source = new WorkTableModel(db_, d.dropDownTable, this);
            if (source->columnCount() == 0) {
                // No such table: the cell is edited as plain text.
                delete source;
                ok = false;
                continue;
            }
            source->setObjectName(d.dropDownTable);
            // The list is at least as wide as its cell.
            source->column(0).widthTwips = std::max(source->column(0).widthTwips, d.widthTwips);
            c.dropDown = source;
        }
    }
    columnsChanged();
    return ok;
}

int WorkTableModel::columnOf(const QString& field) const
{
    for (int c = 0; c < columns_.size(); ++c) {
        if (columns_[c].field == field) return c;
    }
    return -1;
}

void WorkTableModel::columnsChanged()
{
    if (columns_.isEmpty()) return;
    emit headerDataChanged(Qt::Horizontal, 0, columns_.size() - 1);
    if (!rowids_.isEmpty()) emit dataChanged(index(0, 0), index(rowids_.size() - 1, columns_.size() - 1));
}

void WorkTableModel::setRowStyle(RowStyle hook)
{
    rowStyle_ = std::move(hook);
    if (!rowids_.isEmpty() && !columns_.isEmpty())
        emit dataChanged(index(0, 0), index(rowids_.size() - 1, columns_.size() - 1), {Qt::BackgroundRole});
}

bool WorkTableModel::inRange(int row, int col) const
{
    return row >= 0 && row < rowids_.size() && col >= 0 && col < columns_.size();
}

// ---------------------------------------------------------------- reading

QVariant WorkTableModel::value(int row, int col) const
{
    if (!inRange(row, col)) return {};
    const QVariant& v = stored(row, col);
    const Kind kind = columns_[col].kind;
    if (kind == Kind::Bool) return dbv::toBool(v);
    if (dbv::isNull(v)) return {};
    switch (kind) {
    case Kind::Text:
    case Kind::Any:
    case Kind::Real:
    case Kind::Binary: return v.toString();
    case Kind::Integer: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        return ok ? QVariant(n) : v;
    }
    case Kind::Money: {
        const auto m = Currency::fromDb(v);
        return m ? QVariant::fromValue(*m) : v;
    }
    case Kind::Date: {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant(v.toString());
    }
    case Kind::Bool: break;
    }
    return v;
}

std::optional<Currency> WorkTableModel::money(int row, int col) const
{
    if (!inRange(row, col)) return std::nullopt;
    const QVariant& v = stored(row, col);
    if (columns_[col].kind == Kind::Integer) {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (dbv::isNull(v) || !ok || n > kMaxWhole || n < -kMaxWhole) return std::nullopt;
        return Currency::fromWhole(n);
    }
    return Currency::fromDb(v);
}

QString WorkTableModel::text(int row, int col) const
{
    if (!inRange(row, col)) return {};
    const QVariant& v = stored(row, col);
    const Column& c = columns_[col];
    if (c.kind == Kind::Bool || dbv::isNull(v)) return {};
    switch (c.kind) {
    case Kind::Integer:
    case Kind::Money:
        if (const auto m = money(row, col)) {
            const QString shown = NumberFormat::format(*m, c.format);
            const bool onlyZero =
                std::none_of(shown.cbegin(), shown.cend(), [](QChar ch) { return ch >= u'1' && ch <= u'9'; });
            return c.zeroAsBlank && onlyZero ? QString() : shown;
        }
        return v.toString();
    case Kind::Date: {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? EraDate::format(d, c.dateFormat) : v.toString();
    }
    default: break;
    }
    return v.toString();
}

QString WorkTableModel::editText(int row, int col) const
{
    if (!inRange(row, col)) return {};
    const QVariant& v = stored(row, col);
    const Column& c = columns_[col];
    if (c.kind == Kind::Bool) return dbv::toBool(v) ? QStringLiteral("1") : QStringLiteral("0");
    if (dbv::isNull(v)) return {};
    switch (c.kind) {
    case Kind::Money:
        if (const auto m = Currency::fromDb(v)) return m->toPlainString();
        break;
    case Kind::Date:
        return text(row, col);
    default: break;
    }
    return v.toString();
}

bool WorkTableModel::isNull(int row, int col) const
{
    return !inRange(row, col) || dbv::isNull(stored(row, col));
}

qint64 WorkTableModel::rowid(int row) const
{
    return row >= 0 && row < rowids_.size() ? rowids_[row] : -1;
}

QList<qint64> WorkTableModel::checkedRowids(int col) const
{
    QList<qint64> ids;
    if (col < 0 || col >= columns_.size()) return ids;
    for (int row = 0; row < rowids_.size(); ++row) {
        if (dbv::toBool(stored(row, col))) ids.append(rowids_[row]);
    }
    return ids;
}

// ---------------------------------------------------------------- conversion

namespace {

// A kind a work table shows as text.
bool isTextKind(ColumnKind kind)
{
    return kind != ColumnKind::Integer && kind != ColumnKind::Money && kind != ColumnKind::Bool && kind != ColumnKind::Date;
}

// Typed text as the kind's own value: a number as Currency::parse reads it,
// a date as EraDate::parse reads it, a tick from "1"/"0" (any non-zero
// number or "true" is true), a text as typed; empty text is Null (a tick:
// false). Nothing when it is no value of the kind.
std::optional<QVariant> valueOfText(ColumnKind kind, const QString& text)
{
    if (isTextKind(kind)) return text.isEmpty() ? QVariant() : QVariant(text);
    const QString t = text.trimmed();
    if (kind == ColumnKind::Bool) return QVariant(!t.isEmpty() && dbv::toBool(t));
    if (t.isEmpty()) return QVariant();
    if (kind == ColumnKind::Money) {
        if (const auto m = Currency::parse(t)) return QVariant::fromValue(*m);
    } else if (kind == ColumnKind::Integer) {
        if (const auto m = Currency::parse(t); m && m->isWhole()) return QVariant::fromValue<qlonglong>(m->wholePart());
    } else if (const auto d = EraDate::parse(t)) {
        return QVariant(*d);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QVariant> WorkTableModel::storedFromText(int col, const QString& text) const
{
    const Kind kind = columns_[col].kind;
    const auto own = valueOfText(kind, text);
    if (!own) return std::nullopt;
    return ColumnValue::stored(*own, kind);
}

std::optional<QVariant> WorkTableModel::storedFromValue(int col, const QVariant& v) const
{
    // A value from code as the kind's own value: a tick from anything (Null
    // is false), a whole number from Currency that is whole or anything
    // that reads as one, money only from Currency (a plain number could be
    // yen or ten-thousandths), a date from QDate or text as EraDate reads
    // it; empty text is Null.
    const Kind kind = columns_[col].kind;
    if (kind == Kind::Bool) return ColumnValue::stored(dbv::toBool(v), kind);
    if (dbv::isNull(v)) return QVariant();
    const bool isCurrency = v.metaType() == QMetaType::fromType<Currency>();
    QVariant own;
    if (isTextKind(kind)) {
        const QString s = v.toString();
        if (s.isEmpty()) return QVariant();
        own = s;
    } else if (kind == Kind::Integer) {
        if (isCurrency) {
            const Currency c = v.value<Currency>();
            if (!c.isWhole()) return std::nullopt;
            own = QVariant::fromValue<qlonglong>(c.wholePart());
        } else {
            bool ok = false;
            const qlonglong n = v.toLongLong(&ok);
            if (!ok) return std::nullopt;
            own = QVariant::fromValue<qlonglong>(n);
        }
    } else if (kind == Kind::Money) {
        if (!isCurrency) {
            qCWarning(lcGrid).noquote() << table_ << columns_[col].field << ": a money cell takes a Currency, not" << v;
            return std::nullopt;
        }
        own = v;
    } else if (v.metaType() == QMetaType::fromType<QDate>()) {
        if (!v.toDate().isValid()) return std::nullopt;
        own = v;
    } else {
        const QString s = v.toString();
        if (s.trimmed().isEmpty()) return QVariant();
        const auto d = EraDate::parse(s);
        if (!d) return std::nullopt;
        own = *d;
    }
    return ColumnValue::stored(own, kind);
}

bool WorkTableModel::sameStored(int col, const QVariant& a, const QVariant& b) const
{
    const Kind kind = columns_[col].kind;
    if (kind == Kind::Bool) return dbv::toBool(a) == dbv::toBool(b);
    const bool an = dbv::isNull(a);
    const bool bn = dbv::isNull(b);
    if (an || bn) return an == bn;
    if (kind == Kind::Integer || kind == Kind::Money) {
        bool okA = false;
        bool okB = false;
        const qlonglong x = a.toLongLong(&okA);
        const qlonglong y = b.toLongLong(&okB);
        if (okA && okB) return x == y;
    }
    return a.toString() == b.toString();
}

// ---------------------------------------------------------------- writing

bool WorkTableModel::write(int row, const QList<std::pair<int, QVariant>>& storedValues)
{
    if (storedValues.isEmpty()) return true;
    QStringList sets;
    QVariantList binds;
    int first = columns_.size();
    int last = -1;
    for (const auto& [c, v] : storedValues) {
        sets << Database::quoteIdent(columns_[c].field) + QStringLiteral(" = ?");
        binds << v;
        first = std::min(first, c);
        last = std::max(last, c);
    }
    binds << rowids_[row];
    const QString sql = QStringLiteral("update %1 set %2 where rowid = ?")
                            .arg(Database::quoteIdent(table_), sets.join(QStringLiteral(", ")));
    if (!db_.exec(sql, binds)) {
        writeError_ = db_.lastError();
        return false;
    }
    if (db_.changes() != 1) {
        // The row went away behind the cache (SQL without a refresh).
        qCWarning(lcGrid).noquote() << table_ << ": no row with rowid" << rowids_[row];
        writeError_ = Failure(QStringLiteral("%1 の行 %2 がありません。").arg(table_).arg(row + 1));
        return false;
    }
    const int n = columns_.size();
    for (const auto& [c, v] : storedValues) cells_[row * n + c] = v;
    // A row style may depend on any cell of the row: repaint all of it.
    if (rowStyle_) {
        first = 0;
        last = n - 1;
    }
    emit dataChanged(index(row, first), index(row, last));
    return true;
}

bool WorkTableModel::setValue(int row, int col, const QVariant& v)
{
    return setValues(row, {{col, v}});
}

bool WorkTableModel::setMoney(int row, int col, std::optional<Currency> v)
{
    return setValue(row, col, v ? QVariant::fromValue(*v) : QVariant());
}

bool WorkTableModel::setText(int row, int col, const QString& text)
{
    if (!inRange(row, col)) return false;
    const auto s = storedFromText(col, text);
    return s && write(row, {{col, *s}});
}

bool WorkTableModel::setValues(int row, const QList<std::pair<int, QVariant>>& values)
{
    QList<std::pair<int, QVariant>> out;
    out.reserve(values.size());
    for (const auto& [c, v] : values) {
        if (!inRange(row, c)) return false;
        const auto s = storedFromValue(c, v);
        if (!s) return false;
        out.append({c, *s});
    }
    return write(row, out);
}

bool WorkTableModel::editCell(int row, int col, const QString& typed, bool notify)
{
    if (!inRange(row, col) || columns_[col].readOnly) return false;
    QString text = typed;
    bool cancel = false;
    if (beforeCellUpdate_) beforeCellUpdate_(row, col, text, cancel);
    // The hook may have refreshed the model.
    if (cancel || !inRange(row, col)) return false;
    const auto s = storedFromText(col, text);
    if (!s) {
        emit editRefused(row, col, text);
        return false;
    }
    const QVariant old = stored(row, col);
    if (!write(row, {{col, *s}})) {
        emit writeFailed(row, col, writeError_);
        return false;
    }
    if (notify) {
        if (!sameStored(col, old, *s)) emit cellEdited(row, col);
        else emit cellRecommitted(row, col);
    }
    return true;
}

// ---------------------------------------------------------------- QAbstractTableModel

int WorkTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rowids_.size();
}

int WorkTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_.size();
}

QVariant WorkTableModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    const int col = index.column();
    if (!index.isValid() || !inRange(row, col)) return {};
    const Column& c = columns_[col];
    switch (role) {
    case Qt::DisplayRole:
        return c.kind == Kind::Bool ? QVariant() : QVariant(text(row, col));
    case Qt::EditRole:
        return c.kind == Kind::Bool ? QVariant(dbv::toBool(stored(row, col))) : QVariant(editText(row, col));
    case Qt::CheckStateRole:
        if (c.kind != Kind::Bool) return {};
        return dbv::toBool(stored(row, col)) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return static_cast<int>(c.alignment);
    case Qt::BackgroundRole:
        if (rowStyle_) {
            if (const auto color = rowStyle_(row)) return QBrush(*color);
        }
        return {};
    default:
        return {};
    }
}

bool WorkTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid()) return false;
    const int row = index.row();
    const int col = index.column();
    if (!inRange(row, col)) return false;
    if (role == Qt::CheckStateRole) {
        if (columns_[col].kind != Kind::Bool) return false;
        const bool checked = value.toInt() == Qt::Checked;
        return editCell(row, col, checked ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (role == Qt::EditRole) return editCell(row, col, value.toString());
    return false;
}

Qt::ItemFlags WorkTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !inRange(index.row(), index.column())) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const Column& c = columns_[index.column()];
    if (c.readOnly) return f;
    return f | (c.kind == Kind::Bool ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant WorkTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        return section >= 0 && section < columns_.size() ? QVariant(columns_[section].caption) : QVariant();
    }
    return section + 1;
}
