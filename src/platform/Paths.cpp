#include "platform/Paths.h"

#include <QDir>
#include <QRegularExpression>

namespace Paths {

QString defaultDriveRoot()
{
    const QString env = qEnvironmentVariable("VELT_DRIVE_ROOT");
    if (!env.isEmpty()) return QDir::cleanPath(env);
    return QDir::homePath() + QStringLiteral("/.local/share/PrjVelt/drives");
}

QString mapDrivePath(const QString& root, const QString& windowsPath)
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
    QString out = QDir::cleanPath(root.isEmpty() ? defaultDriveRoot() : root) + '/' + m.captured(1).toLower();
    if (!rest.isEmpty()) out += '/' + rest;
    // Keep a trailing separator: "c:\data\" names a folder.
    return out;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

}  // namespace Paths
