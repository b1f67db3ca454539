#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QtTest>

MainWindowFixture::MainWindowFixture(const QStringList& copyFiles)
    : folder(copyFiles), session(optionsFor(folder)), window(session)
{
    session.messages().setPresenter(&messages);
}

SessionOptions MainWindowFixture::optionsFor(const TestFolder& folder)
{
    SessionOptions o;
    o.programFolder = folder.programFolder();
    o.driveRoot = folder.driveRoot();
    o.componentRegistryFile = folder.root() + QStringLiteral("/components.json");
    return o;
}

bool MainWindowFixture::activate()
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}
