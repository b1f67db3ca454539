#include "Startup.h"

#include "Fonts.h"
#include "SingleInstance.h"
#include "Velt.h"

#include <QApplication>
#include <QFont>

int StartProgram(const VeltOptions& options, const QString& instanceKey, bool runEventLoop)
{
    // The instance channel lives as long as the application.
    auto* instance = new SingleInstance(instanceKey, qApp);
    if (!instance->tryBecomePrimary()) {
        delete instance;
        return 0;
    }
    auto* window = new Velt(options);
    window->setAttribute(Qt::WA_DeleteOnClose, runEventLoop);
    QObject::connect(instance, &SingleInstance::activationRequested, window, &Velt::bringForward);
    if (!window->Form_Load()) {
        delete window;
        delete instance;
        return 1;
    }
    if (!runEventLoop) return 0;
    return QApplication::exec();
}

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PrjVelt"));
    Fonts::installSubstitutions();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(10);
    QApplication::setFont(font);
    return StartProgram(VeltOptions{}, SingleInstance::defaultKey(), true);
}
