// Jet files (.mdb of Access 97 and 2000), read by the reader process
// velt_jet_reader (JetReaderMain.cpp), never by libmdb in the program's own
// process: libmdb can loop forever, or read past a page, on a damaged file.
//
// One reader runs per open LinkFile and answers its requests over a pipe
// (JetReaderProtocol.h). While the program waits for it, events other than
// user input run, so the windows repaint and their busy label shows. The
// reader is held to limits: no data for ReaderLimits::silenceMs, a crash
// (its memory cap, ReaderLimits::memoryBytes, makes an allocation fail and
// it abort), any exit before its answer, or a flood of libmdb warnings ends
// the read as a damaged file; after that the file gives no more reads.

#include "platform/JetReaderProtocol.h"
#include "platform/LinkFileBackend.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <sys/resource.h>

namespace {

// How long one wait for the reader lasts before events run again.
constexpr int kSliceMs = 30;

QString readerPath()
{
    const QString named = qEnvironmentVariable("VELT_JET_READER");
    if (!named.isEmpty()) return named;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/velt_jet_reader");
}

// A frame from the reader, read as far as its kind.
struct Reply {
    explicit Reply(const QByteArray& frame) : in(frame)
    {
        in.setVersion(jetproto::kStreamVersion);
        quint8 k = 0;
        in >> k;
        kind = jetproto::Frame(k);
    }
    QDataStream in;
    jetproto::Frame kind;
};

class JetProcessLinkFile final : public LinkFileBackend {
public:
    JetProcessLinkFile(const QString& path, const LinkFile::ReaderLimits& limits) : path_(path), limits_(limits) {}
    ~JetProcessLinkFile() override { stop(); }

    bool start(LinkFile::Format& format, LinkFailure& failure)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // libmdb's own settings would change its text or make it print.
        for (const char* name : {"MDBOPTS", "MDBICONV", "MDB_JET3_CHARSET"}) env.remove(QString::fromLatin1(name));
        process_.setProcessEnvironment(env);
        process_.setProgram(readerPath());
        process_.setArguments({QFileInfo(path_).absoluteFilePath()});
        process_.setReadChannel(QProcess::StandardOutput);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.setStandardErrorFile(QProcess::nullDevice());
        const rlim_t memory = rlim_t(limits_.memoryBytes);
        process_.setChildProcessModifier([memory] {
#if !defined(__SANITIZE_ADDRESS__)
            // (AddressSanitizer reserves terabytes of address space for its
            // shadow memory: under it, the sanitizer build's reader runs uncapped.)
            const struct rlimit cap {memory, memory};
            setrlimit(RLIMIT_AS, &cap);
#else
            (void)memory;
#endif
            const struct rlimit noCore {0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
        });
        process_.start(QIODevice::ReadWrite);
        if (!process_.waitForStarted(10000)) {
            failure = {LinkFile::Error::Unreadable,
                       linkmsg::unreadable(path_, Failure(QStringLiteral("読み込み用のプログラム「%1」を起動できません。")
                                                              .arg(QFileInfo(readerPath()).fileName()),
                                                          process_.errorString()))};
            broken_ = failure;
            return false;
        }
        const auto reply = nextReply(failure);
        if (!reply) return false;
        QDataStream& in = reply->in;
        if (reply->kind != jetproto::Frame::Opened) return unexpected(*reply, failure);
        qint32 version = 0;
        in >> version >> tables_;
        if (in.status() != QDataStream::Ok) return brokenStream(failure);
        format = version == 3 ? LinkFile::Format::Jet3 : LinkFile::Format::Jet4;
        return true;
    }

    QStringList tables() const override { return tables_; }

    std::optional<QStringList> columns(const QString& table, LinkFailure& failure) override
    {
        if (!ask(jetproto::Frame::AskColumns, table, failure)) return std::nullopt;
        const auto reply = nextReply(failure);
        if (!reply) return std::nullopt;
        if (reply->kind != jetproto::Frame::Columns) {
            unexpected(*reply, failure);
            return std::nullopt;
        }
        QStringList names;
        reply->in >> names;
        if (reply->in.status() != QDataStream::Ok) {
            brokenStream(failure);
            return std::nullopt;
        }
        return names;
    }

    Read readEach(const QString& table, const RowHandler& row, LinkFailure& failure) override
    {
        std::optional<HeldCursor> cursor;
        bool stopped = false;
        const bool read = readValues(
            table, [&](const QStringList& columns) { cursor.emplace(columns); },
            [&](QVariantList&& values) {
                cursor->standOn(std::move(values));
                stopped = !row(*cursor);
                return !stopped;
            },
            failure);
        return read ? Read::Done : (stopped ? Read::Stopped : Read::Failed);
    }

