#pragma once
// A session over a fresh data folder, without the main window: a copy of the
// shipped files in a temporary program folder (TestFolder), a session whose
// drive root and component registry lie in that folder and whose message
// boxes go to a recording presenter. open() opens both databases and reads
// the settings row as the program's start does; a window under test is then
// made on the session alone.
//
//     SessionFixture f;
//     QVERIFY(f.open());
//     auto* w = f.openWindow<FrmCode>(QStringLiteral("Frmコード"));
//     QCOMPARE(f.messages.texts(), ...);

#include "app/Session.h"
#include "platform/MessagePresenter.h"
#include "support/TestFolder.h"

class QWidget;

// Shows a widget (a tab, the main window) as a window and makes it the
// active one, so that focus moves and key presses go where a user's would.
bool activateAlone(QWidget& window);

class SessionFixture {
public:
    explicit SessionFixture(const QStringList& copyFiles = TestFolder::allFiles());

    // The session options of a program in the folder.
    static SessionOptions optionsFor(const TestFolder& folder);

    // The start's first steps: the data folder, both databases, the settings
    // row into the settings record. False when the start would stop there.
    bool open();

    // Shows the secondary window registered under name as the main window's
    // opener does (made by new W(session, extra...) when it is not open).
    template <class W, class... Extra>
    W* openWindow(const QString& name, Extra&... extra)
    {
        session.windows().show(name, [&] { return new W(session, extra...); });
        return qobject_cast<W*>(session.windows().find(name));
    }

    Database& data() { return session.DataDb(); }
    Database& work() { return session.WorkDb(); }

    TestFolder folder;
    RecordingPresenter messages;
    Session session;
};
