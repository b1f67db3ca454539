#pragma once
// Module state of the customer-search component, one copy per loaded
// library, shared by every ClsPelmar object and the search dialog; the kana
// tables of the initial-letter search; the searches themselves.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

namespace ModPelmar {

// One line of the result list: 顧客名 and 顧客情報 (Null when not stored).
struct CustomerRow {
    QVariant 顧客名;
    QVariant 顧客情報;
};

// The result of the last pick (Empty until a pick; FormShow empties it).
extern QVariant RetVal;
// Copied from the ClsPelmar properties by FormShow; DataMode and ColorSet are
// kept but nothing reads them.
extern QVariant DataPath;
extern QVariant DataMode;
extern QVariant ColorSet;
// The rows the search grid shows: the customers found, then one empty row.
extern QList<CustomerRow> ResultArray;

// The kana tables: a button's hiragana and, at the same position, its
// katakana and half-width letters. The や and わ rows repeat letters of the
// あ row; the first occurrence wins.
extern const QString HiraganaTable;
extern const QString KatakanaTable;
extern const QString HalfWidthTable;

// The captions of the 50 kana buttons, index 0 to 49.
extern const QStringList KanaButtonCaptions;

// At most this many customers are listed per search.
constexpr int kMaxRows = 1000;

// The katakana and half-width letters of a hiragana initial; both Null when
// the letter is not in the hiragana table.
void ConvertKanaInitial(const QString& letter, QVariant& katakana, QVariant& halfWidth);

// A statement with its bound values.
struct SearchStatement {
    QString sql;
    QVariantList binds;
};

// A LIKE pattern (used with ESCAPE '\') for a typed text: '*' stands for any
// text and '?' for any one character, as the user knows them; '%', '_' and
// '\' are plain characters.
QString LikeText(const QString& typed);

// The free-text search: each non-empty box adds a "contains" condition, all
// of them joined by AND; ordered by ふりがな in Japanese order
// (platform/JapaneseOrder.h), so the first kMaxRows are the first in that order.
SearchStatement FreeTextStatement(const QString& かな, const QString& 電話番号, const QString& 顧客名, const QString& 住所);
// The kana-initial search: readings that begin with the letter, its katakana
// or its half-width letter; a letter without them matches every reading.
SearchStatement KanaInitialStatement(const QString& letter);

// Opens the data file read-only on the component's own connection; false
// (and nothing open) when the file is missing or holds no customer table,
// with a few words for the user on why in reason (when given).
bool OpenDatabase(const QString& path, QString* reason = nullptr);
// The message when the search cannot be shown because its data file cannot
// be opened: names the file and says why.
QString CannotOpenMessage(const QString& path, const QString& reason);

// How the component tells the user something: a warning box of its own
// titled "顧客参照" (it shares no message code with the program that loads
// it). Tests put a recorder in its place; an empty function restores the box.
using MessageSink = std::function<void(const QString& title, const QString& text)>;
void SetMessageSink(MessageSink sink);
void ShowWarning(const QString& text);
void CloseDatabase();
bool IsDatabaseOpen();

// Runs a search and puts its first kMaxRows customers and one empty row into
// ResultArray. A failing statement leaves just the empty row. Returns the
// number of customers read.
int ReadRows(const SearchStatement& statement);

}  // namespace ModPelmar
