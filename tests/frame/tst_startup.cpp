#include "app/SettingsTab.h"
#include "frame/Startup.h"
#include "frame/Velt.h"
#include "masters/HintWindow.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "support/MainWindowFixture.h"
#include "workspace/HistoryTab.h"
#include "workspace/QuotationTab.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void freshDataFolderOpensBothDatabases();
    void unopenableDatabaseStopsStartup_data();
    void unopenableDatabaseStopsStartup();
    void workDatabaseWithoutBoundTablesStopsStartup_data();
    void workDatabaseWithoutBoundTablesStopsStartup();
    void exitWithWindowsOpenEndsCleanly();
    void markerFileSelectsDeveloperFolders();
    void secondStartBringsFirstForwardAndTouchesNothing();
    void closingClosesEverythingLastOpenedFirst_data();
    void closingClosesEverythingLastOpenedFirst();
    void openerShowsOneWindowAndHintGetsItsKey();
    void ownCompanyLabelsJumpToSettings();
};

void TestStartup::freshDataFolderOpensBothDatabases()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.window.isVisible());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Velt 見積書"));
    QVERIFY(f.data().isOpen());
    QVERIFY(f.work().isOpen());
    QCOMPARE(f.session.DataDbPath(), f.folder.dataDbPath());
    QCOMPARE(f.session.WorkDbPath(), f.folder.workDbPath());
    QCOMPARE(f.session.PostalDictionaryPath(), f.folder.postalPath());
    QCOMPARE(f.window.SSTab1->count(), 3);
    QVERIFY(f.messages.shown().isEmpty());
    f.window.close();
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
}

void TestStartup::unopenableDatabaseStopsStartup_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("present");
    QTest::newRow("work database missing") << "VeltWork2K.mdb" << "VeltData2K.mdb";
    QTest::newRow("data database missing") << "VeltData2K.mdb" << "VeltWork2K.mdb";
}

void TestStartup::unopenableDatabaseStopsStartup()
{
    QFETCH(QString, missing);
    QFETCH(QString, present);
    MainWindowFixture f{QStringList{present}};
    const QByteArray before = fileHash(f.folder.dataFolder() + present);
    QVERIFY(!f.open());

    // One error box that names the file and gives the engine's words.
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(missing), qPrintable(box.text));
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    // Nothing created, nothing written.
    QCOMPARE(filesIn(f.folder.dataFolder()), QStringList{present});
    QCOMPARE(fileHash(f.folder.dataFolder() + present), before);
}

// A work file that opens but lacks a table or a column the windows bind to:
// the start-up error box names the file and what is missing, and the program
// ends without writing to either file.
void TestStartup::workDatabaseWithoutBoundTablesStopsStartup_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("missing");
    QTest::newRow("no w明細") << "drop table w明細" << "w明細";
    QTest::newRow("w明細 without 小計") << "alter table w明細 drop column 小計" << "小計";
    QTest::newRow("w商品参照 without ふりがな") << "alter table w商品参照 drop column ふりがな" << "ふりがな";
    QTest::newRow("no w履歴リスト") << "drop table w履歴リスト" << "w履歴リスト";
    QTest::newRow("no w単位参照") << "drop table w単位参照" << "w単位参照";
}

void TestStartup::workDatabaseWithoutBoundTablesStopsStartup()
{
    QFETCH(QString, damage);
    QFETCH(QString, missing);
    MainWindowFixture f;
    f.folder.prepare({damage}, f.folder.workDbPath());
    const QByteArray data = fileHash(f.folder.dataDbPath());
    const QByteArray work = fileHash(f.folder.workDbPath());
    const QStringList files = filesIn(f.folder.dataFolder());

    QVERIFY(!f.open());

    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(QStringLiteral("VeltWork2K.mdb")), qPrintable(box.text));
    QVERIFY2(box.text.contains(missing), qPrintable(box.text));
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    QCOMPARE(fileHash(f.folder.dataDbPath()), data);
    QCOMPARE(fileHash(f.folder.workDbPath()), work);
    QCOMPARE(filesIn(f.folder.dataFolder()), files);
}

// The program as a real process: its event loop ends by QCoreApplication::exit()
// while secondary windows are open, without the main window's close handler.
// The session closes the windows and the databases before the application
// object goes, so the process ends normally.
void TestStartup::exitWithWindowsOpenEndsCleanly()
{
    TestFolder folder;
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(EXIT_PROBE), {folder.programFolder(), folder.driveRoot(),
                                             QStringLiteral("velt-probe-%1").arg(QCoreApplication::applicationPid())});
    if (!probe.waitForFinished(60000)) {
        probe.kill();
        QFAIL("the program did not end");
    }
    const QString output = QString::fromLocal8Bit(probe.readAll());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() == 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("windows open: 3")), qPrintable(output));
    // The work file was written by the run and is whole afterwards.
    Database work;
    QVERIFY(work.open(folder.workDbPath(), Database::Role::Work, false));
    QCOMPARE(work.scalar(QStringLiteral("select count(*) from w明細")).toInt(), 100);
}

