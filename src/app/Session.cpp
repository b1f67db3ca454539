#include "app/Session.h"

#include "app/Dialogs.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

const QString Session::DeveloperMarkerFile = QStringLiteral("c:\\kvrdevelop.txt");
const QString Session::DeveloperDataFolder = QStringLiteral("c:\\VeltDevelop\\data\\");
const QString Session::DeveloperPostalFolder = QStringLiteral("c:\\VeltDevelop\\yubin\\");

Session::Session(const SessionOptions& options)
    : options_(options),
      messages_(options.messagePresenter),
      components_(options.componentRegistryFile),
      realDialogs_(std::make_unique<QtDialogProvider>())
{
    dialogs_ = realDialogs_.get();
}

Session::~Session()
{
    close();
}

void Session::close()
{
    // The windows first, so that no window outlives the databases it reads.
    windows_.closeAll();
    dataDb_.close();
    workDb_.close();
}

QString Session::mapDrivePath(const QString& windowsPath) const
{
    return Paths::mapDrivePath(options_.driveRoot, windowsPath);
}

void Session::locateDataFolder()
{
    if (QFileInfo::exists(mapDrivePath(DeveloperMarkerFile))) {
        dataFolder_ = Paths::withSlash(mapDrivePath(DeveloperDataFolder));
        postalDictionaryPath_ = Paths::withSlash(mapDrivePath(DeveloperPostalFolder)) + QStringLiteral("yubin2000.mdb");
    } else {
        const QString program =
            options_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : options_.programFolder;
        dataFolder_ = Paths::withSlash(program) + QStringLiteral("data/");
        postalDictionaryPath_ = dataFolder_ + QStringLiteral("yubin2000.mdb");
    }
    dataDbPath_ = dataFolder_ + QStringLiteral("VeltData2K.mdb");
    workDbPath_ = dataFolder_ + QStringLiteral("VeltWork2K.mdb");
}

const PrintSettingsEntry* Session::printSettings(const QString& code) const
{
    if (code.isEmpty()) return nullptr;  // a free entry holds no code
    for (const PrintSettingsEntry& entry : printSettings_)
        if (entry.型番 == code) return &entry;
    return nullptr;
}

const PrintSettingsEntry* Session::reloadPrintSettings(const QString& code)
{
    const int entry = ReadPrintSettings(dataDb_, printSettings_, code);
    printSettingsInUse_ = entry == 0 ? nullptr : &printSettings_[entry];
    return printSettingsInUse_;
}

DialogProvider& Session::dialogs()
{
    return *dialogs_;
}

void Session::setDialogs(DialogProvider* dialogs)
{
    dialogs_ = dialogs ? dialogs : realDialogs_.get();
}

std::unique_ptr<PostalLookup> Session::createPostalLookup() const
{
    return postalLookupFactory_ ? postalLookupFactory_() : PostalLookup::createDialog();
}

void Session::setPostalLookupFactory(PostalLookup::Factory factory)
{
    postalLookupFactory_ = std::move(factory);
}
