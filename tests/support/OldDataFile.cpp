#include "support/OldDataFile.h"

#include "platform/Currency.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtDebug>
#include <QDateTime>
#include <algorithm>

QStringList OldDataFile::schema()
{
    return {
        QStringLiteral("create table 自社情報 (自社名 TEXT, 自社情報 MEMO, 年号 TEXT, 税区分 TEXT, 税端数 TEXT, 行端数 TEXT, "
                       "最大見積書番号 LONG, 税計算 YESNO, 印刷用紙 TEXT, 商品リンクアプリ TEXT, 商品リンクパス TEXT, "
                       "顧客リンクアプリ TEXT, 顧客リンクパス TEXT, 郵便番号辞書パス TEXT, YubinDataPath TEXT, "
                       "YubinLocalEria TEXT, YubinLocalEriaSw LONG, 商品表示順 TEXT, 入数列タイトル TEXT)"),
        QStringLiteral("create table 顧客マスタ (顧客名 TEXT, 顧客情報 MEMO, ふりがな TEXT, 敬称 TEXT)"),
        QStringLiteral("create table 商品マスタ (品名 TEXT, 商品区分 TEXT, 入数 TEXT, 単位 TEXT, 単価 CURRENCY, "
                       "非課税 YESNO, ふりがな TEXT)"),
        QStringLiteral("create table コードマスタ (kcode TEXT, code TEXT, sname TEXT)"),
        QStringLiteral("create table 見積書ヘッダ (伝票番号 LONG, 顧客名 TEXT, 日付 DATETIME, 消費税 CURRENCY, "
                       "税抜計 CURRENCY, 合計 CURRENCY, 見積金額 CURRENCY, 敬称 TEXT, 済 YESNO, 顧客情報 MEMO, "
                       "件名 TEXT, 受渡場所 TEXT, 支払条件 TEXT, 有効期限 TEXT, 納期 TEXT, 印鑑1 TEXT, 印鑑2 TEXT, "
                       "印鑑3 TEXT, 印鑑4 TEXT, メモ MEMO)"),
        QStringLiteral("create table 見積書 (顧客名 TEXT, 日付 DATETIME, 伝票番号 LONG, 伝票区分 LONG, 行番号 LONG, "
                       "品名 TEXT, 商品区分 TEXT, 入数 TEXT, 単位 TEXT, 数量 DOUBLE, 単価 CURRENCY, 金額 CURRENCY, "
                       "非課税 YESNO, ふりがな TEXT, 小計 YESNO, 備考 TEXT)"),
    };
}

