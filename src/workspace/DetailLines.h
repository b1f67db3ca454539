#pragma once
// Rules of the detail lines (w明細) that do not need the window: the columns,
// the limits of typed numbers, the line amount, the product-name length, the
// product look-up, and the line moves of subtotal insertion and line deletion.

#include "app/ProductMaster.h"
#include "platform/Currency.h"
#include "platform/Failure.h"

#include <QString>
#include <QVariant>
#include <optional>

class Database;

// Input and output of the product look-up by name.
struct ProductLookup {
    QVariant 品名;         // in: the trimmed name
    QString 単位;          // out: "" when not found
    Currency 単価;         // out: 0 when not found
    bool 非課税 = false;   // out
    QVariant ふりがな;     // out: null when not found
};

namespace DetailLine {

// Columns of w明細 and of the detail grid.
constexpr int 行番号 = 0;
constexpr int 品名 = 1;
constexpr int 商品区分 = 2;
constexpr int 入数 = 3;
constexpr int 数量 = 4;
constexpr int 単位 = 5;
constexpr int 単価 = 6;
constexpr int 金額 = 7;
constexpr int 非課税 = 8;
constexpr int ふりがな = 9;
constexpr int 小計 = 10;

// w明細 always holds this many lines, numbered 1 to kLines.
constexpr int kLines = 100;
constexpr int kNameBytes = kProductNameBytes;  // 品名, in Shift-JIS

inline const QString kSubtotalName = QStringLiteral(" 小 計");
inline const QString kSubtotalLineRefusal = QStringLiteral("小計行は変更できません。行削除してください。");

// The typed-number columns 数量, 単価 and 金額 and their bounds (bounds allowed).
bool IsNumberColumn(int col);
bool WithinLimit(int col, const Decimal& value);
struct NumberLimits {
    Currency low;
    Currency high;
};
// The bounds of a number column (zero for any other column).
NumberLimits LimitsOf(int col);

// What a typed text in a number column becomes.
enum class NumberInput { Empty, Number, BeyondLimit, NotANumber };
struct TypedNumber {
    NumberInput input = NumberInput::Empty;
    std::optional<Currency> value;  // a Number: the value the cell keeps
};
// A typed number is rounded to the `decimals` places its column shows (0 to
// 4), halves away from zero as the display rounds, so that the value kept is
// the value shown; the limits apply to the rounded value.
TypedNumber ReadTypedNumber(int col, const QString& text, int decimals);
// A value as a column of `decimals` places (0 to 4) shows it: rounded,
// halves away from zero, the way a typed number is kept.
Currency ShownValue(Currency value, int decimals);
// The same without rounding to fewer places than a Currency holds.
NumberInput ClassifyNumber(int col, const QString& text);

// 数量 × 単価, exact, rounded by the line rounding mode; nothing when either
// is missing, and nothing when the amount falls beyond the 金額 limits.
std::optional<Currency> LineAmount(std::optional<Currency> quantity, std::optional<Currency> price,
                                   const QString& mode);
// The line amount of 数量 and 単価 is within the 金額 limits, or one of them is missing.
bool LineAmountFits(std::optional<Currency> quantity, std::optional<Currency> price, const QString& mode);
// What a line whose 数量 × 単価 leaves the 金額 limits is told.
QString LineAmountBeyondLimit();

// The name rules shared with the product window (app/ProductMaster.h).
using ::CutToShiftJis;
using ::ShiftJisLength;
using ::TrimBlanks;

// Looks the product record.品名 up in 商品マスタ by exact name and fills the
// other members; a name that is not there (or a failed read) gives "", 0,
// false and null.
void LookupProduct(Database& data, ProductLookup& record);

// The refusal of a subtotal insertion at line n as the message text, or
// nothing when it may be inserted. prev / next: the lines before and after
// (absent at the top and bottom of the table).
struct LineCells {
    bool subtotal = false;
    bool nameEmpty = true;
    bool holdsAnything = false;
};
std::optional<QString> SubtotalRefusal(int n, const LineCells& current, const std::optional<LineCells>& prev,
                                       const std::optional<LineCells>& next, const LineCells& last);

// The line moves, each one transaction on the work database (all or
// nothing; w明細ソート is scratch and left empty). False on failure, with the
// database's words in error.
//
// Inserts a subtotal line at n: the lines n..99 move down one (line 100 is
// dropped, so callers refuse when it holds anything); its 金額 is the sum of
// the amounts strictly between the previous subtotal line (or the top) and n.
bool InsertSubtotalLine(Database& work, int n, Failure* error = nullptr);
// Deletes line n: the lines below move up one and a blank line 100 is added.
bool DeleteLine(Database& work, int n, Failure* error = nullptr);

}  // namespace DetailLine

// Columns of the product list w商品参照 (the detail grid's 品名 drop-down).
namespace ProductPickColumn {
constexpr int 品名 = 0;
constexpr int 商品区分 = 1;
constexpr int 入数 = 2;
constexpr int 単位 = 3;
constexpr int 単価 = 4;
constexpr int 非課税 = 5;
constexpr int ふりがな = 6;
}  // namespace ProductPickColumn
