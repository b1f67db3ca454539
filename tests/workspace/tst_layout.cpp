#include "platform/GridView.h"
#include "app/PrintSettings.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "platform/Twips.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "platform/WorkTableModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

// A setting stored before the tab's load reads it.
void setSetting(const SessionFixture& f, const QString& column, const QString& value)
{
    Database db;
    QVERIFY(db.open(f.folder.dataDbPath()));
    QVERIFY(db.exec(QStringLiteral("UPDATE 自社情報 SET %1 = ?").arg(Database::quoteIdent(column)), {value}));
}

// The quotation date by the era setting.
void quotationEra(const QString& era, const QDate& date, const QString& quotationDate)
{
    QuotationTabFixture f;
    setSetting(f, QStringLiteral("年号"), era);
    QVERIFY(f.open());

    control<DateBox>(f.quotation(), "dt日付")->setDate(date);
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->text(), quotationDate);
    const bool japanese = era == u"和暦";
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->headingFormat(), japanese ? QStringLiteral("gggee年mm月") : QStringLiteral("yyyy年mm月"));
    QCOMPARE(placeIn(f.quotation(), control<DateBox>(f.quotation(), "dt日付")).x(), twips(japanese ? 9240 : 9610));
    QCOMPARE(control<DateBox>(f.quotation(), "dt日付")->width(), twips(japanese ? 2235 : 1755));
}

// The history filter's dates and the listed dates by the era setting.
void historyEra(const QString& era, const QDate& date, const QString& historyDate, const QString& filterDate)
{
    HistoryTabFixture f;
    setSetting(f, QStringLiteral("年号"), era);
    QVERIFY(f.open());

    control<DateBox>(f.history(), "txt開始")->setDate(date);
    control<DateBox>(f.history(), "txt終了")->setDate(date);
    QCOMPARE(control<DateBox>(f.history(), "txt開始")->text(), filterDate);
    QCOMPARE(control<DateBox>(f.history(), "txt終了")->text(), filterDate);

    QVERIFY(f.work().exec(QStringLiteral("INSERT INTO w履歴リスト (チェック, 伝票番号, 日付, 顧客名, 件名) VALUES (0, 1, ?, 'x', 'y')"),
                                 {date.toString(Qt::ISODate)}));
    WorkTableModel* rows = control<WorkTableModel>(f.history(), "dat履歴");
    QVERIFY(rows->refresh());
    QCOMPARE(rows->text(rows->rowCount() - 1, 2), historyDate);

    const bool japanese = era == u"和暦";
    QCOMPARE(control<DateBox>(f.history(), "txt開始")->headingFormat(),
             japanese ? QStringLiteral("ggg ee年 mm月") : QStringLiteral("yyyy年 mm月"));
    // Places on the tab, whatever holds the control.
    const auto left = [&](const char* name) { return control<QWidget>(f.history(), name)->mapTo(&f.history(), QPoint()).x(); };
    QCOMPARE(left("txt開始"), twips(945));
    QCOMPARE(control<DateBox>(f.history(), "txt開始")->width(), twips(japanese ? 2370 : 1590));
    QCOMPARE(left("txt終了"), twips(japanese ? 3780 : 3000));
    QCOMPARE(control<DateBox>(f.history(), "txt終了")->width(), twips(japanese ? 2370 : 1590));
    QCOMPARE(left("Label28"), twips(japanese ? 3450 : 2670));
}

}  // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void eraFormats_data();
    void eraFormats();
    void gridNumberFormats_data();
    void gridNumberFormats();
    void packColumnCaption_data();
    void packColumnCaption();
    void sealBoxes();
    void ownCompanyFonts_data();
    void ownCompanyFonts();
};

