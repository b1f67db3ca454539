#include "platform/LinkFile.h"

#include "platform/Database.h"
#include "platform/JapaneseOrder.h"
#include "platform/JetValue.h"
#include "platform/LinkFileBackend.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>

Q_LOGGING_CATEGORY(lcLinkFile, "velt.linkfile")

// ---------------------------------------------------------------------------
// Messages

namespace linkmsg {
Failure notFound(const QString& path)
{
    return Failure(QStringLiteral("「%1」が見つかりません。").arg(QFileInfo(path).fileName()), {}, FailureReason::Missing);
}
Failure notADatabase(const QString& path)
{
    return Failure(QStringLiteral("「%1」はデータベースファイルではありません。").arg(QFileInfo(path).fileName()));
}
Failure unreadable(const QString& path, const QString& detail)
{
    return Failure(QStringLiteral("「%1」を読み込めません（%2）。").arg(QFileInfo(path).fileName(), detail));
}
Failure unreadable(const QString& path, const Failure& why)
{
    Failure f = why;
    return f.prepend(QStringLiteral("「%1」を読み込めません。").arg(QFileInfo(path).fileName()));
}
Failure damaged(const QString& path, const QString& detail, const QString& engineWords)
{
    return Failure(QStringLiteral("「%1」は壊れている可能性があるため読み込めません（%2）。").arg(QFileInfo(path).fileName(), detail),
                   engineWords, FailureReason::Damaged);
}
Failure noTable(const QString& table)
{
    return Failure(QStringLiteral("テーブル「%1」がありません。").arg(table));
}
Failure noColumn(const QString& table, const QString& column)
{
    return Failure(QStringLiteral("テーブル「%1」に列「%2」がありません。").arg(table, column));
}
Failure badValue(const QString& table, const QString& column, const QString& value)
{
    return Failure(QStringLiteral("テーブル「%1」の列「%2」の値「%3」を読み込めません。").arg(table, column, value));
}
Failure badDate(const QString& table, const QString& column, const QString& row)
{
    return Failure(QStringLiteral("テーブル「%1」の %3 行目、列「%2」の日付が範囲（100年～9999年）の外です。").arg(table, column, row));
}
}  // namespace linkmsg

// ---------------------------------------------------------------------------
// Ordering

namespace {

int rank(const QVariant& v)
{
    if (v.isNull()) return 0;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return 1;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return 2;
    case QMetaType::QString:
        return 3;
    case QMetaType::QByteArray:
        return 4;
    default:
        return v.metaType() == QMetaType::fromType<Currency>() ? 1 : 5;
    }
}

// Whole numbers and Currency compared exactly in ten-thousandths.
std::optional<__int128> scaled(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Currency>()) return v.value<Currency>().raw();
    if (v.metaType().id() == QMetaType::Bool) return __int128(v.toBool() ? 1 : 0) * Currency::kScale;
    if (dbv::isIntegral(v)) return __int128(v.toLongLong()) * Currency::kScale;
    return std::nullopt;
}

long double asLongDouble(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<Currency>())
        return static_cast<long double>(v.value<Currency>().raw()) / Currency::kScale;
    if (dbv::isIntegral(v)) return static_cast<long double>(v.toLongLong());
    return v.toDouble();
}

QDateTime asDateTime(const QVariant& v)
{
    return v.metaType().id() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
}

template <typename T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int CompareLinkValues(const QVariant& a, const QVariant& b)
{
    const int ra = rank(a), rb = rank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    switch (ra) {
    case 0:
        return 0;
    case 1: {
        const auto sa = scaled(a), sb = scaled(b);
        if (sa && sb) return threeWay(*sa, *sb);
        return threeWay(asLongDouble(a), asLongDouble(b));
    }
    case 2:
        return threeWay(asDateTime(a), asDateTime(b));
    case 3:
        return JapaneseCompare(a.toString(), b.toString());
    case 4:
        return threeWay(a.toByteArray(), b.toByteArray());
    default:
        return threeWay(a.toString(), b.toString());
    }
}

// ---------------------------------------------------------------------------
// LinkRow, LinkTable, LinkCursor

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

