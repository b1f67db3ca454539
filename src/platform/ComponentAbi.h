#pragma once
// What a component library and the program agree on: the entry points a
// component library exports, and the format of the class registry file that
// maps a class identifier "{XXXXXXXX-...}" to the library that implements it.
//
// Header-only on purpose: a component library includes it without linking
// anything of the program.
//
// Entry points (extern "C"):
//   void* DllCreateInstance(const char* clsid, const char* iid)
//       a new object of the class, as a pointer to the interface iid (the
//       interface's InterfaceId); nullptr when the library has no such class
//       or the class no such interface. The caller owns the object and
//       deletes it through the interface's virtual destructor.
//   int DllRegisterServer(const char* registryFile, const char* libraryFile)
//   int DllUnregisterServer(const char* registryFile)
//       write / remove the library's classes in the registry file; 0 on success.
//
// Registry file: JSON, {"classes": {"{CLSID}": "/path/to/library.so", ...}}.
// Identifiers are compared in upper case.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QString>
#include <QDir>
#include <QFileInfo>

namespace component_abi {

using CreateInstanceFn = void* (*)(const char* clsid, const char* iid);
using RegisterServerFn = int (*)(const char* registryFile, const char* libraryFile);
using UnregisterServerFn = int (*)(const char* registryFile);

inline QString normalizedId(const QString& id)
{
    return id.trimmed().toUpper();
}

inline QJsonObject readClasses(const QString& registryFile)
{
    QFile f(registryFile);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("classes")).toObject();
}

inline bool writeClasses(const QString& registryFile, const QJsonObject& classes)
{
    QDir().mkpath(QFileInfo(registryFile).absolutePath());
    QSaveFile f(registryFile);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QJsonObject root;
    root.insert(QStringLiteral("classes"), classes);
    f.write(QJsonDocument(root).toJson());
    return f.commit();
}

// Adds or replaces one class entry.
inline bool registerClass(const QString& registryFile, const QString& clsid, const QString& libraryFile)
{
    QJsonObject classes = readClasses(registryFile);
    classes.insert(normalizedId(clsid), QFileInfo(libraryFile).absoluteFilePath());
    return writeClasses(registryFile, classes);
}

inline bool unregisterClass(const QString& registryFile, const QString& clsid)
{
    QJsonObject classes = readClasses(registryFile);
    if (!classes.contains(normalizedId(clsid))) return true;
    classes.remove(normalizedId(clsid));
    return writeClasses(registryFile, classes);
}

}  // namespace component_abi
