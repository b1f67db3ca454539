#pragma once
// The print-settings store: one 印刷情報 row per blank-paper layout ("MA4",
// "MB5") loaded into an entry of the session's print settings, and the
// help texts of the print-settings windows (専用伝票HELP). The main window's
// layout, both reports and the print-settings windows read it.
//
// Entries 1 and 2 each hold one layout code; entry 0 is never filled, so the
// number 0 stands for "no entry". A Null column takes its member's default.

#include "platform/Database.h"

class Session;

#include <QString>
#include <array>

struct PrintSettingsEntry {
    QString 型番;
    QString タイトル1;
    QString タイトル2;
    QString タイトル3;
    int LM = 0;  // twips added to the layout's base left margin
    int TM = 0;  // twips added to the layout's base top margin
    int T1 = 0;
    int T2 = 0;
    int T3 = 0;
    int TM1 = 0;
    int TM2 = 0;
    int TM3 = 0;
    QString 顧客名フォント;
    double 顧客名サイズ = 0;
    bool 顧客名太字 = false;
    QString 顧客情報フォント;
    double 顧客情報サイズ = 0;
    QString 自社名フォント;
    double 自社名サイズ = 0;
    bool 自社名太字 = false;
    QString 自社情報フォント;
    double 自社情報サイズ = 0;
    int 白紙罫線色 = 0;  // R + G·256 + B·65536
    QString 自社名位置;
    bool 自社情報印刷 = false;
    QString 領収書自社名フォント;
    double 領収書自社名サイズ = 0;
    QString 領収書自社情報フォント;
    double 領収書自社情報サイズ = 0;
    QString 領収書顧客名フォント;
    double 領収書顧客名サイズ = 0;
    QString 領収書金額フォント;
    double 領収書金額サイズ = 0;

    // An entry without a layout code is free.
    bool isFree() const { return 型番.isEmpty(); }
};

// Three entries; members start empty ("", 0, False) until a row is loaded.
using PrintSettingsTable = std::array<PrintSettingsEntry, 3>;

// Picks the entry of the layout code (the first entry, of 1 and 2, that holds
// the code or is free), loads the code's 印刷情報 row into it and returns its
// number; 0 when both entries hold other codes (nothing is read). With no row
// for the code the entry keeps what it held.
int ReadPrintSettings(Database& dataDb, PrintSettingsTable& table, const QString& code);

// The help text of a print-settings window: kind "印刷設定", key "A4" or "B5".
// "" when there is no such row (or for another kind).
QString ReadFormHelpText(Database& workDb, const QString& kind, const QString& key);