bool OldDataFile::create(const QString& path, const QStringList& statements, bool withSchema)
{
    static int counter = 0;
    const QString name = QStringLiteral("old-data-file-%1").arg(++counter);
    QFile::remove(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (ok) {
            QSqlQuery q(db);
            ok = db.transaction();
            const QStringList all = withSchema ? schema() + statements : statements;
            for (const QString& s : all) {
                if (q.exec(s)) continue;
                qWarning().noquote() << s << q.lastError().text();
                ok = false;
            }
            ok = db.commit() && ok;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

namespace {

jet::Kind jetKind(const QString& declared)
{
    static const QHash<QString, jet::Kind> kinds{
        {QStringLiteral("TEXT"), jet::Kind::Text},         {QStringLiteral("MEMO"), jet::Kind::Memo},
        {QStringLiteral("LONG"), jet::Kind::Long},         {QStringLiteral("DOUBLE"), jet::Kind::Double},
        {QStringLiteral("CURRENCY"), jet::Kind::Currency}, {QStringLiteral("YESNO"), jet::Kind::YesNo},
        {QStringLiteral("DATETIME"), jet::Kind::DateTime},
    };
    return kinds.value(declared, jet::Kind::Text);
}

}  // namespace

QList<jet::Table> OldDataFile::jetTables()
{
    // Read off schema(): "create table <name> (<column> <KIND>, ...)".
    QList<jet::Table> tables;
    for (const QString& statement : schema()) {
        const qsizetype open = statement.indexOf(QLatin1Char('('));
        jet::Table t;
        t.name = statement.mid(13, open - 13).trimmed();
        const QString body = statement.mid(open + 1, statement.lastIndexOf(QLatin1Char(')')) - open - 1);
        for (const QString& column : body.split(QLatin1Char(','))) {
            const QStringList parts = column.trimmed().split(QLatin1Char(' '));
            t.columns.append({parts.value(0), jetKind(parts.value(1))});
        }
        tables.append(t);
    }
    return tables;
}

QVariantList OldDataFile::jetRow(const jet::Table& table, const QVariantHash& values)
{
    QVariantList row;
    for (const jet::Column& c : table.columns) row.append(values.value(c.name));
    for (auto it = values.begin(); it != values.end(); ++it) {
        const bool known = std::any_of(table.columns.begin(), table.columns.end(),
                                       [&](const jet::Column& c) { return c.name == it.key(); });
        if (!known) qWarning().noquote() << table.name << "has no column" << it.key();
    }
    return row;
}

bool OldDataFile::createJet3(const QString& path, const QList<jet::Table>& tables, jet::Layout* layout)
{
    QString error;
    const bool ok = jet::writeFile(path, jet::Version::Jet3, tables, &error, layout);
    if (!ok) qWarning().noquote() << path << error;
    return ok;
}

bool OldDataFile::createLargeJet3(const QString& path, int quotations, int linesPerQuotation)
{
    const QList<jet::Table> tables = jetTables();
    jet::Writer w(jet::Version::Jet3);
    bool ok = w.begin(path);
    QList<int> index;
    for (const jet::Table& t : tables) index.append(ok ? w.addTable(t.name, t.columns) : -1);
    const auto add = [&](int table, const QVariantHash& values) {
        if (ok) ok = w.addRow(index[table], jetRow(tables[table], values));
    };
    const auto money = [](double yen) { return QVariant::fromValue(*Currency::fromDouble(yen)); };
    const auto customer = [](int i) { return QStringLiteral("顧客%1").arg(i, 4, 10, QLatin1Char('0')); };
    const auto product = [](int i) { return QStringLiteral("商品%1").arg(i, 4, 10, QLatin1Char('0')); };

    add(0, {{QStringLiteral("自社名"), QStringLiteral("旧商会")}, {QStringLiteral("自社情報"), QStringLiteral("東京都千代田区")},
            {QStringLiteral("年号"), QStringLiteral("和暦")}, {QStringLiteral("税区分"), QStringLiteral("外税")},
            {QStringLiteral("最大見積書番号"), quotations}, {QStringLiteral("税計算"), true},
            {QStringLiteral("入数列タイトル"), QStringLiteral("入数")}});
    for (int i = 0; i < 2000; ++i)
        add(1, {{QStringLiteral("顧客名"), customer(i)},
                {QStringLiteral("顧客情報"), QStringLiteral("東京都千代田区丸の内%1\r\n電話 03-0000-%2").arg(i).arg(i, 4, 10, QLatin1Char('0'))},
                {QStringLiteral("ふりがな"), QStringLiteral("こきゃく%1").arg(i, 4, 10, QLatin1Char('0'))},
                {QStringLiteral("敬称"), QStringLiteral("様")}});
    for (int i = 0; i < 3000; ++i)
        add(2, {{QStringLiteral("品名"), product(i)}, {QStringLiteral("商品区分"), QStringLiteral("区分")},
                {QStringLiteral("入数"), QStringLiteral("10")}, {QStringLiteral("単位"), QStringLiteral("本")},
                {QStringLiteral("単価"), money(100 + i % 500 + 0.5)}, {QStringLiteral("非課税"), i % 7 == 0},
                {QStringLiteral("ふりがな"), QStringLiteral("しょうひん%1").arg(i, 4, 10, QLatin1Char('0'))}});
    for (const char16_t* kind : {u"単位", u"商品区分", u"入数", u"有効期限", u"支払条件", u"受渡場所", u"納期"}) {
        const QString kcode = QString::fromUtf16(kind);
        for (int i = 1; i <= 99; ++i)
            add(3, {{QStringLiteral("kcode"), kcode}, {QStringLiteral("code"), QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))},
                    {QStringLiteral("sname"), i <= 20 ? QVariant(kcode + QString::number(i)) : QVariant()}});
    }
    const QDate first(2002, 1, 1);
    for (int i = 1; i <= quotations; ++i)
        add(4, {{QStringLiteral("伝票番号"), i}, {QStringLiteral("顧客名"), customer(i % 2000)},
                {QStringLiteral("日付"), first.addDays(i % 1000)}, {QStringLiteral("消費税"), money(180.75)},
                {QStringLiteral("税抜計"), money(3615)}, {QStringLiteral("合計"), money(3795.75)},
                {QStringLiteral("見積金額"), money(3795.75)}, {QStringLiteral("敬称"), QStringLiteral("様")},
                {QStringLiteral("済"), false}, {QStringLiteral("顧客情報"), QStringLiteral("東京都千代田区")},
                {QStringLiteral("件名"), QStringLiteral("件名%1").arg(i)}, {QStringLiteral("受渡場所"), QStringLiteral("貴社指定場所")},
                {QStringLiteral("支払条件"), QStringLiteral("月末締め翌月末払い")}, {QStringLiteral("有効期限"), QStringLiteral("発行後30日")},
                {QStringLiteral("納期"), QStringLiteral("受注後1週間")}, {QStringLiteral("印鑑1"), QStringLiteral("担当")},
                {QStringLiteral("印鑑2"), QString()}, {QStringLiteral("印鑑3"), QString()}, {QStringLiteral("印鑑4"), QString()}});
    for (int i = 1; i <= quotations; ++i) {
        const QDateTime when(first.addDays(i % 1000), QTime(10, 15, 30, 250));
        for (int k = 0; k < linesPerQuotation; ++k)
            add(5, {{QStringLiteral("顧客名"), customer(i % 2000)}, {QStringLiteral("日付"), when},
                    {QStringLiteral("伝票番号"), i}, {QStringLiteral("伝票区分"), 1}, {QStringLiteral("行番号"), k},
                    {QStringLiteral("品名"), product((i * 7 + k) % 3000)}, {QStringLiteral("商品区分"), QStringLiteral("区分")},
                    {QStringLiteral("入数"), QStringLiteral("10")}, {QStringLiteral("単位"), QStringLiteral("本")},
                    {QStringLiteral("数量"), 1.5}, {QStringLiteral("単価"), money(120.5)}, {QStringLiteral("金額"), money(180.75)},
                    {QStringLiteral("非課税"), false}, {QStringLiteral("ふりがな"), QStringLiteral("しょうひん")},
                    {QStringLiteral("小計"), false}});
    }
    ok = ok && w.finish();
    if (!ok) qWarning().noquote() << path << w.error();
    return ok;
}
