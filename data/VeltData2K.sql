-- The data database "VeltData2K.mdb": stored quotations, masters, code lists,
-- the settings row, print settings and hint texts.
--
-- Storage conventions:
--   money (単価, 金額, totals, tax) and 数量: INTEGER ten-thousandths (1 yen = 10000)
--   dates: TEXT 'YYYY-MM-DD'
--   yes/no: INTEGER 0/1
--   empty input: NULL unless a rule says otherwise
-- Column order is significant: several statements copy rows with "select *".

PRAGMA page_size = 4096;

BEGIN;

-- One row per stored quotation, found by 伝票番号.
CREATE TABLE 見積書ヘッダ (
    伝票番号     INTEGER NOT NULL,
    日付         TEXT,
    顧客名       TEXT,
    顧客情報     TEXT,
    敬称         TEXT,
    メモ         TEXT,
    件名         TEXT,
    有効期限     TEXT,
    支払条件     TEXT,
    受渡場所     TEXT,
    納期         TEXT,
    消費税       INTEGER,
    税抜計       INTEGER,
    合計         INTEGER,
    見積金額     INTEGER,
    印鑑1        TEXT,
    印鑑2        TEXT,
    印鑑3        TEXT,
    印鑑4        TEXT,
    済           INTEGER
);
CREATE UNIQUE INDEX 見積書ヘッダ_伝票番号 ON 見積書ヘッダ (伝票番号);
CREATE INDEX 見積書ヘッダ_日付 ON 見積書ヘッダ (日付, 伝票番号);
CREATE INDEX 見積書ヘッダ_顧客名_日付 ON 見積書ヘッダ (顧客名, 日付, 伝票番号);

-- The lines of stored quotations: 伝票区分 1, 行番号 0, 1, 2, ...
CREATE TABLE 見積書 (
    伝票番号     INTEGER NOT NULL,
    顧客名       TEXT,
    日付         TEXT,
    行番号       INTEGER,
    伝票区分     INTEGER,
    品名         TEXT,
    商品区分     TEXT,
    数量         INTEGER,
    入数         TEXT,
    単位         TEXT,
    単価         INTEGER,
    金額         INTEGER,
    非課税       INTEGER DEFAULT 0,
    ふりがな     TEXT,
    小計         INTEGER DEFAULT 0,
    備考         TEXT
);
CREATE INDEX 見積書_伝票 ON 見積書 (伝票番号, 伝票区分, 行番号);

-- Customers, found by 顧客名 (the first matching row counts).
CREATE TABLE 顧客マスタ (
    顧客名       TEXT,
    顧客情報     TEXT,
    ふりがな     TEXT,
    敬称         TEXT
);
CREATE INDEX 顧客マスタ_顧客名 ON 顧客マスタ (顧客名);
CREATE INDEX 顧客マスタ_ふりがな ON 顧客マスタ (ふりがな);

-- Products, found by 品名.
CREATE TABLE 商品マスタ (
    品名         TEXT,
    商品区分     TEXT,
    入数         TEXT,
    単位         TEXT,
    単価         INTEGER,
    非課税       INTEGER DEFAULT 0,
    ふりがな     TEXT
);
CREATE INDEX 商品マスタ_品名 ON 商品マスタ (品名);

-- Code lists: numbered slots "01".."99" per kind; a NULL sname is a free slot.
CREATE TABLE コードマスタ (
    kcode        TEXT,
    code         TEXT,
    sname        TEXT
);
CREATE INDEX コードマスタ_kcode_code ON コードマスタ (kcode, code);

-- Hint texts per window and control.
CREATE TABLE KivHint (
    FormName     TEXT,
    CtlName      TEXT,
    FormTitle    TEXT,
    Contents     TEXT
);
CREATE INDEX KivHint_key ON KivHint (FormName, CtlName);

-- The settings row (a single row, no key). The first 27 columns are the
-- settings tab's, in the order the tab writes them; then the quotation number
-- counter, the schema stamp and the postal settings that only the data
-- conversion fills.
CREATE TABLE 自社情報 (
    自社名           TEXT,
    自社情報         TEXT,
    年号             TEXT,
    税端数           TEXT,
    税区分           TEXT,
    印刷用紙         TEXT,
    税計算           INTEGER,
    商品登録         INTEGER,
    商品区分登録     INTEGER,
    単位登録         INTEGER,
    入数登録         INTEGER,
    有効期限登録     INTEGER,
    支払条件登録     INTEGER,
    受渡場所登録     INTEGER,
    納期登録         INTEGER,
    小数             TEXT,
    行端数           TEXT,
    顧客リンクアプリ TEXT,
    顧客リンクパス   TEXT,
    商品リンクアプリ TEXT,
    商品リンクパス   TEXT,
    商品表示順       TEXT,
    入数列タイトル   TEXT,
    印鑑タイトル1    TEXT,
    印鑑タイトル2    TEXT,
    印鑑タイトル3    TEXT,
    印鑑タイトル4    TEXT,
    最大見積書番号   INTEGER,
    Version          TEXT,
    LastUpdate       TEXT,
    郵便番号辞書パス TEXT,
    YubinDataPath    TEXT,
    YubinLocalEria   TEXT,
    YubinLocalEriaSw INTEGER
);

