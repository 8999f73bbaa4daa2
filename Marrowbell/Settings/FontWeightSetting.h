#pragma once

#include <QString>
#include <array>
#include <optional>

namespace Marrowbell {

/// The weight of list titles, stored under "fontWeight" as its raw value.
enum class FontWeightSetting { regular = 0, medium = 1, semibold = 2, bold = 3 };

inline constexpr std::array allFontWeightSettings{FontWeightSetting::regular, FontWeightSetting::medium,
                                                  FontWeightSetting::semibold, FontWeightSetting::bold};

/// The case of a raw value from 0 to 3; nothing for any other integer.
std::optional<FontWeightSetting> fontWeightSetting(qint64 rawValue);
/// "Regular", "Medium", "Semibold" or "Bold", translated.
QString label(FontWeightSetting setting);

} // namespace Marrowbell
