#include "support/MainWindowFixture.h"

MainWindowFixture::MainWindowFixture(const QStringList& copyFiles) : SessionFixture(copyFiles), window(session)
{
}

bool MainWindowFixture::activate()
{
    return activateAlone(window);
}
