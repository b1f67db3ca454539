#include "TestSupport.h"

#include "Paths.h"

#include <QDir>
#include <QFile>

TestData::TestData(const QStringList& copyFiles)
{
    guard_ = std::make_unique<ScopedPresenter>(&presenter_);
    if (!dir_.isValid()) return;
    QDir().mkpath(dataFolder());
    QDir().mkpath(driveRoot());
    Paths::setDriveRoot(driveRoot());
    for (const QString& f : copyFiles) copyShipped(f, dataFolder() + f);
}

TestData::~TestData()
{
    Paths::setDriveRoot(QString());
}

QStringList TestData::allFiles()
{
    return {QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb"), QStringLiteral("yubin2000.mdb")};
}

QString TestData::builtDataDir()
{
    return QStringLiteral(VELT_BUILT_DATA_DIR);
}

QString TestData::programFolder() const
{
    return dir_.path() + QStringLiteral("/prog");
}

QString TestData::dataFolder() const
{
    return programFolder() + QStringLiteral("/data/");
}

QString TestData::driveRoot() const
{
    return dir_.path() + QStringLiteral("/drives");
}

QString TestData::shippedSource(const QString& name)
{
    // The full postal dictionary is 17 MB: tests get a few areas of it.
    if (name == QStringLiteral("yubin2000.mdb")) return QStringLiteral(VELT_TEST_POSTAL_DICTIONARY);
    return builtDataDir() + '/' + name;
}

bool TestData::copyShipped(const QString& name, const QString& dest)
{
    QFile::remove(dest);
    if (!QFile::copy(shippedSource(name), dest)) return false;
    // Copies of read-only build outputs must be writable.
    QFile::setPermissions(dest, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}
