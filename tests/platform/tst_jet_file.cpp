// Jet files made by the test writer, read by two readers: Debian's mdbtools
// command-line tools (mdb-tables, mdb-export), which know nothing of this
// program, and the program's own link-file reader. Every table and value
// written must come back from both, in Jet 3 and Jet 4.

#include "platform/LinkFile.h"
#include "support/JetWriter.h"
#include "support/WholeRows.h"

#include <QDateTime>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using jet::Kind;

namespace {

// A value to write and the text mdb-export gives for it (Null and an empty
// text: nothing; text in double quotes, a quote doubled; dates as
// "%Y-%m-%d %H:%M:%S", without milliseconds; money with four decimals;
// yes/no as 1/0).
struct Cell {
    QVariant value;
    QString csv;
};

Cell text(const QString& s)
{
    QString quoted = s;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return {s, s.isEmpty() ? QString() : QLatin1Char('"') + quoted + QLatin1Char('"')};
}
Cell null() { return {QVariant(), QString()}; }
Cell number(const QVariant& v, const QString& csv) { return {v, csv}; }
Cell money(qint64 raw, const QString& csv) { return {QVariant::fromValue(Currency::fromRaw(raw)), csv}; }
Cell when(const QDateTime& dt) { return {dt, dt.toString(QStringLiteral("\"yyyy-MM-dd HH:mm:ss\""))}; }
Cell yes(bool b) { return {b, b ? QStringLiteral("1") : QStringLiteral("0")}; }

struct Sample {
    QString name;
    QList<jet::Column> columns;
    QList<QList<Cell>> rows;
};

// Every kind of column, with Null in each, the extremes of the numbers,
// Japanese text that Shift-JIS alone lacks (髙 ① ㈱ ～), a 0x5C trail byte
// (表, ソ, 能), half-width kana, quotes and commas, and memos kept in the
// row, in one long-value row and in a chain of them.
Sample allKinds()
{
    Sample s{QStringLiteral("全種類"),
             {{QStringLiteral("文字"), Kind::Text}, {QStringLiteral("メモ"), Kind::Memo},
              {QStringLiteral("長整数"), Kind::Long}, {QStringLiteral("整数"), Kind::Integer},
              {QStringLiteral("バイト"), Kind::Byte}, {QStringLiteral("倍精度"), Kind::Double},
              {QStringLiteral("単精度"), Kind::Single}, {QStringLiteral("通貨"), Kind::Currency},
              {QStringLiteral("日付"), Kind::DateTime}, {QStringLiteral("はい"), Kind::YesNo}},
             {}};
    s.rows.append({text(QStringLiteral("髙橋①㈱～表ソ能ｱｲｳｴｵ")), text(QStringLiteral("〒100-0001\r\n東京都千代田区\r\n")),
                   number(2147483647, "2147483647"), number(-32768, "-32768"), number(255, "255"),
                   number(-123456.789012345, "-123456.789012345"), number(123.456f, "123.456"),
                   money(12345678, "1234.5678"), when(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))), yes(true)});
    s.rows.append({null(), null(), null(), null(), null(), null(), null(), null(), null(), yes(false)});
    s.rows.append({text(QStringLiteral("O'Hara, \"株\"")), text(QString(1000, QChar(u'表'))),
                   number(-2147483647 - 1, "-2147483648"), number(32767, "32767"), number(0, "0"), number(0.1, "0.1"),
                   number(0.5f, "0.5"), money(-1, "-0.0001"), when(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))),
                   yes(true)});
    s.rows.append({text(QStringLiteral("ﾊﾝｶｸ")), text(QStringLiteral("長い").repeated(1600)), null(), number(1, "1"), null(),
                   number(1e20, "1e+20"), null(), money(9223372036854775807LL, "922337203685477.5807"),
                   when(QDateTime(QDate(2000, 2, 29), QTime(12, 0))), yes(false)});
    return s;
}

