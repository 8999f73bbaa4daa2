#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace TamselUIKit::Testing {

/// Documents in a temporary folder and a recently-used list naming them, most recent first.
class RecentFiles {
public:
    QString path(const QString& name) const { return folder.filePath(name); }
    QString listPath() const { return folder.filePath(QStringLiteral("recently-used.xbel")); }

    /// Makes each file (a PNG for names ending ".png", text otherwise) and lists them, the first as the
    /// most recently visited.
    QList<QUrl> write(const QStringList& names) const {
        QString bookmarks;
        QList<QUrl> urls;
        for (qsizetype index = 0; index < names.size(); ++index) {
            const QString file = path(names[index]);
            if (file.endsWith(QStringLiteral(".png"))) {
                QImage image(40, 20, QImage::Format_RGB32);
                image.fill(Qt::red);
                image.save(file);
            } else {
                QFile text(file);
                text.open(QIODevice::WriteOnly);
                text.write("notes");
            }
            urls.append(QUrl::fromLocalFile(file));
            const QString visited =
                QStringLiteral("2026-01-01T10:%1:00Z").arg(59 - index, 2, 10, QLatin1Char('0'));
            bookmarks +=
                QStringLiteral("<bookmark href=\"%1\" added=\"2025-01-01T00:00:00Z\" visited=\"%2\"/>\n")
                    .arg(urls.last().toString(QUrl::FullyEncoded), visited);
        }
        QFile list(listPath());
        list.open(QIODevice::WriteOnly);
        list.write(QStringLiteral("<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n%1</xbel>\n")
                       .arg(bookmarks)
                       .toUtf8());
        return urls;
    }

    QTemporaryDir folder;
};

} // namespace TamselUIKit::Testing
