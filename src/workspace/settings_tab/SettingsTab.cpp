// The settings tab: the settings row shown, cleared and stored, and the data wipe.

#include "workspace/settings_tab/SettingsTab.h"

#include "app/Maintenance.h"
#include "app/Session.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Factory lists of the choice boxes; the first item is the factory value.
const QStringList& 年号List() { static const QStringList l{u"和暦"_qs, u"西暦"_qs}; return l; }
const QStringList& 端数List() { static const QStringList l{u"四捨五入"_qs, u"切り捨て"_qs, u"切り上げ"_qs}; return l; }
const QStringList& 税区分List() { static const QStringList l{u"外税"_qs, u"内税"_qs, u"非課税"_qs}; return l; }
const QStringList& 印刷用紙List() { static const QStringList l{u"A4白紙"_qs, u"B5白紙"_qs}; return l; }
const QStringList& 小数List() { static const QStringList l{u"しない"_qs, u"数量+単価"_qs, u"数量"_qs, u"単価"_qs}; return l; }
const QStringList& 顧客リンクList()
{
    static const QStringList l{u"Dovan請求書"_qs, u"Tesra納品書"_qs, u"Moxel顧客管理"_qs, u"MoxelⅡ顧客管理"_qs, u"Sulka"_qs, QString()};
    return l;
}
const QStringList& 商品リンクList() { static const QStringList l{u"Dovan請求書"_qs, u"Tesra納品書"_qs, u"Sulka"_qs}; return l; }
const QStringList& 表示順List() { static const QStringList l{u"品名順"_qs, u"ふりがな順"_qs}; return l; }

void fill(PickOnlyComboBox* box, const QStringList& items, const QString& text)
{
    box->setItems(items);
    box->setText(text);
}

QString orDefault(const QString& text, const QString& whenEmpty) { return text.isEmpty() ? whenEmpty : text; }

}  // namespace

SettingsTab::SettingsTab(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("tabSettings"));
    build();

    connect(cmd設定登録, &QPushButton::clicked, this, &SettingsTab::cmd設定登録_Click);
    connect(cmd設定クリア, &QPushButton::clicked, this, &SettingsTab::cmd設定クリア_Click);
    // cmd設定削除 has no action.
    connect(cmd初期化, &QPushButton::clicked, this, &SettingsTab::cmd初期化_Click);
    connect(cmb顧客リンクアプリ, &PickOnlyComboBox::picked, this, &SettingsTab::cmb顧客リンクアプリ_Click);
    connect(cmb顧客リンクアプリ, &QComboBox::editTextChanged, this, &SettingsTab::cmb顧客リンクアプリ_Change);
    connect(cmb商品リンクアプリ, &PickOnlyComboBox::picked, this, &SettingsTab::cmb商品リンクアプリ_Click);
    connect(cmd顧客リンクパス, &QPushButton::clicked, this, &SettingsTab::cmd顧客リンクパス_Click);
    connect(cmd商品リンクパス, &QPushButton::clicked, this, &SettingsTab::cmd商品リンクパス_Click);

    // The windows and the closing are the frame's.
    connect(cmdA4, &QPushButton::clicked, this, &SettingsTab::printSettingsA4Clicked);
    connect(cmdB5, &QPushButton::clicked, this, &SettingsTab::printSettingsB5Clicked);
    connect(cmdHint, &QPushButton::clicked, this, &SettingsTab::hintClicked);
    connect(cmdデータ変換, &QPushButton::clicked, this, &SettingsTab::conversionClicked);
    connect(cmd情報, &QPushButton::clicked, this, &SettingsTab::infoClicked);
    connect(cmd設定閉じる, &QPushButton::clicked, this, &SettingsTab::closeClicked);
}

void SettingsTab::focusOwnName()
{
    txt自社名->setFocus();
}

void SettingsTab::focusOwnInfo()
{
    txt自社情報->setFocus();
}

QString SettingsTab::shownTaxRounding() const
{
    return cmb税端数->text();
}

QString SettingsTab::shownSealTitle(int index) const
{
    return index >= 0 && index < int(txt印鑑タイトル.size()) ? txt印鑑タイトル[index]->text() : QString();
}

