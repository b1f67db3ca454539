#pragma once
// Lengths in Shift-JIS bytes, the measure of the product name's limit on the
// quotation and of the name column on the B5 paper: one byte for ASCII and
// half-width katakana, two for every other character.

#include <QString>

// Bytes of a text in Shift-JIS.
int ShiftJisLength(const QString& text);

// The longest beginning of whole characters that fits in maxBytes of
// Shift-JIS: a double-byte character is never split, nor a character outside
// the basic plane (two UTF-16 units).
QString CutToShiftJis(const QString& text, int maxBytes);
