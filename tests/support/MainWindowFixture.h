#pragma once
// A main window over a fresh data folder: the session of SessionFixture (a
// copy of the shipped files in a temporary program folder, message boxes to
// a recording presenter) and the window itself. open() runs the window's
// load; before it, folder.prepare() can change the files the load will open.
// Where a test checks one window or one rule, SessionFixture alone is enough.
//
//     MainWindowFixture f;
//     QVERIFY(f.open());
//     control<QLineEdit>(f.quotation(), "txtNo")->setText(...);  // support/FindControl.h
//     QCOMPARE(f.messages.texts(), ...);

#include "frame/Velt.h"
#include "support/SessionFixture.h"

class HistoryTab;
class QuotationTab;
class SettingsTab;

class MainWindowFixture : public SessionFixture {
public:
    explicit MainWindowFixture(const QStringList& copyFiles = TestFolder::allFiles());

    bool open() { return window.Form_Load(); }
    // Shows the window and makes it the active one, so that focus moves and
    // key presses go where a user's would.
    bool activate();

    QuotationTab& quotation() { return window.quotation(); }
    HistoryTab& history() { return window.history(); }
    SettingsTab& settings() { return window.settings(); }

    Velt window;
};
