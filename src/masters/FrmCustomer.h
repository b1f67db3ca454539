#pragma once
// The customer window "顧客情報": the customer master edited as a list on the
// work table w顧客マスタ (read with the search boxes, saved by 登録, ticked rows
// deleted), a detail panel that edits and stores one customer, the import
// from a linked application (参照), and the pick of a customer into the
// quotation (選択 or a double click), written through the quotation port.
//
// Its controls are private and carry their own names as objectName.

#include "app/SecondaryWindow.h"

class GridView;
class MultiLineEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QuotationPort;
class Session;
class TextComboBox;
class WorkTableModel;
struct MasterWrite;

class FrmCustomer : public SecondaryWindow {
    Q_OBJECT
public:
    // Builds the window and runs its load (the whole customer list is read).
    FrmCustomer(Session& session, QuotationPort& quotation, QWidget* parent = nullptr);

    // ---- The window's procedures -----------------------------------------------------
    // Reads 顧客マスタ, filtered by the two search boxes, into the list.
    void Read顧客マスタ();
    // Empties the list and the search boxes and refills the honorific list.
    void Clear顧客情報();
    // Deletes the ticked customers from 顧客マスタ and from the list.
    void Delete顧客();
    // Writes every list row with a name into 顧客マスタ.
    void Entry顧客情報();
    // Replaces the list by the customers of the linked application.
    void Read顧客リンク();

    // ---- Handlers ------------------------------------------------------------------------
    void cmd選択_Click();
    void cmd詳細_Click();
    void cmd新規_Click();
    void cmd顧客詳細登録_Click();
    void cmd顧客詳細クリア_Click();
    void cmd顧客詳細閉じる_Click();
    void cmd郵便_Click();

private:
    void buildControls();
    void buildDetailPanel();
    void connectHandlers();
    void fillHonorifics();
    // The text of a column of the grid's current row ("" without one).
    QString currentText(int col) const;
    // A write into 顧客マスタ under the busy label "登録中です････".
    MasterWrite savingWrite(const QString& failure);

    Session& session_;
    QuotationPort& quotation_;

    // ---- Controls (objectName = the member's name) ----------------------------------
    QLineEdit* txt顧客名 = nullptr;
    QLineEdit* txtかな = nullptr;
    QPushButton* cmd読込 = nullptr;
    QPushButton* cmdクリア = nullptr;
    GridView* Grid顧客マスタ = nullptr;
    WorkTableModel* dat顧客 = nullptr;
    QPushButton* cmd選択 = nullptr;
    QPushButton* cmd詳細 = nullptr;
    QPushButton* cmd新規 = nullptr;
    QPushButton* cmd削除 = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmdリンク参照 = nullptr;
    QPushButton* cmd閉じる = nullptr;

    QFrame* Cn顧客詳細 = nullptr;
    QLineEdit* txt顧客名詳細 = nullptr;
    MultiLineEdit* txt顧客情報 = nullptr;
    QLineEdit* txtふりがな = nullptr;
    TextComboBox* cmb敬称 = nullptr;
    QPushButton* cmd郵便 = nullptr;
    QPushButton* cmd顧客詳細登録 = nullptr;
    QPushButton* cmd顧客詳細クリア = nullptr;
    QPushButton* cmd顧客詳細閉じる = nullptr;

    QFrame* CnKokyakuMsg = nullptr;
    QLabel* LblKokyakuMsg = nullptr;
};
