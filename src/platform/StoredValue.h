#pragma once
// A value in the form the program's files store it, held for a statement to
// bind without a QVariant: Null, a whole number (money in ten-thousandths,
// yes/no 0/1) or a text. Reads and writes of many rows (the data
// conversion) fill one per field for every row.
//
// A text can be lent by a reader from the row it stands on (RowText), in
// the reader's own memory: the loan is good only until the reader moves on
// (its RowClock ticks), and using it later is a fault that stops the
// program rather than read memory that is gone. keep() copies a lent text,
// so that the value outlives the row.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>

// Counts the rows a reader has stood on: a row's loans are good while the
// count is the one they were lent at.
class RowClock {
public:
    void tick() { ++now_; }
    quint64 now() const { return now_; }

private:
    quint64 now_ = 0;
};

// UTF-8 text lent from the row a reader stands on.
class RowText {
public:
    RowText() = default;
    RowText(const RowClock& clock, QByteArrayView utf8) : clock_(&clock), lentAt_(clock.now()), utf8_(utf8) {}

    // Whether the reader still stands on the row it was lent from.
    bool good() const { return clock_ && clock_->now() == lentAt_; }
    // The bytes; only while good().
    QByteArrayView utf8() const;
    // Their count (known without reading them).
    qsizetype size() const { return utf8_.size(); }

private:
    const RowClock* clock_ = nullptr;
    quint64 lentAt_ = 0;
    QByteArrayView utf8_;
};

class StoredValue {
public:
    enum class Type : quint8 { Null, Integer, Text, Utf8 };

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    // Null or an empty text.
    bool isEmpty() const;
    // False for a lent text whose reader has moved on: its text is gone.
    bool good() const { return type_ != Type::Utf8 || owned_ || loan_.good(); }

    void setNull() { type_ = Type::Null; }
    void setInteger(qint64 n) { type_ = Type::Integer, integer_ = n; }
    void setText(QString s) { type_ = Type::Text, text_ = std::move(s); }
    void lend(const RowText& text) { type_ = Type::Utf8, loan_ = text, owned_ = false; }
    // A value in the stored form (ColumnValue::stored): Null, a whole number
    // or a text.
    void set(const QVariant& v);
    // Holds a lent text itself, past the row it was lent from.
    void keep();

    qint64 integer() const { return integer_; }
    const QString& text() const { return text_; }
    // The text of Utf8: lent (while the row is read) or kept.
    QByteArrayView utf8() const { return owned_ ? QByteArrayView(kept_) : loan_.utf8(); }

    // As a QVariant would give it.
    QString toString() const;
    // The number of a whole-number field (those hold Integer or Null).
    qint64 toLongLong() const { return type_ == Type::Integer ? integer_ : toString().toLongLong(); }

private:
    Type type_ = Type::Null;
    bool owned_ = false;  // Utf8: kept_ holds the text, not the loan
    qint64 integer_ = 0;
    QString text_;
    RowText loan_;
    QByteArray kept_;
};
