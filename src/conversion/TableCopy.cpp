#include "conversion/TableCopy.h"

#include "conversion/RowWriter.h"

#include <QLoggingCategory>
#include <algorithm>
#include <map>

Q_LOGGING_CATEGORY(lcConversion, "velt.conversion")

namespace tablecopy {

namespace {

// A key's texts folded, as a current row's key and a source row's key are
// compared.
QString foldedKey(const QStringList& texts)
{
    QString key;
    for (const QString& t : texts) key += t.toCaseFolded() + QChar(0x1f);
    return key;
}

QString foldedKey(const Slots& values, const QList<qsizetype>& keys)
{
    QStringList texts;
    for (qsizetype i : keys) texts << values[size_t(i)].toString();
    return foldedKey(texts);
}

// The order columns the older table has; a column it lacks is simply not copied.
QStringList presentColumns(const QStringList& order, const QStringList& columns)
{
    QStringList present;
    for (const QString& o : order)
        if (columns.contains(o, Qt::CaseInsensitive)) present << o;
    return present;
}

// Fills `out` from the older row, for the fields `which`. False when a value
// does not fit its older column (the read then fails).
bool fillRowValues(const CopyRule& rule, const Prepared& p, LinkCursor& row, const QList<qsizetype>& which,
                   RowValues& out)
{
    out.start(rule);
    for (qsizetype i : which) {
        const Field& f = rule.fields[i];
        if (f.fixed || p.source[i] < 0) continue;
        StoredValue& value = out.values[size_t(i)];
        switch (row.stored(p.source[i], f.kind, value)) {
        case LinkCursor::Stored::Fits:
            if (f.emptyAsNull && value.isEmpty()) value.setNull();
            break;
        case LinkCursor::Stored::Refused:
            out.refused << i;
            break;
        case LinkCursor::Stored::Unreadable:
            return false;
        }
    }
    return true;
}

}  // namespace

Field field(const QString& column, ColumnKind kind)
{
    return {column, kind, false, false};
}

Field fixedNull(const QString& column)
{
    return {column, ColumnKind::Text, true, false};
}

qsizetype CopyRule::field(const QString& column) const
{
    const auto it = std::find_if(fields.cbegin(), fields.cend(), [&](const Field& f) { return f.column == column; });
    return it == fields.cend() ? -1 : it - fields.cbegin();
}

Prepared prepare(const CopyRule& rule, const QStringList& columns)
{
    Prepared p;
    for (qsizetype i = 0; i < rule.fields.size(); ++i) {
        // Columns are found once by name (without regard to case, as Jet does), then by place.
        const auto it = std::find_if(columns.cbegin(), columns.cend(), [&](const QString& c) {
            return c.compare(rule.fields[i].column, Qt::CaseInsensitive) == 0;
        });
        p.source << (it == columns.cend() ? -1 : it - columns.cbegin());
        if (rule.fields[i].fixed || p.source[i] >= 0) p.written << i;
    }
    for (const QString& k : rule.keys)
        for (qsizetype i = 0; i < rule.fields.size(); ++i)
            if (rule.fields[i].column == k) {
                p.keys << i;
                if (!rule.nullable.contains(k)) p.required << i;
            }
    return p;
}

void RowValues::start(const CopyRule& rule)
{
    if (values.size() != size_t(rule.fields.size())) values.resize(size_t(rule.fields.size()));
    for (StoredValue& s : values) s.setNull();
    refused.clear();
}

bool hasEmptyKey(const Prepared& p, const Slots& values)
{
    return std::any_of(p.required.cbegin(), p.required.cend(), [&](qsizetype i) { return values[size_t(i)].isEmpty(); });
}

bool hasRefusedKey(const Prepared& p, const RowValues& row)
{
    return !row.refused.isEmpty() &&
           std::any_of(p.keys.cbegin(), p.keys.cend(), [&](qsizetype i) { return row.refused.contains(i); });
}

void fail(TableOutcome& out, const Failure& error)
{
    out.failure = error;
    out.copied = 0;
    out.refused = 0;
    qCWarning(lcConversion).noquote() << out.table << ":" << error;
}

void fail(TableOutcome& out, const QString& reason)
{
    fail(out, Failure(reason));
}

void logRefused(const QString& table, const QString& column, const QVariant& v)
{
    qCWarning(lcConversion).noquote() << table << ": value" << v.toString() << "of" << column
                                      << "does not fit the current column; left unwritten";
}

// ---------------------------------------------------------------------------
// Keys

bool HeldKeys::load(Database& data, const CopyRule& rule, Failure& error)
{
    QStringList columns;
    for (qsizetype i : keys_) columns << Database::quoteIdent(rule.fields[i].column);
    auto q = data.query(QStringLiteral("select rowid, %1 from %2 order by rowid")
                            .arg(columns.join(QStringLiteral(", ")), Database::quoteIdent(rule.table)));
    if (!q) {
        error = data.lastError();
        return false;
    }
    while (q->next()) {
        bool null = false;
        QStringList texts;
        for (qsizetype k = 0; k < keys_.size(); ++k) {
            const QVariant v = q->value(int(k) + 1);
            null = null || dbv::isNull(v);
            texts << v.toString();
        }
        // A Null key is never found: a source row with one is skipped.
        if (!null) hold(foldedKey(texts), q->value(0).toLongLong());
    }
    return true;
}

bool HeldKeys::find(const Slots& values, PendingRows&, std::optional<qint64>& rowid, Failure&)
{
    const auto it = rows_.constFind(foldedKey(values, keys_));
    rowid = it == rows_.cend() ? std::nullopt : std::optional<qint64>(*it);
    return true;
}

void HeldKeys::added(const Slots& values, std::optional<qint64> rowid)
{
    hold(foldedKey(values, keys_), *rowid);
}

void HeldKeys::hold(const QString& key, qint64 rowid)
{
    if (!rows_.contains(key)) rows_.insert(key, rowid);  // the first row wins
}

// ---------------------------------------------------------------------------
// Reading and copying

bool forEachOldRow(LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, const Prepared& p,
                   const QList<qsizetype>& which, int& read, LinkFile::Order order, const OldRow& row)
{
    RowValues values;
    return Dbs.forEachRow(
        rule.table, presentColumns(rule.order, columns),
        [&](LinkCursor& cursor) {
            ++read;
            return fillRowValues(rule, p, cursor, which, values) && row(values, cursor);
        },
        order);
}

namespace {

// The writers of one copy, one per set of the fields written: a row with
// refused values is written without them. Rows gathered are written before
// the table is read or written otherwise, so that rows keep the order they
// came in.
class Writers final : public PendingRows {
public:
    Writers(Database& data, const CopyRule& rule, const Prepared& p, bool gather)
        : data_(data), rule_(rule), p_(p), gather_(gather)
    {
    }

