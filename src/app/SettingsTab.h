#pragma once
// The settings tab of the main window: the settings row 自社情報 shown and
// edited, the link sources of imports, the data wipe, and the buttons that
// open the print-settings, hint, conversion and information windows (the
// frame connects those). Other tabs read what it shows through ShownSettings.

#include "app/ShownSettings.h"
#include "platform/Controls.h"

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

    // ShownSettings
    QString shownTaxRounding() const override;
    QString shownSealTitle(int index) const override;

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

signals:
    // Read設定 has put the stored settings into the settings record: the
    // own-company captions of the quotation tab follow.
    void settingsRead();

private:
    void build();

    Session& session_;
};
