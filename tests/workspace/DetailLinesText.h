#pragma once
// The lines of w明細 as short texts, for tests of the line moves (subtotal
// insertion, line deletion), with and without the window.

#include "platform/Currency.h"
#include "platform/Database.h"
#include "workspace/DetailLines.h"

#include <QSqlRecord>
#include <QStringList>

// Every line of w明細 in table order as "行番号|品名|金額|小計" (NULL shown as "-").
inline QStringList detailLines(Database& work)
{
    QStringList out;
    const auto rows = work.rows(QStringLiteral("select 行番号, 品名, 金額, 小計 from w明細 order by rowid"));
    for (const QSqlRecord& r : rows) {
        const QString name = r.isNull(1) ? QStringLiteral("-") : r.value(1).toString();
        const QString amount = r.isNull(2) ? QStringLiteral("-") : Currency::fromDb(r.value(2))->toPlainString();
        out << QStringLiteral("%1|%2|%3|%4").arg(r.value(0).toString(), name, amount, r.value(3).toString());
    }
    return out;
}

// The expected table: the given "品名|金額|小計" lines from line 1, blank lines
// after them up to the last line.
inline QStringList expectedLines(const QStringList& head)
{
    QStringList out;
    for (int i = 0; i < DetailLine::kLines; ++i)
        out << QStringLiteral("%1|%2").arg(i + 1).arg(i < head.size() ? head[i] : QStringLiteral("-|-|0"));
    return out;
}
