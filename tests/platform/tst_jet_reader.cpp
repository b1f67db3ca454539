// The Jet reader process on real Jet files (made by the tests' writer): the
// code page of a Jet 3 file, a date out of Jet's range, and damage of every
// kind it looks for, each a failure that names the file, never a short read.

#include "platform/LinkFile.h"
#include "support/JetDamage.h"
#include "support/JetWriter.h"
#include "support/TestFolder.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cstring>

namespace {

using jet::Kind;

// Two tables: 顧客マスタ over several data pages, and a small 商品マスタ.
QList<jet::Table> sampleTables()
{
    jet::Table customers{QStringLiteral("顧客マスタ"),
                         {{QStringLiteral("顧客名"), Kind::Text}, {QStringLiteral("顧客情報"), Kind::Memo},
                          {QStringLiteral("ふりがな"), Kind::Text}, {QStringLiteral("番号"), Kind::Long}},
                         {}};
    for (int i = 0; i < 150; ++i)
        customers.rows.append({QStringLiteral("顧客%1商事").arg(i, 3, 10, QLatin1Char('0')),
                               QStringLiteral("〒100-0001\r\n東京都千代田区%1").arg(i), QStringLiteral("ｺｷｬｸ%1").arg(i), i});
    jet::Table products{QStringLiteral("商品マスタ"),
                        {{QStringLiteral("品名"), Kind::Text}, {QStringLiteral("単価"), Kind::Currency}},
                        {{QStringLiteral("能力開発ソフト"), 15000}, {QStringLiteral("表計算"), QVariant()}}};
    return {customers, products};
}

bool patch(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write(bytes) == bytes.size();
}

// The row count recorded in the table definition on `page`, moved by `by`.
bool shiftRowCount(const QString& path, int pageSize, int page, qint32 by)
{
    const qint64 at = qint64(page) * pageSize + (pageSize == 2048 ? 12 : 16);
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(at)) return false;
    const qint32 count = qFromLittleEndian<qint32>(f.read(4).constData()) + by;
    QByteArray bytes(4, '\0');
    qToLittleEndian(count, bytes.data());
    return f.seek(at) && f.write(bytes) == 4;
}

QByteArray doubleBytes(double d)
{
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &d, 8);  // little-endian, as Jet keeps it
    return b;
}

}  // namespace

Q_DECLARE_METATYPE(jet::Version)

class TestJetReader : public QObject {
    Q_OBJECT
private slots:
    void init();
    void textInTheCodePageTheHeaderNames_data();
    void textInTheCodePageTheHeaderNames();
    void dateOutOfRangeNamesTableColumnAndRow();
    void damageIsAFailureNeverAShortRead_data();
    void damageIsAFailureNeverAShortRead();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestJetReader::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestJetReader::textInTheCodePageTheHeaderNames_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("table");   // as written
    QTest::addColumn<QString>("asked");   // as asked for
    QTest::addColumn<QString>("value");
    QTest::newRow("1252") << 1252 << "Clientèle" << "CLIENTÈLE" << "Montréal Œuvre";
    QTest::newRow("1251") << 1251 << "Клиенты" << "клиенты" << "Москва";
    QTest::newRow("932, the default") << 932 << "顧客マスタ" << "顧客マスタ" << "髙橋①㈱～表ｱｲｳ";
}

void TestJetReader::textInTheCodePageTheHeaderNames()
{
    QFETCH(int, codePage);
    QFETCH(QString, table);
    QFETCH(QString, asked);
    QFETCH(QString, value);
    const QString path = dir_->filePath(QStringLiteral("cp.mdb"));
    QString error;
    QVERIFY2(jet::writeFile(path, jet::Version::Jet3, {{table, {{QStringLiteral("Ville"), Kind::Text}}, {{value}}}}, &error,
                            nullptr, codePage),
             qPrintable(error));
    LinkFile link;
    QVERIFY2(link.open(path), qPrintable(link.errorText()));
    QCOMPARE(link.tables(), QStringList{table});
    const auto rows = link.rows(asked);
    QVERIFY2(rows, qPrintable(link.errorText()));
    QCOMPARE(rows->rows.size(), 1);
    QCOMPARE(rows->rows.first().value(QStringLiteral("ville")).toString(), value);
}

