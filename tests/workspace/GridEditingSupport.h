#pragma once
// What the detail-grid tests share: the quotation tab opened with nothing
// typed, lines written into w明細 and read back as stored and as shown.

#include "app/QuotationPort.h"
#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/QuotationLines.h"
#include "support/TabFixtures.h"
#include "workspace/DetailLines.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace DetailLine;

inline const char* const kFields[] = {"行番号", "品名", "商品区分", "入数", "数量", "単位", "単価", "金額", "非課税", "ふりがな", "小計"};

// A stored cell of w明細 as text: "NULL", money and 数量 as plain decimals.
inline QString stored(QuotationTabFixture& f, int line, int col)
{
    const QVariant v = f.work().scalar(
        QStringLiteral("select %1 from w明細 where 行番号 = ?").arg(Database::quoteIdent(QString::fromUtf8(kFields[col]))),
        {line});
    if (dbv::isNull(v)) return QStringLiteral("NULL");
    if (col == 数量 || col == 単価 || col == 金額) return Currency::fromDb(v)->toPlainString();
    return v.toString();
}

inline QStringList table(QuotationTabFixture& f)
{
    QStringList rows;
    for (const QSqlRecord& r : f.work().rows(QStringLiteral("select * from w明細 order by rowid"))) {
        QStringList cells;
        for (int c = 0; c < r.count(); ++c) cells << (r.isNull(c) ? QStringLiteral("NULL") : r.value(c).toString());
        rows << cells.join(u'|');
    }
    return rows;
}

inline QVariant money(const char* text)
{
    return QVariant::fromValue(*Currency::parse(QString::fromUtf8(text)));
}

// Sets line `line` (1-based) from "field=value" pairs; money fields take decimals.
inline void setLine(QuotationTabFixture& f, int line, const QString& spec)
{
    QList<std::pair<int, QVariant>> values;
    for (const QString& pair : spec.split(u';', Qt::SkipEmptyParts)) {
        const QString field = pair.section(u'=', 0, 0);
        const QString value = pair.section(u'=', 1);
        const int col = control<WorkTableModel>(f.quotation(), "wkDat")->columnOf(field);
        QVERIFY2(col >= 0, qPrintable(field));
        if (col == 数量 || col == 単価 || col == 金額)
            values.append({col, money(value.toUtf8().constData())});
        else if (col == 非課税 || col == 小計)
            values.append({col, value == u"1"});
        else
            values.append({col, value});
    }
    QVERIFY(control<WorkTableModel>(f.quotation(), "wkDat")->setValues(line - 1, values));
}

// The cells 数量|単価|金額 of line row (0-based) as the grid shows them; a
// cell whose value is not the one it shows reads "shown≠kept".
inline QString shownLine(QuotationTabFixture& f, int row)
{
    WorkTableModel* m = control<WorkTableModel>(f.quotation(), "wkDat");
    QStringList out;
    for (int c : {数量, 単価, 金額}) {
        const QString shown = m->text(row, c);
        const std::optional<Currency> kept = m->money(row, c);
        const std::optional<Currency> read = shown.isEmpty() ? std::nullopt : Currency::parse(shown);
        out << (read != kept ? shown + u'≠' + (kept ? kept->toPlainString() : QString())
                             : kept ? kept->toPlainString() : QString());
    }
    return out.join(u'|');
}


// Opens the tab with nothing typed yet and no box shown.
inline bool load(QuotationTabFixture& f)
{
    if (!f.open()) return false;
    control<DetailGrid>(f.quotation(), "DetailGrid")->setDetailsChanged(std::nullopt);
    f.messages.clear();
    return true;
}
