#include "platform/GridView.h"
#include "app/DetailWorkTable.h"
#include "app/Session.h"
#include "app/Rounding.h"
#include "app/CodeLists.h"
#include "app/PackColumn.h"
#include "app/SettingsRecord.h"
#include "app/PostalLookup.h"
#include "platform/InputMethod.h"
#include "app/Dialogs.h"
#include "support/TestFolder.h"

#include <QColor>
#include <QLineEdit>
#include <QSqlRecord>
#include <QtTest>

namespace {

// Answers the dialogs as a test tells it and keeps what they were asked.
class FakeDialogs : public DialogProvider {
public:
    QString fileAnswer;
    std::optional<int> colourAnswer;
    int fileCalls = 0;
    QString title, folder;
    QStringList filters;
    int selected = -2;
    int startColour = -2;

    QString openFile(QWidget*, const QString& t, const QString& f, const QStringList& nf, int sel) override
    {
        ++fileCalls;
        title = t;
        folder = f;
        filters = nf;
        selected = sel;
        return fileAnswer;
    }
    std::optional<int> chooseColor(QWidget*, int start) override
    {
        startColour = start;
        return colourAnswer;
    }
};

// "0.29*100" is the exact product of two amounts, anything else one amount.
Decimal amountOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('*'));
    if (parts.size() == 2) return Decimal::product(*Currency::parse(parts[0]), *Currency::parse(parts[1]));
    return *Decimal::parse(text);
}

QStringList snames(Database& db, const QString& kcode)
{
    QStringList out;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("SELECT sname FROM コードマスタ WHERE kcode = ? ORDER BY code"), {kcode}))
        out << (r.value(0).isNull() ? QStringLiteral("<null>") : r.value(0).toString());
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(CodeEntry)

class TestSharedRoutines : public QObject {
    Q_OBJECT
private slots:
    void roundAmount_data();
    void roundAmount();
    void autoEntryCode_data();
    void autoEntryCode();
    void autoEntryCodeKeepsOtherKinds();
    void formatPostalCode_data();
    void formatPostalCode();
    void openFileDialog_data();
    void openFileDialog();
    void colourDialog();
    void imeSwitch();
    void detailWorkRowsInLineOrder();
    void packColumn_data();
    void packColumn();
};

void TestSharedRoutines::roundAmount_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<qint64>("expected");

    const QString down = QStringLiteral("切り捨て"), half = QStringLiteral("四捨五入"), up = QStringLiteral("切り上げ");
    struct Case {
        const char* name;
        const char* amount;
        QString mode;
        qint64 expected;
    };
    const Case cases[] = {
        // Products that binary floating point gets wrong.
        {"0.29x100 down", "0.29*100", down, 29},
        {"-0.29x100 down", "-0.29*100", down, -29},
        {"2.01x250 half", "2.01*250", half, 503},
        {"0.07x100 up", "0.07*100", up, 7},
        {"1.15x100 half", "1.15*100", half, 115},
        // Half away from zero; zero takes the negative side and stays zero.
        {"2.5 half", "2.5", half, 3},
        {"-2.5 half", "-2.5", half, -3},
        {"2.4999 half", "2.4999", half, 2},
        {"-2.4999 half", "-2.4999", half, -2},
        {"0 half", "0", half, 0},
        // Toward zero; an amount a hair (< 1e-8) below a whole number is that number.
        {"2.7 down", "2.7", down, 2},
        {"-2.7 down", "-2.7", down, -2},
        {"2.999999995 down", "2.999999995", down, 3},
        {"2.99999998 down", "2.99999998", down, 2},
        {"0 down", "0", down, 0},
        // Away from zero for every fraction of 0.00001 or more, any other mode.
        {"2.2 up", "2.2", up, 3},
        {"-2.2 up", "-2.2", up, -3},
        {"2 up", "2", up, 2},
        {"2.00001 up", "2.00001", up, 3},
        {"2.000009 up", "2.000009", up, 2},
        {"-2.000009 up", "-2.000009", up, -2},
        {"2.2 empty mode", "2.2", QString(), 3},
        {"2.2 unknown mode", "2.2", QStringLiteral("切上げ"), 3},
        {"0 up", "0", up, 0},
        // The limits are rounded; beyond them the result is 0.
        {"upper limit half", "9999999999.99", half, 10000000000LL},
        {"lower limit half", "-9999999999.99", half, -10000000000LL},
        {"upper limit down", "9999999999.99", down, 9999999999LL},
        {"lower limit up", "-9999999999.99", up, -10000000000LL},
        {"above upper limit", "9999999999.991", half, 0},
        {"below lower limit", "-10000000000", down, 0},
    };
    for (const Case& c : cases) QTest::newRow(c.name) << QString::fromLatin1(c.amount) << c.mode << c.expected;
}

