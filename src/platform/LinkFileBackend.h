#pragma once
// The readers behind LinkFile, one per file format. Only LinkFile uses them.

#include "platform/Failure.h"
#include "platform/LinkFile.h"

#include <functional>

class QDataStream;

struct LinkFailure {
    LinkFile::Error error = LinkFile::Error::None;
    Failure failure;
};

class LinkFileBackend {
public:
    enum class Read {
        Done,
        Stopped,      // by `row`
        Failed,       // failure set; rows handed over before it do not count
        Unavailable,  // (readOrdered) not read, before any row and without a failure
    };
    using RowHandler = std::function<bool(LinkCursor&)>;

    virtual ~LinkFileBackend() = default;
    // The user tables, as the file spells their names.
    virtual QStringList tables() const = 0;
    // Columns of a table named as tables() gives it; nothing on failure.
    virtual std::optional<QStringList> columns(const QString& table, LinkFailure& failure) = 0;
    // Every row of the table in the file's order, each to `row` on a cursor
    // standing on it (false stops the read). A value the cursor finds not to
    // fit its column's kind fails the read with BadValue once `row` returns.
    virtual Read readEach(const QString& table, const RowHandler& row, LinkFailure& failure) = 0;
    // The same, ordered by the columns at `order` as LinkFile::rows() orders
    // them (rows that compare equal in the file's order), kept as `way`
    // asks (LinkFile::Order). Unavailable when this reader cannot give that
    // order so: LinkFile then orders the table in memory, or (Preferred)
    // reads it in the file's order.
    virtual Read readOrdered(const QString& table, const QList<qsizetype>& order, LinkFile::Order way,
                             const RowHandler& row, LinkFailure& failure) = 0;
};

// A cursor over rows held in memory, their values read already.
class HeldCursor final : public LinkCursor {
public:
    explicit HeldCursor(const QStringList& columns) : LinkCursor(columns) { current_.header_ = header_; }
    explicit HeldCursor(const LinkRow& like) : LinkCursor(like.header_) { current_.header_ = header_; }

    void standOn(QVariantList&& values) { current_.values_ = std::move(values); }
    void standOn(const LinkRow& row) { current_.values_ = row.values_; }

    std::optional<QVariant> value(qsizetype i) override { return current_.value(i); }
    std::optional<LinkRow> row() override { return current_; }
    bool held() const override { return true; }

private:
    LinkRow current_;
};

// The failures, shared by the backends: the program's words naming the file,
// the table or the value, and the engine's words apart from them.
namespace linkmsg {
Failure notFound(const QString& path);
Failure notADatabase(const QString& path);
// detail: why, in the program's words.
Failure unreadable(const QString& path, const QString& detail);
// why: what the engine said (SQLite's reason and words, the system's words).
Failure unreadable(const QString& path, const Failure& why);
// detail: what was found damaged, in the program's words; engineWords: what
// libmdb or the system said about it, when anything.
Failure damaged(const QString& path, const QString& detail, const QString& engineWords = {});
Failure noTable(const QString& table);
Failure noColumn(const QString& table, const QString& column);
Failure badValue(const QString& table, const QString& column, const QString& value);
Failure badDate(const QString& table, const QString& column, const QString& row);
}  // namespace linkmsg

// Opens an SQLite file read-only (LinkFileSqlite.cpp); nothing (with
// failure) when it cannot be opened or its list of tables cannot be read.
std::unique_ptr<LinkFileBackend> openSqliteLinkFile(const QString& path, LinkFailure& failure);

// Opens a Jet file through the reader process velt_jet_reader (beside the
// program, or named by the environment variable VELT_JET_READER). Sets
// format to Jet3 or Jet4; nothing (with failure) when the file cannot be read
// as a Jet database, is damaged, or the reader cannot run.
std::unique_ptr<LinkFileBackend> openJetLinkFile(const QString& path, const LinkFile::ReaderLimits& limits,
                                                 LinkFile::Format& format, LinkFailure& failure);

// A table of `file` (at `path`) read whole into a temporary SQLite file on
// disk, then handed over in the order of the columns at `order` as
// LinkFile::rows() orders them (LinkFileScratch.cpp): the file's readEach
// reads it (in the file's order) into the temporary file, and only once it
// has read the whole table without a failure are the rows handed to `row`.
// Unavailable, before any row is handed over and without a failure, when a
// value cannot be ordered there as rows() orders it or the temporary file
// cannot be used.
LinkFileBackend::Read readOrderedOnDisk(LinkFileBackend& file, const QString& path, const QString& table,
                                        const QList<qsizetype>& order, const LinkFileBackend::RowHandler& row,
                                        LinkFailure& failure);

// The order of two values in LinkFile::rows(): Null first, then numbers
// (Currency among them), dates, texts in Japanese order, bytes.
int CompareLinkValues(const QVariant& a, const QVariant& b);

// One value of a row in the Jet reader's wire form (JetReaderProtocol.h's Tag
// and its payload), which also keeps the rows of an ordered read on disk.
// readLinkValue gives nothing for an unknown tag; writeLinkValue false for a
// value of no Tag (only those the Jet reader hands over have one).
std::optional<QVariant> readLinkValue(QDataStream& in);
bool writeLinkValue(QDataStream& out, const QVariant& value);
