// Registers the customer-search library in the class registry the program
// reads, or removes it:
//   pelmar_register <library>
//   pelmar_register --unregister <library>
// The registry file is the program's (VELT_COMPONENT_REGISTRY overrides it).

#include "ComponentRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool unregister = args.removeAll(QStringLiteral("--unregister")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: pelmar_register [--unregister] <library>\n");
        return 2;
    }
    const QString library = QFileInfo(args.first()).absoluteFilePath();
    QString error;
    const bool ok = unregister ? ComponentRegistry::unregisterLibrary(library, &error)
                               : ComponentRegistry::registerLibrary(library, &error);
    if (!ok) {
        std::fprintf(stderr, "pelmar_register: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s %s in %s\n", unregister ? "Unregistered" : "Registered", qPrintable(library),
                qPrintable(ComponentRegistry::registryFile()));
    return 0;
}
