// Jet files read through libmdb, in the reader process.
//
// Text: libmdb turns text into the character set of its iconv descriptors.
// They are set here to UTF-8 from the code page the file's header names for
// Jet 3 files (code page 932, Shift-JIS with Microsoft's additions, when it
// names none or one iconv does not know) and from UCS-2 for Jet 4 files;
// libmdb's own choice would follow the environment (MDBICONV,
// MDB_JET3_CHARSET). Numbers, money and dates are taken from the row's
// bytes, not from libmdb's printed text, so money stays exact (a whole
// number of ten-thousandths), dates keep their milliseconds, and the C
// library's locale plays no part.

#include "platform/JetReader.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#if !MDBTOOLS_H_HAVE_ICONV_H
#error "libmdb built without iconv: Jet 3 text could not be read by its code page"
#endif

// ---------------------------------------------------------------------------
// The file under libmdb: every page it reads must lie wholly inside the file.
// libmdb reads a page at the very end of the file as zeros without a word,
// so its stream is replaced by one that notes such a read.

struct JetPageStream {
    int fd = -1;
    off64_t position = 0;
    off64_t size = 0;
    bool pastEnd = false;
};

namespace {

// Room for one text value: a memo of Access's 65,535 characters takes up to
// three bytes each in UTF-8. A value that fills it is refused, not cut.
constexpr size_t kBindSize = 256 * 1024;

// The iconv name of the code page a Jet 3 file's header names.
QByteArray jet3Charset(unsigned codePage)
{
    if (codePage == 0 || codePage == 932) return QByteArrayLiteral("CP932");
    const QByteArray name = "CP" + QByteArray::number(codePage);
    const iconv_t probe = iconv_open("UTF-8", name.constData());
    if (probe == reinterpret_cast<iconv_t>(-1)) return QByteArrayLiteral("CP932");
    iconv_close(probe);
    return name;
}

bool useUtf8Text(MdbHandle* mdb)
{
    const QByteArray source = mdb->f->jet_version == MDB_VER_JET3 ? jet3Charset(mdb->f->code_page)
                                                                  : QByteArrayLiteral("UCS-2LE");
    const iconv_t in = iconv_open("UTF-8", source.constData());
    const iconv_t out = iconv_open(source.constData(), "UTF-8");
    const iconv_t bad = reinterpret_cast<iconv_t>(-1);
    if (in == bad || out == bad) {
        if (in != bad) iconv_close(in);
        if (out != bad) iconv_close(out);
        return false;
    }
    if (mdb->iconv_in && mdb->iconv_in != bad) iconv_close(mdb->iconv_in);
    if (mdb->iconv_out && mdb->iconv_out != bad) iconv_close(mdb->iconv_out);
    mdb->iconv_in = in;
    mdb->iconv_out = out;
    return true;
}

ssize_t pageRead(void* cookie, char* buffer, size_t size)
{
    auto* s = static_cast<JetPageStream*>(cookie);
    // Reads are whole pages at page offsets (the stream's buffer is a page),
    // and the file a whole number of pages: one from the end on is past it.
    if (size > 0 && s->position >= s->size) s->pastEnd = true;
    const ssize_t n = pread(s->fd, buffer, size, s->position);
    if (n > 0) s->position += n;
    return n;
}

int pageSeek(void* cookie, off64_t* offset, int whence)
{
    auto* s = static_cast<JetPageStream*>(cookie);
    off64_t to = *offset;
    if (whence == SEEK_CUR) to += s->position;
    if (whence == SEEK_END) to += s->size;
    if (to < 0) return -1;
    s->position = to;
    *offset = to;
    return 0;
}

int pageClose(void* cookie)
{
    auto* s = static_cast<JetPageStream*>(cookie);
    const int rc = ::close(s->fd);
    delete s;
    return rc;
}

// The stream libmdb reads through from now on; nothing when the file cannot
// be opened again.
JetPageStream* replaceStream(MdbHandle* mdb, const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto* s = new JetPageStream{fd, 0, st.st_size, false};
    FILE* stream = fopencookie(s, "r", cookie_io_functions_t{pageRead, nullptr, pageSeek, pageClose});
    if (!stream) {
        pageClose(s);
        return nullptr;
    }
    setvbuf(stream, nullptr, _IOFBF, size_t(mdb->fmt->pg_size));
    fclose(mdb->f->stream);
    mdb->f->stream = stream;
    return s;
}

// A Jet date: days since 1899-12-30; the fraction is the time of day, taken
// without its sign for days before that date. Nothing outside Jet's range
// (the years 100 to 9999).
std::optional<std::pair<qint64, qint32>> jetDateTime(double value)
{
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0) return std::nullopt;
    const double whole = std::trunc(value);
    qint64 ms = std::llround(std::fabs(value - whole) * 86400000.0);
    qint64 day = QDate(1899, 12, 30).toJulianDay() + static_cast<qint64>(whole);
    if (ms >= 86400000) {
        day += 1;
        ms -= 86400000;
    }
    return std::pair<qint64, qint32>(day, static_cast<qint32>(ms));
}

