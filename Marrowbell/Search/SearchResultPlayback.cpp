#include "Search/SearchResultPlayback.h"

#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "MainWindow/AppModels.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MusicKit/MusicCatalogArtistTopSongsRequest.h>
#include <functional>

namespace Marrowbell {
namespace {

using MarrowbellCore::SearchResult;
using Promise = std::shared_ptr<QPromise<void>>;

struct Playback {
    AppModels& models;
    Promise promise;

    MainViewModel& main() const { return *models.main; }

    /// Waits for `step`; on success runs `then`, on failure reports it and ends the playback.
    void after(QFuture<void> step, std::function<void()> then) const {
        whenFinished(step, models.main.get(), [playback = *this, then = std::move(then)](QFuture<void> done) {
            if (auto error = failureOf(done)) {
                playback.fail(error);
                return;
            }
            then();
        });
    }

    void finish() const { promise->finish(); }

    void fail(const std::exception_ptr& error) const {
        if (!isCancellation(error)) {
            logFailure(AppLoggers::playback(), "Failed to play search result: %@", error);
            ErrorReporting::report(error, "play_search_result");
            main().showPlayError.set(true);
        }
        finish();
    }

    /// An item that is not in the library has no place there to snap back to.
    void forgetSnapbackPlace() const { main().lastSavedSnapbackState.set(std::nullopt); }

    /// Drives the player directly for an item that is not in the library.
    template <class Item> void playCatalogItem(const Item& item) const {
        forgetSnapbackPlace();
        models.player->setQueue(item);
        startPlayer();
    }

    // One play, which prepares first: a pause or stop while the item loads then holds.
    void startPlayer() const {
        after(models.player->play(), [playback = *this] { playback.finish(); });
    }

    void playCatalogArtist(const MusicKit::Artist& artist) const {
        forgetSnapbackPlace();
        auto topSongs = models.environment.background().run([id = artist.id](std::stop_token stopToken) {
            return MusicKit::MusicCatalogArtistTopSongsRequest(id).response(stopToken);
        });
        whenFinished(topSongs, models.main.get(),
                     [playback = *this](QFuture<std::vector<MusicKit::Song>> found) {
                         std::vector<MusicKit::Song> songs;
                         try {
                             songs = found.takeResult();
                         } catch (...) {
                             playback.fail(std::current_exception());
                             return;
                         }
                         if (songs.empty()) {
                             playback.finish();
                             return;
                         }
                         playback.models.player->setQueue(songs);
                         playback.startPlayer();
                     });
    }
};

QString identifier(const std::string& id) {
    return QString::fromStdString(id);
}

// A stored playlist, album or artist plays through its list model and becomes the snap-back place.
template <class ListModel, class Record>
void playStoredContainer(ListModel& list, const Record& record, const Playback& playback) {
    playback.after(list.play(identifier(record.identifier), false), [playback, record] {
        playback.main().saveSnapbackState(record);
        playback.finish();
    });
}

void play(const SearchResult& result, const Playback& playback) {
    AppModels& models = playback.models;
    switch (result.resultCase()) {
    case SearchResult::Case::playlist:
        playStoredContainer(*models.playlists, *result.get<SearchResult::Case::playlist>(), playback);
        return;
    case SearchResult::Case::album:
        playStoredContainer(*models.albums, *result.get<SearchResult::Case::album>(), playback);
        return;
    case SearchResult::Case::artist:
        playStoredContainer(*models.artists, *result.get<SearchResult::Case::artist>(), playback);
        return;
    case SearchResult::Case::song:
        playback.after(
            models.topLevelSongs->play(identifier(result.get<SearchResult::Case::song>()->identifier)),
            [playback] {
                playback.main().saveSongsSnapbackState();
                playback.finish();
            });
        return;
    case SearchResult::Case::madeForYou: {
        const auto& item = *result.get<SearchResult::Case::madeForYou>();
        // The recommendation models report their own failures.
        playback.after(models.madeForYou->play(item.id, false), [playback, item] {
            playback.main().saveMadeForYouSnapbackState(item);
            playback.finish();
        });
        return;
    }
    case SearchResult::Case::station: {
        const auto& station = *result.get<SearchResult::Case::station>();
        playback.after(models.stations->play(station.id), [playback, station] {
            playback.main().saveStationSnapbackState(station);
            playback.finish();
        });
        return;
    }
    case SearchResult::Case::catalogPlaylist:
        playback.playCatalogItem(*result.get<SearchResult::Case::catalogPlaylist>());
        return;
    case SearchResult::Case::catalogAlbum:
        playback.playCatalogItem(*result.get<SearchResult::Case::catalogAlbum>());
        return;
    case SearchResult::Case::catalogSong:
        playback.playCatalogItem(std::vector{*result.get<SearchResult::Case::catalogSong>()});
        return;
    case SearchResult::Case::catalogArtist:
        playback.playCatalogArtist(*result.get<SearchResult::Case::catalogArtist>());
        return;
    }
}

} // namespace

QFuture<void> playSearchResult(const SearchResult& result, AppModels& models) {
    const Playback playback{models, startedPromise()};
    play(result, playback);
    return playback.promise->future();
}

} // namespace Marrowbell
