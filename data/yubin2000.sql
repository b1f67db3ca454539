-- The postal dictionary "yubin2000.mdb", read by the postal-code look-up.
-- One row per postal code and town area; 郵便番号 is the seven-digit code
-- without a hyphen. The readings are half-width katakana as published.

PRAGMA page_size = 4096;

BEGIN;

CREATE TABLE 郵便番号辞書 (
    郵便番号     TEXT NOT NULL,
    都道府県     TEXT,
    市区町村     TEXT,
    町域         TEXT,
    都道府県カナ TEXT,
    市区町村カナ TEXT,
    町域カナ     TEXT
);
CREATE INDEX 郵便番号辞書_郵便番号 ON 郵便番号辞書 (郵便番号);

COMMIT;

PRAGMA journal_mode = DELETE;
