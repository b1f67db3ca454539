// The conversion from a real Access 97 (Jet 3) older file, made by the test
// Jet writer: every table with Japanese text, Nulls, money, dates and yes/no
// arrives in the current data file; damaged copies of the file end the run
// with a message and leave the damaged table's data as it was; a quotation
// arrives whole or not at all, and the message names those left out.

#include "workspace/settings_tab/SettingsTab.h"
#include "conversion/FrmConversion.h"
#include "platform/Currency.h"
#include "support/FindControl.h"
#include "support/JetDamage.h"
#include "support/MainWindowFixture.h"
#include "support/OldDataFile.h"

#include <QDateTime>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kDone = QStringLiteral("コンバートが終了しました");
const QStringList kTables{QStringLiteral("自社情報"),     QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"),
                          QStringLiteral("コードマスタ"), QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")};

QVariant yen(qint64 tenThousandths) { return QVariant::fromValue(Currency::fromRaw(tenThousandths)); }

// An older file of every table; customers enough to fill several pages.
QList<jet::Table> olderTables(int customers)
{
    QList<jet::Table> t = OldDataFile::jetTables();
    using OldDataFile::jetRow;
    t[0].rows.append(jetRow(t[0], {{"自社名", "髙島屋商店㈱"}, {"自社情報", "東京都千代田区\r\n電話 03-1234-5678"},
                                   {"年号", "西暦"}, {"税区分", "外税"}, {"税端数", "切り捨て"}, {"行端数", "四捨五入"},
                                   {"最大見積書番号", 41}, {"税計算", true}, {"印刷用紙", "A4白紙"},
                                   {"商品リンクアプリ", "Dovan請求書"}, {"商品リンクパス", "c:\\表計算\\商品.mdb"},
                                   {"入数列タイトル", "ケース"}}));
    for (int i = 0; i < customers; ++i)
        t[1].rows.append(jetRow(t[1], {{"顧客名", QStringLiteral("顧客%1").arg(i, 3, 10, QLatin1Char('0'))},
                                       {"顧客情報", i % 3 ? QVariant(QStringLiteral("〒530-0001\r\n大阪市北区梅田%1丁目").arg(i)) : QVariant()},
                                       {"ふりがな", QStringLiteral("こきゃく%1").arg(i, 3, 10, QLatin1Char('0'))},
                                       {"敬称", i % 2 ? "様" : "御中"}}));
    t[1].rows.append(jetRow(t[1], {{"顧客名", "ｱｲｳ①ソフト"}, {"ふりがな", "あいう"}}));
    t[2].rows.append(jetRow(t[2], {{"品名", "能力開発ソフト"}, {"商品区分", "旧区分"}, {"入数", "10"}, {"単位", "本"},
                                   {"単価", yen(1234567)}, {"非課税", true}, {"ふりがな", "のうりょく"}}));
    t[2].rows.append(jetRow(t[2], {{"品名", "～波線～"}, {"単価", yen(0)}}));
    t[3].rows.append(jetRow(t[3], {{"kcode", "単位"}, {"code", "01"}, {"sname", "ダース"}}));
    t[3].rows.append(jetRow(t[3], {{"kcode", "単位"}, {"code", "02"}, {"sname", "箱"}}));
    t[4].rows.append(jetRow(t[4], {{"伝票番号", 41}, {"顧客名", "顧客001"}, {"日付", QDate(2004, 3, 9)},
                                   {"消費税", yen(90000)}, {"税抜計", yen(1800000)}, {"合計", yen(1890000)},
                                   {"見積金額", yen(1890000)}, {"敬称", "様"}, {"済", true}, {"件名", "表示器の件"},
                                   {"メモ", QString(400, QChar(u'控'))}}));
    for (int k = 0; k < 3; ++k)
        t[5].rows.append(jetRow(t[5], {{"顧客名", "顧客001"}, {"日付", QDateTime(QDate(2004, 3, 9), QTime(10, 15, 30, 250))},
                                       {"伝票番号", 41}, {"伝票区分", 1}, {"行番号", k}, {"品名", "能力開発ソフト"},
                                       {"入数", "10"}, {"単位", "本"}, {"数量", 1.5}, {"単価", yen(1200000)},
                                       {"金額", yen(1800000)}, {"非課税", false}, {"ふりがな", "のうりょく"}, {"小計", k == 2}}));
    return t;
}

class Run {
public:
    Run() : ok_(f.open()) {}

    bool ok() const { return ok_; }
    QString oldPath() const { return f.folder.dataFolder() + QStringLiteral("VeltData.mdb"); }
    // Presses 実行 in the conversion window; the messages shown.
    QStringList convert()
    {
        control<QPushButton>(f.settings(), "cmdデータ変換")->click();
        auto* w = qobject_cast<FrmConversion*>(f.session.windows().find(QStringLiteral("Frmデータ変換")));
        if (!w) return {QStringLiteral("<no window>")};
        control<QPushButton>(*w, "cmd実行")->click();
        return f.messages.texts();
    }
    QStringList cells(const QString& sql) { return QueryCells(f.data(), sql); }

    MainWindowFixture f;

private:
    bool ok_;
};

}  // namespace