void TestStartup::markerFileSelectsDeveloperFolders()
{
    MainWindowFixture f{QStringList{}};  // nothing in the program's own data folder
    const QString marker = f.session.mapDrivePath(Session::DeveloperMarkerFile);
    const QString devData = Paths::withSlash(f.session.mapDrivePath(Session::DeveloperDataFolder));
    const QString devPostal = Paths::withSlash(f.session.mapDrivePath(Session::DeveloperPostalFolder));
    QVERIFY(marker.startsWith(f.folder.driveRoot()));
    QVERIFY(QDir().mkpath(devData));
    QVERIFY(QDir().mkpath(QFileInfo(marker).path()));
    { QFile m(marker); QVERIFY(m.open(QIODevice::WriteOnly)); }
    for (const QString& file : {QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb")})
        QVERIFY(TestFolder::copyShipped(file, devData + file));
    QVERIFY(f.open());
    QCOMPARE(f.session.DataFolder(), devData);
    QCOMPARE(f.session.DataDbPath(), devData + QStringLiteral("VeltData2K.mdb"));
    QCOMPARE(f.session.PostalDictionaryPath(), devPostal + QStringLiteral("yubin2000.mdb"));
    QVERIFY(f.work().isOpen());
}

void TestStartup::secondStartBringsFirstForwardAndTouchesNothing()
{
    TestFolder folder{QStringList{}};  // a start that loaded would fail here and show an error
    const QString key = QStringLiteral("velt-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(key);
    QVERIFY(first.tryBecomePrimary());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    QCOMPARE(StartProgram(MainWindowFixture::optionsFor(folder), key), 0);
    QTRY_COMPARE(activated.count(), 1);
    QVERIFY(filesIn(folder.dataFolder()).isEmpty());
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget* t : tops) QVERIFY(t->objectName() != QStringLiteral("Velt") || !t->isVisible());
}

void TestStartup::closingClosesEverythingLastOpenedFirst_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc in a text box") << "esc";
    QTest::newRow("cmd閉じる") << "cmd閉じる";
    QTest::newRow("cmd履歴閉じる") << "cmd履歴閉じる";
    QTest::newRow("cmd設定閉じる") << "cmd設定閉じる";
}

void TestStartup::closingClosesEverythingLastOpenedFirst()
{
    QFETCH(QString, how);
    MainWindowFixture f;
    QVERIFY(f.open());
    f.quotation().cmdコード->click();
    f.quotation().cmd顧客マスタ->click();
    QStringList closed;
    for (QWidget* win : f.session.windows().openWindows()) {
        const QString name = win->objectName();
        connect(win, &QObject::destroyed, this, [&closed, name] { closed << name; });
    }
    QCOMPARE(f.session.windows().openWindows().size(), 2);

    if (how == QLatin1String("esc")) {
        f.window.SSTab1->setCurrentIndex(0);
        QTest::keyClick(f.quotation().txt件名, Qt::Key_Escape);
    } else {
        f.window.findChild<QPushButton*>(how)->click();
    }
    QTRY_VERIFY(!f.window.isVisible());
    QCOMPARE(closed, (QStringList{QStringLiteral("Frm顧客情報"), QStringLiteral("Frmコード")}));
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    QVERIFY(f.messages.shown().isEmpty());  // no question asked
}

void TestStartup::openerShowsOneWindowAndHintGetsItsKey()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    f.quotation().cmdコード->click();
    f.quotation().cmdコード->click();
    int codeWindows = 0;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QStringLiteral("Frmコード") && t->isVisible()) ++codeWindows;
    QCOMPARE(codeWindows, 1);
    QCOMPARE(f.session.windows().find(QStringLiteral("Frmコード"))->windowTitle(), QStringLiteral("コード表"));

    f.settings().cmdHint->click();
    auto* hint = qobject_cast<HintWindow*>(f.session.windows().find(QStringLiteral("Hint")));
    QVERIFY(hint);
    QCOMPARE(hint->lblFormName->text(), QStringLiteral("Velt"));
    QCOMPARE(hint->lblCtlName->text(), QStringLiteral("cmdHint"));
    QCOMPARE(hint->lblFormTitle->text(), QStringLiteral("Velt 見積書"));

    // A closed window comes back afresh on the next click.
    QWidget* code = f.session.windows().find(QStringLiteral("Frmコード"));
    QPointer<QWidget> old(code);
    code->close();
    QTRY_VERIFY(old.isNull());
    f.quotation().cmdコード->click();
    QVERIFY(f.session.windows().find(QStringLiteral("Frmコード")) != nullptr);
}

void TestStartup::ownCompanyLabelsJumpToSettings()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::mouseDClick(f.quotation().lbl自社名, Qt::LeftButton);
    QCOMPARE(f.window.SSTab1->currentIndex(), 2);
    QTRY_VERIFY(f.settings().txt自社名->hasFocus());
    f.window.SSTab1->setCurrentIndex(0);
    QTest::mouseDClick(f.quotation().lbl自社情報, Qt::LeftButton);
    QCOMPARE(f.window.SSTab1->currentIndex(), 2);
    QTRY_VERIFY(f.settings().txt自社情報->hasFocus());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
