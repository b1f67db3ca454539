#pragma once
// The main window "Velt 見積書": the frame around three tabs (quotation,
// history, settings) in the tab control SSTab1, the openers of the secondary
// windows, start-up (the load), the closing order, and the layout from the
// settings. The tabs own their controls and handlers and keep them private;
// the frame wires them through their routines and signals. Controls keep their
// own names as objectName, so each is still found by name from the main window.

#include <QWidget>
#include <memory>

class QTabWidget;
class QTimer;
class HistoryTab;
class PrintHandOver;
class QuotationTab;
class Session;
class SettingsTab;

class Velt : public QWidget {
    Q_OBJECT
public:
    explicit Velt(Session& session, QWidget* parent = nullptr);
    ~Velt() override;

    Session& session() { return session_; }
    QuotationTab& quotation() { return *quotation_; }
    HistoryTab& history() { return *history_; }
    SettingsTab& settings() { return *settings_; }
    // The print road the quotation tab's print panel hands its requests to.
    PrintHandOver& printing() { return *printing_; }

    // ---- Start-up and life cycle -------------------------------------------------
    // Runs the whole load. False when start-up had to stop (a database is
    // missing, cannot be written, or lacks the tables the program needs): the
    // error was shown, the window closed, and nothing was written to either
    // file.
    bool Form_Load();
    void Form_Unload();
    void bringForward();
    // Lays the window out from the settings record (once, from the load).
    void FormInit();
    // The schema upgrade of the data database (an operation of the main
    // window that nothing in the program calls).
    void CreateNewTable();

    // Secondary-window openers.
    void cmdA4_Click();
    void cmdB5_Click();
    void cmdHint_Click();
    void cmdコード_Click();
    void cmdデータ変換_Click();
    // After a conversion that wrote anything: the settings read again, the
    // proposed quotation number renewed when it is now taken.
    void afterConversion();
    void cmd顧客マスタ_Click();
    void cmd商品_Click();
    void cmd情報_Click();
    void lbl自社名_DblClick();
    void lbl自社情報_DblClick();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void connectLifeCycle();
    // Closing is safe once nothing runs below the caller: no operation, no
    // box or dialog waiting for an answer, no nested event loop.
    bool closeIsSafe() const;
    // Ends every open box and dialog as No/Cancel would.
    static void endOpenDialogs();
    // A close or quit held back: tried again until it is safe.
    void retryClose();
    enum class Pending { None, Close, Quit };

    Session& session_;
    QTabWidget* SSTab1 = nullptr;
    SettingsTab* settings_ = nullptr;
    HistoryTab* history_ = nullptr;
    QuotationTab* quotation_ = nullptr;
    std::unique_ptr<PrintHandOver> printing_;
    bool unloaded_ = false;
    // The desktop session asked the program to quit: closing asks nothing.
    bool sessionEnding_ = false;
    Pending pending_ = Pending::None;
    QTimer* closeRetry_ = nullptr;
};
