#pragma once

#include <MusicKit/CatalogItems.h>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// A lookup in the user's library that found no item of kind `Item`. Its one case is `notFound`;
/// all values are equal.
template <class Item> class LibraryItemError : public std::runtime_error {
public:
    enum class Case { notFound };

    static LibraryItemError notFound() { return LibraryItemError(Case::notFound); }

    Case errorCase() const { return case_; }
    bool operator==(const LibraryItemError& other) const { return case_ == other.case_; }

private:
    explicit LibraryItemError(Case errorCase)
        : std::runtime_error("The library holds no " + itemName() + " with this identifier.")
        , case_(errorCase) {}

    static std::string itemName();

    Case case_;
};

template <> inline std::string LibraryItemError<MusicKit::Playlist>::itemName() {
    return "playlist";
}
template <> inline std::string LibraryItemError<MusicKit::Artist>::itemName() {
    return "artist";
}
template <> inline std::string LibraryItemError<MusicKit::Album>::itemName() {
    return "album";
}

using PlaylistError = LibraryItemError<MusicKit::Playlist>;
using ArtistError = LibraryItemError<MusicKit::Artist>;
using AlbumError = LibraryItemError<MusicKit::Album>;

} // namespace MarrowbellCore

template <class Item> struct std::hash<MarrowbellCore::LibraryItemError<Item>> {
    std::size_t operator()(const MarrowbellCore::LibraryItemError<Item>& error) const noexcept {
        return std::hash<int>{}(static_cast<int>(error.errorCase()));
    }
};
