// The main window's life cycle: load (data folder, databases, settings,
// layout, a fresh quotation), unload, closing, and the openers of the
// secondary windows.

#include "frame/Velt.h"

#include "app/FrmInfo.h"
#include "app/Maintenance.h"
#include "app/Session.h"
#include "app/StartupChecks.h"
#include "conversion/FrmConversion.h"
#include "masters/FrmCode.h"
#include "masters/HintWindow.h"
#include "masters/FrmProduct.h"
#include "masters/FrmCustomer.h"
#include "platform/GridView.h"
#include "platform/Twips.h"
#include "printing/PrintHandOver.h"
#include "printing/PrintSettingsWindows.h"
#include "workspace/HistoryTab.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "workspace/settings_tab/SettingsTab.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

Q_LOGGING_CATEGORY(lcVelt, "velt.main")

// ---------------------------------------------------------------- Velt

Velt::Velt(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("Velt"));
    setWindowTitle(QStringLiteral("Velt 見積書"));
    resize(twipsSize(12420, 9780));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(twipsRect(30, 30, 12360, 9720));
    settings_ = new SettingsTab(session_);
    history_ = new HistoryTab(session_);
    quotation_ = new QuotationTab(session_, *settings_, *history_);
    SSTab1->addTab(quotation_, QStringLiteral("見積書"));
    SSTab1->addTab(history_, QStringLiteral("履歴"));
    SSTab1->addTab(settings_, QStringLiteral("設定"));

    // The tabs meet through small interfaces; the frame wires them.
    connect(settings_, &SettingsTab::settingsRead, quotation_, &QuotationTab::showOwnCompany);
    history_->setOpenQuotation([this](const QString& number) {
        SSTab1->setCurrentIndex(0);
        quotation_->openNumber(number);
    });
    // The print panel's requests go to the print road, which reads the
    // quotation through the tab's port; previews belong to this window.
    printing_ = std::make_unique<PrintHandOver>(session_, *quotation_, this);
    quotation_->setPrintHandler([this](const PrintRequest& request) { printing_->dispatch(request); });

    connectLifeCycle();
    closeRetry_ = new QTimer(this);
    closeRetry_->setInterval(20);
    connect(closeRetry_, &QTimer::timeout, this, &Velt::retryClose);

    // The window sees key presses before its controls do (Esc closes it), and
    // the application's quit request before the application acts on it.
    qApp->installEventFilter(this);
}

Velt::~Velt()
{
    qApp->removeEventFilter(this);
    Form_Unload();
}

void Velt::connectLifeCycle()
{
    QuotationTab& q = *quotation_;
    SettingsTab& s = *settings_;
    connect(&q, &QuotationTab::closeClicked, this, &QWidget::close);
    connect(history_, &HistoryTab::closeClicked, this, &QWidget::close);
    connect(&s, &SettingsTab::closeClicked, this, &QWidget::close);

    connect(&s, &SettingsTab::printSettingsA4Clicked, this, &Velt::cmdA4_Click);
    connect(&s, &SettingsTab::printSettingsB5Clicked, this, &Velt::cmdB5_Click);
    connect(&s, &SettingsTab::hintClicked, this, &Velt::cmdHint_Click);
    connect(&q, &QuotationTab::codeListClicked, this, &Velt::cmdコード_Click);
    connect(&s, &SettingsTab::conversionClicked, this, &Velt::cmdデータ変換_Click);
    connect(&q, &QuotationTab::customerMasterClicked, this, &Velt::cmd顧客マスタ_Click);
    connect(&q, &QuotationTab::productMasterClicked, this, &Velt::cmd商品_Click);
    connect(&s, &SettingsTab::infoClicked, this, &Velt::cmd情報_Click);

    connect(&q, &QuotationTab::ownNameDoubleClicked, this, &Velt::lbl自社名_DblClick);
    connect(&q, &QuotationTab::ownInfoDoubleClicked, this, &Velt::lbl自社情報_DblClick);
}

