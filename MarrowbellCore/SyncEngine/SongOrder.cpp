#include "SongOrder.h"

#include "RemoteConversions.h"
#include "Threading/ParallelTransform.h"

#include <Foundation/Date.h>
#include <cmath>

namespace MarrowbellCore::SongOrder {

std::int64_t syncTimeNow() {
    return static_cast<std::int64_t>(std::trunc(Foundation::Date::now().timeIntervalSinceReferenceDate));
}

std::vector<IncomingSong> incomingLibrarySongs(const std::vector<RemoteSong>& remote, std::int64_t now) {
    return parallelTransform(remote, [now](const RemoteSong& song, std::size_t position) {
        return incomingSong(song, now - static_cast<std::int64_t>(position), false);
    });
}

} // namespace MarrowbellCore::SongOrder
