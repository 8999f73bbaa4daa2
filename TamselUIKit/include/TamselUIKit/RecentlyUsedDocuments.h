#pragma once

#include "TamselUIKit/RecentDocumentsSource.h"

#include <QString>

namespace TamselUIKit {

/// The desktop's recently-used list (the XDG "recently-used.xbel" file): its local files, most recently
/// used first. An unreadable or damaged file gives no documents. Thread-safe.
class RecentlyUsedDocuments : public RecentDocumentsSource {
public:
    /// The user's list in the XDG data directory.
    static QString defaultPath();

    explicit RecentlyUsedDocuments(QString path = defaultPath());

    QList<QUrl> recentDocumentURLs() const override;

private:
    QString path_;
};

} // namespace TamselUIKit
