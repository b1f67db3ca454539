#pragma once
// The condition of a search box in a where clause, beside the database layer;
// the patterns and the escaping are platform/SearchPattern.h.

#include <QString>
#include <QStringList>
#include <QVariant>

// The condition of a search box, added to a where clause's conditions (with
// its value to bind) when text is not empty: text found anywhere inside
// column, "*" standing for any text and "?" for any one character, every
// other character taken literally ("%", "_" and quotes are plain;
// platform/SearchPattern.h), the Latin letters A-Z in either case, as users expect of a search
// (the program's connections keep LIKE case-sensitive for everything else).
void AddContainsCondition(QStringList& conditions, QVariantList& binds, const QString& column, const QString& text);