// Rows from 0 to some 1,500 bytes, with Nulls between: Jet 3 keeps their
// offsets as bytes with a table of 256-byte steps.
Sample wideRows()
{
    Sample s{QStringLiteral("幅広"), {}, {}};
    for (int c = 0; c < 6; ++c) s.columns.append({QStringLiteral("列%1").arg(c + 1), Kind::Text});
    s.columns.append({QStringLiteral("番号"), Kind::Long});
    for (int r = 0; r < 120; ++r) {
        QList<Cell> row;
        for (int c = 0; c < 6; ++c) {
            const int length = (r * 37 + c * 53) % 127;
            row.append((r + c) % 5 == 0 ? null() : text(QString(length, QChar(u'あ' + c)) + QString::number(r)));
        }
        row.append(number(r, QString::number(r)));
        s.rows.append(row);
    }
    return s;
}

// Enough rows to fill hundreds of pages (a usage map of the second kind).
Sample manyRows()
{
    Sample s{QStringLiteral("多数"), {{QStringLiteral("番号"), Kind::Long}, {QStringLiteral("名前"), Kind::Text}}, {}};
    for (int r = 0; r < 30000; ++r)
        s.rows.append({number(r, QString::number(r)), text(QStringLiteral("顧客番号%1の名前").arg(r, 30, 10, QLatin1Char('0')))});
    return s;
}

Sample noRows() { return {QStringLiteral("空"), {{QStringLiteral("名前"), Kind::Text}, {QStringLiteral("金額"), Kind::Currency}}, {}}; }

QList<Sample> samples() { return {allKinds(), wideRows(), manyRows(), noRows()}; }

// Rows to be ordered: every kind with Null, ties in every column, Japanese
// readings in kana of each type and width and in kanji, money with and
// without decimals, dates a millisecond apart, and in 数量 one number that is
// not a number (a table ordered by it is ordered in memory). 行 is the row's
// place in the file.
jet::Table orderSample()
{
    jet::Table t{QStringLiteral("並べ替え"),
                 {{QStringLiteral("行"), Kind::Long}, {QStringLiteral("名前"), Kind::Text},
                  {QStringLiteral("番号"), Kind::Long}, {QStringLiteral("数量"), Kind::Double},
                  {QStringLiteral("金額"), Kind::Currency}, {QStringLiteral("日付"), Kind::DateTime},
                  {QStringLiteral("済"), Kind::YesNo}, {QStringLiteral("非数"), Kind::Double}},
                 {}};
    const QStringList names{QStringLiteral("かとう"), QStringLiteral("カトウ"), QStringLiteral("ｶﾄｳ"), QStringLiteral("加藤"),
                            QStringLiteral("がとう"), QStringLiteral("かとー"), QStringLiteral("Kato"), QStringLiteral("kato"),
                            QStringLiteral("髙橋"), QStringLiteral("高橋"), QString()};
    const QDateTime first(QDate(2004, 3, 1), QTime(10, 0));
    for (int r = 0; r < 120; ++r) {
        const int k = (r * 37) % 11;
        t.rows.append({r, names[k].isEmpty() ? QVariant() : QVariant(names[k]), r % 9 == 4 ? QVariant() : QVariant((r * 7) % 13 - 6),
                       r % 10 == 3 ? QVariant() : QVariant(((r * 11) % 17 - 8) * 0.25),
                       r % 8 == 5 ? QVariant() : QVariant::fromValue(Currency::fromRaw(((r * 5) % 7 - 3) * (r % 2 ? 2500 : 10000))),
                       r % 12 == 7 ? QVariant() : QVariant(first.addMSecs((r * 13) % 5)), r % 3 == 0,
                       r == 50 ? QVariant(qQNaN()) : QVariant(double(r % 4))});
    }
    return t;
}

// The same value, of the same type (a number that is not a number too).
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.metaType() != b.metaType() || a.isNull() != b.isNull()) return false;
    if (a.typeId() == QMetaType::Double && std::isnan(a.toDouble())) return std::isnan(b.toDouble());
    return a == b;
}

