#pragma once
// The program's entry: one instance per user, then the main window.
int Main(int argc, char** argv);
