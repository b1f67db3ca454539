#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "velt.instance")

namespace {

const QByteArray kActivate = "activate\n";

// The folder exists, is a real folder (not a link), belongs to the user and
// lets nobody else in; a folder of ours with looser rights is tightened.
bool ensurePrivateFolder(const QString& path, Failure* error)
{
    const QByteArray native = QFile::encodeName(path);
    const auto systemWords = [&path] { return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))); };
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *error = Failure(QStringLiteral("フォルダ %1 を作成できません。").arg(path), systemWords());
        return false;
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        *error = Failure(QStringLiteral("%1 は利用者自身のフォルダではありません。").arg(path));
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        *error = Failure(QStringLiteral("フォルダ %1 を利用者だけのものにできません。").arg(path), systemWords());
        return false;
    }
    return true;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock, so that whoever takes the lock next
    // finds no live socket of ours.
    if (server_) server_->close();
}

QString SingleInstance::keyFor(const QString& dataFolder)
{
    const QFileInfo info(dataFolder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty()) path = QDir::cleanPath(info.absoluteFilePath());
    return QStringLiteral("PrjVelt-") +
           QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

QString SingleInstance::folder()
{
    return QStringLiteral("/tmp/PrjVelt-%1").arg(static_cast<qulonglong>(::geteuid()));
}

QString SingleInstance::lockPath() const
{
    return folder() + QLatin1Char('/') + key_ + QStringLiteral(".lock");
}

QString SingleInstance::socketPath() const
{
    return folder() + QLatin1Char('/') + key_ + QStringLiteral(".socket");
}

SingleInstance::Claim SingleInstance::claim(int waitMs)
{
    if (!ensurePrivateFolder(folder(), &error_)) return Claim::Failed;
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Stale only when the owner process is gone, never by age: an instance
    // may run for weeks.
    lock_->setStaleLockTime(0);
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (lock_->tryLock(0)) {
            listen();
            return Claim::Primary;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            error_ = Failure(lock_->error() == QLockFile::PermissionError
                                 ? QStringLiteral("%1 に書き込む権限がありません。").arg(lockPath())
                                 : QStringLiteral("%1 を作成できません。").arg(lockPath()));
            return Claim::Failed;
        }
        // The holder listens right after taking the lock; until it does (or
        // until it ends and frees the lock), keep trying.
        if (knock()) return Claim::Running;
        if (deadline.hasExpired()) {
            qCWarning(lcInstance).noquote() << "the running instance did not answer on" << socketPath();
            return Claim::Running;
        }
        QThread::msleep(50);
    }
}

bool SingleInstance::knock()
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(200)) return false;
    socket.write(kActivate);
    const bool written = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(500);
    return written;
}

bool SingleInstance::listen()
{
    // Holding the lock, no live instance owns a socket here: a file left at
    // the path is a dead holder's.
    QLocalServer::removeServer(socketPath());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath())) {
        // Still the one instance (the lock says so); later starts just cannot
        // bring it forward.
        qCWarning(lcInstance).noquote() << "cannot listen on" << socketPath() << server_->errorString();
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto handle = [this, s] {
            if (s->canReadLine() && s->readLine() == kActivate) {
                qCDebug(lcInstance) << "activation requested";
                emit activationRequested();
            }
        };
        connect(s, &QLocalSocket::readyRead, this, handle);
        if (s->bytesAvailable() > 0) handle();
    }
}
