#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QtTest>

MainWindowFixture::MainWindowFixture(const QStringList& copyFiles) : SessionFixture(copyFiles), window(session)
{
}

bool MainWindowFixture::activate()
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}
