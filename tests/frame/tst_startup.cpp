#include "workspace/settings_tab/SettingsTab.h"
#include "frame/Startup.h"
#include "app/FrmInfo.h"
#include "frame/Velt.h"
#include "masters/HintWindow.h"
#include "platform/GridView.h"
#include "platform/SingleInstance.h"
#include "platform/WorkTableModel.h"
#include "printing/ReportOutput.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/HistoryTab.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>
#include <memory>

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Replaces a file by one of the given bytes (nothing: an empty file).
bool overwrite(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

const QString kCloseQuestion = QStringLiteral("見積書の変更が登録されていません。登録せずに終了します。よろしいですか");

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void freshDataFolderOpensBothDatabases();
    void unopenableDatabaseStopsStartup_data();
    void unopenableDatabaseStopsStartup();
    void damagedPagesTheLoadMeetsStopStartup_data();
    void damagedPagesTheLoadMeetsStopStartup();
    void exitWithWindowsOpenEndsCleanly();
    void secondStartBringsFirstForwardAndTouchesNothing();
    void claimIsTheLockOfALiveHolder();
    void simultaneousStartsLeaveOneInstance();
    void closingClosesEverythingLastOpenedFirst_data();
    void closingClosesEverythingLastOpenedFirst();
    void closingWhileACellIsTyped_data();
    void closingWhileACellIsTyped();
    void closingAsksWhenTypedWorkWouldBeLost_data();
    void closingAsksWhenTypedWorkWouldBeLost();
    void openerShowsOneWindowAndHintGetsItsKey();
    void ownCompanyLabelsJumpToSettings();
    void qtTextsInJapanese();
};

void TestStartup::freshDataFolderOpensBothDatabases()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.window.isVisible());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Velt 見積書"));
    QVERIFY(f.data().isOpen());
    QVERIFY(f.work().isOpen());
    QCOMPARE(f.session.DataDbPath(), f.folder.dataDbPath());
    QCOMPARE(f.session.WorkDbPath(), f.folder.workDbPath());
    QCOMPARE(f.session.PostalDictionaryPath(), f.folder.postalPath());
    QCOMPARE(control<QTabWidget>(f.window, "SSTab1")->count(), 3);
    QVERIFY(f.messages.shown().isEmpty());
    f.window.close();
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
}

void TestStartup::unopenableDatabaseStopsStartup_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("present");
    QTest::newRow("work database missing") << "VeltWork2K.mdb" << "VeltData2K.mdb";
    QTest::newRow("data database missing") << "VeltData2K.mdb" << "VeltWork2K.mdb";
}

void TestStartup::unopenableDatabaseStopsStartup()
{
    QFETCH(QString, missing);
    QFETCH(QString, present);
    MainWindowFixture f{QStringList{present}};
    const QByteArray before = FileHash(f.folder.dataFolder() + present);
    QVERIFY(!f.open());

    // One error box that names the file and gives the engine's words.
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(missing), qPrintable(box.text));
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    // Nothing created, nothing written.
    QCOMPARE(filesIn(f.folder.dataFolder()), QStringList{present});
    QCOMPARE(FileHash(f.folder.dataFolder() + present), before);
}

// A file whose header is sound but whose pages are damaged (ten pages of
// noise from page 2 on): the load's first reads meet the damage, and the
// start-up stops with one box that names the file and says it is damaged,
// SQLite's words in the details, instead of a window with empty lists on
// which every store fails.
void TestStartup::damagedPagesTheLoadMeetsStopStartup_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("data file") << "VeltData2K.mdb";
    QTest::newRow("work file") << "VeltWork2K.mdb";
}

void TestStartup::damagedPagesTheLoadMeetsStopStartup()
{
    QFETCH(QString, file);
    MainWindowFixture f;
    const QString path = f.folder.dataFolder() + file;
    {
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QRandomGenerator bytes(7);
        QByteArray noise(10 * 4096, '\0');
        bytes.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        QVERIFY(damaged.seek(4096) && damaged.write(noise) == noise.size());
    }
    QVERIFY(!f.open());

    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(file), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("ファイルが壊れている可能性があります")), qPrintable(box.text));
    QVERIFY2(box.detail.contains(QStringLiteral("SQLite")), qPrintable(box.detail));
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
}