MdbColumn* columnAt(MdbTableDef* def, unsigned i)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
}

QStringList columnNames(MdbTableDef* def)
{
    QStringList names;
    for (unsigned i = 0; i < def->num_cols; ++i) names.append(QString::fromUtf8(columnAt(def, i)->name));
    return names;
}

QString rowCountText(const QString& table, unsigned recorded, quint32 read)
{
    return QStringLiteral("テーブル「%1」の行数が定義の %2 行と合いません（読めたのは %3 行）").arg(table).arg(recorded).arg(read);
}

}  // namespace

JetReader::~JetReader()
{
    if (mdb_) mdb_close(mdb_);
}

qint64 JetReader::warningMark() const
{
    struct stat st {};
    return warningFd_ >= 0 && fstat(warningFd_, &st) == 0 ? qint64(st.st_size) : 0;
}

QString JetReader::warningSince(qint64 mark) const
{
    if (warningMark() <= mark) return {};
    QByteArray text(200, '\0');
    const ssize_t n = pread(warningFd_, text.data(), text.size(), mark);
    text.truncate(n > 0 ? n : 0);
    const qsizetype eol = text.indexOf('\n');
    return QString::fromLocal8Bit(eol >= 0 ? text.left(eol) : text).trimmed();
}

bool JetReader::damaged(JetFault& fault, const QString& detail, const QString& libmdbWords) const
{
    fault = {jetproto::Fault::Damaged, {detail}};
    if (!libmdbWords.isEmpty()) fault.args << libmdbWords;
    return false;
}

bool JetReader::open(const QString& path, JetFault& fault)
{
    const QByteArray native = QFile::encodeName(path);
    const qint64 mark = warningMark();
    // MDB_NOFLAGS: libmdb opens the file for reading only.
    mdb_ = mdb_open(native.constData(), MDB_NOFLAGS);
    if (!mdb_) {
        fault = {jetproto::Fault::Unreadable, {QStringLiteral("Jet データベースとして開けません")}};
        return false;
    }
    version_ = mdb_->f->jet_version == MDB_VER_JET3 ? 3 : 4;
    stream_ = replaceStream(mdb_, path);
    const JetPageStream* stream = stream_;
    if (!stream) {
        fault = {jetproto::Fault::Unreadable, {QStringLiteral("ファイルを開けません")}};
        return false;
    }
    if (stream->size % mdb_->fmt->pg_size != 0)
        return damaged(fault, QStringLiteral("ファイルの大きさがページの大きさ（%1 バイト）の整数倍ではありません。"
                                             "途中で切れています")
                                  .arg(mdb_->fmt->pg_size));
    if (!useUtf8Text(mdb_)) {
        fault = {jetproto::Fault::Unreadable, {QStringLiteral("文字コードを変換できません")}};
        return false;
    }
    mdb_set_bind_size(mdb_, kBindSize);
    mdb_set_boolean_fmt_numbers(mdb_);
    return readCatalog(mark, fault);
}

