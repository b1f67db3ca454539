#include "frame/Startup.h"

#include "app/Session.h"
#include "app/StartupChecks.h"
#include "frame/Velt.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcStartup, "velt.startup")

bool InstallQtTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    // qtbase holds the widgets' and dialogs' texts; qt_ja is the older whole
    // catalogue that names it.
    for (const QString& name : {QStringLiteral("qtbase_ja"), QStringLiteral("qt_ja")}) {
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) return true;
    }
    qCWarning(lcStartup) << "Qt's Japanese translations not found in" << folder;
    delete translator;
    return false;
}

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
        ShowStartupProblem(session.messages(), {instance.lockPath(), instance.failure(),
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
    InstallQtTranslations();
    Fonts::installSubstitutions();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(10);
    QApplication::setFont(font);
    return StartProgram(SessionOptions{});
}
