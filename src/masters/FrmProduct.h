#pragma once
// The product window "商品情報" (Frm商品情報): the product master 商品マスタ
// listed into w商品マスタ by name, reading and category, edited in place in
// the grid Grid商品マスタ and saved back with 登録; ticked products deleted;
// one product added or edited in the detail panel Cn商品詳細; the products of
// a linked application imported into the list (参照); and the current row
// picked into the quotation's current line through the quotation port (選択
// or a double click), the window staying open.
//
// Its controls are private and carry their own names as objectName.

#include "app/SecondaryWindow.h"

class GridView;
class NumberBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QuotationPort;
class Session;
class TextComboBox;
class WorkTableModel;
struct ProductDetailFields;

class FrmProduct : public SecondaryWindow {
    Q_OBJECT
public:
    // Creating the window runs its load: layout, an empty list with fresh
    // code lists, then the list read from 商品マスタ.
    FrmProduct(Session& session, QuotationPort& quotation, QWidget* parent = nullptr);

    // ---- Procedures of the window -------------------------------------------------
    void FormInit();
    void Clear商品情報();
    void Read商品マスタ();
    // "すべて", "単位", "商品区分" or the 入数列タイトル text.
    void Readコード表(const QString& kind);
    void Clear商品詳細();
    void Entry商品詳細();
    void Entry商品情報();
    void Delete商品();
    void Read商品リンク();

    // ---- Handlers -----------------------------------------------------------------
    void cmd新規_Click();
    void cmd詳細_Click();
    void cmd選択_Click();
    void cmd顧客詳細閉じる_Click();

private:
    void build();
    void connectControls();
    ProductDetailFields fields() const;
    // Shows w商品マスタ as it now stands.
    void showList();

    Session& session_;
    QuotationPort& quotation_;

    // ---- Controls -----------------------------------------------------------------
    // Search bar
    QLineEdit* txt品名 = nullptr;
    QLineEdit* txtかな = nullptr;
    TextComboBox* cmb商品区分 = nullptr;

    // The list over w商品マスタ (its drop-downs list w商品区分参照, w入数参照, w単位参照)
    GridView* Grid商品マスタ = nullptr;
    WorkTableModel* dat商品 = nullptr;

    // Button strip
    QPushButton* cmd閉じる = nullptr;
    QPushButton* cmd読込 = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmd削除 = nullptr;
    QPushButton* cmd新規 = nullptr;
    QPushButton* cmd詳細 = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd商品参照 = nullptr;
    QPushButton* cmd選択 = nullptr;

    // Detail panel
    QFrame* Cn商品詳細 = nullptr;
    QLineEdit* txt品名詳細 = nullptr;
    TextComboBox* cmb入数 = nullptr;
    NumberBox* num単価詳細 = nullptr;
    TextComboBox* cmb単位詳細 = nullptr;
    TextComboBox* cmb商品区分詳細 = nullptr;
    QLineEdit* txtふりがな = nullptr;
    QPushButton* cmd顧客詳細閉じる = nullptr;
    QPushButton* cmd顧客詳細登録 = nullptr;
    QPushButton* cmd顧客詳細クリア = nullptr;

    // Busy panel
    QFrame* CnSyohinMsg = nullptr;
    QLabel* LblSyohinMsg = nullptr;
};
