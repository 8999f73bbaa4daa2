#pragma once

#include "Navigation/Titled.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace Marrowbell {

/// The six top-level kinds of the library, in the order of the root list.
enum class ContainerKind { playlists, albums, artists, songs, madeForYou, stations };

inline constexpr std::array<ContainerKind, 6> allContainerKinds = {
    ContainerKind::playlists, ContainerKind::albums,     ContainerKind::artists,
    ContainerKind::songs,     ContainerKind::madeForYou, ContainerKind::stations};

/// The kind's identifier, its case name ("playlists" ... "madeForYou", "stations"): what the central model
/// stores as its selected kind and what the root list's selection carries.
QString containerKindID(ContainerKind kind);
/// The kind's title: "Playlists", "Albums", "Artists", "Songs", "Made for You", "Stations for You".
QString containerKindTitle(ContainerKind kind);
/// The name of the kind's glyph in the root list ("square.grid.3x3" ... "radio").
QString containerKindSymbolName(ContainerKind kind);

/// The kinds whose list opens a song collection (a playlist's, album's or artist's songs) as a third pane.
constexpr bool opensSongCollections(ContainerKind kind) {
    return kind == ContainerKind::playlists || kind == ContainerKind::albums ||
           kind == ContainerKind::artists;
}

/// The kind whose identifier is `id`; nullopt for any other text (titles included).
std::optional<ContainerKind> containerKindFromID(QStringView id);
/// The kind whose identifier is `id`; any other text (a damaged setting, say) logs an error and gives
/// playlists, the kind every launch starts at. Any thread.
ContainerKind containerKindFromIDOrPlaylists(QStringView id);

template <> struct Titling<ContainerKind> {
    static QString id(ContainerKind kind) { return containerKindID(kind); }
    static QString title(ContainerKind kind) { return containerKindTitle(kind); }
};

} // namespace Marrowbell