void TestLayout::eraFormats_data()
{
    QTest::addColumn<QString>("era");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("quotationDate");
    QTest::addColumn<QString>("historyDate");
    QTest::addColumn<QString>("filterDate");

    const struct {
        const char* date;
        const char* jp;
        const char* jpShort;
        const char* jpFilter;
    } dates[] = {
        {"1989-01-07", "昭和64年01月07日", "S64/01/07", "昭和 64年01月07日"},
        {"1989-01-08", "平成01年01月08日", "H01/01/08", "平成 01年01月08日"},
        {"2019-04-30", "平成31年04月30日", "H31/04/30", "平成 31年04月30日"},
        {"2019-05-01", "令和01年05月01日", "R01/05/01", "令和 01年05月01日"},
    };
    for (const auto& d : dates) {
        const QDate date = QDate::fromString(QString::fromLatin1(d.date), Qt::ISODate);
        const QString y = date.toString(QStringLiteral("yyyy")), m = date.toString(QStringLiteral("MM")),
                      dd = date.toString(QStringLiteral("dd"));
        QTest::addRow("和暦 %s", d.date) << "和暦" << date << QString::fromUtf8(d.jp) << QString::fromUtf8(d.jpShort)
                                         << QString::fromUtf8(d.jpFilter);
        QTest::addRow("西暦 %s", d.date) << "西暦" << date << QStringLiteral("%1年%2月%3日").arg(y, m, dd)
                                         << QStringLiteral("%1/%2/%3").arg(y, m, dd) << QStringLiteral("%1/%2/%3").arg(y, m, dd);
        QTest::addRow("empty era setting %s", d.date)
            << "" << date << QStringLiteral("%1年%2月%3日").arg(y, m, dd) << QStringLiteral("%1/%2/%3").arg(y, m, dd)
            << QStringLiteral("%1/%2/%3").arg(y, m, dd);
    }
}

void TestLayout::eraFormats()
{
    QFETCH(QString, era);
    QFETCH(QDate, date);
    QFETCH(QString, quotationDate);
    QFETCH(QString, historyDate);
    QFETCH(QString, filterDate);
    // Each tab over its own data folder with the setting stored.
    quotationEra(era, date, quotationDate);
    if (QTest::currentTestFailed()) return;
    historyEra(era, date, historyDate, filterDate);
}

void TestLayout::gridNumberFormats_data()
{
    QTest::addColumn<QString>("decimals");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::newRow("しない") << "しない" << "#,###" << "#,###";
    QTest::newRow("数量+単価") << "数量+単価" << "Standard" << "Standard";
    QTest::newRow("数量") << "数量" << "Standard" << "#,###";
    QTest::newRow("単価") << "単価" << "#,###" << "Standard";
    QTest::newRow("unknown") << "全部" << "#,###" << "#,###";
}

void TestLayout::gridNumberFormats()
{
    QFETCH(QString, decimals);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QuotationTabFixture f;
    setSetting(f, QStringLiteral("小数"), decimals);
    QVERIFY(f.open());

    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(4).format, quantity);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(6).format, price);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(7).format, QStringLiteral("#,###"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->column(4).format, price);

    // Captions, hidden columns, widths and alignment do not depend on the setting.
    const QStringList captions{"品　　名", "入　数", "数 量", "単位", "単 価", "金 額"};
    const int cols[] = {1, 3, 4, 5, 6, 7};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->headerData(cols[i], Qt::Horizontal).toString(), captions[i]);
        QVERIFY(!control<GridView>(f.quotation(), "Grid明細")->isColumnHidden(cols[i]));
    }
    for (int c : {0, 8, 9, 10}) QVERIFY(control<GridView>(f.quotation(), "Grid明細")->isColumnHidden(c));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(1).widthTwips, 4500);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(2).widthTwips, 1065);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(5).alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    for (int c : {4, 6, 7}) QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(c).alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->column(4).alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->headerData(0, Qt::Horizontal).toString(), QStringLiteral("品　　名"));
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->headerData(4, Qt::Horizontal).toString(), QStringLiteral("単 価"));

    // A changed setting shows only from the next start.
    f.session.設定情報.小数 = QStringLiteral("数量+単価");
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->column(4).format, quantity);
}

// The caption rule is the shared routines' test; here its three places show it.
void TestLayout::packColumnCaption_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("規格") << "規格" << "規　格";
    QTest::newRow("free text") << "ケース" << "ケース";
}

