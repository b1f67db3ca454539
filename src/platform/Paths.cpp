#include "Paths.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString g_root;
}

namespace Paths {

QString driveRoot()
{
    if (!g_root.isEmpty()) return g_root;
    const QString env = qEnvironmentVariable("VELT_DRIVE_ROOT");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QDir::homePath() + QStringLiteral("/.local/share/PrjVelt/drives");
}

void setDriveRoot(const QString& root)
{
    g_root = root.isEmpty() ? QString() : QDir::cleanPath(root);
}

QString mapDrivePath(const QString& windowsPath)
{
    static const QRegularExpression drive(QStringLiteral("^([A-Za-z]):[\\\\/]?(.*)$"));
    const auto m = drive.match(windowsPath);
    QString rest;
    if (!m.hasMatch()) {
        rest = windowsPath;
        rest.replace('\\', '/');
        return rest;
    }
    rest = m.captured(2);
    rest.replace('\\', '/');
    QString out = driveRoot() + '/' + m.captured(1).toLower();
    if (!rest.isEmpty()) out += '/' + rest;
    // Keep a trailing separator: "c:\data\" names a folder.
    return out;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

}  // namespace Paths
