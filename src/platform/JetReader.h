#pragma once
// Reads a Jet file (.mdb of Access 97 = Jet 3, Access 2000 = Jet 4) through
// libmdb (mdbtools), read-only. Runs only in the reader process
// velt_jet_reader, never in the program: libmdb can loop forever or read
// past the end of a page of a damaged file.
//
// Damage is a failure, never a short read. The file is taken as damaged when
// - its size is not a whole number of pages, or libmdb asks for a page
//   beyond its end;
// - libmdb writes anything to the standard error while it reads (its only
//   way of saying that something did not fit): the reader's standard error
//   is a file whose growth it watches;
// - the catalog holds another number of entries than its table definition
//   records, or a table's rows another number than its definition records;
// - a user table's definition or columns cannot be read (that table only).

#include "platform/JetReaderProtocol.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

#include <mdbtools.h>

struct JetPageStream;

struct JetFault {
    jetproto::Fault fault = jetproto::Fault::Unreadable;
    QStringList args;
};

// Takes the values of the rows as they are read, in the columns' order.
class JetRowSink {
public:
    virtual ~JetRowSink() = default;
    virtual void null() = 0;
    virtual void boolean(bool value) = 0;
    virtual void integer(qint64 value) = 0;
    virtual void real(double value) = 0;
    virtual void money(qint64 tenThousandths) = 0;
    virtual void dateTime(qint64 julianDay, qint32 msecsOfDay) = 0;
    virtual void text(const QString& value) = 0;
    virtual void binary(const QByteArray& value) = 0;
    // After the last value of a row.
    virtual void endRow() = 0;
};

class JetReader {
public:
    // warningFd: the file libmdb's standard error goes to (-1: not watched).
    explicit JetReader(int warningFd) : warningFd_(warningFd) {}
    ~JetReader();
    JetReader(const JetReader&) = delete;
    JetReader& operator=(const JetReader&) = delete;

    // Opens the file and reads its catalog. False with the fault when it
    // cannot be read as a Jet database or is damaged.
    bool open(const QString& path, JetFault& fault);
    int version() const { return version_; }  // 3 or 4
    // The user tables as the file spells them.
    const QStringList& tables() const { return tables_; }

    std::optional<QStringList> columns(const QString& table, JetFault& fault);
    // Every row of the table in the file's order. The rows handed over before
    // a failure do not count. `rowsRead` gets their number.
    bool read(const QString& table, JetRowSink& sink, quint32& rowsRead, JetFault& fault);

private:
    qint64 warningMark() const;
    QString warningSince(qint64 mark) const;
    // detail: what was found, in the program's words; libmdbWords: what
    // libmdb warned, when it did.
    bool damaged(JetFault& fault, const QString& detail, const QString& libmdbWords = {}) const;
    bool readCatalog(qint64 mark, JetFault& fault);
    MdbTableDef* openTable(const QString& table, JetFault& fault);

    int warningFd_ = -1;
    MdbHandle* mdb_ = nullptr;
    JetPageStream* stream_ = nullptr;  // the file under libmdb (closed with it)
    int version_ = 0;
    QStringList tables_;
    QList<MdbCatalogEntry*> entries_;
    QSet<QString> unreadable_;  // tables whose definition cannot be read
};
