#include "main/SingleInstance.h"

#include "app/Errors.h"
#include "app/Paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace varenta::main {

namespace {
const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");
const QByteArray RaiseAnswer = QByteArrayLiteral("ok\n");
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString SingleInstance::DefaultKey() {
    return QStringLiteral("varenta-%1").arg(::getuid());
}

QString SingleInstance::RuntimeFolder() {
    return paths::PrivateRuntimeFolder();
}

QString SingleInstance::socketPath() const {
    return RuntimeFolder() + QLatin1Char('/') + key_;
}

bool SingleInstance::Acquire() {
    // Only in a folder no other user can write may the names be trusted: elsewhere another
    // user could make them first and keep this user's copy from starting, or listen in its
    // place. The lock is never opened through a link.
    bool privateFolder = true;
    try {
        paths::EnsurePrivateFolder(RuntimeFolder());
    } catch (const VError&) {
        privateFolder = false;
    }
    const QByteArray lockPath = QFile::encodeName(socketPath() + QStringLiteral(".lock"));
    if (privateFolder)
        lockFd_ = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ >= 0) {
        int r;
        do {
            r = ::flock(lockFd_, LOCK_EX | LOCK_NB);
        } while (r != 0 && errno == EINTR);
        if (r != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(lockFd_);
            lockFd_ = -1;
            if (held)
                return false;
        }
    }
    // Without a lock (an unusable runtime folder) the program still runs; it only cannot
    // guard against a second copy.
    if (lockFd_ < 0)
        return true;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath()); // left behind by a copy that crashed
    if (!server_->listen(socketPath()))
        return true;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->canReadLine())
                    return;
                const QByteArray line = s->readLine();
                if (line == RaiseRequest) {
                    s->write(RaiseAnswer);
                    s->flush();
                    emit raiseRequested();
                }
                s->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::AskRunningCopyToRaise(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    // The running copy may hold the lock but not listen yet: try until the time is up.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(std::min<qint64>(500, deadline.remainingTime())))) {
            socket.write(RaiseRequest);
            if (socket.waitForBytesWritten(int(deadline.remainingTime())) &&
                socket.waitForReadyRead(int(deadline.remainingTime())))
                return socket.readLine() == RaiseAnswer;
            return false;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace varenta::main
