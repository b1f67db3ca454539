// The controls of the settings tab and their places (twips).

#include "workspace/settings_tab/SettingsTab.h"

#include "app/UiBuild.h"

void SettingsTab::build()
{
    QWidget* p = this;
    using namespace ui;

    // ---- left: own company, seal titles, link sources
    label(p, QStringLiteral("自社名"), 120, 120, 1680);
    txt自社名 = make<QLineEdit>(p, QStringLiteral("txt自社名"), 1800, 120, 4140, 330);
    label(p, QStringLiteral("自社情報"), 120, 540, 1680);
    txt自社情報 = make<MultiLineEdit>(p, QStringLiteral("txt自社情報"), 1800, 540, 4140, 1500);

    label(p, QStringLiteral("印鑑タイトル設定"), 120, 2160, 1680);
    for (int i = 0; i < 4; ++i)
        txt印鑑タイトル[i] = make<QLineEdit>(p, QStringLiteral("txt印鑑タイトル%1").arg(i + 1), 1800 + i * 1035, 2160, 975, 330);

    label(p, QStringLiteral("顧客リンクアプリ名"), 120, 2700, 1680);
    cmb顧客リンクアプリ = make<PickOnlyComboBox>(p, QStringLiteral("cmb顧客リンクアプリ"), 1800, 2700, 2640, 330);
    label(p, QStringLiteral("データのパス"), 120, 3090, 1680);
    txt顧客リンクパス = make<QLineEdit>(p, QStringLiteral("txt顧客リンクパス"), 1800, 3090, 3600, 330);
    cmd顧客リンクパス = button(p, QStringLiteral("cmd顧客リンクパス"), QStringLiteral("…"), 5460, 3090, 480, 330);

    label(p, QStringLiteral("商品リンクアプリ名"), 120, 3600, 1680);
    cmb商品リンクアプリ = make<PickOnlyComboBox>(p, QStringLiteral("cmb商品リンクアプリ"), 1800, 3600, 2640, 330);
    label(p, QStringLiteral("データのパス"), 120, 3990, 1680);
    txt商品リンクパス = make<QLineEdit>(p, QStringLiteral("txt商品リンクパス"), 1800, 3990, 3600, 330);
    cmd商品リンクパス = button(p, QStringLiteral("cmd商品リンクパス"), QStringLiteral("…"), 5460, 3990, 480, 330);

    // ---- right: options
    struct Row {
        PickOnlyComboBox** combo;
        const char16_t* name;
        const char16_t* caption;
    };
    const Row rows[] = {
        {&cmb年号, u"cmb年号", u"年号"},
        {&cmb税端数, u"cmb税端数", u"税端数"},
        {&cmb税区分, u"cmb税区分", u"税区分"},
        {&cmb小数, u"cmb小数", u"小数点以下"},
        {&cmb行端数, u"cmb行端数", u"数量 x 単価の端数"},
        {&cmb商品表示順, u"cmb商品表示順", u"商品表示順"},
        {&cmb印刷用紙, u"cmb印刷用紙", u"標準印刷用紙"},
    };
    double y = 120;
    for (const Row& r : rows) {
        label(p, QString::fromUtf16(r.caption), 6480, y, 1860);
        *r.combo = make<PickOnlyComboBox>(p, QString::fromUtf16(r.name), 8400, y, 2160, 330);
        y += 390;
    }
    label(p, QStringLiteral("入数列タイトル"), 6480, y, 1860);
    cmb入数列タイトル = make<TextComboBox>(p, QStringLiteral("cmb入数列タイトル"), 8400, y, 2160, 330);
    y += 450;
    chk税計算 = check(p, QStringLiteral("chk税計算"), QStringLiteral("税計算"), 8400, y, 2160, 300);
    y += 420;

    struct Flag {
        QCheckBox** box;
        const char16_t* name;
        const char16_t* caption;
    };
    const Flag flags[] = {
        {&Chk商品自動登録, u"Chk商品自動登録", u"商品自動登録"},
        {&Chk商品区分自動登録, u"Chk商品区分自動登録", u"商品区分自動登録"},
        {&Chk単位自動登録, u"Chk単位自動登録", u"単位自動登録"},
        {&Chk入数自動登録, u"Chk入数自動登録", u"入数自動登録"},
        {&Chk有効期限自動登録, u"Chk有効期限自動登録", u"有効期限自動登録"},
        {&Chk支払条件自動登録, u"Chk支払条件自動登録", u"支払条件自動登録"},
        {&Chk受渡場所自動登録, u"Chk受渡場所自動登録", u"受渡場所自動登録"},
        {&Chk納期自動登録, u"Chk納期自動登録", u"納期自動登録"},
    };
    for (int i = 0; i < 8; ++i) {
        const double x = (i % 2 == 0) ? 6480 : 9360;
        const double fy = y + (i / 2) * 360;
        *flags[i].box = check(p, QString::fromUtf16(flags[i].name), QString::fromUtf16(flags[i].caption), x, fy, 2820, 300);
    }

    // ---- print settings and the other windows
    label(p, QStringLiteral("印刷設定"), 120, 4680, 1680);
    cmdA4 = button(p, QStringLiteral("cmdA4"), QStringLiteral("A4"), 1800, 4620, 900, 480);
    cmdB5 = button(p, QStringLiteral("cmdB5"), QStringLiteral("B5"), 2760, 4620, 900, 480);

    cmdHint = button(p, QStringLiteral("cmdHint"), QStringLiteral("ヒント"), 120, 7620, 1200, 600);
    cmdデータ変換 = button(p, QStringLiteral("cmdデータ変換"), QStringLiteral("変換"), 1380, 7620, 1200, 600,
                           QStringLiteral("Ver 2.00 より前の旧形式の請求データを変換します。"));
    cmd情報 = button(p, QStringLiteral("cmd情報"), QStringLiteral("情報"), 2640, 7620, 1200, 600);
    cmd初期化 = button(p, QStringLiteral("cmd初期化"), QStringLiteral("初期化"), 3900, 7620, 1200, 600,
                       QStringLiteral("すべてのデータを初期化します。"));

    // ---- settings buttons
    const double by = 8460, bh = 600;
    cmd設定登録 = button(p, QStringLiteral("cmd設定登録"), QStringLiteral("登録"), 6480, by, 1080, bh,
                         QStringLiteral("設定情報を登録します。請求書画面のデータは登録されません。"));
    cmd設定クリア = button(p, QStringLiteral("cmd設定クリア"), QStringLiteral("クリア"), 7620, by, 1080, bh,
                           QStringLiteral("設定画面の情報を消去します。登録済みデータは消去されません。"));
    cmd設定削除 = button(p, QStringLiteral("cmd設定削除"), QStringLiteral("削除"), 8760, by, 1080, bh,
                         QStringLiteral("設定情報を削除し初期値に戻します。"));
    cmd設定閉じる = button(p, QStringLiteral("cmd設定閉じる"), QStringLiteral("閉じる"), 10920, by, 1260, bh,
                           QStringLiteral("見積書を終了します。"));
}
