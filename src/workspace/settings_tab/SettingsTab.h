#pragma once
// The settings tab of the main window: the settings row 自社情報 shown and
// edited, the link sources of imports, the data wipe, and the buttons that
// open the print-settings, hint, conversion and information windows (the
// frame connects their signals). Its controls are private; other tabs read
// what it shows through ShownSettings, the frame uses its routines and
// signals. Controls carry their own names as objectName; tests find them by
// these names.

#include "platform/Controls.h"
#include "workspace/TabLinks.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class Session;

class SettingsTab : public QWidget, public ShownSettings {
    Q_OBJECT
public:
    explicit SettingsTab(Session& session, QWidget* parent = nullptr);

    // Factory values and lists in the boxes, and the six settings the record
    // takes with them (ClearSettingsRecord); nothing stored changes.
    void Clear設定();
    // The stored row into the record (ReadSettingsRow) and the boxes.
    void Read設定();
    // Asks, then writes what the boxes show into the first row, all or nothing.
    void Entry設定();
    // Asks, then wipes all business data (WipeBusinessData).
    void Data初期化();

    // The own-company boxes take the focus (the quotation tab's captions lead here).
    void focusOwnName();  // txt自社名
    void focusOwnInfo();  // txt自社情報

    // ShownSettings
    QString shownTaxRounding() const override;
    QString shownSealTitle(int index) const override;

signals:
    // Read設定 has put the stored settings into the settings record: the
    // own-company captions of the quotation tab follow.
    void settingsRead();

    // What the frame opens.
    void printSettingsA4Clicked();  // cmdA4
    void printSettingsB5Clicked();  // cmdB5
    void hintClicked();             // cmdHint
    void conversionClicked();       // cmdデータ変換
    void infoClicked();             // cmd情報
    void closeClicked();            // cmd設定閉じる

private:
    void build();

    void cmd設定登録_Click();
    void cmd設定クリア_Click();
    void cmd初期化_Click();
    // The link sources (LinkSettings.cpp).
    void cmb顧客リンクアプリ_Click();
    void cmb顧客リンクアプリ_Change();
    void cmb商品リンクアプリ_Click();
    void cmd顧客リンクパス_Click();
    void cmd商品リンクパス_Click();

    Session& session_;

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
};
