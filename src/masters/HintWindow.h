#pragma once
// The hint window "ヒント": the hint text of one control of one window, kept
// in KivHint under the key (FormName, CtlName) that the asking window put
// into the session's HintKey before it opened this one. The text is
// read-only until 編集 turns edit mode on; 登録 replaces the stored hint,
// 削除 deletes it.
//
// The class is HintWindow; the window's objectName, the name the window
// registry and the tests know it by, is "Hint". Its controls are private and
// carry their own names as objectName.

#include "app/SecondaryWindow.h"

#include <functional>

class Database;
class MultiLineEdit;
class QLabel;
class QPushButton;
class Session;

class HintWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit HintWindow(Session& session, QWidget* parent = nullptr);

    // The buttons' back colour, and 編集's while edit mode is on (Windows
    // colour values: red in the low byte).
    static constexpr int ButtonColour = 0x9F8959;
    static constexpr int EditModeColour = 0x8080FF;

    // The stored text into the text box (kept as it is when there is none).
    void ReadHint();
    // Replaces the stored hint by the window's key, title and text; then the
    // completion box, or the failure box when nothing could be stored.
    bool EntryHint();
    // Deletes the stored hint and empties the text box; the completion box
    // or the failure box likewise.
    bool Deleteヒント();

    void cmd編集_Click();
    void cmd登録_Click();
    void cmd削除_Click();
    void cmdクリア_Click();

    bool editMode() const;

private:
    // Runs a store or a deletion of the window's key as one write: the stored
    // row goes, then the statements run; the completion box of category, or
    // the failure box.
    using HintStatements = std::function<bool(Database& data, const QString& formName, const QString& ctlName)>;
    bool writeHint(const QString& category, const QString& failure, const HintStatements& statements,
                   std::function<void()> afterCommit = {});

    Session& session_;

    QLabel* lblFormName = nullptr;
    QLabel* lblCtlName = nullptr;
    QLabel* lblFormTitle = nullptr;
    MultiLineEdit* txtContents = nullptr;
    QPushButton* cmd編集 = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmd削除 = nullptr;
    QPushButton* cmdクリア = nullptr;
    QPushButton* cmd閉じる = nullptr;
};
