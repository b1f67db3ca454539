#include "masters/HintWindow.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/Dialogs.h"
#include "app/UiBuild.h"
#include "masters/MasterWrite.h"
#include "platform/Controls.h"
#include "platform/Database.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMasters)

namespace {

void setBackColour(QPushButton* b, int windowsColour)
{
    QPalette p = b->palette();
    p.setColor(QPalette::Button, ColourFromWindows(windowsColour));
    b->setPalette(p);
}

int backColour(const QPushButton* b)
{
    return WindowsColour(b->palette().color(QPalette::Button));
}

QLabel* keyLabel(QWidget* parent, const QString& name, const QString& text, double l, double t, double w)
{
    QLabel* x = ui::label(parent, text, l, t, w, 330, name);
    x->setFrameShape(QFrame::Panel);
    x->setFrameShadow(QFrame::Sunken);
    return x;
}

}  // namespace

HintWindow::HintWindow(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Hint"), QStringLiteral("ヒント        "), 7200, 5400, parent), session_(session)
{
    using namespace ui;
    // The key and title of the hint, from the asking window.
    const HintKeyRecord& key = session_.HintKey();
    lblFormTitle = keyLabel(this, QStringLiteral("lblFormTitle"), key.FormTitle, 120, 120, 6960);
    lblFormName = keyLabel(this, QStringLiteral("lblFormName"), key.FormName, 120, 540, 3420);
    lblCtlName = keyLabel(this, QStringLiteral("lblCtlName"), key.CtlName, 3660, 540, 3420);

    txtContents = make<MultiLineEdit>(this, QStringLiteral("txtContents"), 120, 960, 6960, 3600);
    growWithWindow(txtContents);
    txtContents->setReadOnly(true);
    // Prose: long lines wrap at the box's edge.
    txtContents->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtContents->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    cmd編集 = button(this, QStringLiteral("cmd編集"), QStringLiteral("編集"), 120, 4680, 1260, 540);
    cmd登録 = button(this, QStringLiteral("cmd登録"), QStringLiteral("登録"), 1545, 4680, 1260, 540);
    cmd削除 = button(this, QStringLiteral("cmd削除"), QStringLiteral("削除"), 2970, 4680, 1260, 540);
    cmdクリア = button(this, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 4395, 4680, 1260, 540);
    cmd閉じる = button(this, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 5820, 4680, 1260, 540);
    for (QPushButton* b : {cmd編集, cmd登録, cmd削除, cmdクリア, cmd閉じる}) setBackColour(b, ButtonColour);

    connect(cmd編集, &QPushButton::clicked, this, &HintWindow::cmd編集_Click);
    connect(cmd登録, &QPushButton::clicked, this, &HintWindow::cmd登録_Click);
    connect(cmd削除, &QPushButton::clicked, this, &HintWindow::cmd削除_Click);
    connect(cmdクリア, &QPushButton::clicked, this, &HintWindow::cmdクリア_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);

    ReadHint();
    txtContents->setFocus();
}

void HintWindow::ReadHint()
{
    const QString formName = lblFormName->text();
    const QString ctlName = lblCtlName->text();
    if (formName.isEmpty() || ctlName.isEmpty()) return;
    bool ok = false;
    const auto row = session_.DataDb().firstRow(
        QStringLiteral("select Contents from KivHint where FormName = ? and CtlName = ?"), {formName, ctlName}, &ok);
    if (!ok) qCWarning(lcMasters).noquote() << "the hint could not be read:" << session_.DataDb().lastError();
    if (row && !dbv::isNull(row->value(0))) txtContents->setText(row->value(0).toString());
}

bool HintWindow::writeHint(const QString& category, const QString& failure, const HintStatements& statements,
                           std::function<void()> afterCommit)
{
    Database& data = session_.DataDb();
    const QString formName = lblFormName->text();
    const QString ctlName = lblCtlName->text();
    MasterWrite write;
    write.databases = {&data};
    write.doneCategory = category;
    write.doneText = QStringLiteral("ヒント");
    write.failure = failure;
    write.afterCommit = std::move(afterCommit);
    return RunMasterWrite(session_, write, [&](Failure& error) {
               if (formName.isEmpty() || ctlName.isEmpty()) {
                   error = Failure(QStringLiteral("ヒントのキーがありません。"));
                   return false;
               }
               // One row per key: whatever is stored under it goes first.
               return data.exec(QStringLiteral("delete from KivHint where FormName = ? and CtlName = ?"),
                                {formName, ctlName}) &&
                      statements(data, formName, ctlName);
           }) == WriteResult::Done;
}

bool HintWindow::EntryHint()
{
    return writeHint(QStringLiteral("登録"), QStringLiteral("ヒントを登録できませんでした。"),
                     [this](Database& data, const QString& formName, const QString& ctlName) {
                         return data.exec(QStringLiteral("insert into KivHint (FormName, CtlName, FormTitle, Contents) "
                                                         "values (?, ?, ?, ?)"),
                                          {formName, ctlName, dbv::textOrNull(lblFormTitle->text()),
                                           dbv::textOrNull(txtContents->text())});
                     });
}

bool HintWindow::Deleteヒント()
{
    // The box is emptied before the completion box shows.
    return writeHint(
        QStringLiteral("削除"), QStringLiteral("ヒントを削除できませんでした。"),
        [](Database&, const QString&, const QString&) { return true; },
        [this] { txtContents->setText(QString()); });
}

bool HintWindow::editMode() const
{
    return backColour(cmd編集) != ButtonColour;
}

void HintWindow::cmd編集_Click()
{
    const bool on = backColour(cmd編集) == ButtonColour;
    txtContents->setReadOnly(!on);
    setBackColour(cmd編集, on ? EditModeColour : ButtonColour);
    txtContents->setFocus();
}

void HintWindow::cmd登録_Click()
{
    if (MasterBusy(session_)) return;
    if (!session_.messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), QStringLiteral("ヒント")))
        return;
    EntryHint();
}

void HintWindow::cmd削除_Click()
{
    if (MasterBusy(session_)) return;
    // Asks about the hint alone (not the whole-data question); No leaves it as it is.
    if (!session_.messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("伝票確認2"), QStringLiteral("ヒント")))
        return;
    Deleteヒント();
}

void HintWindow::cmdクリア_Click()
{
    txtContents->setText(QString());
}