    // Ordered on disk, through a temporary file: only when the order is
    // required, as it costs a pass through the whole table first.
    Read readOrdered(const QString& table, const QList<qsizetype>& order, LinkFile::Order way, const RowHandler& row,
                     LinkFailure& failure) override
    {
        if (way != LinkFile::Order::Required) return Read::Unavailable;
        return readOrderedOnDisk(*this, path_, table, order, row, failure);
    }

private:
    // Every row of the table in the file's order: first its columns to
    // `header`, then each row's values in their order to `row`, which
    // stops the read by returning false. False on failure (failure set) and
    // when `row` stopped it (failure left as it was).
    bool readValues(const QString& table, const std::function<void(const QStringList&)>& header,
                    const std::function<bool(QVariantList&&)>& row, LinkFailure& failure)
    {
        if (!ask(jetproto::Frame::AskRead, table, failure)) return false;
        qsizetype width = 0;
        quint64 received = 0;
        bool stopped = false;  // by `row`: the rest is read and let go
        for (;;) {
            const auto reply = nextReply(failure);
            if (!reply) return false;
            QDataStream& in = reply->in;
            switch (reply->kind) {
            case jetproto::Frame::Columns: {
                QStringList names;
                in >> names;
                if (in.status() != QDataStream::Ok) return brokenStream(failure);
                width = names.size();
                header(names);
                break;
            }
            case jetproto::Frame::Rows: {
                quint32 count = 0;
                in >> count;
                for (quint32 r = 0; r < count && !stopped; ++r) {
                    QVariantList values;
                    values.reserve(width);
                    for (qsizetype c = 0; c < width; ++c) {
                        auto v = readLinkValue(in);
                        if (!v || in.status() != QDataStream::Ok) return brokenStream(failure);
                        values.append(std::move(*v));
                    }
                    ++received;
                    stopped = !row(std::move(values));
                }
                break;
            }
            case jetproto::Frame::End: {
                quint32 count = 0;
                in >> count;
                if (in.status() != QDataStream::Ok || (!stopped && count != received)) return brokenStream(failure);
                return !stopped;
            }
            default:
                return unexpected(*reply, failure);
            }
        }
    }

    // Sends a request; false when the reader is no longer there.
    bool ask(jetproto::Frame kind, const QString& table, LinkFailure& failure)
    {
        if (broken_) {
            failure = *broken_;
            return false;
        }
        process_.write(jetproto::frame(kind, table));
        if (process_.bytesToWrite() > 0 && !process_.waitForBytesWritten(limits_.silenceMs))
            return ended(failure);
        return true;
    }

    std::unique_ptr<Reply> nextReply(LinkFailure& failure)
    {
        const auto frame = nextFrame(failure);
        return frame ? std::make_unique<Reply>(*frame) : nullptr;
    }

    // The next whole frame from the reader, waiting as long as it makes
    // progress; nothing (failure set, the reader ended) when it does not.
    std::optional<QByteArray> nextFrame(LinkFailure& failure)
    {
        QElapsedTimer silence;
        silence.start();
        for (;;) {
            const QByteArray more = process_.readAllStandardOutput();
            if (!more.isEmpty()) {
                silence.restart();
                if (offset_ > 0 && offset_ == buffer_.size()) {
                    buffer_.clear();
                    offset_ = 0;
                }
                buffer_ += more;
            }
            const qint64 length = jetproto::wholeFrame(buffer_, offset_);
            if (length == -2) {
                brokenStream(failure);
                return std::nullopt;
            }
            if (length > 0) {
                QByteArray frame = buffer_.mid(offset_ + 4, length);
                offset_ += 4 + length;
                if (offset_ > 4 * 1024 * 1024) {
                    buffer_.remove(0, offset_);
                    offset_ = 0;
                }
                return frame;
            }
            if (process_.state() == QProcess::NotRunning && process_.bytesAvailable() == 0) {
                ended(failure);
                return std::nullopt;
            }
            if (silence.elapsed() >= limits_.silenceMs) {
                kill();
                fail(failure, QStringLiteral("%1 秒のあいだ読み込みが進みませんでした").arg(limits_.silenceMs / 1000.0));
                return std::nullopt;
            }
            if (process_.bytesAvailable() == 0) process_.waitForReadyRead(kSliceMs);
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }

    // The reader ended before its answer.
    bool ended(LinkFailure& failure)
    {
        process_.waitForFinished(1000);
        QString detail;
        if (process_.state() != QProcess::NotRunning) {
            kill();
            detail = QStringLiteral("読み込み用のプログラムが応答しません");
        } else if (process_.exitStatus() == QProcess::CrashExit) {
            detail = QStringLiteral("読み込み用のプログラムが異常終了しました。メモリの上限（%1 MB）を超えたか、"
                                    "読めないデータがあります")
                         .arg(limits_.memoryBytes / (1024 * 1024));
        } else if (process_.exitCode() == jetproto::kExitWarningFlood) {
            detail = QStringLiteral("読み込み中に警告が止まらなくなりました");
        } else {
            detail = QStringLiteral("読み込み用のプログラムが途中で終了しました（終了コード %1）").arg(process_.exitCode());
        }
        return fail(failure, detail);
    }

    // A reply other than the one asked for: the reader's failure, or a broken stream.
    bool unexpected(Reply& reply, LinkFailure& failure)
    {
        if (reply.kind != jetproto::Frame::Failure) return brokenStream(failure);
        quint8 fault = 0;
        QStringList args;
        reply.in >> fault >> args;
        if (reply.in.status() != QDataStream::Ok) return brokenStream(failure);
        const QString arg0 = args.value(0), arg1 = args.value(1), arg2 = args.value(2);
        switch (jetproto::Fault(fault)) {
        case jetproto::Fault::Unreadable:
            failure = {LinkFile::Error::Unreadable, linkmsg::unreadable(path_, arg0)};
            break;
        case jetproto::Fault::Damaged:
            failure = {LinkFile::Error::Unreadable, linkmsg::damaged(path_, arg0, arg1)};
            break;
        case jetproto::Fault::NoTable:
            failure = {LinkFile::Error::NoTable, linkmsg::noTable(arg0)};
            break;
        case jetproto::Fault::BadValue:
            failure = {LinkFile::Error::BadValue, linkmsg::badValue(arg0, arg1, arg2)};
            break;
        case jetproto::Fault::BadDate:
            failure = {LinkFile::Error::BadValue, linkmsg::badDate(arg0, arg1, arg2)};
            break;
        default:
            return brokenStream(failure);
        }
        return false;
    }

    bool brokenStream(LinkFailure& failure)
    {
        kill();
        return fail(failure, QStringLiteral("読み込み用のプログラムの応答が読めません"));
    }

    // A failure of the reader itself: every later request fails the same way.
    bool fail(LinkFailure& failure, const QString& detail)
    {
        failure = {LinkFile::Error::Unreadable, linkmsg::damaged(path_, detail)};
        broken_ = failure;
        return false;
    }

    // Ends the reader: at its prompt it ends by itself when its input closes.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(500)) kill();
    }

