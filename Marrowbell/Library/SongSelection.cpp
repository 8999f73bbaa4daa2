#include "Library/SongSelection.h"

namespace Marrowbell {
namespace {

/// Play and Shuffle as `count` songs call for, then `songRow(index)` for every song.
template <class SongRow> std::vector<SongSelection> rowsOf(std::size_t count, SongRow songRow) {
    std::vector<SongSelection> rows;
    rows.reserve(count + 2);
    if (count >= 1) {
        rows.push_back(SongSelection::play());
    }
    if (count >= 2) {
        rows.push_back(SongSelection::shuffle());
    }
    for (std::size_t index = 0; index < count; ++index) {
        rows.push_back(songRow(index));
    }
    return rows;
}

} // namespace

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
    return rowsOf(shared->size(), [&](std::size_t index) { return SongSelection::song(shared, index); });
}

std::vector<SongSelection>
songSelectionRows(std::shared_ptr<const MarrowbellCore::SortedRecords<MarrowbellCore::LocalSong>> sorted) {
    return rowsOf(sorted->size(), [&](std::size_t index) {
        return SongSelection::song(sorted->table(), sorted->tableIndex(index));
    });
}

size_t qHash(const SongSelection& selection, size_t seed) noexcept {
    seed = qHashMulti(seed, selection.value().index());
    if (const auto* song = selection.song()) {
        return qHashMulti(seed, std::hash<MarrowbellCore::LocalSong>{}(*song));
    }
    return seed;
}

} // namespace Marrowbell
