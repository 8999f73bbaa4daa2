#include "App/AppEnvironment.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Model/MainViewModel.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Sync/SyncEngine.h>
#include <QPromise>
#include <exception>

namespace Marrowbell {

QFuture<void> MainViewModel::syncEmptyPlaylistContents() {
    SharedStore& store = environment_.store();
    QFuture<void> sync = environment_.background().run([&store](std::stop_token stopToken) {
        MarrowbellCore::SyncEngine engine(store.database());
        engine.syncEmptyPlaylistContents(stopToken);
    });

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    whenFinished(sync, this, [promise](QFuture<void> finished) {
        try {
            finished.waitForFinished();
        } catch (const std::exception& error) {
            ErrorReporting::report(std::current_exception(), "sync_empty_playlists");
            AppLoggers::sync().error("Failed to sync empty playlist contents: %@", {error});
        }
        promise->finish();
    });
    return promise->future();
}

} // namespace Marrowbell
