// The program's start-up as main runs it, with a program folder of the test's
// own: once the main window has loaded, three secondary windows are opened
// and the event loop is ended by QCoreApplication::exit() with all of them
// open, as a session manager or a signal handler would end it.
//   velt_exit_probe <program folder> <drive root> <instance key>

#include "app/Session.h"
#include "frame/Startup.h"
#include "frame/Velt.h"

#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

// Once the event loop runs (the load lets events run before it), opens the
// windows and ends the loop.
void openWindowsAndExit()
{
    if (QThread::currentThread()->loopLevel() == 0) {
        QTimer::singleShot(10, openWindowsAndExit);
        return;
    }
    Velt* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<Velt*>(w)) window = v;
    if (!window) {
        QCoreApplication::exit(3);
        return;
    }
    for (const char16_t* button : {u"cmdコード", u"cmd顧客マスタ", u"cmd情報"})
        window->findChild<QPushButton*>(QString::fromUtf16(button))->click();
    std::printf("windows open: %d\n", int(window->session().windows().openWindows().size()));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) return 2;
    SessionOptions options;
    options.programFolder = QString::fromLocal8Bit(argv[1]);
    options.driveRoot = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(0, openWindowsAndExit);
    return StartProgram(options, QString::fromLocal8Bit(argv[3]));
}