-- Print settings, one row per layout code 型番 ("MA4", "MB5").
-- Font sizes may be stored as the chosen size text or as a whole number.
CREATE TABLE 印刷情報 (
    型番                   TEXT,
    タイトル1              TEXT,
    タイトル2              TEXT,
    タイトル3              TEXT,
    LM                     INTEGER,
    TM                     INTEGER,
    T1                     INTEGER,
    T2                     INTEGER,
    T3                     INTEGER,
    TM1                    INTEGER,
    TM2                    INTEGER,
    TM3                    INTEGER,
    顧客名フォント         TEXT,
    顧客名サイズ           NUMERIC,
    顧客名太字             INTEGER,
    顧客情報フォント       TEXT,
    顧客情報サイズ         NUMERIC,
    自社名フォント         TEXT,
    自社名サイズ           NUMERIC,
    自社名太字             INTEGER,
    自社情報フォント       TEXT,
    自社情報サイズ         NUMERIC,
    白紙罫線色             INTEGER,
    自社名位置             TEXT,
    自社情報印刷           INTEGER,
    領収書自社名フォント   TEXT,
    領収書自社名サイズ     NUMERIC,
    領収書自社情報フォント TEXT,
    領収書自社情報サイズ   NUMERIC,
    領収書顧客名フォント   TEXT,
    領収書顧客名サイズ     NUMERIC,
    領収書金額フォント     TEXT,
    領収書金額サイズ       NUMERIC
);
CREATE INDEX 印刷情報_型番 ON 印刷情報 (型番);

-- Rows of a fresh installation ------------------------------------------------

-- The settings row with the factory values of the settings tab.
INSERT INTO 自社情報 (
    自社名, 自社情報, 年号, 税端数, 税区分, 印刷用紙, 税計算,
    商品登録, 商品区分登録, 単位登録, 入数登録, 有効期限登録, 支払条件登録, 受渡場所登録, 納期登録,
    小数, 行端数, 顧客リンクアプリ, 顧客リンクパス, 商品リンクアプリ, 商品リンクパス,
    商品表示順, 入数列タイトル, 印鑑タイトル1, 印鑑タイトル2, 印鑑タイトル3, 印鑑タイトル4,
    最大見積書番号, Version, LastUpdate, 郵便番号辞書パス, YubinDataPath, YubinLocalEria, YubinLocalEriaSw)
VALUES (
    '', '', '和暦', '四捨五入', '外税', 'A4白紙', 1,
    1, 1, 1, 1, 1, 1, 1, 1,
    'しない', '四捨五入', NULL, NULL, NULL, NULL,
    '品名順', '入数', '', '', '', '',
    NULL, '2.00', '2005/01/06', NULL, NULL, NULL, NULL);

-- 99 free slots "01".."99" for each of the seven code kinds.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 99),
     k(kcode, ord) AS (VALUES ('単位', 1), ('商品区分', 2), ('入数', 3), ('有効期限', 4),
                              ('支払条件', 5), ('受渡場所', 6), ('納期', 7))
INSERT INTO コードマスタ (kcode, code, sname)
SELECT k.kcode, printf('%02d', n.i), NULL FROM k, n ORDER BY k.ord, n.i;

-- Print settings of the two blank-paper layouts, with the factory values of
-- the print-settings windows.
INSERT INTO 印刷情報 VALUES (
    'MA4', '見積書', NULL, NULL, 0, 0, 0, 0, 0, 0, 0, 0,
    NULL, 14, 0, NULL, 11, NULL, 14, 0, NULL, 11,
    0, '上', 1, NULL, 14, NULL, 11, NULL, 14, NULL, 20);
INSERT INTO 印刷情報 VALUES (
    'MB5', '見積書', NULL, NULL, 0, 0, 0, 0, 0, 0, 0, 0,
    NULL, 14, 0, NULL, 11, NULL, 14, 0, NULL, 11,
    0, '上', 1, NULL, 14, NULL, 11, NULL, 14, NULL, 20);

COMMIT;

PRAGMA journal_mode = DELETE;
