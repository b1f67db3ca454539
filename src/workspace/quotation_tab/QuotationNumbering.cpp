// The quotation keeper's numbering: the number counter, copying a quotation
// as a new one, and a new number when the one on screen was stored behind it.

#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationKeeper.h"

#include "app/Session.h"

#include <QLoggingCategory>
#include <limits>

Q_LOGGING_CATEGORY(lcNumbering, "velt.numbering")

namespace {

// A quotation number handed over as text or number; nothing when it is not a whole number.
std::optional<qlonglong> wholeNumber(const QVariant& v)
{
    if (dbv::isNull(v)) return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

}  // namespace

// The counter 最大見積書番号 of the settings row: "Get" gives the number a new
// quotation takes (the counter plus one, 1 when none is recorded); "Set" raises
// the counter to value and never lowers it. Other items or modes give "".
QVariant QuotationKeeper::Proc管理(const QString& item, const QString& mode, const QVariant& value)
{
    QVariant result = QString();
    if (item != QStringLiteral("最大見積書番号")) return result;

    Database& db = session_.DataDb();
    bool ok = false;
    const auto row =
        db.firstRow(QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"), {}, &ok);
    if (!ok) {
        qCWarning(lcNumbering) << "quotation counter could not be read:" << db.lastError();
        return result;
    }
    const std::optional<qlonglong> number = wholeNumber(value);

    if (row) {
        const std::optional<qlonglong> stored = wholeNumber(row->value(1));
        if (mode == QStringLiteral("Get")) {
            result = stored ? *stored + 1 : 1;
        } else if (mode == QStringLiteral("Set")) {
            // Only a whole number is stored, and only when it raises the counter.
            if (number && (!stored || *stored < *number)) {
                if (!db.exec(QStringLiteral("update 自社情報 set 最大見積書番号 = ? where rowid = ?"),
                             {*number, row->value(0)}))
                    qCWarning(lcNumbering) << "quotation counter could not be written:" << db.lastError();
            }
        }
    } else if (mode == QStringLiteral("Get")) {
        result = 1;  // no settings row: nothing is created
    } else if (number) {
        if (!db.insert(QStringLiteral("自社情報"), {{QStringLiteral("最大見積書番号"), *number}}))
            qCWarning(lcNumbering) << "quotation counter could not be written:" << db.lastError();
    }
    return result;
}

void QuotationKeeper::Tenki見積書()
{
    // The copy is a new quotation under the next number.
    loadedNumber_.reset();
    header_.setNumberText(Proc管理(QStringLiteral("最大見積書番号"), QStringLiteral("Get"), 0).toString());
    header_.focusCustomer();
}

void QuotationKeeper::cmd転記_Click()
{
    Tenki見積書();
}

void QuotationKeeper::forgetLoadedNumber()
{
    loadedNumber_.reset();
}

void QuotationKeeper::renewNumberIfStored()
{
    if (header_.numberBeingTyped()) return;
    const std::optional<int> shown = ParseQuotationNumber(header_.numberText());
    if (!shown || shown == loadedNumber_) return;
    // Stored or not; nothing when the stored quotations cannot be read.
    auto isStored = [this](int number) -> std::optional<bool> {
        bool ok = false;
        Failure error;
        const bool stored = LoadQuotationHeader(session_.DataDb(), number, &ok, &error).has_value();
        if (!ok) {
            qCWarning(lcNumbering) << "quotation" << number << "could not be looked up:" << error;
            return std::nullopt;
        }
        return stored;
    };
    if (isStored(*shown) != true) return;
    const QString counterNext = Proc管理(QStringLiteral("最大見積書番号"), QStringLiteral("Get"), 0).toString();
    for (std::optional<int> next = ParseQuotationNumber(counterNext); next;
         next = *next < std::numeric_limits<int>::max() ? std::optional<int>(*next + 1) : std::nullopt) {
        const std::optional<bool> taken = isStored(*next);
        if (!taken) return;
        if (!*taken) {
            header_.setNumberText(QString::number(*next));
            return;
        }
    }
}