bool write(const QString& path, jet::Version version, const QList<Sample>& tables, int codePage = 932,
           jet::Layout* layout = nullptr)
{
    QList<jet::Table> out;
    for (const Sample& s : tables) {
        jet::Table t{s.name, s.columns, {}};
        for (const QList<Cell>& row : s.rows) {
            QVariantList values;
            for (const Cell& c : row) values.append(c.value);
            t.rows.append(values);
        }
        out.append(t);
    }
    QString error;
    const bool ok = jet::writeFile(path, version, out, &error, layout, codePage);
    if (!ok) qWarning().noquote() << error;
    return ok;
}

QString expectedCsv(const Sample& s)
{
    QStringList lines;
    QStringList header;
    for (const jet::Column& c : s.columns) header.append(c.name);
    lines.append(header.join(QLatin1Char(',')));
    for (const QList<Cell>& row : s.rows) {
        QStringList cells;
        for (const Cell& c : row) cells.append(c.csv);
        lines.append(cells.join(QLatin1Char(',')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Runs an mdbtools program; its standard output, or nothing when it failed.
// libmdb turns code page 932 into plain Shift-JIS, which lacks the Windows
// characters (髙, ①, ㈱); it is told the Windows code page by name.
std::optional<QString> mdbTool(const QString& program, const QStringList& arguments, bool windowsJapanese = true)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) {
        qWarning().noquote() << program << "is missing: install mdbtools (bash scripts/velt.sh test does)";
        return std::nullopt;
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (windowsJapanese) env.insert(QStringLiteral("MDB_JET3_CHARSET"), QStringLiteral("CP932"));
    p.setProcessEnvironment(env);
    p.start(exe, arguments);
    const bool ran = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    const QByteArray warnings = p.readAllStandardError();
    if (!ran || !warnings.isEmpty()) {  // libmdb warns on stderr about anything it cannot follow
        qWarning().noquote() << program << arguments << QString::fromUtf8(warnings);
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What the program's reader gives for a written value of the kind.
QVariant readBack(const QVariant& v, Kind kind)
{
    switch (kind) {
    case Kind::YesNo: return v.isNull() ? false : v.toBool();
    case Kind::Text:
    case Kind::Memo: return v.isNull() || v.toString().isEmpty() ? QVariant() : v;  // libmdb: an empty text is Null
    default: break;
    }
    if (v.isNull()) return v;
    switch (kind) {
    case Kind::Long: case Kind::Integer: case Kind::Byte: return v.toLongLong();
    case Kind::Double: return v.toDouble();
    case Kind::Single: return static_cast<double>(v.toFloat());
    case Kind::DateTime: return v.typeId() == QMetaType::QDate ? QVariant(QDateTime(v.toDate(), QTime(0, 0))) : v;
    default: return v;
    }
}

}  // namespace

Q_DECLARE_METATYPE(jet::Version)

class TestJetFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void mdbtoolsReadEveryValue_data();
    void mdbtoolsReadEveryValue();
    void programReadsEveryValue_data();
    void programReadsEveryValue();
    void codePageOfTheHeader();
    void orderedReadIsTheOrderOfRows_data();
    void orderedReadIsTheOrderOfRows();
    void unwritableValuesAreRefused_data();
    void unwritableValuesAreRefused();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestJetFile::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestJetFile::mdbtoolsReadEveryValue_data()
{
    QTest::addColumn<jet::Version>("version");
    QTest::newRow("Jet 3") << jet::Version::Jet3;
    QTest::newRow("Jet 4") << jet::Version::Jet4;
}

void TestJetFile::mdbtoolsReadEveryValue()
{
    QFETCH(jet::Version, version);
    const QString path = dir_->filePath(QStringLiteral("all.mdb"));
    const QList<Sample> tables = samples();
    jet::Layout layout;
    QVERIFY(write(path, version, tables, 932, &layout));
    QVERIFY(layout.dataPages.value(QStringLiteral("多数")).size() > 512);  // more than a usage map of the first kind holds

    const auto ver = mdbTool(QStringLiteral("mdb-ver"), {path});
    QVERIFY(ver);
    QCOMPARE(ver->trimmed(), version == jet::Version::Jet3 ? QStringLiteral("JET3") : QStringLiteral("JET4"));
    const auto listed = mdbTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path});
    QVERIFY(listed);
    QStringList names;
    for (const Sample& s : tables) names.append(s.name);
    QCOMPARE(listed->split(QLatin1Char('\n'), Qt::SkipEmptyParts), names);
    for (const Sample& s : tables) {
        const auto csv = mdbTool(QStringLiteral("mdb-export"), {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), path, s.name});
        QVERIFY(csv);
        const QString expected = expectedCsv(s);
        if (*csv != expected) {
            const QStringList got = csv->split(QLatin1Char('\n'));
            const QStringList want = expected.split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < qMin(got.size(), want.size()); ++i)
                QVERIFY2(got[i] == want[i], qPrintable(QStringLiteral("%1, line %2").arg(s.name).arg(i + 1)));
            QCOMPARE(got.size(), want.size());
        }
    }
}

