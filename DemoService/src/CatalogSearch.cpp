#include "CatalogSearch.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <tuple>
#include <utf8proc.h>

namespace DemoService {
namespace {

struct FreeDeleter {
    void operator()(utf8proc_uint8_t* pointer) const { std::free(pointer); }
};

/// Text that is not valid UTF-8 is compared as it is.
std::string folded(std::string_view text) {
    utf8proc_uint8_t* mapped = nullptr;
    const auto length = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(text.data()), static_cast<utf8proc_ssize_t>(text.size()),
        &mapped, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD));
    const std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owner(mapped);
    if (length < 0) {
        return std::string(text);
    }
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
}

template <class Items> std::vector<std::string> foldedNames(const Items& items) {
    std::vector<std::string> names;
    names.reserve(items.size());
    for (const auto& item : items) {
        names.push_back(folded(item.name));
    }
    return names;
}

std::optional<CatalogSearch::Match> match(std::string_view name, std::string_view term) {
    if (name == term) {
        return CatalogSearch::Match::wholeName;
    }
    if (name.starts_with(term)) {
        return CatalogSearch::Match::start;
    }
    if (name.find(term) != std::string_view::npos) {
        return CatalogSearch::Match::inside;
    }
    return std::nullopt;
}

} // namespace

CatalogSearch::CatalogSearch(const DemoLibrary& library)
    : foldedNames_{foldedNames(library.catalogArtists), foldedNames(library.catalogAlbums),
                   foldedNames(library.catalogPlaylists), foldedNames(library.catalogSongs)} {}

std::vector<CatalogSearch::Hit> CatalogSearch::hits(Kind kind, std::string_view term,
                                                    std::size_t limit) const {
    const std::string foldedTerm = folded(term);
    const auto& names = foldedNames_[static_cast<std::size_t>(kind)];
    // Collected per match in catalog order; a better match never needs more than `limit` of its own.
    std::array<std::vector<Hit>, 3> byMatch;
    for (std::size_t index = 0; index < names.size() && byMatch[0].size() < limit; ++index) {
        if (const auto found = match(names[index], foldedTerm)) {
            auto& bucket = byMatch[static_cast<std::size_t>(*found)];
            if (bucket.size() < limit) {
                bucket.push_back({kind, index, *found});
            }
        }
    }
    std::vector<Hit> ranked;
    for (const auto& bucket : byMatch) {
        ranked.insert(ranked.end(), bucket.begin(), bucket.end());
    }
    ranked.resize(std::min(ranked.size(), limit));
    return ranked;
}

std::vector<CatalogSearch::Hit> CatalogSearch::best(std::vector<Hit> hits, std::size_t count) {
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& lhs, const Hit& rhs) {
        return std::tie(lhs.match, lhs.kind, lhs.index) < std::tie(rhs.match, rhs.kind, rhs.index);
    });
    hits.resize(std::min(hits.size(), count));
    return hits;
}

} // namespace DemoService
