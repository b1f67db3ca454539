#pragma once
// The print-settings windows of the two blank-paper layouts: one window class
// for both, SetPrnA4 over the 印刷情報 row "MA4" and SetPrnB5 over "MB5". They
// show and edit the row's title, margin offsets, the font and size of the four
// text blocks, the bold and company-block flags, T1 and the rule colour; a
// sample printout marks where each setting acts, and the help box shows the
// layout's text of 専用伝票HELP. Under the margins a note tells a margin that
// the print holds (one that would push it off the paper) and to what.
//
// The window writes 17 columns of its row in one transaction and never touches
// the others or the other layout's row. After 登録 (whatever the answer) the
// row is reloaded into the session's print-settings entries, so the next print
// uses it; printSettingsRead tells the frame which entry now holds it.
//
// The window keeps its controls private; each carries its own name as
// objectName, by which tests find it.

#include "app/PrintSettings.h"
#include "app/SecondaryWindow.h"

#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class MultiLineEdit;
class NumberBox;
class PickOnlyComboBox;
class SampleMark;
class SamplePicture;
class Session;

class SetPrnWindow : public SecondaryWindow {
    Q_OBJECT
public:
    // layoutCode "MA4" (the A4 window) or "MB5" (the B5 window).
    SetPrnWindow(Session& session, const QString& layoutCode, QWidget* parent = nullptr);
    // "A4白紙 伝票設定" / "B5白紙 伝票設定": the subject of the save's messages.
    QString messageSubject() const;

    // Factory values and the eight lists (changes nothing stored).
    void Clear印刷設定();
    // Shows the stored row over the current values; without a row nothing changes.
    void Read印刷設定();
    // Asks, then writes the 17 columns into the first row of the layout
    // (adding it when there is none), all or nothing. True when written.
    bool Entry印刷設定();

    void cmdクリア_Click();
    void cmd登録_Click();
    void cmd読込_Click();
    void cmd閉じる_Click();
    void Pic罫線色_DblClick();

    // The installed font families, in the one order all four lists take.
    static QStringList InstalledFonts();

signals:
    // After 登録: the layout's row was reloaded into this entry of the
    // session's print settings (nullptr: no entry was free).
    void printSettingsRead(const PrintSettingsEntry* entry);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildSample(QWidget* parent);
    void buildEditors(QWidget* parent);
    void connectHandlers();
    void Form_Load();
    void showRuleColour(int colour);
    void showPrintedMargins();

    Session& session_;
    QString layoutCode_;

    // ---- Controls (objectName = the name) -----------------------------------------
    QFrame* imContainer3D1 = nullptr;
    SamplePicture* Picture1 = nullptr;
    SampleMark* Frame1 = nullptr;  // 自社名
    SampleMark* Frame2 = nullptr;  // 自社情報
    SampleMark* Frame3 = nullptr;  // 顧客情報
    SampleMark* Frame4 = nullptr;  // 顧客名
    QLabel* Label9 = nullptr;     // タイトル (on the sample)
    QLabel* Label2 = nullptr;     // LM
    QLabel* Label8 = nullptr;     // TM
    QFrame* Line4 = nullptr;      // the left margin on the sample

    QLabel* Label25 = nullptr;
    MultiLineEdit* txtヘルプ = nullptr;

    QFrame* imContainer3D46 = nullptr;
    QLineEdit* txtタイトル1 = nullptr;
    NumberBox* numLM = nullptr;
    NumberBox* numTM = nullptr;
    NumberBox* numT1 = nullptr;
    QLabel* lblマージン注意 = nullptr;  // what a print does with a margin that does not fit
    PickOnlyComboBox* cmb自社名フォント = nullptr;
    PickOnlyComboBox* cmb自社名サイズ = nullptr;
    QCheckBox* chk自社名太字 = nullptr;
    PickOnlyComboBox* cmb顧客名フォント = nullptr;
    PickOnlyComboBox* cmb顧客名サイズ = nullptr;
    QCheckBox* chk顧客名太字 = nullptr;
    PickOnlyComboBox* cmb自社情報フォント = nullptr;
    PickOnlyComboBox* cmb自社情報サイズ = nullptr;
    QCheckBox* Chk自社情報印刷 = nullptr;
    PickOnlyComboBox* cmb顧客情報フォント = nullptr;
    PickOnlyComboBox* cmb顧客情報サイズ = nullptr;
    NumberBox* num白紙罫線色 = nullptr;
    QLabel* Pic罫線色 = nullptr;

    QPushButton* cmd閉じる = nullptr;
    QPushButton* cmd登録 = nullptr;
    QPushButton* cmd読込 = nullptr;
    QPushButton* cmdクリア = nullptr;
};