// The program as a real process: its event loop ends by QCoreApplication::exit()
// while secondary windows are open, without the main window's close handler.
// The session closes the windows and the databases before the application
// object goes, so the process ends normally.
void TestStartup::exitWithWindowsOpenEndsCleanly()
{
    TestFolder folder;
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral(EXIT_PROBE), {folder.programFolder(), folder.driveRoot(),
                                             QStringLiteral("velt-probe-%1").arg(QCoreApplication::applicationPid())});
    if (!probe.waitForFinished(60000)) {
        probe.kill();
        QFAIL("the program did not end");
    }
    const QString output = QString::fromLocal8Bit(probe.readAll());
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QVERIFY2(probe.exitCode() == 0, qPrintable(output));
    QVERIFY2(output.contains(QStringLiteral("windows open: 3")), qPrintable(output));
    // The work file was written by the run and is whole afterwards.
    Database work;
    QVERIFY(work.open(folder.workDbPath(), Database::Role::Work, false));
    QCOMPARE(work.scalar(QStringLiteral("select count(*) from w明細")).toInt(), 100);
}

void TestStartup::secondStartBringsFirstForwardAndTouchesNothing()
{
    TestFolder folder{QStringList{}};  // a start that loaded would fail here and show an error
    const QString key = QStringLiteral("velt-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(key);
    QCOMPARE(first.claim(), SingleInstance::Claim::Primary);
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    // A start that went on to load would show its error box here and fail,
    // instead of waiting in a real message box.
    RecordingPresenter messages;
    SessionOptions options = MainWindowFixture::optionsFor(folder);
    options.messagePresenter = &messages;
    QCOMPARE(StartProgram(options, key), 0);
    QTRY_COMPARE(activated.count(), 1);
    QVERIFY(messages.shown().isEmpty());
    QVERIFY(filesIn(folder.dataFolder()).isEmpty());
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget* t : tops) QVERIFY(t->objectName() != QStringLiteral("Velt") || !t->isVisible());
}

// The claim is the lock: a later start never takes it from a live holder,
// never removes what lies at the socket's place, and ends when the holder
// does not answer; once the holder is gone the next start is the instance.
void TestStartup::claimIsTheLockOfALiveHolder()
{
    const QString key = QStringLiteral("velt-test-held-%1").arg(QCoreApplication::applicationPid());
    SingleInstance later(key);
    QVERIFY(QDir().mkpath(SingleInstance::folder()));
    QLockFile held(later.lockPath());  // alive (this process) and silent
    QVERIFY(held.tryLock(0));
    QVERIFY(overwrite(later.socketPath(), "left here"));
    const auto cleanup = qScopeGuard([&] { QFile::remove(later.socketPath()); });

    QCOMPARE(later.claim(300), SingleInstance::Claim::Running);
    QVERIFY(QFileInfo::exists(later.lockPath()));
    QCOMPARE(FileHash(later.socketPath()), QCryptographicHash::hash("left here", QCryptographicHash::Sha256));

    held.unlock();
    SingleInstance next(key);
    QCOMPARE(next.claim(), SingleInstance::Claim::Primary);
    QSignalSpy activated(&next, &SingleInstance::activationRequested);
    SingleInstance third(key);
    QCOMPARE(third.claim(), SingleInstance::Claim::Running);
    QTRY_COMPARE(activated.count(), 1);
}