void TestSharedRoutines::roundAmount()
{
    QFETCH(QString, amount);
    QFETCH(QString, mode);
    QFETCH(qint64, expected);
    QCOMPARE(RoundAmount(amountOf(amount), mode), Currency::fromWhole(expected));
}

void TestSharedRoutines::autoEntryCode_data()
{
    // Slots of the kind "単位" before the call ("" = free), the value, the
    // expected result and the slots after it.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<CodeEntry>("result");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("first free slot in code order")
        << QStringList{"個", "", "本"} << "箱" << CodeEntry::Added << QStringList{"個", "箱", "本"};
    QTest::newRow("value already present")
        << QStringList{"個", "", "箱"} << "箱" << CodeEntry::AlreadyPresent << QStringList{"個", "", "箱"};
    QTest::newRow("apostrophe stored as typed")
        << QStringList{"個"} << "2'x4'" << CodeEntry::Added << QStringList{"個", "2'x4'"};
    QTest::newRow("empty value writes nothing") << QStringList{"個"} << "" << CodeEntry::Failed << QStringList{"個", ""};
}

void TestSharedRoutines::autoEntryCode()
{
    QFETCH(QStringList, before);
    QFETCH(QString, value);
    QFETCH(CodeEntry, result);
    QFETCH(QStringList, after);

    TestFolder data;
    Database db;
    QVERIFY(db.open(data.dataDbPath()));
    const QString kind = QStringLiteral("単位");
    for (int i = 0; i < before.size(); ++i)
        QVERIFY(db.exec(QStringLiteral("UPDATE コードマスタ SET sname = ? WHERE kcode = ? AND code = ?"),
                                     {before[i].isEmpty() ? QVariant() : QVariant(before[i]), kind,
                                      QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))}));

    QCOMPARE(AutoEntryCode(db, kind, value), result);
    QStringList expected = after;
    for (QString& s : expected)
        if (s.isEmpty()) s = QStringLiteral("<null>");
    QCOMPARE(snames(db, kind).mid(0, expected.size()), expected);
    // Nothing beyond the slots the case names was touched.
    for (const QString& s : snames(db, kind).mid(expected.size())) QCOMPARE(s, QStringLiteral("<null>"));
}

