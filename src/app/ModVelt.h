#pragma once
// Module-level values of the program: the data folder and database paths, the
// two open databases, the settings record and the small records that cross
// windows. All are set by the main window's load and live for the whole run.

#include "Currency.h"
#include "Database.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <optional>

// The settings record: the first row of 自社情報 mirrored in memory. Text
// settings hold the very text of the chosen option ("和暦", "四捨五入", "外税",
// "A4白紙", "数量+単価", "品名順") and are compared against it.
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

// Input and output of the product look-up by name.
struct ProductLookup {
    QVariant 品名;         // in: the trimmed name
    QString 単位;          // out: "" when not found
    Currency 単価;         // out: 0 when not found
    bool 非課税 = false;   // out
    QVariant ふりがな;     // out: null when not found
};

// Input and output of the customer look-up by name.
struct CustomerLookup {
    QVariant 顧客名;   // in
    QVariant ふりがな; // out
    QVariant 顧客情報; // out
    QVariant 敬称;     // out
};

// The key of the hint shown by the hint window.
struct HintKeyRecord {
    QString FormName;
    QString CtlName;
    QString FormTitle;
};

namespace ModVelt {

inline QString DataFolder;            // ends with '/'
inline QString DataDbPath;
inline QString WorkDbPath;
inline QString PostalDictionaryPath;

inline Database DataDb;
inline Database WorkDb;

// Background of subtotal lines in the detail grid.
inline QColor SyokeiLineStyle;

inline SettingsRecord 設定情報;

// Empty (nullopt) at start; True once a quantity or unit price was typed since
// the last load: the quotation amount then follows the total.
inline std::optional<bool> DetailsChanged;

inline ProductLookup ProductLookupRecord;
inline CustomerLookup CustomerLookupRecord;
inline HintKeyRecord HintKey;

// The fixed folders used instead of the data folder when the developer marker
// file exists (drive paths, mapped through Paths::mapDrivePath).
inline const QString DeveloperMarkerFile = QStringLiteral("c:\\kvrdevelop.txt");
inline const QString DeveloperDataFolder = QStringLiteral("c:\\VeltDevelop\\data\\");
inline const QString DeveloperPostalFolder = QStringLiteral("c:\\VeltDevelop\\yubin\\");

}  // namespace ModVelt
