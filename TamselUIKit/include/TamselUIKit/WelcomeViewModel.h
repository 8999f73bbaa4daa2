#pragma once

#include "TamselUIKit/RecentDocumentsSource.h"
#include "TamselUIKit/ThumbnailProvider.h"
#include "TamselUIKit/WelcomeAction.h"
#include "TamselUIKit/WelcomeRecent.h"

#include <QFileIconProvider>
#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <memory>

namespace TamselUIKit {

/// What the welcome window shows: its action rows, the recent documents (at most 10, most recent first)
/// and the thumbnails made for them so far. Reloads whenever RecentDocumentsNotifier announces a change.
/// GUI thread; the records and thumbnails are made on worker threads.
class WelcomeViewModel : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype maximumRecents = 10;
    /// 128 points at scale 2.
    static constexpr QSize thumbnailPixelSize{256, 256};

    /// A null `recentsSource` reads the desktop's recently-used list; a null `thumbnailProvider` makes
    /// thumbnails of image files only.
    WelcomeViewModel(bool useThumbnails, bool allowsThumbnailInterpolation,
                     std::shared_ptr<const RecentDocumentsSource> recentsSource = nullptr,
                     std::shared_ptr<const ThumbnailProvider> thumbnailProvider = nullptr,
                     QObject* parent = nullptr);

    const QList<WelcomeRecent>& recents() const { return recents_; }
    const QList<WelcomeAction>& actions() const { return actions_; }
    void setActions(QList<WelcomeAction> actions);
    /// Thumbnails by the URL of their recent.
    const QHash<QUrl, QImage>& recentsToThumbnails() const { return recentsToThumbnails_; }
    bool useThumbnails() const { return useThumbnails_; }
    bool allowsThumbnailInterpolation() const { return allowsThumbnailInterpolation_; }

    /// Reads the recent documents again. The list is replaced, and thumbnails requested for its new
    /// entries, only when the URLs differ from the shown ones; when reloads overlap, the newest one
    /// wins. The future finishes once the result is applied or dropped.
    QFuture<void> reload();
    /// Requests a thumbnail for every recent that has none; failures are printed and leave the icon.
    void generateThumbnails();

Q_SIGNALS:
    void recentsChanged();
    void actionsChanged();
    void thumbnailsChanged();

private:
    void applyRecents(QList<WelcomeRecent> recents);
    void generateThumbnail(const QUrl& url);

    const bool useThumbnails_;
    const bool allowsThumbnailInterpolation_;
    const std::shared_ptr<const RecentDocumentsSource> recentsSource_;
    const std::shared_ptr<const ThumbnailProvider> thumbnailProvider_;
    QFileIconProvider iconProvider_;
    QList<WelcomeRecent> recents_;
    QList<WelcomeAction> actions_;
    QHash<QUrl, QImage> recentsToThumbnails_;
    quint64 reloadGeneration_ = 0;
};

} // namespace TamselUIKit
