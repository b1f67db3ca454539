// Registers the customer-search library in the class registry the program
// reads, or removes it:
//   pelmar_register <library>
//   pelmar_register --unregister <library>
// The registry file is the program's (VELT_COMPONENT_REGISTRY overrides it).

#include "platform/ComponentRegistry.h"

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
    const ComponentRegistry registry;
    QString error;
    const bool ok = unregister ? registry.unregisterLibrary(library, &error) : registry.registerLibrary(library, &error);
    if (!ok) {
        std::fprintf(stderr, "pelmar_register: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s %s in %s\n", unregister ? "Unregistered" : "Registered", qPrintable(library),
                qPrintable(registry.registryFile()));
    return 0;
}
