#pragma once
// Japanese text order, for readings (ふりがな) and names: ICU's Japanese
// collation through QCollator, so that かとう, カトウ and ｶﾄｳ stand side by
// side (kana type and width count only when all else is equal), a voiced
// kana follows its unvoiced one (か before が, は before ば before ぱ), small
// kana and the long-vowel mark sort in their places, and kanji follow the
// kana in the order of the Japanese industrial character set. Texts the
// collation calls equal are ordered by their code points, so the order is
// total and stable: hiragana, then katakana, then half-width katakana.
//
// The same comparison serves rows sorted in memory (JapaneseCompare) and
// SQL (RegisterJapaneseCollation: "order by ふりがな collate japanese").
// Header-only, so that the customer-search component, which links nothing
// of the program, registers it on its own connection too.

#include "platform/SqliteHandle.h"

#include <QCollator>
#include <QLocale>
#include <QStringDecoder>
#include <QStringView>
#include <QVarLengthArray>

// The collation's name in SQL.
inline constexpr char kJapaneseCollation[] = "japanese";

// Negative, 0 or positive as a sorts before, with or after b. 0 only for the
// same text.
inline int JapaneseCompare(QStringView a, QStringView b)
{
    // One collator per thread: an ICU collator may not be used by two at once.
    static thread_local const QCollator collator{QLocale(QLocale::Japanese)};
    if (const int c = collator.compare(a, b); c != 0) return c;
    return a.compare(b);
}

// The strict order for std::sort and friends.
struct JapaneseLess {
    bool operator()(QStringView a, QStringView b) const { return JapaneseCompare(a, b) < 0; }
};

namespace japanese_order_detail {
using Buffer = QVarLengthArray<QChar, 256>;

// UTF-8 decoded into a buffer on the stack (for the texts a list sorts by),
// so that a comparison allocates nothing.
inline QStringView decoded(const void* text, int bytes, Buffer& buffer)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    buffer.resize(utf8.requiredSpace(bytes));
    const QChar* end = utf8.appendToBuffer(buffer.data(), QByteArrayView(static_cast<const char*>(text), bytes));
    return QStringView(buffer.data(), end - buffer.data());
}

inline int sqliteCompare(void*, int n1, const void* s1, int n2, const void* s2)
{
    // SQLite hands both texts over as UTF-8, as the files keep them.
    Buffer a, b;
    return JapaneseCompare(decoded(s1, n1, a), decoded(s2, n2, b));
}
}  // namespace japanese_order_detail

// Registers the collation "japanese" on an open SQLite connection of Qt's
// QSQLITE driver. False when the connection is not open or not SQLite.
inline bool RegisterJapaneseCollation(const QSqlDatabase& db)
{
    sqlite3* connection = SqliteHandle(db);
    return connection &&
           sqlite3_create_collation_v2(connection, kJapaneseCollation, SQLITE_UTF8, nullptr,
                                       &japanese_order_detail::sqliteCompare, nullptr) == SQLITE_OK;
}