void SettingsTab::Clear設定()
{
    txt自社名->clear();
    txt自社情報->setText(QString());

    fill(cmb年号, 年号List(), u"和暦"_qs);
    fill(cmb税端数, 端数List(), u"四捨五入"_qs);
    fill(cmb行端数, 端数List(), u"四捨五入"_qs);
    fill(cmb税区分, 税区分List(), u"外税"_qs);
    fill(cmb印刷用紙, 印刷用紙List(), u"A4白紙"_qs);
    fill(cmb小数, 小数List(), u"しない"_qs);

    for (QCheckBox* c : {chk税計算, Chk商品自動登録, Chk商品区分自動登録, Chk単位自動登録, Chk入数自動登録,
                         Chk有効期限自動登録, Chk支払条件自動登録, Chk受渡場所自動登録, Chk納期自動登録})
        c->setChecked(true);

    fill(cmb顧客リンクアプリ, 顧客リンクList(), QString());
    txt顧客リンクパス->clear();
    fill(cmb商品リンクアプリ, 商品リンクList(), QString());
    txt商品リンクパス->clear();

    ClearSettingsRecord(session_.設定情報);

    fill(cmb商品表示順, 表示順List(), u"品名順"_qs);

    for (QLineEdit* t : txt印鑑タイトル) t->clear();
}

void SettingsTab::Read設定()
{
    const SettingsRecord& r = session_.設定情報;
    // A table that cannot be read, or one without a row: the boxes keep what they show.
    const SettingsRowRead read = ReadSettingsRow(session_.DataDb(), session_.設定情報);
    if (!read.found) return;

    txt自社名->setText(r.自社名);
    txt自社情報->setText(r.自社情報);
    cmb年号->setText(r.年号);
    cmb税端数->setText(r.税端数);
    cmb税区分->setText(r.税区分);
    cmb印刷用紙->setText(r.印刷用紙);
    cmb小数->setText(r.小数);
    // A Null line rounding sets the record only; the box keeps what it shows.
    if (!read.lineRoundingNull) cmb行端数->setText(r.行端数);
    // Each link application before its path: setting the application can empty the path box.
    cmb顧客リンクアプリ->setText(r.顧客リンクアプリ);
    txt顧客リンクパス->setText(r.顧客リンクパス);
    cmb商品リンクアプリ->setText(r.商品リンクアプリ);
    txt商品リンクパス->setText(r.商品リンクパス);
    chk税計算->setChecked(r.税計算);
    Chk商品自動登録->setChecked(r.商品登録);
    Chk商品区分自動登録->setChecked(r.商品区分登録);
    Chk単位自動登録->setChecked(r.単位登録);
    Chk入数自動登録->setChecked(r.入数登録);
    Chk有効期限自動登録->setChecked(r.有効期限登録);
    Chk支払条件自動登録->setChecked(r.支払条件登録);
    Chk受渡場所自動登録->setChecked(r.受渡場所登録);
    Chk納期自動登録->setChecked(r.納期登録);
    cmb商品表示順->setText(r.商品表示順);
    cmb入数列タイトル->setText(r.入数列タイトル);
    const QString seals[] = {r.印鑑タイトル1, r.印鑑タイトル2, r.印鑑タイトル3, r.印鑑タイトル4};
    for (int i = 0; i < 4; ++i) txt印鑑タイトル[i]->setText(seals[i]);
    emit settingsRead();
}

