#include "LibraryModels/SortedLibraryList.h"

#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "LibraryModels/FutureSupport.h"
#include "LibraryModels/RefreshThrottle.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

namespace Marrowbell {
namespace {

template <class Record> void reportListFailure(const std::exception_ptr& error) {
    ErrorReporting::report(error, LibraryKind<Record>::listFailureName);
    logFailure(AppLoggers::sync(), LibraryKind<Record>::listFailureMessage, error);
}

} // namespace

template <class Record>
SortedLibraryList<Record>::SortedLibraryList(ObservationRegistrar& registrar, AppEnvironment& environment,
                                             QObject* context, Install install)
    : registrar_(registrar)
    , environment_(environment)
    , context_(context)
    , install_(std::move(install)) {}

template <class Record>
typename SortedLibraryList<Record>::SortOrder SortedLibraryList<Record>::sortOrder() const {
    registrar_.access(sortOrderKey_.key());
    return Kind::sortOrderFromStored(environment_.defaults().integerValue(Kind::sortKey));
}

template <class Record> void SortedLibraryList<Record>::setSortOrder(SortOrder order) {
    registrar_.withMutation(sortOrderKey_.key(), [&] {
        environment_.defaults().setValue(Kind::sortKey, static_cast<qint64>(order));
    });
    // The setter returns at once; the load finishes on its own.
    load(false);
}

template <class Record> MusicSortDirection SortedLibraryList<Record>::sortDirection() const {
    registrar_.access(sortDirectionKey_.key());
    return sortDirectionFromStored(environment_.defaults().integerValue(Kind::directionKey));
}

template <class Record> void SortedLibraryList<Record>::setSortDirection(MusicSortDirection direction) {
    registrar_.withMutation(sortDirectionKey_.key(), [&] {
        environment_.defaults().setValue(Kind::directionKey, static_cast<qint64>(direction));
    });
    load(false);
}

template <class Record>
MarrowbellCore::SortDescriptor<Record> SortedLibraryList<Record>::sortDescriptor() const {
    return Kind::sortDescriptor(sortOrder(), sortDirection());
}

template <class Record> QFuture<void> SortedLibraryList<Record>::load(bool sync) {
    const std::uint64_t load = ++loadsStarted_;
    auto read = environment_.store().run(
        [descriptor = sortDescriptor(), installed = installed_](MarrowbellCore::LocalDatabase& database) {
            // Taken before the read: a write that slips in after it makes the next load read again.
            const MarrowbellCore::StoreVersion version = database.version();
            auto records = installed.records && installed.version == version
                               ? MarrowbellCore::resorted(*installed.records, descriptor)
                               : MarrowbellCore::SortedRecords<Record>(Kind::readAll(database, descriptor));
            return Loaded{std::make_shared<const MarrowbellCore::SortedRecords<Record>>(std::move(records)),
                          version};
        });
    auto promise = startedPromise();
    whenFinished(read, context_, [this, promise, load, sync](QFuture<Loaded> finished) {
        if (auto error = failureOf(finished)) {
            reportListFailure<Record>(error);
            promise->finish();
            return;
        }
        installNewest(load, finished.takeResult());
        if (!sync) {
            promise->finish();
            return;
        }
        whenFinished(syncIfDue(), context_, [this, promise](QFuture<bool> synced) {
            if (!synced.result()) {
                promise->finish();
                return;
            }
            // What the sync stored replaces what the list showed before it.
            whenFinished(this->load(false), context_, [promise](const QFuture<void>&) { promise->finish(); });
        });
    });
    return promise->future();
}

template <class Record> void SortedLibraryList<Record>::installNewest(std::uint64_t load, Loaded loaded) {
    // A load started later (a new sort order) may have installed its newer records already.
    if (load <= newestInstalledLoad_) {
        return;
    }
    newestInstalledLoad_ = load;
    installed_ = std::move(loaded);
    install_(installed_.records);
}

template <class Record> QFuture<bool> SortedLibraryList<Record>::syncIfDue() {
    if (!RefreshThrottle::isDue(environment_.defaults(), Kind::lastSyncKey)) {
        AppLoggers::sync().notice(Kind::listSkipMessage);
        return QtFuture::makeReadyFuture(false);
    }
    SharedStore& store = environment_.store();
    auto sync = environment_.background().run([&store](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine engine(store.database());
        Kind::syncAll(engine, stopToken);
    });
    auto promise = startedPromise<bool>();
    whenFinished(sync, context_, [this, promise](QFuture<void> finished) {
        const std::exception_ptr error = failureOf(finished);
        if (error) {
            reportListFailure<Record>(error);
        } else {
            RefreshThrottle::markRefreshed(environment_.defaults(), Kind::lastSyncKey);
        }
        promise->addResult(!error);
        promise->finish();
    });
    return promise->future();
}

template class SortedLibraryList<MarrowbellCore::LocalSong>;
template class SortedLibraryList<MarrowbellCore::LocalPlaylist>;
template class SortedLibraryList<MarrowbellCore::LocalAlbum>;
template class SortedLibraryList<MarrowbellCore::LocalArtist>;

} // namespace Marrowbell
