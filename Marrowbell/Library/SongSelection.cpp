#include "Library/SongSelection.h"

namespace Marrowbell {

QString SongSelection::id() const {
    if (const auto* row = song()) {
        return QString::fromStdString(row->identifier);
    }
    return isPlay() ? QStringLiteral("play") : QStringLiteral("shuffle");
}

QString SongSelection::title() const {
    if (const auto* row = song()) {
        return QString::fromStdString(row->title);
    }
    return isPlay() ? QStringLiteral("Play") : QStringLiteral("Shuffle");
}

SongSelection SongSelection::song(MarrowbellCore::LocalSong song) {
    return SongSelection::song(
        std::make_shared<const std::vector<MarrowbellCore::LocalSong>>(1, std::move(song)), 0);
}

std::vector<SongSelection> songSelectionRows(std::vector<MarrowbellCore::LocalSong> songs) {
    return songSelectionRows(
        std::make_shared<const std::vector<MarrowbellCore::LocalSong>>(std::move(songs)));
}

std::vector<SongSelection>
songSelectionRows(std::shared_ptr<const std::vector<MarrowbellCore::LocalSong>> shared) {
    std::vector<SongSelection> rows;
    rows.reserve(shared->size() + 2);
    if (!shared->empty()) {
        rows.push_back(SongSelection::play());
    }
    if (shared->size() >= 2) {
        rows.push_back(SongSelection::shuffle());
    }
    for (std::size_t index = 0; index < shared->size(); ++index) {
        rows.push_back(SongSelection::song(shared, index));
    }
    return rows;
}

size_t qHash(const SongSelection& selection, size_t seed) noexcept {
    seed = qHashMulti(seed, selection.value().index());
    if (const auto* song = selection.song()) {
        return qHashMulti(seed, std::hash<MarrowbellCore::LocalSong>{}(*song));
    }
    return seed;
}

} // namespace Marrowbell
