#include "platform/Fonts.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QLoggingCategory>
#include <QMutex>
#include <QRawFont>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <optional>

Q_LOGGING_CATEGORY(lcFonts, "velt.fonts")

namespace Fonts {

void installSubstitutions()
{
    const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")};
    const QStringList pMincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")};
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")};

    const struct {
        const char16_t* name;
        const QStringList* subs;
    } table[] = {
        {u"ＭＳ Ｐゴシック", &pGothic}, {u"MS PGothic", &pGothic}, {u"MS UI Gothic", &pGothic},
        {u"ＭＳ ゴシック", &gothic},     {u"MS Gothic", &gothic},
        {u"ＭＳ Ｐ明朝", &pMincho},     {u"MS PMincho", &pMincho},
        {u"ＭＳ 明朝", &mincho},         {u"MS Mincho", &mincho},
    };
    for (const auto& e : table) QFont::insertSubstitutions(QString::fromUtf16(e.name), *e.subs);
}

namespace {

// ---------------------------------------------------------------- the order of characters

// 0: what Japanese text is written in; 1: the rarer kanji; 2: other symbols;
// 3: radicals, compatibility ideographs and control characters.
int kindOf(char32_t c)
{
    const auto in = [c](char32_t from, char32_t to) { return c >= from && c <= to; };
    if (c < 0x20 || in(0x7F, 0x9F) || in(0x2E80, 0x2FDF) || in(0xF900, 0xFAFF) || in(0x2F800, 0x2FA1F)) return 3;
    if (in(0x20, 0x7E) || in(0xA0, 0xFF) || in(0x3000, 0x30FF) || in(0x4E00, 0x9FFF) || in(0xFF00, 0xFFEF)) return 0;
    if (in(0x3400, 0x4DBF) || in(0x20000, 0x3FFFF)) return 1;
    return 2;
}

// ---------------------------------------------------------------- reading and writing sfnt data

quint16 be16(const QByteArray& b, qsizetype at)
{
    return quint16(uchar(b[at]) << 8 | uchar(b[at + 1]));
}

quint32 be32(const QByteArray& b, qsizetype at)
{
    return quint32(be16(b, at)) << 16 | be16(b, at + 2);
}

void put16(QByteArray& b, quint32 v)
{
    b.append(char(v >> 8 & 0xFF));
    b.append(char(v & 0xFF));
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, v >> 16);
    put16(b, v & 0xFFFF);
}

void set32(QByteArray& b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (24 - 8 * i) & 0xFF);
}

constexpr quint32 tagOf(const char (&t)[5])
{
    return quint32(uchar(t[0])) << 24 | quint32(uchar(t[1])) << 16 | quint32(uchar(t[2])) << 8 | uchar(t[3]);
}

quint32 checksum(const QByteArray& data)
{
    quint32 sum = 0;
    qsizetype i = 0;
    for (; i + 4 <= data.size(); i += 4) sum += be32(data, i);
    for (int shift = 24; i < data.size(); ++i, shift -= 8) sum += quint32(uchar(data[i])) << shift;
    return sum;
}

struct Subtable {
    qsizetype offset = -1;  // in the cmap table
    quint16 platform = 0, encoding = 0, format = 0;
};

QList<Subtable> subtables(const QByteArray& cmap)
{
    QList<Subtable> out;
    if (cmap.size() < 4) return out;
    const quint16 count = be16(cmap, 2);
    for (quint16 i = 0; i < count; ++i) {
        const qsizetype record = 4 + 8 * qsizetype(i);
        if (record + 8 > cmap.size()) break;
        const qsizetype offset = be32(cmap, record + 4);
        if (offset + 2 > cmap.size()) continue;
        out.append({offset, be16(cmap, record), be16(cmap, record + 2), be16(cmap, offset)});
    }
    return out;
}

