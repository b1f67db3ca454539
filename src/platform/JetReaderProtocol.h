#pragma once
// What the program and its Jet reader process (velt_jet_reader) say to each
// other over the reader's standard input and output.
//
// Every message is a frame: a 32-bit length (big-endian) and that many bytes,
// read with QDataStream (Qt 6.4 format). The first byte of a frame is its kind.
//
// The program starts "velt_jet_reader <file>". The reader opens the file and
// answers with Opened (its format and user tables) or Failure, then takes
// requests on its standard input until that closes:
//   Columns <table>  → Columns <names> | Failure
//   Read <table>     → Columns <names>, Rows..., End <count> | Failure
// A Failure may also come after some Rows: the rows before it do not count.
// The reader writes nothing else to its standard output.

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace jetproto {

constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// The reader's exit code when libmdb kept writing warnings (a loop over a
// damaged catalog).
constexpr int kExitWarningFlood = 3;
// A frame larger than this is no frame of ours: the stream is broken.
constexpr quint32 kMaxFrame = 64u * 1024u * 1024u;

enum class Frame : quint8 {
    // reader → program
    Opened = 1,    // qint32 Jet version (3 or 4), QStringList tables
    Columns = 2,   // QStringList column names
    Rows = 3,      // quint32 count, then count rows of values (Tag + payload each)
    End = 4,       // quint32 rows read
    Failure = 5,   // Fault, QStringList arguments
    // program → reader
    AskColumns = 10,  // QString table
    AskRead = 11,     // QString table
};

// Why a request failed, with the arguments each kind carries.
enum class Fault : quint8 {
    Unreadable = 1,  // detail: the file cannot be read as a Jet database
    Damaged = 2,     // detail: what the reader found damaged, in the program's words;
                     // then, when libmdb warned, its own words
    NoTable = 3,     // table
    BadValue = 4,    // table, column, value as text
    BadDate = 5,     // table, column, row number (from 1, in the file's order)
};

// The kind of one value in a row.
enum class Tag : quint8 {
    Null = 0,
    Bool = 1,      // bool
    Integer = 2,   // qint64
    Real = 3,      // double
    Money = 4,     // qint64 ten-thousandths
    DateTime = 5,  // qint64 Julian day, qint32 milliseconds of the day
    Text = 6,      // QString
    Binary = 7,    // QByteArray
};

// Starts a frame of the given kind in `buffer`; finishFrame writes its length.
inline qsizetype beginFrame(QByteArray& buffer, QDataStream& out, Frame kind)
{
    const qsizetype at = buffer.size();
    out << quint32(0) << quint8(kind);
    return at;
}

inline void finishFrame(QByteArray& buffer, qsizetype at)
{
    const quint32 length = quint32(buffer.size() - at - 4);
    qToBigEndian(length, buffer.data() + at);
}

// A whole frame of one kind and its arguments.
template <typename... Args>
QByteArray frame(Frame kind, const Args&... args)
{
    QByteArray buffer;
    QDataStream out(&buffer, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    const qsizetype at = beginFrame(buffer, out, kind);
    (out << ... << args);
    finishFrame(buffer, at);
    return buffer;
}

// The length of the first frame in `data` from `offset` once it is whole;
// -1 while more bytes are needed, -2 when the length is no frame of ours.
inline qint64 wholeFrame(const QByteArray& data, qsizetype offset)
{
    if (data.size() - offset < 4) return -1;
    const quint32 length = qFromBigEndian<quint32>(data.constData() + offset);
    if (length == 0 || length > kMaxFrame) return -2;
    return data.size() - offset - 4 >= qsizetype(length) ? qint64(length) : -1;
}

}  // namespace jetproto