qsizetype LinkRow::Header::indexOf(const QString& name) const
{
    auto it = byName.constFind(name);
    if (it == byName.constEnd()) it = byName.constFind(name.toCaseFolded());
    return it == byName.constEnd() ? -1 : *it;
}

bool LinkRow::has(const QString& column) const
{
    return header_ && header_->indexOf(column) >= 0;
}

QVariant LinkRow::value(const QString& column) const
{
    return header_ ? value(header_->indexOf(column)) : QVariant();
}

const QStringList& LinkRow::columns() const
{
    static const QStringList none;
    return header_ ? header_->columns : none;
}

bool LinkTable::hasColumn(const QString& column) const
{
    return std::any_of(columns.cbegin(), columns.cend(), [&](const QString& c) { return sameName(c, column); });
}

LinkCursor::LinkCursor(const QStringList& columns)
{
    auto h = std::make_shared<LinkRow::Header>();
    h->columns = columns;
    for (qsizetype i = columns.size() - 1; i >= 0; --i) {  // the first of equal names wins
        h->byName.insert(columns[i], i);
        h->byName.insert(columns[i].toCaseFolded(), i);
    }
    header_ = std::move(h);
}

std::optional<LinkRow> LinkCursor::row()
{
    LinkRow out;
    out.header_ = header_;
    out.values_.reserve(header_->columns.size());
    for (qsizetype i = 0; i < header_->columns.size(); ++i) {
        auto v = value(i);
        if (!v) return std::nullopt;
        out.values_.append(std::move(*v));
    }
    return out;
}

LinkCursor::Stored LinkCursor::stored(qsizetype i, ColumnKind kind, StoredValue& out)
{
    const auto v = value(i);
    if (!v) return Stored::Unreadable;
    const auto s = ColumnValue::stored(*v, kind);
    if (!s) return Stored::Refused;
    out.set(*s);
    return Stored::Fits;
}

// ---------------------------------------------------------------------------
// LinkFile

LinkFile::LinkFile() = default;

LinkFile::~LinkFile() = default;

LinkFile::Format LinkFile::detect(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) return Format::None;
    const QByteArray head = f.read(32);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return Format::SQLite;
    // The version byte at 0x14: 0 for Jet 3, 1 for Jet 4.
    if (head.size() >= 21 && head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB"))
        return head[20] == 0 ? Format::Jet3 : Format::Jet4;
    return Format::None;
}

bool LinkFile::fail(Error error, const Failure& failure)
{
    error_ = error;
    failure_ = failure;
    qCWarning(lcLinkFile).noquote() << path_ << ":" << failure;
    return false;
}

bool LinkFile::open(const QString& path)
{
    close();
    path_ = path;
    error_ = Error::None;
    failure_ = {};
    if (!QFileInfo(path).isFile()) return fail(Error::NotFound, linkmsg::notFound(path));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(Error::Unreadable,
                    linkmsg::unreadable(path, Failure(QStringLiteral("ファイルを開けません。読み取りの権限を確かめてください。"),
                                                      probe.errorString())));
    probe.close();

    Format format = detect(path);
    LinkFailure failure;
    switch (format) {
    case Format::None:
        return fail(Error::NotADatabase, linkmsg::notADatabase(path));
    case Format::SQLite:
        backend_ = openSqliteLinkFile(path, failure);
        break;
    case Format::Jet3:
    case Format::Jet4:
        backend_ = openJetLinkFile(path, limits_, format, failure);
        break;
    }
    if (!backend_) return fail(failure.error, failure.failure);
    format_ = format;
    return true;
}

void LinkFile::close()
{
    backend_.reset();
    format_ = Format::None;
}

QStringList LinkFile::tables() const
{
    return backend_ ? backend_->tables() : QStringList();
}

QString LinkFile::resolveTable(const QString& table) const
{
    for (const QString& t : tables())
        if (sameName(t, table)) return t;
    return {};
}

bool LinkFile::hasTable(const QString& table) const
{
    return !resolveTable(table).isEmpty();
}