// The real program started several times at the same moment, in 20 tries:
// each try leaves exactly one instance running, and every other start asks
// it to come forward and ends. The starts differ in TMPDIR and
// XDG_RUNTIME_DIR, which must not matter. Each try ends by killing the
// instance, so the next one also finds the lock and socket of an instance
// that is gone and must take them over.
void TestStartup::simultaneousStartsLeaveOneInstance()
{
    constexpr int kTries = 20;
    constexpr int kStarts = 4;
    TestFolder folder;
    // The program in the test's program folder runs on the test's data folder.
    const QString program = folder.programFolder() + QStringLiteral("/PrjVelt");
    QVERIFY(QFile::copy(QStringLiteral(VELT_PROGRAM), program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    const SingleInstance names(SingleInstance::keyFor(folder.dataFolder()));
    const auto cleanup = qScopeGuard([&names] {
        QFile::remove(names.lockPath());
        QFile::remove(names.socketPath());
    });

    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    base.insert(QStringLiteral("VELT_DRIVE_ROOT"), folder.driveRoot());
    base.insert(QStringLiteral("VELT_COMPONENT_REGISTRY"), folder.root() + QStringLiteral("/components.json"));
    base.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("velt.instance.debug=true"));

    int oneInstance = 0;
    int staleLocks = 0;
    for (int t = 0; t < kTries; ++t) {
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < kStarts; ++i) {
            const QString own = folder.root() + QStringLiteral("/env%1").arg(i);
            QVERIFY(QDir().mkpath(own));
            QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QProcessEnvironment env = base;
            env.insert(QStringLiteral("TMPDIR"), own);
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), own);
            auto p = std::make_unique<QProcess>();
            p->setProgram(program);
            p->setProcessEnvironment(env);
            starts.push_back(std::move(p));
        }
        for (auto& p : starts) p->start();

        const auto running = [&starts] {
            QList<QProcess*> out;
            for (auto& p : starts)
                if (p->state() != QProcess::NotRunning) out << p.get();
            return out;
        };
        (void)QTest::qWaitFor([&] { return running().size() <= 1; }, 30000);
        QTest::qWait(200);  // a second instance would still be running now
        const QList<QProcess*> left = running();
        bool ok = left.size() == 1;
        for (auto& p : starts) {
            if (p.get() == (left.isEmpty() ? nullptr : left.first())) continue;
            ok = ok && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        }
        if (ok) {
            // Every other start knocked and was heard.
            QByteArray log;
            ok = QTest::qWaitFor(
                [&] {
                    log += left.first()->readAllStandardError();
                    return log.count("activation requested") == kStarts - 1;
                },
                10000);
            if (!ok) qWarning().noquote() << "try" << t + 1 << "instance log:" << log;
        } else {
            qWarning() << "try" << t + 1 << ":" << left.size() << "instances running";
        }
        if (ok) ++oneInstance;
        for (QProcess* p : running()) {
            p->kill();
            p->waitForFinished(5000);
        }
        // The killed instance left its lock behind for the next try.
        if (QFileInfo::exists(names.lockPath())) ++staleLocks;
    }
    qInfo("%d of %d tries of %d simultaneous starts left exactly one instance", oneInstance, kTries, kStarts);
    QCOMPARE(oneInstance, kTries);
    QCOMPARE(staleLocks, kTries);
}

void TestStartup::closingClosesEverythingLastOpenedFirst_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc in a text box") << "esc";
    QTest::newRow("cmd閉じる") << "cmd閉じる";
    QTest::newRow("cmd履歴閉じる") << "cmd履歴閉じる";
    QTest::newRow("cmd設定閉じる") << "cmd設定閉じる";
}

void TestStartup::closingClosesEverythingLastOpenedFirst()
{
    QFETCH(QString, how);
    MainWindowFixture f;
    QVERIFY(f.open());
    control<QPushButton>(f.quotation(), "cmdコード")->click();
    control<QPushButton>(f.quotation(), "cmd顧客マスタ")->click();
    QStringList closed;
    for (QWidget* win : f.session.windows().openWindows()) {
        const QString name = win->objectName();
        connect(win, &QObject::destroyed, this, [&closed, name] { closed << name; });
    }
    QCOMPARE(f.session.windows().openWindows().size(), 2);

    if (how == QLatin1String("esc")) {
        control<QTabWidget>(f.window, "SSTab1")->setCurrentIndex(0);
        QTest::keyClick(control<QLineEdit>(f.quotation(), "txt件名"), Qt::Key_Escape);
    } else {
        f.window.findChild<QPushButton*>(how)->click();
    }
    QTRY_VERIFY(!f.window.isVisible());
    QCOMPARE(closed, (QStringList{QStringLiteral("Frm顧客情報"), QStringLiteral("Frmコード")}));
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    QVERIFY(f.messages.shown().isEmpty());  // no question asked
}

