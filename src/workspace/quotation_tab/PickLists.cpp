// The lists the quotation tab's parts pick from.

#include "workspace/quotation_tab/PickLists.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"

#include "app/CodeLists.h"
#include "app/Session.h"
#include "workspace/TabLinks.h"

#include <QLoggingCategory>
#include <functional>
#include <optional>

Q_LOGGING_CATEGORY(lcPickLists, "velt.quotation")

PickLists::PickLists(Session& session, HeaderPanel& header, DetailGrid& grid, ProductDetailPanel& productPanel,
                     HistoryList& history)
    : session_(session), header_(header), grid_(grid), productPanel_(productPanel), history_(history)
{
}

void PickLists::Readコード表(const QString& kind)
{
    const QString all = QStringLiteral("すべて");
    const QString packKind = PackCodeKind(session_.設定情報);

    auto panelList = [this](ProductDetailPanel::CodeList list) {
        return [this, list](const QStringList& entries) { productPanel_.setCodeList(list, entries); };
    };
    auto headerList = [this](HeaderPanel::CodeList list) {
        return [this, list](const QStringList& entries) { header_.setCodeList(list, entries); };
    };
    struct Section {
        QString kcode;
        QString table;  // empty: a header list without work table
        std::function<void(const QStringList&)> setList;
        std::optional<DetailGrid::CodeList> gridList;  // the grid's drop-down over the table
    };
    const Section sections[] = {
        {QStringLiteral("単位"), QStringLiteral("w単位参照"), panelList(ProductDetailPanel::CodeList::Unit),
         DetailGrid::CodeList::Unit},
        {QStringLiteral("商品区分"), QStringLiteral("w商品区分参照"), panelList(ProductDetailPanel::CodeList::Category),
         DetailGrid::CodeList::Category},
        {packKind, QStringLiteral("w入数参照"), panelList(ProductDetailPanel::CodeList::Pack),
         DetailGrid::CodeList::Pack},
        {QStringLiteral("有効期限"), QString(), headerList(HeaderPanel::CodeList::Validity), std::nullopt},
        {QStringLiteral("支払条件"), QString(), headerList(HeaderPanel::CodeList::Payment), std::nullopt},
        {QStringLiteral("受渡場所"), QString(), headerList(HeaderPanel::CodeList::Delivery), std::nullopt},
        {QStringLiteral("納期"), QString(), headerList(HeaderPanel::CodeList::DeliveryDate), std::nullopt},
    };
    for (const Section& s : sections) {
        if (kind != s.kcode && kind != all) continue;
        const QStringList entries = s.table.isEmpty()
                                        ? ReadCodeEntries(session_.DataDb(), s.kcode)
                                        : RebuildReferenceTable(session_.DataDb(), session_.WorkDb(), s.kcode, s.table);
        // The list is replaced; a text already typed into the box stays.
        s.setList(entries);
        if (s.gridList) grid_.refreshCodeList(*s.gridList);
    }
}

void PickLists::AddCmb顧客名()
{
    bool ok = false;
    const QList<QSqlRecord> rows =
        session_.DataDb().rows(QStringLiteral("select 顧客名 from 顧客マスタ order by ふりがな collate japanese"), {}, &ok);
    if (!ok) qCWarning(lcPickLists) << "customers could not be read:" << session_.DataDb().lastError();
    // No customer at all: both lists stay as they were.
    if (rows.isEmpty()) return;
    QStringList names;
    names.reserve(rows.size());
    for (const QSqlRecord& r : rows)
        if (!dbv::isNull(r.value(0))) names.append(r.value(0).toString());
    header_.setCustomerNames(names);
    history_.setCustomerNames(names);
}
