#include "LibraryLists/LibraryLists.h"

#include "LibraryLists/PaneListWiring.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/LibraryKind.h"
#include "LibraryModels/LibraryListViewModel.h"
#include "Lists/ListEnvironment.h"
#include "Platform/GuiDelivery.h"

namespace Marrowbell {
namespace {

using MarrowbellCore::LocalAlbum;
using MarrowbellCore::LocalArtist;
using MarrowbellCore::LocalPlaylist;

constexpr int libraryListPaneTag = 1;

// What the three panes do differently: their scroll-position name and their kind's own cell settings.
template <class Record> struct LibraryPane;

template <> struct LibraryPane<LocalPlaylist> {
    static QString autosaveName() { return QStringLiteral("PlaylistsList"); }
    static void configureKind(TableCell&, const LocalPlaylist&) {}
};

template <> struct LibraryPane<LocalAlbum> {
    static QString autosaveName() { return QStringLiteral("AlbumsList"); }
    static void configureKind(TableCell& cell, const LocalAlbum& album) {
        cell.subtitle = QString::fromStdString(album.artistName.value_or(std::string()));
    }
};

template <> struct LibraryPane<LocalArtist> {
    static QString autosaveName() { return QStringLiteral("ArtistsList"); }
    static void configureKind(TableCell& cell, const LocalArtist&) {
        cell.artworkStyle = ArtworkStyle::circular;
    }
};

template <class Record>
void configureContainerRow(TableCell& cell, const Record& record, CellConfiguration configuration,
                           const MainViewModel& model, const Defaults& defaults) {
    cell.title = rowTitle(record);
    LibraryPane<Record>::configureKind(cell, record);
    cell.refreshAppearance(defaults);
    if (configuration == CellConfiguration::preview) {
        return;
    }
    cell.showNowPlayingIndicator = model.isSnapbackTarget(record);
    const std::optional<QUrl> artwork =
        record.artworkURL ? std::optional(QUrl(QString::fromStdString(record.artworkURL->absoluteString())))
                          : std::nullopt;
    cell.setArtwork(artwork, QString::fromStdString(record.thumbnailID()));
}

template <class Record>
void playContainer(MainViewModel& model, LibraryListViewModel<Record>& containers, const QString& id,
                   bool shuffle) {
    whenFinished(containers.play(id, shuffle), &model, [&model](QFuture<void> played) {
        if (auto error = failureOf(played)) {
            reportSongPlayFailure(model, error);
        }
    });
}

template <class Record>
void followContainers(CollectionListController<Record>& list, LibraryListViewModel<Record>& containers) {
    const QPointer<CollectionListController<Record>> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(
        &containers, &LibraryListViewModel<Record>::items,
        [weakList](const MarrowbellCore::SortedRecords<Record>&,
                   const MarrowbellCore::SortedRecords<Record>& items) {
            // Equal identifiers keep the table; only visible rows whose content changed repaint.
            if (weakList) {
                weakList->setItems(std::vector<Record>(items.begin(), items.end()));
            }
        }));
}

// Only a real change of the selected container starts a read of its songs; the row follows every write.
template <class Record>
void followSelectedContainer(CollectionListController<Record>& list, MainViewModel& model,
                             LibraryListViewModel<Record>& containers) {
    const QPointer<CollectionListController<Record>> weakList(&list);
    list.tokens.push_back(ObservationTracking::observe(
        &model, LibraryKind<Record>::selection,
        [weakList, &containers](const std::optional<QString>& oldID, const std::optional<QString>& newID) {
            if (!weakList) {
                return;
            }
            if (oldID != newID) {
                containers.loadSelectedSongs();
            }
            weakList->syncSelectionFromBinding();
        }));
}

template <class Record>
std::unique_ptr<CollectionListController<Record>> makeLibraryList(MainViewModel& model,
                                                                  LibraryListViewModel<Record>& containers,
                                                                  const ListEnvironment& environment) {
    using List = CollectionListController<Record>;
    const auto& shown = containers.items.get();
    auto list = std::make_unique<List>(
        environment, std::vector<Record>(shown.begin(), shown.end()),
        bindObserved(model, LibraryKind<Record>::selection), libraryListPaneTag,
        LibraryPane<Record>::autosaveName(),
        [&model, &defaults = environment.defaults](TableCell& cell, const Record& record,
                                                   CellConfiguration configuration) {
            configureContainerRow(cell, record, configuration, model, defaults);
        },
        // The row handed in is already the selection, whose songs the detail list shows or will show.
        [&containers](const Record&) { containers.playSelected(); });
    list->setPauseAction([&model] { model.pause(); });
    followActivePane(*list, model);
    list->setContextMenu([&model, &containers](const QString& id) {
        return makeContextMenu({
            {QStringLiteral("Play"),
             [&model, &containers, id] { playContainer(model, containers, id, false); }},
            {QStringLiteral("Shuffle"),
             [&model, &containers, id] { playContainer(model, containers, id, true); }},
        });
    });
    list->setTask([&containers] { containers.load(true); });
    followSelectedContainer(*list, model, containers);
    followContainers(*list, containers);
    return list;
}

} // namespace

std::unique_ptr<PlaylistList> makePlaylistsView(MainViewModel& model,
                                                LibraryListViewModel<LocalPlaylist>& playlists,
                                                const ListEnvironment& environment) {
    return makeLibraryList(model, playlists, environment);
}

std::unique_ptr<AlbumList> makeAlbumsView(MainViewModel& model, LibraryListViewModel<LocalAlbum>& albums,
                                          const ListEnvironment& environment) {
    return makeLibraryList(model, albums, environment);
}

std::unique_ptr<ArtistList> makeArtistsView(MainViewModel& model, LibraryListViewModel<LocalArtist>& artists,
                                            const ListEnvironment& environment) {
    return makeLibraryList(model, artists, environment);
}

} // namespace Marrowbell
