#include "support/SessionFixture.h"

#include "app/SettingsRecord.h"
#include "app/StartupChecks.h"

#include <QApplication>
#include <QtTest>

bool activateAlone(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

SessionFixture::SessionFixture(const QStringList& copyFiles) : folder(copyFiles), session(optionsFor(folder))
{
    session.messages().setPresenter(&messages);
}

SessionOptions SessionFixture::optionsFor(const TestFolder& folder)
{
    SessionOptions o;
    o.programFolder = folder.programFolder();
    o.driveRoot = folder.driveRoot();
    o.componentRegistryFile = folder.root() + QStringLiteral("/components.json");
    return o;
}

bool SessionFixture::open()
{
    session.locateDataFolder();
    if (OpenDataFiles(session)) return false;
    // The record as the load's cleared and read settings tab leaves it.
    ClearSettingsRecord(session.設定情報);
    ReadSettingsRow(session.DataDb(), session.設定情報);
    return true;
}
