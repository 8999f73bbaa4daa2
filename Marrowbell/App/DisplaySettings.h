#pragma once

#include "Platform/Defaults.h"

namespace Marrowbell {

/// The list rows' appearance as stored by the settings window, read with fallbacks that keep every value
/// usable. Each read goes to the Defaults at that moment; nothing is cached. GUI thread.
struct DisplaySettings {
    /// Registers "showSubtitles" true, "padding" 2, "fontWeight" 2 and "artworkSize" 32 (an integer).
    static void registerDefaults(Defaults& defaults);

    /// The stored size rounded to the nearest whole number, halves away from zero.
    static double artworkSize(const Defaults& defaults);
    /// 0 regular, 1 medium, 2 semibold, 3 bold; any other stored value gives 2.
    static int fontWeight(const Defaults& defaults);
    /// 0 small, 1 medium, 2 large; any other stored value gives 2.
    static int padding(const Defaults& defaults);
    static bool limitTitlesToOneLine(const Defaults& defaults);
    static bool showSubtitles(const Defaults& defaults);
    static bool useAlternatingRowColors(const Defaults& defaults);
};

} // namespace Marrowbell
