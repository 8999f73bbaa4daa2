#pragma once

#include "Library/SortOrders.h"
#include "LibraryModels/LibraryKind.h"
#include "Observation/ObservationRegistrar.h"

#include <MarrowbellCore/Store/SortDescriptor.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <MarrowbellCore/Store/StoreVersion.h>
#include <QFuture>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Marrowbell {

class AppEnvironment;

/// How every library list loads: the store's records of one kind (`Record`: songs, playlists, albums or
/// artists) in the sort choice the settings keep, refreshed from the service at most once a day.
///
/// A load reads the records in order, or, when the store has not changed since the records last installed
/// were read, sorts those again in memory, which gives exactly the rows and order a read would give and
/// shares the records instead of copying them. Loads are numbered as they start and only the newest installs
/// its records. GUI thread only; reading and sorting run on the store's thread, syncs on the background
/// thread.
template <class Record> class SortedLibraryList {
public:
    using Kind = LibraryKind<Record>;
    using SortOrder = decltype(Kind::sortOrderFromStored(0));
    using Records = std::shared_ptr<const MarrowbellCore::SortedRecords<Record>>;
    /// Receives the records of the newest load, on the GUI thread.
    using Install = std::function<void(Records)>;

    /// Sort choices are observed through `registrar`, the owning model's; `context` owns this list.
    SortedLibraryList(ObservationRegistrar& registrar, AppEnvironment& environment, QObject* context,
                      Install install);

    /// Observed reads; setting one stores it and loads the list without a service sync.
    SortOrder sortOrder() const;
    void setSortOrder(SortOrder order);
    MusicSortDirection sortDirection() const;
    void setSortDirection(MusicSortDirection direction);
    MarrowbellCore::SortDescriptor<Record> sortDescriptor() const;

    /// Loads and installs the records, then, when `sync` and the kind's last sync is a day old, syncs the
    /// kind and installs what the sync stored. Never fails: failures are reported and logged, and the
    /// installed records stay.
    QFuture<void> load(bool sync);
    /// Whether a load has installed records, so that the list shows what the store held then.
    bool hasLoaded() const { return installed_.records != nullptr; }

private:
    struct Loaded {
        Records records;
        MarrowbellCore::StoreVersion version;
    };

    void installNewest(std::uint64_t load, Loaded loaded);
    /// Gives whether a sync ran and stored the kind.
    QFuture<bool> syncIfDue();

    ObservationRegistrar& registrar_;
    AppEnvironment& environment_;
    QObject* context_;
    Install install_;
    ObservationKey sortOrderKey_;
    ObservationKey sortDirectionKey_;
    std::uint64_t loadsStarted_ = 0;
    std::uint64_t newestInstalledLoad_ = 0;
    /// The records last installed and the store's version when they were read.
    Loaded installed_;
};

extern template class SortedLibraryList<MarrowbellCore::LocalSong>;
extern template class SortedLibraryList<MarrowbellCore::LocalPlaylist>;
extern template class SortedLibraryList<MarrowbellCore::LocalAlbum>;
extern template class SortedLibraryList<MarrowbellCore::LocalArtist>;

} // namespace Marrowbell
