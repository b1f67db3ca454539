#pragma once
// The customer window opened from a main window over a fresh data folder, and
// what the tests read back: the list on screen and the stored tables.

#include "masters/CustomerMaster.h"
#include "masters/FrmCustomer.h"
#include "platform/Database.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

// Opens the customer window with the main window's button (its load reads the list).
inline FrmCustomer* openCustomerWindow(MainWindowFixture& f)
{
    control<QPushButton>(f.quotation(), "cmd顧客マスタ")->click();
    return qobject_cast<FrmCustomer*>(f.session.windows().find(QStringLiteral("Frm顧客情報")));
}

// A column of the list on screen; Null reads <null>.
inline QStringList listColumn(const FrmCustomer* w, int col)
{
    QStringList out;
    for (int r = 0; r < w->dat顧客->rowCount(); ++r) {
        const QVariant v = w->dat顧客->value(r, col);
        out << (dbv::isNull(v) ? QStringLiteral("<null>") : v.toString());
    }
    return out;
}

// The list rows as "顧客名|顧客情報|ふりがな|敬称", Null as <null>.
inline QStringList listRows(const FrmCustomer* w)
{
    using namespace CustomerListColumn;
    QStringList out;
    const QList<QStringList> columns{listColumn(w, 顧客名), listColumn(w, 顧客情報), listColumn(w, ふりがな), listColumn(w, 敬称)};
    for (int r = 0; r < w->dat顧客->rowCount(); ++r)
        out << QStringList{columns[0][r], columns[1][r], columns[2][r], columns[3][r]}.join(QLatin1Char('|'));
    return out;
}

inline QStringList customerMaster(MainWindowFixture& f)
{
    return TableSnapshot(f.data(), {QStringLiteral("顧客マスタ")});
}

inline QStringList customerList(MainWindowFixture& f)
{
    return TableSnapshot(f.work(), {QStringLiteral("w顧客マスタ")});
}

// Adds customers (name, block, reading, honorific; "<null>" for Null) to the data file.
inline bool addCustomers(Database& data, const QList<QStringList>& rows)
{
    for (const QStringList& r : rows) {
        Fields values;
        const QStringList columns{QStringLiteral("顧客名"), QStringLiteral("顧客情報"), QStringLiteral("ふりがな"), QStringLiteral("敬称")};
        for (int i = 0; i < columns.size(); ++i) {
            const QString v = r.value(i, QStringLiteral("<null>"));
            values.append({columns[i], v == u"<null>" ? QVariant() : QVariant(v)});
        }
        if (!data.insert(QStringLiteral("顧客マスタ"), values)) return false;
    }
    return true;
}

// Makes an SQLite file of the statements (a link file of a linked application).
inline void makeSqliteFile(const TestFolder& folder, const QString& path, const QStringList& statements)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    folder.prepare(statements, path);
}