void TestLayout::packColumnCaption()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QuotationTabFixture f;
    setSetting(f, QStringLiteral("入数列タイトル"), title);
    QVERIFY(f.open());
    QCOMPARE(control<WorkTableModel>(f.quotation(), "wkDat")->headerData(3, Qt::Horizontal).toString(), caption);
    QCOMPARE(control<WorkTableModel>(f.quotation(), "dat商品参照")->headerData(2, Qt::Horizontal).toString(), caption);
    QCOMPARE(control<QLabel>(f.quotation(), "lbl入数詳細")->text(), caption);
}

void TestLayout::sealBoxes()
{
    QuotationTabFixture f;
    QVERIFY(f.open());
    // Offsets from the origins (3200, 220).
    const double ends[8][4] = {
        {9100, 2920, 11470, 2920}, {9100, 3220, 11470, 3220}, {9100, 3680, 11480, 3680}, {9100, 2920, 9100, 3680},
        {9680, 2920, 9680, 3680},  {10280, 2920, 10280, 3700}, {10880, 2920, 10880, 3680}, {11460, 2920, 11460, 3700},
    };
    for (int i = 0; i < 8; ++i) {
        const LineWidget* l = control<LineWidget>(f.quotation(), QStringLiteral("印鑑Line%1").arg(i + 1));
        QCOMPARE(l->x1(), ends[i][0]);
        QCOMPARE(l->y1(), ends[i][1]);
        QCOMPARE(l->x2(), ends[i][2]);
        QCOMPARE(l->y2(), ends[i][3]);
    }
    const double lefts[4] = {9200, 9800, 10400, 11000};
    for (int i = 0; i < 4; ++i) QCOMPARE(placeIn(f.quotation(), control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))).topLeft(), twipsPoint(lefts[i], 2980));
    QCOMPARE(placeIn(f.quotation(), control<QFrame>(f.quotation(), "Cn商品詳細")).topLeft(), twipsPoint(4080, 780));
}

void TestLayout::ownCompanyFonts_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("nameFamily");  // "" = designed
    QTest::addColumn<double>("nameSize");     // 0 = designed
    QTest::addColumn<QString>("infoFamily");
    QTest::addColumn<double>("infoSize");

    QTest::newRow("fonts and sizes") << "UPDATE 印刷情報 SET 自社名フォント = 'ＭＳ 明朝', 自社名サイズ = 20, "
                                        "自社情報フォント = 'ＭＳ ゴシック', 自社情報サイズ = '9.5' WHERE 型番 = 'MA4'"
                                     << "ＭＳ 明朝" << 20.0 << "ＭＳ ゴシック" << 9.5;
    QTest::newRow("no name keeps the designed family") << "UPDATE 印刷情報 SET 自社名フォント = NULL, 自社名サイズ = 16, "
                                                          "自社情報フォント = '', 自社情報サイズ = 0 WHERE 型番 = 'MA4'"
                                                       << "" << 16.0 << "" << 0.0;
    QTest::newRow("no MA4 row") << "DELETE FROM 印刷情報 WHERE 型番 = 'MA4'" << "" << 0.0 << "" << 0.0;
}

void TestLayout::ownCompanyFonts()
{
    QFETCH(QString, statement);
    QFETCH(QString, nameFamily);
    QFETCH(double, nameSize);
    QFETCH(QString, infoFamily);
    QFETCH(double, infoSize);
    QuotationTabFixture f;
    f.folder.prepare({statement});
    const QFont designedName = control<QLabel>(f.quotation(), "lbl自社名")->font();
    const QFont designedInfo = control<QLabel>(f.quotation(), "lbl自社情報")->font();
    QVERIFY(f.open());

    QVERIFY(f.session.printSettingsInUse());
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社名")->font().family(), nameFamily.isEmpty() ? designedName.family() : nameFamily);
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社名")->font().pointSizeF(), nameSize > 0 ? nameSize : designedName.pointSizeF());
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社情報")->font().family(), infoFamily.isEmpty() ? designedInfo.family() : infoFamily);
    QCOMPARE(control<QLabel>(f.quotation(), "lbl自社情報")->font().pointSizeF(), infoSize > 0 ? infoSize : designedInfo.pointSizeF());
    QVERIFY(!control<QLabel>(f.quotation(), "lbl自社名")->font().bold() || designedName.bold());
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
