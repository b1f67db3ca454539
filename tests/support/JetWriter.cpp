// The test Jet writer. Page layouts, as the format's public description
// gives them:
//
// Page 0, the header: "Standard Jet DB" at 4, the version at 0x14 (0 = Jet 3,
// 1 = Jet 4); from 0x18 on, 126 (Jet 3) or 128 (Jet 4) bytes masked with RC4
// under a fixed key, holding the code page at 0x3C and the database key at
// 0x3E (left zero: the pages are not encrypted).
// Page 1: an empty data page (Jet keeps its global usage map there; readers
// do not need it). Page 2: the table definition of MSysObjects. Then the
// user tables' definitions, their data pages, long-value pages, and at the
// end the catalog's data pages and the pages holding the usage maps.
//
// Data and long-value pages: type 0x01, a header (free space, the owning
// table definition's page or "LVAL", the row count) and a table of row
// offsets; rows are placed from the end of the page towards its header.
// A row: the column count, the fixed-length values at their offsets, the
// variable-length values one after another, then, read from the row's end,
// the null mask (one bit per column, 1 = a value; a yes/no's value itself),
// the count of variable values, their offsets (last first) and the end of
// the data. Jet 3 keeps those as bytes, with a table of the variable entries
// that start past each 256-byte step; Jet 4 as two-byte numbers.
// A memo is a 12-byte field (length, where the text is, a row pointer) with
// its text behind it in the row, in one long-value row, or in a chain of
// long-value rows each starting with the pointer to the next.
// A usage map is a row: type 0, a first page and a bitmap of the pages from
// it; or type 1, pointers to pages of type 0x05 that each hold the bitmap of
// one stretch of pages.

#include "support/JetWriter.h"

#include "platform/LinkFile.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>
#include <array>
#include <cmath>
#include <cstring>

#include <iconv.h>

namespace jet {

namespace {

enum : quint8 {
    TypeBool = 0x01, TypeByte = 0x02, TypeInt = 0x03, TypeLong = 0x04, TypeMoney = 0x05, TypeFloat = 0x06,
    TypeDouble = 0x07, TypeDateTime = 0x08, TypeText = 0x0A, TypeOle = 0x0B, TypeMemo = 0x0C,
};

// The table definition's and the data page's places, per version.
struct Format {
    int pageSize;
    int dataHeader;      // bytes before a data page's row offsets
    int rowCountAt;      // a data page's row count
    int tdefColumnsAt;   // first column record of a table definition
    int columnSize;      // bytes of a column record
    int countSize;       // bytes of a row's column count, offsets and variable count
    int headerMaskLength;
};
constexpr Format kJet3{2048, 10, 8, 43, 18, 1, 126};
constexpr Format kJet4{4096, 14, 12, 63, 25, 2, 128};

// Type 0 usage maps cover this many bytes of bitmap at most (as Jet's own);
// a table spread wider gets a type 1 map.
constexpr int kInlineMapBytes = 64;
constexpr int kMaxRowsPerPage = 255;
// A memo up to this long is kept in its row when the row fits a page; a
// longer one goes to long-value pages.
constexpr int kInlineMemoBytes = 256;  // a row pointer keeps the row number in one byte

void put8(QByteArray& b, int at, quint8 v) { b[at] = static_cast<char>(v); }
void put16(QByteArray& b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }
void append16(QByteArray& b, quint16 v) { b.append(2, '\0'); put16(b, static_cast<int>(b.size()) - 2, v); }

// RC4 over the bytes in place (the header page's mask).
void rc4(const std::array<quint8, 4>& key, char* data, int length)
{
    std::array<quint8, 256> s{};
    for (int i = 0; i < 256; ++i) s[i] = static_cast<quint8>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] = static_cast<char>(static_cast<quint8>(data[n]) ^ s[(s[i] + s[j]) & 0xff]);
    }
}

quint8 typeCode(Kind kind)
{
    switch (kind) {
    case Kind::Text: return TypeText;
    case Kind::Memo: return TypeMemo;
    case Kind::Long: return TypeLong;
    case Kind::Integer: return TypeInt;
    case Kind::Byte: return TypeByte;
    case Kind::Double: return TypeDouble;
    case Kind::Single: return TypeFloat;
    case Kind::Currency: return TypeMoney;
    case Kind::DateTime: return TypeDateTime;
    case Kind::YesNo: return TypeBool;
    }
    return TypeText;
}