void TestJetFile::programReadsEveryValue_data() { mdbtoolsReadEveryValue_data(); }

void TestJetFile::programReadsEveryValue()
{
    QFETCH(jet::Version, version);
    const QString path = dir_->filePath(QStringLiteral("all.mdb"));
    Sample exact = allKinds();
    // Milliseconds and dates outside what mdb-export prints.
    exact.rows.append({text(QStringLiteral("日付")), null(), null(), null(), null(), null(), null(), null(),
                       {QDateTime(QDate(1899, 12, 29), QTime(6, 0, 0, 1)), {}}, yes(true)});
    exact.rows.append({null(), null(), null(), null(), null(), null(), null(), null(),
                       {QDateTime(QDate(2024, 5, 6), QTime(23, 59, 59, 999)), {}}, yes(false)});
    exact.rows.append({null(), null(), null(), null(), null(), null(), null(), null(), {QDate(100, 1, 1), {}}, yes(false)});
    const QList<Sample> tables{exact, wideRows(), manyRows(), noRows()};
    QVERIFY(write(path, version, tables));
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    LinkFile link;
    QVERIFY2(link.open(path), qPrintable(link.errorText()));
    QCOMPARE(link.format(), version == jet::Version::Jet3 ? LinkFile::Format::Jet3 : LinkFile::Format::Jet4);
    QStringList names;
    for (const Sample& s : tables) names.append(s.name);
    QCOMPARE(link.tables(), names);
    for (const Sample& s : tables) {
        const auto read = link.rows(s.name);
        QVERIFY2(read, qPrintable(link.errorText()));
        QStringList columns;
        for (const jet::Column& c : s.columns) columns.append(c.name);
        QCOMPARE(read->columns, columns);
        QCOMPARE(read->rows.size(), s.rows.size());
        for (qsizetype r = 0; r < s.rows.size(); ++r) {
            for (qsizetype c = 0; c < columns.size(); ++c) {
                const QVariant want = readBack(s.rows[r][c].value, s.columns[c].kind);
                const QVariant got = read->rows[r].value(c);
                QVERIFY2(got == want && got.isNull() == want.isNull(),
                         qPrintable(QStringLiteral("%1 row %2 %3: %4 read as %5")
                                        .arg(s.name).arg(r).arg(columns[c], want.toString(), got.toString())));
            }
        }
    }
    link.close();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == before);
}

void TestJetFile::codePageOfTheHeader()
{
    // A Jet 3 file of another code page: the header names it, and a reader
    // that follows the header (mdbtools does) reads its letters.
    const QString path = dir_->filePath(QStringLiteral("cp1252.mdb"));
    const Sample s{QStringLiteral("Clientèle"), {{QStringLiteral("Ville"), Kind::Text}}, {{text(QStringLiteral("Montréal"))}}};
    QVERIFY(write(path, jet::Version::Jet3, {s}, 1252));
    QCOMPARE(mdbTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path}, false), QStringLiteral("Clientèle\n"));
    QCOMPARE(mdbTool(QStringLiteral("mdb-export"), {path, s.name}, false), expectedCsv(s));
}

