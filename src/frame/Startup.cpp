#include "frame/Startup.h"

#include "app/Session.h"
#include "frame/Velt.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFont>

int StartProgram(const SessionOptions& options, const QString& instanceKey)
{
    SingleInstance instance(instanceKey);
    if (!instance.tryBecomePrimary()) return 0;

    Session session(options);
    Velt window(session);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &Velt::bringForward);
    if (!window.Form_Load()) return 1;
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
    return StartProgram(SessionOptions{}, SingleInstance::defaultKey());
}
