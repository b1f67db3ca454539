#pragma once
// Japanese text as the data files measure and keep it: lengths in Shift-JIS
// bytes, cutting to a byte limit, and trimming half- and full-width blanks.

#include <QString>

// Bytes of a text in Shift-JIS: 1 for ASCII and half-width katakana, 2 otherwise.
int ShiftJisLength(const QString& text);
// The longest beginning of whole characters that fits in maxBytes of Shift-JIS.
QString CutToShiftJis(const QString& text, int maxBytes);
// Leading and trailing half-width and full-width blanks removed.
QString TrimBlanks(const QString& text);
