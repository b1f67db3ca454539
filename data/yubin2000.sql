-- The postal dictionary "yubin2000.mdb", read by the postal-code look-up.
-- One row per postal code and town area, in Japan Post's order (a code that
-- covers several town areas has several rows); 郵便番号 is the seven-digit
-- code without a hyphen; 町域 is Null where the code covers a whole city. The
-- readings are half-width katakana as Japan Post writes them.
--
-- The rows come from data/yubin2000.tar.xz (yubin2000.tsv: tab-separated,
-- the columns below in their order, an empty field for Null, one comment
-- line first), which the build unpacks into the folder this script runs in.
-- scripts/postal_dictionary.cjs regenerates that archive from Japan Post's
-- data when it is updated.

PRAGMA page_size = 4096;

CREATE TABLE 郵便番号辞書 (
    郵便番号     TEXT NOT NULL,
    都道府県     TEXT,
    市区町村     TEXT,
    町域         TEXT,
    都道府県カナ TEXT,
    市区町村カナ TEXT,
    町域カナ     TEXT
);

CREATE TEMP TABLE 郵便番号辞書_読込 (
    郵便番号, 都道府県, 市区町村, 町域, 都道府県カナ, 市区町村カナ, 町域カナ
);
.mode tabs
.import --skip 1 --schema temp yubin2000.tsv 郵便番号辞書_読込

BEGIN;
INSERT INTO main.郵便番号辞書 (郵便番号, 都道府県, 市区町村, 町域, 都道府県カナ, 市区町村カナ, 町域カナ)
SELECT 郵便番号, nullif(都道府県, ''), nullif(市区町村, ''), nullif(町域, ''),
       nullif(都道府県カナ, ''), nullif(市区町村カナ, ''), nullif(町域カナ, '')
FROM 郵便番号辞書_読込
ORDER BY rowid;
COMMIT;
DROP TABLE 郵便番号辞書_読込;

CREATE INDEX 郵便番号辞書_郵便番号 ON 郵便番号辞書 (郵便番号);

-- A dictionary without rows means the archive was not read: fail the build.
CREATE TEMP TABLE 郵便番号辞書_検査 (n INTEGER CHECK (n >= 100000));
INSERT INTO 郵便番号辞書_検査 SELECT count(*) FROM main.郵便番号辞書 WHERE 郵便番号 GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9]';

PRAGMA journal_mode = DELETE;