void TestSharedRoutines::autoEntryCodeKeepsOtherKinds()
{
    TestFolder data;
    Database db;
    QVERIFY(db.open(data.dataDbPath()));
    // A full kind writes nothing.
    QVERIFY(db.exec(QStringLiteral("UPDATE コードマスタ SET sname = 'x' || code WHERE kcode = '納期'")));
    const QStringList full = snames(db, QStringLiteral("納期"));
    QCOMPARE(full.size(), 99);
    QCOMPARE(AutoEntryCode(db, QStringLiteral("納期"), QStringLiteral("即納")), CodeEntry::ListFull);
    QCOMPARE(snames(db, QStringLiteral("納期")), full);

    // A kind with a quote, or one without rows, reaches no other kind's slots.
    const auto filled = [&db] {
        return db.scalar(QStringLiteral("SELECT count(*) FROM コードマスタ WHERE sname IS NOT NULL")).toInt();
    };
    const int before = filled();
    QCOMPARE(AutoEntryCode(db, QStringLiteral("単位' OR kcode <> '"), QStringLiteral("侵入")), CodeEntry::ListFull);
    QCOMPARE(AutoEntryCode(db, QStringLiteral("存在しない種類"), QStringLiteral("侵入")), CodeEntry::ListFull);
    QCOMPARE(filled(), before);

    // A free-text pack title is a kind of its own (only its own slots exist).
    QVERIFY(db.exec(QStringLiteral("INSERT INTO コードマスタ (kcode, code, sname) VALUES (?, '01', NULL)"),
                    {QStringLiteral("規'格")}));
    QCOMPARE(AutoEntryCode(db, QStringLiteral("規'格"), QStringLiteral("10個入")), CodeEntry::Added);
    QCOMPARE(snames(db, QStringLiteral("規'格")), QStringList{QStringLiteral("10個入")});
    QCOMPARE(filled(), before + 1);

    // A slot that cannot be written is a failure, and nothing is written.
    QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON コードマスタ BEGIN SELECT RAISE(ABORT, 'locked'); END")));
    QCOMPARE(AutoEntryCode(db, QStringLiteral("単位"), QStringLiteral("箱")), CodeEntry::Failed);
    QCOMPARE(filled(), before + 1);
}

void TestSharedRoutines::formatPostalCode_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("seven digits") << "1234567" << "123-4567";
    QTest::newRow("seven full-width") << "１２３４５６７" << "１２３-４５６７";
    QTest::newRow("seven non-digits") << "abcdefg" << "abc-defg";
    QTest::newRow("already with hyphen") << "123-4567" << "123-4567";
    QTest::newRow("hyphen elsewhere, seven long") << "12-4567" << "12-4567";
    QTest::newRow("six") << "123456" << "123456";
    QTest::newRow("eight") << "12345678" << "12345678";
    QTest::newRow("empty") << "" << "";
}

void TestSharedRoutines::formatPostalCode()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatPostalCode(value), expected);
}

void TestSharedRoutines::openFileDialog_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::addColumn<QString>("answer");

    QTest::newRow("one exact file") << "MDB ファイル(*.mdb)|moxeldata.mdb|"
                                    << QStringList{"MDB ファイル(*.mdb) (moxeldata.mdb)"} << "/x/y/moxeldata.mdb";
    QTest::newRow("two filters, several patterns")
        << "MDB(*.mdb)|*.mdb;*.accdb|すべて|*.*|"
        << QStringList{"MDB(*.mdb) (*.mdb *.accdb)", "すべて (*.*)"} << "/x/a.mdb";
    QTest::newRow("no bar: one filter") << "*.mdb" << QStringList{"*.mdb (*.mdb)"} << "/x/a.mdb";
    QTest::newRow("empty filter lists all files") << "" << QStringList{} << "/x/any.dat";
    QTest::newRow("one character lists all files") << "|" << QStringList{} << "/x/any.dat";
    QTest::newRow("cancelled") << "MDB ファイル(*.mdb)|moxeldata.mdb|"
                               << QStringList{"MDB ファイル(*.mdb) (moxeldata.mdb)"} << "";
}

void TestSharedRoutines::openFileDialog()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QFETCH(QString, answer);

    TestFolder data;
    SessionOptions options;
    options.driveRoot = data.driveRoot();
    Session session(options);
    FakeDialogs fake;
    fake.fileAnswer = answer;
    session.setDialogs(&fake);

    FileDialogRecord r;
    r.Filter = filter;
    r.FilterIndex = 1;
    r.DialogTitle = QStringLiteral("顧客リンクパスを指定する");
    r.InitDir = QStringLiteral("c:\\");
    r.FileName = QStringLiteral("old");
    r.FileTitle = QStringLiteral("old");
    const int result = ShowOpenFileDialog(session, nullptr, r);

    QCOMPARE(fake.fileCalls, 1);
    QCOMPARE(fake.filters, nameFilters);
    QCOMPARE(fake.selected, 0);
    QCOMPARE(fake.title, QStringLiteral("顧客リンクパスを指定する"));
    QCOMPARE(fake.folder, session.mapDrivePath(QStringLiteral("c:\\")));
    QVERIFY(fake.folder.startsWith(data.driveRoot()));
    QCOMPARE(result != 0, !answer.isEmpty());
    QCOMPARE(r.FileName, answer);
    QCOMPARE(r.FileTitle, answer.isEmpty() ? QString() : answer.section(QLatin1Char('/'), -1));
}

