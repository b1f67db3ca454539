// Ending the program while something still runs below the event loop, with
// the program as a real process (velt_shutdown_probe): a box or dialog of a
// secondary window waiting for an answer when the session asks the program to
// quit, a data conversion or a customer-list save when the main window is
// closed or the program asked to quit. Each run must end normally with exit
// code 0, both files whole, and nothing written half.

#include "masters/FrmCustomer.h"
#include "platform/Database.h"
#include "support/FindControl.h"
#include "support/OldDataFile.h"
#include "support/RecordingQuotationPort.h"
#include "support/SessionFixture.h"
#include "support/TestFolder.h"

#include <QFrame>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

struct ProbeRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString output;
};

ProbeRun runProbe(const TestFolder& folder, const QString& scenario, const QStringList& extra = {})
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(SHUTDOWN_PROBE),
                QStringList{folder.programFolder(), folder.driveRoot(),
                            QStringLiteral("velt-shutdown-%1").arg(QCoreApplication::applicationPid()), scenario} +
                    extra);
    ProbeRun run;
    if (!probe.waitForFinished(120000)) {
        probe.kill();
        probe.waitForFinished();
        run.output = QStringLiteral("the program did not end\n");
    }
    run.output += QString::fromUtf8(probe.readAll());
    run.status = probe.exitStatus();
    run.exitCode = probe.exitCode();
    return run;
}

QStringList tablesOf(Database& db)
{
    QStringList out;
    for (const QString& row :
         QueryCells(db, QStringLiteral("select name from sqlite_master where type = 'table' order by name")))
        out << row.mid(1, row.size() - 2);  // the quotes of a text cell
    return out;
}

// The file is whole; returns what its tables hold.
QStringList checkedSnapshot(const QString& path, Database::Role role, bool* whole)
{
    Database db;
    *whole = db.open(path, role, false) &&
             db.scalar(QStringLiteral("pragma integrity_check")).toString() == QLatin1String("ok");
    return *whole ? TableSnapshot(db, tablesOf(db)) : QStringList{};
}

int countOf(const QString& path, const QString& sql)
{
    Database db;
    return db.open(path, Database::Role::Data, false) ? db.scalar(sql).toInt() : -1;
}

void verifyEndedCleanly(const ProbeRun& run)
{
    QVERIFY2(run.status == QProcess::NormalExit && run.exitCode == 0, qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("ended: 0")), qPrintable(run.output));
}

}  // namespace

class TestShutdown : public QObject {
    Q_OBJECT
private slots:
    void quitWithBoxOrDialogOpen_data();
    void quitWithBoxOrDialogOpen();
    void endDuringConversion_data();
    void endDuringConversion();
    void closeDuringListSave();
    void secondaryWindowStaysDuringItsSave();
};

void TestShutdown::quitWithBoxOrDialogOpen_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("shown");
    QTest::newRow("コード表 登録 question") << "box-code" << "QMessageBox";
    QTest::newRow("顧客情報 登録 question") << "box-customer" << "QMessageBox";
    QTest::newRow("商品情報 登録 question") << "box-product" << "QMessageBox";
    QTest::newRow("印刷設定 A4 登録 question") << "box-a4" << "QMessageBox";
    QTest::newRow("colour dialog") << "colour" << "QColorDialog";
    QTest::newRow("postal look-up") << "postal" << "PostalLookupDialog";
}

// The box or dialog ends as No/Cancel, so nothing is written; the program
// ends once the handler that opened it has returned.
void TestShutdown::quitWithBoxOrDialogOpen()
{
    QFETCH(QString, scenario);
    QFETCH(QString, shown);
    TestFolder folder;
    bool whole = false;
    const QStringList before = checkedSnapshot(folder.dataDbPath(), Database::Role::Data, &whole);
    QVERIFY(whole);

    const ProbeRun run = runProbe(folder, scenario);
    verifyEndedCleanly(run);
    QVERIFY2(run.output.contains(QStringLiteral("modal: ") + shown), qPrintable(run.output));

    QCOMPARE(checkedSnapshot(folder.dataDbPath(), Database::Role::Data, &whole), before);
    QVERIFY(whole);
    checkedSnapshot(folder.workDbPath(), Database::Role::Work, &whole);
    QVERIFY(whole);
}

