#pragma once

#include <string>

namespace UsageStats {

/// The shortest decimal text that reads back as the same number, with ".0" after whole numbers:
/// 12.345, 3.0, 1e+21.
std::string shortestDecimalText(double value);

} // namespace UsageStats