void TestSharedRoutines::colourDialog()
{
    // Windows order: red in the low byte.
    QCOMPARE(WindowsColour(QColor(0x12, 0x34, 0x56)), 0x12 + 0x34 * 256 + 0x56 * 65536);
    QCOMPARE(ColourFromWindows(0x563412), QColor(0x12, 0x34, 0x56));

    Session session;
    FakeDialogs fake;
    session.setDialogs(&fake);
    fake.colourAnswer = 255;
    QCOMPARE(ShowColorDialog(session, nullptr, 65280), 255);
    QCOMPARE(fake.startColour, 65280);
    fake.colourAnswer = 0;  // black is a choice, not a cancel
    QCOMPARE(ShowColorDialog(session, nullptr, 255), 0);
    fake.colourAnswer.reset();
    QCOMPARE(ShowColorDialog(session, nullptr, 255), -1);
}

void TestSharedRoutines::imeSwitch()
{
    QLineEdit edit;
    SetImeOpen(&edit, false);
    QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(edit.inputMethodHints() & Qt::ImhLatinOnly);
    SetImeOpen(&edit, true);
    QVERIFY(edit.testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!(edit.inputMethodHints() & (Qt::ImhLatinOnly | Qt::ImhPreferLatin)));

    GridView grid;
    SetImeOpen(&grid, false);
    QVERIFY(!grid.inputMethodEnabled());
    SetImeOpen(&grid, true);
    QVERIFY(grid.inputMethodEnabled());

    SetImeOpen(nullptr, true);  // no control, nothing to switch
}

// w明細 read by 行番号 whatever order its rows were written in; a row without
// a number last, rows of one number as written.
void TestSharedRoutines::detailWorkRowsInLineOrder()
{
    TestFolder folder;
    Database work;
    QVERIFY(work.open(folder.workDbPath(), Database::Role::Work));
    QVERIFY(work.exec(QStringLiteral("delete from w明細")));
    QVERIFY(work.exec(QStringLiteral("insert into w明細 (行番号, 品名) values "
                                     "(3, 'c'), (NULL, 'x'), (1, 'a'), (2, 'b1'), (10, 'd'), (2, 'b2')")));
    bool ok = false;
    const QList<QuotationLine> rows = ReadDetailWorkRows(work, &ok);
    QVERIFY(ok);
    QStringList names;
    for (const QuotationLine& r : rows) names << r.品名.toString();
    QCOMPARE(names, (QStringList{"a", "b1", "b2", "c", "d", "x"}));

    QVERIFY(work.exec(QStringLiteral("drop table w明細")));
    QVERIFY(ReadDetailWorkRows(work, &ok).isEmpty());
    QVERIFY(!ok);
}

// The 入数列タイトル setting names the pack-quantity column and its code kind.
void TestSharedRoutines::packColumn_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty") << "" << "入　数" << "入数";
    QTest::newRow("入数") << "入数" << "入　数" << "入数";
    QTest::newRow("規格") << "規格" << "規　格" << "規格";
    QTest::newRow("free text") << "ケース" << "ケース" << "ケース";
    QTest::newRow("with a quote") << "O'size" << "O'size" << "O'size";
    QTest::newRow("blank not trimmed") << " 入数" << " 入数" << " 入数";
}

void TestSharedRoutines::packColumn()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QFETCH(QString, kind);
    QCOMPARE(PackColumnCaption(title), caption);
    SettingsRecord settings;
    settings.入数列タイトル = title;
    QCOMPARE(PackCodeKind(settings), kind);
}

QTEST_MAIN(TestSharedRoutines)
#include "tst_shared_routines.moc"
