#pragma once

#include "Navigation/Titled.h"

#include <MarrowbellCore/Store/LocalAlbum.h>
#include <MarrowbellCore/Store/LocalArtist.h>
#include <MarrowbellCore/Store/LocalPlaylist.h>

namespace Marrowbell {

// The stored containers as list rows: identified by their identifier, titled by their name or title.

template <> struct Titling<MarrowbellCore::LocalPlaylist> {
    static QString id(const MarrowbellCore::LocalPlaylist& playlist) {
        return QString::fromStdString(playlist.identifier);
    }
    static QString title(const MarrowbellCore::LocalPlaylist& playlist) {
        return QString::fromStdString(playlist.name);
    }
};

template <> struct Titling<MarrowbellCore::LocalAlbum> {
    static QString id(const MarrowbellCore::LocalAlbum& album) {
        return QString::fromStdString(album.identifier);
    }
    static QString title(const MarrowbellCore::LocalAlbum& album) {
        return QString::fromStdString(album.title);
    }
};

template <> struct Titling<MarrowbellCore::LocalArtist> {
    static QString id(const MarrowbellCore::LocalArtist& artist) {
        return QString::fromStdString(artist.identifier);
    }
    static QString title(const MarrowbellCore::LocalArtist& artist) {
        return QString::fromStdString(artist.name);
    }
};

} // namespace Marrowbell
