#pragma once
// The program's entry: one instance per user and data folder, then the
// session and the main window.

#include <QString>

struct SessionOptions;

// The whole program: application object, Qt's Japanese texts, fonts, then
// StartProgram.
int Main(int argc, char** argv);

// Puts Qt's own texts (print dialog, print preview, colour dialog, the context
// menu of text fields) into Japanese: loads Qt's Japanese translations from
// Qt's translations folder into a translator owned by the application object.
// False, with a warning, when none can be loaded (the texts stay English).
bool InstallQtTranslations();

// What Main does once the application object exists. First the claim of the
// one instance per user and data folder (instanceKey, empty: the key of the
// session's data folder): a later start while an instance runs asks that
// instance to come forward and returns 0 at once, before any window or
// database is touched; a claim that cannot be made shows the start-up error
// box and returns 1. Otherwise the main window is made and loads (a load that
// fails returns 1), and the event loop runs until the program ends. The main
// window goes first, then the databases close, then the claim is given up,
// all before the caller's application object.
int StartProgram(const SessionOptions& options, const QString& instanceKey = {});
