#include "App/AppEnvironment.h"
#include "Artwork/ArtworkImageCache.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Model/MainViewModelPlaybackSupport.h"
#include "Platform/AppLoggers.h"
#include "Platform/DefaultsKeys.h"
#include "Platform/GuiDelivery.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QPromise>
#include <exception>
#include <utility>

namespace Marrowbell {

void MainViewModel::useNotificationCenter(DesktopIntegration::UserNotificationCenter& center) {
    playbackSupport_->notificationCenter = &center;
}

// The views and the notification read the picture from the shared cache, so loading it there once is enough:
// the player bar shows it without a request of its own.
QFuture<void> MainViewModel::loadPlayerArtwork(const std::optional<PlaybackItem>& item,
                                               std::stop_token stopToken) {
    if (!item) {
        return QtFuture::makeReadyFuture();
    }
    const QString key = QString::fromStdString(item->songIDForArtwork());
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    ArtworkImageCache::shared().loadImage(
        ArtworkImageCache::thumbnailURL(item->artwork()), key, this,
        [this, promise, item, key, stopToken](const ArtworkLoadResult& result) {
            if (!result.succeeded()) {
                AppLoggers::images().error("Failed to load player artwork: %@",
                                           {result.detail.toStdString()});
            }
            if (stopToken.stop_requested()) {
                AppLoggers::images().debug("Loading player artwork cancelled");
            } else {
                notifySongChangeIfNeeded(item);
                artworkForPlayingItemID.set(item->artwork());
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
    playbackSupport_->unannouncedSong.emplace(*item, QString::fromStdString(*songID));
    announceSongIfPlaying();
}

// A song still loading may yet fail, or be skipped before it starts: it is announced once it plays.
void MainViewModel::announceSongIfPlaying() {
    auto& song = playbackSupport_->unannouncedSong;
    const auto current = player_.queue().currentEntry();
    if (!song || !current || PlaybackItem(*current).songID() != song->second.toStdString() ||
        player_.state().playbackStatus() != MusicKit::MusicPlayerPlaybackStatus::playing ||
        !player_.isPreparedToPlay()) {
        return;
    }
    const auto [item, songID] = *std::exchange(song, std::nullopt);
    postSongNotification(item, songID);
}

QFuture<void> MainViewModel::postSongNotification(const PlaybackItem& item, const QString& songID) {
    AppLoggers::app().notice("Posting notification for song: %s", {item.title()});
    DesktopIntegration::NotificationRequest request{songID, QString::fromStdString(item.title()),
                                                    QString::fromStdString(item.subtitle().value_or("")),
                                                    std::nullopt};
    const QString key = QString::fromStdString(item.songIDForArtwork());
    try {
        request.imageFile =
            playbackSupport_->notificationAttachment.replace(ArtworkImageCache::shared().filePath(key), key);
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