void SettingsTab::Entry設定()
{
    if (!session_.messages().ShowMessage(u"登録"_qs, u"確認"_qs, u"設定"_qs)) return;

    auto checked = [](QCheckBox* c) { return dbv::fromBool(c->isChecked()); };
    const Fields values{
        {u"自社名"_qs, txt自社名->text()},
        {u"自社情報"_qs, txt自社情報->text()},
        {u"年号"_qs, orDefault(cmb年号->text(), u"和暦"_qs)},
        {u"税端数"_qs, orDefault(cmb税端数->text(), u"四捨五入"_qs)},
        {u"税区分"_qs, orDefault(cmb税区分->text(), u"内税"_qs)},
        {u"印刷用紙"_qs, orDefault(cmb印刷用紙->text(), u"A4白紙"_qs)},
        {u"税計算"_qs, checked(chk税計算)},
        {u"商品登録"_qs, checked(Chk商品自動登録)},
        {u"商品区分登録"_qs, checked(Chk商品区分自動登録)},
        {u"単位登録"_qs, checked(Chk単位自動登録)},
        {u"入数登録"_qs, checked(Chk入数自動登録)},
        {u"有効期限登録"_qs, checked(Chk有効期限自動登録)},
        {u"支払条件登録"_qs, checked(Chk支払条件自動登録)},
        {u"受渡場所登録"_qs, checked(Chk受渡場所自動登録)},
        {u"納期登録"_qs, checked(Chk納期自動登録)},
        {u"小数"_qs, orDefault(cmb小数->text(), u"しない"_qs)},
        {u"行端数"_qs, orDefault(cmb行端数->text(), u"四捨五入"_qs)},
        {u"顧客リンクアプリ"_qs, dbv::textOrNull(cmb顧客リンクアプリ->text())},
        {u"顧客リンクパス"_qs, dbv::textOrNull(txt顧客リンクパス->text())},
        {u"商品リンクアプリ"_qs, dbv::textOrNull(cmb商品リンクアプリ->text())},
        {u"商品リンクパス"_qs, dbv::textOrNull(txt商品リンクパス->text())},
        {u"商品表示順"_qs, orDefault(cmb商品表示順->text(), u"品名順"_qs)},
        {u"入数列タイトル"_qs, orDefault(cmb入数列タイトル->text(), u"入数"_qs)},
        {u"印鑑タイトル1"_qs, txt印鑑タイトル[0]->text()},
        {u"印鑑タイトル2"_qs, txt印鑑タイトル[1]->text()},
        {u"印鑑タイトル3"_qs, txt印鑑タイトル[2]->text()},
        {u"印鑑タイトル4"_qs, txt印鑑タイトル[3]->text()},
    };

    // Edit the first row, or add one when the table is empty; all or nothing.
    Database& db = session_.DataDb();
    bool written = false;
    {
        Transaction tx(db);
        if (tx.started()) {
            bool ok = false;
            const QVariant rowid = db.scalar(QStringLiteral("SELECT rowid FROM 自社情報 ORDER BY rowid LIMIT 1"), {}, &ok);
            if (ok) {
                if (dbv::isNull(rowid)) {
                    written = db.insert(u"自社情報"_qs, values);
                } else {
                    QStringList sets;
                    QVariantList binds;
                    for (const auto& [column, value] : values) {
                        sets << Database::quoteIdent(column) + QStringLiteral(" = ?");
                        binds << value;
                    }
                    binds << rowid;
                    written = db.exec(QStringLiteral("UPDATE 自社情報 SET %1 WHERE rowid = ?").arg(sets.join(u", ")), binds) &&
                              db.changes() == 1;
                }
            }
            written = written && tx.commit();
        }
    }
    if (!written) {
        session_.messages().ShowFailure(u"設定 を登録できませんでした。"_qs, db.lastError());
        return;
    }
    session_.messages().ShowMessage(u"登録"_qs, u"完了"_qs, u"設定"_qs);
}

void SettingsTab::cmd設定登録_Click()
{
    Entry設定();
    Read設定();
}

void SettingsTab::cmd設定クリア_Click()
{
    Clear設定();
}

void SettingsTab::Data初期化()
{
    const MessageCatalog& messages = session_.messages();
    if (!messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("確認"), QStringLiteral("すべてのデータを初期化します。")))
        return;
    Failure error;
    if (!WipeBusinessData(session_.DataDb(), &error)) {
        messages.ShowFailure(QStringLiteral("データを初期化できませんでした。データは変更されていません。"), error);
        return;
    }
    messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"), QStringLiteral("すべてのデータを初期化しました"));
}

void SettingsTab::cmd初期化_Click()
{
    Data初期化();
}
