#pragma once

#include "Navigation/Titled.h"

#include <MarrowbellCore/Store/LocalSong.h>
#include <MarrowbellCore/Store/SortedRecords.h>
#include <QHashFunctions>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace Marrowbell {

/// One row of a song list: "Play" (the list from its first song), "Shuffle" (the list shuffled) or one
/// song. Equal when of the same case and, for songs, equal songs.
class SongSelection {
public:
    struct Play {
        bool operator==(const Play&) const = default;
    };
    struct Shuffle {
        bool operator==(const Shuffle&) const = default;
    };
    /// A song row refers into the list's songs, which all of its rows share: a list's rows, and every copy of
    /// them, hold its songs once.
    struct SongRow {
        std::shared_ptr<const std::vector<MarrowbellCore::LocalSong>> songs;
        std::size_t index = 0;

        const MarrowbellCore::LocalSong& song() const { return (*songs)[index]; }
        bool operator==(const SongRow& other) const { return song() == other.song(); }
    };
    using Value = std::variant<Play, Shuffle, SongRow>;

    static SongSelection play() { return SongSelection(Play{}); }
    static SongSelection shuffle() { return SongSelection(Shuffle{}); }
    static SongSelection song(MarrowbellCore::LocalSong song);
    /// The row of `songs[index]`.
    static SongSelection song(std::shared_ptr<const std::vector<MarrowbellCore::LocalSong>> songs,
                              std::size_t index) {
        return SongSelection(SongRow{std::move(songs), index});
    }

    /// "play", "shuffle", or the song's identifier: what the central model's song selections hold.
    QString id() const;
    /// "Play", "Shuffle", or the song's title.
    QString title() const;

    bool isPlay() const { return std::holds_alternative<Play>(value_); }
    bool isShuffle() const { return std::holds_alternative<Shuffle>(value_); }
    /// The row's song, or nullptr for Play and Shuffle.
    const MarrowbellCore::LocalSong* song() const {
        const auto* row = std::get_if<SongRow>(&value_);
        return row ? &row->song() : nullptr;
    }

    const Value& value() const { return value_; }

    bool operator==(const SongSelection&) const = default;

private:
    explicit SongSelection(Value value)
        : value_(std::move(value)) {}

    Value value_;
};

/// The rows of a song list: Play when there is a song, Shuffle when there are two or more, then every song
/// in order. No songs give no rows. The rows share `songs` and copy none of them.
std::vector<SongSelection>
songSelectionRows(std::shared_ptr<const std::vector<MarrowbellCore::LocalSong>> songs);
/// The same for songs in an order of their own; the rows share the songs' table.
std::vector<SongSelection>
songSelectionRows(std::shared_ptr<const MarrowbellCore::SortedRecords<MarrowbellCore::LocalSong>> songs);
/// The same for songs the rows take over.
std::vector<SongSelection> songSelectionRows(std::vector<MarrowbellCore::LocalSong> songs);

size_t qHash(const SongSelection& selection, size_t seed = 0) noexcept;

template <> struct Titling<SongSelection> {
    static QString id(const SongSelection& selection) { return selection.id(); }
    static QString title(const SongSelection& selection) { return selection.title(); }
};

} // namespace Marrowbell

template <> struct std::hash<Marrowbell::SongSelection> {
    std::size_t operator()(const Marrowbell::SongSelection& selection) const noexcept {
        return qHash(selection);
    }
};