// The full Unicode map of a cmap table (its format 12 subtable), sorted by character.
std::optional<QList<std::pair<char32_t, quint32>>> readCharacterMap(const QByteArray& cmap)
{
    for (const Subtable& s : subtables(cmap)) {
        const bool unicode = (s.platform == 3 && s.encoding == 10) || (s.platform == 0 && (s.encoding == 4 || s.encoding == 6));
        if (!unicode || s.format != 12 || s.offset + 16 > cmap.size()) continue;
        const quint32 groups = be32(cmap, s.offset + 12);
        if (s.offset + 16 + qsizetype(groups) * 12 > cmap.size()) continue;
        QList<std::pair<char32_t, quint32>> map;
        for (quint32 g = 0; g < groups; ++g) {
            const qsizetype at = s.offset + 16 + qsizetype(g) * 12;
            const quint32 first = be32(cmap, at), last = be32(cmap, at + 4), glyph = be32(cmap, at + 8);
            if (last < first || last > 0x10FFFF) return std::nullopt;
            for (quint32 c = first; c <= last; ++c) map.append({char32_t(c), glyph + (c - first)});
        }
        std::sort(map.begin(), map.end());
        return map;
    }
    return std::nullopt;
}

// The variation-sequence subtable (format 14) of a cmap table, as it stands; empty when none.
QByteArray variationSequences(const QByteArray& cmap)
{
    for (const Subtable& s : subtables(cmap)) {
        if (s.platform != 0 || s.encoding != 5 || s.format != 14 || s.offset + 6 > cmap.size()) continue;
        const qsizetype length = be32(cmap, s.offset + 2);
        if (s.offset + length <= cmap.size()) return cmap.mid(s.offset, length);
    }
    return {};
}

// A cmap table over `map` of one subtable (Windows, full Unicode) in format 10:
// one glyph number for every character from U+0000 to the last one mapped, so
// that finding a character's glyph is one step (a PDF writer asks for every
// character of the basic plane to name the glyphs it embeds); and the
// variation sequences where the face had them.
QByteArray writeCharacterMap(const QList<std::pair<char32_t, quint32>>& map, const QByteArray& variations)
{
    const quint32 count = map.isEmpty() ? 0 : quint32(map.last().first) + 1;
    QByteArray glyphs(qsizetype(count) * 2, '\0');
    for (const auto& [c, glyph] : map) {
        glyphs[qsizetype(c) * 2] = char(glyph >> 8 & 0xFF);
        glyphs[qsizetype(c) * 2 + 1] = char(glyph & 0xFF);
    }
    const quint16 records = variations.isEmpty() ? 1 : 2;
    const quint32 first = 4 + 8 * records;
    QByteArray cmap;
    put16(cmap, 0);
    put16(cmap, records);
    if (!variations.isEmpty()) {
        put16(cmap, 0);
        put16(cmap, 5);
        put32(cmap, first);
    }
    put16(cmap, 3);
    put16(cmap, 10);
    put32(cmap, first + quint32(variations.size()));
    cmap.append(variations);
    put16(cmap, 10);
    put16(cmap, 0);
    put32(cmap, 20 + quint32(glyphs.size()));
    put32(cmap, 0);
    put32(cmap, 0);
    put32(cmap, count);
    cmap.append(glyphs);
    return cmap;
}

// A name table (Windows, English) naming the face.
QByteArray writeNames(const QString& family, const QString& style, const QString& postScript)
{
    const QList<std::pair<quint16, QString>> names{
        {1, family}, {2, style}, {3, postScript}, {4, family + QLatin1Char(' ') + style}, {6, postScript}};
    QByteArray strings;
    QByteArray table;
    put16(table, 0);
    put16(table, quint16(names.size()));
    put16(table, quint16(6 + 12 * names.size()));
    for (const auto& [id, text] : names) {
        QByteArray utf16;
        for (const QChar ch : text) put16(utf16, ch.unicode());
        put16(table, 3);
        put16(table, 1);
        put16(table, 0x409);
        put16(table, id);
        put16(table, quint16(utf16.size()));
        put16(table, quint16(strings.size()));
        strings.append(utf16);
    }
    return table + strings;
}

