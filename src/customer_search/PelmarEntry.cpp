// The library's entry points (see platform/ComponentAbi.h): the only symbols
// it exports.

#include "customer_search/ClsPelmar.h"
#include "platform/ComponentAbi.h"

namespace {

bool sameId(const char* id, const char* expected)
{
    return id && component_abi::normalizedId(QString::fromLatin1(id)) == QLatin1String(expected);
}

}  // namespace

extern "C" Q_DECL_EXPORT void* DllCreateInstance(const char* clsid, const char* iid)
{
    if (!sameId(clsid, ClsPelmarInterface::ClassId) || !sameId(iid, ClsPelmarInterface::InterfaceId)) return nullptr;
    return static_cast<ClsPelmarInterface*>(new ClsPelmar);
}

extern "C" Q_DECL_EXPORT int DllRegisterServer(const char* registryFile, const char* libraryFile)
{
    if (!registryFile || !*registryFile || !libraryFile || !*libraryFile) return 1;
    return component_abi::registerClass(QString::fromUtf8(registryFile), QString::fromLatin1(ClsPelmarInterface::ClassId),
                                        QString::fromUtf8(libraryFile))
               ? 0
               : 1;
}

extern "C" Q_DECL_EXPORT int DllUnregisterServer(const char* registryFile)
{
    if (!registryFile || !*registryFile) return 1;
    return component_abi::unregisterClass(QString::fromUtf8(registryFile), QString::fromLatin1(ClsPelmarInterface::ClassId))
               ? 0
               : 1;
}