void TestJetReader::dateOutOfRangeNamesTableColumnAndRow()
{
    const QString path = dir_->filePath(QStringLiteral("old.mdb"));
    const QDateTime marked(QDate(2004, 3, 10), QTime(12, 0));  // 38056.5 in Jet
    QString error;
    QVERIFY2(jet::writeFile(path, jet::Version::Jet3,
                            {{QStringLiteral("見積書"),
                              {{QStringLiteral("伝票番号"), Kind::Long}, {QStringLiteral("日付"), Kind::DateTime}},
                              {{1, QDateTime(QDate(2004, 3, 9), QTime())}, {2, marked}, {3, QVariant()}}}},
                            &error),
             qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    const qsizetype at = bytes.indexOf(doubleBytes(38056.5));
    QVERIFY(at > 0 && bytes.indexOf(doubleBytes(38056.5), at + 1) < 0);
    QVERIFY(patch(path, at, doubleBytes(3.0e6)));  // the year 10113

    LinkFile link;
    QVERIFY2(link.open(path), qPrintable(link.errorText()));
    QVERIFY(!link.rows(QStringLiteral("見積書")).has_value());
    QCOMPARE(link.error(), LinkFile::Error::BadValue);
    QCOMPARE(link.errorText(), QStringLiteral("テーブル「見積書」の 2 行目、列「日付」の日付が範囲（100年～9999年）の外です。"));
}

Q_DECLARE_METATYPE(jet::Damage)

void TestJetReader::damageIsAFailureNeverAShortRead_data()
{
    QTest::addColumn<jet::Version>("version");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("detail");
    for (const jet::Version v : {jet::Version::Jet3, jet::Version::Jet4}) {
        const char* name = v == jet::Version::Jet3 ? "Jet 3" : "Jet 4";
        QTest::addRow("%s, catalog byte", name) << v << "catalog byte" << "テーブル「顧客マスタ」の定義を読めません";
        QTest::addRow("%s, zeroed data page", name) << v << "zeroed page" << "テーブル「顧客マスタ」";
        QTest::addRow("%s, truncated", name) << v << "truncated" << "整数倍ではありません";
        QTest::addRow("%s, a row more recorded", name) << v << "+1" << "定義の 151 行と合いません（読めたのは 150 行）";
        QTest::addRow("%s, a row less recorded", name) << v << "-1" << "定義の 149 行と合いません（読めたのは 150 行）";
        QTest::addRow("%s, catalog count", name) << v << "catalog count" << "テーブルの一覧の項目数";
    }
}

void TestJetReader::damageIsAFailureNeverAShortRead()
{
    QFETCH(jet::Version, version);
    QFETCH(QString, how);
    QFETCH(QString, detail);
    const QString path = dir_->filePath(QStringLiteral("顧客.mdb"));
    jet::Layout layout;
    QString error;
    QVERIFY2(jet::writeFile(path, version, sampleTables(), &error, &layout), qPrintable(error));
    QVERIFY(layout.dataPages.value(QStringLiteral("顧客マスタ")).size() > 1);
    const QString table = QStringLiteral("顧客マスタ");
    if (how == u"catalog byte")
        QVERIFY(jet::damage(path, layout, table, jet::Damage::CatalogByte));
    else if (how == u"zeroed page")
        QVERIFY(jet::damage(path, layout, table, jet::Damage::ZeroedPage));
    else if (how == u"truncated")
        QVERIFY(jet::damage(path, layout, table, jet::Damage::Truncated));
    else if (how == u"catalog count")
        QVERIFY(shiftRowCount(path, layout.pageSize, 2, 1));  // the catalog's definition is on page 2
    else
        QVERIFY(shiftRowCount(path, layout.pageSize, layout.definitionPage.value(table), how.toInt()));
    const QByteArray hash = FileHash(path);

    LinkFile link;
    const bool opened = link.open(path);
    const bool read = opened && link.rows(table).has_value();
    QVERIFY2(!read, "a damaged table read as complete");
    QCOMPARE(link.error(), LinkFile::Error::Unreadable);
    QVERIFY2(link.errorText().startsWith(QStringLiteral("「顧客.mdb」は壊れている可能性があるため読み込めません")),
             qPrintable(link.errorText()));
    QVERIFY2(link.errorText().contains(detail), qPrintable(link.errorText()));
    // Read in order, row by row (as the conversion reads), it hands over no
    // row and fails the same way.
    if (opened) {
        const QString failure = link.errorText();
        int handed = 0;
        QVERIFY(!link.forEachRow(table, {QStringLiteral("ふりがな")}, [&](LinkCursor&) { return ++handed, true; }));
        QCOMPARE(handed, 0);
        QCOMPARE(link.errorText(), failure);
    }
    // Damage in one table leaves the other readable.
    if (opened) {
        const auto other = link.rows(QStringLiteral("商品マスタ"));
        QVERIFY2(other, qPrintable(link.errorText()));
        QCOMPARE(other->rows.size(), 2);
    }
    link.close();
    QCOMPARE(FileHash(path), hash);
}

QTEST_GUILESS_MAIN(TestJetReader)
#include "tst_jet_reader.moc"
