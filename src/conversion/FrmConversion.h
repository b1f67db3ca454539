#pragma once
// The data conversion window "データ変換": copies the older data file
// "VeltData.mdb" of the data folder into the current data database, table by
// table (DataConversion), showing which table it works on, and ends with one
// message that names whatever could not be copied. Its controls are private
// and carry their own names as objectName.

#include "app/SecondaryWindow.h"

class QFrame;
class QLabel;
class QPushButton;
class Session;

class FrmConversion : public SecondaryWindow {
    Q_OBJECT
public:
    explicit FrmConversion(Session& session, QWidget* parent = nullptr);

    // The four sentences of the explanation, joined by CR LF.
    static QString ExplanationText();
    // The older file's path: "VeltData.mdb" in the data folder, its name
    // matched without regard to letter case (the exact spelling first); the
    // exact spelling's path when there is none.
    QString OldDataPath() const;

    // The run: no confirmation; the older file is opened read-only; 実行 and
    // 閉じる are disabled and user input is held back until it ends.
    void ExecChg97to2000();
    void cmd実行_Click();
    void cmd閉じる_Click();
    bool running() const { return running_; }

signals:
    // A progress text was put into Lbl説明 (before it is painted).
    void progressShown(const QString& text);
    // A run has ended (after its closing message) that wrote rows into the
    // current data database: what other windows show of it may be stale.
    void dataConverted();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The run over the older file at path, once it is known to exist; true
    // when it wrote anything.
    bool runConversion(const QString& path);

    Session& session_;
    bool running_ = false;

    QFrame* imContainer3D1 = nullptr;
    QFrame* imContainer3D2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Lbl説明 = nullptr;
    QPushButton* cmd実行 = nullptr;
    QPushButton* cmd閉じる = nullptr;
};