    void kill()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(2000);
    }

    QProcess process_;
    QByteArray buffer_;
    qsizetype offset_ = 0;
    QString path_;
    LinkFile::ReaderLimits limits_;
    QStringList tables_;
    std::optional<LinkFailure> broken_;
};

}  // namespace

std::optional<QVariant> readLinkValue(QDataStream& in)
{
    quint8 tag = 0;
    in >> tag;
    switch (jetproto::Tag(tag)) {
    case jetproto::Tag::Null:
        return QVariant();
    case jetproto::Tag::Bool: {
        bool b = false;
        in >> b;
        return QVariant(b);
    }
    case jetproto::Tag::Integer: {
        qint64 n = 0;
        in >> n;
        return QVariant(n);
    }
    case jetproto::Tag::Real: {
        double d = 0;
        in >> d;
        return QVariant(d);
    }
    case jetproto::Tag::Money: {
        qint64 raw = 0;
        in >> raw;
        return QVariant::fromValue(Currency::fromRaw(raw));
    }
    case jetproto::Tag::DateTime: {
        qint64 day = 0;
        qint32 ms = 0;
        in >> day >> ms;
        // Rows read in order often repeat a date (the lines of one
        // quotation), and making a local date and time costs a time-zone
        // look-up: the last one made is kept.
        thread_local std::pair<qint64, qint32> lastRead{0, -1};
        thread_local QDateTime lastMade;
        if (lastRead != std::pair{day, ms}) {
            lastMade = QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(ms));
            lastRead = {day, ms};
        }
        return QVariant(lastMade);
    }
    case jetproto::Tag::Text: {
        QString s;
        in >> s;
        return QVariant(s);
    }
    case jetproto::Tag::Binary: {
        QByteArray b;
        in >> b;
        return QVariant(b);
    }
    }
    return std::nullopt;
}

bool writeLinkValue(QDataStream& out, const QVariant& value)
{
    const auto put = [&](jetproto::Tag tag, const auto&... payload) {
        ((out << quint8(tag)) << ... << payload);
        return true;
    };
    if (!value.isValid()) return put(jetproto::Tag::Null);
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return put(jetproto::Tag::Bool, value.toBool());
    case QMetaType::LongLong:
        return put(jetproto::Tag::Integer, value.toLongLong());
    case QMetaType::Double:
        return put(jetproto::Tag::Real, value.toDouble());
    case QMetaType::QDateTime: {
        // As readLinkValue makes it again: a local date and time.
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid() || dt.timeSpec() != Qt::LocalTime) return false;
        return put(jetproto::Tag::DateTime, qint64(dt.date().toJulianDay()), qint32(dt.time().msecsSinceStartOfDay()));
    }
    case QMetaType::QString:
        return put(jetproto::Tag::Text, value.toString());
    case QMetaType::QByteArray:
        return put(jetproto::Tag::Binary, value.toByteArray());
    default:
        return value.metaType() == QMetaType::fromType<Currency>() &&
               put(jetproto::Tag::Money, qint64(value.value<Currency>().raw()));
    }
}

std::unique_ptr<LinkFileBackend> openJetLinkFile(const QString& path, const LinkFile::ReaderLimits& limits,
                                                 LinkFile::Format& format, LinkFailure& failure)
{
    auto file = std::make_unique<JetProcessLinkFile>(path, limits);
    if (!file->start(format, failure)) return nullptr;
    return file;
}