int fixedSize(quint8 type)
{
    switch (type) {
    case TypeBool: case TypeByte: return 1;
    case TypeInt: return 2;
    case TypeLong: case TypeFloat: return 4;
    case TypeMoney: case TypeDouble: case TypeDateTime: return 8;
    default: return 0;  // variable length
    }
}

// A Jet date: days since 1899-12-30, the time of day as the fraction, whose
// sign does not follow the day's for days before that date.
double jetDate(const QDateTime& dt)
{
    const qint64 days = QDate(1899, 12, 30).daysTo(dt.date());
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

struct ColumnDef {
    QString name;
    quint8 type = TypeText;
    bool fixed = false;
    int fixedOffset = 0;  // within the fixed area
    int varIndex = 0;     // within the variable values
    int length = 0;       // bytes: fixed size, text's room, 0 for a memo
};

// Rows gathered for one page before it is written.
struct PageFill {
    int page = 0;
    QList<QByteArray> rows;
    int used = 0;
};

struct TableState {
    QString name;
    QList<ColumnDef> columns;
    int varCount = 0;
    int fixedLength = 0;
    int definitionPage = 0;
    quint32 rowCount = 0;
    bool system = false;
    PageFill fill;
    QList<int> pages;
};

}  // namespace

struct Writer::Impl {
    Version version;
    const Format& f;
    int codePage;
    iconv_t toCodePage = reinterpret_cast<iconv_t>(-1);
    QFile file;
    QString error;
    bool failed = false;
    int nextPage = 3;
    QList<TableState> tables;  // [0] is MSysObjects
    PageFill longValues;       // the long-value page being filled
    Layout layout;

    Impl(Version v, int cp) : version(v), f(v == Version::Jet3 ? kJet3 : kJet4), codePage(cp) {}
    ~Impl()
    {
        if (toCodePage != reinterpret_cast<iconv_t>(-1)) iconv_close(toCodePage);
    }

    bool fail(const QString& text)
    {
        if (!failed) error = text;
        failed = true;
        return false;
    }

    bool writePage(int page, const QByteArray& bytes)
    {
        Q_ASSERT(bytes.size() == f.pageSize);
        if (!file.seek(static_cast<qint64>(page) * f.pageSize) || file.write(bytes) != bytes.size())
            return fail(QStringLiteral("cannot write page %1: %2").arg(page).arg(file.errorString()));
        return true;
    }

