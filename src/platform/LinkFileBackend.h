#pragma once
// The readers behind LinkFile, one per file format. Only LinkFile uses them.

#include "platform/LinkFile.h"

struct LinkFailure {
    LinkFile::Error error = LinkFile::Error::None;
    QString text;
};

class LinkFileBackend {
public:
    virtual ~LinkFileBackend() = default;
    // The user tables, as the file spells their names.
    virtual QStringList tables() const = 0;
    // Columns of a table named as tables() gives it; nothing on failure.
    virtual std::optional<QStringList> columns(const QString& table, LinkFailure& failure) = 0;
    // Every row of the table in the file's order, its values in the order of
    // `columns`, typed as LinkFile.h describes. False on failure.
    virtual bool read(const QString& table, QStringList& columns, QList<QVariantList>& rows,
                      LinkFailure& failure) = 0;
};

// The user-facing texts of the failures, shared by the backends.
namespace linkmsg {
QString notFound(const QString& path);
QString notADatabase(const QString& path);
QString unreadable(const QString& path, const QString& detail);
QString noTable(const QString& table);
QString noColumn(const QString& table, const QString& column);
QString badValue(const QString& table, const QString& column, const QString& value);
}  // namespace linkmsg

// Opens a Jet file through libmdb. Sets format to Jet3 or Jet4; nothing
// (with failure) when the file cannot be read as a Jet database.
std::unique_ptr<LinkFileBackend> openJetLinkFile(const QString& path, LinkFile::Format& format,
                                                 LinkFailure& failure);
