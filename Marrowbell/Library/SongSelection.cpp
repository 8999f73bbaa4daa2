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

std::vector<SongSelection> songSelectionRows(const std::vector<MarrowbellCore::LocalSong>& songs) {
    std::vector<SongSelection> rows;
    rows.reserve(songs.size() + 2);
    if (!songs.empty()) {
        rows.push_back(SongSelection::play());
    }
    if (songs.size() >= 2) {
        rows.push_back(SongSelection::shuffle());
    }
    for (const auto& song : songs) {
        rows.push_back(SongSelection::song(song));
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