class TestConversionJet : public QObject {
    Q_OBJECT
private slots:
    void everyTableFromAnAccess97File();
    void largeOlderFileConvertsWhole();
    void damagedFileEndsWithAMessage_data();
    void damagedFileEndsWithAMessage();
    void quotationsArriveWholeOrAreNamed_data();
    void quotationsArriveWholeOrAreNamed();
};

void TestConversionJet::everyTableFromAnAccess97File()
{
    Run run;
    QVERIFY(run.ok());
    QVERIFY(OldDataFile::createJet3(run.oldPath(), olderTables(3)));
    const QByteArray hash = FileHash(run.oldPath());

    QCOMPARE(run.convert(), QStringList{kDone});

    QCOMPARE(run.cells(QStringLiteral("select 自社名, 自社情報, 年号, 税区分, 税端数, 行端数, 小数, 最大見積書番号, 税計算, 印刷用紙, "
                                      "商品リンクアプリ, 商品リンクパス, 顧客リンクアプリ, 入数列タイトル, 商品登録 from 自社情報")),
             QStringList{"'髙島屋商店㈱'|'東京都千代田区\r\n電話 03-1234-5678'|'西暦'|'外税'|'切り捨て'|'四捨五入'|'しない'|41|1|"
                         "'A4白紙'|'Dovan請求書'|'c:\\表計算\\商品.mdb'|<null>|'ケース'|1"});
    QCOMPARE(run.cells(QStringLiteral("select 顧客名, 顧客情報, ふりがな, 敬称 from 顧客マスタ order by ふりがな")),
             (QStringList{"'ｱｲｳ①ソフト'|<null>|'あいう'|<null>", "'顧客000'|<null>|'こきゃく000'|'御中'",
                          "'顧客001'|'〒530-0001\r\n大阪市北区梅田1丁目'|'こきゃく001'|'様'",
                          "'顧客002'|'〒530-0001\r\n大阪市北区梅田2丁目'|'こきゃく002'|'御中'"}));
    QCOMPARE(run.cells(QStringLiteral("select 品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな from 商品マスタ order by 品名")),
             (QStringList{"'能力開発ソフト'|<null>|'10'|'本'|1234567|1|'のうりょく'", "'～波線～'|<null>|<null>|<null>|0|0|<null>"}));
    QCOMPARE(run.cells(QStringLiteral("select sname from コードマスタ where kcode = '単位' and code in ('01', '02', '03') order by code")),
             (QStringList{"'ダース'", "'箱'", "<null>"}));
    QCOMPARE(run.cells(QStringLiteral("select 伝票番号, 顧客名, 日付, 消費税, 税抜計, 合計, 見積金額, 敬称, 済, 件名, length(メモ) "
                                      "from 見積書ヘッダ")),
             QStringList{"41|'顧客001'|'2004-03-09'|90000|1800000|1890000|1890000|'様'|1|'表示器の件'|400"});
    QCOMPARE(run.cells(QStringLiteral("select 日付, 行番号, 品名, 数量, 単価, 金額, 非課税, 小計, 商品区分, 備考 from 見積書 "
                                      "order by 行番号")),
             (QStringList{"'2004-03-09 10:15:30.250'|0|'能力開発ソフト'|15000|1200000|1800000|0|0|<null>|<null>",
                          "'2004-03-09 10:15:30.250'|1|'能力開発ソフト'|15000|1200000|1800000|0|0|<null>|<null>",
                          "'2004-03-09 10:15:30.250'|2|'能力開発ソフト'|15000|1200000|1800000|0|1|<null>|<null>"}));
    QCOMPARE(FileHash(run.oldPath()), hash);
}

// The benchmark's large older file, small: every row of every table arrives.
void TestConversionJet::largeOlderFileConvertsWhole()
{
    Run run;
    QVERIFY(run.ok());
    QVERIFY(OldDataFile::createLargeJet3(run.oldPath(), 30, 20));
    QCOMPARE(run.convert(), QStringList{kDone});
    QCOMPARE(run.cells(QStringLiteral("select (select count(*) from 顧客マスタ), (select count(*) from 商品マスタ), "
                                      "(select count(*) from コードマスタ where sname is not null), "
                                      "(select count(*) from 見積書ヘッダ), (select count(*) from 見積書), "
                                      "(select 最大見積書番号 from 自社情報)")),
             QStringList{"2000|3000|140|30|600|30"});
}

Q_DECLARE_METATYPE(jet::Damage)

void TestConversionJet::damagedFileEndsWithAMessage_data()
{
    QTest::addColumn<jet::Damage>("damage");
    for (jet::Damage d : jet::allDamages()) QTest::newRow(qPrintable(jet::nameOf(d))) << d;
}

