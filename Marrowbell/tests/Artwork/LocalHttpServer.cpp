#include "LocalHttpServer.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <stdexcept>

using namespace Qt::StringLiterals;

LocalHttpServer::LocalHttpServer(std::function<Answer(const QByteArray&)> answerFor)
    : answerFor_(std::move(answerFor)) {
    if (!server_.listen(QHostAddress::LocalHost)) {
        throw std::runtime_error("the test server cannot listen");
    }
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    });
}

QUrl LocalHttpServer::url(const QString& path) const {
    return QUrl(u"http://127.0.0.1:%1%2"_s.arg(server_.serverPort()).arg(path));
}

int LocalHttpServer::requestCount(const QByteArray& path) const {
    return int(requestedPaths_.count(path));
}

void LocalHttpServer::readRequest(QTcpSocket* socket) {
    if (socket->property("answered").toBool() || !socket->peek(64 * 1024).contains("\r\n\r\n")) {
        return;
    }
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    const QByteArray path = requestLine.value(1);
    ++requestCount_;
    requestedPaths_.append(path);
    if (holding_) {
        held_.append({socket, path});
    } else {
        answer(socket, path);
    }
}

void LocalHttpServer::releaseHeld(const QByteArray& path) {
    const QList<HeldRequest> held = std::exchange(held_, {});
    for (const HeldRequest& request : held) {
        if (!path.isEmpty() && request.path != path) {
            held_.append(request);
        } else if (request.socket) {
            answer(request.socket, request.path);
        }
    }
}

void LocalHttpServer::answer(QTcpSocket* socket, const QByteArray& path) {
    const Answer reply = answerFor_(path);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) +
                      " Answer\r\nContent-Type: " + reply.contentType + "\r\nConnection: close\r\n";
    if (reply.announceLength) {
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    }
    socket->write(head + "\r\n");
    socket->write(reply.body);
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket] {
        if (socket->bytesToWrite() == 0) {
            socket->disconnectFromHost();
        }
    });
}

QByteArray solidPNG(QColor color, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