bool Velt::Form_Load()
{
    // The window is visible while the rest of the load runs.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    if (screen.isValid()) move(screen.center() - rect().center());
    show();
    QCoreApplication::processEvents();

    // The data folder, then both databases, open for the whole run. Files that
    // are missing, cannot be written, or lack the tables the program needs end
    // the start-up: nothing is created and nothing is written.
    const auto refuse = [this](const StartupProblem& problem) {
        ShowStartupProblem(session_.messages(), problem);
        Form_Unload();
        hide();
        return false;
    };
    session_.locateDataFolder();
    if (const auto problem = OpenDataFiles(session_)) return refuse(*problem);

    settings_->Clear設定();
    settings_->Read設定();
    FormInit();
    quotation_->Clear見積書(true);
    history_->cmd履歴クリア_Click();
    // A file whose header is sound but whose pages are damaged shows it only
    // when they are read: if the load's reads met damage, the program does
    // not run on that file (every store would fail) but says so.
    if (const auto damaged = DamageMetByTheLoad(session_)) return refuse(*damaged);
    return true;
}

void Velt::FormInit()
{
    const SettingsRecord& s = session_.設定情報;
    // The grids and their lists over the work tables.
    quotation_->bindGrids();
    history_->bindGrids();
    // The own-company labels take the fonts of the A4 layout.
    const PrintSettingsEntry* a4 = session_.reloadPrintSettings(QStringLiteral("MA4"));
    quotation_->applyLayout(s, a4);
    history_->applyLayout(s);
}

void Velt::CreateNewTable()
{
    UpgradeSchema(session_.DataDb(), session_.WorkDb());
}

void Velt::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    // The preview windows (they hold their own pages), then the other windows
    // (last opened first), so that no window outlives the databases it reads;
    // then the databases.
    if (printing_) printing_->closePreviews();
    // A cell still being typed is dropped: its write would come as the
    // window goes, after the work file has closed, and fail with a box. The
    // quotation on screen is not stored by closing anyway.
    for (GridView* grid : findChildren<GridView*>()) grid->cancelEdit();
    session_.close();
}

void Velt::closeEvent(QCloseEvent* e)
{
    // A close that arrives while something still runs below it (a store, a
    // conversion step, a box of a secondary window) waits: the windows and the
    // databases go only once that has returned.
    if (!unloaded_ && !closeIsSafe()) {
        e->ignore();
        if (pending_ == Pending::None) pending_ = Pending::Close;
        closeRetry_->start();
        return;
    }
    // Typed work is not lost without a question (No by default); the end of
    // the desktop session does not wait for an answer.
    if (!unloaded_ && !sessionEnding_ && quotation_->holdsUnsavedChanges() &&
        !session_.messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("終了確認"), QStringLiteral("見積書"))) {
        e->ignore();
        // A quit that came while the question was open still goes on.
        if (pending_ != Pending::Quit) {
            pending_ = Pending::None;
            closeRetry_->stop();
        }
        return;
    }
    closeRetry_->stop();
    Form_Unload();
    e->accept();
}

bool Velt::closeIsSafe() const
{
    // The application's own loop is level 1 (tests without it run at 0).
    return !session_.operationRunning() && !QApplication::activeModalWidget() &&
           QThread::currentThread()->loopLevel() <= 1;
}

void Velt::endOpenDialogs()
{
    // An open menu first: it runs an event loop of its own.
    for (int i = 0; i < 10 && QApplication::activePopupWidget(); ++i) QApplication::activePopupWidget()->close();
    while (QPointer<QWidget> modal = QApplication::activeModalWidget()) {
        if (auto* box = qobject_cast<QMessageBox*>(modal.data())) {
            box->close();  // answers with its escape button (いいえ, OK)
            if (!modal.isNull() && modal->isVisible()) box->reject();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal.data())) {
            dialog->reject();
        } else {
            modal->close();
        }
        if (!modal.isNull() && modal->isVisible()) break;  // it would not end; the retry tries again
    }
}

