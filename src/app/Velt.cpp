// The main window's life cycle: load (data folder, databases, settings,
// layout, a fresh quotation), unload, closing, and the openers of the
// secondary windows.

#include "Velt.h"

#include "FrmConversion.h"
#include "FrmInfo.h"
#include "MasterWindows.h"
#include "MessageCatalog.h"
#include "Paths.h"
#include "PrintSettingsWindows.h"
#include "Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

Q_LOGGING_CATEGORY(lcVelt, "velt.main")

// ---------------------------------------------------------------- LineWidget

LineWidget::LineWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::setEnds(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    const QPoint a = twipsPoint(x1, y1);
    const QPoint b = twipsPoint(x2, y2);
    setGeometry(QRect(a, b).normalized().adjusted(0, 0, 1, 1));
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    const QPoint a = twipsPoint(x1_, y1_) - pos();
    const QPoint b = twipsPoint(x2_, y2_) - pos();
    p.drawLine(a, b);
}

// ---------------------------------------------------------------- Velt

Velt::Velt(const VeltOptions& options, QWidget* parent) : QWidget(parent), options_(options)
{
    setObjectName(QStringLiteral("Velt"));
    setWindowTitle(QStringLiteral("Velt 見積書"));
    resize(twipsSize(12420, 9780));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(twipsRect(30, 30, 12360, 9720));
    tabQuotation = new QWidget;
    tabQuotation->setObjectName(QStringLiteral("tabQuotation"));
    tabHistory = new QWidget;
    tabHistory->setObjectName(QStringLiteral("tabHistory"));
    tabSettings = new QWidget;
    tabSettings->setObjectName(QStringLiteral("tabSettings"));
    SSTab1->addTab(tabQuotation, QStringLiteral("見積書"));
    SSTab1->addTab(tabHistory, QStringLiteral("履歴"));
    SSTab1->addTab(tabSettings, QStringLiteral("設定"));

    buildQuotationTab();
    buildHistoryTab();
    buildSettingsTab();

    connectLifeCycle();
    connectSettings();
    connectLinkSettings();
    connectMaintenance();
    connectQuotationScreen();
    connectNumbering();
    connectGridEditing();
    connectSubtotals();
    connectStoring();
    connectLoading();
    connectHistory();
    connectProductPanel();
    connectCustomerLookup();
    connectPrintPanel();

    // The window sees key presses before its controls do (Esc closes it).
    qApp->installEventFilter(this);
}

Velt::~Velt()
{
    qApp->removeEventFilter(this);
    Form_Unload();
}

void Velt::connectLifeCycle()
{
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);
    connect(cmd履歴閉じる, &QPushButton::clicked, this, &QWidget::close);
    connect(cmd設定閉じる, &QPushButton::clicked, this, &QWidget::close);
    cmd閉じる->setToolTip(QStringLiteral("見積書を終了します。伝票の登録は忘れてませんか"));
    cmd履歴閉じる->setToolTip(QStringLiteral("見積書を終了します。伝票の登録は忘れてませんか"));
    cmd設定閉じる->setToolTip(QStringLiteral("見積書を終了します。"));

    connect(cmdA4, &QPushButton::clicked, this, &Velt::cmdA4_Click);
    connect(cmdB5, &QPushButton::clicked, this, &Velt::cmdB5_Click);
    connect(cmdHint, &QPushButton::clicked, this, &Velt::cmdHint_Click);
    connect(cmdコード, &QPushButton::clicked, this, &Velt::cmdコード_Click);
    connect(cmdデータ変換, &QPushButton::clicked, this, &Velt::cmdデータ変換_Click);
    connect(cmd顧客マスタ, &QPushButton::clicked, this, &Velt::cmd顧客マスタ_Click);
    connect(cmd商品, &QPushButton::clicked, this, &Velt::cmd商品_Click);
    connect(cmd情報, &QPushButton::clicked, this, &Velt::cmd情報_Click);
    cmdコード->setToolTip(QStringLiteral("コード登録フォームを開きます"));
    cmdデータ変換->setToolTip(QStringLiteral("Ver 2.00 より前の旧形式の請求データを変換します。"));
    cmd顧客マスタ->setToolTip(QStringLiteral("顧客情報フォームを開きます"));
    cmd商品->setToolTip(QStringLiteral("商品情報フォームを開きます"));

    lbl自社名->installEventFilter(this);
    lbl自社情報->installEventFilter(this);
}

