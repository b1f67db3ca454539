#include "app/PrintSettings.h"

#include "app/Session.h"

#include <QLoggingCategory>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

Q_LOGGING_CATEGORY(lcPrintSettings, "velt.printsettings")

namespace {

using E = PrintSettingsEntry;
using Setter = std::function<void(E&, const QVariant&)>;

Setter text(QString E::*m, const QString& whenNull = {})
{
    return [m, whenNull](E& e, const QVariant& v) { e.*m = dbv::isNull(v) ? whenNull : v.toString(); };
}

// Numbers are stored as a number or as text (font sizes as the size text "10.5").
double numberOf(const QVariant& v)
{
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? d : 0;
}

// A whole number held to the range of int: a stored value beyond it (or "nan")
// must not overflow the member.
int wholeOf(const QVariant& v)
{
    const double d = numberOf(v);
    if (!std::isfinite(d)) return 0;
    return static_cast<int>(std::clamp(d, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

Setter whole(int E::*m, int whenNull)
{
    return [m, whenNull](E& e, const QVariant& v) { e.*m = dbv::isNull(v) ? whenNull : wholeOf(v); };
}

Setter size(double E::*m, double whenNull)
{
    return [m, whenNull](E& e, const QVariant& v) { e.*m = dbv::isNull(v) ? whenNull : numberOf(v); };
}

Setter yesNo(bool E::*m, bool whenNull)
{
    return [m, whenNull](E& e, const QVariant& v) { e.*m = dbv::isNull(v) ? whenNull : dbv::toBool(v); };
}

struct Field {
    const char16_t* column;
    Setter set;
};

// The columns in the order they are taken, with each member's value for Null.
const QList<Field>& fields()
{
    static const QList<Field> list{
        {u"型番", text(&E::型番)},
        {u"タイトル1", text(&E::タイトル1)},
        {u"タイトル2", text(&E::タイトル2)},
        {u"タイトル3", text(&E::タイトル3)},
        {u"顧客名フォント", text(&E::顧客名フォント)},
        {u"顧客名サイズ", size(&E::顧客名サイズ, 12)},
        {u"顧客名太字", yesNo(&E::顧客名太字, false)},
        {u"顧客情報フォント", text(&E::顧客情報フォント)},
        {u"顧客情報サイズ", size(&E::顧客情報サイズ, 11)},
        {u"自社名フォント", text(&E::自社名フォント)},
        {u"自社名サイズ", size(&E::自社名サイズ, 12)},
        {u"自社名太字", yesNo(&E::自社名太字, false)},
        {u"自社情報フォント", text(&E::自社情報フォント)},
        {u"自社情報サイズ", size(&E::自社情報サイズ, 11)},
        {u"LM", whole(&E::LM, 0)},
        {u"TM", whole(&E::TM, 0)},
        {u"TM1", whole(&E::TM1, 0)},
        {u"TM2", whole(&E::TM2, 0)},
        {u"TM3", whole(&E::TM3, 0)},
        {u"T1", whole(&E::T1, 0)},
        {u"T2", whole(&E::T2, 0)},
        {u"T3", whole(&E::T3, 0)},
        {u"白紙罫線色", whole(&E::白紙罫線色, 0)},
        {u"自社名位置", text(&E::自社名位置, QStringLiteral("上"))},
        {u"自社情報印刷", yesNo(&E::自社情報印刷, true)},
        {u"領収書自社名フォント", text(&E::領収書自社名フォント)},
        {u"領収書自社名サイズ", size(&E::領収書自社名サイズ, 14)},
        {u"領収書自社情報フォント", text(&E::領収書自社情報フォント)},
        {u"領収書自社情報サイズ", size(&E::領収書自社情報サイズ, 11)},
        {u"領収書顧客名フォント", text(&E::領収書顧客名フォント)},
        {u"領収書顧客名サイズ", size(&E::領収書顧客名サイズ, 14)},
        {u"領収書金額フォント", text(&E::領収書金額フォント)},
        {u"領収書金額サイズ", size(&E::領収書金額サイズ, 20)},
    };
    return list;
}

}  // namespace

int ReadPrintSettings(Database& dataDb, PrintSettingsTable& table, const QString& code)
{
    int n = 0;
    for (int i = 1; i <= 2; ++i) {
        if (table[i].isFree() || table[i].型番 == code) {
            n = i;
            break;
        }
    }
    if (n == 0) return 0;

    bool ok = false;
    const auto row = dataDb.firstRow(QStringLiteral("SELECT * FROM 印刷情報 WHERE 型番 = ? ORDER BY rowid"), {code}, &ok);
    if (!ok) qCWarning(lcPrintSettings) << "print settings of" << code << "not read:" << dataDb.lastError();
    if (!row) return n;  // no row: the entry keeps what it held

    PrintSettingsEntry& entry = table[n];
    for (const Field& f : fields()) {
        const QString column = QString::fromUtf16(f.column);
        const int i = row->indexOf(column);
        if (i < 0) {
            // A missing column leaves its member as it was.
            qCWarning(lcPrintSettings) << "印刷情報 has no column" << column;
            continue;
        }
        f.set(entry, row->value(i));
    }
    return n;
}

QString ReadFormHelpText(Database& workDb, const QString& kind, const QString& key)
{
    if (kind != QStringLiteral("印刷設定")) return {};
    bool ok = false;
    const auto row = workDb.firstRow(QStringLiteral("SELECT 内容 FROM 専用伝票HELP WHERE 型番 = ? ORDER BY rowid"), {key}, &ok);
    if (!ok) qCWarning(lcPrintSettings) << "help text of" << key << "not read:" << workDb.lastError();
    if (!row) return {};
    return dbv::text(row->value(0));
}