// An OpenType file of the tables (sorted by tag), its head's checksum adjusted.
QByteArray writeFace(QList<std::pair<quint32, QByteArray>> tables)
{
    std::sort(tables.begin(), tables.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const bool cff = std::any_of(tables.begin(), tables.end(), [](const auto& t) { return t.first == tagOf("CFF "); });
    const quint16 n = quint16(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= n) power *= 2, ++log2;

    QByteArray file;
    put32(file, cff ? tagOf("OTTO") : 0x00010000);
    put16(file, n);
    put16(file, power * 16);
    put16(file, log2);
    put16(file, n * 16 - power * 16);
    qsizetype total = 12 + 16 * qsizetype(n);
    qsizetype headAt = -1;
    for (auto& [tag, data] : tables) {
        if (tag == tagOf("head") && data.size() >= 12) set32(data, 8, 0);
        put32(file, tag);
        put32(file, checksum(data));
        put32(file, quint32(total));
        put32(file, quint32(data.size()));
        if (tag == tagOf("head")) headAt = total;
        total += (data.size() + 3) & ~qsizetype(3);
    }
    file.reserve(total);
    for (const auto& t : tables) {
        file.append(t.second);
        file.append(QByteArray((4 - t.second.size() % 4) % 4, '\0'));
    }
    if (headAt >= 0) set32(file, headAt + 8, 0xB1B0AFBA - checksum(file));
    return file;
}

// ---------------------------------------------------------------- the derived bold faces

constexpr int kDerivation = 3;  // raise when the derived face changes

// The tables a face may need to be drawn; others (signatures, colour, …) are left out.
constexpr char kTables[][5] = {"BASE", "CFF ", "CFF2", "GDEF", "GPOS", "GSUB", "OS/2", "VORG",
                               "cmap", "cvt ", "fpgm", "gasp", "glyf", "head", "hhea", "hmtx",
                               "kern", "loca", "maxp", "post", "prep", "vhea", "vmtx"};

// The derived face of `source`: its tables with a one-to-one character map
// and the names of `family`. Empty when the face cannot be read.
QByteArray deriveFace(const QRawFont& source, const QString& family)
{
    QList<std::pair<quint32, QByteArray>> tables;
    QByteArray cmap;
    for (const auto& t : kTables) {
        QByteArray data = source.fontTable(t);
        if (data.isEmpty()) continue;
        const quint32 tag = tagOf(t);
        if (tag == tagOf("cmap")) cmap = data;
        else tables.append({tag, std::move(data)});
    }
    const auto has = [&](const char (&t)[5]) {
        return std::any_of(tables.begin(), tables.end(), [&](const auto& e) { return e.first == tagOf(t); });
    };
    if (!has("head") || !has("maxp") || !has("hhea") || !has("hmtx") || !(has("CFF ") || has("glyf"))) return {};
    const auto map = readCharacterMap(cmap);
    if (!map) return {};
    // The line metrics of the face are its ideographic em box (the typographic
    // ascender and descender of OS/2), as the IPA faces have theirs: bold and
    // regular text of a line take boxes of one height, also in a PDF.
    auto hhea = std::find_if(tables.begin(), tables.end(), [](const auto& e) { return e.first == tagOf("hhea"); });
    auto os2 = std::find_if(tables.begin(), tables.end(), [](const auto& e) { return e.first == tagOf("OS/2"); });
    if (hhea != tables.end() && os2 != tables.end() && hhea->second.size() >= 10 && os2->second.size() >= 74)
        hhea->second.replace(4, 6, os2->second.mid(68, 6));
    QString postScript = family;
    postScript.remove(QLatin1Char(' '));
    tables.append({tagOf("cmap"), writeCharacterMap(oneCharacterPerGlyph(*map), variationSequences(cmap))});
    tables.append({tagOf("name"), writeNames(family, QStringLiteral("Bold"), postScript + QStringLiteral("-Bold"))});
    return writeFace(std::move(tables));
}

// Registers the bold face made from `source` (a Noto CJK family) and gives
// its family name; nothing when the source has no bold face or cannot be read.
std::optional<QString> registerDerivedBold(const QString& source)
{
    QFont font(source);
    font.setBold(true);
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
    if (!raw.isValid() || raw.familyName() != source || raw.weight() < QFont::Bold) return std::nullopt;

    const QString family = QStringLiteral("Velt ") + source;
    const auto registered = [&](int id) -> std::optional<QString> {
        if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(family)) return family;
        if (id >= 0) QFontDatabase::removeApplicationFont(id);
        return std::nullopt;
    };

    // The file is named after the face it is made from: its head table tells
    // the version, so an updated Noto package makes a new one.
    QCryptographicHash key(QCryptographicHash::Sha1);
    key.addData(raw.fontTable("head"));
    key.addData(QByteArray::number(raw.fontTable("cmap").size()));
    key.addData(QByteArray::number(kDerivation));
    QString stem = family;
    stem.remove(QLatin1Char(' '));
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                QStringLiteral("/PrjVelt/fonts"));
    const QString path = folder.filePath(stem + QLatin1Char('-') + QString::fromLatin1(key.result().toHex().left(16)) +
                                         QStringLiteral(".otf"));
    if (QFile::exists(path))
        if (auto f = registered(QFontDatabase::addApplicationFont(path))) return f;

    const QByteArray face = deriveFace(raw, family);
    if (face.isEmpty()) {
        qCWarning(lcFonts) << "cannot read the face of" << source;
        return std::nullopt;
    }
    QSaveFile file(path);
    const bool madeFolder = folder.mkpath(QStringLiteral("."));
    if (madeFolder && file.open(QIODevice::WriteOnly) && file.write(face) == face.size() && file.commit()) {
        // Faces made from an earlier version of the source are of no more use.
        for (const QString& old : folder.entryList({stem + QStringLiteral("-*.otf")}, QDir::Files))
            if (folder.filePath(old) != path) folder.remove(old);
        if (auto f = registered(QFontDatabase::addApplicationFont(path))) return f;
    }
    qCInfo(lcFonts) << "the bold face of" << source << "is not kept in" << folder.path() << ":"
                    << (madeFolder ? file.errorString() : QStringLiteral("the folder cannot be made"));
    return registered(QFontDatabase::addApplicationFontFromData(face));
}

}  // namespace

