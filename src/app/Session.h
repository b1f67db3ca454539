#pragma once
// The session: everything the program keeps for one run and hands to its
// windows and rules. The data folder and the paths of the three files, the
// data and work databases, the settings record, the print-settings entries,
// the hint key, the message catalogue with its presenter, the registry of
// secondary windows, and the few outside services tests replace (file and
// colour dialogs, the postal look-up, the component registry, the drive root
// that fixed Windows drive paths map under).
//
// main (StartProgram) creates it before the main window and destroys it after
// the window and before the application object; its destructor closes the
// secondary windows and then the databases, so nothing outlives Qt's SQL
// connections.

#include "app/MessageCatalog.h"
#include "app/PostalLookup.h"
#include "app/PrintSettings.h"
#include "app/SettingsRecord.h"
#include "platform/ComponentRegistry.h"
#include "platform/Database.h"
#include "platform/WindowRegistry.h"

#include <QString>
#include <memory>

class DialogProvider;

struct SessionOptions {
    // The program's folder; its data folder is <programFolder>/data/.
    // Empty: the folder of the running executable.
    QString programFolder;
    // The folder fixed Windows drive paths ("c:\...") map under. Empty:
    // $VELT_DRIVE_ROOT, else ~/.local/share/PrjVelt/drives.
    QString driveRoot;
    // The class registry of components. Empty: ComponentRegistry's default.
    QString componentRegistryFile;
    // Where the message boxes go (not owned; it must outlive the session).
    // nullptr: real message boxes.
    MessagePresenter* messagePresenter = nullptr;
};

class Session {
public:
    explicit Session(const SessionOptions& options = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // ---- The data folder -------------------------------------------------------
    // Chooses the data folder: the developer folders when the developer marker
    // file exists, else <program folder>/data/; then the paths of the files.
    void locateDataFolder();
    const QString& DataFolder() const { return dataFolder_; }  // ends with '/'
    const QString& DataDbPath() const { return dataDbPath_; }
    const QString& WorkDbPath() const { return workDbPath_; }
    const QString& PostalDictionaryPath() const { return postalDictionaryPath_; }

    // A fixed Windows drive path ("c:\kvrdevelop.txt") under this session's drive root.
    QString mapDrivePath(const QString& windowsPath) const;

    // Closes the secondary windows (last opened first), then DataDb, then
    // WorkDb. Safe to call more than once. Call it only when no handler and
    // no operation is still running (the main window waits for that).
    void close();

    // ---- What the windows share -------------------------------------------------
    // The data and work files. Start-up opens them (OpenDataFiles), close()
    // closes them; the objects themselves are never replaced.
    Database& DataDb() { return dataDb_; }
    Database& WorkDb() { return workDb_; }
    // The settings every window reads when it acts; start-up and the
    // settings tab load and store them.
    SettingsRecord 設定情報;
    // The key of the hint the hint window shows; set by the window that opens it.
    const HintKeyRecord& HintKey() const { return hintKey_; }
    void setHintKey(const HintKeyRecord& key) { hintKey_ = key; }

    // The print-settings entry that holds a layout code ("MA4", "MB5");
    // nullptr when no entry holds it (it was never loaded, or both were taken).
    const PrintSettingsEntry* printSettings(const QString& code) const;
    // Loads the code's 印刷情報 row into its entry (see ReadPrintSettings) and
    // returns that entry, which is then the one in use; nullptr when both
    // entries hold other codes. Without a row the entry stays as it was (a
    // free entry stays free, so printSettings(code) does not find it).
    const PrintSettingsEntry* reloadPrintSettings(const QString& code);
    // The entry the last reload returned (nullptr: none yet, or none was free).
    const PrintSettingsEntry* printSettingsInUse() const { return printSettingsInUse_; }

    // A storing, loading or listing runs (its busy panel shows); a second one
    // must not start meanwhile. BusyPanel sets and clears it.
    bool operationRunning() const { return operationRunning_; }
    void setOperationRunning(bool running) { operationRunning_ = running; }

    MessageCatalog& messages() { return messages_; }
    WindowRegistry& windows() { return windows_; }
    const ComponentRegistry& components() const { return components_; }

    // The file and colour dialogs: the real ones unless a test set its own.
    DialogProvider& dialogs();
    void setDialogs(DialogProvider* dialogs);  // nullptr: the real ones

    // A new postal-code look-up: the search dialog unless a test set a factory.
    std::unique_ptr<PostalLookup> createPostalLookup() const;
    void setPostalLookupFactory(PostalLookup::Factory factory);  // empty: the dialog

    // The developer marker file and folders (fixed Windows drive paths).
    static const QString DeveloperMarkerFile;
    static const QString DeveloperDataFolder;
    static const QString DeveloperPostalFolder;

private:
    SessionOptions options_;
    QString dataFolder_;
    QString dataDbPath_;
    QString workDbPath_;
    QString postalDictionaryPath_;
    Database dataDb_;
    Database workDb_;
    HintKeyRecord hintKey_;
    MessageCatalog messages_;
    WindowRegistry windows_;
    ComponentRegistry components_;
    std::unique_ptr<DialogProvider> realDialogs_;
    DialogProvider* dialogs_ = nullptr;
    PostalLookup::Factory postalLookupFactory_;
    PrintSettingsTable printSettings_{};
    const PrintSettingsEntry* printSettingsInUse_ = nullptr;
    bool operationRunning_ = false;
};
