#pragma once
// The code-list window "コード表": one code list of コードマスタ at a time,
// as its 99 numbered slots "01".."99" in the work table wコードマスタ. The
// grid edits the work table; 登録 stores the whole list, 行削除 takes the
// ticked slots out (the texts below move up) and stores the list at once.
//
// The stored list is written by slot code: after a save or a deletion the
// list holds exactly the rows "01".."99" with the texts the grid shows, an
// empty slot as Null (free for a later registration). A list that was never
// stored stays unstored until 登録.
//
// The class is FrmCode (class names must be ASCII); the window's objectName,
// the name the window registry and the tests know it by, is "Frmコード".
// Its controls are private and carry their own names as objectName.

#include "app/SecondaryWindow.h"

#include <QList>
#include <QVariant>
#include <optional>

class GridView;
class PickOnlyComboBox;
class QLabel;
class QPushButton;
class Session;
class WorkTableModel;

class FrmCode : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmCode(Session& session, QWidget* parent = nullptr);

    // The names offered by the chooser, in order: 単位, 商品区分, the
    // pack-quantity list named by the 入数列タイトル setting, 有効期限,
    // 支払条件, 受渡場所, 納期.
    static QStringList ListNames(const QString& packKind);

    // Loads a list into the 99 slots. A list that cannot be read leaves the
    // window cleared (as クリア does) and says so.
    void Readコード表(const QString& listName);
    // Empties the window: no list chosen, 98 unnumbered rows.
    void Clearコード表();
    // Asks, then takes the ticked slots out of the list.
    void Deleteコードマスタ(const QString& listName);
    // Asks, then stores the list.
    void Entryコード表(const QString& listName);

    void cmb区分_Click();
    void cmdクリア_Click();
    void cmd行削除_Click();
    void cmd登録_Click();

private:
    // The texts of the grid's slots "01".."99" (Null for an empty slot),
    // from the work table; nothing when it cannot be read.
    std::optional<QList<QVariant>> gridSlots(bool compactTicked);

    Session& session_;
    QString shownList_;  // the list the grid holds ("" after クリア)

    QLabel* Label1 = nullptr;
    PickOnlyComboBox* cmb区分 = nullptr;
    GridView* Gridコードマスタ = nullptr;
    WorkTableModel* datコード = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd行削除 = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmd閉じる = nullptr;
};