QList<std::pair<char32_t, quint32>> oneCharacterPerGlyph(QList<std::pair<char32_t, quint32>> map)
{
    QHash<quint32, int> best;  // glyph → the first kind that reaches it
    for (const auto& [c, glyph] : map) {
        const int kind = kindOf(c);
        auto it = best.find(glyph);
        if (it == best.end()) best.insert(glyph, kind);
        else if (kind < *it) *it = kind;
    }
    map.removeIf([&](const std::pair<char32_t, quint32>& e) { return kindOf(e.first) != best.value(e.second); });
    std::sort(map.begin(), map.end());
    return map;
}

QString boldFamily(const QString& family)
{
    static QMutex mutex;
    static QHash<QString, QString> boldOf;         // designed family → the family bold prints in
    static QHash<QString, QString> derivedOf;      // Noto family → its derived face ("" when none)
    const QMutexLocker lock(&mutex);
    if (const auto it = boldOf.constFind(family); it != boldOf.cend()) return *it;

    const QStringList substitutes = QFont::substitutes(family);
    const QString face = substitutes.isEmpty() ? family : substitutes.first();
    // The IPA faces by their Latin and their Japanese names.
    const struct {
        const char16_t* face;
        const char16_t* bold;
    } table[] = {
        {u"IPAPMincho", u"Noto Serif CJK JP"}, {u"IPA P明朝", u"Noto Serif CJK JP"},
        {u"IPAMincho", u"Noto Serif CJK JP"},  {u"IPA明朝", u"Noto Serif CJK JP"},
        {u"IPAPGothic", u"Noto Sans CJK JP"},  {u"IPA Pゴシック", u"Noto Sans CJK JP"},
        {u"IPAGothic", u"Noto Sans CJK JP"},   {u"IPAゴシック", u"Noto Sans CJK JP"},
    };
    QString bold = family;
    for (const auto& e : table) {
        if (face.compare(QString::fromUtf16(e.face), Qt::CaseInsensitive) != 0) continue;
        const QString source = QString::fromUtf16(e.bold);
        auto derived = derivedOf.constFind(source);
        if (derived == derivedOf.cend())
            derived = derivedOf.insert(source, registerDerivedBold(source).value_or(QString()));
        if (!derived->isEmpty()) bold = *derived;
        break;
    }
    boldOf.insert(family, bold);
    return bold;
}

}  // namespace Fonts
