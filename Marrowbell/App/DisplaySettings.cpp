#include "App/DisplaySettings.h"

#include "Platform/DefaultsKeys.h"

#include <cmath>

namespace Marrowbell {

void DisplaySettings::registerDefaults(Defaults& defaults) {
    defaults.registerDefaults({
        {DefaultsKeys::showSubtitles, true},
        {DefaultsKeys::padding, 2},
        {DefaultsKeys::fontWeight, 2},
        {DefaultsKeys::artworkSize, 32},
    });
}

double DisplaySettings::artworkSize(const Defaults& defaults) {
    return std::round(defaults.doubleValue(DefaultsKeys::artworkSize));
}

int DisplaySettings::fontWeight(const Defaults& defaults) {
    const qint64 value = defaults.integerValue(DefaultsKeys::fontWeight);
    return value >= 0 && value <= 3 ? static_cast<int>(value) : 2;
}

int DisplaySettings::padding(const Defaults& defaults) {
    const qint64 value = defaults.integerValue(DefaultsKeys::padding);
    return value == 0 || value == 1 ? static_cast<int>(value) : 2;
}

bool DisplaySettings::limitTitlesToOneLine(const Defaults& defaults) {
    return defaults.boolValue(DefaultsKeys::limitTitlesToOneLine);
}

bool DisplaySettings::showSubtitles(const Defaults& defaults) {
    return defaults.boolValue(DefaultsKeys::showSubtitles);
}

bool DisplaySettings::useAlternatingRowColors(const Defaults& defaults) {
    return defaults.boolValue(DefaultsKeys::useAlternatingRowColors);
}

} // namespace Marrowbell
