#include "App/SyncHistory.h"

#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"

namespace Marrowbell {

void forgetSyncHistory(Defaults& defaults) {
    using namespace DefaultsKeys;
    for (const QLatin1StringView key :
         {performedFullSync, lastPlaylistSync, lastAlbumSync, lastArtistSync, lastSongSync}) {
        defaults.remove(key);
    }
    for (const QString& key : defaults.storedKeys()) {
        for (const QLatin1StringView prefix :
             {lastPlaylistTrackSyncPrefix, lastAlbumTrackSyncPrefix, lastArtistTrackSyncPrefix}) {
            if (key.startsWith(prefix)) {
                defaults.remove(key);
            }
        }
    }
}

} // namespace Marrowbell
