// The program as main runs it, ended while something still runs below the
// event loop: a box or dialog of a secondary window waiting for an answer, a
// data conversion, a customer-list save. The end comes the way the system or
// the user brings it: QCoreApplication::quit() (a logout or shutdown asks the
// application to quit) or a close of the main window.
//   velt_shutdown_probe <program folder> <drive root> <instance key> <case>
// Cases:
//   box-code, box-customer, box-product, box-a4  quit with the 登録 question open
//   colour, postal                               quit with the dialog open
//   close-conversion, quit-conversion            end during a conversion step
//   close-list-save                              close during a customer-list save
// Prints each box or dialog it meets ("modal: <class> <text>"); boxes are
// answered only in the cases that close (the program waits for them).

#include "app/Session.h"
#include "conversion/FrmConversion.h"
#include "frame/Startup.h"
#include "frame/Velt.h"
#include "masters/FrmCustomer.h"
#include "platform/Database.h"
#include "printing/PrintSettingsWindows.h"
#include "support/FindControl.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/settings_tab/SettingsTab.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

QString scenario;
int customersToSave = 0;

void say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

Velt* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<Velt*>(w)) return v;
    return nullptr;
}

QPushButton* buttonOf(QWidget* window, const char16_t* name)
{
    return window ? window->findChild<QPushButton*>(QString::fromUtf16(name)) : nullptr;
}

// Clicks later, from the event loop, so that what the click opens runs there.
void clickSoon(QPushButton* button)
{
    if (!button) {
        say(QStringLiteral("no such button"));
        QCoreApplication::exit(3);
        return;
    }
    QTimer::singleShot(0, button, &QPushButton::click);
}

// The answer the program waits for in the closing cases: the first button,
// or はい where the box asks.
void answer(QMessageBox* box)
{
    QAbstractButton* pick = box->buttons().value(0);
    for (QAbstractButton* b : box->buttons())
        if (box->buttonRole(b) == QMessageBox::YesRole) pick = b;
    if (pick) pick->click();
}

// Watches for boxes and dialogs: quits at the first one in the quitting
// cases, answers each in the closing ones.
void watchModals()
{
    static QWidget* seen = nullptr;
    static bool quitAsked = false;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == seen) return;
    seen = modal;
    auto* box = qobject_cast<QMessageBox*>(modal);
    say(QStringLiteral("modal: %1 %2").arg(QString::fromLatin1(modal->metaObject()->className()),
                                          box ? box->text().simplified() : QString()));
    if (scenario.startsWith(QLatin1String("close-"))) {
        if (box) QTimer::singleShot(50, box, [box] { answer(box); });
    } else if (!scenario.startsWith(QLatin1String("quit-")) && !quitAsked) {
        quitAsked = true;
        QCoreApplication::quit();
    }
}

void endWhenShown(QWidget* panel)
{
    // The busy label shows before the busy loop lets events run: the end
    // comes in there.
    struct Filter : QObject {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Show && !fired) {
                fired = true;
                say(QStringLiteral("busy: ending"));
                QTimer::singleShot(0, mainWindow(), &QWidget::close);
            }
            return false;
        }
        bool fired = false;
    };
    panel->installEventFilter(new Filter(panel));
}

void start()
{
    if (QThread::currentThread()->loopLevel() == 0) {
        QTimer::singleShot(10, start);
        return;
    }
    Velt* window = mainWindow();
    if (!window) {
        QCoreApplication::exit(3);
        return;
    }
    auto* watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, watchModals);
    watch->start(20);

    Session& session = window->session();
    WindowRegistry& windows = session.windows();
    if (scenario == QLatin1String("box-code")) {
        control<QPushButton>(window->quotation(), "cmdコード")->click();
        clickSoon(buttonOf(windows.find(QStringLiteral("Frmコード")), u"cmd登録"));
    } else if (scenario == QLatin1String("box-customer")) {
        control<QPushButton>(window->quotation(), "cmd顧客マスタ")->click();
        clickSoon(buttonOf(windows.find(QStringLiteral("Frm顧客情報")), u"cmd登録"));
    } else if (scenario == QLatin1String("box-product")) {
        control<QPushButton>(window->quotation(), "cmd商品")->click();
        clickSoon(buttonOf(windows.find(QStringLiteral("Frm商品情報")), u"cmd登録"));
    } else if (scenario == QLatin1String("box-a4") || scenario == QLatin1String("colour")) {
        control<QPushButton>(window->settings(), "cmdA4")->click();
        auto* a4 = qobject_cast<SetPrnWindow*>(windows.find(QStringLiteral("SetPrnA4")));
        if (scenario == QLatin1String("colour"))
            QTimer::singleShot(0, a4, &SetPrnWindow::Pic罫線色_DblClick);
        else
            clickSoon(buttonOf(a4, u"cmd登録"));
    } else if (scenario == QLatin1String("postal")) {
        control<QPushButton>(window->quotation(), "cmd顧客マスタ")->click();
        auto* customers = qobject_cast<FrmCustomer*>(windows.find(QStringLiteral("Frm顧客情報")));
        control<QPushButton>(*customers, "cmd新規")->click();
        clickSoon(control<QPushButton>(*customers, "cmd郵便"));
    } else if (scenario.endsWith(QLatin1String("-conversion"))) {
        control<QPushButton>(window->settings(), "cmdデータ変換")->click();
        auto* conversion = qobject_cast<FrmConversion*>(windows.find(QStringLiteral("Frmデータ変換")));
        const bool quit = scenario.startsWith(QLatin1String("quit-"));
        QObject::connect(conversion, &FrmConversion::progressShown, window, [window, quit] {
            static bool fired = false;
            if (fired) return;
            fired = true;
            say(QStringLiteral("busy: ending"));
            if (quit)
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            else
                QTimer::singleShot(0, window, &QWidget::close);
        });
        clickSoon(control<QPushButton>(*conversion, "cmd実行"));
    } else if (scenario == QLatin1String("close-list-save")) {
        control<QPushButton>(window->quotation(), "cmd顧客マスタ")->click();
        auto* customers = qobject_cast<FrmCustomer*>(windows.find(QStringLiteral("Frm顧客情報")));
        session.WorkDb().exec(QStringLiteral("delete from w顧客マスタ"));
        session.WorkDb().exec(QStringLiteral("insert into w顧客マスタ (行, 顧客名, ふりがな) "
                                           "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                                           "select i, '顧客' || i, 'こきゃく' || i from n")
                                .arg(customersToSave));
        endWhenShown(control<QFrame>(*customers, "CnKokyakuMsg"));
        clickSoon(control<QPushButton>(*customers, "cmd登録"));
    } else {
        say(QStringLiteral("unknown case"));
        QCoreApplication::exit(2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 5) return 2;
    SessionOptions options;
    options.programFolder = QString::fromLocal8Bit(argv[1]);
    options.driveRoot = QString::fromLocal8Bit(argv[2]);
    scenario = QString::fromLocal8Bit(argv[4]);
    customersToSave = argc > 5 ? std::atoi(argv[5]) : 0;
    QTimer::singleShot(0, start);
    const int result = StartProgram(options, QString::fromLocal8Bit(argv[3]));
    say(QStringLiteral("ended: %1").arg(result));
    return result;
}
