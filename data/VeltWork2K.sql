-- The work database "VeltWork2K.mdb": scratch tables the windows' grids are
-- bound to, the help texts of the print layouts, and the schema-upgrade list.
-- Same storage conventions as the data database (money and 数量 as INTEGER
-- ten-thousandths, dates 'YYYY-MM-DD', yes/no 0/1). Column order matters:
-- rows are copied between tables with "select *".

PRAGMA page_size = 4096;

BEGIN;

-- The detail lines of the quotation on screen: always 100 rows, 行番号 1..100.
CREATE TABLE w明細 (
    行番号       INTEGER,
    品名         TEXT,
    商品区分     TEXT,
    入数         TEXT,
    数量         INTEGER,
    単位         TEXT,
    単価         INTEGER,
    金額         INTEGER,
    非課税       INTEGER DEFAULT 0,
    ふりがな     TEXT,
    小計         INTEGER DEFAULT 0
);

-- Scratch copy of w明細 used while lines are renumbered.
CREATE TABLE w明細ソート (
    行番号       INTEGER,
    品名         TEXT,
    商品区分     TEXT,
    入数         TEXT,
    数量         INTEGER,
    単位         TEXT,
    単価         INTEGER,
    金額         INTEGER,
    非課税       INTEGER DEFAULT 0,
    ふりがな     TEXT,
    小計         INTEGER DEFAULT 0
);

-- Pick lists of the quotation tab.
CREATE TABLE w商品参照 (
    品名         TEXT,
    商品区分     TEXT,
    入数         TEXT,
    単位         TEXT,
    単価         INTEGER,
    非課税       INTEGER DEFAULT 0,
    ふりがな     TEXT
);
CREATE TABLE w単位参照 (sname TEXT);
CREATE TABLE w入数参照 (sname TEXT);
CREATE TABLE w商品区分参照 (sname TEXT);

-- The history list.
CREATE TABLE w履歴リスト (
    チェック     INTEGER DEFAULT 0,
    伝票番号     INTEGER,
    日付         TEXT,
    顧客名       TEXT,
    件名         TEXT
);

-- Edit copies of the master-data windows.
CREATE TABLE wコードマスタ (
    行番号       INTEGER PRIMARY KEY AUTOINCREMENT,
    チェック     INTEGER DEFAULT 0,
    code         TEXT,
    sname        TEXT
);
CREATE TABLE wコードマスタソート (
    行番号       INTEGER PRIMARY KEY AUTOINCREMENT,
    チェック     INTEGER DEFAULT 0,
    code         TEXT,
    sname        TEXT
);
CREATE TABLE w顧客マスタ (
    行           INTEGER,
    チェック     INTEGER DEFAULT 0,
    顧客名       TEXT,
    顧客情報     TEXT,
    ふりがな     TEXT,
    敬称         TEXT
);
CREATE TABLE w商品マスタ (
    チェック     INTEGER DEFAULT 0,
    品名         TEXT,
    商品区分     TEXT,
    入数         TEXT,
    単位         TEXT,
    単価         INTEGER,
    非課税       INTEGER,
    ふりがな     TEXT
);

-- Help texts of the print-settings windows, per layout key.
CREATE TABLE 専用伝票HELP (
    型番         TEXT,
    内容         TEXT
);

-- Columns the data database must have; the schema upgrade adds missing ones.
-- 型 is the field type code: 1 yes/no, 4 whole number, 5 currency, 8 date,
-- 10 text (長さ = size), 12 long text.
CREATE TABLE テーブル更新情報 (
    テーブル名   TEXT,
    フィールド名 TEXT,
    型           INTEGER,
    長さ         INTEGER,
    存在         INTEGER DEFAULT 0
);
CREATE TABLE 更新テーブル名 (
    テーブル名   TEXT
);

-- Rows of a fresh installation ------------------------------------------------

INSERT INTO w明細 (行番号, 品名, 単価, 数量, 金額, 非課税, 小計)
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100)
SELECT i, NULL, NULL, NULL, NULL, 0, 0 FROM n;

INSERT INTO 専用伝票HELP (型番, 内容) VALUES ('A4',
'A4 白紙に見積書を印刷するときの設定です。' || char(13, 10) ||
char(13, 10) ||
'・タイトル：用紙の上部に大きく印刷する表題です。空欄にすると表題は印刷されません。' || char(13, 10) ||
'・レフトマージン(LM)／トップマージン(TM)：印刷位置を右・下へずらす量です。単位は twip（1 mm は約 57）で、マイナスの値を入れると左・上へずれます。プリンターごとの印刷位置のずれを直すときに使います。' || char(13, 10) ||
'・フォント／サイズ：自社名、自社情報、顧客名、顧客情報をそれぞれどの書体と大きさで印刷するかを選びます。フォントを空欄にすると標準の書体で印刷されます。' || char(13, 10) ||
'・白紙用紙の罫線の色：枠や罫線、見出しの色です。見本の色の部分をダブルクリックすると色を選べます。' || char(13, 10) ||
char(13, 10) ||
'「登録」で保存した設定は、次に印刷・プレビューするときから使われます。');

INSERT INTO 専用伝票HELP (型番, 内容) VALUES ('B5',
'B5 白紙（JIS B5）に見積書を印刷するときの設定です。' || char(13, 10) ||
char(13, 10) ||
'・タイトル：用紙の上部に印刷する表題です。空欄にすると表題は印刷されません。' || char(13, 10) ||
'・レフトマージン(LM)／トップマージン(TM)：印刷位置を右・下へずらす量です。単位は twip（1 mm は約 57）で、マイナスの値を入れると左・上へずれます。' || char(13, 10) ||
'・フォント／サイズ：自社名、自社情報、顧客名、顧客情報の書体と大きさです。' || char(13, 10) ||
'・白紙用紙の罫線の色：枠や罫線、見出しの色です。見本の色の部分をダブルクリックすると色を選べます。' || char(13, 10) ||
char(13, 10) ||
'「登録」で保存した設定は、次に印刷・プレビューするときから使われます。');

-- The columns that came with the current data-file generation: an older data
-- file that lacks any of them gets them from the schema upgrade.
INSERT INTO テーブル更新情報 (テーブル名, フィールド名, 型, 長さ, 存在) VALUES
    ('自社情報', '小数', 10, 20, 0),
    ('自社情報', '行端数', 10, 20, 0),
    ('自社情報', '商品表示順', 10, 20, 0),
    ('自社情報', '入数列タイトル', 10, 50, 0),
    ('自社情報', '印鑑タイトル1', 10, 50, 0),
    ('自社情報', '印鑑タイトル2', 10, 50, 0),
    ('自社情報', '印鑑タイトル3', 10, 50, 0),
    ('自社情報', '印鑑タイトル4', 10, 50, 0),
    ('自社情報', '最大見積書番号', 4, 4, 0),
    ('自社情報', 'Version', 10, 10, 0),
    ('自社情報', 'LastUpdate', 10, 20, 0),
    ('見積書ヘッダ', '印鑑1', 10, 50, 0),
    ('見積書ヘッダ', '印鑑2', 10, 50, 0),
    ('見積書ヘッダ', '印鑑3', 10, 50, 0),
    ('見積書ヘッダ', '印鑑4', 10, 50, 0),
    ('見積書ヘッダ', '件名', 10, 255, 0),
    ('見積書', '小計', 1, 1, 0),
    ('見積書', 'ふりがな', 10, 100, 0),
    ('商品マスタ', 'ふりがな', 10, 100, 0);

COMMIT;

PRAGMA journal_mode = DELETE;