bool JetReader::readCatalog(qint64 mark, JetFault& fault)
{
    // The catalog is the table MSysObjects, its definition on page 2.
    MdbCatalogEntry objects{};
    objects.mdb = mdb_;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    snprintf(objects.object_name, sizeof(objects.object_name), "%s", "MSysObjects");
    MdbTableDef* def = mdb_read_table(&objects);
    if (!def) return damaged(fault, QStringLiteral("テーブルの一覧の定義を読めません"));
    const unsigned recorded = def->num_rows;
    mdb_free_tabledef(def);

    GPtrArray* catalog = mdb_read_catalog(mdb_, MDB_ANY);
    if (!catalog) return damaged(fault, QStringLiteral("テーブルの一覧を読めません"));
    if (catalog->len != recorded)
        return damaged(fault, QStringLiteral("テーブルの一覧の項目数が定義の %1 と合いません（読めたのは %2）")
                                  .arg(recorded)
                                  .arg(catalog->len));
    const QString warning = warningSince(mark);
    if (!warning.isEmpty()) return damaged(fault, QStringLiteral("テーブルの一覧を読むと警告が出ました"), warning);
    if (stream_->pastEnd) return damaged(fault, QStringLiteral("テーブルの一覧がファイルの終わりより先を指しています"));

    for (guint i = 0; i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (!entry || entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) continue;
        const QString name = QString::fromUtf8(entry->object_name);
        tables_.append(name);
        entries_.append(entry);
        // Every table's definition is read once here: one that cannot be read
        // (or makes libmdb warn) fails that table's reads, not the others'.
        const qint64 before = warningMark();
        stream_->pastEnd = false;
        MdbTableDef* table = mdb_read_table(entry);
        const bool columnsRead = table && mdb_read_columns(table) && table->columns && table->columns->len == table->num_cols;
        if (table) mdb_free_tabledef(table);
        if (!columnsRead || !warningSince(before).isEmpty() || stream_->pastEnd) unreadable_.insert(name);
    }
    return true;
}

MdbTableDef* JetReader::openTable(const QString& table, JetFault& fault)
{
    const qsizetype i = tables_.indexOf(table);
    if (i < 0) {
        fault = {jetproto::Fault::NoTable, {table}};
        return nullptr;
    }
    if (unreadable_.contains(table)) {
        damaged(fault, QStringLiteral("テーブル「%1」の定義を読めません").arg(table));
        return nullptr;
    }
    MdbTableDef* def = mdb_read_table(entries_[i]);
    if (!def || !mdb_read_columns(def) || !def->columns || def->columns->len != def->num_cols) {
        if (def) mdb_free_tabledef(def);
        damaged(fault, QStringLiteral("テーブル「%1」の定義を読めません").arg(table));
        return nullptr;
    }
    return def;
}

std::optional<QStringList> JetReader::columns(const QString& table, JetFault& fault)
{
    MdbTableDef* def = openTable(table, fault);
    if (!def) return std::nullopt;
    QStringList names = columnNames(def);
    mdb_free_tabledef(def);
    return names;
}

