#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "velt.instance")

namespace {
const QByteArray kActivate = "activate\n";
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultKey()
{
    return QStringLiteral("PrjVelt-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool SingleInstance::notifyRunning()
{
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(500)) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(500);
    return true;
}

bool SingleInstance::tryBecomePrimary()
{
    if (notifyRunning()) return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_)) {
        // A socket file left by a crashed instance: nobody answered above, so remove it.
        QLocalServer::removeServer(key_);
        if (!server_->listen(key_)) {
            qCWarning(lcInstance) << "cannot listen on" << key_ << server_->errorString();
            // Run anyway: refusing to start helps nobody.
            return true;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto handle = [this, s] {
            if (s->canReadLine() && s->readLine() == kActivate) emit activationRequested();
        };
        connect(s, &QLocalSocket::readyRead, this, handle);
        if (s->bytesAvailable() > 0) handle();
    }
}
