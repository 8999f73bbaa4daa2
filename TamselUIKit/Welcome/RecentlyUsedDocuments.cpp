#include "TamselUIKit/RecentlyUsedDocuments.h"

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <algorithm>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

struct Bookmark {
    QUrl url;
    QDateTime lastUsed;
};

QDateTime lastUse(const QXmlStreamAttributes& attributes) {
    QDateTime latest;
    for (const auto& name : {u"added"_s, u"modified"_s, u"visited"_s}) {
        const QDateTime date = QDateTime::fromString(attributes.value(name).toString(), Qt::ISODateWithMs);
        if (date.isValid() && (!latest.isValid() || date > latest)) {
            latest = date;
        }
    }
    return latest;
}

std::vector<Bookmark> readBookmarks(QIODevice& file) {
    std::vector<Bookmark> bookmarks;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"bookmark"_s) {
            continue;
        }
        const QUrl url(xml.attributes().value(u"href"_s).toString(), QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile()) {
            bookmarks.push_back({url, lastUse(xml.attributes())});
        }
    }
    if (xml.hasError()) {
        return {};
    }
    return bookmarks;
}

} // namespace

QString RecentlyUsedDocuments::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/recently-used.xbel"_s;
}

RecentlyUsedDocuments::RecentlyUsedDocuments(QString path)
    : path_(std::move(path)) {}

QList<QUrl> RecentlyUsedDocuments::recentDocumentURLs() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    auto bookmarks = readBookmarks(file);
    std::stable_sort(bookmarks.begin(), bookmarks.end(), [](const Bookmark& left, const Bookmark& right) {
        return left.lastUsed > right.lastUsed;
    });
    QList<QUrl> urls;
    for (const auto& bookmark : bookmarks) {
        urls.append(bookmark.url);
    }
    return urls;
}

} // namespace TamselUIKit
