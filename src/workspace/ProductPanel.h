#pragma once
// Helpers of the product-detail panel that the grid's rules share.

#include <QString>

// The product name as a detail line keeps it: leading and trailing blanks
// (half- and full-width) removed, then cut to its longest beginning of whole
// characters that fits in 50 bytes of Shift-JIS.
QString NormalizeProductName(const QString& name);
// Length of a text in Shift-JIS bytes (one for ASCII and half-width katakana, two otherwise).
int ShiftJisLength(const QString& text);
