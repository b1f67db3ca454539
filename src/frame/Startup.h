#pragma once
// The program's entry: one instance per user, then the session and the main
// window.

#include <QString>

struct SessionOptions;

// The whole program: application object, fonts, then StartProgram.
int Main(int argc, char** argv);

// What Main does once the application object exists. A later start while an
// instance runs (same instanceKey) asks that instance to come forward and
// returns 0 at once, before any window or database is touched. Otherwise the
// session and the main window are made and the window loads (a load that fails
// returns 1), and the event loop runs until the program ends. The main window
// goes first, then the session (closing the secondary windows and the
// databases in order), both before the caller's application object.
int StartProgram(const SessionOptions& options, const QString& instanceKey);
