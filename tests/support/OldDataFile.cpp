#include "support/OldDataFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtDebug>

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
