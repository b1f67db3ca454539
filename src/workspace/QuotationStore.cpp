#include "workspace/QuotationStore.h"

#include "app/DetailWorkTable.h"
#include "workspace/DetailLines.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <cmath>
#include <limits>

namespace {

const QString kIsoDate = QStringLiteral("yyyy-MM-dd");

// A product name without the blanks around it, the same way the grid trims
// it for its look-up, so a stored name is found again by the same key.
QString trimmedText(const QVariant& v)
{
    return DetailLine::TrimBlanks(dbv::text(v));
}

// The 品名 a store writes: trimmed, Null when nothing is left, but an empty
// text stays an empty text, so the line is used again after a reload.
QVariant storedName(const QuotationLine& l)
{
    return l.hasEmptyName() ? QVariant(QStringLiteral("")) : dbv::textOrNull(trimmedText(l.品名));
}

bool hasText(const QVariant& v)
{
    return !dbv::text(v).isEmpty();
}

QVariant textValue(const QVariant& v)
{
    return dbv::isNull(v) ? QVariant() : QVariant(v.toString());
}

// Text kept as typed, an empty text included (an empty QString would be bound as NULL).
QVariant keptText(const QVariant& v)
{
    const QString s = dbv::text(v);
    return s.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(s);
}

QVariant dateValue(const std::optional<QDate>& d)
{
    return d && d->isValid() ? QVariant(d->toString(kIsoDate)) : QVariant();
}

// The date part of a stored date ('YYYY-MM-DD', with or without a time after it).
std::optional<QDate> dateFromDb(const QVariant& v)
{
    if (dbv::isNull(v)) return std::nullopt;
    const QDate d = QDate::fromString(v.toString().left(10), kIsoDate);
    if (!d.isValid()) return std::nullopt;
    return d;
}


std::optional<Failure> err(const Statement& s)
{
    return s.error();
}

// The customer: a new row in full; an existing row keeps what the quotation left empty.
std::optional<Failure> upsertCustomer(Database& data, const QuotationHeader& h)
{
    {
        Statement find(data, QStringLiteral("select rowid from 顧客マスタ where 顧客名 = ? order by rowid limit 1"));
        if (!find.run({textValue(h.顧客名)})) return err(find);
        if (find.query().next()) {
            const QVariant rowid = find.query().value(0);
            find.query().finish();
            Statement upd(data, QStringLiteral("update 顧客マスタ set 顧客情報 = coalesce(?, 顧客情報), 敬称 = coalesce(?, 敬称) "
                                               "where rowid = ?"));
            if (!upd.run({dbv::textOrNull(dbv::text(h.顧客情報)), dbv::textOrNull(dbv::text(h.敬称)), rowid}))
                return err(upd);
        } else {
            Statement ins(data, QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報, 敬称) values (?, ?, ?)"));
            if (!ins.run({textValue(h.顧客名), dbv::textOrNull(dbv::text(h.顧客情報)), dbv::textOrNull(dbv::text(h.敬称))}))
                return err(ins);
        }
    }

    return std::nullopt;
}

std::optional<Failure> upsertProducts(Database& data, const QList<QuotationLine>& lines)
{
    // Every named product, in line order (the last line of a name wins); subtotal lines are no products.
    {
        Statement find(data, QStringLiteral("select rowid from 商品マスタ where 品名 = ? order by rowid limit 1"));
        Statement upd(data, QStringLiteral("update 商品マスタ set 入数 = coalesce(?, 入数), 商品区分 = coalesce(?, 商品区分), "
                                           "単位 = coalesce(?, 単位), 単価 = coalesce(?, 単価), 非課税 = ?, "
                                           "ふりがな = coalesce(?, ふりがな) where rowid = ?"));
        Statement ins(data, QStringLiteral("insert into 商品マスタ (品名, 入数, 商品区分, 単位, 単価, 非課税, ふりがな) "
                                           "values (?, ?, ?, ?, ?, ?, ?)"));
        for (const QuotationLine& l : lines) {
            const QString name = trimmedText(l.品名);
            if (name.isEmpty()) continue;
            if (l.小計 && !l.単価 && !l.数量) continue;
            const QVariant 入数 = dbv::textOrNull(dbv::text(l.入数));
            const QVariant 商品区分 = dbv::textOrNull(dbv::text(l.商品区分));
            const QVariant 単位 = dbv::textOrNull(dbv::text(l.単位));
            const QVariant ふりがな = dbv::textOrNull(dbv::text(l.ふりがな));
            if (!find.run({name})) return err(find);
            if (find.query().next()) {
                const QVariant rowid = find.query().value(0);
                find.query().finish();
                if (!upd.run({入数, 商品区分, 単位, Currency::toDb(l.単価), dbv::fromBool(l.非課税), ふりがな, rowid}))
                    return err(upd);
            } else {
                find.query().finish();
                if (!ins.run({name, 入数, 商品区分, 単位, Currency::toDb(l.単価), dbv::fromBool(l.非課税), ふりがな}))
                    return err(ins);
            }
        }
    }

    return std::nullopt;
}

}  // namespace

