// The print panel of the quotation tab: its controls and its buttons.

#include "workspace/quotation_tab/PrintPanel.h"

#include "app/UiBuild.h"

PrintPanel::PrintPanel(QWidget* parent) : QFrame(parent)
{
    using namespace ui;
    setObjectName(QStringLiteral("Cn印刷選択"));
    panelLook(this);

    QWidget* c = this;
    Label22 = make<QLabel>(c, QStringLiteral("Label22"), 60, 60, 1995, 3195);
    Label22->setAutoFillBackground(true);
    Label22->setStyleSheet(QStringLiteral("background: white;"));
    cmd印刷実行 = button(c, QStringLiteral("cmd印刷実行"), QStringLiteral("印刷"), 120, 120, 915, 915,
                         QStringLiteral("印刷を実行します。"));
    cmdプレビュー = button(c, QStringLiteral("cmdプレビュー"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), 1080, 120, 915, 915,
                           QStringLiteral("実際に印刷される印刷情報を一度画面に表示します。表示後にプリンタ出力も可能です"));
    chk日付印刷 = make<QCheckBox>(c, QStringLiteral("chk日付印刷"), 180, 1140, 255, 255);
    Label23 = label(c, QStringLiteral("日付を印刷"), 540, 1140, 1275, 255, QStringLiteral("Label23"));
    cmd印刷選択キャンセル = button(c, QStringLiteral("cmd印刷選択キャンセル"), QStringLiteral("キャンセル"), 360, 1440,
                                   1455, 915, QStringLiteral("印刷サブフォームを閉じます"));
    Label26 = label(c, QStringLiteral("用紙選択"), 540, 2460, 1035, 255, QStringLiteral("Label26"));
    cmb用紙選択 = make<PickOnlyComboBox>(c, QStringLiteral("cmb用紙選択"), 300, 2760, 1515, 360);

    connect(cmd印刷実行, &QPushButton::clicked, this, &PrintPanel::cmd印刷実行_Click);
    connect(cmdプレビュー, &QPushButton::clicked, this, &PrintPanel::cmdプレビュー_Click);
    connect(cmd印刷選択キャンセル, &QPushButton::clicked, this, &PrintPanel::cmd印刷選択キャンセル_Click);
}

void PrintPanel::resetPaperChoice(const QString& paper)
{
    cmb用紙選択->setItems({QStringLiteral("A4白紙"), QStringLiteral("B5白紙"), QStringLiteral("Q-310")});
    cmb用紙選択->setText(paper);
}

void PrintPanel::open(const QString& paper)
{
    // The date is offered ticked at every opening, whatever was chosen last time.
    chk日付印刷->setChecked(true);
    resetPaperChoice(paper);
    show();
    raise();
}

void PrintPanel::cmdプレビュー_Click()
{
    emit printRequested(PrintRequest{cmb用紙選択->text(), false, chk日付印刷->isChecked()});
    hide();
}

void PrintPanel::cmd印刷実行_Click()
{
    emit printRequested(PrintRequest{cmb用紙選択->text(), true, chk日付印刷->isChecked()});
    hide();
}

void PrintPanel::cmd印刷選択キャンセル_Click()
{
    hide();
    emit cancelled();
}
