#pragma once

#include <QList>
#include <QUrl>

namespace TamselUIKit {

/// Where the welcome window finds the recently opened documents. Called from worker threads.
class RecentDocumentsSource {
public:
    virtual ~RecentDocumentsSource() = default;

    /// The documents' URLs, most recent first.
    virtual QList<QUrl> recentDocumentURLs() const = 0;
};

} // namespace TamselUIKit
