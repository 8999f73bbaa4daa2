#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <functional>

/// A one-route-per-path HTTP server on the loopback interface, run by the test's own event loop: it counts
/// requests, answers each with what `answerFor(path)` gives, and can hold answers back until released, so
/// that a test decides when a download ends.
class LocalHttpServer : public QObject {
    Q_OBJECT

public:
    struct Answer {
        int status = 200;
        QByteArray contentType = "image/png";
        QByteArray body;
        /// Without a Content-Length header the body's end is the end of the connection.
        bool announceLength = true;
    };

    explicit LocalHttpServer(std::function<Answer(const QByteArray& path)> answerFor);

    QUrl url(const QString& path) const;
    int requestCount() const { return requestCount_; }
    int requestCount(const QByteArray& path) const;

    /// While holding, requests are counted but not answered until `releaseHeld`.
    void setHolding(bool holding) { holding_ = holding; }
    /// Answers the held requests for `path` (all of them when `path` is empty).
    void releaseHeld(const QByteArray& path = {});

private:
    struct HeldRequest {
        QPointer<QTcpSocket> socket;
        QByteArray path;
    };

    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& path);

    std::function<Answer(const QByteArray&)> answerFor_;
    QTcpServer server_;
    QList<QByteArray> requestedPaths_;
    QList<HeldRequest> held_;
    int requestCount_ = 0;
    bool holding_ = false;
};

/// A PNG of one colour.
QByteArray solidPNG(QColor color, QSize size);
