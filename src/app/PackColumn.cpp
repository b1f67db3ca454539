#include "app/PackColumn.h"

QString PackColumnCaption(const QString& title)
{
    if (title.isEmpty() || title == QStringLiteral("入数")) return QStringLiteral("入　数");
    if (title == QStringLiteral("規格")) return QStringLiteral("規　格");
    return title;
}
