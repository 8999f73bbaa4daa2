#pragma once

#include "DemoService/DemoLibrary.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace DemoService {

/// The demo catalog's search. A term matches every name that contains it, compared without regard
/// to case (Unicode case folding of the composed forms). Hits rank by how they match, the whole
/// name before its start before anywhere else, and then by catalog order, so that a term always
/// gives the same hits in the same order. Immutable after construction.
class CatalogSearch {
public:
    /// In the order top results prefer among equally good matches.
    enum class Kind { artists, albums, playlists, songs };
    enum class Match { wholeName, start, inside };

    struct Hit {
        Kind kind;
        std::size_t index;
        Match match;
    };

    explicit CatalogSearch(const DemoLibrary& library);

    /// The best `limit` hits of one kind, best first.
    std::vector<Hit> hits(Kind kind, std::string_view term, std::size_t limit) const;
    /// The best `count` of `hits` across kinds: by match, then kind, then catalog order.
    static std::vector<Hit> best(std::vector<Hit> hits, std::size_t count);

private:
    std::array<std::vector<std::string>, 4> foldedNames_;
};

} // namespace DemoService
