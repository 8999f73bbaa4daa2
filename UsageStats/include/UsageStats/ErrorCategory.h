#pragma once

#include <optional>
#include <string_view>

namespace UsageStats {

enum class ErrorCategory { thrownException, userInput, appState };

/// "thrown-exception", "user-input" or "app-state".
constexpr std::string_view rawValue(ErrorCategory category) {
    switch (category) {
    case ErrorCategory::thrownException:
        return "thrown-exception";
    case ErrorCategory::userInput:
        return "user-input";
    case ErrorCategory::appState:
        return "app-state";
    }
    return "";
}

constexpr std::optional<ErrorCategory> errorCategoryFromRawValue(std::string_view text) {
    for (auto category :
         {ErrorCategory::thrownException, ErrorCategory::userInput, ErrorCategory::appState}) {
        if (rawValue(category) == text) {
            return category;
        }
    }
    return std::nullopt;
}

} // namespace UsageStats
