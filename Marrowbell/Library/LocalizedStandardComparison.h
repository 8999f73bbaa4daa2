#pragma once

#include <QLocale>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace Marrowbell {

/// Orders UTF-8 texts as people expect in the locale: by its collation, numbers by value ("Track 2" before
/// "Track 10"), case ignored, accents not. Safe to call from several threads at once (the store sorts on
/// several): each thread compares with a collator of its own.
class LocalizedStandardComparison {
public:
    explicit LocalizedStandardComparison(QLocale locale = QLocale());

    std::weak_ordering operator()(std::string_view lhs, std::string_view rhs) const;
    /// An absent text comes before every present one.
    template <class Text>
    std::weak_ordering operator()(const std::optional<Text>& lhs, const std::optional<Text>& rhs) const {
        if (lhs && rhs) {
            return (*this)(std::string_view(*lhs), std::string_view(*rhs));
        }
        return lhs.has_value() <=> rhs.has_value();
    }

    /// The key of `text` in this order: two texts' keys, compared byte by byte, are in the texts' order. A
    /// sort makes one key per text instead of comparing the texts over and over.
    std::string sortKey(std::string_view text) const;
    /// An absent text has no key, which comes before every key.
    template <class Text> std::optional<std::string> sortKey(const std::optional<Text>& text) const {
        return text ? std::optional(sortKey(std::string_view(*text))) : std::nullopt;
    }

private:
    QLocale locale_;
};

} // namespace Marrowbell
