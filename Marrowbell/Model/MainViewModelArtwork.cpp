#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Model/MainViewModelPlaybackSupport.h"
#include "Model/NetworkArtworkLoader.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QPromise>
#include <exception>

namespace Marrowbell {

void MainViewModel::usePlayerArtworkLoader(std::shared_ptr<PlayerArtworkLoader> loader) {
    playbackSupport_->artworkLoader = std::move(loader);
}

void MainViewModel::useNotificationCenter(DesktopIntegration::UserNotificationCenter& center) {
    playbackSupport_->notificationCenter = &center;
}

QFuture<void> MainViewModel::loadPlayerArtwork(const std::optional<PlaybackItem>& item,
                                               std::stop_token stopToken) {
    if (!item) {
        return QtFuture::makeReadyFuture();
    }
    if (!playbackSupport_->artworkLoader) {
        playbackSupport_->artworkLoader = std::make_shared<NetworkArtworkLoader>();
    }
    const QString key = QString::fromStdString(item->songIDForArtwork());
    QFuture<QImage> loading = playbackSupport_->artworkLoader->image(item->artwork(), key);

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(loading, this, [this, promise, item, key, stopToken](QFuture<QImage> finished) {
        try {
            // Only the cache is filled here; the views read the picture from it.
            (void)finished.result();
        } catch (const std::exception& error) {
            AppLoggers::images().error("Failed to load player artwork: %@", {error});
        }
        if (stopToken.stop_requested()) {
            AppLoggers::images().debug("Loading player artwork cancelled");
        } else {
            notifySongChangeIfNeeded(item);
            playingItemIDForArtwork.set(key);
        }
        promise->finish();
    });
    return promise->future();
}

void MainViewModel::notifySongChangeIfNeeded(const std::optional<PlaybackItem>& item) {
    if (!item) {
        return;
    }
    // The same picture means the same song, refreshed for another reason (an edit of the queue).
    if (playingItemIDForArtwork.get() == QString::fromStdString(item->songIDForArtwork())) {
        return;
    }
    const auto songID = item->songID();
    if (!songID) {
        return;
    }
    if (!environment_.defaults().boolValue(DefaultsKeys::postNotificationsWhenSongChanges)) {
        AppLoggers::app().debug("Notifications are disabled, skipping notification post");
        return;
    }
    postSongNotification(*item, QString::fromStdString(*songID));
}

QFuture<void> MainViewModel::postSongNotification(const PlaybackItem& item, const QString& songID) {
    AppLoggers::app().notice("Posting notification for song: %s", {item.title()});
    DesktopIntegration::NotificationRequest request{songID, QString::fromStdString(item.title()),
                                                    QString::fromStdString(item.subtitle().value_or("")),
                                                    std::nullopt};
    const QString key = QString::fromStdString(item.songIDForArtwork());
    try {
        const QString cachedFile =
            playbackSupport_->artworkLoader ? playbackSupport_->artworkLoader->filePath(key) : QString();
        request.imageFile = playbackSupport_->notificationAttachment.replace(cachedFile, key);
    } catch (const std::exception& error) {
        AppLoggers::app().error("Could not create notification attachment: %@", {error});
    }

    DesktopIntegration::UserNotificationCenter& center =
        playbackSupport_->notificationCenter ? *playbackSupport_->notificationCenter
                                             : DesktopIntegration::UserNotificationCenter::current();
    // One song-start notification at a time.
    center.removeAllDeliveredNotifications();
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(center.add(request), this, [promise](QFuture<void> added) {
        try {
            added.waitForFinished();
        } catch (const std::exception& error) {
            AppLoggers::app().error("Failed to add notification request: %@", {error});
            ErrorReporting::report(std::current_exception(), "notification_request");
        }
        promise->finish();
    });
    return promise->future();
}

} // namespace Marrowbell
