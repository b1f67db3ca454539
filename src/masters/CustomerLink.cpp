#include "masters/CustomerLink.h"

#include "app/PostalLookup.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"

#include <QHash>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCustomerLink, "velt.customerlink")

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A link value as text; Null (and a column the table lacks) gives "".
QString textOf(const LinkRow& row, const QString& column)
{
    return dbv::text(row.value(column));
}

// The customer block of a Moxel or Halvo row.
QString composedBlock(const LinkRow& row, CustomerLinkFormat format)
{
    QString block;
    if (const QString code = textOf(row, QStringLiteral("郵便番号")); !code.isEmpty())
        block += QStringLiteral("〒") + FormatPostalCode(code) + kCrLf;
    for (const char16_t* line : {u"住所1", u"住所2"}) {
        if (const QString text = textOf(row, QString::fromUtf16(line)); !text.isEmpty()) block += text + kCrLf;
    }
    if (format == CustomerLinkFormat::Halvo) return block;
    const QString tel = textOf(row, format == CustomerLinkFormat::Moxel ? QStringLiteral("tel") : QStringLiteral("tel1"));
    if (!tel.isEmpty()) block += QStringLiteral("TEL ") + tel;
    if (const QString fax = textOf(row, QStringLiteral("fax")); !fax.isEmpty()) block += QStringLiteral(" FAX ") + fax;
    return block;
}

// Halvo: each customer's block gets its main telephone number, the first row
// of 電話番号 for its 名称 by code, then no. When the telephone numbers cannot
// be read (no such table, a column to match or to add missing, a damaged
// table) the customers come without them and the import goes on.
void addMainTelephones(LinkFile& link, QList<CustomerRow>& customers)
{
    const QString table = QStringLiteral("電話番号");
    if (!link.hasTable(table)) {
        qCInfo(lcCustomerLink) << "no telephone numbers to add: the file has no table 電話番号";
        return;
    }
    const std::optional<QStringList> columns = link.columns(table);
    const auto has = [&](const QString& c) { return columns && columns->contains(c, Qt::CaseInsensitive); };
    if (!has(QStringLiteral("名称")) || !has(QStringLiteral("電話番号"))) {
        qCInfo(lcCustomerLink).noquote() << "no telephone numbers to add:"
                                         << (columns ? QStringLiteral("a column is missing") : link.errorText());
        return;
    }
    QStringList order;
    for (const QString& c : {QStringLiteral("code"), QStringLiteral("no")})
        if (has(c)) order << c;
    const std::optional<LinkTable> phones = link.rows(table, order);
    if (!phones) {
        qCWarning(lcCustomerLink).noquote() << "telephone numbers not read:" << link.errorText();
        return;
    }

    QHash<QString, QString> mainNumber;
    for (const LinkRow& r : phones->rows) {
        const QString name = textOf(r, QStringLiteral("名称"));
        if (!name.isEmpty() && !mainNumber.contains(name)) mainNumber.insert(name, textOf(r, QStringLiteral("電話番号")));
    }
    for (CustomerRow& c : customers) {
        const QString number = mainNumber.value(dbv::text(c.顧客名));
        if (number.isEmpty()) continue;
        c.顧客情報 = dbv::text(c.顧客情報) + QStringLiteral("TEL ") + number + kCrLf;
    }
}

}  // namespace

CustomerLinkFormat CustomerLinkFormatOf(const QString& application)
{
    if (application == u"Dovan請求書" || application == u"Tesra納品書") return CustomerLinkFormat::Plain;
    if (application == u"Moxel顧客管理") return CustomerLinkFormat::Moxel;
    if (application == u"MoxelⅡ顧客管理") return CustomerLinkFormat::Moxel2;
    if (application == u"Halvo顧客管理") return CustomerLinkFormat::Halvo;
    return CustomerLinkFormat::None;
}

std::optional<QList<CustomerRow>> ReadLinkedCustomers(LinkFile& link, CustomerLinkFormat format, Failure* error)
{
    if (format == CustomerLinkFormat::None) return QList<CustomerRow>{};
    const std::optional<LinkTable> table = link.rows(QStringLiteral("顧客マスタ"), {QStringLiteral("ふりがな")});
    if (!table) {
        if (error) *error = link.failure();
        return std::nullopt;
    }
    QList<CustomerRow> customers;
    customers.reserve(table->rows.size());
    for (const LinkRow& r : table->rows) {
        CustomerRow c;
        if (format == CustomerLinkFormat::Plain) {
            c.顧客名 = dbv::textOrNull(textOf(r, QStringLiteral("顧客名")));
            c.顧客情報 = dbv::textOrNull(textOf(r, QStringLiteral("顧客情報")));
        } else {
            c.顧客名 = dbv::textOrNull(textOf(r, QStringLiteral("名称")));
            c.顧客情報 = dbv::textOrNull(composedBlock(r, format));
        }
        c.ふりがな = dbv::textOrNull(textOf(r, QStringLiteral("ふりがな")));
        c.敬称 = dbv::textOrNull(textOf(r, QStringLiteral("敬称")));
        customers.append(c);
    }
    if (format == CustomerLinkFormat::Halvo) addMainTelephones(link, customers);
    return customers;
}