    // Text in the file's encoding: the code page (Jet 3) or UCS-2 (Jet 4).
    bool encode(const QString& text, QByteArray& out)
    {
        if (version == Version::Jet4) {
            out.resize(text.size() * 2);
            for (qsizetype i = 0; i < text.size(); ++i) put16(out, static_cast<int>(i * 2), text.at(i).unicode());
            return true;
        }
        QByteArray in = text.toUtf8();
        out.resize(in.size() * 2 + 4);
        char* src = in.data();
        size_t srcLeft = static_cast<size_t>(in.size());
        char* dst = out.data();
        size_t dstLeft = static_cast<size_t>(out.size());
        iconv(toCodePage, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toCodePage, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
            return fail(QStringLiteral("「%1」 cannot be written in code page %2").arg(text).arg(codePage));
        out.resize(out.size() - static_cast<qsizetype>(dstLeft));
        return true;
    }

    int maxRow() const { return f.pageSize - f.dataHeader - 2; }

    // Adds a row to a page fill, whose page number is taken when its first
    // row arrives (and added to pages); writes the full page out first when
    // the row does not fit. The row's pointer: page << 8 | row number.
    quint32 place(PageFill& fill, QList<int>* pages, const QByteArray& row, const QByteArray& owner)
    {
        const bool fits = f.dataHeader + 2 * (fill.rows.size() + 1) + fill.used + row.size() <= f.pageSize
                          && fill.rows.size() < kMaxRowsPerPage;
        if (!fits) flush(fill, owner);
        if (fill.rows.isEmpty()) {
            fill.page = nextPage++;
            if (pages) pages->append(fill.page);
        }
        fill.rows.append(row);
        fill.used += static_cast<int>(row.size());
        return (static_cast<quint32>(fill.page) << 8) | static_cast<quint32>(fill.rows.size() - 1);
    }

    // Writes the rows gathered so far as the fill's data page (owner: the
    // table definition's page number as 4 bytes, or "LVAL").
    void flush(PageFill& fill, const QByteArray& owner)
    {
        if (fill.rows.isEmpty()) return;
        QByteArray page(f.pageSize, '\0');
        put8(page, 0, 0x01);
        put8(page, 1, 0x01);
        const int free = f.pageSize - f.dataHeader - 2 * static_cast<int>(fill.rows.size()) - fill.used;
        put16(page, 2, static_cast<quint16>(free));
        std::memcpy(page.data() + 4, owner.constData(), 4);
        put16(page, f.rowCountAt, static_cast<quint16>(fill.rows.size()));
        int end = f.pageSize;
        for (qsizetype i = 0; i < fill.rows.size(); ++i) {
            const QByteArray& row = fill.rows[i];
            end -= static_cast<int>(row.size());
            std::memcpy(page.data() + end, row.constData(), static_cast<size_t>(row.size()));
            put16(page, f.dataHeader + 2 * static_cast<int>(i), static_cast<quint16>(end));
        }
        writePage(fill.page, page);
        fill = {};
    }

    static QByteArray ownerOf(int definitionPage)
    {
        QByteArray b(4, '\0');
        put32(b, 0, static_cast<quint32>(definitionPage));
        return b;
    }

    // Puts a memo's text into long-value rows; the 12-byte field that points
    // at it.
    QByteArray longValue(const QByteArray& text)
    {
        static const QByteArray lval = QByteArrayLiteral("LVAL");
        QByteArray field(12, '\0');
        if (text.size() <= maxRow()) {
            put32(field, 0, static_cast<quint32>(text.size()) | 0x40000000u);
            put32(field, 4, place(longValues, nullptr, text, lval));
            return field;
        }
        // A chain: a page per piece, each row the pointer to the next piece
        // and the piece. Written last piece first, so each knows its next.
        const int piece = maxRow() - 4;
        QList<QByteArray> pieces;
        for (qsizetype at = 0; at < text.size(); at += piece) pieces.append(text.mid(at, piece));
        quint32 next = 0;
        for (qsizetype i = pieces.size() - 1; i >= 0; --i) {
            PageFill own;
            QByteArray row(4, '\0');
            put32(row, 0, next);
            next = place(own, nullptr, row + pieces[i], lval);
            flush(own, lval);
        }
        put32(field, 0, static_cast<quint32>(text.size()));
        put32(field, 4, next);
        return field;
    }

    std::optional<QByteArray> fixedBytes(const ColumnDef& col, const QVariant& v)
    {
        QByteArray b(fixedSize(col.type), '\0');
        bool ok = true;
        switch (col.type) {
        case TypeByte: {
            const qlonglong n = v.toLongLong(&ok);
            if (!ok || n < 0 || n > 255) return std::nullopt;
            put8(b, 0, static_cast<quint8>(n));
            break;
        }
        case TypeInt: {
            const qlonglong n = v.toLongLong(&ok);
            if (!ok || n < -32768 || n > 32767) return std::nullopt;
            put16(b, 0, static_cast<quint16>(static_cast<qint16>(n)));
            break;
        }
        case TypeLong: {
            const qlonglong n = v.toLongLong(&ok);
            if (!ok || n < INT32_MIN || n > INT32_MAX) return std::nullopt;
            put32(b, 0, static_cast<quint32>(static_cast<qint32>(n)));
            break;
        }
        case TypeFloat: {
            const float x = static_cast<float>(v.toDouble(&ok));
            if (!ok) return std::nullopt;
            qToLittleEndian(x, b.data());
            break;
        }
        case TypeDouble: {
            const double x = v.toDouble(&ok);
            if (!ok) return std::nullopt;
            qToLittleEndian(x, b.data());
            break;
        }
        case TypeMoney: {
            const auto c = LinkFile::toCurrency(v);
            if (!c) return std::nullopt;
            qToLittleEndian(static_cast<qint64>(c->raw()), b.data());
            break;
        }
        case TypeDateTime: {
            QDateTime dt;
            if (v.typeId() == QMetaType::QDate) dt = QDateTime(v.toDate(), QTime(0, 0));
            else if (v.typeId() == QMetaType::QDateTime) dt = v.toDateTime();
            if (!dt.isValid()) return std::nullopt;
            qToLittleEndian(jetDate(dt), b.data());
            break;
        }
        case TypeBool:
            break;  // in the null mask
        default:
            return std::nullopt;
        }
        return b;
    }

    // The bytes of one row of the table; memos longer than inline allows go
    // to long-value pages.
    std::optional<QByteArray> buildRow(TableState& t, const QVariantList& values, bool memosInline)
    {
        const int n = static_cast<int>(t.columns.size());
        const int maskSize = (n + 7) / 8;
        QByteArray mask(maskSize, '\0');
        QByteArray row;
        if (f.countSize == 1) row.append(static_cast<char>(n));
        else append16(row, static_cast<quint16>(n));
        const int fixedAt = static_cast<int>(row.size());
        row.append(t.fixedLength, '\0');
        QList<int> varOffsets(t.varCount, 0);
        QList<QByteArray> varData(t.varCount);
        for (int i = 0; i < n; ++i) {
            const ColumnDef& col = t.columns[i];
            const QVariant& v = values[i];
            const bool isNull = v.isNull();
            bool present = !isNull;
            if (col.type == TypeBool) present = !isNull && v.toBool();
            if (present) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
            if (isNull || col.type == TypeBool) continue;
            if (col.fixed) {
                const auto bytes = fixedBytes(col, v);
                if (!bytes) {
                    fail(QStringLiteral("%1.%2: value %3 does not fit").arg(t.name, col.name, v.toString()));
                    return std::nullopt;
                }
                std::memcpy(row.data() + fixedAt + col.fixedOffset, bytes->constData(), static_cast<size_t>(bytes->size()));
                continue;
            }
            QByteArray text;
            if (!encode(v.toString(), text)) return std::nullopt;
            if (col.type == TypeText) {
                if (text.size() > col.length) {
                    fail(QStringLiteral("%1.%2: text longer than %3 bytes").arg(t.name, col.name).arg(col.length));
                    return std::nullopt;
                }
                varData[col.varIndex] = text;
            } else if (memosInline && text.size() <= kInlineMemoBytes) {
                QByteArray field(12, '\0');
                put32(field, 0, static_cast<quint32>(text.size()) | 0x80000000u);
                varData[col.varIndex] = field + text;
            } else {
                varData[col.varIndex] = longValue(text);
            }
        }
        for (int v = 0; v < t.varCount; ++v) {
            varOffsets[v] = static_cast<int>(row.size());
            row += varData[v];
        }
        const int eod = static_cast<int>(row.size());
        if (f.countSize == 2) {
            append16(row, static_cast<quint16>(eod));
            for (int v = t.varCount - 1; v >= 0; --v) append16(row, static_cast<quint16>(varOffsets[v]));
            append16(row, static_cast<quint16>(t.varCount));
            row += mask;
            return row;
        }
        // Jet 3: one-byte offsets; the jump table names, for each 256-byte
        // step of the row, the first entry (the end of the data counting as
        // entry varCount) at or past it. Its length follows the row's whole
        // length; a step that only the trailer reaches gets the filler 0xff.
        const int base = eod + t.varCount + 2 + maskSize;
        int jumps = 0;
        while (jumps < (base + jumps - 1) / 256) ++jumps;
        QList<int> entries = varOffsets;
        entries.append(eod);
        QByteArray jumpTable(jumps, '\xff');  // entry k sits k bytes before the count
        for (int k = 0; k < jumps; ++k) {
            for (int e = 0; e < entries.size(); ++e) {
                if (entries[e] >= 256 * (k + 1)) {
                    jumpTable[jumps - 1 - k] = static_cast<char>(e);
                    break;
                }
            }
        }
        if (jumps - eod / 256 > 1) {
            fail(QStringLiteral("%1: a Jet 3 row of this shape cannot be written").arg(t.name));
            return std::nullopt;
        }
        row.append(static_cast<char>(eod & 0xff));
        for (int v = t.varCount - 1; v >= 0; --v) row.append(static_cast<char>(varOffsets[v] & 0xff));
        row += jumpTable;
        row.append(static_cast<char>(t.varCount));
        row += mask;
        return row;
    }

    QByteArray definition(const TableState& t)
    {
        const int n = static_cast<int>(t.columns.size());
        QByteArray d(f.tdefColumnsAt, '\0');
        put8(d, 0, 0x02);
        put8(d, 1, 0x01);
        if (version == Version::Jet3) {
            d[2] = 'V';
            d[3] = 'C';
        }
        const int at = version == Version::Jet3 ? 12 : 16;  // row count
        put32(d, at, t.rowCount);
        const int typeAt = version == Version::Jet3 ? 20 : 40;
        put8(d, typeAt, t.system ? 0x53 : 0x4e);
        put16(d, typeAt + 1, static_cast<quint16>(n));             // max columns
        put16(d, typeAt + 3, static_cast<quint16>(t.varCount));
        put16(d, typeAt + 5, static_cast<quint16>(n));
        // no logical or real indexes (typeAt + 7, + 11); the maps follow
        for (int i = 0; i < n; ++i) {
            const ColumnDef& c = t.columns[i];
            QByteArray r(f.columnSize, '\0');
            const bool text = c.type == TypeText || c.type == TypeMemo;
            const quint8 flags = (c.fixed ? 0x01 : 0x00) | 0x02;
            if (version == Version::Jet3) {
                put8(r, 0, c.type);
                put16(r, 1, static_cast<quint16>(i));
                put16(r, 3, static_cast<quint16>(c.varIndex));
                put16(r, 5, static_cast<quint16>(i));
                if (text) {
                    put16(r, 7, codePage == 932 ? 0x0411 : 0x0409);
                    put16(r, 9, static_cast<quint16>(codePage));
                }
                put8(r, 13, flags);
                put16(r, 14, static_cast<quint16>(c.fixedOffset));
                put16(r, 16, static_cast<quint16>(c.length));
            } else {
                put8(r, 0, c.type);
                put16(r, 5, static_cast<quint16>(i));
                put16(r, 7, static_cast<quint16>(c.varIndex));
                put16(r, 9, static_cast<quint16>(i));
                if (text) put16(r, 11, 0x0409);
                put8(r, 15, flags);
                put16(r, 21, static_cast<quint16>(c.fixedOffset));
                put16(r, 23, static_cast<quint16>(c.length));
            }
            d += r;
        }
        for (const ColumnDef& c : t.columns) {
            QByteArray name;
            encode(c.name, name);
            if (version == Version::Jet3) d.append(static_cast<char>(name.size()));
            else append16(d, static_cast<quint16>(name.size()));
            d += name;
        }
        append16(d, 0xffff);  // no per-column usage maps
        put32(d, 8, static_cast<quint32>(d.size()));
        return d;
    }

    // A usage map row listing the pages (type 0, or type 1 through map pages
    // written here).
    QByteArray usageMap(const QList<int>& pages)
    {
        int first = 0, last = 0;
        if (!pages.isEmpty()) {
            first = *std::min_element(pages.begin(), pages.end());
            last = *std::max_element(pages.begin(), pages.end());
        }
        const int bytes = (last - first) / 8 + 1;
        if (bytes <= kInlineMapBytes) {
            QByteArray m(5 + kInlineMapBytes, '\0');
            put32(m, 1, static_cast<quint32>(first));
            for (int p : pages) m[5 + (p - first) / 8] = static_cast<char>(m[5 + (p - first) / 8] | (1 << ((p - first) % 8)));
            return m;
        }
        const int span = (f.pageSize - 4) * 8;
        const int stretches = last / span + 1;
        QByteArray m(1 + 4 * stretches, '\0');
        put8(m, 0, 0x01);
        for (int s = 0; s < stretches; ++s) {
            QByteArray page(f.pageSize, '\0');
            put8(page, 0, 0x05);
            put8(page, 1, 0x01);
            bool any = false;
            for (int p : pages) {
                if (p / span != s) continue;
                const int bit = p % span;
                page[4 + bit / 8] = static_cast<char>(page[4 + bit / 8] | (1 << (bit % 8)));
                any = true;
            }
            if (!any) continue;
            const int number = nextPage++;
            writePage(number, page);
            put32(m, 1 + 4 * s, static_cast<quint32>(number));
        }
        return m;
    }

    int addTable(const QString& name, const QList<Column>& columns, bool system)
    {
        if (failed) return -1;
        if (columns.isEmpty() || columns.size() > 255) {
            fail(QStringLiteral("%1: a table needs 1 to 255 columns").arg(name));
            return -1;
        }
        TableState t;
        t.name = name;
        t.system = system;
        for (const Column& c : columns) {
            ColumnDef d;
            d.name = c.name;
            d.type = typeCode(c.kind);
            d.fixed = fixedSize(d.type) > 0;
            if (d.fixed) {
                d.fixedOffset = t.fixedLength;
                d.length = fixedSize(d.type);
                t.fixedLength += d.length;
            } else {
                d.varIndex = t.varCount++;
                d.length = d.type == TypeText ? (version == Version::Jet3 ? 255 : 510) : 0;
            }
            t.columns.append(d);
        }
        t.definitionPage = system ? 2 : nextPage++;
        tables.append(t);
        return static_cast<int>(tables.size()) - 1;
    }

    bool addRow(int index, const QVariantList& values)
    {
        if (failed) return false;
        if (index < 0 || index >= tables.size()) return fail(QStringLiteral("no table %1").arg(index));
        TableState& t = tables[index];
        if (values.size() != t.columns.size())
            return fail(QStringLiteral("%1: %2 values for %3 columns").arg(t.name).arg(values.size()).arg(t.columns.size()));
        std::optional<QByteArray> row = buildRow(t, values, true);
        if (row && row->size() > maxRow()) row = buildRow(t, values, false);
        if (!row) return false;
        if (row->size() > maxRow()) return fail(QStringLiteral("%1: a row of %2 bytes does not fit a page").arg(t.name).arg(row->size()));
        place(t.fill, &t.pages, *row, ownerOf(t.definitionPage));
        ++t.rowCount;
        return !failed;
    }
};

Writer::Writer(Version version, int codePage) : d(std::make_unique<Impl>(version, codePage)) {}
Writer::~Writer() = default;

QString Writer::error() const { return d->error; }
const Layout& Writer::layout() const { return d->layout; }

bool Writer::begin(const QString& path)
{
    const QByteArray cp = "CP" + QByteArray::number(d->codePage);
    d->toCodePage = iconv_open(cp.constData(), "UTF-8");
    if (d->toCodePage == reinterpret_cast<iconv_t>(-1)) return d->fail(QStringLiteral("no converter for %1").arg(QString::fromLatin1(cp)));
    d->file.setFileName(path);
    if (!d->file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        return d->fail(QStringLiteral("cannot create %1: %2").arg(path, d->file.errorString()));
    d->addTable(QStringLiteral("MSysObjects"),
                {{QStringLiteral("Id"), Kind::Long}, {QStringLiteral("ParentId"), Kind::Long},
                 {QStringLiteral("Name"), Kind::Text}, {QStringLiteral("Type"), Kind::Integer},
                 {QStringLiteral("Flags"), Kind::Long}, {QStringLiteral("LvProp"), Kind::Memo}},
                true);
    d->tables[0].columns[5].type = TypeOle;  // properties: none written
    return !d->failed;
}

int Writer::addTable(const QString& name, const QList<Column>& columns)
{
    if (!d->file.isOpen()) {
        d->fail(QStringLiteral("begin() first"));
        return -1;
    }
    return d->addTable(name, columns, false);
}

bool Writer::addRow(int table, const QVariantList& values)
{
    return table > 0 && d->addRow(table, values);
}

bool Writer::finish()
{
    if (d->failed || !d->file.isOpen()) return false;
    const Format& f = d->f;
    // The catalog: MSysObjects itself (a system table) and each user table.
    constexpr qint32 kSystemFlags = static_cast<qint32>(0x80000002u);
    constexpr qint32 kTablesContainer = 0x0F000001;
    d->addRow(0, {2, kTablesContainer, QStringLiteral("MSysObjects"), 1, kSystemFlags, QVariant()});
    for (qsizetype i = 1; i < d->tables.size(); ++i)
        d->addRow(0, {d->tables[i].definitionPage, kTablesContainer, d->tables[i].name, 1, 0, QVariant()});
    for (TableState& t : d->tables) d->flush(t.fill, Impl::ownerOf(t.definitionPage));
    d->flush(d->longValues, QByteArrayLiteral("LVAL"));
    // Usage maps: two per table (its pages; pages with free room: none).
    PageFill maps;
    const QByteArray noOwner(4, '\0');
    QList<QPair<quint32, quint32>> pointers;
    for (const TableState& t : d->tables) {
        const QByteArray used = d->usageMap(t.pages);
        const quint32 a = d->place(maps, nullptr, used, noOwner);
        const quint32 b = d->place(maps, nullptr, QByteArray(5 + kInlineMapBytes, '\0'), noOwner);
        pointers.append({a, b});
    }
    d->flush(maps, noOwner);
    // Table definitions.
    for (qsizetype i = 0; i < d->tables.size(); ++i) {
        const TableState& t = d->tables[i];
        QByteArray def = d->definition(t);
        if (def.size() > f.pageSize) return d->fail(QStringLiteral("%1: the table definition does not fit a page").arg(t.name));
        const int mapsAt = d->version == Version::Jet3 ? 35 : 55;
        put32(def, mapsAt, pointers[i].first);
        put32(def, mapsAt + 4, pointers[i].second);
        if (d->version == Version::Jet4) put16(def, 2, static_cast<quint16>(f.pageSize - def.size() - 8));
        def.append(f.pageSize - def.size(), '\0');
        d->writePage(t.definitionPage, def);
    }
    // Page 1: an empty data page.
    QByteArray empty(f.pageSize, '\0');
    put8(empty, 0, 0x01);
    put8(empty, 1, 0x01);
    put16(empty, 2, static_cast<quint16>(f.pageSize - f.dataHeader));
    d->writePage(1, empty);
    // Page 0: the header.
    QByteArray header(f.pageSize, '\0');
    put8(header, 1, 0x01);
    std::memcpy(header.data() + 4, "Standard Jet DB", 15);
    put8(header, 0x14, d->version == Version::Jet3 ? 0 : 1);
    put16(header, 0x3C, static_cast<quint16>(d->version == Version::Jet3 ? d->codePage : 0));
    rc4({0xC7, 0xDA, 0x39, 0x6B}, header.data() + 0x18, f.headerMaskLength);
    d->writePage(0, header);
    // Pages reserved but never written (none expected) still take room.
    if (!d->failed && d->file.size() < static_cast<qint64>(d->nextPage) * f.pageSize) d->file.resize(static_cast<qint64>(d->nextPage) * f.pageSize);
    d->file.close();

    d->layout.pageSize = f.pageSize;
    d->layout.pageCount = d->nextPage;
    for (qsizetype i = 1; i < d->tables.size(); ++i) {
        d->layout.definitionPage.insert(d->tables[i].name, d->tables[i].definitionPage);
        d->layout.dataPages.insert(d->tables[i].name, d->tables[i].pages);
    }
    d->layout.catalogPages = d->tables[0].pages;
    return !d->failed;
}

bool writeFile(const QString& path, Version version, const QList<Table>& tables, QString* error, Layout* layout,
               int codePage)
{
    Writer w(version, codePage);
    bool ok = w.begin(path);
    for (const Table& t : tables) {
        const int index = ok ? w.addTable(t.name, t.columns) : -1;
        ok = index >= 0;
        for (const QVariantList& row : t.rows)
            if (ok) ok = w.addRow(index, row);
    }
    ok = ok && w.finish();
    if (error) *error = w.error();
    if (layout) *layout = w.layout();
    return ok;
}

}  // namespace jet
