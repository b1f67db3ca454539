// The link-source settings: which sibling application and file customers and products are imported from.

#include "workspace/settings_tab/SettingsTab.h"

#include "app/Dialogs.h"
#include "app/Session.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

struct LinkSource {
    const char16_t* application;
    const char16_t* defaultFolder;  // proposed when the application is picked
    const char16_t* filter;         // file filter of the path button
};

const LinkSource kCustomerSources[] = {
    {u"Moxel顧客管理", u"c:\\KokyakuMoxel\\data", u"MDB ファイル(*.mdb)|moxeldata.mdb|"},
    {u"MoxelⅡ顧客管理", u"c:\\KokyakuMoxel2\\data", u"MDB ファイル(*.mdb)|moxel2data.mdb|"},
    {u"Dovan請求書", u"c:\\Dovan\\data", u""},
    {u"Tesra納品書", u"c:\\Tesra\\data", u""},
};

const LinkSource kProductSources[] = {
    {u"Zentra販売・仕入・在庫管理", u"c:\\HanbaiZentra\\data", u"MDB ファイル(*.mdb)|zentradata.mdb|"},
    {u"Sorvin販売・仕入管理", u"c:\\HanbaiSorvin\\data", u"MDB ファイル(*.mdb)|sorvindata.mdb|"},
    {u"Sulka", u"c:\\Pralo\\data", u"MDB ファイル(*.mdb)|Pralodata.mdb|"},
};

template <size_t N>
const LinkSource* find(const LinkSource (&sources)[N], const QString& application)
{
    for (const LinkSource& s : sources)
        if (application == QString::fromUtf16(s.application)) return &s;
    return nullptr;
}

// A picked application proposes its default data folder; others leave the path alone.
template <size_t N>
void proposeFolder(const Session& session, const LinkSource (&sources)[N], const QString& application, QLineEdit* path)
{
    if (const LinkSource* s = find(sources, application))
        path->setText(session.mapDrivePath(QString::fromUtf16(s->defaultFolder)));
}

// The path button: the application must be chosen; then the file dialog opens
// in "c:\" filtered to the application's database file.
template <size_t N>
void choosePath(Session& session, QWidget* owner, const LinkSource (&sources)[N], PickOnlyComboBox* application,
                QLineEdit* path, const QString& subject, const QString& title)
{
    const QString app = application->text();
    if (app.isEmpty()) {
        session.messages().ShowMessage(QStringLiteral("入力"), QStringLiteral("必須入力なし"), subject);
        application->setFocus();
        return;
    }
    FileDialogRecord record;
    record.DialogTitle = title;
    const LinkSource* s = find(sources, app);
    record.Filter = s ? QString::fromUtf16(s->filter) : QString();
    record.FilterIndex = 1;
    record.InitDir = QStringLiteral("c:\\");
    if (ShowOpenFileDialog(session, owner, record) != 0) path->setText(record.FileName);
}

}  // namespace

void SettingsTab::cmb顧客リンクアプリ_Click()
{
    proposeFolder(session_, kCustomerSources, cmb顧客リンクアプリ->text(), txt顧客リンクパス);
}

void SettingsTab::cmb顧客リンクアプリ_Change()
{
    if (cmb顧客リンクアプリ->text().isEmpty()) txt顧客リンクパス->clear();
}

void SettingsTab::cmb商品リンクアプリ_Click()
{
    proposeFolder(session_, kProductSources, cmb商品リンクアプリ->text(), txt商品リンクパス);
}

void SettingsTab::cmd顧客リンクパス_Click()
{
    choosePath(session_, this, kCustomerSources, cmb顧客リンクアプリ, txt顧客リンクパス, QStringLiteral("顧客リンクアプリ名が"),
               QStringLiteral("顧客リンクパスを指定する"));
}

void SettingsTab::cmd商品リンクパス_Click()
{
    choosePath(session_, this, kProductSources, cmb商品リンクアプリ, txt商品リンクパス, QStringLiteral("商品リンクアプリ名が"),
               QStringLiteral("商品リンクパスを指定する"));
}
