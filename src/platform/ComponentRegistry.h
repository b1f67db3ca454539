#pragma once
// Creation of a component by class identifier: the class registry file maps
// "{CLSID}" to a shared library; create() loads that library with QLibrary and
// asks its exported DllCreateInstance for an object. A library registers and
// unregisters itself through its own entry points (see ComponentAbi.h);
// registerLibrary() is the small tool that calls them.

#include <QString>
#include <memory>

// Why a component could not be created.
struct ComponentFailure {
    enum class Kind {
        None,
        NotRegistered,    // the registry names no library for the class (or there is no registry file)
        LibraryMissing,   // the library it names is not there
        NotALibrary,      // the file it names does not load as a library, or is no library of the class
        RegistryDamaged,  // the registry file is there but cannot be read as one
    };
    Kind kind = Kind::None;
    QString file;    // the library named (the registry file for RegistryDamaged)
    QString engine;  // the loader's or the reader's own words
};

class ComponentRegistry {
public:
    // registryFile empty: defaultRegistryFile().
    explicit ComponentRegistry(const QString& registryFile = {});

    // The environment variable VELT_COMPONENT_REGISTRY, else
    // <user config folder>/PrjVelt/components.json.
    static QString defaultRegistryFile();
    QString registryFile() const { return registryFile_; }

    // The library registered for a class; empty when there is none (or the
    // registry file cannot be read).
    QString libraryFor(const QString& clsid) const;

    // A new object of the class as the interface I (I::InterfaceId names it).
    // Nothing (failure set) when the class is not registered, its library is
    // missing, does not load or does not create it, or the registry file is
    // damaged.
    template <typename I>
    std::unique_ptr<I> create(const QString& clsid, ComponentFailure* failure = nullptr) const
    {
        return std::unique_ptr<I>(static_cast<I*>(createRaw(clsid, QString::fromLatin1(I::InterfaceId), failure)));
    }

    // Loads a library and calls its DllRegisterServer / DllUnregisterServer
    // with this registry file. False (error set) when that fails.
    bool registerLibrary(const QString& libraryFile, QString* error = nullptr) const;
    bool unregisterLibrary(const QString& libraryFile, QString* error = nullptr) const;

private:
    void* createRaw(const QString& clsid, const QString& iid, ComponentFailure* failure) const;
    QString registryFile_;
};
