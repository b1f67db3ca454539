#include "masters/ProductLink.h"

#include "app/CodeLists.h"
#include "app/ProductMaster.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"

#include <optional>

namespace {

const QString kTable = QStringLiteral("商品マスタ");

// A link yes/no value as 0/1 (Jet keeps yes as -1); Null stays Null;
// nothing for a value that is no yes/no.
std::optional<QVariant> yesNoValue(const QVariant& v)
{
    if (dbv::isNull(v)) return QVariant();
    if (v.typeId() == QMetaType::Bool) return dbv::fromBool(v.toBool());
    bool ok = false;
    const double n = v.toString().toDouble(&ok);
    if (!ok) return std::nullopt;
    return dbv::fromBool(n != 0);
}

Failure badValue(const QString& column, const QVariant& v)
{
    return Failure(QStringLiteral("テーブル「%1」の列「%2」の値「%3」を読み込めません。").arg(kTable, column, v.toString()));
}

}  // namespace

QStringList ProductLinkColumns(const QString& application)
{
    if (application == u"Dovan請求書" || application == u"Tesra請求書" || application == u"Tesra納品書")
        return {QStringLiteral("品名"), QStringLiteral("入数"), QStringLiteral("単位"), QStringLiteral("単価"),
                QStringLiteral("非課税"), QStringLiteral("ふりがな")};
    if (application == u"Grevo請求書")
        return {QStringLiteral("品名"), QStringLiteral("単位"), QStringLiteral("単価"), QStringLiteral("非課税"),
                QStringLiteral("ふりがな")};
    return {};
}

ProductLinkResult ImportProductLink(const QString& path, const QStringList& columns, Database& work)
{
    ProductLinkResult result;
    LinkFile link;
    if (!link.open(path)) {
        result.error = link.failure();
        return result;
    }
    const std::optional<LinkTable> table = link.rows(kTable, {QStringLiteral("ふりがな")});
    if (!table) {
        result.error = link.failure();
        return result;
    }
    for (const QString& c : columns) {
        if (!table->hasColumn(c)) {
            result.error = Failure(QStringLiteral("テーブル「%1」に列「%2」がありません。").arg(table->name, c));
            return result;
        }
    }
    const bool withPack = columns.contains(QStringLiteral("入数"));

    // Every row converted before the list is touched.
    QList<QVariantList> rows;
    rows.reserve(table->rows.size());
    for (const LinkRow& r : table->rows) {
        const QVariant price = r.value(QStringLiteral("単価"));
        const std::optional<Currency> amount = LinkFile::toCurrency(price);
        if (!dbv::isNull(price) && !amount) {
            result.error = badValue(QStringLiteral("単価"), price);
            return result;
        }
        const QVariant flag = r.value(QStringLiteral("非課税"));
        const std::optional<QVariant> taxFree = yesNoValue(flag);
        if (!taxFree) {
            result.error = badValue(QStringLiteral("非課税"), flag);
            return result;
        }
        rows.append({dbv::textOrNull(ProductMasterName(dbv::text(r.value(QStringLiteral("品名"))))),
                     withPack ? dbv::textOrNull(r.value(QStringLiteral("入数"))) : QVariant(),
                     dbv::textOrNull(r.value(QStringLiteral("単位"))), Currency::toDb(amount), *taxFree,
                     dbv::textOrNull(r.value(QStringLiteral("ふりがな")))});
    }

    result.ok = ReplaceWorkRows(work, QStringLiteral("w商品マスタ"),
                                {QStringLiteral("品名"), QStringLiteral("入数"), QStringLiteral("単位"),
                                 QStringLiteral("単価"), QStringLiteral("非課税"), QStringLiteral("ふりがな")},
                                rows, &result.error);
    if (result.ok) result.rows = static_cast<int>(rows.size());
    return result;
}