std::optional<QStringList> LinkFile::columns(const QString& table)
{
    if (!backend_) {
        // A failed open keeps its own message.
        if (error_ == Error::None) fail(Error::Unreadable, linkmsg::unreadable(path_, QStringLiteral("開かれていません")));
        return std::nullopt;
    }
    const QString name = resolveTable(table);
    if (name.isEmpty()) {
        fail(Error::NoTable, linkmsg::noTable(table));
        return std::nullopt;
    }
    LinkFailure failure;
    auto result = backend_->columns(name, failure);
    if (!result) fail(failure.error, failure.failure);
    return result;
}

std::optional<LinkFile::OrderColumns> LinkFile::orderColumns(const QString& table, const QStringList& orderBy)
{
    auto cols = columns(table);
    if (!cols) return std::nullopt;
    OrderColumns found{resolveTable(table), std::move(*cols), {}};
    // Order columns are checked before anything is read.
    for (const QString& column : orderBy) {
        const auto it = std::find_if(found.columns.cbegin(), found.columns.cend(),
                                     [&](const QString& c) { return sameName(c, column); });
        if (it == found.columns.cend()) {
            fail(Error::NoColumn, linkmsg::noColumn(found.table, column));
            return std::nullopt;
        }
        found.places.append(it - found.columns.cbegin());
    }
    return found;
}

std::optional<LinkTable> LinkFile::rows(const QString& table, const QStringList& orderBy)
{
    const auto found = orderColumns(table, orderBy);
    if (!found) return std::nullopt;
    const QList<qsizetype>& order = found->places;

    LinkTable out;
    out.name = found->table;
    out.columns = found->columns;
    LinkFailure failure;
    const auto read = backend_->readEach(
        out.name,
        [&](LinkCursor& cursor) {
            auto row = cursor.row();
            if (!row) return false;
            out.rows.append(std::move(*row));
            return true;
        },
        failure);
    clock_.tick();
    if (read != LinkFileBackend::Read::Done) {
        fail(failure.error, failure.failure);
        return std::nullopt;
    }

    if (!order.isEmpty()) {
        std::stable_sort(out.rows.begin(), out.rows.end(), [&](const LinkRow& a, const LinkRow& b) {
            for (qsizetype i : order) {
                const int c = CompareLinkValues(a.value(i), b.value(i));
                if (c != 0) return c < 0;
            }
            return false;
        });
    }
    return out;
}

bool LinkFile::forEachRow(const QString& table, const QStringList& orderBy, const std::function<bool(LinkCursor&)>& row,
                          Order order)
{
    using Read = LinkFileBackend::Read;
    QString name;
    QList<qsizetype> places;
    if (orderBy.isEmpty()) {
        if (!backend_) return columns(table).has_value();  // reports why
        name = resolveTable(table);
        if (name.isEmpty()) return fail(Error::NoTable, linkmsg::noTable(table));
    } else {
        const auto found = orderColumns(table, orderBy);
        if (!found) return false;
        name = found->table;
        places = found->places;
    }
    // Every row handed over moves the clock, so that what a cursor lent of
    // the row before is known to be gone.
    const auto handOver = [&](LinkCursor& cursor) {
        clock_.tick();
        cursor.clock_ = &clock_;
        return row(cursor);
    };
    LinkFailure failure;
    Read read = Read::Unavailable;
    if (!places.isEmpty()) read = backend_->readOrdered(name, places, order, handOver, failure);
    if (read == Read::Unavailable && !places.isEmpty() && order == Order::Required) {
        qCDebug(lcLinkFile).noquote() << path_ << ":" << table << "read whole to be ordered";
        clock_.tick();
        const auto all = rows(name, orderBy);
        if (!all) return false;
        if (all->rows.isEmpty()) return true;
        HeldCursor cursor(all->rows.first());
        for (const LinkRow& r : all->rows) {
            cursor.standOn(r);
            if (!handOver(cursor)) {
                clock_.tick();
                return false;
            }
        }
        read = Read::Done;
    } else if (read == Read::Unavailable) {
        read = backend_->readEach(name, handOver, failure);
    }
    clock_.tick();
    switch (read) {
    case Read::Done:
        return true;
    case Read::Stopped:
    case Read::Unavailable:
        return false;
    case Read::Failed:
        break;
    }
    return fail(failure.error, failure.failure);
}

std::optional<Currency> LinkFile::toCurrency(const QVariant& value)
{
    return JetValue::currency(value);
}
