// The customer-search library as it is shipped: what it exports, how the
// set-up registers and unregisters it, and the quotation tab's 参照 with the
// real library.

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentAbi.h"
#include "platform/ComponentRegistry.h"
#include "CustomerSearchSupport.h"
#include "support/MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>

namespace {

const QString kLibrary = QStringLiteral(PELMAR_LIBRARY);

QString classId()
{
    return QString::fromLatin1(ClsPelmarInterface::ClassId);
}

// Runs the registering tool on a registry file; returns its exit code.
int runRegister(const QString& registry, const QStringList& args, const QString& workingDir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELT_COMPONENT_REGISTRY"), registry);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workingDir);
    p.start(QStringLiteral(PELMAR_REGISTER), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) return -1;
    return p.exitCode();
}

template <typename T>
T* control(QWidget* window, const QString& name)
{
    T* c = window->findChild<T*>(name);
    if (!c) qWarning() << "no control" << name;
    return c;
}

}  // namespace

class TestCustomerSearchLibrary : public QObject {
    Q_OBJECT
private slots:
    void exportsOnlyTheEntryPoints();
    void registerToolWritesAndRemovesTheClass();
    void searchFromTheQuotationTab();
};

void TestCustomerSearchLibrary::exportsOnlyTheEntryPoints()
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty()) QSKIP("nm is not installed");
    QProcess p;
    p.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), kLibrary});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QStringList symbols;
    for (const QString& line : QString::fromLocal8Bit(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        symbols << line.section(u' ', -1);
    symbols.sort();
    QCOMPARE(symbols, (QStringList{u"DllCreateInstance"_qs, u"DllRegisterServer"_qs, u"DllUnregisterServer"_qs}));
}

void TestCustomerSearchLibrary::registerToolWritesAndRemovesTheClass()
{
    QTemporaryDir dir;
    const QString registry = dir.filePath(QStringLiteral("config/components.json"));
    const QString other = QStringLiteral("{00000000-1111-2222-3333-444444444444}");
    QVERIFY(component_abi::registerClass(registry, other, dir.filePath(QStringLiteral("other.so"))));

    // Registered by a relative name from the program's folder: the entry holds the absolute path.
    const QFileInfo library(kLibrary);
    QCOMPARE(runRegister(registry, {library.fileName()}, library.absolutePath()), 0);
    QJsonObject classes = component_abi::readClasses(registry);
    const QString stored = classes.value(classId()).toString();
    QVERIFY2(QFileInfo(stored).isAbsolute(), qPrintable(stored));
    QCOMPARE(QFileInfo(stored).canonicalFilePath(), library.canonicalFilePath());
    QCOMPARE(classes.value(other).toString(), dir.filePath(QStringLiteral("other.so")));

    // The program creates it through the registry.
    const ComponentRegistry components(registry);
    QVERIFY(components.create<ClsPelmarInterface>(classId()));

    // Unregistered: the class is gone, the other entry stays, creating fails.
    QCOMPARE(runRegister(registry, {QStringLiteral("--unregister"), kLibrary}, dir.path()), 0);
    classes = component_abi::readClasses(registry);
    QVERIFY(!classes.contains(classId()));
    QVERIFY(classes.contains(other));
    ComponentFailure failure;
    QVERIFY(!components.create<ClsPelmarInterface>(classId(), &failure));
    QCOMPARE(failure.kind, ComponentFailure::Kind::NotRegistered);

    // A library that is not there, or no library named: a failure, nothing written.
    const QByteArray before = FileHash(registry);
    QCOMPARE(runRegister(registry, {dir.filePath(QStringLiteral("missing.so"))}, dir.path()), 1);
    QCOMPARE(runRegister(registry, {}, dir.path()), 2);
    QCOMPARE(FileHash(registry), before);
}

void TestCustomerSearchLibrary::searchFromTheQuotationTab()
{
    MainWindowFixture f;
    QVERIFY(insertCustomers(f.folder.dataDbPath(), {
                                                   {u"山田商店"_qs, u"大阪府大阪市"_qs, u"やまだしょうてん"_qs},
                                                   {u"山本書店"_qs, u"東京都千代田区"_qs, u"やまもとしょてん"_qs},
                                                   {u"O'Brien 商会"_qs, u"神奈川県"_qs, u"おぶらいえん"_qs},
                                               }));
    const ComponentRegistry components(MainWindowFixture::optionsFor(f.folder).componentRegistryFile);
    QString error;
    QVERIFY2(components.registerLibrary(kLibrary, &error), qPrintable(error));

    QVERIFY(f.open());
    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    auto* search = control<QPushButton>(&f.window, QStringLiteral("cmd顧客参照"));
    auto* name = control<QComboBox>(&f.window, QStringLiteral("cmb顧客名"));
    QVERIFY(search && name);

    // Search by name (an apostrophe in it), pick the customer: the name arrives.
    {
        SearchDriver driver([](QWidget* d) {
            QVERIFY(d->isModal());
            QCOMPARE(d->windowTitle(), u"顧客参照"_qs);
            control<QLineEdit>(d, QStringLiteral("txt顧客名"))->setText(u"O'Brien"_qs);
            control<QPushButton>(d, QStringLiteral("cmd検索"))->click();
            auto* grid = control<QTableView>(d, QStringLiteral("Grid参照"));
            QCOMPARE(grid->model()->rowCount(), 2);
            grid->setCurrentIndex(grid->model()->index(0, 0));
            control<QPushButton>(d, QStringLiteral("cmd選択"))->click();
        });
        name->setEditText(u"O'B"_qs);
        search->click();
        QVERIFY(driver.ran());
    }
    QCOMPARE(name->currentText(), u"O'Brien 商会"_qs);

    // A kana search and the second row.
    {
        SearchDriver driver([](QWidget* d) {
            control<QPushButton>(d, QStringLiteral("cmd50(35)"))->click();  // や
            auto* grid = control<QTableView>(d, QStringLiteral("Grid参照"));
            QCOMPARE(grid->model()->rowCount(), 3);
            grid->setCurrentIndex(grid->model()->index(1, 0));
            control<QPushButton>(d, QStringLiteral("cmd選択"))->click();
        });
        search->click();
        QVERIFY(driver.ran());
    }
    QCOMPARE(name->currentText(), u"山本書店"_qs);

    // Closed without a pick: the typed name stays.
    {
        SearchDriver driver([](QWidget* d) {
            control<QPushButton>(d, QStringLiteral("cmd検索"))->click();
            control<QPushButton>(d, QStringLiteral("cmd閉じる"))->click();
        });
        name->setEditText(u"入力中の名前"_qs);
        search->click();
        QVERIFY(driver.ran());
    }
    QCOMPARE(name->currentText(), u"入力中の名前"_qs);
    QVERIFY(f.messages.shown().isEmpty());

    // The data file was only read.
    const QByteArray before = FileHash(f.folder.dataDbPath());
    {
        SearchDriver driver([](QWidget* d) {
            control<QPushButton>(d, QStringLiteral("cmd検索"))->click();
            QTest::keyClick(control<QLineEdit>(d, QStringLiteral("txt住所1")), Qt::Key_Escape);
        });
        search->click();
        QVERIFY(driver.ran());
    }
    QCOMPARE(FileHash(f.folder.dataDbPath()), before);

    // Unregistered: the program says the search is not there, the name stays.
    QVERIFY(components.unregisterLibrary(kLibrary));
    search->click();
    QCOMPARE(f.messages.texts(), QStringList{u"顧客検索コンポーネントが登録されていないため、顧客参照を開けません。"_qs});
    QCOMPARE(name->currentText(), u"入力中の名前"_qs);
}

QTEST_MAIN(TestCustomerSearchLibrary)
#include "tst_customer_search_library.moc"
