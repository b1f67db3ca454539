#pragma once
// The customer-search dialog "顧客参照": four search boxes with 検索, fifty
// kana-initial buttons, the result grid Grid参照 and 選択 / クリア / 閉じる.
// It only reads the data file; a pick puts the customer's name into
// ModPelmar::RetVal. Its controls are private and carry their own names as
// objectName (the kana buttons "cmd50(0)".."cmd50(49)").

#include "customer_search/ModPelmar.h"

#include <QDialog>
#include <array>

class QFrame;
class QLineEdit;
class QPushButton;
class QTableView;
class PelmarGridModel;

class FrmPelmar : public QDialog {
    Q_OBJECT
public:
    explicit FrmPelmar(QWidget* parent = nullptr);
    ~FrmPelmar() override;

    // The dialog's load: opens the data file named by ModPelmar::DataPath and
    // starts with empty boxes and an empty list. False when the file cannot
    // be read (nothing is left open), with why in reason (when given).
    bool Form_Load(QString* reason = nullptr);
    // Whether the dialog was closed by a pick.
    bool picked() const { return picked_; }

    void Exec顧客検索();
    void ReadSansyo(const QString& letter);
    void cmd選択_Click();
    void cmdクリア_Click();
    void cmd閉じる_Click();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillGrid(const ModPelmar::SearchStatement& statement);
    void buildControls();

    PelmarGridModel* model_ = nullptr;
    bool picked_ = false;

    QLineEdit* txtかな = nullptr;
    QLineEdit* txt電話番号 = nullptr;
    QLineEdit* txt顧客名 = nullptr;
    QLineEdit* txt住所1 = nullptr;
    QPushButton* cmd検索 = nullptr;
    QPushButton* cmd選択 = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd閉じる = nullptr;
    std::array<QPushButton*, 50> cmd50{};
    QTableView* Grid参照 = nullptr;
    QFrame* Msg検索中 = nullptr;
};
