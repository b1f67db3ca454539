#include "platform/StoredValue.h"

#include "platform/Database.h"

#include <QtGlobal>

QByteArrayView RowText::utf8() const
{
    // The reader's memory of a row it has left may hold another row's text
    // already, or nothing: stop rather than store that.
    if (!good()) qFatal("RowText: a row's text used after its reader moved on");
    return utf8_;
}

bool StoredValue::isEmpty() const
{
    switch (type_) {
    case Type::Null: return true;
    case Type::Integer: return false;
    case Type::Text: return text_.isEmpty();
    case Type::Utf8: return owned_ ? kept_.isEmpty() : loan_.size() == 0;
    }
    return false;
}

void StoredValue::set(const QVariant& v)
{
    if (dbv::isNull(v)) return setNull();
    if (dbv::isIntegral(v)) return setInteger(v.toLongLong());
    setText(v.toString());
}

void StoredValue::keep()
{
    if (type_ != Type::Utf8 || owned_) return;
    kept_ = loan_.utf8().toByteArray();
    owned_ = true;
}

QString StoredValue::toString() const
{
    switch (type_) {
    case Type::Null: return QString();
    case Type::Integer: return QString::number(integer_);
    case Type::Text: return text_;
    case Type::Utf8: return QString::fromUtf8(utf8());
    }
    return QString();
}
