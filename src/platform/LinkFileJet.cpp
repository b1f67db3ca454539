// Jet files (.mdb of Access 97 and 2000) read through libmdb (mdbtools),
// read-only.
//
// Text: libmdb turns text into the character set of its iconv descriptors.
// They are set here to UTF-8 from code page 932 (Shift-JIS) for Jet 3 files,
// which is what the Japanese applications wrote, whatever code page the file
// header names, and from UCS-2 for Jet 4 files; libmdb's own choice would
// follow the environment (MDBICONV, MDB_JET3_CHARSET) and the header.
// Numbers, money and dates are taken from the row's bytes, not from libmdb's
// printed text, so money stays exact (a whole number of ten-thousandths),
// dates keep their milliseconds, and the C library's locale plays no part.

#include "platform/LinkFileBackend.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <vector>

#include <iconv.h>
#include <mdbtools.h>

#if !MDBTOOLS_H_HAVE_ICONV_H
#error "libmdb built without iconv: Jet 3 text could not be read as Shift-JIS"
#endif

namespace {

// Room for one text value: a memo of Access's 65,535 characters takes up to
// three bytes each in UTF-8. A value that fills it is refused, not cut.
constexpr size_t kBindSize = 256 * 1024;

bool useUtf8Text(MdbHandle* mdb)
{
    const char* source = mdb->f->jet_version == MDB_VER_JET3 ? "CP932" : "UCS-2LE";
    const iconv_t in = iconv_open("UTF-8", source);
    const iconv_t out = iconv_open(source, "UTF-8");
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

// A Jet date: days since 1899-12-30; the fraction is the time of day, taken
// without its sign for days before that date.
std::optional<QDateTime> jetDateTime(double value)
{
    // Jet's range: the years 100 to 9999.
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0) return std::nullopt;
    const double whole = std::trunc(value);
    qint64 ms = std::llround(std::fabs(value - whole) * 86400000.0);
    QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
    if (ms >= 86400000) {
        date = date.addDays(1);
        ms -= 86400000;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

class JetLinkFile final : public LinkFileBackend {
public:
    JetLinkFile(MdbHandle* mdb, QString path) : mdb_(mdb), path_(std::move(path)) {}
    ~JetLinkFile() override { mdb_close(mdb_); }

    bool readCatalog(LinkFailure& failure)
    {
        GPtrArray* catalog = mdb_read_catalog(mdb_, MDB_TABLE);
        if (!catalog) return fail(failure, QStringLiteral("テーブルの一覧がありません"));
        for (guint i = 0; i < catalog->len; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
            if (entry && mdb_is_user_table(entry)) {
                tables_.append(QString::fromUtf8(entry->object_name));
                entries_.append(entry);
            }
        }
        return true;
    }

    QStringList tables() const override { return tables_; }

    std::optional<QStringList> columns(const QString& table, LinkFailure& failure) override
    {
        MdbTableDef* def = openTable(table, failure);
        if (!def) return std::nullopt;
        QStringList names = columnNames(def);
        mdb_free_tabledef(def);
        return names;
    }

    bool read(const QString& table, QStringList& columns, QList<QVariantList>& rows, LinkFailure& failure) override
    {
        MdbTableDef* def = openTable(table, failure);
        if (!def) return false;
        columns = columnNames(def);
        const bool ok = readRows(def, table, columns, rows, failure);
        mdb_free_tabledef(def);
        return ok;
    }

private:
    bool fail(LinkFailure& failure, const QString& detail)
    {
        failure = {LinkFile::Error::Unreadable, linkmsg::unreadable(path_, detail)};
        return false;
    }

    MdbTableDef* openTable(const QString& table, LinkFailure& failure)
    {
        const qsizetype i = tables_.indexOf(table);
        if (i < 0) {
            failure = {LinkFile::Error::NoTable, linkmsg::noTable(table)};
            return nullptr;
        }
        MdbTableDef* def = mdb_read_table(entries_[i]);
        if (!def) {
            fail(failure, QStringLiteral("テーブル「%1」の定義が壊れています").arg(table));
            return nullptr;
        }
        if (!mdb_read_columns(def) || !def->columns || def->columns->len != def->num_cols) {
            mdb_free_tabledef(def);
            fail(failure, QStringLiteral("テーブル「%1」の列が読めません").arg(table));
            return nullptr;
        }
        return def;
    }

    static QStringList columnNames(MdbTableDef* def)
    {
        QStringList names;
        for (unsigned i = 0; i < def->num_cols; ++i)
            names.append(QString::fromUtf8(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i))->name));
        return names;
    }

    bool readRows(MdbTableDef* def, const QString& table, const QStringList& columns, QList<QVariantList>& rows,
                  LinkFailure& failure)
    {
        const unsigned n = def->num_cols;
        std::vector<QByteArray> text(n, QByteArray(static_cast<qsizetype>(kBindSize), '\0'));
        std::vector<int> length(n, 0);
        for (unsigned i = 0; i < n; ++i) {
            if (mdb_bind_column(def, static_cast<int>(i) + 1, text[i].data(), &length[i]) < 0)
                return fail(failure, QStringLiteral("テーブル「%1」の列が読めません").arg(table));
        }
        mdb_rewind_table(def);
        while (mdb_fetch_row(def)) {
            QVariantList values;
            values.reserve(n);
            for (unsigned i = 0; i < n; ++i) {
                auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, i));
                const auto v = valueOf(col, text[i].constData(), length[i]);
                if (!v) {
                    const QString shown = QString::fromUtf8(text[i].constData(), qMin(length[i], 40));
                    failure = {LinkFile::Error::BadValue, linkmsg::badValue(table, columns[i], shown)};
                    return false;
                }
                values.append(*v);
            }
            rows.append(std::move(values));
        }
        return true;
    }

    // The value of a column of the row just fetched; nothing when it cannot
    // be read.
    std::optional<QVariant> valueOf(MdbColumn* col, const char* bound, int boundLength) const
    {
        if (col->col_type == MDB_BOOL) return QVariant(bound[0] == '1');  // kept in the null mask: never Null
        if (col->cur_value_len <= 0) return QVariant();                  // Null (or an empty text)
        unsigned char* row = mdb_->pg_buf;
        const int at = col->cur_value_start;
        switch (col->col_type) {
        case MDB_BYTE:
            return QVariant(static_cast<qint64>(mdb_get_byte(row, at)));
        case MDB_INT:
            return QVariant(static_cast<qint64>(static_cast<int16_t>(mdb_get_int16(row, at))));
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return QVariant(static_cast<qint64>(static_cast<int32_t>(mdb_get_int32(row, at))));
        case MDB_FLOAT:
            return QVariant(static_cast<double>(mdb_get_single(row, at)));
        case MDB_DOUBLE:
            return QVariant(mdb_get_double(row, at));
        case MDB_MONEY: {
            const auto low = static_cast<uint32_t>(mdb_get_int32(row, at));
            const auto high = static_cast<int32_t>(mdb_get_int32(row, at + 4));
            return QVariant::fromValue(Currency::fromRaw((static_cast<int64_t>(high) << 32) | low));
        }
        case MDB_DATETIME: {
            const auto dt = jetDateTime(mdb_get_double(row, at));
            return dt ? std::optional<QVariant>(QVariant(*dt)) : std::nullopt;
        }
        case MDB_NUMERIC: {
            bool ok = false;
            const double d = QString::fromLatin1(bound, boundLength).toDouble(&ok);
            return ok ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
        }
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID:
            if (static_cast<size_t>(boundLength) >= kBindSize - 1) return std::nullopt;  // would be cut
            if (boundLength == 0) return QVariant();
            return QVariant(QString::fromUtf8(bound, boundLength));
        case MDB_BINARY:
            return QVariant(QByteArray(reinterpret_cast<const char*>(row) + at, col->cur_value_len));
        default:
            // OLE objects and anything newer: not read by this program.
            return QVariant();
        }
    }

    MdbHandle* mdb_;
    QString path_;
    QStringList tables_;
    QList<MdbCatalogEntry*> entries_;
};

}  // namespace

std::unique_ptr<LinkFileBackend> openJetLinkFile(const QString& path, LinkFile::Format& format, LinkFailure& failure)
{
    const QByteArray native = QFile::encodeName(path);
    // MDB_NOFLAGS: libmdb opens the file for reading only.
    MdbHandle* mdb = mdb_open(native.constData(), MDB_NOFLAGS);
    if (!mdb) {
        failure = {LinkFile::Error::Unreadable, linkmsg::unreadable(path, QStringLiteral("Jet データベースとして開けません"))};
        return nullptr;
    }
    auto file = std::make_unique<JetLinkFile>(mdb, path);
    if (!useUtf8Text(mdb)) {
        failure = {LinkFile::Error::Unreadable, linkmsg::unreadable(path, QStringLiteral("文字コードを変換できません"))};
        return nullptr;
    }
    mdb_set_bind_size(mdb, kBindSize);
    mdb_set_boolean_fmt_numbers(mdb);
    if (!file->readCatalog(failure)) return nullptr;
    format = mdb->f->jet_version == MDB_VER_JET3 ? LinkFile::Format::Jet3 : LinkFile::Format::Jet4;
    return file;
}
