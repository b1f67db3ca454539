#pragma once
// The product-detail panel's name rule, shared with the detail grid.

#include <QString>

// The product name as a detail line keeps it: leading and trailing blanks
// (half- and full-width) removed, then cut to its longest beginning of whole
// characters that fits in 50 bytes of Shift-JIS.
QString NormalizeProductName(const QString& name);
