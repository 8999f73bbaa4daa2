#include "SongOrder.h"

#include "RemoteConversions.h"
#include "Threading/ParallelWork.h"

#include <Foundation/Date.h>
#include <cmath>

namespace MarrowbellCore::SongOrder {

std::int64_t syncTimeNow() {
    return static_cast<std::int64_t>(std::trunc(Foundation::Date::now().timeIntervalSinceReferenceDate));
}

std::vector<IncomingSong> incomingLibrarySongs(const std::vector<RemoteSong>& remote, std::int64_t now) {
    std::vector<IncomingSong> songs;
    appendIncomingLibrarySongs(remote, now, songs);
    return songs;
}

void appendIncomingLibrarySongs(const std::vector<RemoteSong>& remote, std::int64_t now,
                                std::vector<IncomingSong>& songs) {
    // A conversion takes some microseconds (dates, play parameters, artwork), so a few hundred songs already
    // pay for a thread.
    constexpr std::size_t songsPerThread = 512;
    const std::size_t first = songs.size();
    songs.resize(first + remote.size());
    ParallelWork::forEachRange(remote.size(), songsPerThread, [&](ParallelWork::Range range) {
        for (std::size_t index = range.begin; index < range.end; ++index) {
            const auto position = static_cast<std::int64_t>(first + index);
            songs[first + index] = incomingSong(remote[index], now - position, false);
        }
    });
}

} // namespace MarrowbellCore::SongOrder
