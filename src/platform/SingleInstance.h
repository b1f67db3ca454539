#pragma once
// One running instance per user and data folder.
//
// The claim is a lock file (QLockFile) in a folder of the user's own, taken
// before anything else: whoever holds it is the instance. Only the holder
// listens on the local socket beside it, and only the holder ever removes a
// socket file there (one left by a crashed holder), so a live instance's
// socket is never taken away. A lock whose owner process is gone (killed,
// crashed, the machine restarted) is taken over; a lock whose owner still
// runs never is, however old it is.
//
// A later start that finds the lock held knocks on the socket, asks the
// instance to bring its main window forward, and ends without touching
// anything else; when nobody answers within a few seconds it ends all the
// same.
//
// Both files live in /tmp/PrjVelt-<uid>/, a folder only the user may enter;
// their names come from the key. No environment variable (TMPDIR,
// XDG_RUNTIME_DIR) takes part, so starts from different environments meet.

#include "platform/Failure.h"

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Primary,  // this is the instance: it holds the lock and listens
        Running,  // another instance holds the lock; it was asked to come forward
        Failed,   // the claim could not be made (failure() says why)
    };

    // key names the lock and the socket inside folder(); keyFor() gives the
    // program's key of a data folder.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // "PrjVelt-" and a hash of the data folder's canonical path.
    static QString keyFor(const QString& dataFolder);
    // /tmp/PrjVelt-<uid>
    static QString folder();
    QString lockPath() const;
    QString socketPath() const;

    // Takes the lock, or knocks on the instance that holds it. waitMs bounds
    // how long a later start keeps knocking on an instance that holds the
    // lock but does not answer yet.
    Claim claim(int waitMs = 5000);
    const Failure& failure() const { return error_; }

signals:
    // A later start asked this instance to bring its window forward.
    void activationRequested();

private:
    bool knock();
    bool listen();
    void onNewConnection();

    QString key_;
    Failure error_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};
