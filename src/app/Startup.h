#pragma once
// The program's entry: one instance per user, then the main window.

#include <QString>

struct VeltOptions;

// The whole program: application object, single-instance check, main window.
int Main(int argc, char** argv);

// What Main does once the application object exists. A later start while an
// instance runs (same instanceKey) asks that instance to come forward and
// returns 0 at once, before any window or database is touched. Otherwise the
// main window loads; a load that fails returns 1. With runEventLoop false the
// function returns after the load (for tests) and the window stays open.
int StartProgram(const VeltOptions& options, const QString& instanceKey, bool runEventLoop);
