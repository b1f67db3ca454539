#pragma once
// Some fixed places are named by Windows drive paths ("c:\kvrdevelop.txt",
// default folders like "c:\Dovan\data"). Here each drive path maps to a path
// under one root folder: "c:\a\b" -> <root>/c/a/b. The root belongs to the
// session (tests point it at a temporary folder); defaultDriveRoot() is
// $VELT_DRIVE_ROOT when set, else ~/.local/share/PrjVelt/drives.

#include <QString>

namespace Paths {

QString defaultDriveRoot();

// "c:\kvrdevelop.txt" -> <root>/c/kvrdevelop.txt. A path that is not a drive
// path comes back unchanged (with '\' turned into '/').
QString mapDrivePath(const QString& root, const QString& windowsPath);

// Adds a trailing '/' when missing.
QString withSlash(const QString& folder);

}  // namespace Paths