void Velt::retryClose()
{
    // A quitting session answers every box that comes up meanwhile as well.
    if (pending_ == Pending::Quit) endOpenDialogs();
    if (!closeIsSafe()) return;
    const Pending pending = pending_;
    pending_ = Pending::None;
    closeRetry_->stop();
    close();
    if (pending == Pending::Quit) QCoreApplication::quit();
}

void Velt::bringForward()
{
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

bool Velt::eventFilter(QObject* o, QEvent* e)
{
    if (o == qApp && e->type() == QEvent::Quit && !unloaded_) {
        // The session ends (a logout, a shutdown): boxes and dialogs end as
        // No/Cancel, a running operation finishes, then the window closes and
        // the quit goes on. Until then the application must not close windows
        // under handlers still running.
        pending_ = Pending::Quit;
        sessionEnding_ = true;
        endOpenDialogs();
        if (closeIsSafe()) {
            pending_ = Pending::None;
            close();
            return false;
        }
        closeRetry_->start();
        return true;
    }
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        // Esc from any control of this window closes the program (asking
        // first only when the quotation holds unsaved changes).
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->window() == this && isVisible()) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

// ---------------------------------------------------------------- openers

void Velt::cmdA4_Click()
{
    session_.windows().show(QStringLiteral("SetPrnA4"), [this] {
        auto* w = new SetPrnWindow(session_, QStringLiteral("MA4"));
        // The own-company labels follow the A4 fonts as soon as they are saved.
        connect(w, &SetPrnWindow::printSettingsRead, this, [this](const PrintSettingsEntry* entry) {
            if (entry) quotation_->applyOwnCompanyFonts(*entry);
        });
        return w;
    });
}

void Velt::cmdB5_Click()
{
    session_.windows().show(QStringLiteral("SetPrnB5"), [this] { return new SetPrnWindow(session_, QStringLiteral("MB5")); });
}

void Velt::cmdHint_Click()
{
    // The hint window reads its key when it loads.
    session_.setHintKey({objectName(), QStringLiteral("cmdHint"), windowTitle()});
    session_.windows().show(QStringLiteral("Hint"), [this] { return new HintWindow(session_); });
}

void Velt::cmdコード_Click()
{
    session_.windows().show(QStringLiteral("Frmコード"), [this] { return new FrmCode(session_); });
}

void Velt::cmdデータ変換_Click()
{
    session_.windows().show(QStringLiteral("Frmデータ変換"), [this] {
        auto* w = new FrmConversion(session_);
        connect(w, &FrmConversion::dataConverted, this, &Velt::afterConversion);
        return w;
    });
}

void Velt::afterConversion()
{
    // The conversion wrote the settings row (the counter included) and
    // stored quotations behind this window: the settings are read again, and
    // a new quotation on screen does not keep a number that is now taken.
    settings_->Read設定();
    quotation_->renewNumberIfStored();
}

void Velt::cmd顧客マスタ_Click()
{
    session_.windows().show(QStringLiteral("Frm顧客情報"), [this] { return new FrmCustomer(session_, *quotation_); });
}

void Velt::cmd商品_Click()
{
    // The product window picks into the quotation through its port.
    session_.windows().show(QStringLiteral("Frm商品情報"), [this] { return new FrmProduct(session_, *quotation_); });
}

void Velt::cmd情報_Click()
{
    session_.windows().show(QStringLiteral("FrmInfo"), [] { return new FrmInfo; });
}

void Velt::lbl自社名_DblClick()
{
    SSTab1->setCurrentIndex(2);
    settings_->focusOwnName();
}

void Velt::lbl自社情報_DblClick()
{
    SSTab1->setCurrentIndex(2);
    settings_->focusOwnInfo();
}
