#pragma once

#include <QString>
#include <array>
#include <optional>

namespace Marrowbell {

/// The vertical padding of list rows, stored under "padding" as its raw value.
enum class PaddingSetting { small = 0, medium = 1, large = 2 };

inline constexpr std::array allPaddingSettings{PaddingSetting::small, PaddingSetting::medium,
                                               PaddingSetting::large};

/// The case of a raw value from 0 to 2; nothing for any other integer.
std::optional<PaddingSetting> paddingSetting(qint64 rawValue);
/// "Small", "Medium" or "Large", translated.
QString label(PaddingSetting setting);

} // namespace Marrowbell
