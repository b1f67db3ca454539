#pragma once
// One running instance per user. The first start listens on a local socket;
// a later start finds it, asks it to bring its main window forward, and ends
// without touching anything else.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key names the channel; defaultKey() is per user.
    explicit SingleInstance(const QString& key = defaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultKey();

    // True: no other instance runs; this one now listens and will emit
    // activationRequested() when a later start knocks.
    // False: another instance runs and has been asked to come forward.
    bool tryBecomePrimary();

signals:
    void activationRequested();

private:
    bool notifyRunning();
    void onNewConnection();

    QString key_;
    QLocalServer* server_ = nullptr;
};