void TestJetFile::orderedReadIsTheOrderOfRows_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("text in Japanese order, Null first") << QStringList{QStringLiteral("名前")};
    QTest::newRow("whole numbers, then text") << QStringList{QStringLiteral("番号"), QStringLiteral("名前")};
    QTest::newRow("doubles") << QStringList{QStringLiteral("数量")};
    QTest::newRow("money, then dates") << QStringList{QStringLiteral("金額"), QStringLiteral("日付")};
    QTest::newRow("dates to the millisecond") << QStringList{QStringLiteral("日付")};
    QTest::newRow("yes/no, then money") << QStringList{QStringLiteral("済"), QStringLiteral("金額")};
    QTest::newRow("a number that is not a number") << QStringList{QStringLiteral("非数"), QStringLiteral("番号")};
}

// An ordered read hands the rows over one at a time (from a table ordered
// on disk): the same rows, values and order as the table read whole and
// ordered in memory, equal keys in the file's order.
void TestJetFile::orderedReadIsTheOrderOfRows()
{
    QFETCH(QStringList, order);
    const QString path = dir_->filePath(QStringLiteral("order.mdb"));
    const jet::Table t = orderSample();
    QString error;
    QVERIFY2(jet::writeFile(path, jet::Version::Jet3, {t}, &error), qPrintable(error));
    LinkFile link;
    QVERIFY2(link.open(path), qPrintable(link.errorText()));
    const auto whole = link.rows(t.name, order);
    QVERIFY2(whole, qPrintable(link.errorText()));
    QCOMPARE(whole->rows.size(), t.rows.size());

    QList<QVariantList> handed;
    QVERIFY2(link.forEachRow(t.name, order, WholeRows([&](const LinkRow& row) {
        if (row.columns() != whole->columns) return false;
        handed.append(row.values());
        return true;
    })), qPrintable(link.errorText()));
    QCOMPARE(handed.size(), whole->rows.size());
    for (qsizetype r = 0; r < handed.size(); ++r) {
        const QVariantList& want = whole->rows[r].values();
        QCOMPARE(handed[r].size(), want.size());
        for (qsizetype c = 0; c < want.size(); ++c)
            QVERIFY2(sameValue(handed[r][c], want[c]), qPrintable(QStringLiteral("row %1, %2: %3, ordered in memory %4")
                                                                     .arg(r).arg(whole->columns[c], handed[r][c].toString(),
                                                                                 want[c].toString())));
    }

    // A read stopped by its caller is no failure.
    int seen = 0;
    QVERIFY(!link.forEachRow(t.name, order, [&](LinkCursor&) { return ++seen < 3; }));
    QCOMPARE(seen, 3);
    QCOMPARE(link.error(), LinkFile::Error::None);
}

void TestJetFile::unwritableValuesAreRefused_data()
{
    QTest::addColumn<jet::Version>("version");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("a byte out of range") << jet::Version::Jet4 << int(Kind::Byte) << QVariant(256);
    QTest::newRow("an integer out of range") << jet::Version::Jet4 << int(Kind::Integer) << QVariant(40000);
    QTest::newRow("a long out of range") << jet::Version::Jet3 << int(Kind::Long) << QVariant(qint64(1) << 31);
    QTest::newRow("money that is not a number") << jet::Version::Jet3 << int(Kind::Currency) << QVariant(QStringLiteral("高い"));
    QTest::newRow("a date that is not a date") << jet::Version::Jet4 << int(Kind::DateTime) << QVariant(QStringLiteral("昨日"));
    QTest::newRow("a letter Shift-JIS lacks") << jet::Version::Jet3 << int(Kind::Text) << QVariant(QStringLiteral("Montréal"));
    QTest::newRow("text over 255 characters") << jet::Version::Jet4 << int(Kind::Text) << QVariant(QString(256, QLatin1Char('x')));
}

void TestJetFile::unwritableValuesAreRefused()
{
    QFETCH(jet::Version, version);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    QString error;
    const jet::Table t{QStringLiteral("表"), {{QStringLiteral("列"), static_cast<Kind>(kind)}}, {{value}}};
    QVERIFY(!jet::writeFile(dir_->filePath(QStringLiteral("bad.mdb")), version, {t}, &error));
    QVERIFY(error.contains(QStringLiteral("列")) || error.contains(value.toString()));
}

QTEST_GUILESS_MAIN(TestJetFile)
#include "tst_jet_file.moc"