void TestShutdown::endDuringConversion_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("main window closed") << "close-conversion";
    QTest::newRow("session quits") << "quit-conversion";
}

// The conversion is not torn: it runs to its end (its closing message shows),
// then the program ends with every older row converted.
void TestShutdown::endDuringConversion()
{
    QFETCH(QString, scenario);
    constexpr int kCustomers = 3000;
    TestFolder folder;
    QVERIFY(OldDataFile::create(
        folder.dataFolder() + QStringLiteral("VeltData.mdb"),
        {QStringLiteral("insert into 顧客マスタ with recursive n(i) as (select 1 union all select i + 1 from n "
                        "where i < %1) select '旧顧客' || i, NULL, 'きゅう' || i, '様' from n")
             .arg(kCustomers),
         QStringLiteral("insert into 商品マスタ values ('ペン', NULL, '10', '本', 100, 0, 'ぺん')")}));

    const ProbeRun run = runProbe(folder, scenario);
    verifyEndedCleanly(run);
    QVERIFY2(run.output.contains(QStringLiteral("busy: ending")), qPrintable(run.output));
    if (scenario.startsWith(QLatin1String("close-")))  // its closing message, answered before the end
        QVERIFY2(run.output.contains(QStringLiteral("modal: QMessageBox")), qPrintable(run.output));

    bool whole = false;
    checkedSnapshot(folder.dataDbPath(), Database::Role::Data, &whole);
    QVERIFY(whole);
    QCOMPARE(countOf(folder.dataDbPath(), QStringLiteral("select count(*) from 顧客マスタ where 顧客名 like '旧顧客%'")),
             kCustomers);
    QCOMPARE(countOf(folder.dataDbPath(), QStringLiteral("select count(*) from 商品マスタ where 品名 = 'ペン'")), 1);
}

// A close while the customer list is being saved waits for the save: every
// row is stored, none half.
void TestShutdown::closeDuringListSave()
{
    constexpr int kCustomers = 5000;
    TestFolder folder;
    const ProbeRun run = runProbe(folder, QStringLiteral("close-list-save"), {QString::number(kCustomers)});
    verifyEndedCleanly(run);
    QVERIFY2(run.output.contains(QStringLiteral("busy: ending")), qPrintable(run.output));

    bool whole = false;
    checkedSnapshot(folder.dataDbPath(), Database::Role::Data, &whole);
    QVERIFY(whole);
    QCOMPARE(countOf(folder.dataDbPath(), QStringLiteral("select count(*) from 顧客マスタ where 顧客名 like '顧客%'")),
             kCustomers);
}

// The customer window itself closed while its list is being saved (the
// close comes in through the busy label's event processing): it stays until
// its handler has returned, and the save is whole.
void TestShutdown::secondaryWindowStaysDuringItsSave()
{
    RecordingQuotationPort quotation;
    SessionFixture f;
    QVERIFY(f.open());
    QPointer<FrmCustomer> customers = f.openWindow<FrmCustomer>(QStringLiteral("Frm顧客情報"), quotation);
    QVERIFY(customers);
    QVERIFY(f.work().exec(QStringLiteral("insert into w顧客マスタ (行, 顧客名, ふりがな) values (1, 'A社', 'えー'), (2, 'B社', 'びー')")));
    struct CloseOnShow : QObject {
        QWidget* window;
        bool asked = false;
        CloseOnShow(QObject* parent, QWidget* w) : QObject(parent), window(w) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Show && !asked) {
                asked = true;
                QTimer::singleShot(0, window, &QWidget::close);
            }
            return false;
        }
    };
    auto* busy = control<QFrame>(*customers, "CnKokyakuMsg");
    auto* closer = new CloseOnShow(busy, customers);
    busy->installEventFilter(closer);

    control<QPushButton>(*customers, "cmd登録")->click();
    QVERIFY(closer->asked);
    QVERIFY(!customers.isNull());
    QVERIFY(customers->isVisible());
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 顧客マスタ where 顧客名 in ('A社', 'B社')")).toInt(), 2);
    // Once the save has ended it closes as usual.
    customers->close();
    QTRY_VERIFY(customers.isNull());
}

QTEST_MAIN(TestShutdown)
#include "tst_shutdown.moc"
