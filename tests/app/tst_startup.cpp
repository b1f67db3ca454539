#include "MasterWindows.h"
#include "ModVelt.h"
#include "Paths.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TestSupport.h"
#include "Velt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
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
    void markerFileSelectsDeveloperFolders();
    void secondStartBringsFirstForwardAndTouchesNothing();
    void closingClosesEverythingLastOpenedFirst_data();
    void closingClosesEverythingLastOpenedFirst();
    void openerShowsOneWindowAndHintGetsItsKey();
    void ownCompanyLabelsJumpToSettings();
};

void TestStartup::freshDataFolderOpensBothDatabases()
{
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("Velt 見積書"));
    QVERIFY(ModVelt::DataDb.isOpen());
    QVERIFY(ModVelt::WorkDb.isOpen());
    QCOMPARE(ModVelt::DataDbPath, data.dataDbPath());
    QCOMPARE(ModVelt::WorkDbPath, data.workDbPath());
    QCOMPARE(ModVelt::PostalDictionaryPath, data.postalPath());
    QCOMPARE(w.SSTab1->count(), 3);
    QVERIFY(data.messages().shown().isEmpty());
    w.close();
    QVERIFY(!ModVelt::DataDb.isOpen());
    QVERIFY(!ModVelt::WorkDb.isOpen());
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
    TestData data{QStringList{present}};
    const QByteArray before = fileHash(data.dataFolder() + present);

    Velt w({data.programFolder()});
    QVERIFY(!w.Form_Load());

    // One error box that names the file and gives the engine's words.
    QCOMPARE(data.messages().shown().size(), 1);
    const MessageBoxSpec& box = data.messages().shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(missing), qPrintable(box.text));
    QVERIFY(!w.isVisible());
    QVERIFY(!ModVelt::DataDb.isOpen());
    QVERIFY(!ModVelt::WorkDb.isOpen());
    // Nothing created, nothing written.
    QCOMPARE(filesIn(data.dataFolder()), QStringList{present});
    QCOMPARE(fileHash(data.dataFolder() + present), before);
}

void TestStartup::markerFileSelectsDeveloperFolders()
{
    TestData data{QStringList{}};  // nothing in the program's own data folder
    const QString marker = Paths::mapDrivePath(ModVelt::DeveloperMarkerFile);
    const QString devData = Paths::withSlash(Paths::mapDrivePath(ModVelt::DeveloperDataFolder));
    const QString devPostal = Paths::withSlash(Paths::mapDrivePath(ModVelt::DeveloperPostalFolder));
    QVERIFY(marker.startsWith(data.driveRoot()));
    QVERIFY(QDir().mkpath(devData));
    QVERIFY(QDir().mkpath(QFileInfo(marker).path()));
    { QFile f(marker); QVERIFY(f.open(QIODevice::WriteOnly)); }
    for (const QString& f : {QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb")})
        QVERIFY(TestData::copyShipped(f, devData + f));

    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    QCOMPARE(ModVelt::DataFolder, devData);
    QCOMPARE(ModVelt::DataDbPath, devData + QStringLiteral("VeltData2K.mdb"));
    QCOMPARE(ModVelt::PostalDictionaryPath, devPostal + QStringLiteral("yubin2000.mdb"));
    QVERIFY(ModVelt::WorkDb.isOpen());
}

void TestStartup::secondStartBringsFirstForwardAndTouchesNothing()
{
    TestData data{QStringList{}};  // a start that loaded would fail here and show an error
    const QString key = QStringLiteral("velt-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(key);
    QVERIFY(first.tryBecomePrimary());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    QCOMPARE(StartProgram({data.programFolder()}, key, false), 0);
    QTRY_COMPARE(activated.count(), 1);
    QVERIFY(data.messages().shown().isEmpty());
    QVERIFY(filesIn(data.dataFolder()).isEmpty());
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
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    w.cmdコード->click();
    w.cmd顧客マスタ->click();
    QStringList closed;
    for (QWidget* win : w.windows().openWindows()) {
        const QString name = win->objectName();
        connect(win, &QObject::destroyed, this, [&closed, name] { closed << name; });
    }
    QCOMPARE(w.windows().openWindows().size(), 2);

    if (how == QLatin1String("esc")) {
        w.SSTab1->setCurrentIndex(0);
        QTest::keyClick(w.txt件名, Qt::Key_Escape);
    } else {
        w.findChild<QPushButton*>(how)->click();
    }
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(closed, (QStringList{QStringLiteral("Frm顧客情報"), QStringLiteral("Frmコード")}));
    QVERIFY(!ModVelt::DataDb.isOpen());
    QVERIFY(!ModVelt::WorkDb.isOpen());
    QVERIFY(data.messages().shown().isEmpty());  // no question asked
}

void TestStartup::openerShowsOneWindowAndHintGetsItsKey()
{
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    w.cmdコード->click();
    w.cmdコード->click();
    int codeWindows = 0;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QStringLiteral("Frmコード") && t->isVisible()) ++codeWindows;
    QCOMPARE(codeWindows, 1);
    QCOMPARE(w.windows().find(QStringLiteral("Frmコード"))->windowTitle(), QStringLiteral("コード表"));

    w.cmdHint->click();
    auto* hint = qobject_cast<HintWindow*>(w.windows().find(QStringLiteral("Hint")));
    QVERIFY(hint);
    QCOMPARE(hint->lblFormName->text(), QStringLiteral("Velt"));
    QCOMPARE(hint->lblCtlName->text(), QStringLiteral("cmdHint"));
    QCOMPARE(hint->lblFormTitle->text(), QStringLiteral("Velt 見積書"));

    // A closed window comes back afresh on the next click.
    QWidget* code = w.windows().find(QStringLiteral("Frmコード"));
    QPointer<QWidget> old(code);
    code->close();
    QTRY_VERIFY(old.isNull());
    w.cmdコード->click();
    QVERIFY(w.windows().find(QStringLiteral("Frmコード")) != nullptr);
}

void TestStartup::ownCompanyLabelsJumpToSettings()
{
    TestData data;
    Velt w({data.programFolder()});
    QVERIFY(w.Form_Load());
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::mouseDClick(w.lbl自社名, Qt::LeftButton);
    QCOMPARE(w.SSTab1->currentIndex(), 2);
    QTRY_VERIFY(w.txt自社名->hasFocus());
    w.SSTab1->setCurrentIndex(0);
    QTest::mouseDClick(w.lbl自社情報, Qt::LeftButton);
    QCOMPARE(w.SSTab1->currentIndex(), 2);
    QTRY_VERIFY(w.txt自社情報->hasFocus());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
