#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace TamselUIKit::Testing {

/// Takes over the opening of URLs of one scheme while it lives and keeps the URLs it is asked to open, in
/// order. Handing the scheme back on destruction keeps a failed test from leaving a dangling handler behind.
class OpenedURLs : public QObject {
    Q_OBJECT

public:
    explicit OpenedURLs(const QString& scheme);
    ~OpenedURLs() override;
    OpenedURLs(const OpenedURLs&) = delete;
    OpenedURLs& operator=(const OpenedURLs&) = delete;

    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url);

private:
    QString scheme_;
};

} // namespace TamselUIKit::Testing
