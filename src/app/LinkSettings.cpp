// The link-source settings: which sibling application and file customers and products are imported from.

#include "MessageCatalog.h"
#include "Paths.h"
#include "SharedRoutines.h"
#include "Velt.h"

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
void proposeFolder(const LinkSource (&sources)[N], const QString& application, QLineEdit* path)
{
    if (const LinkSource* s = find(sources, application)) path->setText(Paths::mapDrivePath(QString::fromUtf16(s->defaultFolder)));
}

// The path button: the application must be chosen; then the file dialog opens
// in "c:\" filtered to the application's database file.
template <size_t N>
void choosePath(Velt* owner, const LinkSource (&sources)[N], PickOnlyComboBox* application, QLineEdit* path,
                const QString& subject, const QString& title)
{
    const QString app = application->text();
    if (app.isEmpty()) {
        ShowMessage(QStringLiteral("入力"), QStringLiteral("必須入力なし"), subject);
        application->setFocus();
        return;
    }
    FileDialogRecord record;
    record.DialogTitle = title;
    const LinkSource* s = find(sources, app);
    record.Filter = s ? QString::fromUtf16(s->filter) : QString();
    record.FilterIndex = 1;
    record.InitDir = QStringLiteral("c:\\");
    if (ShowOpenFileDialog(owner, record) != 0) path->setText(record.FileName);
}

}  // namespace

void Velt::connectLinkSettings()
{
    connect(cmb顧客リンクアプリ, &PickOnlyComboBox::picked, this, &Velt::cmb顧客リンクアプリ_Click);
    connect(cmb顧客リンクアプリ, &QComboBox::editTextChanged, this, &Velt::cmb顧客リンクアプリ_Change);
    connect(cmb商品リンクアプリ, &PickOnlyComboBox::picked, this, &Velt::cmb商品リンクアプリ_Click);
    connect(cmd顧客リンクパス, &QPushButton::clicked, this, &Velt::cmd顧客リンクパス_Click);
    connect(cmd商品リンクパス, &QPushButton::clicked, this, &Velt::cmd商品リンクパス_Click);
}

void Velt::cmb顧客リンクアプリ_Click()
{
    proposeFolder(kCustomerSources, cmb顧客リンクアプリ->text(), txt顧客リンクパス);
}

void Velt::cmb顧客リンクアプリ_Change()
{
    if (cmb顧客リンクアプリ->text().isEmpty()) txt顧客リンクパス->clear();
}

void Velt::cmb商品リンクアプリ_Click()
{
    proposeFolder(kProductSources, cmb商品リンクアプリ->text(), txt商品リンクパス);
}

void Velt::cmd顧客リンクパス_Click()
{
    choosePath(this, kCustomerSources, cmb顧客リンクアプリ, txt顧客リンクパス, QStringLiteral("顧客リンクアプリ名が"),
               QStringLiteral("顧客リンクパスを指定する"));
}

void Velt::cmd商品リンクパス_Click()
{
    choosePath(this, kProductSources, cmb商品リンクアプリ, txt商品リンクパス, QStringLiteral("商品リンクアプリ名が"),
               QStringLiteral("商品リンクパスを指定する"));
}
