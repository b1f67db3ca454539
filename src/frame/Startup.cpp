#include "frame/Startup.h"

#include "app/Session.h"
#include "app/StartupChecks.h"
#include "frame/Velt.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFont>

int StartProgram(const SessionOptions& options, const QString& instanceKey)
{
    // The session only knows its paths yet: nothing is opened before the claim.
    Session session(options);
    session.locateDataFolder();
    SingleInstance instance(instanceKey.isEmpty() ? SingleInstance::keyFor(session.DataFolder()) : instanceKey);
    switch (instance.claim()) {
    case SingleInstance::Claim::Running:
        return 0;
    case SingleInstance::Claim::Failed:
        // Without the claim a second instance could run on the same files.
        ShowStartupProblem(session.messages(), {instance.lockPath(), instance.errorString(),
                                                QStringLiteral("プログラムを起動できません。")});
        return 1;
    case SingleInstance::Claim::Primary:
        break;
    }

    const int result = [&session, &instance] {
        Velt window(session);
        QObject::connect(&instance, &SingleInstance::activationRequested, &window, &Velt::bringForward);
        if (!window.Form_Load()) return 1;
        return QApplication::exec();
    }();
    // A final turn for deletions still posted, then the databases, while the
    // claim is still held.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    session.close();
    return result;
}

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PrjVelt"));
    Fonts::installSubstitutions();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(10);
    QApplication::setFont(font);
    return StartProgram(SessionOptions{});
}
