#pragma once
// The customer window on a session over a fresh data folder, and what the
// tests read back: the list on screen and the stored tables.

#include "CustomerSamples.h"
#include "masters/CustomerMaster.h"
#include "masters/FrmCustomer.h"
#include "platform/Database.h"
#include "platform/WorkTableModel.h"
#include "support/RecordingQuotationPort.h"
#include "support/FindControl.h"
#include "support/SessionFixture.h"

#include <QFile>
#include <QPushButton>
#include <QtTest>

// A session for the customer window, with a quotation that records its picks.
struct CustomerWindowFixture : SessionFixture {
    using SessionFixture::SessionFixture;
    // The windows go before the quotation they write into.
    ~CustomerWindowFixture() { session.windows().closeAll(); }
    RecordingQuotationPort quotation;
};

// Opens the customer window as the main window's button does (its load reads the list).
inline FrmCustomer* openCustomerWindow(CustomerWindowFixture& f)
{
    return f.openWindow<FrmCustomer>(QStringLiteral("Frm顧客情報"), f.quotation);
}

// Opens the customer window with the customer link set to the application and its file.
inline FrmCustomer* openLinkedCustomerWindow(CustomerWindowFixture& f, const QString& application, const QString& path)
{
    f.session.設定情報.顧客リンクアプリ = application;
    f.session.設定情報.顧客リンクパス = path;
    return openCustomerWindow(f);
}

// The list on screen: the window's model of w顧客マスタ.
inline WorkTableModel* listModel(const FrmCustomer* w)
{
    return control<WorkTableModel>(*w, "dat顧客");
}

// A column of the list on screen; Null reads <null>.
inline QStringList listColumn(const FrmCustomer* w, int col)
{
    const WorkTableModel* list = listModel(w);
    QStringList out;
    for (int r = 0; r < list->rowCount(); ++r) {
        const QVariant v = list->value(r, col);
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
    for (int r = 0; r < listModel(w)->rowCount(); ++r)
        out << QStringList{columns[0][r], columns[1][r], columns[2][r], columns[3][r]}.join(QLatin1Char('|'));
    return out;
}

inline QStringList customerMaster(SessionFixture& f)
{
    return TableSnapshot(f.data(), {QStringLiteral("顧客マスタ")});
}

inline QStringList customerList(SessionFixture& f)
{
    return TableSnapshot(f.work(), {QStringLiteral("w顧客マスタ")});
}

// Makes an SQLite file of the statements (a link file of a linked application).
inline void makeSqliteFile(const TestFolder& folder, const QString& path, const QStringList& statements)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    folder.prepare(statements, path);
}
