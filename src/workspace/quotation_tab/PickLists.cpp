// The pick lists of the quotation tab, copied from the product master and the code lists.

#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/quotation_tab/ProductDetailPanel.h"

#include "app/CodeLists.h"
#include "app/ProductMaster.h"
#include "app/Session.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPickLists, "velt.picklists")

void QuotationTab::SetDD品名()
{
    const QStringList columns{QStringLiteral("品名"), QStringLiteral("商品区分"), QStringLiteral("入数"),
                              QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税"),
                              QStringLiteral("ふりがな")};
    const QString order = ProductListOrderBy(session_.設定情報.商品表示順);
    bool ok = false;
    const QList<QSqlRecord> products = session_.DataDb.rows(
        QStringLiteral("select 品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ "
                       "where 品名 is not null") + order,
        {}, &ok);
    if (!ok) qCWarning(lcPickLists) << "products could not be read:" << session_.DataDb.lastError();
    QList<QVariantList> rows;
    rows.reserve(products.size());
    for (const QSqlRecord& r : products) {
        QVariantList values;
        for (int c = 0; c < columns.size(); ++c) values.append(r.value(c));
        rows.append(values);
    }
    ReplaceWorkRows(session_.WorkDb, QStringLiteral("w商品参照"), columns, rows);
    if (dat商品参照) dat商品参照->refresh();
}

void QuotationTab::Readコード表(const QString& kind)
{
    const QString all = QStringLiteral("すべて");
    const QString packKind = PackCodeKind(session_.設定情報);

    auto panelList = [this](ProductDetailPanel::CodeList list) {
        return [this, list](const QStringList& entries) { productPanel_->setCodeList(list, entries); };
    };
    auto headerList = [this](HeaderPanel::CodeList list) {
        return [this, list](const QStringList& entries) { header_->setCodeList(list, entries); };
    };
    struct Section {
        QString kcode;
        QString table;  // empty: a header list without work table
        std::function<void(const QStringList&)> setList;
        WorkTableModel* model;
    };
    const Section sections[] = {
        {QStringLiteral("単位"), QStringLiteral("w単位参照"), panelList(ProductDetailPanel::CodeList::Unit), dat単位参照},
        {QStringLiteral("商品区分"), QStringLiteral("w商品区分参照"), panelList(ProductDetailPanel::CodeList::Category),
         dat商品区分},
        {packKind, QStringLiteral("w入数参照"), panelList(ProductDetailPanel::CodeList::Pack), dat入数参照},
        {QStringLiteral("有効期限"), QString(), headerList(HeaderPanel::CodeList::Validity), nullptr},
        {QStringLiteral("支払条件"), QString(), headerList(HeaderPanel::CodeList::Payment), nullptr},
        {QStringLiteral("受渡場所"), QString(), headerList(HeaderPanel::CodeList::Delivery), nullptr},
        {QStringLiteral("納期"), QString(), headerList(HeaderPanel::CodeList::DeliveryDate), nullptr},
    };
    for (const Section& s : sections) {
        if (kind != s.kcode && kind != all) continue;
        const QStringList entries = s.table.isEmpty()
                                        ? ReadCodeEntries(session_.DataDb, s.kcode)
                                        : RebuildReferenceTable(session_.DataDb, session_.WorkDb, s.kcode, s.table);
        // The list is replaced; a text already typed into the box stays.
        s.setList(entries);
        if (s.model) s.model->refresh();
    }
}
