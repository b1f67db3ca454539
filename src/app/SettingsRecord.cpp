// The settings row 自社情報 read into the settings record.

#include "app/SettingsRecord.h"

#include "platform/Database.h"

#include <QLoggingCategory>
#include <QSqlRecord>

Q_LOGGING_CATEGORY(lcSettings, "velt.settings")

void ClearSettingsRecord(SettingsRecord& r)
{
    r.税計算 = true;
    r.小数 = u"しない"_qs;
    r.年号 = u"和暦"_qs;
    r.行端数 = u"四捨五入"_qs;
    r.印刷用紙 = u"A4白紙"_qs;
    r.税区分 = u"外税"_qs;
}

SettingsRowRead ReadSettingsRow(Database& data, SettingsRecord& r)
{
    SettingsRowRead read;
    bool ok = false;
    const std::optional<QSqlRecord> row = data.firstRow(QStringLiteral("SELECT * FROM 自社情報 ORDER BY rowid LIMIT 1"), {}, &ok);
    if (!ok) {
        // A missing or damaged table: the load goes on with what the record holds.
        qCWarning(lcSettings) << "settings row not read:" << data.lastError();
        return read;
    }
    if (!row) {
        r.自社名.clear();
        r.自社情報.clear();
        r.年号 = u"和暦"_qs;
        r.税端数 = u"四捨五入"_qs;
        r.税区分 = u"内税"_qs;
        r.印刷用紙 = u"A4白紙"_qs;
        r.小数 = u"しない"_qs;
        r.行端数 = u"四捨五入"_qs;
        r.税計算 = true;
        r.入数列タイトル = u"入数"_qs;
        r.商品表示順 = u"品名順"_qs;
        return read;
    }
    read.found = true;

    auto field = [&](const QString& name) { return row->value(name); };
    // A text field: the stored value, or the field's value for Null.
    auto text = [&](const QString& name, const QString& whenNull) {
        const QVariant v = field(name);
        return dbv::isNull(v) ? whenNull : v.toString();
    };
    // A yes/no field: Null counts as ticked.
    auto flag = [&](const QString& name) {
        const QVariant v = field(name);
        return dbv::isNull(v) ? true : dbv::toBool(v);
    };

    r.自社名 = text(u"自社名"_qs, {});
    r.自社情報 = text(u"自社情報"_qs, {});
    r.年号 = text(u"年号"_qs, u"和暦"_qs);
    r.税端数 = text(u"税端数"_qs, u"四捨五入"_qs);
    r.税区分 = text(u"税区分"_qs, u"内税"_qs);
    r.印刷用紙 = text(u"印刷用紙"_qs, u"A4白紙"_qs);
    r.小数 = text(u"小数"_qs, u"しない"_qs);
    r.行端数 = text(u"行端数"_qs, u"四捨五入"_qs);
    read.lineRoundingNull = dbv::isNull(field(u"行端数"_qs));
    r.顧客リンクアプリ = text(u"顧客リンクアプリ"_qs, {});
    r.顧客リンクパス = text(u"顧客リンクパス"_qs, {});
    r.商品リンクアプリ = text(u"商品リンクアプリ"_qs, {});
    r.商品リンクパス = text(u"商品リンクパス"_qs, {});
    r.税計算 = flag(u"税計算"_qs);
    r.商品登録 = flag(u"商品登録"_qs);
    r.商品区分登録 = flag(u"商品区分登録"_qs);
    r.単位登録 = flag(u"単位登録"_qs);
    r.入数登録 = flag(u"入数登録"_qs);
    r.有効期限登録 = flag(u"有効期限登録"_qs);
    r.支払条件登録 = flag(u"支払条件登録"_qs);
    r.受渡場所登録 = flag(u"受渡場所登録"_qs);
    r.納期登録 = flag(u"納期登録"_qs);
    r.商品表示順 = text(u"商品表示順"_qs, u"品名順"_qs);
    r.入数列タイトル = text(u"入数列タイトル"_qs, u"入数"_qs);
    QString* seals[] = {&r.印鑑タイトル1, &r.印鑑タイトル2, &r.印鑑タイトル3, &r.印鑑タイトル4};
    for (int i = 0; i < 4; ++i) *seals[i] = text(QStringLiteral("印鑑タイトル%1").arg(i + 1), {});
    return read;
}