bool Velt::Form_Load()
{
    // The window is visible while the rest of the load runs.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    if (screen.isValid()) move(screen.center() - rect().center());
    show();
    QCoreApplication::processEvents();

    // The data folder: beside the program, or the developer folders when the marker file exists.
    if (QFileInfo::exists(Paths::mapDrivePath(ModVelt::DeveloperMarkerFile))) {
        ModVelt::DataFolder = Paths::withSlash(Paths::mapDrivePath(ModVelt::DeveloperDataFolder));
        ModVelt::PostalDictionaryPath =
            Paths::withSlash(Paths::mapDrivePath(ModVelt::DeveloperPostalFolder)) + QStringLiteral("yubin2000.mdb");
    } else {
        const QString program =
            options_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : options_.programFolder;
        ModVelt::DataFolder = Paths::withSlash(program) + QStringLiteral("data/");
        ModVelt::PostalDictionaryPath = ModVelt::DataFolder + QStringLiteral("yubin2000.mdb");
    }
    ModVelt::DataDbPath = ModVelt::DataFolder + QStringLiteral("VeltData2K.mdb");
    ModVelt::WorkDbPath = ModVelt::DataFolder + QStringLiteral("VeltWork2K.mdb");

    // Both databases stay open for the whole run. A file that cannot be opened
    // ends the start-up: nothing is created and nothing is written.
    const struct {
        Database* db;
        QString path;
        Database::Role role;
    } files[] = {{&ModVelt::DataDb, ModVelt::DataDbPath, Database::Role::Data},
                 {&ModVelt::WorkDb, ModVelt::WorkDbPath, Database::Role::Work}};
    for (const auto& f : files) {
        if (!f.db->open(f.path, f.role, false)) {
            MessageBoxSpec spec;
            spec.title = QStringLiteral("PrjVelt");
            spec.text = QStringLiteral("データベースを開けません。\n%1\n\n%2").arg(QDir::toNativeSeparators(f.path), f.db->lastError());
            spec.icon = MessageBoxSpec::Icon::Critical;
            MessagePresenter::current().show(spec);
            Form_Unload();
            hide();
            return false;
        }
    }

    ModVelt::DataDb.configure();
    ModVelt::WorkDb.configure();

    Clear設定();
    Read設定();
    FormInit();
    Clear見積書(true);
    cmd履歴クリア_Click();

    ModVelt::SyokeiLineStyle = QColor(0xE0, 0xE0, 0xE0);
    return true;
}

void Velt::Form_Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    // The other windows first (last opened first), so that no window outlives
    // the databases it reads; then the databases.
    windows_.closeAll();
    ModVelt::DataDb.close();
    ModVelt::WorkDb.close();
}

void Velt::closeEvent(QCloseEvent* e)
{
    Form_Unload();
    e->accept();
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
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        // Esc from any control of this window closes the program, without a question.
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->window() == this && isVisible()) {
            close();
            return true;
        }
    }
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (o == lbl自社名) {
            lbl自社名_DblClick();
            return true;
        }
        if (o == lbl自社情報) {
            lbl自社情報_DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

// ---------------------------------------------------------------- openers

void Velt::cmdA4_Click()
{
    windows_.show(QStringLiteral("SetPrnA4"), [] { return new SetPrnWindow(QStringLiteral("MA4")); });
}

void Velt::cmdB5_Click()
{
    windows_.show(QStringLiteral("SetPrnB5"), [] { return new SetPrnWindow(QStringLiteral("MB5")); });
}

void Velt::cmdHint_Click()
{
    // The hint window reads its key when it loads.
    ModVelt::HintKey.FormName = objectName();
    ModVelt::HintKey.CtlName = QStringLiteral("cmdHint");
    ModVelt::HintKey.FormTitle = windowTitle();
    windows_.show(QStringLiteral("Hint"), [] { return new HintWindow; });
}

void Velt::cmdコード_Click()
{
    windows_.show(QStringLiteral("Frmコード"), [] { return new FrmCode; });
}

void Velt::cmdデータ変換_Click()
{
    windows_.show(QStringLiteral("Frmデータ変換"), [] { return new FrmConversion; });
}

void Velt::cmd顧客マスタ_Click()
{
    windows_.show(QStringLiteral("Frm顧客情報"), [] { return new FrmCustomer; });
}

void Velt::cmd商品_Click()
{
    windows_.show(QStringLiteral("Frm商品情報"), [] { return new FrmProduct; });
}

void Velt::cmd情報_Click()
{
    windows_.show(QStringLiteral("FrmInfo"), [] { return new FrmInfo; });
}

void Velt::lbl自社名_DblClick()
{
    SSTab1->setCurrentIndex(2);
    txt自社名->setFocus();
}

void Velt::lbl自社情報_DblClick()
{
    SSTab1->setCurrentIndex(2);
    txt自社情報->setFocus();
}
