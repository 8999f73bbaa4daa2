#pragma once

#include <MarrowbellCore/ItemViews/SearchSection.h>
#include <vector>

/// The search panel's measures, in pixels at the usual 96 dpi.
namespace Marrowbell::SearchLayout {

/// The field row; also the panel's height with no results.
inline constexpr double fieldRowHeight = 44.0;
/// The result list never asks for more; longer lists scroll.
inline constexpr double maximumListHeight = 380.0;
/// Added once to a list that shows anything.
inline constexpr double listPadding = 20.0;
/// One line per result and one per section header.
inline constexpr double lineHeight = 40.0;
/// Result and header rows are at least this tall; result artwork is this size.
inline constexpr int rowMinimumHeight = 32;
inline constexpr int artworkSize = 32;
inline constexpr double artworkCornerRadius = 4.0;

/// The list height that `sections` ask for: nothing for no sections, else the padding and one line per
/// header and per result, at most maximumListHeight.
inline double listHeight(const std::vector<MarrowbellCore::SearchSection>& sections) {
    if (sections.empty()) {
        return 0.0;
    }
    double height = listPadding;
    for (const auto& section : sections) {
        height += static_cast<double>(section.results.size() + 1) * lineHeight;
    }
    return height < maximumListHeight ? height : maximumListHeight;
}

} // namespace Marrowbell::SearchLayout
