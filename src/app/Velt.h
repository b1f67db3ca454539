#pragma once
// The main window "Velt 見積書": three tabs (quotation, history, settings),
// the secondary-window openers, and the window's own procedures. The
// procedures live in several source files by area (life cycle, settings,
// layout, quotation screen, calculation, grid editing, storing, loading,
// history, look-ups); this header is their one declaration.
//
// Controls carry their own names as objectName ("txtNo", "Grid明細", ...).

#include "Controls.h"
#include "ModVelt.h"
#include "WindowRegistry.h"

#include <QWidget>
#include <array>
#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class GridView;
class WorkTableModel;

// A straight line between two points, the way the seal boxes are drawn.
class LineWidget : public QWidget {
    Q_OBJECT
public:
    explicit LineWidget(QWidget* parent = nullptr);
    // End points in twips, relative to the parent.
    void setEnds(double x1, double y1, double x2, double y2);
    double x1() const { return x1_; }
    double y1() const { return y1_; }
    double x2() const { return x2_; }
    double y2() const { return y2_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

struct VeltOptions {
    // The program's folder; its data folder is <programFolder>/data/.
    // Empty: the folder of the running executable.
    QString programFolder;
};

class Velt : public QWidget {
    Q_OBJECT
public:
    explicit Velt(const VeltOptions& options = {}, QWidget* parent = nullptr);
    ~Velt() override;

    // ---- Start-up and life cycle -------------------------------------------------
    // Runs the whole load. False when start-up had to stop (a database could
    // not be opened): the error was shown and the window closed.
    bool Form_Load();
    void Form_Unload();
    void bringForward();
    WindowRegistry& windows() { return windows_; }

    // Secondary-window openers.
    void cmdA4_Click();
    void cmdB5_Click();
    void cmdHint_Click();
    void cmdコード_Click();
    void cmdデータ変換_Click();
    void cmd顧客マスタ_Click();
    void cmd商品_Click();
    void cmd情報_Click();
    void lbl自社名_DblClick();
    void lbl自社情報_DblClick();

    // ---- Settings tab ---------------------------------------------------------------
    void Clear設定();
    void Read設定();
    void Entry設定();
    void cmd設定登録_Click();
    void cmd設定クリア_Click();
    void cmb顧客リンクアプリ_Click();
    void cmb顧客リンクアプリ_Change();
    void cmb商品リンクアプリ_Click();
    void cmd顧客リンクパス_Click();
    void cmd商品リンクパス_Click();
    void Data初期化();
    void cmd初期化_Click();
    void CreateNewTable();

    // ---- Layout from the settings ---------------------------------------------------
    void FormInit();
    // The grids' models over their work tables (the first step of FormInit).
    void bindGrids();

    // ---- Quotation screen -----------------------------------------------------------
    void Clear明細ワーク();
    void Clear見積書(bool all);
    void AddCmb顧客名();
    void cmdクリア_Click();
    void SetDD品名();
    void Readコード表(const QString& kind);
    void Calc明細();
    QVariant Proc管理(const QString& item, const QString& mode, const QVariant& value);
    void Tenki見積書();
    void cmd転記_Click();

    // ---- Detail grid editing, subtotals ---------------------------------------------
    void Seek商品();
    // Connects the detail-line model's edits; run by bindGrids once the model exists.
    void connectDetailGrid();
    void Create小計();
    void LineDelete();
    void cmd小計_Click();
    void cmd行削除_Click();
    // The detail grid's handlers on wkDat and Grid明細.
    void Grid明細_BeforeColUpdate(int row, int col, QString& text, bool& cancel);
    void Grid明細_AfterColUpdate(int row, int col);
    void Grid明細_ComboSelect(int col, int sourceRow);
    void Grid明細_KeyDown(int& key);
    void Grid明細_RowColChange(int row, int col);
    // True when the line in row `row` of w明細 (0-based: line row + 1) is a
    // subtotal line, whose 品名, 数量, 単位 and 単価 no writer may change
    // (refuse with DetailLine::kSubtotalLineRefusal as ("その他", "注意", ...)).
    bool isSubtotalLine(int row) const;

    // ---- Storing, loading, history --------------------------------------------------
    void cmd登録_Click();
    bool EntryCheck();
    void Entry見積書();
    void AutoEntry顧客マスタ(const QString& name);
    void AutoEntry商品();
    void txtNo_EnterKey(int& key);
    void txtNo_Commit();
    void Read見積書();
    bool Read見積書ヘッダ();
    void Delete見積書();
    void cmd次伝票_Click();
    void cmd前伝票_Click();
    void cmd削除_Click();
    void Read見積履歴();
    void Clear履歴();
    void Delete履歴();
    void cmd読込_Click();
    void cmd履歴削除_Click();
    void cmd履歴クリア_Click();
    void cmd見積書_Click();
    void Grid履歴リスト_Click();

    // ---- Product-detail panel, customer look-ups ------------------------------------
    void cmd商品詳細_Click();
    void Entry商品詳細();
    void cmd顧客詳細登録_Click();
    void cmd顧客詳細クリア_Click();
    void cmd顧客詳細閉じる_Click();
    void Seek顧客情報();
    void cmb顧客名_LostFocus();
    void cmd顧客参照_Click();
    void cmd郵便_Click();

    // ---- Print panel ----------------------------------------------------------------
    void cmd印刷_Click();

    // ================================================================================
    // Controls
    QTabWidget* SSTab1 = nullptr;
    QWidget* tabQuotation = nullptr;
    QWidget* tabHistory = nullptr;
    QWidget* tabSettings = nullptr;

    // Quotation tab: header
    QLineEdit* txtNo = nullptr;
    QPushButton* cmd前伝票 = nullptr;
    QPushButton* cmd次伝票 = nullptr;
    DateBox* dt日付 = nullptr;
    TextComboBox* cmb顧客名 = nullptr;
    TextComboBox* cmb敬称 = nullptr;
    QPushButton* cmd顧客参照 = nullptr;
    QPushButton* cmd郵便 = nullptr;
    MultiLineEdit* txt顧客情報 = nullptr;
    QLineEdit* txt件名 = nullptr;
    MultiLineEdit* txtメモ = nullptr;
    TextComboBox* cmb有効期限 = nullptr;
    TextComboBox* cmb支払条件 = nullptr;
    TextComboBox* cmb受渡場所 = nullptr;
    TextComboBox* cmb納期 = nullptr;
    std::array<QLineEdit*, 4> txt印鑑{};
    std::array<LineWidget*, 8> 印鑑Line{};  // 印鑑Line1 .. 印鑑Line8
    NumberBox* num税抜計 = nullptr;
    NumberBox* num消費税 = nullptr;
    NumberBox* num合計 = nullptr;
    NumberBox* num見積金額 = nullptr;
    QLabel* lbl税抜計 = nullptr;
    QLabel* Lbl消費税 = nullptr;
    QLabel* lbl合計 = nullptr;
    QLabel* lbl見積金額 = nullptr;
    QLabel* lbl自社名 = nullptr;
    QLabel* lbl自社情報 = nullptr;

    // Quotation tab: detail grid and its lists (models are bound by FormInit).
    // The drop-downs of the detail grid (DD商品参照, DD商品区分, DD入数, DD単位参照)
    // show the rows and columns of dat商品参照, dat商品区分, dat入数参照 and dat単位参照.
    GridView* Grid明細 = nullptr;
    WorkTableModel* wkDat = nullptr;
    WorkTableModel* dat商品参照 = nullptr;
    WorkTableModel* dat単位参照 = nullptr;
    WorkTableModel* dat入数参照 = nullptr;
    WorkTableModel* dat商品区分 = nullptr;

    // Quotation tab: buttons
    QPushButton* cmd行削除 = nullptr;
    QPushButton* cmd小計 = nullptr;
    QPushButton* cmd商品詳細 = nullptr;
    QPushButton* cmd転記 = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmd削除 = nullptr;
    QPushButton* cmd印刷 = nullptr;
    QPushButton* cmd閉じる = nullptr;
    QPushButton* cmd顧客マスタ = nullptr;
    QPushButton* cmd商品 = nullptr;
    QPushButton* cmdコード = nullptr;

    // Quotation tab: busy panel
    QFrame* CnEntryMsg = nullptr;
    QLabel* EntryMsg = nullptr;

    // Quotation tab: product-detail panel
    QFrame* Cn商品詳細 = nullptr;
    QLineEdit* txt品名詳細 = nullptr;
    TextComboBox* cmb商品区分詳細 = nullptr;
    TextComboBox* cmb入数 = nullptr;
    TextComboBox* cmb単位詳細 = nullptr;
    NumberBox* num単価詳細 = nullptr;
    QLineEdit* txtふりがな = nullptr;
    QLabel* lbl入数詳細 = nullptr;
    QPushButton* cmd顧客詳細登録 = nullptr;
    QPushButton* cmd顧客詳細クリア = nullptr;
    QPushButton* cmd顧客詳細閉じる = nullptr;

    // Quotation tab: print panel
    QFrame* Cn印刷選択 = nullptr;
    QLabel* Label22 = nullptr;
    QPushButton* cmd印刷実行 = nullptr;
    QPushButton* cmdプレビュー = nullptr;
    QCheckBox* chk日付印刷 = nullptr;
    QLabel* Label23 = nullptr;
    QPushButton* cmd印刷選択キャンセル = nullptr;
    QLabel* Label26 = nullptr;
    PickOnlyComboBox* cmb用紙選択 = nullptr;

    // History tab
    TextComboBox* cmb履歴顧客名 = nullptr;
    DateBox* txt開始 = nullptr;
    DateBox* txt終了 = nullptr;
    QLabel* Label28 = nullptr;
    NumberBox* num登録件数 = nullptr;
    GridView* Grid履歴リスト = nullptr;
    WorkTableModel* dat履歴 = nullptr;
    QFrame* CnRirekiMsg = nullptr;
    QLabel* lblRirekiMsg = nullptr;
    QPushButton* cmd読込 = nullptr;
    QPushButton* cmd履歴削除 = nullptr;
    QPushButton* cmd履歴クリア = nullptr;
    QPushButton* cmd見積書 = nullptr;
    QPushButton* cmd履歴閉じる = nullptr;

    // Settings tab
    QLineEdit* txt自社名 = nullptr;
    MultiLineEdit* txt自社情報 = nullptr;
    PickOnlyComboBox* cmb年号 = nullptr;
    PickOnlyComboBox* cmb税端数 = nullptr;
    PickOnlyComboBox* cmb税区分 = nullptr;
    PickOnlyComboBox* cmb小数 = nullptr;
    PickOnlyComboBox* cmb行端数 = nullptr;
    PickOnlyComboBox* cmb印刷用紙 = nullptr;
    PickOnlyComboBox* cmb商品表示順 = nullptr;
    TextComboBox* cmb入数列タイトル = nullptr;
    QCheckBox* chk税計算 = nullptr;
    QCheckBox* Chk商品自動登録 = nullptr;
    QCheckBox* Chk商品区分自動登録 = nullptr;
    QCheckBox* Chk単位自動登録 = nullptr;
    QCheckBox* Chk入数自動登録 = nullptr;
    QCheckBox* Chk有効期限自動登録 = nullptr;
    QCheckBox* Chk支払条件自動登録 = nullptr;
    QCheckBox* Chk受渡場所自動登録 = nullptr;
    QCheckBox* Chk納期自動登録 = nullptr;
    PickOnlyComboBox* cmb顧客リンクアプリ = nullptr;
    QLineEdit* txt顧客リンクパス = nullptr;
    QPushButton* cmd顧客リンクパス = nullptr;
    PickOnlyComboBox* cmb商品リンクアプリ = nullptr;
    QLineEdit* txt商品リンクパス = nullptr;
    QPushButton* cmd商品リンクパス = nullptr;
    std::array<QLineEdit*, 4> txt印鑑タイトル{};  // txt印鑑タイトル1 .. 4
    QPushButton* cmd設定登録 = nullptr;
    QPushButton* cmd設定クリア = nullptr;
    QPushButton* cmd設定削除 = nullptr;
    QPushButton* cmd設定閉じる = nullptr;
    QPushButton* cmdA4 = nullptr;
    QPushButton* cmdB5 = nullptr;
    QPushButton* cmdHint = nullptr;
    QPushButton* cmdデータ変換 = nullptr;
    QPushButton* cmd情報 = nullptr;
    QPushButton* cmd初期化 = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildQuotationTab();
    void buildHistoryTab();
    void buildSettingsTab();
    void connectLifeCycle();
    // Each area's source file connects its own controls.
    void connectSettings();
    void connectLinkSettings();
    void connectMaintenance();
    void connectQuotationScreen();
    void connectNumbering();
    void connectGridEditing();
    void connectSubtotals();
    void connectStoring();
    void connectLoading();
    void connectHistory();
    void connectProductPanel();
    void connectCustomerLookup();
    void connectPrintPanel();

    VeltOptions options_;
    WindowRegistry windows_;
    bool unloaded_ = false;
};
