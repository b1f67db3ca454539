// velt_jet_reader <file>: reads a Jet file for the program, which starts it
// beside itself and talks to it as JetReaderProtocol.h describes.
//
// The program gives it limits (a time without progress, a memory cap, no
// core file) and ends it when it oversteps them. Here:
// - libmdb's standard error goes to a file of its own, which JetReader
//   watches for warnings; when libmdb writes more than kWarningCap to it
//   (it can loop forever warning about a damaged catalog), the reader ends
//   at once with jetproto::kExitWarningFlood.
// - The environment variable VELT_JET_READER_FAULT makes it misbehave the
//   way a damaged file could, for the tests of the program's limits:
//   "hang" (waits forever), "allocate" (asks for more and more memory and
//   aborts when refused), "crash" (aborts), "flood" (warns without end),
//   "exit" (ends with code 7 before answering).

#include "platform/JetReader.h"
#include "platform/JetReaderProtocol.h"

#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr rlim_t kWarningCap = 1024 * 1024;
// A Rows frame is sent once it holds this much, or after kFlushMs.
constexpr qsizetype kFrameBytes = 256 * 1024;
constexpr qint64 kFlushMs = 1000;

void writeAll(const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) _exit(1);  // the program is gone
        p += n;
        left -= n;
    }
}

bool readAll(char* p, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(STDIN_FILENO, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

// The next request: its kind and table; nothing when the program closed the
// channel (or sent something that is no request).
std::optional<std::pair<jetproto::Frame, QString>> nextRequest()
{
    char head[4];
    if (!readAll(head, 4)) return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(head);
    if (length == 0 || length > jetproto::kMaxFrame) return std::nullopt;
    QByteArray body(qsizetype(length), '\0');
    if (!readAll(body.data(), length)) return std::nullopt;
    QDataStream in(body);
    in.setVersion(jetproto::kStreamVersion);
    quint8 kind = 0;
    QString table;
    in >> kind >> table;
    if (in.status() != QDataStream::Ok) return std::nullopt;
    return std::pair{jetproto::Frame(kind), table};
}

void sendFault(const JetFault& fault)
{
    writeAll(jetproto::frame(jetproto::Frame::Failure, quint8(fault.fault), fault.args));
}

// Rows gathered into Rows frames.
class FrameSink final : public JetRowSink {
public:
    FrameSink() { begin(); }
    void null() override { *out_ << quint8(jetproto::Tag::Null); }
    void boolean(bool value) override { *out_ << quint8(jetproto::Tag::Bool) << value; }
    void integer(qint64 value) override { *out_ << quint8(jetproto::Tag::Integer) << value; }
    void real(double value) override { *out_ << quint8(jetproto::Tag::Real) << value; }
    void money(qint64 value) override { *out_ << quint8(jetproto::Tag::Money) << value; }
    void dateTime(qint64 julianDay, qint32 msecs) override
    {
        *out_ << quint8(jetproto::Tag::DateTime) << julianDay << msecs;
    }
    void text(const QString& value) override { *out_ << quint8(jetproto::Tag::Text) << value; }
    void binary(const QByteArray& value) override { *out_ << quint8(jetproto::Tag::Binary) << value; }
    void endRow() override
    {
        ++count_;
        if (buffer_.size() >= kFrameBytes || sinceFlush_.elapsed() >= kFlushMs) flush();
    }
    // Sends the rows gathered so far.
    void flush()
    {
        if (count_ > 0) {
            qToBigEndian(count_, buffer_.data() + start_ + 5);
            jetproto::finishFrame(buffer_, start_);
            writeAll(buffer_);
        }
        begin();
    }

private:
    void begin()
    {
        out_.reset();
        buffer_.clear();
        out_ = std::make_unique<QDataStream>(&buffer_, QIODevice::WriteOnly);
        out_->setVersion(jetproto::kStreamVersion);
        start_ = jetproto::beginFrame(buffer_, *out_, jetproto::Frame::Rows);
        *out_ << quint32(0);  // the count, written at the flush
        count_ = 0;
        sinceFlush_.start();
    }

    QByteArray buffer_;
    std::unique_ptr<QDataStream> out_;
    qsizetype start_ = 0;
    quint32 count_ = 0;
    QElapsedTimer sinceFlush_;
};

void onWarningFlood(int)
{
    _exit(jetproto::kExitWarningFlood);
}

// Sends libmdb's standard error to a file of its own; its descriptor, or -1.
int captureWarnings()
{
    const int fd = memfd_create("velt-jet-reader-warnings", MFD_CLOEXEC);
    if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) return -1;
    ::close(fd);
    // Writing past the cap raises SIGXFSZ: a flood of warnings ends the reader.
    std::signal(SIGXFSZ, onWarningFlood);
    const struct rlimit cap {kWarningCap, kWarningCap};
    setrlimit(RLIMIT_FSIZE, &cap);
    return STDERR_FILENO;
}

void misbehaveWhenAsked()
{
    const QByteArray fault = qgetenv("VELT_JET_READER_FAULT");
    if (fault.isEmpty()) return;
    if (fault == "hang") {
        for (;;) pause();
    } else if (fault == "allocate") {
        std::vector<void*> blocks;
        for (int i = 0; i < 256; ++i) {  // 16 GB of address space at most, none of it touched
            void* block = std::malloc(64u * 1024u * 1024u);
            if (!block) std::abort();
            blocks.push_back(block);
        }
        for (;;) pause();  // not refused: left to the program's time limit
    } else if (fault == "crash") {
        std::abort();
    } else if (fault == "flood") {
        for (;;) std::fputs("warning: the same damaged page again\n", stderr);
    } else if (fault == "exit") {
        _exit(7);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: velt_jet_reader <file>\n", stderr);
        return 2;
    }
    std::signal(SIGPIPE, SIG_DFL);
    const int warnings = captureWarnings();
    misbehaveWhenAsked();

    JetReader reader(warnings);
    JetFault fault;
    if (!reader.open(QString::fromLocal8Bit(argv[1]), fault)) {
        sendFault(fault);
        return 1;
    }
    writeAll(jetproto::frame(jetproto::Frame::Opened, qint32(reader.version()), reader.tables()));

    while (const auto request = nextRequest()) {
        const QString& table = request->second;
        switch (request->first) {
        case jetproto::Frame::AskColumns:
            if (const auto columns = reader.columns(table, fault))
                writeAll(jetproto::frame(jetproto::Frame::Columns, *columns));
            else
                sendFault(fault);
            break;
        case jetproto::Frame::AskRead: {
            const auto columns = reader.columns(table, fault);
            if (!columns) {
                sendFault(fault);
                break;
            }
            writeAll(jetproto::frame(jetproto::Frame::Columns, *columns));
            FrameSink sink;
            quint32 rows = 0;
            if (reader.read(table, sink, rows, fault)) {
                sink.flush();
                writeAll(jetproto::frame(jetproto::Frame::End, rows));
            } else {
                sendFault(fault);
            }
            break;
        }
        default:
            return 2;
        }
    }
    return 0;
}