void TestStartup::closingWhileACellIsTyped_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::newRow("Esc in a 品名 cell") << "esc" << 1 << "鉛筆";
    QTest::newRow("Esc in a 数量 cell") << "esc" << 4 << "3";
    QTest::newRow("the window's close in a 単位 cell") << "close" << 5 << "樽";
    QTest::newRow("the session's quit in a 数量 cell") << "quit" << 4 << "3";
}

// The cell being typed is dropped with the window once the close question
// (a typed cell is unsaved work) is answered Yes, and at once when the session
// quits: no box about a write into the closed work file comes after the
// window has gone.
void TestStartup::closingWhileACellIsTyped()
{
    QFETCH(QString, how);
    QFETCH(int, col);
    QFETCH(QString, typed);
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    GridView* grid = control<GridView>(f.quotation(), "Grid明細");
    grid->setFocus();
    grid->setCurrentCell(0, col);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, typed, Qt::NoModifier);
    QVERIFY(grid->isEditing());

    QEvent quit(QEvent::Quit);
    if (how == QLatin1String("esc"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else if (how == QLatin1String("close"))
        f.window.close();
    else
        QCoreApplication::sendEvent(qApp, &quit);
    QTRY_VERIFY(!f.window.isVisible());
    QVERIFY(!f.work().isOpen());
    // Whatever the window's going left queued has run.
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.texts(), how == QLatin1String("quit") ? QStringList() : QStringList{kCloseQuestion});
}

// Closing the program while the quotation holds work not stored asks first,
// whichever way it is closed (いいえ is the default and keeps everything);
// a screen as the last reset, load or store left it closes at once, and so
// does the program when the desktop session ends.
void TestStartup::closingAsksWhenTypedWorkWouldBeLost_data()
{
    QTest::addColumn<QString>("work");  // what was done on the quotation tab
    QTest::addColumn<QString>("how");   // how the program is closed
    QTest::addColumn<bool>("yes");      // the answer, if asked
    QTest::addColumn<bool>("asked");

    QTest::newRow("fresh screen, Esc") << "none" << "esc" << false << false;
    QTest::newRow("subject typed, Esc, No") << "subject" << "esc" << false << true;
    QTest::newRow("subject typed, cmd閉じる, Yes") << "subject" << "cmd閉じる" << true << true;
    QTest::newRow("line typed, window closed, No") << "line" << "window" << false << true;
    QTest::newRow("cell being typed, cmd履歴閉じる, No") << "cell" << "cmd履歴閉じる" << false << true;
    QTest::newRow("quotation amount typed, cmd設定閉じる, No") << "amount" << "cmd設定閉じる" << false << true;
    QTest::newRow("subject typed and typed back, Esc") << "undone" << "esc" << false << false;
    QTest::newRow("loaded, unchanged, Esc") << "loaded" << "esc" << false << false;
    QTest::newRow("loaded, then a line typed, Esc, No") << "loaded+line" << "esc" << false << true;
    QTest::newRow("stored, Esc") << "stored" << "esc" << false << false;
    QTest::newRow("line typed, the session quits") << "line" << "quit" << false << false;
    // Refused as the press takes the focus: still typed work, and its warning
    // does not come after the window has gone.
    QTest::newRow("a refused cell, 閉じる clicked, Yes") << "refused" << "click" << true << true;
}

