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
    virtual ~LinkFileBackend() = default;
    // The user tables, as the file spells their names.
    virtual QStringList tables() const = 0;
    // Columns of a table named as tables() gives it; nothing on failure.
    virtual std::optional<QStringList> columns(const QString& table, LinkFailure& failure) = 0;
    // Every row of the table in the file's order: first its columns to
    // `header`, then each row's values in their order, typed as LinkFile.h
    // describes, to `row`, which stops the read by returning false. False on
    // failure (failure set; rows handed over before it do not count) and
    // when `row` stopped it (failure left as it was).
    virtual bool readEach(const QString& table, const std::function<void(const QStringList&)>& header,
                          const std::function<bool(QVariantList&&)>& row, LinkFailure& failure) = 0;

    // The whole table at once.
    bool read(const QString& table, QStringList& columns, QList<QVariantList>& rows, LinkFailure& failure)
    {
        return readEach(
            table, [&](const QStringList& c) { columns = c; },
            [&](QVariantList&& values) {
                rows.append(std::move(values));
                return true;
            },
            failure);
    }
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

// Opens a Jet file through the reader process velt_jet_reader (beside the
// program, or named by the environment variable VELT_JET_READER). Sets
// format to Jet3 or Jet4; nothing (with failure) when the file cannot be read
// as a Jet database, is damaged, or the reader cannot run.
std::unique_ptr<LinkFileBackend> openJetLinkFile(const QString& path, const LinkFile::ReaderLimits& limits,
                                                 LinkFile::Format& format, LinkFailure& failure);

// One value of a row in the Jet reader's wire form (JetReaderProtocol.h's Tag
// and its payload), which also keeps the rows of an ordered read on disk.
// readLinkValue gives nothing for an unknown tag; writeLinkValue false for a
// value of no Tag (only those the Jet reader hands over have one).
std::optional<QVariant> readLinkValue(QDataStream& in);
bool writeLinkValue(QDataStream& out, const QVariant& value);
