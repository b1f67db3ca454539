#pragma once
// Creation of a component by class identifier: the class registry file maps
// "{CLSID}" to a shared library; create() loads that library with QLibrary and
// asks its exported DllCreateInstance for an object. A library registers and
// unregisters itself through its own entry points (see ComponentAbi.h);
// registerLibrary() is the small tool that calls them.

#include <QString>
#include <memory>

class ComponentRegistry {
public:
    // registryFile empty: defaultRegistryFile().
    explicit ComponentRegistry(const QString& registryFile = {});

    // The environment variable VELT_COMPONENT_REGISTRY, else
    // <user config folder>/PrjVelt/components.json.
    static QString defaultRegistryFile();
    QString registryFile() const { return registryFile_; }

    // The library registered for a class; empty when there is none.
    QString libraryFor(const QString& clsid) const;

    // A new object of the class as the interface I (I::InterfaceId names it).
    // Nothing (error set) when the class is not registered, its library does not
    // load, or the library does not create it.
    template <typename I>
    std::unique_ptr<I> create(const QString& clsid, QString* error = nullptr) const
    {
        return std::unique_ptr<I>(static_cast<I*>(createRaw(clsid, QString::fromLatin1(I::InterfaceId), error)));
    }

    // Loads a library and calls its DllRegisterServer / DllUnregisterServer
    // with this registry file. False (error set) when that fails.
    bool registerLibrary(const QString& libraryFile, QString* error = nullptr) const;
    bool unregisterLibrary(const QString& libraryFile, QString* error = nullptr) const;

private:
    void* createRaw(const QString& clsid, const QString& iid, QString* error) const;
    QString registryFile_;
};
