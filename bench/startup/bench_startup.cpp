// Run by hand: ./bench_startup [quotations] [runs]
// Builds a data file of stored quotations (default 100,000 with 20 lines each,
// 2,000 customers) once in a temporary folder, then prints the median time of
// a start-up to a usable main window (session, the single-instance claim,
// window, the whole load, the first paint), beside the median time of opening
// the two database files alone (the floor).
// Target: start-up <= 0.5 s.

#include "app/Session.h"
#include "frame/Velt.h"
#include "platform/SingleInstance.h"
#include "support/LargeDataFile.h"
#include "support/MainWindowFixture.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double medianMs(int runs, const std::function<bool()>& run)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!run()) return -1;
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;

    TestFolder folder;
    {
        Database data;
        if (!data.open(folder.dataDbPath(), Database::Role::Data)) return 1;
        if (!BuildLargeDataFile(data, count)) return 1;
    }
    const SessionOptions options = MainWindowFixture::optionsFor(folder);

    const double open = medianMs(runs, [&] {
        Database data;
        Database work;
        const bool ok = data.open(folder.dataDbPath(), Database::Role::Data) &&
                        work.open(folder.workDbPath(), Database::Role::Work);
        data.close();
        work.close();
        return ok;
    });

    const QString instanceKey = QStringLiteral("velt-bench-%1").arg(QCoreApplication::applicationPid());
    const double startup = medianMs(runs, [&] {
        Session session(options);
        // The claim of the one instance comes first, as in the program.
        session.locateDataFolder();
        SingleInstance instance(instanceKey);
        if (instance.claim() != SingleInstance::Claim::Primary) return false;
        RecordingPresenter boxes;
        session.messages().setPresenter(&boxes);
        Velt window(session);
        if (!window.Form_Load()) return false;
        // Usable: the window has been painted with the load's results.
        QCoreApplication::processEvents();
        return boxes.shown().isEmpty();
    });

    if (open < 0 || startup < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    std::printf("opening the two files alone      median %8.1f ms\n", open);
    std::printf("start-up to a usable main window median %8.1f ms   target <= 500 ms  %s\n", startup,
                startup <= 500 ? "ok" : "OVER");
    return 0;
}
