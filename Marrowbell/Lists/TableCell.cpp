#include "Lists/TableCell.h"

#include "App/DisplaySettings.h"
#include "Platform/AccessibleNames.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace Marrowbell {
namespace {

// The platform's 13-point system font: its points are logical pixels, as the player bar's fonts are.
constexpr int titlePixelSize = 13;
constexpr std::array<double, 3> paddingByLevel = {2.0, 4.0, 6.0};
constexpr std::array<QFont::Weight, 4> fontWeights = {QFont::Normal, QFont::Medium, QFont::DemiBold,
                                                      QFont::Bold};

} // namespace

QString TableCell::accessibleDescription() const {
    QStringList parts;
    if (!subtitle.isEmpty()) {
        parts << subtitle;
    }
    if (showNowPlayingIndicator) {
        parts << AccessibleNames::nowPlaying();
    }
    return parts.join(QStringLiteral(", "));
}

void TableCell::setArtwork(const std::optional<QUrl>& url, const QString& uniqueID) {
    artworkURL = url.value_or(QUrl());
    artworkUniqueID = uniqueID;
}

void TableCell::refreshAppearance(const Defaults& defaults) {
    titleFontWeight = DisplaySettings::fontWeight(defaults);
    verticalPadding = paddingByLevel[static_cast<std::size_t>(DisplaySettings::padding(defaults))];
    artworkSize = DisplaySettings::artworkSize(defaults);
    maxTitleLineLength = DisplaySettings::limitTitlesToOneLine(defaults) ? 1 : 2;
    if (!DisplaySettings::showSubtitles(defaults)) {
        subtitle.clear();
    }
}

QFont TableCell::titleFont(const QFont& base) const {
    QFont font = base;
    font.setPixelSize(titlePixelSize);
    font.setWeight(fontWeights[static_cast<std::size_t>(std::clamp(titleFontWeight, 0, 3))]);
    return font;
}

} // namespace Marrowbell
