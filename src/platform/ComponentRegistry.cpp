#include "platform/ComponentRegistry.h"

#include "platform/ComponentAbi.h"

#include <QJsonParseError>
#include <QLibrary>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <optional>

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

ComponentFailure failed(ComponentFailure::Kind kind, const QString& file, const QString& engine)
{
    qCWarning(lcComponents).noquote() << file << ":" << engine;
    return {kind, file, engine};
}

// The classes of a registry file; no file, or none named, holds none.
// Nothing (failure set) when the file is there but is no registry:
// unreadable, not JSON, or "classes" no object of texts.
std::optional<QJsonObject> readRegistry(const QString& registryFile, ComponentFailure* failure)
{
    const auto damaged = [&](const QString& why) -> std::optional<QJsonObject> {
        const ComponentFailure f = failed(ComponentFailure::Kind::RegistryDamaged, registryFile, why);
        if (failure) *failure = f;
        return std::nullopt;
    };
    QFile f(registryFile);
    if (!f.exists()) return QJsonObject();
    if (!f.open(QIODevice::ReadOnly)) return damaged(f.errorString());
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError)
        return damaged(QStringLiteral("%1 at offset %2").arg(parse.errorString()).arg(parse.offset));
    const QJsonValue classes = doc.object().value(QStringLiteral("classes"));
    if (!doc.isObject() || !(classes.isObject() || classes.isUndefined()))
        return damaged(QStringLiteral("no JSON object with a \"classes\" object"));
    const QJsonObject out = classes.toObject();
    for (auto it = out.begin(); it != out.end(); ++it)
        if (!it.value().isString()) return damaged(QStringLiteral("class %1 names no library file").arg(it.key()));
    return out;
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
    const std::optional<QJsonObject> classes = readRegistry(registryFile_, nullptr);
    return classes ? classes->value(component_abi::normalizedId(clsid)).toString() : QString();
}

void* ComponentRegistry::createRaw(const QString& clsid, const QString& iid, ComponentFailure* failure) const
{
    using Kind = ComponentFailure::Kind;
    const auto fail = [&](Kind kind, const QString& file, const QString& engine) -> void* {
        const ComponentFailure f = failed(kind, file, engine);
        if (failure) *failure = f;
        return nullptr;
    };
    const std::optional<QJsonObject> classes = readRegistry(registryFile_, failure);
    if (!classes) return nullptr;
    const QString library = classes->value(component_abi::normalizedId(clsid)).toString();
    if (library.isEmpty()) return fail(Kind::NotRegistered, {}, QStringLiteral("class %1 is not registered").arg(clsid));
    if (!QFileInfo(library).isFile()) return fail(Kind::LibraryMissing, library, QStringLiteral("no file %1").arg(library));
    QString error;
    auto create = reinterpret_cast<component_abi::CreateInstanceFn>(resolve(library, "DllCreateInstance", &error));
    if (!create) {
        // resolve() has logged why.
        if (failure) *failure = {Kind::NotALibrary, library, error};
        return nullptr;
    }
    void* object = create(clsid.toLatin1().constData(), iid.toLatin1().constData());
    if (!object) return fail(Kind::NotALibrary, library, QStringLiteral("%1 does not create %2 as %3").arg(library, clsid, iid));
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