void TestStartup::closingAsksWhenTypedWorkWouldBeLost()
{
    QFETCH(QString, work);
    QFETCH(QString, how);
    QFETCH(bool, yes);
    QFETCH(bool, asked);
    MainWindowFixture f;
    QVERIFY(f.open());
    QVERIFY(f.activate());
    QuotationTab& q = f.quotation();
    auto* lines = q.findChild<WorkTableModel*>(QStringLiteral("wkDat"));
    auto* subject = control<QLineEdit>(q, "txt件名");
    const int amount = lines->columnOf(QStringLiteral("金額"));
    const auto typeLine = [&] { QVERIFY(lines->editCell(0, amount, QStringLiteral("500"))); };
    if (work == u"subject" || work == u"undone") {
        subject->setFocus();
        QTest::keyClicks(subject, QStringLiteral("abc"));
        if (work == u"undone")
            for (int i = 0; i < 3; ++i) QTest::keyClick(subject, Qt::Key_Backspace);
    } else if (work == u"line") {
        typeLine();
    } else if (work == u"cell" || work == u"refused") {
        GridView* grid = control<GridView>(q, "Grid明細");
        grid->setFocus();
        grid->setCurrentCell(0, amount);
        QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, work == u"cell" ? QStringLiteral("7") : QStringLiteral("12a"),
                            Qt::NoModifier);
        QVERIFY(grid->isEditing());
    } else if (work == u"amount") {
        auto* box = control<NumberBox>(q, "num見積金額");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("12345"));
    } else if (work.startsWith(u"loaded") || work == u"stored") {
        control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("乙商店"));
        typeLine();
        control<QLineEdit>(q, "txtNo")->setText(QStringLiteral("5"));
        control<QPushButton>(q, "cmd登録")->click();  // answered Yes
        QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書ヘッダ where 伝票番号 = 5")).toInt(), 1);
        if (work.startsWith(u"loaded")) {
            auto* number = control<QLineEdit>(q, "txtNo");
            number->setFocus();
            number->selectAll();
            QTest::keyClicks(number, QStringLiteral("5"));
            QTest::keyClick(number, Qt::Key_Return);
            QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("乙商店"));
        }
        if (work == u"loaded+line") QVERIFY(lines->editCell(1, amount, QStringLiteral("100")));
    }
    f.messages.clear();
    f.messages.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QEvent quit(QEvent::Quit);
    if (how == u"esc")
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : subject, Qt::Key_Escape);
    else if (how == u"window")
        f.window.close();
    else if (how == u"quit")
        QCoreApplication::sendEvent(qApp, &quit);
    else if (how == u"click")
        QTest::mouseClick(control<QPushButton>(q, "cmd閉じる"), Qt::LeftButton);
    else
        f.window.findChild<QPushButton*>(how)->click();
    QCoreApplication::processEvents();

    QCOMPARE(f.messages.texts(), asked ? QStringList{kCloseQuestion} : QStringList());
    if (asked) {
        QCOMPARE(f.messages.shown().first().title, QStringLiteral("終了の確認"));
        QCOMPARE(f.messages.shown().first().defaultButton, MessageBoxSpec::Default::No);
    }
    const bool closed = !asked || yes;
    QCOMPARE(f.window.isVisible(), !closed);
    QCOMPARE(f.work().isOpen(), !closed);
    if (closed) return;
    // Nothing typed was lost, and the next close asks again.
    if (work == u"subject") QCOMPARE(subject->text(), QStringLiteral("abc"));
    if (work == u"line") QCOMPARE(lines->money(0, amount), Currency::fromWhole(500));
    if (work == u"cell") QVERIFY(control<GridView>(q, "Grid明細")->isEditing());
    if (work == u"amount") QCOMPARE(control<NumberBox>(q, "num見積金額")->text(), QStringLiteral("12345"));
    f.messages.clear();
    f.window.close();
    QCOMPARE(f.messages.texts(), QStringList{kCloseQuestion});
    QVERIFY(!f.window.isVisible());
}

