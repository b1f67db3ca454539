// The customer-search library in a host that has no widget application: the
// search cannot be shown, and says so by returning without a pick instead of
// bringing the host down. Once loaded, the library stays loaded.

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentAbi.h"
#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtTest>
#include <dlfcn.h>
#include <memory>

class TestCustomerSearchHeadless : public QObject {
    Q_OBJECT
private slots:
    void formShowWithoutWidgetApplication();
    void neverUnloaded();
};

namespace {

std::unique_ptr<ClsPelmarInterface> create(QLibrary& lib)
{
    auto f = reinterpret_cast<component_abi::CreateInstanceFn>(lib.resolve("DllCreateInstance"));
    if (!f) return {};
    return std::unique_ptr<ClsPelmarInterface>(
        static_cast<ClsPelmarInterface*>(f(ClsPelmarInterface::ClassId, ClsPelmarInterface::InterfaceId)));
}

}  // namespace

void TestCustomerSearchHeadless::formShowWithoutWidgetApplication()
{
    QTemporaryDir dir;
    const QString dataFile = dir.filePath(QStringLiteral("VeltData2K.mdb"));
    QVERIFY(TestFolder::copyShipped(QStringLiteral("VeltData2K.mdb"), dataFile));
    QLibrary lib(QStringLiteral(PELMAR_LIBRARY));
    QVERIFY2(lib.load(), qPrintable(lib.errorString()));

    // No application at all, then a console application.
    for (bool console : {false, true}) {
        int argc = 1;
        char arg0[] = "host";
        char* argv[] = {arg0, nullptr};
        std::unique_ptr<QCoreApplication> app;
        if (console) app = std::make_unique<QCoreApplication>(argc, argv);
        auto search = create(lib);
        QVERIFY(search);
        search->setPcDataFile(dataFile);
        QVERIFY(!search->FormShow());
        search->SetRetVal();
        QVERIFY(!search->pc顧客名().isValid());
    }
    lib.unload();
}

void TestCustomerSearchHeadless::neverUnloaded()
{
    const QByteArray path = QByteArrayLiteral(PELMAR_LIBRARY);
    QLibrary lib(QString::fromLocal8Bit(path));
    QVERIFY(lib.load());
    QVERIFY(create(lib));
    // The last handle of this process lets go: the library is still there.
    QVERIFY(lib.unload());
    void* handle = dlopen(path.constData(), RTLD_LAZY | RTLD_NOLOAD);
    QVERIFY2(handle, "the library was unloaded");
    dlclose(handle);
}

QTEST_APPLESS_MAIN(TestCustomerSearchHeadless)
#include "tst_customer_search_headless.moc"