    // The writer of a row with these refused values; rows gathered by
    // another writer are written first.
    RowWriter* writerFor(const QList<qsizetype>& refused, bool adding, Failure& error)
    {
        RowWriter& writer = find(refused);
        if ((!adding || &writer != last_) && !flush(error)) return nullptr;
        last_ = &writer;
        return &writer;
    }

    bool flush(Failure& error) override
    {
        for (auto& [refused, writer] : writers_)
            if (!writer.flush(error)) return false;
        return true;
    }

private:
    RowWriter& find(const QList<qsizetype>& refused)
    {
        if (refused.isEmpty() && whole_) return *whole_;
        auto it = writers_.find(refused);
        if (it == writers_.end()) {
            QList<qsizetype> fields;
            for (qsizetype i : p_.written)
                if (!refused.contains(i)) fields << i;
            it = writers_.try_emplace(refused, data_, rule_, fields, gather_).first;
        }
        if (refused.isEmpty()) whole_ = &it->second;
        return it->second;
    }

    Database& data_;
    const CopyRule& rule_;
    const Prepared& p_;
    bool gather_;
    std::map<QList<qsizetype>, RowWriter> writers_;
    RowWriter* whole_ = nullptr;  // the writer of rows without refused values
    RowWriter* last_ = nullptr;
};

}  // namespace

RowsCopied copyRows(Database& data, LinkFile& Dbs, const QStringList& columns, const CopyRule& rule, KeyIndex& keys,
                    TableOutcome& out, const RowCheck& check, const KeySkip& keySkip)
{
    const Prepared p = prepare(rule, columns);
    Writers writers(data, rule, p, !keys.needsRowids());

    Failure error;
    // One row: false stops the copy (error set).
    const bool read = forEachOldRow(Dbs, columns, rule, p, p.written, out.read, LinkFile::Order::Required,
                                    [&](const RowValues& rv, LinkCursor& older) {
        const Verdict key = hasRefusedKey(p, rv)        ? Verdict::BadKey
                            : hasEmptyKey(p, rv.values) ? Verdict::EmptyKey
                                                        : Verdict::Copy;
        if (key != Verdict::Copy) {
            if (keySkip && keySkip(rv, key)) ++out.leftOut;
            else ++(key == Verdict::BadKey ? out.badKeys : out.emptyKeys);
            return true;
        }
        if (check) {
            switch (check(rv, keys, error)) {
            case Verdict::BadCode: ++out.badCodes; return true;
            case Verdict::LeftOut: ++out.leftOut; return true;
            case Verdict::Fail: return false;
            default: break;
            }
        }
        std::optional<qint64> rowid;
        if (!keys.find(rv.values, writers, rowid, error)) return false;
        const bool adding = !rowid;
        RowWriter* writer = writers.writerFor(rv.refused, adding, error);
        if (!writer || !writer->write(rv.values, rowid, error)) return false;
        if (adding) keys.added(rv.values, rowid);
        for (qsizetype i : rv.refused)
            logRefused(rule.table, rule.fields[i].column, older.value(p.source[i]).value_or(QVariant()));
        out.refused += int(rv.refused.size());
        ++out.copied;
        return true;
    });
    if (!read && error.isEmpty()) {
        fail(out, Dbs.failure());
        return RowsCopied::ReadFailed;
    }
    if (!error.isEmpty() || !writers.flush(error)) {
        fail(out, error);
        return RowsCopied::WriteFailed;
    }
    return RowsCopied::All;
}

std::optional<QStringList> oldColumns(LinkFile& Dbs, const QString& table, TableOutcome& out, const QStringList& needed)
{
    if (!Dbs.hasTable(table)) {
        out.missing = true;
        return std::nullopt;
    }
    auto columns = Dbs.columns(table);
    if (!columns) {
        fail(out, Dbs.failure());
        return std::nullopt;
    }
    // A table is never without columns: its definition is damaged.
    if (columns->isEmpty()) {
        fail(out, QStringLiteral("旧データの%1に項目がありません。ファイルが壊れている可能性があります").arg(table));
        return std::nullopt;
    }
    QStringList lacking;
    for (const QString& c : needed)
        if (!columns->contains(c, Qt::CaseInsensitive)) lacking << c;
    if (!lacking.isEmpty()) {
        fail(out, QStringLiteral("旧データの%1に%2の項目がありません").arg(table, lacking.join(QStringLiteral("、"))));
        return std::nullopt;
    }
    return columns;
}

std::optional<QStringList> oldColumns(LinkFile& Dbs, const CopyRule& rule, TableOutcome& out)
{
    return oldColumns(Dbs, rule.table, out, rule.keys + rule.alsoNeeded);
}

TableOutcome copyTable(Database& data, LinkFile& Dbs, const CopyRule& rule, const RowCheck& check)
{
    TableOutcome out(rule.table);
    const auto columns = oldColumns(Dbs, rule, out);
    if (!columns) return out;
    Transaction tx(data);
    HeldKeys keys(prepare(rule, *columns).keys);
    Failure error;
    if (!tx.started() || !keys.load(data, rule, error)) {
        fail(out, error.isEmpty() ? data.lastError() : error);
        return out;
    }
    if (copyRows(data, Dbs, *columns, rule, keys, out, check) == RowsCopied::All && !tx.commit())
        fail(out, data.lastError());
    return out;
}

}  // namespace tablecopy