void TestStartup::openerShowsOneWindowAndHintGetsItsKey()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    control<QPushButton>(f.quotation(), "cmdコード")->click();
    control<QPushButton>(f.quotation(), "cmdコード")->click();
    int codeWindows = 0;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QStringLiteral("Frmコード") && t->isVisible()) ++codeWindows;
    QCOMPARE(codeWindows, 1);
    QCOMPARE(f.session.windows().find(QStringLiteral("Frmコード"))->windowTitle(), QStringLiteral("コード表"));
    control<QPushButton>(f.settings(), "cmd情報")->click();
    QVERIFY(qobject_cast<FrmInfo*>(f.session.windows().find(QStringLiteral("FrmInfo"))));

    control<QPushButton>(f.settings(), "cmdHint")->click();
    auto* hint = qobject_cast<HintWindow*>(f.session.windows().find(QStringLiteral("Hint")));
    QVERIFY(hint);
    QCOMPARE(control<QLabel>(*hint, "lblFormName")->text(), QStringLiteral("Velt"));
    QCOMPARE(control<QLabel>(*hint, "lblCtlName")->text(), QStringLiteral("cmdHint"));
    QCOMPARE(control<QLabel>(*hint, "lblFormTitle")->text(), QStringLiteral("Velt 見積書"));
    // The caption in the key is the one when the button is pressed.
    QPointer<QWidget> oldHint(hint);
    hint->close();
    QTRY_VERIFY(oldHint.isNull());
    f.window.setWindowTitle(QStringLiteral("Velt's 見積書"));
    control<QPushButton>(f.settings(), "cmdHint")->click();
    hint = qobject_cast<HintWindow*>(f.session.windows().find(QStringLiteral("Hint")));
    QVERIFY(hint);
    QCOMPARE(control<QLabel>(*hint, "lblFormTitle")->text(), QStringLiteral("Velt's 見積書"));

    // A closed window comes back afresh on the next click.
    QWidget* code = f.session.windows().find(QStringLiteral("Frmコード"));
    QPointer<QWidget> old(code);
    code->close();
    QTRY_VERIFY(old.isNull());
    control<QPushButton>(f.quotation(), "cmdコード")->click();
    QVERIFY(f.session.windows().find(QStringLiteral("Frmコード")) != nullptr);
}

void TestStartup::ownCompanyLabelsJumpToSettings()
{
    MainWindowFixture f;
    QVERIFY(f.open());
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::mouseDClick(control<QLabel>(f.quotation(), "lbl自社名"), Qt::LeftButton);
    QCOMPARE(control<QTabWidget>(f.window, "SSTab1")->currentIndex(), 2);
    QTRY_VERIFY(control<QLineEdit>(f.settings(), "txt自社名")->hasFocus());
    control<QTabWidget>(f.window, "SSTab1")->setCurrentIndex(0);
    QTest::mouseDClick(control<QLabel>(f.quotation(), "lbl自社情報"), Qt::LeftButton);
    QCOMPARE(control<QTabWidget>(f.window, "SSTab1")->currentIndex(), 2);
    QTRY_VERIFY(control<MultiLineEdit>(f.settings(), "txt自社情報")->hasFocus());
}

// Qt's own texts read in Japanese once the start-up has loaded Qt's
// translations: the context menu of every text field and the print preview's
// buttons (last here: the translations stay for the rest of the run).
void TestStartup::qtTextsInJapanese()
{
    QVERIFY(InstallQtTranslations());

    QLineEdit edit(QStringLiteral("見積"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) items << a->text().section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(items, (QStringList{QStringLiteral("元に戻す(&U)"), QStringLiteral("やり直す(&R)"),
                                 QStringLiteral("切り取り(&T)"), QStringLiteral("コピー(&C)"),
                                 QStringLiteral("貼り付け(&P)"), QStringLiteral("削除"),
                                 QStringLiteral("すべてを選択")}));

    QtReportOutput output;
    auto pages = std::make_shared<ReportDocument>();
    pages->pages.append(ReportPage{});
    output.preview(pages, QStringLiteral("見積書"));
    const auto previews = QApplication::topLevelWidgets();
    const auto found = std::find_if(previews.begin(), previews.end(),
                                    [](QWidget* w) { return qobject_cast<QPrintPreviewDialog*>(w) && w->isVisible(); });
    QVERIFY(found != previews.end());
    const QToolBar* bar = (*found)->findChild<QToolBar*>();
    QVERIFY(bar);
    QStringList buttons;
    for (const QAction* a : bar->actions())
        if (!a->isSeparator() && !a->text().isEmpty()) buttons << a->text() + QLatin1Char('|') + a->toolTip();
    QVERIFY2(buttons.contains(QStringLiteral("印刷|印刷")), qPrintable(buttons.join(QLatin1Char(' '))));
    for (const QString& english : {QStringLiteral("Print"), QStringLiteral("Fit page"), QStringLiteral("Next page")})
        QVERIFY2(!buttons.join(QLatin1Char('|')).contains(english), qPrintable(buttons.join(QLatin1Char(' '))));
    output.closePreviews();
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
