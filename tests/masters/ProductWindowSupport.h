#pragma once
// The product window over the sample products, on a session of its own or
// opened from the main window, and what the tests read back: the list on
// screen and the stored tables.

#include "ProductSamples.h"
#include "masters/FrmProduct.h"
#include "masters/ProductList.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/RecordingQuotationPort.h"
#include "support/SessionFixture.h"

#include <QPushButton>
#include <QtTest>
#include <functional>
#include <type_traits>

// Opens the product window as the main window's button does, on the session
// alone (its picks go to a recording quotation).
inline FrmProduct* openProductWindow(SessionFixture& f, RecordingQuotationPort& quotation)
{
    return f.openWindow<FrmProduct>(QStringLiteral("Frm商品情報"), quotation);
}

// The sample products with the product window open: on a session of its own
// (Base = SessionFixture), or from the main window's button (Base =
// MainWindowFixture) where a pick reaches the quotation itself.
template <class Base = SessionFixture>
struct ProductWindowFixture {
    // settings: changes to the settings record before the window opens.
    explicit ProductWindowFixture(const std::function<void(SettingsRecord&)>& settings = {})
    {
        f.folder.prepare(samples::kProducts);
        if (!f.open()) return;
        f.session.設定情報.商品表示順 = QStringLiteral("品名順");
        if (settings) settings(f.session.設定情報);
        if constexpr (std::is_same_v<Base, SessionFixture>) {
            w = openProductWindow(f, quotation);
        } else {
            control<QPushButton>(f.quotation(), "cmd商品")->click();
            w = qobject_cast<FrmProduct*>(f.session.windows().find(QStringLiteral("Frm商品情報")));
        }
    }
    // The list on screen: the window's model of w商品マスタ.
    WorkTableModel* model() const { return control<WorkTableModel>(*w, "dat商品"); }
    int rowOf(const QString& name) const
    {
        const WorkTableModel* m = model();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->text(r, ProductColumn::品名) == name) return r;
        return -1;
    }
    QStringList names() const
    {
        const WorkTableModel* m = model();
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r) out << m->text(r, ProductColumn::品名);
        return out;
    }
    QStringList master() { return TableSnapshot(f.data(), {QStringLiteral("商品マスタ")}); }
    QStringList list() { return TableSnapshot(f.work(), {QStringLiteral("w商品マスタ")}); }

    RecordingQuotationPort quotation;  // before f: the window goes first
    Base f;
    FrmProduct* w = nullptr;
};
