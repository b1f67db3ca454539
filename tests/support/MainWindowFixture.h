#pragma once
// A main window over a fresh data folder: a copy of the shipped files in a
// temporary program folder (TestFolder), a session whose drive root and
// component registry lie in that folder and whose message boxes go to a
// recording presenter, and the window itself. open() runs the window's load;
// before it, folder.prepare() can change the files the load will open.
//
//     MainWindowFixture f;
//     QVERIFY(f.open());
//     control<QLineEdit>(f.quotation(), "txtNo")->setText(...);  // support/FindControl.h
//     QCOMPARE(f.messages.texts(), ...);

#include "app/Session.h"
#include "frame/Velt.h"
#include "platform/MessagePresenter.h"
#include "support/TestFolder.h"

class HistoryTab;
class QuotationTab;
class SettingsTab;

class MainWindowFixture {
public:
    explicit MainWindowFixture(const QStringList& copyFiles = TestFolder::allFiles());

    // The session options of a program in the folder.
    static SessionOptions optionsFor(const TestFolder& folder);

    bool open() { return window.Form_Load(); }
    // Shows the window and makes it the active one, so that focus moves and
    // key presses go where a user's would.
    bool activate();

    QuotationTab& quotation() { return window.quotation(); }
    HistoryTab& history() { return window.history(); }
    SettingsTab& settings() { return window.settings(); }
    Database& data() { return session.DataDb; }
    Database& work() { return session.WorkDb; }

    TestFolder folder;
    RecordingPresenter messages;
    Session session;
    Velt window;
};