bool JetReader::read(const QString& table, JetRowSink& sink, quint32& rowsRead, JetFault& fault)
{
    rowsRead = 0;
    const qint64 mark = warningMark();
    stream_->pastEnd = false;
    MdbTableDef* def = openTable(table, fault);
    if (!def) return false;
    const auto finish = [&](bool ok) {
        mdb_free_tabledef(def);
        return ok;
    };
    const QStringList names = columnNames(def);
    const unsigned n = def->num_cols;
    std::vector<QByteArray> bound(n, QByteArray(static_cast<qsizetype>(kBindSize), '\0'));
    std::vector<int> length(n, 0);
    for (unsigned i = 0; i < n; ++i) {
        if (mdb_bind_column(def, static_cast<int>(i) + 1, bound[i].data(), &length[i]) < 0)
            return finish(damaged(fault, QStringLiteral("テーブル「%1」の列「%2」を読めません").arg(table, names[i])));
    }
    // libmdb's warnings and pages past the end, checked after every row.
    const auto warned = [&] {
        if (stream_->pastEnd)
            return !damaged(fault, QStringLiteral("テーブル「%1」の %2 行目の辺りでファイルの終わりより先のページを指しています")
                                       .arg(table)
                                       .arg(rowsRead + 1));
        const QString warning = warningSince(mark);
        return warning.isEmpty() ? false
                                 : !damaged(fault,
                                            QStringLiteral("テーブル「%1」の %2 行目の辺りで警告が出ました").arg(table).arg(rowsRead + 1),
                                            warning);
    };
    const unsigned recorded = def->num_rows;
    mdb_rewind_table(def);
    while (mdb_fetch_row(def)) {
        if (warned()) return finish(false);
        if (rowsRead >= recorded) return finish(damaged(fault, rowCountText(table, recorded, rowsRead + 1)));
        ++rowsRead;
        for (unsigned i = 0; i < n; ++i) {
            MdbColumn* col = columnAt(def, i);
            const unsigned char* row = mdb_->pg_buf;
            const int at = col->cur_value_start;
            const char* text = bound[i].constData();
            // Yes/no lives in the null mask: never Null.
            if (col->col_type == MDB_BOOL) {
                sink.boolean(text[0] == '1');
                continue;
            }
            if (col->cur_value_len <= 0) {  // Null (or an empty text)
                sink.null();
                continue;
            }
            switch (col->col_type) {
            case MDB_BYTE:
                sink.integer(mdb_get_byte(mdb_->pg_buf, at));
                break;
            case MDB_INT:
                sink.integer(static_cast<int16_t>(mdb_get_int16(mdb_->pg_buf, at)));
                break;
            case MDB_LONGINT:
            case MDB_COMPLEX:
                sink.integer(static_cast<int32_t>(mdb_get_int32(mdb_->pg_buf, at)));
                break;
            case MDB_FLOAT:
                sink.real(static_cast<double>(mdb_get_single(mdb_->pg_buf, at)));
                break;
            case MDB_DOUBLE:
                sink.real(mdb_get_double(mdb_->pg_buf, at));
                break;
            case MDB_MONEY: {
                const auto low = static_cast<uint32_t>(mdb_get_int32(mdb_->pg_buf, at));
                const auto high = static_cast<int32_t>(mdb_get_int32(mdb_->pg_buf, at + 4));
                sink.money(static_cast<qint64>((static_cast<uint64_t>(static_cast<int64_t>(high)) << 32) | low));
                break;
            }
            case MDB_DATETIME: {
                const auto dt = jetDateTime(mdb_get_double(mdb_->pg_buf, at));
                if (!dt) {
                    fault = {jetproto::Fault::BadDate, {table, names[i], QString::number(rowsRead)}};
                    return finish(false);
                }
                sink.dateTime(dt->first, dt->second);
                break;
            }
            case MDB_NUMERIC: {
                bool ok = false;
                const double d = QString::fromLatin1(text, length[i]).toDouble(&ok);
                if (!ok) {
                    fault = {jetproto::Fault::BadValue, {table, names[i], QString::fromLatin1(text, qMin(length[i], 40))}};
                    return finish(false);
                }
                sink.real(d);
                break;
            }
            case MDB_TEXT:
            case MDB_MEMO:
            case MDB_REPID:
                if (static_cast<size_t>(length[i]) >= kBindSize - 1) {  // would be cut
                    fault = {jetproto::Fault::BadValue, {table, names[i], QString::fromUtf8(text, 40) + QStringLiteral("…")}};
                    return finish(false);
                }
                if (length[i] == 0)
                    sink.null();
                else
                    sink.text(QString::fromUtf8(text, length[i]));
                break;
            case MDB_BINARY:
                sink.binary(QByteArray(reinterpret_cast<const char*>(row) + at, col->cur_value_len));
                break;
            default:
                // OLE objects and anything newer: not read by this program.
                sink.null();
                break;
            }
        }
        sink.endRow();
    }
    if (warned()) return finish(false);
    if (rowsRead != recorded) return finish(damaged(fault, rowCountText(table, recorded, rowsRead)));
    return finish(true);
}
