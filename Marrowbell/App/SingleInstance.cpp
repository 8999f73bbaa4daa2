#include "App/SingleInstance.h"

#include "Platform/AppLoggers.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace Marrowbell {
namespace {

const QByteArray presentRequest = QByteArrayLiteral("present\n");
const QByteArray presentAnswer = QByteArrayLiteral("presented\n");
constexpr int requestReadLimitMs = 2000;
constexpr unsigned long connectRetryPauseMs = 50;

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , socketPath_(QDir(folder).filePath(QStringLiteral("marrowbell.socket")))
    , lock_(QDir(folder).filePath(QStringLiteral("marrowbell.lock"))) {
    // Only a lock whose process has died is stale, however old it is.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock(0)) {
        listen();
        return;
    }
    if (lock_.error() == QLockFile::LockFailedError) {
        isFirst_ = false;
        return;
    }
    // Better two instances than none: a runtime folder that cannot hold the lock does not stop the app.
    AppLoggers::app().error("Cannot make the single-instance lock in %@", {folder.toStdString()});
}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
    }
}

QString SingleInstance::standardFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

void SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, a socket file that is there was left by an instance that died.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) {
        AppLoggers::app().error("Cannot listen for later launches: %@",
                                {server_->errorString().toStdString()});
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            answer(socket);
        }
    });
}

void SingleInstance::answer(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A client that sends nothing is not waited for beyond a bound.
    QTimer::singleShot(requestReadLimitMs, socket, [socket] { socket->abort(); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) {
            return;
        }
        if (socket->readLine(presentRequest.size() + 1) == presentRequest) {
            Q_EMIT presentRequested();
            socket->write(presentAnswer);
            socket->flush();
        }
        socket->disconnectFromServer();
    });
}

bool SingleInstance::presentRunningInstance(std::chrono::milliseconds wait) {
    const QDeadlineTimer deadline(wait);
    QLocalSocket socket;
    // The running instance may have taken the lock a moment ago and not listen yet.
    while (true) {
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(connectRetryPauseMs);
    }
    socket.write(presentRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
        return false;
    }
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(int(deadline.remainingTime()))) {
        answer += socket.readAll();
    }
    return answer == presentAnswer;
}

qint64 SingleInstance::runningProcessId() const {
    qint64 processId = 0;
    return lock_.getLockInfo(&processId, nullptr, nullptr) ? processId : 0;
}

} // namespace Marrowbell
