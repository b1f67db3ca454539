#include "platform/ComponentRegistry.h"

#include "platform/ComponentAbi.h"

#include <QLibrary>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcComponents, "velt.components")

namespace {

void setError(QString* error, const QString& text)
{
    qCWarning(lcComponents).noquote() << text;
    if (error) *error = text;
}

// Loads a library and keeps it loaded: objects it created may still be alive.
QFunctionPointer resolve(const QString& libraryFile, const char* symbol, QString* error)
{
    QLibrary lib(libraryFile);
    if (!lib.load()) {
        setError(error, QStringLiteral("cannot load %1: %2").arg(libraryFile, lib.errorString()));
        return nullptr;
    }
    QFunctionPointer f = lib.resolve(symbol);
    if (!f) setError(error, QStringLiteral("%1 has no entry point %2").arg(libraryFile, QString::fromLatin1(symbol)));
    return f;
}

}  // namespace

ComponentRegistry::ComponentRegistry(const QString& registryFile)
    : registryFile_(registryFile.isEmpty() ? defaultRegistryFile() : registryFile)
{
}

QString ComponentRegistry::defaultRegistryFile()
{
    const QString env = qEnvironmentVariable("VELT_COMPONENT_REGISTRY");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/PrjVelt/components.json");
}

QString ComponentRegistry::libraryFor(const QString& clsid) const
{
    return component_abi::readClasses(registryFile_).value(component_abi::normalizedId(clsid)).toString();
}

void* ComponentRegistry::createRaw(const QString& clsid, const QString& iid, QString* error) const
{
    const QString library = libraryFor(clsid);
    if (library.isEmpty()) {
        setError(error, QStringLiteral("class %1 is not registered").arg(clsid));
        return nullptr;
    }
    auto create = reinterpret_cast<component_abi::CreateInstanceFn>(resolve(library, "DllCreateInstance", error));
    if (!create) return nullptr;
    void* object = create(clsid.toLatin1().constData(), iid.toLatin1().constData());
    if (!object) setError(error, QStringLiteral("%1 does not create %2 as %3").arg(library, clsid, iid));
    return object;
}

bool ComponentRegistry::registerLibrary(const QString& libraryFile, QString* error) const
{
    auto reg = reinterpret_cast<component_abi::RegisterServerFn>(resolve(libraryFile, "DllRegisterServer", error));
    if (!reg) return false;
    const QString path = QFileInfo(libraryFile).absoluteFilePath();
    if (reg(registryFile_.toUtf8().constData(), path.toUtf8().constData()) != 0) {
        setError(error, QStringLiteral("%1 could not register itself").arg(libraryFile));
        return false;
    }
    return true;
}

bool ComponentRegistry::unregisterLibrary(const QString& libraryFile, QString* error) const
{
    auto unreg = reinterpret_cast<component_abi::UnregisterServerFn>(resolve(libraryFile, "DllUnregisterServer", error));
    if (!unreg) return false;
    if (unreg(registryFile_.toUtf8().constData()) != 0) {
        setError(error, QStringLiteral("%1 could not unregister itself").arg(libraryFile));
        return false;
    }
    return true;
}
