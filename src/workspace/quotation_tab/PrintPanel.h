#pragma once
// The print panel of the quotation tab (Cn印刷選択): the paper, whether the
// date is printed, and print, preview or cancel. It only asks for a print:
// printRequested carries the choice to the tab, which prints nothing itself
// either but hands the request on to the frame.

#include "app/QuotationPort.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QPushButton;
class PickOnlyComboBox;

class PrintPanel : public QFrame {
    Q_OBJECT
public:
    explicit PrintPanel(QWidget* parent);

    // Shows the panel: the date ticked, the paper list rebuilt with `paper`
    // (the default paper of the settings) chosen.
    void open(const QString& paper);
    // The paper list "A4白紙", "B5白紙", "Q-310" with `paper` chosen.
    void resetPaperChoice(const QString& paper);

    void cmdプレビュー_Click();
    void cmd印刷実行_Click();
    void cmd印刷選択キャンセル_Click();

signals:
    // Print or preview: the panel hides once the request was handled.
    void printRequested(const PrintRequest& request);
    // Cancelled: the panel is hidden.
    void cancelled();

private:
    QLabel* Label22 = nullptr;
    QPushButton* cmd印刷実行 = nullptr;
    QPushButton* cmdプレビュー = nullptr;
    QCheckBox* chk日付印刷 = nullptr;
    QLabel* Label23 = nullptr;
    QPushButton* cmd印刷選択キャンセル = nullptr;
    QLabel* Label26 = nullptr;
    PickOnlyComboBox* cmb用紙選択 = nullptr;
};
