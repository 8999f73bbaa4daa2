#include "LibraryLists/SongLists.h"

#include "LibraryLists/PaneListWiring.h"
#include "LibraryModels/DetailSongsViewModel.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/TopLevelSongsViewModel.h"
#include "Lists/ListEnvironment.h"
#include "Platform/GuiDelivery.h"

#include <MusicKit/ApplicationMusicPlayer.h>

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalSong;

constexpr int songsPaneTag = 1;
constexpr int detailSongsPaneTag = 2;

/// What tells the two song lists apart.
struct SongListSetup {
    Observed<std::optional<QString>> MainViewModel::*selection;
    int tag;
    std::optional<QString> autosaveName;
    /// Plays from the row of the identifier; returns at once.
    std::function<void(const QString& rowID)> playRow;
};

void configureActionRow(TableCell& cell, const SongSelection& row) {
    cell.showNowPlayingIndicator = false;
    cell.canShowChevron = false;
    cell.title = row.title();
    cell.subtitle.clear();
    cell.glyph = row.isPlay() ? QStringLiteral("play.fill") : QStringLiteral("shuffle");
    cell.isEnabled = true;
}

void configureSongRow(TableCell& cell, const LocalSong& song, CellConfiguration configuration,
                      const MainViewModel& model, const MusicKit::ApplicationMusicPlayer& player) {
    cell.canShowChevron = false;
    cell.title = QString::fromStdString(song.title);
    cell.subtitle = QString::fromStdString(song.artistName.value_or(std::string()));
    cell.glyph.clear();
    // Without play parameters the song shows greyed, yet stays selectable and playable on request.
    cell.isEnabled = song.hasPlayParameters();
    if (configuration == CellConfiguration::preview) {
        return;
    }
    cell.showNowPlayingIndicator =
        model.isPlaying.get() && song.matchesPlayingSong(player.queue().currentEntry());
    const std::optional<QUrl> artwork =
        song.artworkURL ? std::optional(QUrl(QString::fromStdString(song.artworkURL->absoluteString())))
                        : std::nullopt;
    cell.setArtwork(artwork, QStringLiteral("song-") + QString::fromStdString(song.identifier));
}

std::unique_ptr<SongList> makeSongList(MainViewModel& model, std::vector<SongSelection> rows,
                                       MusicKit::ApplicationMusicPlayer& player,
                                       const ListEnvironment& environment, SongListSetup setup) {
    const auto selection = setup.selection;
    auto playRow = setup.playRow;
    auto list = std::make_unique<SongList>(
        environment, std::move(rows), bindObserved(model, selection), setup.tag, setup.autosaveName,
        [&model, &player, &defaults = environment.defaults](TableCell& cell, const SongSelection& row,
                                                            CellConfiguration configuration) {
            if (const LocalSong* song = row.song()) {
                configureSongRow(cell, *song, configuration, model, player);
            } else {
                configureActionRow(cell, row);
            }
            cell.refreshAppearance(defaults);
        },
        // The row handed in is already the selection; what plays is the bound selection.
        [&model, selection, playRow](const SongSelection&) {
            if (const std::optional<QString> rowID = (model.*selection).get()) {
                playRow(*rowID);
            }
        });
    list->setPauseAction([&model] { model.pause(); });
    followActivePane(*list, model);
    list->setContextMenu([playRow](const QString& rowID) {
        return makeContextMenu({{QStringLiteral("Play"), [playRow, rowID] { playRow(rowID); }}});
    });
    followSelection(*list, model, selection);
    return list;
}

// Every write of `songs` hands the list its rows anew, built on the list worker: the rows refer into the
// written songs and copy none of them, yet 100,000 of them with their identifiers would stall the window.
// The list keeps its table when the identifiers are unchanged and repaints only visible rows whose content
// changed.
template <class Songs>
void followSongs(SongList& list, MainViewModel& model, Observed<Songs> MainViewModel::*songs) {
    using Snapshot = std::shared_ptr<const Songs>;
    const QPointer<SongList> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(
        &model, [songs](const MainViewModel& observed) { return (observed.*songs).snapshot(); },
        [weakList](const Snapshot&, const Snapshot& current) {
            if (weakList) {
                weakList->prepareItems([current] { return songSelectionRows(current); });
            }
        }));
}

} // namespace

std::unique_ptr<SongList> makeSongsView(MainViewModel& model, TopLevelSongsViewModel& songs,
                                        MusicKit::ApplicationMusicPlayer& player,
                                        const ListEnvironment& environment) {
    auto playRow = [&model, &songs](const QString& rowID) {
        whenFinished(songs.play(rowID), &model, [&model](QFuture<void> played) {
            if (auto error = failureOf(played)) {
                reportSongPlayFailure(model, error);
            }
        });
    };
    auto list = makeSongList(
        model, songs.rows(), player, environment,
        {&MainViewModel::selectedTopLevelSongID, songsPaneTag, QStringLiteral("TopLevelSongsList"), playRow});
    list->setTask([&songs] { songs.load(true); });
    followSongs(*list, model, &MainViewModel::topLevelSongs);
    return list;
}

std::unique_ptr<SongList> makeDetailSongsView(MainViewModel& model, DetailSongsViewModel& songs,
                                              MusicKit::ApplicationMusicPlayer& player,
                                              const ListEnvironment& environment) {
    auto playRow = [&songs](const QString& rowID) { songs.play(rowID); };
    auto list =
        makeSongList(model, songs.rows(), player, environment,
                     {&MainViewModel::selectedDetailSongID, detailSongsPaneTag, std::nullopt, playRow});
    followSongs(*list, model, &MainViewModel::detailSongs);
    return list;
}

} // namespace Marrowbell
