#include "support/TabFixtures.h"

#include "platform/Twips.h"

#include <QCoreApplication>

namespace {

// The size of a tab's page in the main window's tab control.
void showAsPage(QWidget& tab)
{
    tab.resize(twipsSize(12360, 9720));
    tab.show();
    QCoreApplication::processEvents();
}

}  // namespace

QuotationTabFixture::QuotationTabFixture(const QStringList& copyFiles)
    : SessionFixture(copyFiles), tab(session, shown, history)
{
}

bool QuotationTabFixture::open()
{
    showAsPage(tab);
    if (!SessionFixture::open()) return false;
    const SettingsRecord& s = session.設定情報;
    shown.taxRounding = s.税端数;
    shown.sealTitles = {s.印鑑タイトル1, s.印鑑タイトル2, s.印鑑タイトル3, s.印鑑タイトル4};
    tab.showOwnCompany();
    tab.bindGrids();
    tab.applyLayout(s, session.reloadPrintSettings(QStringLiteral("MA4")));
    tab.Clear見積書(true);
    return true;
}

HistoryTabFixture::HistoryTabFixture(const QStringList& copyFiles) : SessionFixture(copyFiles), tab(session)
{
    tab.setOpenQuotation([this](const QString& number) { opened << number; });
}

bool HistoryTabFixture::open()
{
    showAsPage(tab);
    if (!SessionFixture::open()) return false;
    tab.bindGrids();
    tab.applyLayout(session.設定情報);
    tab.cmd履歴クリア_Click();
    return true;
}
