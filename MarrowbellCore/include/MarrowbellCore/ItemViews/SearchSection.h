#pragma once

#include "MarrowbellCore/ItemViews/SearchResult.h"

#include <string>
#include <vector>

namespace MarrowbellCore {

/// A titled group of search hits ("Playlists", "Albums", "Artists", "Songs"), identified by its name.
struct SearchSection {
    std::string name;
    std::vector<SearchResult> results;

    const std::string& id() const { return name; }
};

} // namespace MarrowbellCore
