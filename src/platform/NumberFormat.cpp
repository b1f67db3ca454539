#include "platform/NumberFormat.h"

namespace NumberFormat {

int decimalsOf(const QString& pattern)
{
    if (pattern.compare(QStringLiteral("Standard"), Qt::CaseInsensitive) == 0) return 2;
    if (pattern.compare(QStringLiteral("Currency"), Qt::CaseInsensitive) == 0) return 0;
    const int dot = pattern.indexOf('.');
    if (dot < 0) return 0;
    int n = 0;
    for (int i = dot + 1; i < pattern.size() && (pattern[i] == '0' || pattern[i] == '#'); ++i) ++n;
    return n;
}

QString format(const Currency& value, const QString& pattern)
{
    const bool standard = pattern.compare(QStringLiteral("Standard"), Qt::CaseInsensitive) == 0;
    const bool grouping = standard || pattern.contains(',');
    return value.toString(decimalsOf(pattern), grouping);
}

}  // namespace NumberFormat