void TestConversionJet::damagedFileEndsWithAMessage()
{
    QFETCH(jet::Damage, damage);
    Run run;
    QVERIFY(run.ok());
    jet::Layout layout;
    QVERIFY(OldDataFile::createJet3(run.oldPath(), olderTables(150), &layout));
    QVERIFY(layout.dataPages.value(QStringLiteral("顧客マスタ")).size() > 1);
    QVERIFY(jet::damage(run.oldPath(), layout, QStringLiteral("顧客マスタ"), damage));
    const QByteArray hash = FileHash(run.oldPath());
    const QStringList customers = TableSnapshot(run.f.data(), {QStringLiteral("顧客マスタ")});

    const QStringList messages = run.convert();

    QCOMPARE(messages.size(), 1);
    // Never the clean completion: the damaged table is named, or the file.
    QVERIFY2(messages.first() != kDone, "a damaged older file converted as if complete");
    QVERIFY2(messages.first().contains(QStringLiteral("壊れている可能性")), qPrintable(messages.first()));
    QCOMPARE(TableSnapshot(run.f.data(), {QStringLiteral("顧客マスタ")}), customers);
    QCOMPARE(FileHash(run.oldPath()), hash);
}

// Older quotations besides 41 of olderTables(): 42 with a Null date and 43
// with a Null customer, header and lines alike.
void addNullQuotations(QList<jet::Table>& t)
{
    using OldDataFile::jetRow;
    t[4].rows.append(jetRow(t[4], {{"伝票番号", 42}, {"顧客名", "顧客002"}, {"件名", "日付なし"}}));
    t[4].rows.append(jetRow(t[4], {{"伝票番号", 43}, {"日付", QDate(2004, 3, 10)}, {"件名", "顧客なし"}}));
    for (int k = 0; k < 2; ++k) {
        t[5].rows.append(jetRow(t[5], {{"顧客名", "顧客002"}, {"伝票番号", 42}, {"伝票区分", 1}, {"行番号", k}, {"品名", "日付なしの品"}}));
        t[5].rows.append(jetRow(t[5], {{"日付", QDate(2004, 3, 10)}, {"伝票番号", 43}, {"伝票区分", 1}, {"行番号", k}, {"品名", "顧客なしの品"}}));
    }
}

void TestConversionJet::quotationsArriveWholeOrAreNamed_data()
{
    QTest::addColumn<QString>("change");  // what is done to the older file
    QTest::addColumn<QStringList>("quotations");  // number, lines
    QTest::addColumn<QStringList>("shown");  // lines the box's text holds
    QTest::newRow("a Null date and a Null customer")
        << "" << QStringList{"41|3", "42|2"}
        << QStringList{"見積書：読込 7件、変換 5件、変換しなかった見積書のためスキップ 2件",
                       "顧客名が空の明細がある：伝票番号 43"};
    QTest::newRow("the lines' definition emptied")
        << "damage 見積書" << QStringList{}
        << QStringList{"見積書：変換できませんでした（旧データの見積書に項目がありません。ファイルが壊れている可能性があります）。"
                       "このテーブルは変更していません",
                       "見積書ヘッダ：変換できませんでした（見積書（明細）を変換できないため、ヘッダも書き込んでいません）。"
                       "このテーブルは変更していません",
                       "明細を読み込めない：伝票番号 41、42、43"};
    QTest::newRow("no header table")
        << "without 見積書ヘッダ" << QStringList{}
        << QStringList{"見積書ヘッダ：旧データにテーブルがありません", "見積書ヘッダがない：伝票番号 41、42、43"};
}

void TestConversionJet::quotationsArriveWholeOrAreNamed()
{
    QFETCH(QString, change);
    QFETCH(QStringList, quotations);
    QFETCH(QStringList, shown);
    Run run;
    QVERIFY(run.ok());
    QList<jet::Table> tables = olderTables(3);
    addNullQuotations(tables);
    if (change == "without 見積書ヘッダ") tables.removeAt(4);
    jet::Layout layout;
    QVERIFY(OldDataFile::createJet3(run.oldPath(), tables, &layout));
    if (change == "damage 見積書") QVERIFY(jet::damage(run.oldPath(), layout, QStringLiteral("見積書"), jet::Damage::EmptyDefinition));

    const QStringList messages = run.convert();
    QCOMPARE(messages.size(), 1);
    const QStringList lines = messages.first().split(QLatin1Char('\n'));
    for (const QString& line : shown) QVERIFY2(lines.contains(line), qPrintable(messages.first()));
    QCOMPARE(run.cells(QStringLiteral("select h.伝票番号, count(l.rowid) from 見積書ヘッダ h left join 見積書 l using (伝票番号) "
                                      "group by h.伝票番号")),
             quotations);
    QCOMPARE(run.cells(QStringLiteral("select count(*) from 見積書 where 伝票番号 not in (select 伝票番号 from 見積書ヘッダ)")),
             QStringList{"0"});
    // The Null date arrives as Null, in the header and every line.
    if (quotations.contains("42|2"))
        QCOMPARE(run.cells(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 42 and 日付 is null "
                                          "union all select 日付 is null from 見積書ヘッダ where 伝票番号 = 42")),
                 (QStringList{"2", "1"}));
}

QTEST_MAIN(TestConversionJet)
#include "tst_conversion_jet.moc"
