#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace varenta::main {

// One running copy of the program per user. The first copy holds a lock for its whole life
// (the system releases it when the process ends, however it ends) and listens on a local
// socket; a later copy asks it to come to the front and then ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the lock and the socket, which lie in the user's private runtime folder.
    explicit SingleInstance(const QString& key = DefaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when no other copy runs: this copy now holds the lock and listens.
    bool Acquire();
    // Asks the running copy to come to the front. True when it answered within the time.
    bool AskRunningCopyToRaise(int timeoutMs = 5000);

    QString socketPath() const;
    static QString DefaultKey(); // "varenta-<user id>"
    // The user's private runtime folder (app/Paths), made mode 0700 by Acquire.
    static QString RuntimeFolder();

signals:
    void raiseRequested();

private:
    QString key_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

} // namespace varenta::main