std::optional<int> ParseQuotationNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const qulonglong n = t.toULongLong(&ok);
    if (!ok || n < 1 || n > static_cast<qulonglong>(std::numeric_limits<int>::max())) return std::nullopt;
    return static_cast<int>(n);
}

std::optional<double> ParseNumericText(const QString& text)
{
    // Digits with optional grouping, an optional sign and decimal point.
    static const QRegularExpression numeric(
        QStringLiteral("^[+-]?(?:[0-9]{1,3}(?:,[0-9]{3})+|[0-9]+)?(?:\\.[0-9]*)?$"));
    const QString t = text.trimmed();
    if (t.isEmpty() || !numeric.match(t).hasMatch()) return std::nullopt;
    QString plain = t;
    plain.remove(',');
    if (plain == u"+" || plain == u"-" || plain == u"." || plain == u"+." || plain == u"-.") return std::nullopt;
    bool ok = false;
    const double d = plain.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<int> WholeQuotationNumber(const QString& text)
{
    const auto d = ParseNumericText(text);
    if (!d || *d != std::trunc(*d)) return std::nullopt;
    if (*d < std::numeric_limits<int>::min() || *d > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(*d);
}

std::optional<int> LookupQuotationNumber(const QString& text)
{
    const auto d = ParseNumericText(text);
    if (!d) return std::nullopt;
    const double r = std::nearbyint(*d);  // default rounding mode: halves to even
    if (r < std::numeric_limits<int>::min() || r > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(r);
}

StoreOutcome StoreQuotation(Database& data, const QuotationRecord& q, const CodeRegistrar& registerCode)
{
    const QuotationHeader& h = q.header;
    Transaction tx(data);
    if (!tx.started()) return {false, data.lastError()};
    auto failed = [](const Statement& s) { return StoreOutcome{false, s.error()}; };

    if (auto e = upsertCustomer(data, h)) return {false, *e};
    if (auto e = upsertProducts(data, q.lines)) return {false, *e};

    // The old version of the number goes, header and lines.
    {
        Statement delHeader(data, QStringLiteral("delete from 見積書ヘッダ where 伝票番号 = ?"));
        if (!delHeader.run({h.伝票番号})) return failed(delHeader);
        Statement delLines(data, QStringLiteral("delete from 見積書 where 伝票番号 = ?"));
        if (!delLines.run({h.伝票番号})) return failed(delLines);
    }

    // The lines up to the last one that holds anything; a blank line in between stays a blank line.
    const QVariant date = dateValue(h.日付);
    const int count = std::min<int>(UsedLineCount(q.lines), DetailLine::kLines);
    {
        Statement ins(data, QStringLiteral("insert into 見積書 (伝票番号, 顧客名, 日付, 行番号, 伝票区分, 品名, 商品区分, 数量, "
                                           "入数, 単位, 単価, 金額, 非課税, ふりがな, 小計) "
                                           "values (?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < count; ++i) {
            const QuotationLine& l = q.lines[i];
            if (!ins.run({h.伝票番号, textValue(h.顧客名), date, i, storedName(l),
                          textValue(l.商品区分), Currency::toDb(l.数量), textValue(l.入数), textValue(l.単位),
                          Currency::toDb(l.単価), Currency::toDb(l.金額), dbv::fromBool(l.非課税), textValue(l.ふりがな),
                          dbv::fromBool(l.小計)}))
                return failed(ins);
        }
    }

    // The header.
    {
        Statement ins(data, QStringLiteral("insert into 見積書ヘッダ (伝票番号, 日付, 顧客名, 顧客情報, 敬称, メモ, 件名, "
                                           "有効期限, 支払条件, 受渡場所, 納期, 消費税, 税抜計, 合計, 見積金額, "
                                           "印鑑1, 印鑑2, 印鑑3, 印鑑4) "
                                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QVariantList binds{h.伝票番号,
                           date,
                           textValue(h.顧客名),
                           keptText(h.顧客情報),
                           keptText(h.敬称),
                           dbv::textOrNull(dbv::text(h.メモ)),
                           dbv::textOrNull(dbv::text(h.件名)),
                           dbv::textOrNull(dbv::text(h.有効期限)),
                           dbv::textOrNull(dbv::text(h.支払条件)),
                           dbv::textOrNull(dbv::text(h.受渡場所)),
                           dbv::textOrNull(dbv::text(h.納期)),
                           Currency::toDb(h.消費税),
                           Currency::toDb(h.税抜計),
                           Currency::toDb(h.合計),
                           Currency::toDb(h.見積金額)};
        for (const QVariant& seal : h.印鑑) binds << keptText(seal);
        if (!ins.run(binds)) return failed(ins);
    }

    // New code values: the unit of every stored line, then the header's four lists.
    if (registerCode) {
        // Afterwards the value is in its list, or the list has no free slot
        // left; a list that could not be written fails the store.
        auto offer = [&](const QString& kcode, const QString& value) -> std::optional<Failure> {
            if (registerCode(kcode, value) != CodeEntry::Failed) return std::nullopt;
            return data.lastError().isEmpty() ? Failure(QStringLiteral("コード表「%1」に「%2」を登録できません。").arg(kcode, value))
                                              : data.lastError();
        };
        QSet<QString> units;  // each unit is offered once
        for (int i = 0; i < count; ++i) {
            const QString unit = dbv::text(q.lines[i].単位);
            if (unit.isEmpty() || units.contains(unit)) continue;
            units.insert(unit);
            if (auto e = offer(QStringLiteral("単位"), unit)) return {false, *e};
        }
        const std::pair<const char16_t*, const QVariant*> codes[] = {
            {u"有効期限", &h.有効期限}, {u"支払条件", &h.支払条件}, {u"受渡場所", &h.受渡場所}, {u"納期", &h.納期}};
        for (const auto& [kind, value] : codes)
            if (hasText(*value))
                if (auto e = offer(QString::fromUtf16(kind), dbv::text(*value))) return {false, *e};
    }

    // The highest stored number only grows.
    {
        Failure error;
        if (!RaiseQuotationCounter(data, h.伝票番号, error)) return {false, error};
    }

    if (!tx.commit()) return {false, data.lastError()};
    return {true, {}};
}

std::optional<QuotationHeader> LoadQuotationHeader(Database& data, int number, bool* ok, Failure* error)
{
    if (ok) *ok = true;
    Statement head(data, QStringLiteral("select 日付, 顧客名, 顧客情報, 敬称, メモ, 件名, 有効期限, 支払条件, 受渡場所, 納期, "
                                        "消費税, 税抜計, 合計, 見積金額, 印鑑1, 印鑑2, 印鑑3, 印鑑4 "
                                        "from 見積書ヘッダ where 伝票番号 = ? limit 1"));
    if (!head.run({number})) {
        if (ok) *ok = false;
        if (error) *error = head.error();
        return std::nullopt;
    }
    if (!head.query().next()) return std::nullopt;
    const QSqlRecord r = head.query().record();
    QuotationHeader h;
    h.伝票番号 = number;
    h.日付 = dateFromDb(r.value(0));
    h.顧客名 = textValue(r.value(1));
    h.顧客情報 = textValue(r.value(2));
    h.敬称 = textValue(r.value(3));
    h.メモ = textValue(r.value(4));
    h.件名 = textValue(r.value(5));
    h.有効期限 = textValue(r.value(6));
    h.支払条件 = textValue(r.value(7));
    h.受渡場所 = textValue(r.value(8));
    h.納期 = textValue(r.value(9));
    h.消費税 = Currency::fromDb(r.value(10));
    h.税抜計 = Currency::fromDb(r.value(11));
    h.合計 = Currency::fromDb(r.value(12));
    h.見積金額 = Currency::fromDb(r.value(13));
    for (int i = 0; i < 4; ++i) h.印鑑[i] = textValue(r.value(14 + i));
    return h;
}

QList<QuotationLine> LoadQuotationLines(Database& data, int number, bool* ok, Failure* error)
{
    if (ok) *ok = true;
    QList<QuotationLine> out;
    Statement lines(data, QStringLiteral("select 品名, 商品区分, 入数, 数量, 単位, 単価, 金額, 非課税, ふりがな, 小計 "
                                         "from 見積書 where 伝票番号 = ? order by 伝票番号, 伝票区分, 行番号 limit ?"));
    if (!lines.run({number, DetailLine::kLines})) {
        if (ok) *ok = false;
        if (error) *error = lines.error();
        return out;
    }
    while (lines.query().next()) out.append(QuotationLineFromRecord(lines.query().record()));
    return out;
}

std::optional<QuotationRecord> LoadQuotation(Database& data, int number, bool* ok, Failure* error)
{
    bool headOk = true;
    auto h = LoadQuotationHeader(data, number, &headOk, error);
    if (ok) *ok = headOk;
    if (!h) return std::nullopt;
    QuotationRecord q;
    q.header = *h;
    bool linesOk = true;
    q.lines = LoadQuotationLines(data, number, &linesOk, error);
    if (ok) *ok = linesOk;
    return q;
}

bool WriteWorkLines(Database& work, const QList<QuotationLine>& lines, Failure* error)
{
    Transaction tx(work);
    if (!tx.started()) {
        if (error) *error = work.lastError();
        return false;
    }
    Statement upd(work, QStringLiteral("update w明細 set 品名 = ?, 商品区分 = ?, 入数 = ?, 数量 = ?, 単位 = ?, 単価 = ?, "
                                       "金額 = ?, 非課税 = ?, ふりがな = ?, 小計 = ? where 行番号 = ?"));
    const QuotationLine blank;
    for (int k = 1; k <= DetailLine::kLines; ++k) {
        const QuotationLine& l = k <= lines.size() ? lines[k - 1] : blank;
        if (!upd.run({textValue(l.品名), textValue(l.商品区分), textValue(l.入数), Currency::toDb(l.数量),
                      textValue(l.単位), Currency::toDb(l.単価), Currency::toDb(l.金額), dbv::fromBool(l.非課税),
                      textValue(l.ふりがな), dbv::fromBool(l.小計), k})) {
            if (error) *error = upd.error();
            return false;
        }
    }
    if (tx.commit()) return true;
    if (error) *error = work.lastError();
    return false;
}

QList<QuotationLine> ReadWorkLines(Database& work, bool* ok)
{
    return ReadDetailWorkRows(work, ok);
}

StoreOutcome DeleteQuotations(Database& data, const QList<int>& numbers)
{
    Transaction tx(data);
    if (!tx.started()) return {false, data.lastError()};
    Statement delLines(data, QStringLiteral("delete from 見積書 where 伝票番号 = ?"));
    Statement delHeader(data, QStringLiteral("delete from 見積書ヘッダ where 伝票番号 = ?"));
    for (int n : numbers) {
        if (!delLines.run({n})) return {false, delLines.error()};
        if (!delHeader.run({n})) return {false, delHeader.error()};
    }
    if (!tx.commit()) return {false, data.lastError()};
    return {true, {}};
}

QList<HistoryRow> QueryHistory(Database& data, const HistoryFilter& filter, bool* ok)
{
    QStringList where;
    QVariantList binds;
    if (!filter.顧客名.isEmpty()) {
        where << QStringLiteral("顧客名 = ?");
        binds << filter.顧客名;
    }
    // On the date part: a stored date with a time after it still belongs to its day.
    if (filter.開始) {
        where << QStringLiteral("日付 >= ?");
        binds << filter.開始->toString(kIsoDate);
    }
    if (filter.終了) {
        where << QStringLiteral("日付 < ?");
        binds << filter.終了->addDays(1).toString(kIsoDate);
    }
    QString sql = QStringLiteral("select 伝票番号, 日付, 顧客名, 件名 from 見積書ヘッダ");
    if (!where.isEmpty()) sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    sql += QStringLiteral(" order by substr(日付, 1, 10) desc, 伝票番号 desc");

    QList<HistoryRow> out;
    auto q = data.query(sql, binds);
    if (ok) *ok = q.has_value();
    if (!q) return out;
    while (q->next()) {
        HistoryRow r;
        r.伝票番号 = q->value(0).toInt();
        const auto d = dateFromDb(q->value(1));
        r.日付 = d ? QVariant(d->toString(kIsoDate)) : QVariant();
        r.顧客名 = textValue(q->value(2));
        r.件名 = textValue(q->value(3));
        out.append(r);
    }
    return out;
}

std::optional<int> FillHistoryList(Database& work, Database& data, const HistoryFilter& filter)
{
    if (!work.exec(QStringLiteral("delete from w履歴リスト"))) return std::nullopt;
    bool ok = false;
    const QList<HistoryRow> rows = QueryHistory(data, filter, &ok);
    if (!ok) return std::nullopt;
    Transaction tx(work);
    if (!tx.started()) return std::nullopt;
    Statement ins(work, QStringLiteral("insert into w履歴リスト (チェック, 伝票番号, 日付, 顧客名, 件名) values (0, ?, ?, ?, ?)"));
    int named = 0;
    for (const HistoryRow& r : rows) {
        if (!ins.run({r.伝票番号, r.日付, r.顧客名, r.件名})) return std::nullopt;
        if (!dbv::isNull(r.顧客名)) ++named;
    }
    if (!tx.commit()) return std::nullopt;
    return named;
}
