#include "conversion/DataConversion.h"

#include "app/CodeLists.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <utility>

Q_LOGGING_CATEGORY(lcConversion, "velt.conversion")

namespace {

const QString kIsoDate = QStringLiteral("yyyy-MM-dd");

// ---------------------------------------------------------------------------
// Values in the current file's forms

enum class Kind { Text, Money, Integer, YesNo, Date };

bool isCurrency(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

QString dateText(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t == QTime(0, 0)) return dt.date().toString(kIsoDate);
    return dt.toString(t.msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<QVariant> dateFromText(const QString& text)
{
    QString s = text.trimmed();
    s.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QDate d = QDate::fromString(s, Qt::ISODate);
    if (d.isValid()) return QVariant(d.toString(kIsoDate));
    s.replace(QLatin1Char(' '), QLatin1Char('T'));
    const QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (dt.isValid()) return QVariant(dateText(dt));
    return std::nullopt;
}

std::optional<qint64> wholeNumber(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::Bool) return v.toBool() ? 1 : 0;
    if (dbv::isIntegral(v)) return v.toLongLong();
    if (isCurrency(v)) {
        const Currency c = v.value<Currency>();
        if (c.isWhole()) return c.wholePart();
        return std::nullopt;
    }
    if (v.metaType().id() == QMetaType::Double) {
        const double d = v.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e18) return qint64(d);
        return std::nullopt;
    }
    if (v.metaType().id() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (ok) return n;
    }
    return std::nullopt;
}

// A value of the older file as the current column of that kind stores it;
// nothing when it does not fit.
std::optional<QVariant> stored(const QVariant& v, Kind kind)
{
    if (dbv::isNull(v)) return QVariant();
    const int type = v.metaType().id();
    switch (kind) {
    case Kind::Text:
        if (type == QMetaType::QString) return v;
        if (type == QMetaType::QDate) return QVariant(v.toDate().toString(kIsoDate));
        if (type == QMetaType::QDateTime) return QVariant(dateText(v.toDateTime()));
        if (isCurrency(v)) return QVariant(v.value<Currency>().toPlainString());
        if (type == QMetaType::QByteArray) return std::nullopt;
        return QVariant(v.toString());
    case Kind::Money: {
        if (type == QMetaType::Bool) return std::nullopt;
        const auto c = LinkFile::toCurrency(v);
        if (!c) return std::nullopt;
        return Currency::toDb(c);
    }
    case Kind::Integer: {
        const auto n = wholeNumber(v);
        if (!n) return std::nullopt;
        return QVariant(*n);
    }
    case Kind::YesNo: {
        if (type == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return dbv::fromBool(true);
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return dbv::fromBool(false);
        }
        if (type == QMetaType::Double) return dbv::fromBool(v.toDouble() != 0.0);
        if (isCurrency(v)) return dbv::fromBool(v.value<Currency>().raw() != 0);
        const auto n = wholeNumber(v);
        if (!n) return std::nullopt;
        return dbv::fromBool(*n != 0);
    }
    case Kind::Date:
        if (type == QMetaType::QDate) return QVariant(v.toDate().toString(kIsoDate));
        if (type == QMetaType::QDateTime) return QVariant(dateText(v.toDateTime()));
        if (type == QMetaType::QString) return dateFromText(v.toString());
        return std::nullopt;
    }
    return std::nullopt;
}

// A stored date taken to the whole second: 'YYYY-MM-DD HH:MM:SS'. The same
// expression in SQL matches stored dates with and without a time of day.
QString toSecond(const QString& storedDate)
{
    return (storedDate + QStringLiteral(" 00:00:00")).left(19);
}
const QString kDateToSecondSql = QStringLiteral("substr(日付 || ' 00:00:00', 1, 19)");

bool emptyKey(const QVariant& v)
{
    return dbv::isNull(v) || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

void logRefused(const QString& table, const QString& column, const QVariant& v)
{
    qCWarning(lcConversion).noquote() << table << ": value" << v.toString() << "of" << column
                                      << "does not fit the current column; left unwritten";
}

// ---------------------------------------------------------------------------
// The row copy

struct Field {
    QString column;
    Kind kind = Kind::Text;
    bool fixed = false;  // written with `value`, not copied
    QVariant value;
    bool emptyAsNull = false;  // an empty text is stored as Null
};

Field field(const QString& column, Kind kind = Kind::Text)
{
    return {column, kind, false, {}};
}
Field fixedNull(const QString& column)
{
    return {column, Kind::Text, true, QVariant()};
}

struct CopyRule {
    QString table;
    QStringList order;    // the older table's order
    QList<Field> fields;  // in the order they are written
    QStringList keys;     // columns of fields; 日付 is matched to the whole second
};

enum class Verdict { Copy, BadCode, Conflict, Fail };
// Looks at a row (its values in the order of the fields the copy writes)
// before it is written; may write what the row needs first. Fail sets the
// error.
using RowCheck = std::function<Verdict(const QVariantList& values, QString& error)>;

struct Prepared {
    QList<qsizetype> written;  // indexes of the fields written
    QList<qsizetype> keys;     // indexes of the key fields
    QList<qsizetype> source;   // per field: its column in the older rows, -1 when none
};

// The fields the older table can give: every fixed one and every one it has.
Prepared prepare(const CopyRule& rule, const LinkTable& old)
{
    Prepared p;
    for (qsizetype i = 0; i < rule.fields.size(); ++i) {
        // Columns are found once by name (without regard to case, as Jet does), then by place.
        const auto it = std::find_if(old.columns.cbegin(), old.columns.cend(), [&](const QString& c) {
            return c.compare(rule.fields[i].column, Qt::CaseInsensitive) == 0;
        });
        p.source << (it == old.columns.cend() ? -1 : it - old.columns.cbegin());
        if (rule.fields[i].fixed || p.source[i] >= 0) p.written << i;
    }
    for (const QString& k : rule.keys)
        for (qsizetype i = 0; i < rule.fields.size(); ++i)
            if (rule.fields[i].column == k) p.keys << i;
    return p;
}

// A row's values in the order of the fields the copy writes, for the fields
// listed (Null for the others), and which of them the current column refuses
// (those hold Null).
struct RowValues {
    QVariantList values;
    QList<qsizetype> refused;
};

RowValues rowValues(const CopyRule& rule, const Prepared& p, const LinkRow& row, const QList<qsizetype>& which)
{
    RowValues out{QVariantList(rule.fields.size()), {}};
    for (qsizetype i : which) {
        const Field& f = rule.fields[i];
        if (f.fixed) {
            out.values[i] = f.value;
            continue;
        }
        if (p.source[i] < 0) continue;
        const auto v = stored(row.value(p.source[i]), f.kind);
        if (!v) {
            out.refused << i;
            continue;
        }
        out.values[i] = f.emptyAsNull && emptyKey(*v) ? QVariant() : *v;
    }
    return out;
}

// A key field Null or empty (a key column the older table lacks is Null).
bool hasEmptyKey(const Prepared& p, const QVariantList& values)
{
    return std::any_of(p.keys.cbegin(), p.keys.cend(), [&](qsizetype i) { return emptyKey(values[i]); });
}

bool hasRefusedKey(const Prepared& p, const RowValues& row)
{
    return std::any_of(p.keys.cbegin(), p.keys.cend(), [&](qsizetype i) { return row.refused.contains(i); });
}

void fail(TableOutcome& out, const QString& error)
{
    out.failure = error;
    out.copied = 0;
    out.refused = 0;
    qCWarning(lcConversion).noquote() << out.table << ":" << error;
}

// The update and the insert of one set of the fields the copy writes.
struct RowWriter {
    RowWriter(Database& data, const CopyRule& rule, const QList<qsizetype>& which) : fields(which)
    {
        QStringList sets, columns, marks;
        for (qsizetype i : fields) {
            const QString c = Database::quoteIdent(rule.fields[i].column);
            sets << c + QStringLiteral(" = ?");
            columns << c;
            marks << QStringLiteral("?");
        }
        const QString table = Database::quoteIdent(rule.table);
        update.emplace(data, QStringLiteral("update %1 set %2 where rowid = ?").arg(table, sets.join(QStringLiteral(", "))));
        insert.emplace(data, QStringLiteral("insert into %1 (%2) values (%3)")
                                 .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    }

    // Updates the row at rowid, or adds one when rowid is Null.
    bool write(const QVariantList& values, const QVariant& rowid, QString& error)
    {
        QVariantList binds;
        binds.reserve(fields.size() + 1);
        for (qsizetype i : fields) binds << values[i];
        Statement& s = dbv::isNull(rowid) ? *insert : *update;
        if (!dbv::isNull(rowid)) binds << rowid;
        if (s.run(binds)) return true;
        error = s.error();
        return false;
    }

    QList<qsizetype> fields;
    std::optional<Statement> update, insert;
};

// Runs inside a table's transaction after its rows, before the commit; false
// (error set) fails the table.
using BeforeCommit = std::function<bool(QString& error)>;

void copyRows(Database& data, const LinkTable& old, const CopyRule& rule, TableOutcome& out,
              const RowCheck& check = {}, const BeforeCommit& beforeCommit = {})
{
    out.read = int(old.rows.size());
    if (old.rows.isEmpty() && !beforeCommit) return;
    const Prepared p = prepare(rule, old);

    QStringList where;
    for (const QString& k : rule.keys)
        where << (k == QStringLiteral("日付") ? kDateToSecondSql : Database::quoteIdent(k)) + QStringLiteral(" is ?");

    Transaction tx(data);
    if (!tx.started()) return fail(out, data.lastError());
    Statement find(data, QStringLiteral("select min(rowid) from %1 where %2")
                             .arg(Database::quoteIdent(rule.table), where.join(QStringLiteral(" and "))));
    // Every field the older table gives; a row with refused values is
    // written without them, by a writer of its own set of fields.
    std::map<QList<qsizetype>, RowWriter> writers;
    const auto writerFor = [&](const QList<qsizetype>& refused) -> RowWriter& {
        auto it = writers.find(refused);
        if (it == writers.end()) {
            QList<qsizetype> fields;
            for (qsizetype i : p.written)
                if (!refused.contains(i)) fields << i;
            it = writers.try_emplace(refused, data, rule, fields).first;
        }
        return it->second;
    };

    QVariantList keyBinds;
    for (const LinkRow& row : old.rows) {
        QString error;
        const RowValues rv = rowValues(rule, p, row, p.written);
        if (hasRefusedKey(p, rv)) {
            ++out.badKeys;
            continue;
        }
        if (hasEmptyKey(p, rv.values)) {
            ++out.emptyKeys;
            continue;
        }
        if (check) {
            switch (check(rv.values, error)) {
            case Verdict::Copy: break;
            case Verdict::BadCode: ++out.badCodes; continue;
            case Verdict::Conflict: ++out.conflictRows; continue;
            case Verdict::Fail: return fail(out, error);
            }
        }
        keyBinds.clear();
        for (qsizetype i : p.keys) {
            const QVariant& v = rv.values[i];
            keyBinds << (rule.fields[i].column == QStringLiteral("日付") ? QVariant(toSecond(v.toString())) : v);
        }
        if (!find.run(keyBinds)) return fail(out, find.error());
        if (!writerFor(rv.refused).write(rv.values, find.first(), error)) return fail(out, error);
        for (qsizetype i : rv.refused) logRefused(rule.table, rule.fields[i].column, row.value(p.source[i]));
        out.refused += int(rv.refused.size());
        ++out.copied;
    }
    QString error;
    if (beforeCommit && !beforeCommit(error)) return fail(out, error);
    if (!tx.commit()) return fail(out, data.lastError());
}

const QString k顧客マスタ = QStringLiteral("顧客マスタ");
const QString k商品マスタ = QStringLiteral("商品マスタ");
const QString kコードマスタ = QStringLiteral("コードマスタ");
const QString k見積書ヘッダ = QStringLiteral("見積書ヘッダ");
const QString k見積書 = QStringLiteral("見積書");
const QString k自社情報 = QStringLiteral("自社情報");

const CopyRule& headerRule()
{
    static const CopyRule rule{
        k見積書ヘッダ,
        {QStringLiteral("伝票番号")},
        {field(QStringLiteral("伝票番号"), Kind::Integer), field(QStringLiteral("顧客名")),
         field(QStringLiteral("日付"), Kind::Date), field(QStringLiteral("消費税"), Kind::Money),
         field(QStringLiteral("税抜計"), Kind::Money), field(QStringLiteral("合計"), Kind::Money),
         field(QStringLiteral("見積金額"), Kind::Money), field(QStringLiteral("敬称")),
         field(QStringLiteral("済"), Kind::Integer), field(QStringLiteral("顧客情報")), field(QStringLiteral("件名")),
         field(QStringLiteral("受渡場所")), field(QStringLiteral("支払条件")), field(QStringLiteral("有効期限")),
         field(QStringLiteral("納期")), field(QStringLiteral("印鑑1")), field(QStringLiteral("印鑑2")),
         field(QStringLiteral("印鑑3")), field(QStringLiteral("印鑑4")), field(QStringLiteral("メモ"))},
        // The header's key is the number; a Null number is an empty key.
        {QStringLiteral("伝票番号")}};
    return rule;
}

const CopyRule& lineRule()
{
    static const CopyRule rule{
        k見積書,
        {QStringLiteral("顧客名"), QStringLiteral("日付"), QStringLiteral("伝票番号"), QStringLiteral("伝票区分"),
         QStringLiteral("行番号")},
        {field(QStringLiteral("顧客名")), field(QStringLiteral("日付"), Kind::Date),
         field(QStringLiteral("伝票番号"), Kind::Integer), field(QStringLiteral("伝票区分"), Kind::Integer),
         field(QStringLiteral("行番号"), Kind::Integer), field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
         field(QStringLiteral("入数")), field(QStringLiteral("単位")), field(QStringLiteral("数量"), Kind::Money),
         field(QStringLiteral("単価"), Kind::Money), field(QStringLiteral("金額"), Kind::Money),
         field(QStringLiteral("非課税"), Kind::YesNo), field(QStringLiteral("ふりがな")),
         field(QStringLiteral("小計"), Kind::YesNo), fixedNull(QStringLiteral("備考"))},
        {QStringLiteral("顧客名"), QStringLiteral("日付"), QStringLiteral("伝票番号"), QStringLiteral("伝票区分"),
         QStringLiteral("行番号")}};
    return rule;
}

// Indexes of the fields the conflict check reads.
constexpr qsizetype kHeaderNumber = 0, kHeaderCustomer = 1, kHeaderDate = 2;
constexpr qsizetype kLineCustomer = 0, kLineDate = 1, kLineNumber = 2;

// Who and when a stored quotation (header or line) belongs to: its customer
// and its date to the second, Null told from an empty text.
using Identity = std::pair<QString, QString>;

Identity identity(const QVariant& customer, const QVariant& storedDate)
{
    const auto part = [](const QVariant& v, bool date) {
        if (dbv::isNull(v)) return QStringLiteral("N");
        return QStringLiteral("T") + (date ? toSecond(v.toString()) : v.toString());
    };
    return {part(customer, false), part(storedDate, true)};
}

struct QuotationIds {
    QSet<Identity> header;
    QSet<Identity> lines;
    bool any() const { return !header.isEmpty() || !lines.isEmpty(); }
    QSet<Identity> all() const { return header + lines; }
};

bool within(const QSet<Identity>& part, const QSet<Identity>& whole)
{
    return std::all_of(part.cbegin(), part.cend(), [&](const Identity& i) { return whole.contains(i); });
}

// A code as the numbered slots have it: "01".."99".
bool isSlotCode(const QVariant& code)
{
    static const QRegularExpression re(QStringLiteral("^(0[1-9]|[1-9][0-9])$"));
    return re.match(code.toString()).hasMatch();
}

QString numberList(const QList<qint64>& numbers)
{
    constexpr int kShown = 10;
    QStringList shown;
    for (qsizetype i = 0; i < numbers.size() && i < kShown; ++i) shown << QString::number(numbers[i]);
    QString text = shown.join(QStringLiteral(", "));
    if (numbers.size() > kShown) text += QStringLiteral(" ほか%1件").arg(numbers.size() - kShown);
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Outcomes

bool TableOutcome::complete() const
{
    return !missing && failure.isEmpty() && emptyKeys == 0 && badKeys == 0 && badCodes == 0 && conflictRows == 0 &&
           refused == 0;
}

QString TableOutcome::summaryLine() const
{
    if (!failure.isEmpty())
        return QStringLiteral("%1：変換できませんでした（%2）。このテーブルは変更していません").arg(table, failure);
    if (missing) return QStringLiteral("%1：旧データにテーブルがありません").arg(table);
    QString line = QStringLiteral("%1：読込 %2件、変換 %3件").arg(table).arg(read).arg(copied);
    if (emptyKeys) line += QStringLiteral("、キーが空のためスキップ %1件").arg(emptyKeys);
    if (badKeys) line += QStringLiteral("、キーを変換できないためスキップ %1件").arg(badKeys);
    if (badCodes) line += QStringLiteral("、コードが01～99以外のためスキップ %1件").arg(badCodes);
    if (conflictRows)
        line += QStringLiteral("、別の見積書が登録済みの番号（%1）のためスキップ %2件").arg(numberList(conflicts)).arg(conflictRows);
    if (refused) line += QStringLiteral("、変換できない値 %1件（その項目は書き込んでいません）").arg(refused);
    return line;
}

QString ConversionMessage(const QList<TableOutcome>& outcomes)
{
    QString text = QStringLiteral("コンバートが終了しました");
    const bool complete = std::all_of(outcomes.cbegin(), outcomes.cend(), [](const TableOutcome& o) { return o.complete(); });
    if (complete) return text;
    text += QStringLiteral("\n\n変換できなかったデータがあります。\n");
    QStringList lines;
    for (const TableOutcome& o : outcomes) lines << o.summaryLine();
    return text + lines.join(QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------
// The copies

const QStringList DataConversion::Tables{k自社情報, k顧客マスタ, k商品マスタ, kコードマスタ, k見積書ヘッダ, k見積書};

DataConversion::DataConversion(LinkFile& Dbs, Database& data) : Dbs_(Dbs), data_(data) {}

DataConversion::OldTable DataConversion::read(const QString& table, const QStringList& order)
{
    OldTable t;
    if (!Dbs_.hasTable(table)) {
        t.missing = true;
        return t;
    }
    // Order by the columns the table has; a column it lacks is simply not copied.
    const auto columns = Dbs_.columns(table);
    QStringList present;
    if (columns)
        for (const QString& o : order)
            if (std::any_of(columns->cbegin(), columns->cend(),
                            [&](const QString& c) { return c.compare(o, Qt::CaseInsensitive) == 0; }))
                present << o;
    t.rows = columns ? Dbs_.rows(table, present) : std::nullopt;
    if (!t.rows) t.failure = Dbs_.errorText();
    return t;
}

namespace {

// Takes over what reading the older table found; false when there is nothing to copy.
template <typename Old>
bool readable(const Old& old, TableOutcome& out)
{
    if (old.missing) {
        out.missing = true;
        return false;
    }
    if (!old.rows) {
        fail(out, old.failure);
        return false;
    }
    return true;
}

template <typename Old>
TableOutcome copyTable(Database& data, const Old& old, const CopyRule& rule, const RowCheck& check = {})
{
    TableOutcome out(rule.table);
    if (readable(old, out)) copyRows(data, *old.rows, rule, out, check);
    return out;
}

}  // namespace

TableOutcome DataConversion::CnvJisyaInfo()
{
    TableOutcome out{k自社情報};
    const OldTable old = read(k自社情報, {});
    if (!readable(old, out)) return out;
    out.read = int(old.rows->rows.size());
    if (old.rows->rows.isEmpty()) return out;  // the current settings row stays as it is
    const LinkRow& src = old.rows->rows.first();

    struct Setting {
        const char16_t* column;
        Kind kind;
        std::optional<QVariant> fixed;
    };
    const QVariant yes = dbv::fromBool(true);
    const QList<Setting> settings{
        {u"自社名", Kind::Text, {}},          {u"自社情報", Kind::Text, {}},
        {u"年号", Kind::Text, {}},            {u"税区分", Kind::Text, {}},
        {u"税端数", Kind::Text, {}},          {u"行端数", Kind::Text, {}},
        {u"小数", Kind::Text, QVariant(QStringLiteral("しない"))},
        {u"最大見積書番号", Kind::Integer, {}}, {u"税計算", Kind::YesNo, {}},
        {u"印刷用紙", Kind::Text, {}},        {u"商品リンクアプリ", Kind::Text, {}},
        {u"商品リンクパス", Kind::Text, {}},  {u"顧客リンクアプリ", Kind::Text, {}},
        {u"顧客リンクパス", Kind::Text, {}},  {u"郵便番号辞書パス", Kind::Text, {}},
        {u"YubinDataPath", Kind::Text, {}},   {u"YubinLocalEria", Kind::Text, {}},
        {u"YubinLocalEriaSw", Kind::Integer, {}}, {u"商品表示順", Kind::Text, {}},
        {u"入数列タイトル", Kind::Text, {}},  {u"商品登録", Kind::YesNo, yes},
        {u"商品区分登録", Kind::YesNo, yes},  {u"単位登録", Kind::YesNo, yes},
        {u"入数登録", Kind::YesNo, yes},      {u"支払条件登録", Kind::YesNo, yes},
        {u"有効期限登録", Kind::YesNo, yes},  {u"受渡場所登録", Kind::YesNo, yes},
        {u"納期登録", Kind::YesNo, yes},
    };

    Transaction tx(data_);
    if (!tx.started()) {
        fail(out, data_.lastError());
        return out;
    }
    bool ok = false;
    const auto current = data_.firstRow(QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"), {}, &ok);
    if (!ok) {
        fail(out, data_.lastError());
        return out;
    }

    Fields values;
    for (const Setting& s : settings) {
        const QString column = QString::fromUtf16(s.column);
        if (s.fixed) {
            values.append({column, *s.fixed});
            continue;
        }
        if (!src.has(column)) continue;  // a setting the older file lacks keeps its value
        const QVariant source = src.value(column);
        auto v = stored(source, s.kind);
        if (!v) {
            // A setting the current column refuses keeps its value, or its default in a new row.
            logRefused(k自社情報, column, source);
            ++out.refused;
            continue;
        }
        if (column == u"最大見積書番号" && current) {
            // Never lower the counter: a lower one would hand out numbers already stored.
            const QVariant now = current->value(1);
            bool isNumber = false;
            const qint64 n = now.toLongLong(&isNumber);
            if (!dbv::isNull(now) && isNumber && (dbv::isNull(*v) || v->toLongLong() < n)) v = QVariant(n);
        }
        values.append({column, *v});
    }

    bool written = false;
    if (current) {
        QStringList sets;
        QVariantList binds;
        for (const auto& [c, v] : values) {
            sets << Database::quoteIdent(c) + QStringLiteral(" = ?");
            binds << v;
        }
        binds << current->value(0);
        written = data_.exec(QStringLiteral("update 自社情報 set %1 where rowid = ?").arg(sets.join(QStringLiteral(", "))), binds);
    } else {
        written = data_.insert(k自社情報, values);
    }
    if (!written || !tx.commit()) {
        fail(out, data_.lastError());
        return out;
    }
    out.copied = 1;
    return out;
}

TableOutcome DataConversion::CnvKokyaku()
{
    static const CopyRule rule{k顧客マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("顧客名")), field(QStringLiteral("顧客情報")),
                                field(QStringLiteral("ふりがな")), field(QStringLiteral("敬称"))},
                               {QStringLiteral("顧客名")}};
    return copyTable(data_, read(rule.table, rule.order), rule);
}

TableOutcome DataConversion::CnvSyohin()
{
    static const CopyRule rule{k商品マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
                                field(QStringLiteral("入数")), field(QStringLiteral("単位")),
                                field(QStringLiteral("単価"), Kind::Money), field(QStringLiteral("非課税"), Kind::YesNo),
                                field(QStringLiteral("ふりがな"))},
                               {QStringLiteral("品名")}};
    return copyTable(data_, read(rule.table, rule.order), rule);
}

TableOutcome DataConversion::CnvCode()
{
    static const CopyRule rule{kコードマスタ,
                               {QStringLiteral("kcode"), QStringLiteral("code")},
                               // An empty name is a free slot, which the code lists mark with Null.
                               {field(QStringLiteral("kcode")), field(QStringLiteral("code")),
                                {QStringLiteral("sname"), Kind::Text, false, {}, true}},
                               {QStringLiteral("kcode"), QStringLiteral("code")}};
    QSet<QString> kinds;  // kinds known to have their slots
    Statement count(data_, QStringLiteral("select count(*) from コードマスタ where kcode = ?"));
    Statement slot(data_, QStringLiteral("insert into コードマスタ (kcode, code, sname) values (?, ?, null)"));
    const RowCheck check = [&](const QVariantList& values, QString& error) {
        if (!isSlotCode(values[1])) return Verdict::BadCode;
        const QString kcode = values[0].toString();
        if (kinds.contains(kcode)) return Verdict::Copy;
        if (!count.run({kcode})) {
            error = count.error();
            return Verdict::Fail;
        }
        if (count.first().toLongLong() == 0) {
            // A kind the current file lacks gets its 99 free slots, as every kind has.
            for (int i = 1; i <= 99; ++i)
                if (!slot.run({kcode, QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))})) {
                    error = slot.error();
                    return Verdict::Fail;
                }
        }
        kinds.insert(kcode);
        return Verdict::Copy;
    };
    return copyTable(data_, read(rule.table, rule.order), rule, check);
}

const DataConversion::OldTable& DataConversion::oldHeaders()
{
    if (!headers_) headers_ = read(k見積書ヘッダ, headerRule().order);
    return *headers_;
}

const DataConversion::OldTable& DataConversion::oldLines()
{
    if (!lines_) lines_ = read(k見積書, lineRule().order);
    return *lines_;
}

const QSet<qint64>* DataConversion::conflicts(QString& error)
{
    if (conflicts_) return &*conflicts_;
    if (!conflictError_.isEmpty()) {
        error = conflictError_;
        return nullptr;
    }

    // Who and when each older quotation is, by number (rows the copies skip
    // for an empty or unconvertible key take no part; a customer or date the
    // current column refuses counts as Null, as a new row would hold it).
    QHash<qint64, QuotationIds> old;
    const auto collect = [&](const OldTable& t, const CopyRule& rule, qsizetype number, qsizetype customer,
                             qsizetype date, bool header) {
        if (!t.rows) return;
        const Prepared p = prepare(rule, *t.rows);
        const QList<qsizetype> which = p.keys + QList<qsizetype>{customer, date};
        for (const LinkRow& row : t.rows->rows) {
            const RowValues rv = rowValues(rule, p, row, which);
            if (hasRefusedKey(p, rv) || hasEmptyKey(p, rv.values)) continue;
            QuotationIds& ids = old[rv.values[number].toLongLong()];
            (header ? ids.header : ids.lines).insert(identity(rv.values[customer], rv.values[date]));
        }
    };
    collect(oldHeaders(), headerRule(), kHeaderNumber, kHeaderCustomer, kHeaderDate, true);
    collect(oldLines(), lineRule(), kLineNumber, kLineCustomer, kLineDate, false);

    // The same of the current file, for those numbers.
    QHash<qint64, QuotationIds> current;
    const auto scan = [&](const QString& sql, bool header) {
        auto q = data_.query(sql);
        if (!q) return false;
        while (q->next()) {
            const qint64 n = q->value(0).toLongLong();
            if (!old.contains(n)) continue;
            QuotationIds& ids = current[n];
            (header ? ids.header : ids.lines).insert(identity(q->value(1), q->value(2)));
        }
        return true;
    };
    if (!scan(QStringLiteral("select 伝票番号, 顧客名, 日付 from 見積書ヘッダ"), true) ||
        !scan(QStringLiteral("select distinct 伝票番号, 顧客名, 日付 from 見積書"), false)) {
        conflictError_ = error = data_.lastError();
        return nullptr;
    }

    // Another quotation holds the number when the current file has anything
    // under it that the older quotation does not account for, or when the
    // older lines would sit beside current lines of another date or customer.
    QSet<qint64> found;
    for (auto it = current.cbegin(); it != current.cend(); ++it) {
        const QuotationIds& now = it.value();
        const QuotationIds& before = old.value(it.key());
        const bool other = !within(now.all(), before.all()) ||
                           (!before.lines.isEmpty() && !now.lines.isEmpty() && !within(now.lines, before.lines));
        if (other) found.insert(it.key());
    }
    conflicts_ = found;
    return &*conflicts_;
}

namespace {

// Raises the quotation counter 最大見積書番号 to the highest quotation number
// stored (headers and lines), so that a new quotation is never proposed a
// number already stored, which storing would replace. It is never lowered.
// False (error set) when it cannot be read or written.
bool RaiseCounterToStoredNumbers(Database& data, QString& error)
{
    Statement highest(data, QStringLiteral("select max(n) from (select max(伝票番号) as n from 見積書ヘッダ "
                                           "union all select max(伝票番号) from 見積書)"));
    if (!highest.run({})) {
        error = highest.error();
        return false;
    }
    const QVariant highestStored = highest.first();
    const std::optional<qint64> top = dbv::isNull(highestStored) ? std::nullopt : wholeNumber(highestStored);
    if (!top) return true;  // no quotation stored
    return RaiseQuotationCounter(data, *top, error);
}

void copyQuotations(Database& data, const LinkTable& old, const CopyRule& rule, qsizetype number,
                    const QSet<qint64>& conflicts, TableOutcome& out)
{
    QSet<qint64> skipped;
    const RowCheck check = [&](const QVariantList& values, QString&) {
        const qint64 n = values[number].toLongLong();
        if (!conflicts.contains(n)) return Verdict::Copy;
        skipped.insert(n);
        return Verdict::Conflict;
    };
    // The counter is raised with the rows, all or nothing.
    copyRows(data, old, rule, out, check, [&](QString& error) { return RaiseCounterToStoredNumbers(data, error); });
    out.conflicts = QList<qint64>(skipped.cbegin(), skipped.cend());
    std::sort(out.conflicts.begin(), out.conflicts.end());
}

}  // namespace

TableOutcome DataConversion::copyQuotationTable(const QString& table, const OldTable& old)
{
    TableOutcome out(table);
    // Nothing to copy: the counter still ends above every number stored.
    const auto raiseCounterAlone = [&] {
        QString error;
        Transaction tx(data_);
        if (tx.started() && RaiseCounterToStoredNumbers(data_, error) && tx.commit()) return;
        if (out.failure.isEmpty()) fail(out, error.isEmpty() ? data_.lastError() : error);
    };
    if (!readable(old, out)) {
        raiseCounterAlone();
        return out;
    }
    QString error;
    const QSet<qint64>* numbers = conflicts(error);
    if (!numbers) {
        fail(out, error);
        raiseCounterAlone();
        return out;
    }
    const bool header = table == k見積書ヘッダ;
    copyQuotations(data_, *old.rows, header ? headerRule() : lineRule(), header ? kHeaderNumber : kLineNumber, *numbers,
                   out);
    return out;
}

TableOutcome DataConversion::CnvMitumoriHeader()
{
    return copyQuotationTable(k見積書ヘッダ, oldHeaders());
}

TableOutcome DataConversion::CnvMitumori()
{
    return copyQuotationTable(k見積書, oldLines());
}
