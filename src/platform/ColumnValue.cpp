#include "platform/ColumnValue.h"

#include "platform/Database.h"
#include "platform/JetValue.h"

namespace {

bool isCurrency(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

template <typename T>
std::optional<QVariant> some(const std::optional<T>& v)
{
    return v ? std::optional<QVariant>(QVariant::fromValue(*v)) : std::nullopt;
}

}  // namespace

ColumnKind ColumnKindOf(const QString& declaredType)
{
    const QString t = declaredType.toUpper();
    const auto has = [&](const char* word) { return t.contains(QLatin1String(word)); };
    if (t.isEmpty()) return ColumnKind::Any;
    if (has("CURRENCY") || has("MONEY")) return ColumnKind::Money;
    if (has("BOOL") || has("YESNO") || has("LOGICAL") || t == QLatin1String("BIT")) return ColumnKind::Bool;
    if (has("DATE") || has("TIME")) return ColumnKind::Date;
    if (has("CHAR") || has("TEXT") || has("MEMO") || has("CLOB") || has("STRING")) return ColumnKind::Text;
    if (has("BLOB") || has("BINARY") || has("OLE")) return ColumnKind::Binary;
    if (has("INT") || has("BYTE") || has("LONG") || has("COUNTER")) return ColumnKind::Integer;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("SINGLE") || has("NUMERIC") || has("DECIMAL"))
        return ColumnKind::Real;
    return ColumnKind::Any;
}

namespace ColumnValue {

std::optional<QVariant> read(const QVariant& held, ColumnKind kind)
{
    if (held.isNull()) return QVariant();
    const int type = held.metaType().id();
    const bool text = type == QMetaType::QString;
    switch (kind) {
    case ColumnKind::Any:
        if (type == QMetaType::Int) return QVariant(held.toLongLong());
        return held;
    case ColumnKind::Text:
        return QVariant(held.toString());
    case ColumnKind::Integer:
        return some(JetValue::wholeNumber(held));
    case ColumnKind::Real: {
        bool ok = false;
        const double d = text ? held.toString().trimmed().toDouble(&ok) : held.toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
    }
    case ColumnKind::Money:
        return some(JetValue::currency(held));
    case ColumnKind::Bool:
        return some(JetValue::yesNo(held));
    case ColumnKind::Date:
        if (type == QMetaType::QDate || type == QMetaType::QDateTime) return held;
        if (!text) return std::nullopt;
        return JetValue::dateTime(held.toString());
    case ColumnKind::Binary:
        return QVariant(held.toByteArray());
    }
    return std::nullopt;
}

QString dateText(const QDateTime& dateTime)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    // Written out by hand: the data conversion formats a date per row.
    char16_t text[23];
    int n = 0;
    const auto put = [&](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) text[n + i] = char16_t(u'0' + value % 10);
        n += digits;
    };
    const auto sep = [&](char16_t c) { text[n++] = c; };
    put(d.year(), 4), sep(u'-'), put(d.month(), 2), sep(u'-'), put(d.day(), 2);
    if (t != QTime(0, 0)) sep(u' '), put(t.hour(), 2), sep(u':'), put(t.minute(), 2), sep(u':'), put(t.second(), 2);
    if (t.msec()) sep(u'.'), put(t.msec(), 3);
    return QString(reinterpret_cast<const QChar*>(text), n);
}

std::optional<QVariant> stored(const QVariant& value, ColumnKind kind)
{
    if (dbv::isNull(value)) return QVariant();
    const int type = value.metaType().id();
    switch (kind) {
    case ColumnKind::Text:
        if (type == QMetaType::QString) return value;
        if (type == QMetaType::QDate || type == QMetaType::QDateTime) return stored(value, ColumnKind::Date);
        if (isCurrency(value)) return QVariant(value.value<Currency>().toPlainString());
        if (type == QMetaType::QByteArray) return std::nullopt;
        return QVariant(value.toString());
    case ColumnKind::Money: {
        const auto c = JetValue::currency(value);
        if (!c) return std::nullopt;
        return Currency::toDb(c);
    }
    case ColumnKind::Bool: {
        const auto yes = JetValue::yesNo(value);
        if (!yes) return std::nullopt;
        return dbv::fromBool(*yes);
    }
    case ColumnKind::Date: {
        const auto date = read(value, ColumnKind::Date);
        if (!date) return std::nullopt;
        if (date->metaType().id() == QMetaType::QDate) return QVariant(date->toDate().toString(QStringLiteral("yyyy-MM-dd")));
        return QVariant(dateText(date->toDateTime()));
    }
    case ColumnKind::Integer:
    case ColumnKind::Real:
    case ColumnKind::Binary:
    case ColumnKind::Any:
        return read(value, kind);
    }
    return std::nullopt;
}

}  // namespace ColumnValue
