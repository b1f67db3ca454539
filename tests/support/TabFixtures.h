#pragma once
// The quotation tab or the history tab alone over a fresh data folder (the
// session of SessionFixture), with small stand-ins for what the frame would
// put beside them: the settings tab as the quotation tab reads it
// (ShownSettings) and the history list it empties and fills (HistoryList).
// open() does for the tab what the main window's load does: the databases
// and the settings row, the grids over their work tables, the layout by the
// settings, a fresh screen, the tab shown. Before it, folder.prepare() can
// change the files the load will open.
//
//     QuotationTabFixture f;
//     QVERIFY(f.open());
//     f.shown.taxRounding = QStringLiteral("切り捨て");  // as typed on the settings tab
//     control<QLineEdit>(f.quotation(), "txtNo")->setText(...);  // support/FindControl.h
//     QCOMPARE(f.history.cleared, 1);
//
// What crosses the frame (the history tab opening a quotation, the settings
// tab's boxes read by the quotation tab, the print road) is tested on the
// main window (tests/frame).

#include "support/SessionFixture.h"
#include "workspace/HistoryTab.h"
#include "workspace/TabLinks.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <array>

// The settings tab's boxes as the quotation tab reads them; open() sets them
// from the settings row as the settings tab shows it after reading.
class ShownSettingsStandIn : public ShownSettings {
public:
    QString shownTaxRounding() const override { return taxRounding; }
    QString shownSealTitle(int index) const override
    {
        return index >= 0 && index < int(sealTitles.size()) ? sealTitles[size_t(index)] : QString();
    }

    QString taxRounding;                // cmb税端数
    std::array<QString, 4> sealTitles;  // txt印鑑タイトル1 .. 4
};

// The history list as the quotation tab fills and empties it.
class RecordingHistoryList : public HistoryList {
public:
    void setCustomerNames(const QStringList& names) override { customerNames = names; }
    void Clear履歴() override { ++cleared; }

    QStringList customerNames;  // the last names handed over
    int cleared = 0;            // how often the list was emptied
};

class QuotationTabFixture : public SessionFixture {
public:
    explicit QuotationTabFixture(const QStringList& copyFiles = TestFolder::allFiles());

    // The load's steps for the quotation tab; false when the start would stop.
    bool open();
    bool activate() { return activateAlone(tab); }

    QuotationTab& quotation() { return tab; }

    ShownSettingsStandIn shown;
    RecordingHistoryList history;
    QuotationTab tab;
};

class HistoryTabFixture : public SessionFixture {
public:
    explicit HistoryTabFixture(const QStringList& copyFiles = TestFolder::allFiles());

    // The load's steps for the history tab; false when the start would stop.
    bool open();

    HistoryTab& history() { return tab; }

    QStringList opened;  // the numbers the tab asked to open on the quotation tab
    HistoryTab tab;
};
