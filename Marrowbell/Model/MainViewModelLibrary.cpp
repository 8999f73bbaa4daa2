#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Model/MainViewModelPlaybackSupport.h"
#include "Model/SongShareLink.h"
#include "Observation/AnimationContext.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Requests/AddLibraryRequest.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QPromise>
#include <exception>

namespace Marrowbell {
namespace {

// The toast's spring: 0.3 s, no bounce.
constexpr AnimationContext addToastAnimation{0.3, true};

} // namespace

QFuture<void> MainViewModel::addPlayingSongToLibrary() {
    const auto current = player_.queue().currentEntry();
    const MusicKit::Song* song = current ? current->song() : nullptr;
    if (!song) {
        return QtFuture::makeReadyFuture();
    }
    const MarrowbellCore::AddLibraryRequest request(song->id.rawValue());
    QFuture<void> adding =
        environment_.background().run([request](std::stop_token stopToken) { request.perform(stopToken); });

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(adding, this, [this, promise](QFuture<void> finished) {
        try {
            finished.waitForFinished();
            canAddToLibrary.set(false);
            AnimationContext::runGroup(addToastAnimation, [this] { showAddToast.set(true); });
        } catch (const std::exception& error) {
            ErrorReporting::report(std::current_exception(), "add_to_library");
            AppLoggers::playback().error("Failed to add song to library: %@", {error});
        }
        promise->finish();
    });
    return promise->future();
}

QFuture<void> MainViewModel::checkLibraryState(const PlaybackItem& item, const QString& title) {
    // The link depends on the item alone, so it never waits for the store nor keeps an earlier song's value.
    const auto songID = item.songID();
    shareLink.set(songID
                      ? songShareLink(QString::fromStdString(environment_.service().configuration().apiBase),
                                      QString::fromStdString(*songID))
                      : std::nullopt);

    const std::string songTitle = title.toStdString();
    const auto artist = item.artist() ? item.artist() : item.subtitle();
    const auto album = item.album();
    QFuture<bool> lookup =
        environment_.store().run([songTitle, artist, album](MarrowbellCore::LocalDatabase& store) {
            return store.hasSong(songTitle, artist, album);
        });

    const std::uint64_t generation = playbackSupport_->libraryCheckGeneration;
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(lookup, this, [this, promise, generation](QFuture<bool> finished) {
        // A later refresh has chosen another playing item, and its own check answers for it.
        if (generation == playbackSupport_->libraryCheckGeneration) {
            try {
                canAddToLibrary.set(!finished.result());
            } catch (const std::exception& error) {
                canAddToLibrary.set(false);
                AppLoggers::playback().error("Failed to check the library for the playing song: %@", {error});
            }
        }
        promise->finish();
    });
    return promise->future();
}

} // namespace Marrowbell
