#pragma once
// Display formats of number boxes and grid columns, in the notation the settings and
// window designs use:
// "#,###" (grouping, no decimals), "Standard" (grouping, two decimals),
// "###,###", "##,###,###", "####0", "#########", "#,##0.00" ...
// Zero shows as "0" (a blank cell would read as "no value").

#include "platform/Currency.h"

#include <QString>

namespace NumberFormat {
QString format(const Currency& value, const QString& pattern);
int decimalsOf(const QString& pattern);
}  // namespace NumberFormat
