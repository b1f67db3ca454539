#pragma once
// The settings record: the first row of 自社情報 mirrored in memory. Text
// settings hold the very text of the chosen option ("和暦", "四捨五入", "外税",
// "A4白紙", "数量+単価", "品名順") and are compared against it. The session
// holds the one record; rules that only read settings take it as
// const SettingsRecord&.

#include <QString>

class Database;

struct SettingsRecord {
    QString 自社名;
    QString 自社情報;
    QString 年号;
    QString 税区分;
    QString 税端数;
    QString 行端数;
    QString 印刷用紙;
    QString 小数;
    bool 税計算 = false;
    QString 顧客リンクアプリ;
    QString 顧客リンクパス;
    QString 商品リンクアプリ;
    QString 商品リンクパス;
    QString 商品表示順;
    QString 入数列タイトル;
    bool 商品登録 = false;
    bool 商品区分登録 = false;
    bool 単位登録 = false;
    bool 入数登録 = false;
    bool 有効期限登録 = false;
    bool 支払条件登録 = false;
    bool 受渡場所登録 = false;
    bool 納期登録 = false;
    QString 印鑑タイトル1;
    QString 印鑑タイトル2;
    QString 印鑑タイトル3;
    QString 印鑑タイトル4;
};

// The factory values of the six settings a cleared settings tab also puts
// into the record (税計算, 小数, 年号, 行端数, 印刷用紙, 税区分 "外税"); the
// others keep their values.
void ClearSettingsRecord(SettingsRecord& record);

// What ReadSettingsRow found in 自社情報.
struct SettingsRowRead {
    bool found = false;             // a first row was there; the record holds it
    bool lineRoundingNull = false;  // its 行端数 was Null (the record holds "四捨五入")
};

// Reads the first row of 自社情報 into the record, each Null field as its
// default (texts their factory value or empty, yes/no fields true). Without
// a row the record takes the no-row defaults (税区分 "内税") and keeps its
// links, flags and seal titles; a table that cannot be read leaves it as it
// is (logged).
SettingsRowRead ReadSettingsRow(Database& data, SettingsRecord& record);

// The code kind of pack quantities: the kind the 入数列タイトル setting names,
// "入数" while the setting is empty. Pick lists, the detail grid, the
// product-detail panel and the code-list window all use this one kind.
inline QString PackCodeKind(const SettingsRecord& settings)
{
    return settings.入数列タイトル.isEmpty() ? QStringLiteral("入数") : settings.入数列タイトル;
}

// The key of the hint shown by the hint window: the asking window's name, the
// button pressed and the window's caption.
struct HintKeyRecord {
    QString FormName;
    QString CtlName;
    QString FormTitle;
};
