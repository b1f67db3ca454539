#include "platform/SearchCondition.h"

#include "platform/Database.h"
#include "platform/SearchPattern.h"

void AddContainsCondition(QStringList& conditions, QVariantList& binds, const QString& column, const QString& text)
{
    if (text.isEmpty()) return;
    // lower() folds A-Z only, on both sides alike.
    conditions << QStringLiteral("lower(%1) like lower(?) escape '\\'").arg(Database::quoteIdent(column));
    binds << QLatin1Char('%') + SearchLikePattern(text) + QLatin1Char('%');
}
